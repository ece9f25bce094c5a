#include "tools/calculator.h"

#include <QTest>

using namespace varnoth;

class TestCalculator : public QObject
{
    Q_OBJECT
private slots:
    void calculate_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("sign");
        QTest::addColumn<QString>("result");
        QTest::newRow("per cent of the first") << "1500"
                                               << "12"
                                               << "%"
                                               << "180.00";
        QTest::newRow("division") << "10"
                                  << "4"
                                  << "/"
                                  << "2.50";
        QTest::newRow("division by zero") << "10"
                                          << "0"
                                          << "/"
                                          << "";
        QTest::newRow("zero by zero") << "0"
                                      << ""
                                      << "/"
                                      << "";
        QTest::newRow("number stops at the comma") << "1,000"
                                                   << "1"
                                                   << "+"
                                                   << "2.00";
        QTest::newRow("negative difference") << "5"
                                             << "7"
                                             << "-"
                                             << "-2.00";
        QTest::newRow("grouped product") << "2.5"
                                         << "4000"
                                         << "*"
                                         << "10,000.00";
        QTest::newRow("no sign") << "10"
                                 << "4"
                                 << ""
                                 << "";
        QTest::newRow("unknown sign") << "10"
                                      << "4"
                                      << "x"
                                      << "";
        QTest::newRow("real overflow") << QString(200, '9') << QString(200, '9') << "*"
                                       << "";
        QTest::newRow("empty operands") << ""
                                        << ""
                                        << "+"
                                        << "0.00";
    }
    void calculate()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, sign);
        QFETCH(QString, result);
        QCOMPARE(varnoth::calculate(a, b, sign), result);
    }

    void operatorBoxDropsForPerCent()
    {
        QCOMPARE(operatorTop("%"), 960);
        QCOMPARE(operatorTop("*"), 721);
        QCOMPARE(operatorTop(""), 721);
    }
};

QTEST_GUILESS_MAIN(TestCalculator)
#include "tst_calculator.moc"
