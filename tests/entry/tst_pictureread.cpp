// What is read from a picture: which lines may carry bets, given what the recogniser doubted.
#include "entry/pictureread.h"

#include <QTest>

#include <algorithm>

using namespace varnoth;

namespace
{

const QString Two = QStringLiteral("2ตัวบน");

// A line of words 20 pixels high, every character read with `confidence`; `rival` names a
// character and the other reading it had.
PictureLine line(const QString& text, int y, float confidence = 99, QChar doubted = {}, const QString& rival = {},
                 float rivalConfidence = 40)
{
    PictureLine l;
    int x = 0;
    for (const QString& word : text.split(' ')) {
        PictureWord w{word, QRect(x, y, 12 * int(word.size()), 20), confidence, {}};
        for (QChar c : word) {
            PictureSymbol s{QString(c), confidence, {{QString(c), confidence}}};
            if (c == doubted) s.choices << PictureSymbol::Choice{rival, rivalConfidence};
            w.symbols << s;
        }
        l.words << w;
        x += 12 * int(word.size()) + 14;
    }
    l.box = QRect(0, y, x, 20);
    return l;
}

QString bets(const PictureParse& p)
{
    QStringList out;
    for (const ChatBet& b : p.chat.bets())
        out << b.number + '=' + b.amount;
    return out.join(' ');
}

} // namespace

class TestPictureRead : public QObject
{
    Q_OBJECT
private slots:
    void doubt_data();
    void doubt();
    void dependentLines_data();
    void dependentLines();
    void totalAndCustomer();
    void typedLineIsTrusted();
    void possibleReadings_data();
    void possibleReadings();
    void settledByMeaning_data();
    void settledByMeaning();
    void wordsJoined();
    void lineAtPoint();
};

void TestPictureRead::doubt_data()
{
    QTest::addColumn<PictureLine>("read");
    QTest::addColumn<bool>("doubtful");
    QTest::newRow("sure") << line("45=100", 0) << false;
    QTest::newRow("low confidence") << line("45=100", 0, 60) << true;
    QTest::newRow("a doubtful word") << [] {
        PictureLine l = line("74=50", 0);
        l.words[0].confidence = 83; // "14=50", each digit sure, the word less so
        return l;
    }() << true;
    QTest::newRow("another digit close") << line("๔๕=๑๐๐", 0, 99, QChar(u'๔'), "๕", 30) << true;
    QTest::newRow("a letter for a digit") << line("45=100", 0, 99, '1', "l", 30) << true;
    QTest::newRow("a far rival") << line("45=100", 0, 99, '4', "9", 1) << false;
    QTest::newRow("another letter close") << line("45 บ100", 0, 99, QChar(u'บ'), "ล", 40) << true;
}

Q_DECLARE_METATYPE(PictureLine)

void TestPictureRead::doubt()
{
    QFETCH(PictureLine, read);
    QFETCH(bool, doubtful);
    QCOMPARE(isDoubtful(read), doubtful);
    const PictureParse p = parsePicture(pictureTextLines({read}), Two);
    QCOMPARE(p.chat.bets().isEmpty(), doubtful);
    if (doubtful) {
        QCOMPARE(p.chat.lines[0].kind, ChatLineKind::NotUnderstood);
        QCOMPARE(p.chat.lines[0].problem, ChatProblem::Unclear);
        QCOMPARE(p.chat.total, 0.0);
    }
}

// A doubtful line takes with it the bets that rest on it: those under a heading, those above a
// "ตัวละ", and those under a line not understood that may have been a heading.
void TestPictureRead::dependentLines_data()
{
    QTest::addColumn<QList<PictureLine>>("read");
    QTest::addColumn<QString>("kept");
    QTest::newRow("doubtful heading") << QList<PictureLine>{line("ล่าง", 0, 50), line("12=50", 30), line("34=50", 60)}
                                      << "";
    QTest::newRow("sure heading") << QList<PictureLine>{line("ล่าง", 0), line("12=50", 30), line("34=50", 60)}
                                  << "12=50 34=50";
    QTest::newRow("unreadable heading") << QList<PictureLine>{line("12=50", 0), line("ล่าจ", 30, 60), line("34=50", 60)}
                                        << "12=50";
    QTest::newRow("sure name first") << QList<PictureLine>{line("ลาจ", 0), line("12=50", 30)} << "12=50";
    QTest::newRow("doubtful name first") << QList<PictureLine>{line("ลาจ", 0, 70), line("12=50", 30)} << "12=50";
    QTest::newRow("misread heading with a digit")
        << QList<PictureLine>{line("2 42", 0), line("45=50", 30), line("7 บน 50", 60)} << "";
    QTest::newRow("unreadable amount above") << QList<PictureLine>{line("ล่าง ตัวสละ 20", 0), line("28 82", 30)} << "";
    QTest::newRow("doubtful amount below")
        << QList<PictureLine>{line("12", 0), line("34", 30), line("ตัวละ 50", 60, 99, '5', "6")} << "";
    QTest::newRow("doubtful bet alone") << QList<PictureLine>{line("12=50", 0), line("34=5O", 30, 40),
                                                              line("56=20", 60)}
                                        << "12=50 56=20";
    QTest::newRow("short unknown word") << QList<PictureLine>{line("12=50", 0), line("ลาจ", 30), line("34=50", 60)}
                                        << "12=50";
    QTest::newRow("long greeting") << QList<PictureLine>{line("12=50", 0), line("สวัสดีค่ะพี่", 30, 50), line("34=50", 60)}
                                   << "12=50 34=50";
}

void TestPictureRead::dependentLines()
{
    QFETCH(QList<PictureLine>, read);
    QFETCH(QString, kept);
    const PictureParse p = parsePicture(pictureTextLines(read), Two);
    QCOMPARE(bets(p), kept);
    double total = 0;
    for (const ChatBet& b : p.chat.bets())
        total += b.amount.toDouble();
    QCOMPARE(p.chat.total, total);
}

void TestPictureRead::totalAndCustomer()
{
    const QList<PictureLine> read{line("ลูกค้า แดง", 0, 40), line("12=50", 30), line("รวม 50", 60, 40)};
    const PictureParse p = parsePicture(pictureTextLines(read), Two);
    QCOMPARE(bets(p), QString("12=50"));
    // A doubtful name is no customer, and a doubtful total states nothing.
    QCOMPARE(p.chat.customer, QString());
    QVERIFY(!p.chat.hasStatedTotal);
    QCOMPARE(p.doubtfulCount(), 2);

    const PictureParse sure = parsePicture(pictureTextLines({line("12=50", 0), line("รวม 80", 30)}), Two);
    QVERIFY(sure.chat.totalMismatch());
}

void TestPictureRead::typedLineIsTrusted()
{
    QList<PictureTextLine> lines = pictureTextLines({line("ล่าง", 0, 50), line("12=50", 30)});
    QVERIFY(parsePicture(lines, Two).chat.bets().isEmpty());
    lines[0].typed = true;
    const PictureParse p = parsePicture(lines, Two);
    QCOMPARE(p.chat.bets().value(0).type, QString("2ตัวล่าง"));
    QCOMPARE(p.doubts[0], PictureLineDoubt::Typed);
}

// Only a doubt between Thai letters is weighed; a digit, a sign, a Latin letter or a letter unsure of
// nothing it named leaves the line as it was.
void TestPictureRead::possibleReadings_data()
{
    QTest::addColumn<PictureLine>("read");
    QTest::addColumn<QStringList>("readings");
    QTest::newRow("a mark") << line("รุดหน้า 3", 0, 99, QChar(u'ุ'), "ู", 40) << QStringList{"รุดหน้า 3", "รูดหน้า 3"};
    QTest::newRow("sure") << line("รูดหน้า 3", 0) << QStringList{};
    QTest::newRow("a Thai digit") << line("๔๕=๑๐๐", 0, 99, QChar(u'๔'), "๕", 30) << QStringList{};
    QTest::newRow("a letter or a digit") << line("วิ่ง", 0, 99, QChar(u'ง'), "3", 30) << QStringList{};
    QTest::newRow("a sign") << line("12=50", 0, 99, '=', "@", 40) << QStringList{};
    QTest::newRow("unsure of nothing named") << [] {
        PictureLine l = line("รุด 3", 0);
        l.words[0].symbols[1].confidence = 70;
        return l;
    }() << QStringList{};
    QTest::newRow("a letter unsure") << [] {
        PictureLine l = line("รุด 3", 0, 99, QChar(u'ร'), "ธ", 30);
        l.words[0].symbols[0].confidence = 70;
        return l;
    }() << QStringList{};
    QTest::newRow("a letter sure, with a rival") << line("วิ่ง", 0, 99, QChar(u'ว'), "จ", 17)
                                                  << QStringList{"วิ่ง", "จิ่ง"};
    QTest::newRow("a word of one mark") << [] {
        // The recogniser made the mark a word of its own, as unsure as the mark.
        PictureLine l = line("ร ุ ด", 0, 99, QChar(u'ุ'), "ู", 60);
        l.words[1].confidence = 70;
        l.words[2].box.moveLeft(l.words[0].box.right() + 2);
        return l;
    }() << QStringList{"รุด", "รูด"};
    QTest::newRow("a word too unsure") << [] {
        PictureLine l = line("ร ุ ด", 0, 99, QChar(u'ุ'), "ู", 60);
        l.words[1].confidence = 40;
        return l;
    }() << QStringList{};
}

void TestPictureRead::possibleReadings()
{
    QFETCH(PictureLine, read);
    QFETCH(QStringList, readings);
    QCOMPARE(varnoth::possibleReadings(read), readings);
}

// A doubtful line is read when exactly one of its possible readings means something and the others
// change no other line's bets; otherwise it stays doubtful, and so do the lines resting on it.
void TestPictureRead::settledByMeaning_data()
{
    QTest::addColumn<QList<PictureLine>>("read");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("settled"); // the doubtful line as read in the end; "" while doubtful
    QTest::addColumn<QString>("picked");
    QTest::newRow("a sweep") << QList<PictureLine>{line("รุดหน้า 3 = 20", 0, 99, QChar(u'ุ'), "ู", 40)}
                             << "30=20 31=20 32=20 33=20 34=20 35=20 36=20 37=20 38=20 39=20" << "รูดหน้า 3 = 20" << Two;
    QTest::newRow("read right, weighed wrong")
        << QList<PictureLine>{line("รูดหน้า 3 = 20", 0, 99, QChar(u'ู'), "ุ", 40)}
        << "30=20 31=20 32=20 33=20 34=20 35=20 36=20 37=20 38=20 39=20" << "รูดหน้า 3 = 20" << Two;
    QTest::newRow("a heading") << QList<PictureLine>{line("พี่ต้อม", 0), line("วิ่ง", 30, 99, QChar(u'ิ'), "ึ", 20),
                                                     line("7=500", 60)}
                               << "7=500" << "วิ่ง" << QString();
    // On the first line "วึ่ง" would be the customer's name.
    QTest::newRow("a heading or a name")
        << QList<PictureLine>{line("วิ่ง", 0, 99, QChar(u'ิ'), "ึ", 20), line("7=500", 30)} << "" << "" << QString();
    // Under a picked two-digit type, "7=500" without its heading is 07: other bets.
    QTest::newRow("a heading, a type picked")
        << QList<PictureLine>{line("วิ่ง", 0, 99, QChar(u'ิ'), "ึ", 20), line("7=500", 30)} << "" << "" << Two;
    QTest::newRow("two meanings") << QList<PictureLine>{line("45 บ100", 0, 99, QChar(u'บ'), "ล", 40), line("12=50", 30)}
                                  << "12=50" << "" << Two;
    // "ข" means nothing and "บ" is a bet, but the customer may have written "ล", never weighed.
    QTest::newRow("a letter changed") << QList<PictureLine>{line("45 ข100", 0, 99, QChar(u'ข'), "บ", 40)} << ""
                                      << "" << Two;
    // Without the heading "ล่าง" the line below is read under the picked type: other bets.
    QTest::newRow("other bets below") << QList<PictureLine>{line("ล่าง", 0, 99, QChar(u'ง'), "จ", 40), line("12=50", 30)}
                                      << "" << "" << Two;
}

void TestPictureRead::settledByMeaning()
{
    QFETCH(QList<PictureLine>, read);
    QFETCH(QString, kept);
    QFETCH(QString, settled);
    QFETCH(QString, picked);
    const QList<PictureTextLine> lines = pictureTextLines(read);
    const PictureParse p = parsePicture(lines, picked);
    QCOMPARE(bets(p), kept);
    const qsizetype at = std::find_if(lines.cbegin(), lines.cend(), [](const PictureTextLine& l) { return l.doubtful; }) -
                         lines.cbegin();
    QCOMPARE(p.lines[at].doubtful, settled.isEmpty());
    QCOMPARE(p.doubts[at] == PictureLineDoubt::Doubtful, settled.isEmpty());
    if (!settled.isEmpty()) QCOMPARE(p.lines[at].text, settled);
}

void TestPictureRead::wordsJoined()
{
    // Pieces of one Thai word that touch are one word; a blank's width apart, two.
    PictureLine l;
    l.box = QRect(0, 0, 200, 30);
    l.words << PictureWord{"ล่า", QRect(0, 0, 30, 30), 99, {}} << PictureWord{"ง", QRect(33, 0, 10, 30), 99, {}}
            << PictureWord{"100", QRect(60, 0, 30, 30), 99, {}} << PictureWord{"\u0e4a", QRect(91, 0, 5, 30), 99, {}};
    QCOMPARE(pictureLineText(l), QString("ล่าง 100\u0e4a"));

    // Between Thai words a gap must be wide to count: the recogniser leaves gaps inside words.
    PictureLine thai;
    thai.box = QRect(0, 0, 300, 30);
    thai.words << PictureWord{"ตัว", QRect(0, 0, 36, 30), 99, {}} << PictureWord{"ละ", QRect(48, 0, 24, 30), 99, {}}
               << PictureWord{"ลูกค้า", QRect(100, 0, 60, 30), 99, {}};
    QCOMPARE(pictureLineText(thai), QString("ตัวละ ลูกค้า"));
    // The customer's name starts after the word that names him, however close it stands.
    thai.words.last().box = QRect(80, 0, 60, 30);
    thai.words << PictureWord{"แดง", QRect(142, 0, 30, 30), 99, {}};
    QCOMPARE(pictureLineText(thai), QString("ตัวละลูกค้า แดง"));
}

void TestPictureRead::lineAtPoint()
{
    const QList<PictureTextLine> lines = pictureTextLines({line("12=50", 0), line("34=50", 40)});
    QCOMPARE(pictureLineAt(lines, {10, 10}), 0);
    QCOMPARE(pictureLineAt(lines, {10, 45}), 1);
    QCOMPARE(pictureLineAt(lines, {10, 25}), 0); // just under the first line
    QCOMPARE(pictureLineAt(lines, {10, 200}), -1);
}

QTEST_GUILESS_MAIN(TestPictureRead)
#include "tst_pictureread.moc"
