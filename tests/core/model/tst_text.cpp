#include "core/model/text.h"
#include "core/model/types.h"

#include <QTest>

using namespace varnoth;

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void cleanName_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("blanks and case") << "Som Chai"
                                         << "somchai";
        QTest::newRow("hash dash line end") << "a#b-c\r\nd"
                                            << "abcd";
        QTest::newRow("thai untouched") << "สมชาย X"
                                        << "สมชายx";
        QTest::newRow("lone line feed kept") << "a\nb"
                                             << "a\nb";
    }
    void cleanName()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(CleanName(in), out);
    }

    void digitsAndSort()
    {
        QCOMPARE(DigitsOnly("1,000"), QString("1000"));
        QCOMPARE(DigitsOnly("12.5"), QString("125"));
        QCOMPARE(DigitsOnly("๑2ก3"), QString("23")); // Thai digits are not digits of an amount
        QCOMPARE(SortDigits("907"), QString("079"));
        QCOMPARE(SortDigits(""), QString(""));
    }

    void val_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<double>("out");
        QTest::newRow("plain") << "150" << 150.0;
        QTest::newRow("grouping stops") << "1,000" << 1.0;
        QTest::newRow("decimal") << "12.5" << 12.5;
        QTest::newRow("leading blanks and sign") << "  -7x" << -7.0;
        QTest::newRow("none") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("point only") << "." << 0.0;
        QTest::newRow("dash after number") << "150-3" << 150.0;
    }
    void val()
    {
        QFETCH(QString, in);
        QFETCH(double, out);
        QCOMPARE(Val(in), out);
    }

    void formats_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("amount");
        QTest::newRow("zero") << 0.0 << "0"
                              << "0.00";
        QTest::newRow("grouping") << 1234567.0 << "1,234,567"
                                  << "1,234,567.00";
        QTest::newRow("half away from zero") << 2.675 << "3"
                                             << "2.68";
        QTest::newRow("half up count") << 2.5 << "3"
                                       << "2.50";
        QTest::newRow("negative") << -1125.5 << "-1,126"
                                  << "-1,125.50";
        QTest::newRow("negative rounding to zero") << -0.001 << "0"
                                                   << "0.00";
        QTest::newRow("carry") << 999.995 << "1,000"
                               << "1,000.00";
        QTest::newRow("small") << 0.125 << "0"
                               << "0.13";
    }
    void formats()
    {
        QFETCH(double, value);
        QFETCH(QString, count);
        QFETCH(QString, amount);
        QCOMPARE(formatCount(value), count);
        QCOMPARE(formatAmount(value), amount);
    }

    void shortest()
    {
        QCOMPARE(shortestDecimal(150), QString("150"));
        QCOMPARE(shortestDecimal(12.5), QString("12.5"));
        QCOMPARE(shortestDecimal(1e20), QString("100000000000000000000"));
        QCOMPARE(shortestDecimal(0.1 + 0.2), QString("0.3"));
        QCOMPARE(singleDecimal(0.5), QString("0.5"));
        QCOMPARE(singleDecimal(123456789.0), QString("123456800"));
    }

    void splitting()
    {
        QCOMPARE(splitText("", "#").size(), 0);
        QCOMPARE(splitText("a#", "#"), QStringList({"a", ""}));
    }

    void indexInList()
    {
        QCOMPARE(IndexInList(TypeList, "3ตัวตรง"), QString("0"));
        QCOMPARE(IndexInList(TypeList, "5ตัวโต๊ด"), QString("11"));
        QCOMPARE(IndexInList(TypeList, "3ตัวตรงหัว"), QString("8"));
        QCOMPARE(IndexInList(TypeList, "6ตัว"), QString());
        QCOMPARE(IndexInList("#x#somchai#", "x"), QString("1"));
        QCOMPARE(IndexInList("#x#somchai#", "somchai"), QString("2"));
        QCOMPARE(IndexInList("#x#somchai#", ""), QString());
        QCOMPARE(IndexInList("#a##c#", "c"), QString("3")); // an emptied place keeps later indexes
        QCOMPARE(IndexInList("#x#Som Chai#", "somchai"), QString("2"));
        QCOMPARE(IndexInList("nohash", "nohash"), QString());
    }

    void countOccurrences()
    {
        QCOMPARE(CountOccurrences("a\r\nb\r\n", "\r\n"), 2);
        QCOMPARE(CountOccurrences("AAAA", "aa"), 2);
        QCOMPARE(CountOccurrences("abc", ""), 0);
    }
};

QTEST_APPLESS_MAIN(TestText)
#include "tst_text.moc"
