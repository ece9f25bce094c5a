#include "accounts/dealers.h"
#include "accounts/dealersent.h"
#include "accounts/dealertexts.h"
#include "core/model/text.h"
#include "reports/analysis.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "settlementbook.h"
#include "storage/folder/foldertransaction.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void blockOfOneType_data()
    {
        QTest::addColumn<int>("numbers");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("loss after discount")
            << 300 << "10"
            << QStringList{"ตั้งค่าส่วนลด= 10 %", "ยอดรายรับ= 30,000.00 บาท", "จ่ายค่ารางวัลตามที่อั้น= 50,000.00 บาท",
                           "จ่ายค่าส่วนลด= 3,000.00 บาท", "ขาดทุน 23,000.00 บาท"};
        QTest::newRow("break even") << 500 << ""
                                    << QStringList{"ตั้งค่าส่วนลด=   %", "ยอดรายรับ= 50,000.00 บาท",
                                                   "จ่ายค่ารางวัลตามที่อั้น= 50,000.00 บาท", "เท่าทุน"};
    }
    void blockOfOneType()
    {
        QFETCH(int, numbers);
        QFETCH(QString, discount);
        QFETCH(QStringList, tail);
        SettlementBook book;
        book.settings(book.store->limitFile(), {"3ตัวตรง#100"});
        book.settings(book.store->rateFile(), {"3ตัวตรง#500"});
        book.settings(book.store->discountFile(), {"3ตัวตรง#" + discount});
        // 150 on each number, of which the limit keeps 100.
        QMap<QString, double> stakes;
        for (int i = 0; i < numbers; ++i)
            stakes.insert(QString::number(i).rightJustified(3, '0'), 150);
        book.stake("3ตัวตรง", "x", stakes);
        const ReportResult r = Analysis(*book.store, "3ตัวตรง");
        QCOMPARE(r.lines, QStringList({"ผลการวิเคราะห์ 3ตัวตรง", "ยังไม่ได้ตั้งค่าเลขรางวัล", "ตั้งค่าอั้น= 100 บาท",
                                       "ตั้งค่าอัตราจ่าย= 500 ต่อบาท", tail[0], "ตั้งค่าคัดเลข=  ", "ตั้งค่าคัดหลัก=  "}) +
                              tail.mid(1) + QStringList{Separator});
        QVERIFY(!r.closeWindows);
    }

    // Under each type, what each dealer was sent of it, in the order of preference; a type sent to
    // no dealer has no such line.
    void whatEachDealerCarries()
    {
        SettlementBook book;
        book.settings(book.store->limitFile(), {"3ตัวตรง#100", "2ตัวบน#100"});
        book.stake("3ตัวตรง", "x", "123", 400);
        book.stake("2ตัวบน", "x", "12", 50);
        QVERIFY(addDealer(*book.store, "noi", {{"3ตัวตรง", "", "", "100"}}).ok());
        QVERIFY(addDealer(*book.store, "boss", {}).ok());
        const QList<DealerList> added{{"noi", "mon.noi"}, {"boss", "mon.boss"}};
        const HistorySave saved = saveSendOutLists(
            *book.store, {{"mon.noi", "<3ตัวตรง>#123-100##"}, {"mon.boss", "<3ตัวตรง>#123-200##"}},
            [&](FolderTransaction& tx) { writeDealerLists(*book.store, tx, {}, added, {}); });
        QVERIFY(saved.saved);

        const QStringList lines = Analysis(*book.store, "ทั้งหมด").lines;
        const qsizetype at = lines.indexOf(AnalysisDealerText + "noi= 100.00 บาท");
        QVERIFY(at > 0);
        QCOMPARE(lines.mid(at, 3),
                 (QStringList{AnalysisDealerText + "noi= 100.00 บาท", AnalysisDealerText + "boss= 200.00 บาท", Separator}));
        QCOMPARE(lines.filter(AnalysisDealerText).size(), 2);
    }

    void withoutLimitTheIncomeIsProfit()
    {
        SettlementBook book;
        book.settings(book.store->discountFile(), {"2ตัวบน#10"});
        book.stake("2ตัวบน", "a", "12", 600);
        book.stake("2ตัวบน", "b", "12", 400);
        QCOMPARE(Analysis(*book.store, "2ตัวบน").lines.mid(1),
                 QStringList({"ยังไม่ได้ตั้งค่าอัตราจ่าย และเลขรางวัล", "ตั้งค่าอั้น=   บาท", "ตั้งค่าอัตราจ่าย=   ต่อบาท",
                              "ตั้งค่าส่วนลด= 10 %", "ตั้งค่าคัดเลข=  ", "ตั้งค่าคัดหลัก=  ", "ยอดรายรับ= 1,000.00 บาท",
                              "จ่ายค่ารางวัลตามที่อั้น= 0.00 บาท", "จ่ายค่าส่วนลด= 100.00 บาท", "กำไร 900.00 บาท", Separator}));
    }

    void warnings_data()
    {
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QStringList>("rates");
        QTest::addColumn<QStringList>("warning");
        const QString draw = "123456#111#222#333#444#56#";
        QTest::newRow("both missing") << QStringList{} << QStringList{} << QStringList{"ยังไม่ได้ตั้งค่าอัตราจ่าย และเลขรางวัล"};
        QTest::newRow("rate missing") << QStringList{draw, "วิ่งบน#4-5-6-"} << QStringList{}
                                      << QStringList{"ยังไม่ได้ตั้งค่าอัตราจ่าย"};
        QTest::newRow("winning list missing")
            << QStringList{draw} << QStringList{"วิ่งบน#3"} << QStringList{"ยังไม่ได้ตั้งค่าเลขรางวัล"};
        QTest::newRow("both set") << QStringList{draw, "วิ่งบน#4-5-6-"} << QStringList{"วิ่งบน#3"} << QStringList{};
    }
    void warnings()
    {
        QFETCH(QStringList, results);
        QFETCH(QStringList, rates);
        QFETCH(QStringList, warning);
        SettlementBook book;
        book.settings(book.store->resultFile(), results);
        book.settings(book.store->rateFile(), rates);
        // Without stakes the warning still comes, then the block ends.
        const QStringList lines = Analysis(*book.store, "วิ่งบน").lines;
        QCOMPARE(lines, QStringList({"ผลการวิเคราะห์ วิ่งบน"}) + warning + QStringList({"ยังไม่มีข้อมูล", Separator}));
    }

    void positionsLabels()
    {
        QCOMPARE(positionsLabel("101"), QString("หน่วย ร้อย"));
        QCOMPARE(positionsLabel("110"), QString("สิบ ร้อย"));
        QCOMPARE(positionsLabel(""), QString(" "));
        QCOMPARE(positionsLabel("1x1"), QString("1x1"));
    }

    void everyTypeWithCuts()
    {
        SettlementBook book;
        book.settings(book.store->digitCutFile(), {"2ตัวบน#001", "วิ่งบน#111"});
        book.settings(book.store->numberCutFile(), {"2ตัวบน#5", "วิ่งบน#7"});
        book.stake("2ตัวบน", "x", {{"15", 20}, {"16", 30}});
        book.stake("วิ่งบน", "x", "7", 40); // cut away entirely
        const QStringList lines = Analysis(*book.store, "ทั้งหมด").lines;
        QCOMPARE(lines.filter("ผลการวิเคราะห์ ").size(), 12);
        QCOMPARE(lines.count("ยังไม่มีข้อมูล"), 11);
        QCOMPARE(lines.count(Separator), 12);
        const qsizetype at = lines.indexOf("ผลการวิเคราะห์ 2ตัวบน");
        QCOMPARE(lines.mid(at + 5, 3), QStringList({"ตั้งค่าคัดเลข= 5", "ตั้งค่าคัดหลัก= หน่วย", "ยอดรายรับ= 30.00 บาท"}));
    }

    void handEditedSettingsNeverCrash()
    {
        SettlementBook book;
        book.settings(book.store->limitFile(), {"3ตัวตรง#abc", "วิ่งบน#-5"});
        book.settings(book.store->rateFile(), {"3ตัวตรง#x", "วิ่งบน#1e400"});
        book.settings(book.store->discountFile(), {"วิ่งบน#%"});
        book.stake("3ตัวตรง", "x", "123", 10);
        book.stake("วิ่งบน", "x", "1", 10);
        // A limit that reads as 0 holds nothing: the block stops after its warning.
        QCOMPARE(Analysis(*book.store, "3ตัวตรง").lines, QStringList({"ผลการวิเคราะห์ 3ตัวตรง", "ยังไม่ได้ตั้งค่าเลขรางวัล"}));
        QVERIFY(Analysis(*book.store, "วิ่งบน").lines.contains(Separator));
        QCOMPARE(Analysis(*book.store, "หวยลาว").lines.mid(2), QStringList({"ยังไม่มีข้อมูล", Separator}));
    }
};

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
