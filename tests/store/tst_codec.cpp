// The data-file codec copies ASCII runs itself and hands only the other runs to the code page; the
// result must be what the code page gives for the whole text, errors included.
#include "store/store.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace varnoth;

namespace
{

QString wholeDecode(const QByteArray& bytes, bool* ok)
{
    QStringDecoder dec("windows-874");
    const QString s = dec.decode(bytes);
    *ok = !dec.hasError();
    return s;
}

QByteArray wholeEncode(const QString& text, bool* ok)
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
    void decodeMatchesCodePage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray every;
        for (int i = 0; i < 256; ++i)
            every.append(static_cast<char>(i));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("stake file") << QByteArray("000-0\r\n001-150\r\n\r\n");
        QTest::newRow("thai between ascii") << QByteArray("#\xca\xc1\xAA\xd2\xc2#x1#\r\n");
        QTest::newRow("thai at both ends") << QByteArray("\xca\xc1-1\xAA");
        QTest::newRow("every byte, unmapped ones too") << every;
    }
    void decodeMatchesCodePage()
    {
        QFETCH(QByteArray, bytes);
        bool refOk = false, ok = false;
        const QString ref = wholeDecode(bytes, &refOk);
        QCOMPARE(decodeWindows874(bytes, &ok), ref);
        QCOMPARE(ok, refOk);
    }

    void encodeMatchesCodePage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("backup heading and lines") << QStringLiteral("3ตัวตรง#c1\r\n123-50\r\n2ตัวบน#\r\n12-3\r\n");
        QTest::newRow("thai only") << QStringLiteral("สมชาย");
        QTest::newRow("not in the code page") << QStringLiteral("a€b😀c");
        QTest::newRow("lone high surrogate before ascii")
            << (QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b"));
        QTest::newRow("lone high surrogate at the end") << (QStringLiteral("ก") + QChar(0xD83D));
        QTest::newRow("lone low surrogate at the end") << (QStringLiteral("ก") + QChar(0xDE00));
    }
    void encodeMatchesCodePage()
    {
        QFETCH(QString, text);
        bool refOk = false, ok = false;
        const QByteArray ref = wholeEncode(text, &refOk);
        QCOMPARE(encodeWindows874(text, &ok), ref);
        QCOMPARE(ok, refOk);
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
        bool ok = false;
        QCOMPARE(f.readAll(), wholeEncode(text, &ok));
    }

    void thaiRoundTrip()
    {
        QString every;
        for (char16_t c = 0x0E01; c <= 0x0E5B; ++c)
            if (c < 0x0E3B || c > 0x0E3E) every += QChar(c);
        bool ok = false;
        const QByteArray bytes = encodeWindows874(every + QStringLiteral("-12\r\n"), &ok);
        QVERIFY(ok);
        QCOMPARE(decodeWindows874(bytes, &ok), every + QStringLiteral("-12\r\n"));
        QVERIFY(ok);
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
