#include "core/model/text.h"
#include "reports/prize.h"
#include "settlementbook.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

// What the result window writes for first prize 123456, lower numbers 111 … 444 and 56.
const QStringList Draw123456 = {"123456#111#222#333#444#56#", "3ตัวตรง#456-", "2ตัวบน#56-", "วิ่งบน#4-5-6-",
                                "3ตัวล่าง#111-222-333-444-"};

void row(const char* name, const QString& a, const QString& b, const QString& c)
{
    QTest::newRow(name) << a << b << c;
}

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
        row("straight", "455-10#456-20#", "456-", "456-20#");
        row("permutation stored ascending", "456-5#", "456-465-546-564-645-654-", "456-5#");
        row("pair", "46-7#47-7#", "56-65-46-64-45-54-", "46-7#");
        row("run wins once", "5-30#7-1#", "4-5-6-", "5-30#");
        row("four digits need three hits", "3456-1#3457-1#", "4-5-6-", "3456-1#");
        row("a digit is consumed once", "4559-1#4569-1#", "4-5-5-", "4559-1#");
        row("no dash in winning list", "456-20#", "456", "");
        row("empty pieces ignored", "456-20#", "--456--", "456-20#");
        row("zero amount and dashless item", "456-0#456#456-3#", "456-", "456-3#");
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
        row("over keeps the limit text, equal stays", "456-250#457-100#", "100.0", "456-100.0#457-100#");
        row("zero and dashless dropped", "1-0#junk#2-5#", "100", "2-5#");
        row("non-numeric limit", "456-250#", "abc", "456-abc#");
    }
    void capAtLimit()
    {
        QFETCH(QString, list);
        QFETCH(QString, limit);
        QFETCH(QString, capped);
        QCOMPARE(CapAtLimit(list, limit), capped);
    }

    void oneTypeOneCustomerWithDiscountBreakingEven()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), Draw123456);
        book.settings(book.store->rateFile(), {"3ตัวตรง#90"});
        book.settings(book.store->discountFile(), {"3ตัวตรง#10"});
        book.stake("3ตัวตรง", "x", {{"456", 10}, {"123", 990}});
        ReportState session;
        const ReportResult r = PrizeCheck(*book.store, session, "3ตัวตรง", "x");
        QCOMPARE(r.lines,
                 QStringList({"เลขที่ถูกรางวัล<3ตัวตรง> <x>", "456-10", "รวมเลข= 1 รายการ", "รวมเงิน= 10.00 บาท",
                              "จ่ายค่ารางวัล= 900.00 บาท", "รวมรายรับ= 1,000.00 บาท", "จ่ายค่าส่วนลด 10%= 100.00 บาท",
                              "รายรับคงเหลือ= 900.00 บาท", Separator, "จำนวนเลขที่ถูกรางวัล= 1 รายการ",
                              "จำนวนเงินที่ถูกรางวัล= 10.00 บาท", "รวมเงินที่จ่ายค่ารางวัล= 900.00 บาท", "รายรับทั้งหมด= 900.00 บาท",
                              "ขาดทุน= 0.00 บาท", Separator, "ผลทั้งงวด ทุกชนิด ตามบิล เท่าทุน"}));
        QVERIFY(r.closeWindows);
        QCOMPARE(session.grand.prize, 0.0);
    }

    void limitCapsThePrizeButNotTheIncome()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), Draw123456);
        book.settings(book.store->rateFile(), {"3ตัวตรง#500"});
        book.settings(book.store->limitFile(), {"3ตัวตรง#100"});
        book.stake("3ตัวตรง", "x", "456", 250);
        ReportState session;
        QCOMPARE(PrizeCheck(*book.store, session, "3ตัวตรง", "x").lines.mid(1, 6),
                 QStringList({"456-100", "รวมเลข= 1 รายการ", "รวมเงิน= 100.00 บาท", "จ่ายค่ารางวัล= 50,000.00 บาท",
                              "รวมรายรับ= 250.00 บาท", "ขาดทุน 49,750.00 บาท"}));
        // Without a rate nothing is paid: the whole income is profit.
        book.settings(book.store->rateFile(), {});
        QCOMPARE(PrizeCheck(*book.store, session, "3ตัวตรง", "x").lines.mid(4, 2),
                 QStringList({"รวมรายรับ= 250.00 บาท", "กำไร 250.00 บาท"}));
    }

    void messages_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("closes");
        // x wins 456 on his bill, whose prize no rate prices (the cut concerns only what the book keeps).
        const QStringList noWinners{"ไม่มีข้อมูลถูกรางวัล", "ผลทั้งงวด ทุกชนิด ตามบิล ยังคิดไม่ได้ ยังไม่ได้ตั้งค่าอัตราจ่าย 3ตัวตรง"};
        QTest::newRow("no stake keeps the window")
            << "2ตัวบน"
            << "x" << QStringList{"เลขที่ถูกรางวัล<2ตัวบน> <x>", "ยังไม่มีข้อมูล"} << false;
        QTest::newRow("stake without winners") << "3ตัวล่าง"
                                               << "x" << QStringList{"เลขที่ถูกรางวัล<3ตัวล่าง> <x>"} + noWinners << true;
        QTest::newRow("cut winner pays nothing") << "3ตัวตรง"
                                                 << "x" << QStringList{"เลขที่ถูกรางวัล<3ตัวตรง> <x>"} + noWinners << true;
        QTest::newRow("all customers, no winners") << "3ตัวล่าง"
                                                   << "ทั้งหมด" << noWinners << true;
        QTest::newRow("all types, no stakes") << "ทั้งหมด"
                                              << "y" << QStringList{noWinners[0], "ผลทั้งงวด ทุกชนิด ตามบิล เท่าทุน"} << true;
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
        QVERIFY(book.store->creationSequence("y").isEmpty());
        ReportState session;
        const ReportResult r = PrizeCheck(*book.store, session, type, customer);
        QCOMPARE(r.lines, lines);
        QCOMPARE(r.closeWindows, closes);
    }

    void headingsAndTotalsOfTheLoopingChecks()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), Draw123456);
        book.settings(book.store->rateFile(), {"2ตัวบน#70", "3ตัวตรง#500"});
        book.stake("2ตัวบน", "a", "56", 10);
        book.stake("2ตัวบน", "b", "65", 10); // loses: no section for b
        book.stake("2ตัวบน", "c", "56", 5);
        book.stake("3ตัวตรง", "c", "456", 1);
        ReportState session;
        const QStringList perCustomer = PrizeCheck(*book.store, session, "2ตัวบน", "ทั้งหมด").lines;
        QCOMPARE(perCustomer.filter("เลขที่ถูกรางวัล <"),
                 QStringList({"เลขที่ถูกรางวัล <2ตัวบน> <a>", "เลขที่ถูกรางวัล <2ตัวบน> <c>"}));
        // The totals count the type checked; the last line every type of every customer: 26 staked
        // against 700 + 350 on the top two and c's 500 on the straight three.
        QCOMPARE(perCustomer.mid(perCustomer.size() - 7),
                 QStringList({"จำนวนเลขที่ถูกรางวัล= 2 รายการ", "จำนวนเงินที่ถูกรางวัล= 15.00 บาท",
                              "รวมเงินที่จ่ายค่ารางวัล= 1,050.00 บาท", "รายรับทั้งหมด= 15.00 บาท", "ขาดทุน= 1,035.00 บาท",
                              Separator, "ผลทั้งงวด ทุกชนิด ตามบิล ขาดทุน= 1,524.00 บาท"}));
        QCOMPARE(PrizeCheck(*book.store, session, "ทั้งหมด", "c").lines.filter("เลขที่ถูกรางวัล<"),
                 QStringList({"เลขที่ถูกรางวัล<3ตัวตรง> <c>", "เลขที่ถูกรางวัล<2ตัวบน> <c>"}));
        const QStringList everything = PrizeCheck(*book.store, session, "ทั้งหมด", "ทั้งหมด").lines;
        QCOMPARE(everything.filter("เลขที่ถูกรางวัล <"),
                 QStringList({"เลขที่ถูกรางวัล <3ตัวตรง> <ทั้งหมด>", "เลขที่ถูกรางวัล <2ตัวบน> <ทั้งหมด>"}));
        // Grouped over every customer; the income also holds b's losing 10.
        QVERIFY(everything.contains("56-15"));
        QVERIFY(everything.contains("รวมรายรับ= 25.00 บาท"));
        QCOMPARE(TotalStake(*book.store, "2ตัวบน", "ทั้งหมด"), QString("25"));
    }

    void handEditedFilesNeverCrash()
    {
        SettlementBook book;
        book.settings(book.store->resultFile(), {"junk", "3ตัวตรง#4x6-#-", "2ตัวบน", "วิ่งบน#5-"});
        book.settings(book.store->rateFile(), {"3ตัวตรง#abc", "วิ่งบน#-"});
        book.settings(book.store->limitFile(), {"วิ่งบน#x"});
        book.stake("วิ่งบน", "x", "5", 10);
        book.stake("3ตัวตรง", "x", "456", 10);
        book.put("3_1.gif", "junk\r\n12-\r\n-5\r\n56-abc\r\n56--7\r\n56-1e9\r\n#-#\r\n\r\n");
        ReportState session;
        // The run on 5 is the only match, and its limit "x" caps it to nothing.
        const QStringList lines = PrizeCheck(*book.store, session, "ทั้งหมด", "x").lines;
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.first(), QString("ไม่มีข้อมูลถูกรางวัล"));
    }
};

QTEST_GUILESS_MAIN(TestPrize)
#include "tst_prize.moc"
