#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <QTest>

#include <type_traits>

using namespace varnoth;

namespace
{

// One line as the reader hands it over: number|amount|rest, then "-" when the line has a dash and
// "#" when it holds one.
template <class Line> QString describe(const Line& l)
{
    const auto text = [](auto view) {
        if constexpr (std::is_same_v<decltype(view), QByteArrayView>)
            return QString::fromLatin1(view);
        else
            return view.toString();
    };
    return text(l.number()) + QLatin1Char('|') + text(l.amount()) + QLatin1Char('|') + text(l.rest()) +
           QLatin1Char('|') + (l.hasDash() ? QStringLiteral("-") : QString()) +
           (l.hash ? QStringLiteral("#") : QString());
}

} // namespace

class TestNumberLines : public QObject
{
    Q_OBJECT
private slots:
    // The bytes of a file and its decoded text give the same lines with the same fields; plain ASCII
    // lines come as bytes, any other line decoded.
    void bytesAndTextAgree_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("forms"); // b: bytes, t: decoded text
        QTest::newRow("CR LF") << "000-150\r\n001-0\r\n" << QStringList{"000|150|150|-", "001|0|0|-"} << "bb";
        QTest::newRow("bare LF") << "000-5\n001-7\n" << QStringList{"000|5|5|-", "001|7|7|-"} << "bb";
        QTest::newRow("no final line end") << "000-5\r\n001-7" << QStringList{"000|5|5|-", "001|7|7|-"} << "bb";
        QTest::newRow("empty lines skipped") << "\r\n000-1\r\n\n\r\n" << QStringList{"000|1|1|-"} << "b";
        QTest::newRow("only the last CR is a line end") << "000-1\r\r\n" << QStringList{"000|1\r|1\r|-"} << "b";
        QTest::newRow("blanks around the number") << " 13\t-20\r\n\t7 - 5\r\n"
                                                  << QStringList{"13|20|20|-", "7| 5| 5|-"} << "bb";
        QTest::newRow("thai lines") << "ก-10-99\r\n001-ข\r\n 12 -฿5\r\n"
                                    << QStringList{"ก|10|10-99|-", "001|ข|ข|-", "12|฿5|฿5|-"} << "ttt";
        QTest::newRow("second dash") << "001-10-5\r\n002--5\r\n" << QStringList{"001|10|10-5|-", "002||-5|-"} << "bb";
        QTest::newRow("empty amount") << "001-\r\n" << QStringList{"001|||-"} << "b";
        QTest::newRow("16-digit amount") << "001-1234567890123456\r\n"
                                         << QStringList{"001|1234567890123456|1234567890123456|-"} << "b";
        QTest::newRow("no dash") << "junk\r\n 5 \r\n" << QStringList{"junk|junk|junk|", "5| 5 | 5 |"} << "bb";
        QTest::newRow("hash") << "01#-5\r\n" << QStringList{"01#|5|5|-#"} << "b";
        QTest::newRow("empty file") << "" << QStringList{} << "";
    }
    void bytesAndTextAgree()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QFETCH(QString, forms);

        QStringList fromBytes;
        QString seen;
        const QByteArray bytes = encodeWindows874(text);
        forEachNumberLine(QByteArrayView(bytes), [&](const auto& line) {
            seen += std::is_same_v<std::decay_t<decltype(line)>, ByteLine> ? QLatin1Char('b') : QLatin1Char('t');
            fromBytes << describe(line);
        });
        QStringList fromText;
        forEachNumberLine(QStringView(text), [&](const TextLine& line) { fromText << describe(line); });

        QCOMPARE(fromBytes, expected);
        QCOMPARE(fromText, expected);
        QCOMPARE(seen, forms);
    }

    // A single line read on its own gives the fields the file reader gives.
    void oneLine()
    {
        const TextLine l = TextLine::of(u" 045 -30-2");
        QCOMPARE(l.number(), u"045");
        QCOMPARE(l.beforeDash(), u" 045 ");
        QCOMPARE(l.amount(), u"30");
        QCOMPARE(l.dash, 5);
        const ByteLine b = ByteLine::of(" 045 -30-2");
        QCOMPARE(b.number(), QByteArrayView("045"));
        QCOMPARE(b.amount(), QByteArrayView("30"));
    }
};

QTEST_GUILESS_MAIN(TestNumberLines)
#include "tst_numberlines.moc"
