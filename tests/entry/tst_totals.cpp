#include "store/store.h"
#include "entry/totals.h"

#include <QTest>

using namespace varnoth;

class TestTotals : public QObject
{
    Q_OBJECT
private slots:
    // The byte scanner must read every line as the text scanner does, hand-edited junk included.
    void bytesAndTextAgree_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("count");
        QTest::addColumn<double>("total");
        QTest::newRow("fresh") << "000-0\r\n001-0\r\n\r\n" << 0.0 << 0.0;
        QTest::newRow("stakes") << "000-150\r\n001-0\r\n002-25\r\n\r\n" << 2.0 << 175.0;
        QTest::newRow("negative and junk") << "000--5\r\njunk\r\n001-abc\r\n002-12.5x\r\n" << 1.0 << 12.5;
        QTest::newRow("blanks and sign") << "000- +40\r\n001-  7 \r\n" << 2.0 << 47.0;
        QTest::newRow("thai and third field") << "ก-10-99\r\n001-ข\r\n" << 1.0 << 10.0;
        QTest::newRow("no line end") << "000-3" << 1.0 << 3.0;
        QTest::newRow("lone point") << "000-.\r\n001-.5\r\n" << 1.0 << 0.5;
        QTest::newRow("15 and 16 digits") << "000-999999999999999\r\n001-0000000000000001\r\n" << 2.0 << 1e15;
        QTest::newRow("stray CR and bare LF") << "000-5\r5\r\n001-7\r\r\n002-2\n" << 3.0 << 14.0;
    }
    void bytesAndTextAgree()
    {
        QFETCH(QString, text);
        QFETCH(double, count);
        QFETCH(double, total);
        const StakeTotals a = totalsOfText(text);
        const StakeTotals b = totalsOfBytes(encodeWindows874(text));
        QCOMPARE(a.count, count);
        QCOMPARE(a.total, total);
        QCOMPARE(b.count, count);
        QCOMPARE(b.total, total);
    }
};

QTEST_APPLESS_MAIN(TestTotals)
#include "tst_totals.moc"
