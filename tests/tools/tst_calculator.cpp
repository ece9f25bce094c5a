#include "tools/calculator.h"

#include <QTest>

using namespace varnoth;

class TestCalculator : public QObject
{
    Q_OBJECT
private:
    static void row(const char* name, const QString& a, const QString& b, const QString& sign, const QString& result)
    {
        QTest::newRow(name) << a << b << sign << result;
    }

private slots:
    void calculate_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("sign");
        QTest::addColumn<QString>("result");
        row("per cent of the first", "1500", "12", "%", "180.00");
        row("division", "10", "4", "/", "2.50");
        row("division by zero", "10", "0", "/", "");
        row("number stops at the comma", "1,000", "1", "+", "2.00");
        row("grouped negative product", "-2.5", "4000", "*", "-10,000.00");
        row("no sign", "10", "4", "", "");
        row("overflow", QString(200, '9'), QString(200, '9'), "*", "");
        row("empty operands count as 0", "", "", "-", "0.00");
    }
    void calculate()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, sign);
        QFETCH(QString, result);
        QCOMPARE(varnoth::calculate(a, b, sign), result);
    }
};

QTEST_GUILESS_MAIN(TestCalculator)
#include "tst_calculator.moc"
