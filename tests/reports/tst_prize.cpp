#include "model/text.h"
#include "reports/prize.h"
#include "settlementbook.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

// The result file the result window writes for first prize 123456, lower numbers 111, 222, 333,
// 444 and the two-digit lower number 56.
const QStringList Draw123456 = {
    "123456#111#222#333#444#56#",
    "3ตัวตรง#456-",
    "3ตัวโต๊ด#456-465-546-564-645-654-",
    "2ตัวบน#56-",
    "คู่โต๊ด#56-65-46-64-45-54-",
    "4ตัวโต๊ด#4-5-6-",
    "วิ่งบน#4-5-6-",
    "5ตัวโต๊ด#4-5-6-",
    "3ตัวตรงหัว#123-",
    "3ตัวโต๊ดหัว#123-132-213-231-312-321-",
    "3ตัวตรงหัวท้าย#123-456-",
    "3ตัวโต๊ดหัวท้าย#123-132-213-231-312-321-456-465-546-564-645-654-",
    "3ตัวล่าง#111-222-333-444-",
    "2ตัวล่าง#56-",
    "วิ่งล่าง#5-6-",
};

} // namespace

class TestPrize : public QObject
{
    Q_OBJECT
private slots:
    void matchWinning_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("winning");
        QTest::addColumn<QString>("winners");
        QTest::newRow("straight") << "455-10#456-20#"
                                  << "456-"
                                  << "456-20#";
        QTest::newRow("permutation stored ascending") << "456-5#"
                                                      << "456-465-546-564-645-654-"
                                                      << "456-5#";
        QTest::newRow("pair") << "46-7#47-7#"
                              << "56-65-46-64-45-54-"
                              << "46-7#";
        QTest::newRow("run wins once") << "5-30#7-1#"
                                       << "4-5-6-"
                                       << "5-30#";
        QTest::newRow("four digits need three hits") << "3456-1#3457-1#"
                                                     << "4-5-6-"
                                                     << "3456-1#";
        QTest::newRow("a digit is consumed once") << "4559-1#4569-1#"
                                                  << "4-5-5-"
                                                  << "4559-1#";
        QTest::newRow("five digits") << "00456-2#01245-2#"
                                     << "4-5-6-"
                                     << "00456-2#";
        QTest::newRow("no dash in winning list") << "456-20#"
                                                 << "456"
                                                 << "";
        QTest::newRow("empty pieces ignored") << "456-20#"
                                              << "--456--"
                                              << "456-20#";
        QTest::newRow("zero amount never wins") << "456-0#"
                                                << "456-"
                                                << "";
        QTest::newRow("item without dash") << "456#456-3#"
                                           << "456-"
                                           << "456-3#";
    }
    void matchWinning()
    {
        QFETCH(QString, list);
        QFETCH(QString, winning);
        QFETCH(QString, winners);
        QCOMPARE(MatchWinning(list, winning), winners);
    }

    void capAtLimit_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QString>("capped");
        QTest::newRow("over") << "456-250#"
                              << "100"
                              << "456-100#";
        QTest::newRow("equal stays") << "456-100#"
                                     << "100"
                                     << "456-100#";
        QTest::newRow("keeps the limit text") << "456-250#"
                                              << "100.0"
                                              << "456-100.0#";
        QTest::newRow("zero and dashless dropped") << "1-0#junk#2-5#"
                                                   << "100"
                                                   << "2-5#";
        QTest::newRow("non-numeric limit") << "456-250#"
                                           << "abc"
                                           << "456-abc#";
    }
    void capAtLimit()
    {
        QFETCH(QString, list);
        QFETCH(QString, limit);
        QFETCH(QString, capped);
        QCOMPARE(CapAtLimit(list, limit), capped);
    }

    void totalStakeAddsEveryCustomerBeforeLimit()
    {
        SettlementBook book;
        book.stake("3ตัวตรง", "a", {{"456", 250}, {"001", 5}});
        book.stake("3ตัวตรง", "b", "456", 40);
        book.settings(book.store->limitFile(), {"3ตัวตรง#100"});
        QCOMPARE(TotalStake(*book.store, "3ตัวตรง", "a"), QString("255"));
        QCOMPARE(TotalStake(*book.store, "3ตัวตรง", "ทั้งหมด"), QString("295"));
        QCOMPARE(TotalStake(*book.store, "3ตัวตรง", "nobody"), QString("0"));
    }

    void oneTypeOneCustomerWithDiscountBreakingEven()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), Draw123456);
        book.settings(book.store->rateFile(), {"3ตัวตรง#90"});
        book.settings(book.store->discountFile(), {"3ตัวตรง#10"});
        book.stake("3ตัวตรง", "x", {{"456", 10}, {"123", 990}});
        Session session;
        const ReportResult r = PrizeCheck(*book.store, session, "3ตัวตรง", "x");
        const QStringList expected = {"เลขที่ถูกรางวัล<3ตัวตรง> <x>",
                                      "456-10",
                                      "รวมเลข= 1 รายการ",
                                      "รวมเงิน= 10.00 บาท",
                                      "จ่ายค่ารางวัล= 900.00 บาท",
                                      "รวมรายรับ= 1,000.00 บาท",
                                      "จ่ายค่าส่วนลด 10%= 100.00 บาท",
                                      "รายรับคงเหลือ= 900.00 บาท",
                                      Separator,
                                      "จำนวนเลขที่ถูกรางวัล= 1 รายการ",
                                      "จำนวนเงินที่ถูกรางวัล= 10.00 บาท",
                                      "รวมเงินที่จ่ายค่ารางวัล= 900.00 บาท",
                                      "รายรับทั้งหมด= 900.00 บาท",
                                      "ขาดทุน= 0.00 บาท",
                                      Separator};
        QCOMPARE(r.lines, expected);
        QVERIFY(r.clearList);
        QVERIFY(r.closeWindows);
        QCOMPARE(session.grand.count, 0.0);
        QCOMPARE(session.grand.prize, 0.0);
        QCOMPARE(session.grand.income, 0.0);
    }

    void limitCapsThePrizeButNotTheIncome()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), Draw123456);
        book.settings(book.store->rateFile(), {"3ตัวตรง#500"});
        book.settings(book.store->limitFile(), {"3ตัวตรง#100"});
        book.stake("3ตัวตรง", "x", "456", 250);
        Session session;
        const QStringList lines = PrizeCheck(*book.store, session, "3ตัวตรง", "x").lines;
        QCOMPARE(lines.mid(1, 6),
                 QStringList({"456-100", "รวมเลข= 1 รายการ", "รวมเงิน= 100.00 บาท", "จ่ายค่ารางวัล= 50,000.00 บาท",
                              "รวมรายรับ= 250.00 บาท", "ขาดทุน 49,750.00 บาท"}));
    }

    void missingRateCountsTheIncomeAsProfit()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), Draw123456);
        book.stake("วิ่งบน", "x", {{"5", 30}, {"7", 20}});
        Session session;
        const QStringList lines = PrizeCheck(*book.store, session, "วิ่งบน", "x").lines;
        QCOMPARE(lines.mid(1, 6), QStringList({"5-30", "รวมเลข= 1 รายการ", "รวมเงิน= 30.00 บาท", "รวมรายรับ= 50.00 บาท",
                                               "กำไร 50.00 บาท", Separator}));
        QCOMPARE(lines.mid(lines.size() - 2), QStringList({"กำไร= 50.00 บาท", Separator}));
    }

    void messages_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("closes");
        QTest::newRow("no stake keeps the window")
            << "2ตัวบน"
            << "x" << QStringList{"เลขที่ถูกรางวัล<2ตัวบน> <x>", "ยังไม่มีข้อมูล"} << false;
        QTest::newRow("unknown customer")
            << "3ตัวตรง"
            << "nobody" << QStringList{"เลขที่ถูกรางวัล<3ตัวตรง> <nobody>", "ยังไม่มีข้อมูล"} << false;
        QTest::newRow("stake without winners")
            << "3ตัวล่าง"
            << "x" << QStringList{"เลขที่ถูกรางวัล<3ตัวล่าง> <x>", "ไม่มีข้อมูลถูกรางวัล"} << true;
        QTest::newRow("cut winner pays nothing")
            << "3ตัวตรง"
            << "x" << QStringList{"เลขที่ถูกรางวัล<3ตัวตรง> <x>", "ไม่มีข้อมูลถูกรางวัล"} << true;
        QTest::newRow("all customers, no winners") << "3ตัวล่าง"
                                                   << "ทั้งหมด" << QStringList{"ไม่มีข้อมูลถูกรางวัล"} << true;
        QTest::newRow("all types, no stakes") << "ทั้งหมด"
                                              << "y" << QStringList{"ไม่มีข้อมูลถูกรางวัล"} << true;
    }
    void messages()
    {
        QFETCH(QString, type);
        QFETCH(QString, customer);
        QFETCH(QStringList, lines);
        QFETCH(bool, closes);
        SettlementBook book;
        book.settings(book.store->resultFile(), Draw123456);
        book.settings(book.store->numberCutFile(), {"3ตัวตรง#6"});
        book.settings(book.store->digitCutFile(), {"3ตัวตรง#001"});
        book.stake("3ตัวตรง", "x", "456", 10);
        book.stake("3ตัวล่าง", "x", "555", 10);
        book.stake("3ตัวล่าง", "y", "556", 10);
        QVERIFY(book.store->creationSequence("y").isEmpty());
        Session session;
        const ReportResult r = PrizeCheck(*book.store, session, type, customer);
        QCOMPARE(r.lines, lines);
        QCOMPARE(r.closeWindows, closes);
    }

    void headingsOfTheLoopingChecks()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), Draw123456);
        book.settings(book.store->rateFile(), {"2ตัวบน#70", "3ตัวตรง#500"});
        book.stake("2ตัวบน", "a", "56", 10);
        book.stake("2ตัวบน", "b", "65", 10); // loses: no section for b
        book.stake("2ตัวบน", "c", "56", 5);
        book.stake("3ตัวตรง", "c", "456", 1);
        Session session;

        const QStringList perCustomer = PrizeCheck(*book.store, session, "2ตัวบน", "ทั้งหมด").lines;
        const QStringList headings = perCustomer.filter("เลขที่ถูกรางวัล <");
        QCOMPARE(headings, QStringList({"เลขที่ถูกรางวัล <2ตัวบน> <a>", "เลขที่ถูกรางวัล <2ตัวบน> <c>"}));
        // a: income 10, prize 700; c: income 5, prize 350.
        QCOMPARE(
            perCustomer.mid(perCustomer.size() - 6),
            QStringList({"จำนวนเลขที่ถูกรางวัล= 2 รายการ", "จำนวนเงินที่ถูกรางวัล= 15.00 บาท", "รวมเงินที่จ่ายค่ารางวัล= 1,050.00 บาท",
                         "รายรับทั้งหมด= 15.00 บาท", "ขาดทุน= 1,035.00 บาท", Separator}));

        const QStringList perType = PrizeCheck(*book.store, session, "ทั้งหมด", "c").lines;
        QCOMPARE(perType.filter("เลขที่ถูกรางวัล<"), QStringList({"เลขที่ถูกรางวัล<3ตัวตรง> <c>", "เลขที่ถูกรางวัล<2ตัวบน> <c>"}));

        const QStringList everything = PrizeCheck(*book.store, session, "ทั้งหมด", "ทั้งหมด").lines;
        QCOMPARE(everything.filter("เลขที่ถูกรางวัล <"),
                 QStringList({"เลขที่ถูกรางวัล <3ตัวตรง> <ทั้งหมด>", "เลขที่ถูกรางวัล <2ตัวบน> <ทั้งหมด>"}));
        // The income of "2ตัวบน" over every customer includes b's losing 10.
        QVERIFY(everything.contains("รวมรายรับ= 25.00 บาท"));
        QVERIFY(everything.contains("56-15"));
    }

    void handEditedFilesNeverCrash()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), {"junk", "3ตัวตรง#4x6-#-", "2ตัวบน", "วิ่งบน#5-"});
        book.settings(book.store->rateFile(), {"3ตัวตรง#abc", "วิ่งบน#-"});
        book.settings(book.store->limitFile(), {"วิ่งบน#x"});
        book.settings(book.store->discountFile(), {"วิ่งบน#ten"});
        book.stake("วิ่งบน", "x", "5", 10);
        book.stake("3ตัวตรง", "x", "456", 10);
        book.put("3_1.gif", "junk\r\n12-\r\n-5\r\n56-abc\r\n56--7\r\n56-1e9\r\n#-#\r\n\r\n");
        Session session;
        const QStringList lines = PrizeCheck(*book.store, session, "ทั้งหมด", "x").lines;
        // Only the run on 5 wins; its limit "x" caps it to nothing, so it pays nothing.
        QCOMPARE(lines, QStringList({"ไม่มีข้อมูลถูกรางวัล"}));
        QCOMPARE(PrizeCheck(*book.store, session, "2ตัวบน", "x").lines,
                 QStringList({"เลขที่ถูกรางวัล<2ตัวบน> <x>", "ไม่มีข้อมูลถูกรางวัล"}));
    }
};

QTEST_GUILESS_MAIN(TestPrize)
#include "tst_prize.moc"
