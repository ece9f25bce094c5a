#include "model/text.h"
#include "reports/analysis.h"
#include "settlementbook.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

// Stakes of `amount` on the first `count` numbers of "3ตัวตรง" (000, 001, …).
QMap<QString, double> firstNumbers(int count, double amount)
{
    QMap<QString, double> m;
    for (int i = 0; i < count; ++i)
        m.insert(QString::number(i).rightJustified(3, '0'), amount);
    return m;
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void blockOfOneType_data()
    {
        QTest::addColumn<int>("numbers");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("loss after discount") << 300 << "10"
                                             << QStringList{"ตั้งค่าส่วนลด= 10 %",
                                                            "ตั้งค่าคัดเลข=  ",
                                                            "ตั้งค่าคัดหลัก=  ",
                                                            "ยอดรายรับ= 30,000.00 บาท",
                                                            "จ่ายค่ารางวัลตามที่อั้น= 50,000.00 บาท",
                                                            "จ่ายค่าส่วนลด= 3,000.00 บาท",
                                                            "ขาดทุน 23,000.00 บาท",
                                                            Separator};
        QTest::newRow("break even") << 500 << "" << QStringList{"ตั้งค่าส่วนลด=   %",
                                                                "ตั้งค่าคัดเลข=  ",
                                                                "ตั้งค่าคัดหลัก=  ",
                                                                "ยอดรายรับ= 50,000.00 บาท",
                                                                "จ่ายค่ารางวัลตามที่อั้น= 50,000.00 บาท",
                                                                "เท่าทุน",
                                                                Separator};
        QTest::newRow("profit") << 600 << "" << QStringList{"ตั้งค่าส่วนลด=   %",
                                                            "ตั้งค่าคัดเลข=  ",
                                                            "ตั้งค่าคัดหลัก=  ",
                                                            "ยอดรายรับ= 60,000.00 บาท",
                                                            "จ่ายค่ารางวัลตามที่อั้น= 50,000.00 บาท",
                                                            "กำไร 10,000.00 บาท",
                                                            Separator};
    }
    void blockOfOneType()
    {
        QFETCH(int, numbers);
        QFETCH(QString, discount);
        QFETCH(QStringList, tail);
        SettlementBook book;
        book.settings(book.store->limitFile(), {"3ตัวตรง#100"});
        book.settings(book.store->rateFile(), {"3ตัวตรง#500"});
        if (!discount.isEmpty()) book.settings(book.store->discountFile(), {"3ตัวตรง#" + discount});
        // 150 on each number: the limit keeps 100 of it.
        book.stake("3ตัวตรง", "x", firstNumbers(numbers, 150));
        const ReportResult r = Analysis(*book.store, "3ตัวตรง");
        QCOMPARE(r.lines.mid(0, 4), QStringList({"ผลการวิเคราะห์ 3ตัวตรง", "ยังไม่ได้ตั้งค่าเลขรางวัล", "ตั้งค่าอั้น= 100 บาท",
                                                 "ตั้งค่าอัตราจ่าย= 500 ต่อบาท"}));
        QCOMPARE(r.lines.mid(4), tail);
        QVERIFY(r.clearList);
        QVERIFY(!r.closeWindows);
    }

    void withoutLimitEveryTypeShowsItsIncomeAsProfit()
    {
        SettlementBook book;
        book.settings(book.store->discountFile(), {"2ตัวบน#10"});
        book.stake("2ตัวบน", "a", "12", 600);
        book.stake("2ตัวบน", "b", "12", 400);
        const QStringList lines = Analysis(*book.store, "2ตัวบน").lines;
        QCOMPARE(lines, QStringList({"ผลการวิเคราะห์ 2ตัวบน", "ยังไม่ได้ตั้งค่าอัตราจ่าย และเลขรางวัล", "ตั้งค่าอั้น=   บาท",
                                     "ตั้งค่าอัตราจ่าย=   ต่อบาท", "ตั้งค่าส่วนลด= 10 %", "ตั้งค่าคัดเลข=  ", "ตั้งค่าคัดหลัก=  ",
                                     "ยอดรายรับ= 1,000.00 บาท", "จ่ายค่ารางวัลตามที่อั้น= 0.00 บาท", "จ่ายค่าส่วนลด= 100.00 บาท",
                                     "กำไร 900.00 บาท", Separator}));
    }

    void warnings_data()
    {
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QStringList>("rates");
        QTest::addColumn<QStringList>("expected");
        const QString draw = "123456#111#222#333#444#56#";
        QTest::newRow("both missing") << QStringList{} << QStringList{}
                                      << QStringList{"ผลการวิเคราะห์ วิ่งบน", "ยังไม่ได้ตั้งค่าอัตราจ่าย และเลขรางวัล"};
        QTest::newRow("rate missing") << QStringList{draw, "วิ่งบน#4-5-6-"} << QStringList{}
                                      << QStringList{"ผลการวิเคราะห์ วิ่งบน", "ยังไม่ได้ตั้งค่าอัตราจ่าย"};
        QTest::newRow("winning list missing")
            << QStringList{draw} << QStringList{"วิ่งบน#3"} << QStringList{"ผลการวิเคราะห์ วิ่งบน", "ยังไม่ได้ตั้งค่าเลขรางวัล"};
        QTest::newRow("both set") << QStringList{draw, "วิ่งบน#4-5-6-"} << QStringList{"วิ่งบน#3"}
                                  << QStringList{"ผลการวิเคราะห์ วิ่งบน"};
    }
    void warnings()
    {
        QFETCH(QStringList, results);
        QFETCH(QStringList, rates);
        QFETCH(QStringList, expected);
        SettlementBook book;
        book.settings(book.store->resultFile(), results);
        book.settings(book.store->rateFile(), rates);
        // No stakes: the warnings still come, then the block ends.
        const QStringList lines = Analysis(*book.store, "วิ่งบน").lines;
        QCOMPARE(lines, expected + QStringList({"ยังไม่มีข้อมูล", Separator}));
    }

    void positionsLabel_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("label");
        QTest::newRow("units") << "001"
                               << "หน่วย";
        QTest::newRow("tens") << "010"
                              << "สิบ";
        QTest::newRow("hundreds") << "100"
                                  << "ร้อย";
        QTest::newRow("units tens") << "011"
                                    << "หน่วย สิบ";
        QTest::newRow("tens hundreds") << "110"
                                       << "สิบ ร้อย";
        QTest::newRow("units hundreds") << "101"
                                        << "หน่วย ร้อย";
        QTest::newRow("all") << "111"
                             << "หน่วย สิบ ร้อย";
        QTest::newRow("empty") << ""
                               << " ";
        QTest::newRow("unknown") << "1x1"
                                 << "1x1";
    }
    void positionsLabel()
    {
        QFETCH(QString, mask);
        QFETCH(QString, label);
        QCOMPARE(varnoth::positionsLabel(mask), label);
    }

    void everyTypeAndTheCutSettings()
    {
        SettlementBook book;
        book.settings(book.store->digitCutFile(), {"2ตัวบน#001", "วิ่งบน#111"});
        book.settings(book.store->numberCutFile(), {"2ตัวบน#5", "วิ่งบน#7"});
        book.stake("2ตัวบน", "x", {{"15", 20}, {"16", 30}});
        book.stake("วิ่งบน", "x", "7", 40); // cut away entirely
        const QStringList lines = Analysis(*book.store, "ทั้งหมด").lines;
        QCOMPARE(lines.count("ยังไม่มีข้อมูล"), 11);
        QCOMPARE(lines.count(Separator), 12);
        QCOMPARE(lines.filter("ผลการวิเคราะห์ ").size(), 12);
        QCOMPARE(lines.first(), QString("ผลการวิเคราะห์ 3ตัวตรง"));
        const qsizetype at = lines.indexOf("ผลการวิเคราะห์ 2ตัวบน");
        QCOMPARE(lines.mid(at + 5, 3), QStringList({"ตั้งค่าคัดเลข= 5", "ตั้งค่าคัดหลัก= หน่วย", "ยอดรายรับ= 30.00 บาท"}));
        const qsizetype run = lines.indexOf("ผลการวิเคราะห์ วิ่งบน");
        QCOMPARE(lines.mid(run + 1, 3), QStringList({"ยังไม่ได้ตั้งค่าอัตราจ่าย และเลขรางวัล", "ยังไม่มีข้อมูล", Separator}));
    }

    void handEditedSettingsNeverCrash()
    {
        SettlementBook book;
        book.settings(book.store->limitFile(), {"3ตัวตรง#abc", "วิ่งบน#-5"});
        book.settings(book.store->rateFile(), {"3ตัวตรง#x", "วิ่งบน#1e400"});
        book.settings(book.store->discountFile(), {"วิ่งบน#%"});
        book.stake("3ตัวตรง", "x", "123", 10);
        book.stake("วิ่งบน", "x", "1", 10);
        // A limit that reads as 0 holds nothing: the block stops after its warnings.
        QCOMPARE(Analysis(*book.store, "3ตัวตรง").lines, QStringList({"ผลการวิเคราะห์ 3ตัวตรง", "ยังไม่ได้ตั้งค่าเลขรางวัล"}));
        const QStringList run = Analysis(*book.store, "วิ่งบน").lines;
        QCOMPARE(run.first(), QString("ผลการวิเคราะห์ วิ่งบน"));
        QCOMPARE(Analysis(*book.store, "หวยลาว").lines,
                 QStringList({"ผลการวิเคราะห์ หวยลาว", "ยังไม่ได้ตั้งค่าอัตราจ่าย และเลขรางวัล", "ยังไม่มีข้อมูล", Separator}));
    }
};

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
