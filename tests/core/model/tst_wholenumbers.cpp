// Amounts and counts are whole numbers nearly always; their reading and printing take a short way
// that must give what the general way gives, up to where a double stops being exact.
#include "core/model/text.h"

#include <QTest>

using namespace varnoth;

class TestWholeNumbers : public QObject
{
    Q_OBJECT
private slots:
    void val_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<double>("out");
        QTest::newRow("single digit") << "7" << 7.0;
        QTest::newRow("leading zeros") << "007" << 7.0;
        QTest::newRow("fifteen digits") << "999999999999999" << 999999999999999.0;
        QTest::newRow("sixteen digits") << "1234567890123456" << 1234567890123456.0;
        QTest::newRow("digits then text") << "12ab" << 12.0;
        QTest::newRow("thai digit stops") << "1๒" << 1.0;
        QTest::newRow("decimal") << "12.5" << 12.5;
        QTest::newRow("empty") << "" << 0.0;
    }
    void val()
    {
        QFETCH(QString, in);
        QFETCH(double, out);
        QCOMPARE(Val(in), out);
    }

    void shortest_data()
    {
        QTest::addColumn<double>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("whole") << 150.0 << "150";
        QTest::newRow("negative whole") << -5.0 << "-5";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("largest with fifteen digits") << 999999999999999.0 << "999999999999999";
        QTest::newRow("ten to the fifteenth") << 1e15 << "1000000000000000";
        QTest::newRow("sixteen digits rounds to fifteen") << 1234567890123456.0 << "1234567890123460";
        QTest::newRow("half") << 2.5 << "2.5";
    }
    void shortest()
    {
        QFETCH(double, in);
        QFETCH(QString, out);
        QCOMPARE(shortestDecimal(in), out);
    }
};

QTEST_GUILESS_MAIN(TestWholeNumbers)
#include "tst_wholenumbers.moc"
