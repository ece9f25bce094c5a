// The data-file codec is built into the program so that a file has the same bytes on every
// platform. Here it is held against the mapping of code page 874 written out byte by byte, against
// the bytes of every Thai text of the program as Qt with ICU wrote them on Linux, and, where this
// Qt has its own windows-874 codec (Linux with ICU), against that codec for every character.
#include "programtexts.h"
#include "storage/folder/store.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace varnoth;

namespace
{

// Code page 874 as published: ASCII, the Thai block at an offset of 0x0D60, a few punctuation
// characters, the C1 controls where the page has nothing, and private-use characters for the four
// holes of the Thai range and the last four bytes.
char16_t expectedCharacter(int b)
{
    if (b < 0x80) return b;
    if ((b >= 0xA1 && b <= 0xDA) || (b >= 0xDF && b <= 0xFB)) return b + 0x0D60;
    if (b >= 0xDB && b <= 0xDE) return 0xF8C1 + (b - 0xDB);
    if (b >= 0xFC) return 0xF8C5 + (b - 0xFC);
    switch (b) {
    case 0x80:
        return 0x20AC;
    case 0x85:
        return 0x2026;
    case 0x91:
        return 0x2018;
    case 0x92:
        return 0x2019;
    case 0x93:
        return 0x201C;
    case 0x94:
        return 0x201D;
    case 0x95:
        return 0x2022;
    case 0x96:
        return 0x2013;
    case 0x97:
        return 0x2014;
    default:
        return b; // 0x81..0x9F otherwise, and 0xA0 (no-break space)
    }
}

bool systemCodecPresent()
{
    return QStringDecoder("windows-874").isValid() && QStringEncoder("windows-874").isValid();
}

QByteArray systemEncode(const QString& text, bool* ok)
{
    QStringEncoder enc("windows-874");
    const QByteArray b = enc.encode(text);
    *ok = !enc.hasError();
    return b;
}

} // namespace

class TestCodec : public QObject
{
    Q_OBJECT
private slots:
    void startUpCheckPasses() { QVERIFY(Store::codecAvailable()); }

    void everyByteDecodesAndEncodesBack()
    {
        QByteArray every;
        for (int b = 0; b < 256; ++b)
            every.append(static_cast<char>(b));
        bool ok = false;
        const QString text = decodeWindows874(every, &ok);
        QVERIFY(ok);
        QCOMPARE(text.size(), 256);
        for (int b = 0; b < 256; ++b)
            QVERIFY2(text.at(b).unicode() == expectedCharacter(b), qPrintable(QString::number(b, 16)));
        QCOMPARE(encodeWindows874(text, &ok), every);
        QVERIFY(ok);
    }

    void programTextsHaveTheirLinuxBytes()
    {
        QVERIFY(std::size(ProgramTexts) > 100);
        for (const ProgramText& t : ProgramTexts) {
            const QString text = QString::fromUtf16(t.text);
            const QByteArray bytes(t.bytes, t.size);
            bool ok = false;
            QCOMPARE(encodeWindows874(text, &ok), bytes);
            QVERIFY(ok);
            QCOMPARE(decodeWindows874(bytes), text);
        }
    }

    void charactersOutsideTheCodePage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::newRow("empty") << QString() << QByteArray() << true;
        QTest::newRow("euro sign is in it") << QStringLiteral("a€b")
                                            << QByteArray("a\x80"
                                                          "b")
                                            << true;
        QTest::newRow("latin letter") << QStringLiteral("é1") << QByteArray("?1") << false;
        QTest::newRow("emoji is one ?") << QStringLiteral("a😀c") << QByteArray("a?c") << false;
        QTest::newRow("soft hyphen is left out") << QStringLiteral("1\u00AD2") << QByteArray("12") << false;
        QTest::newRow("zero-width space is left out") << QStringLiteral("ก\u200Bข") << QByteArray("\xA1\xA2") << false;
        QTest::newRow("tag character is left out") << QString::fromUcs4(U"x\U000E0041y") << QByteArray("xy") << false;
        QTest::newRow("lone high surrogate before ascii")
            << (QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b")) << QByteArray("a?b") << false;
        QTest::newRow("lone high surrogate at the end")
            << (QStringLiteral("ก") + QChar(0xD83D)) << QByteArray("\xA1") << true;
        QTest::newRow("lone low surrogate") << (QStringLiteral("ก") + QChar(0xDE00)) << QByteArray("\xA1?") << false;
    }
    void charactersOutsideTheCodePage()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        bool encoded = !ok;
        QCOMPARE(encodeWindows874(text, &encoded), bytes);
        QCOMPARE(encoded, ok);
        if (systemCodecPresent()) {
            bool systemOk = !ok;
            QCOMPARE(systemEncode(text, &systemOk), bytes);
            QCOMPARE(systemOk, ok);
        }
    }

    // Every character and every byte as the system's own codec maps them, where there is one.
    void sameAsTheSystemCodec()
    {
        if (!systemCodecPresent()) QSKIP("this Qt has no windows-874 codec (built without ICU)");
        QByteArray every;
        for (int b = 0; b < 256; ++b)
            every.append(static_cast<char>(b));
        QStringDecoder dec("windows-874");
        QCOMPARE(decodeWindows874(every), QString(dec.decode(every)));
        QVERIFY(!dec.hasError());
        for (char32_t c = 1; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            const char32_t chars[3] = {U'-', c, U'-'};
            const QString text = QString::fromUcs4(chars, 3);
            bool ok = false, systemOk = false;
            const QByteArray mine = encodeWindows874(text, &ok);
            const QByteArray theirs = systemEncode(text, &systemOk);
            if (mine != theirs || ok != systemOk) QFAIL(qPrintable(QString::number(uint(c), 16)));
        }
    }

    // A large text is written a slice of 2^20 characters at a time; the file must hold the bytes of
    // the whole text encoded at once, whatever stands at the edge of a slice.
    void largeWriteMatchesWholeEncoding_data()
    {
        QTest::addColumn<QString>("edge");
        QTest::newRow("surrogate pair across the edge") << QStringLiteral("😀");
        QTest::newRow("lone high surrogate at the edge") << (QString(QChar(0xD83D)) + QStringLiteral("7"));
        QTest::newRow("thai across the edge") << QStringLiteral("สม");
    }
    void largeWriteMatchesWholeEncoding()
    {
        QFETCH(QString, edge);
        const qsizetype slice = 1 << 20;
        QString text(slice - 1, QLatin1Char('5'));
        text += edge + QStringLiteral("-12\r\n") + QString(slice, QLatin1Char('6'));
        QTemporaryDir dir;
        Store store(dir.path());
        const QString path = store.path(QStringLiteral("big.gif"));
        QVERIFY(store.writeExact(path, text));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), encodeWindows874(text));
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
