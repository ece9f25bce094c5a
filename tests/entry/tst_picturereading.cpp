// Chat messages drawn as phones show them, read back by the recogniser and the chat reader.
#include "app/picturerecognizer.h"
#include "chatpictures.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMap>
#include <QTest>

using namespace varnoth;

namespace varnoth::test
{
namespace
{
// What a symbol is, for the count of what the recogniser doubts.
QString symbolKind(const QString& text)
{
    if (text.isEmpty()) return QStringLiteral("nothing");
    const QChar c = text.front();
    if (c.isDigit()) return c.unicode() < 128 ? QStringLiteral("digit") : QStringLiteral("Thai digit");
    if (c.unicode() >= 0x0E00 && c.unicode() <= 0x0E7F)
        return text.size() > 1 || c.category() == QChar::Mark_NonSpacing ? QStringLiteral("Thai mark")
                                                                         : QStringLiteral("Thai letter");
    if (c.isLetter()) return QStringLiteral("Latin letter");
    return QStringLiteral("sign");
}

// Why each missed bet was missed (VARNOTH_PICTURE_WHY): the chat reader misses it even typed, the
// picture's lines do not match the message's, its line (or one it depends on) was doubtful, and for
// what, or its line was read otherwise and not doubted. The bets are counted by cause in `why`.
void tellMisses(const MeantMessage& m, const QList<PictureLine>& read, const PictureParse& parse,
                const QStringList& missed, QMap<QString, int>& why)
{
    QStringList typedLines;
    for (const QString& l : m.lines)
        if (!l.trimmed().isEmpty()) typedLines << l;
    const ChatParse typed = parseChat(typedLines.join('\n'), m.picked);
    QList<PictureLine> shown; // the lines pictureTextLines keeps
    for (const PictureLine& l : read)
        if (!pictureLineText(l).trimmed().isEmpty()) shown << l;
    for (qsizetype l = 0; l < shown.size() && l < parse.doubts.size(); ++l)
        if (parse.doubts[l] == PictureLineDoubt::Doubtful && parse.chat.lines.value(l).bets.isEmpty()) {
            QStringList symbols;
            for (const PictureWord& w : shown[l].words) {
                symbols << QStringLiteral("[%1 %2]").arg(w.text).arg(int(w.confidence));
                for (const PictureSymbol& s : w.symbols) {
                    QString choices;
                    for (const PictureSymbol::Choice& c : s.choices)
                        if (c.text != s.text && c.confidence >= 5) choices += QStringLiteral("|%1 %2").arg(c.text).arg(int(c.confidence));
                    if (s.confidence < 80 || !choices.isEmpty())
                        symbols << QStringLiteral("%1 %2%3").arg(s.text).arg(int(s.confidence)).arg(choices);
                }
            }
            qInfo("  doubtful line \"%s\": %s", qPrintable(parse.lines[l].text), qPrintable(symbols.join("; ")));
        }
    for (const QString& bet : missed) {
        qsizetype at = -1;
        for (qsizetype t = 0; t < typed.lines.size() && at < 0; ++t)
            for (const ChatBet& b : typed.lines[t].bets)
                if (b.type + ' ' + b.number + ' ' + b.amount == bet) at = t;
        QString cause;
        if (at < 0) {
            cause = QStringLiteral("not read even typed");
        } else if (parse.lines.size() != typedLines.size() || shown.size() != typedLines.size()) {
            cause = QStringLiteral("lines split or joined");
            QStringList seen;
            for (const PictureTextLine& l : parse.lines)
                seen << l.text;
            qInfo("  split \"%s\" (sent \"%s\")", qPrintable(seen.join(" | ")), qPrintable(typedLines.join(" | ")));
        } else if (parse.doubts[at] == PictureLineDoubt::DependsOn) {
            cause = QStringLiteral("depends on a doubtful line");
            qInfo("  depends \"%s\"", qPrintable(typedLines[at]));
        } else if (parse.doubts[at] == PictureLineDoubt::Doubtful) {
            QStringList kinds, shownSymbols;
            const PictureDoubt doubt;
            for (const PictureWord& w : shown[at].words) {
                bool any = false;
                for (const PictureSymbol& s : w.symbols) {
                    bool rival = false;
                    QString choices;
                    for (const PictureSymbol::Choice& c : s.choices)
                        if (c.text != s.text && c.confidence >= doubt.rival) {
                            rival = true;
                            choices += QStringLiteral("|%1 %2").arg(c.text).arg(int(c.confidence));
                        }
                    if (s.confidence >= doubt.symbol && !rival) continue;
                    any = true;
                    const QString kind = symbolKind(s.text) + (rival ? QStringLiteral(" rival") : QStringLiteral(" low"));
                    if (!kinds.contains(kind)) kinds << kind;
                    shownSymbols << QStringLiteral("%1 %2%3").arg(s.text).arg(int(s.confidence)).arg(choices);
                }
                if (any) shownSymbols << QStringLiteral("(in %1 %2)").arg(w.text).arg(int(w.confidence));
                if (!any && w.confidence < doubt.word) {
                    kinds << QStringLiteral("word only");
                    shownSymbols << QStringLiteral("[%1 %2]").arg(w.text).arg(int(w.confidence));
                }
            }
            kinds.sort();
            cause = QStringLiteral("doubtful: ") + kinds.join(", ");
            qInfo("  doubt %s  in \"%s\" (sent \"%s\"), may be: %s", qPrintable(shownSymbols.join("; ")),
                  qPrintable(parse.lines[at].text), qPrintable(typedLines[at]),
                  qPrintable(parse.lines[at].readings.join(" / ")));
        } else {
            QString a = parse.lines[at].text, b = typedLines[at];
            a.remove(' ');
            b.remove(' ');
            cause = a == b ? QStringLiteral("read as typed, lost otherwise") : QStringLiteral("misread, not doubted");
            if (a != b) {
                QStringList symbols;
                for (const PictureWord& w : shown[at].words) {
                    symbols << QStringLiteral("[%1 %2]").arg(w.text).arg(int(w.confidence));
                    for (const PictureSymbol& s : w.symbols) {
                        QString choices;
                        for (const PictureSymbol::Choice& c : s.choices)
                            choices += QStringLiteral("|%1 %2").arg(c.text).arg(int(c.confidence));
                        symbols << QStringLiteral("%1 %2%3").arg(s.text).arg(int(s.confidence)).arg(choices);
                    }
                }
                qInfo("  misread \"%s\" (sent \"%s\"): %s", qPrintable(parse.lines[at].text), qPrintable(typedLines[at]),
                      qPrintable(symbols.join("; ")));
            }
        }
        ++why[cause];
    }
}
} // namespace
} // namespace varnoth::test

class TestPictureReading : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void chatPictures_data();
    void chatPictures();
    void cleaning();
    void secondReading();
    void screenshotSpeed();
    void unreadable();
    void cancelled();

private:
    QList<test::MeantMessage> m_messages;
};

void TestPictureReading::initTestCase()
{
    m_messages = test::meantMessages(QFINDTESTDATA("entry/data/chat_messages.txt"));
    QVERIFY(m_messages.size() > 50);
}

void TestPictureReading::chatPictures_data()
{
    QTest::addColumn<test::ChatLook>("look");
    QTest::addColumn<int>("first");
    QTest::addColumn<double>("least"); // the share of the meant bets that must be found
    // The shares below are those measured on this set (91, 89, 87, 87, 89 and 37 %), less a margin for
    // another machine: a change of the cleaning, the second reading or the doubt rules that loses bets
    // shows here.
    QTest::newRow("light, 44 px") << test::ChatLook{44, false, false, false} << 0 << 0.86;
    QTest::newRow("light, 34 px") << test::ChatLook{34, false, false, false} << 1 << 0.84;
    QTest::newRow("dark, 52 px") << test::ChatLook{52, true, false, false} << 2 << 0.82;
    QTest::newRow("JPEG copy") << test::ChatLook{44, false, true, false} << 3 << 0.82;
    QTest::newRow("photo of the screen") << test::ChatLook{44, false, false, true} << 4 << 0.84;
    // A font drawn like handwriting: a third is read, and nothing wrong.
    QTest::newRow("handwriting-like font")
        << test::ChatLook{48, false, false, false, QStringLiteral("Purisa")} << 5 << 0.30;
}

Q_DECLARE_METATYPE(test::ChatLook)

// Each look reads its own share of the messages (every `Stride`th one), so that the set stays quick to
// read on a small machine; no bet nobody placed is ever made.
void TestPictureReading::chatPictures()
{
    QFETCH(test::ChatLook, look);
    QFETCH(int, first);
    QFETCH(double, least);
    const int stride = qEnvironmentVariableIntValue("VARNOTH_PICTURE_STRIDE") > 0
                           ? qEnvironmentVariableIntValue("VARNOTH_PICTURE_STRIDE")
                           : 4;
    int meant = 0, found = 0, wrong = 0, flagged = 0, pictures = 0;
    QMap<QString, int> why; // bets missed, by cause
    qint64 ms = 0;
    for (qsizetype i = first; i < m_messages.size(); i += stride) {
        const test::MeantMessage& m = m_messages[i];
        const QImage image = test::chatPicture(m.lines, look);
        QElapsedTimer timer;
        timer.start();
        const RecognizedPicture read = recognizePicture(image);
        const PictureParse parse = parsePicture(pictureTextLines(read.lines), m.picked);
        ms += timer.elapsed();
        ++pictures;
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QStringList expected = m.bets;
        meant += int(expected.size());
        flagged += parse.doubtfulCount();
        if (qEnvironmentVariableIsSet("VARNOTH_PICTURE_SHOW")) {
            for (qsizetype l = 0; l < parse.lines.size(); ++l)
                qInfo("%lld %s %d %d  %s", static_cast<long long>(i), parse.lines[l].doubtful ? "?" : " ",
                      int(parse.chat.lines.value(l).kind), int(parse.chat.lines.value(l).problem),
                      qPrintable(parse.lines[l].text));
            qInfo("   sent: %s", qPrintable(m.lines.join(" | ")));
        }
        const int foundBefore = found;
        for (const ChatBet& b : parse.chat.bets()) {
            const QString bet = b.type + ' ' + b.number + ' ' + b.amount;
            if (expected.removeOne(bet)) {
                ++found;
            } else {
                ++wrong;
                QStringList seen;
                for (const PictureTextLine& l : parse.lines)
                    seen << l.text;
                qWarning("message %lld: not meant: %s\n  read: %s\n  sent: %s", static_cast<long long>(i),
                         qPrintable(bet), qPrintable(seen.join(" | ")), qPrintable(m.lines.join(" | ")));
            }
        }
        if (qEnvironmentVariableIsSet("VARNOTH_PICTURE_SHOW"))
            qInfo("   %lld: %d of %lld found; missed: %s", static_cast<long long>(i), found - foundBefore,
                  static_cast<long long>(m.bets.size()), qPrintable(expected.join(", ")));
        if (qEnvironmentVariableIsSet("VARNOTH_PICTURE_WHY")) test::tellMisses(m, read.lines, parse, expected, why);
    }
    if (qEnvironmentVariableIsSet("VARNOTH_PICTURE_WHY"))
        for (auto it = why.cbegin(); it != why.cend(); ++it)
            qInfo("missed %4d  %s", it.value(), qPrintable(it.key()));
    qInfo("%d pictures in %lld ms: %d of %d bets found (%.1f%%), %d not meant, %d lines flagged", pictures, ms, found,
          meant, meant ? 100.0 * found / meant : 0.0, wrong, flagged);
    QCOMPARE(wrong, 0);
    QVERIFY2(found >= meant * least, qPrintable(QString::number(100.0 * found / meant, 'f', 1) + " %"));
}

// A dark theme comes out as dark text on light, a photo's slant is found, a small picture is scaled up.
void TestPictureReading::cleaning()
{
    const QStringList lines = m_messages[0].lines;
    const CleanPicture dark = cleanPicture(test::chatPicture(lines, {44, true, false, false}));
    qint64 sum = 0;
    for (int y = 0; y < dark.image.height(); ++y)
        for (int x = 0; x < dark.image.width(); ++x)
            sum += dark.image.constScanLine(y)[x];
    QVERIFY(sum / (qint64(dark.image.width()) * dark.image.height()) > 160);

    const CleanPicture photo = cleanPicture(test::chatPicture(lines, {44, false, false, true}));
    QVERIFY2(std::abs(photo.angle - 1.5) <= 0.5, qPrintable(QString::number(photo.angle)));
    QVERIFY(photo.scale > 1); // two-thirds of a phone's width is narrower than it reads best

    const CleanPicture straight = cleanPicture(test::chatPicture(lines, {}));
    QCOMPARE(straight.angle, 0.0);
    QCOMPARE(straight.scale, 1.0);

    // A message of one short line leaves the bubble light, whatever the theme: its text covers too
    // little of the screenshot to set the darkest shade by, and stretching from the bubble's shade
    // once turned the bubble black with the text in it (nothing was read).
    for (const bool darkTheme : {false, true}) {
        const test::ChatLook look{52, darkTheme, false, false};
        const CleanPicture shortOne = cleanPicture(test::chatPicture({"39 กลับ = 100"}, look));
        const int pad = look.pixelSize / 2;
        const QPoint inBubble(2 * pad + pad / 2, 3 * pad + pad / 2 + look.pixelSize / 2); // left of the text
        QVERIFY2(shortOne.image.pixelColor(inBubble).lightness() > 160, darkTheme ? "dark" : "light");
    }
}

namespace
{
// One word of symbols: "ร", "ุ:ู46" (read "ุ", with "ู" weighed at 46 %), "4@60" (read at 60 %).
PictureLine lineOf(const QStringList& symbols)
{
    PictureWord word{{}, QRect(0, 0, 100, 40), 95, {}};
    for (const QString& given : symbols) {
        const QStringList parts = given.split(':');
        const QStringList sure = parts[0].split('@');
        PictureSymbol s{sure[0], sure.size() > 1 ? sure[1].toFloat() : 98, {{sure[0], 98}}};
        if (parts.size() > 1) s.choices.append({parts[1].left(1), parts[1].mid(1).toFloat()});
        word.text += s.text;
        word.symbols << s;
    }
    return PictureLine{{word}, word.box};
}
} // namespace

// A second, sure reading stands for the first only where the first was unsure, and only by what the
// first weighed there: a Thai digit read sure and wrong at another size must not slip in.
void TestPictureReading::secondReading()
{
    const PictureLine unsureMark = lineOf({"ร", "ุ:ู46", "ด"});
    QVERIFY(mayCorrectReading(unsureMark, lineOf({"ร", "ู", "ด"})));
    QVERIFY(mayCorrectReading(unsureMark, lineOf({"ร", "ุ", "ด"})));       // the same text, now sure
    QVERIFY(!mayCorrectReading(unsureMark, lineOf({"ร", "ิ", "ด"})));      // never weighed
    QVERIFY(!mayCorrectReading(unsureMark, lineOf({"ธ", "ู", "ด"})));      // a letter it was sure of
    QVERIFY(!mayCorrectReading(unsureMark, lineOf({"ร", "ู", "ด", "ด"}))); // a letter more
    QVERIFY(!mayCorrectReading(unsureMark, lineOf({"ร", "ู"})));

    // A rival below the doubt's floor was not weighed; a low reading with no rival offers nothing.
    QVERIFY(!mayCorrectReading(lineOf({"๕", "๕:๔3", "๓"}), lineOf({"๕", "๔", "๓"})));
    QVERIFY(!mayCorrectReading(lineOf({"๕", "๕@60", "๓"}), lineOf({"๕", "๔", "๓"})));
    QVERIFY(mayCorrectReading(lineOf({"๕", "๕@60:๔20", "๓"}), lineOf({"๕", "๔", "๓"})));
}

// A whole screenshot of a phone, 1080 x 2400, read and parsed.
void TestPictureReading::screenshotSpeed()
{
    QStringList lines{"ลูกค้า สมชาย"};
    for (int i = 0; i < 14; ++i)
        lines << QString("%1=%2*%2").arg(100 + 37 * i).arg(10 * (i % 5 + 1));
    lines << "รวม 600";
    const QImage image = test::chatPicture(lines, {}, 1080, 2400);
    QCOMPARE(image.size(), QSize(1080, 2400));
    QElapsedTimer timer;
    timer.start();
    const PictureParse parse = parsePicture(pictureTextLines(recognizePicture(image).lines), "3ตัวตรง");
    const qint64 ms = timer.elapsed();
    qInfo("1080 x 2400 screenshot read and parsed in %lld ms: %lld bets, %d lines flagged", ms,
          static_cast<long long>(parse.chat.bets().size()), parse.doubtfulCount());
    QVERIFY(parse.chat.bets().size() > 0);
    // The goal is 2 s on the benchmark machine; a shared test machine gets room.
    QVERIFY2(ms < test::timeLimit(5000), qPrintable(QString::number(ms) + " ms"));
}

void TestPictureReading::unreadable()
{
    QCOMPARE(pictureFromBytes("not a picture").error.isEmpty(), false);
    QVERIFY(!loadPicture("/nonexistent/slip.png").error.isEmpty());
    // A blank picture holds no line, and no bet.
    QImage blank(800, 600, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const RecognizedPicture read = recognizePicture(blank);
    QVERIFY(read.error.isEmpty());
    QVERIFY(parsePicture(pictureTextLines(read.lines), "2ตัวบน").chat.bets().isEmpty());
}

void TestPictureReading::cancelled()
{
    const QImage image = test::chatPicture(m_messages[0].lines, {}, 1080, 2400);
    std::atomic_bool cancel{true};
    const RecognizedPicture read = recognizePicture(image, &cancel);
    QVERIFY(read.cancelled);
    QVERIFY(read.lines.isEmpty());
}

QTEST_MAIN(TestPictureReading)
#include "tst_picturereading.moc"
