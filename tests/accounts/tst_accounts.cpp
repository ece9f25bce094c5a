#include "accounts/accounttexts.h"
#include "accounts/bill.h"
#include "accounts/customerrates.h"
#include "accounts/drawhistory.h"
#include "accounts/payments.h"
#include "accountsbook.h"
#include "reports/analysis.h"
#include "reports/prize.h"
#include "reports/view.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "store/session.h"
#include "tools/newdraw.h"

#include <QDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Somchai = QStringLiteral("somchai");
const QString Daeng = QStringLiteral("daeng");

Statement statement(TempBook& book, const QString& customer)
{
    return statementOf(*book.store, customer, listPastDraws(*book.store));
}

PaymentResult pay(TempBook& book, const QString& customer, const QString& amount, const char* when)
{
    return appendPayment(*book.store, customer, statement(book, customer).due(), amount, at(when));
}

// The amount on the line that starts with `head` ("1,234.50 บาท …" read as 1234.5); 0 when none does.
double figureOn(const QStringList& lines, const QString& head)
{
    for (const QString& line : lines)
        if (line.startsWith(head)) return line.mid(head.size()).section(QLatin1Char(' '), 0, 0).remove(',').toDouble();
    return 0;
}

// Three customers on two types; somchai has his own 550 and 15% on the straight three and his own 80
// on the top two, noi his own 900 on the straight three. The straight three holds at most 100 a number.
void prizeBook(TempBook& book)
{
    drawnAndPriced(book);
    book.put(QStringLiteral("lotto2.gif"), QStringLiteral("3ตัวตรง#100\r\n"));
    book.stake(Straight3, QStringLiteral("somchai"), QStringLiteral("456"), 150);
    book.stake(Straight3, QStringLiteral("somchai"), QStringLiteral("123"), 100);
    book.stake(Straight3, QStringLiteral("daeng"), QStringLiteral("456"), 50);
    book.stake(Straight3, QStringLiteral("daeng"), QStringLiteral("789"), 40);
    book.stake(Straight3, QStringLiteral("noi"), QStringLiteral("789"), 10);
    book.stake(Top2, QStringLiteral("somchai"), QStringLiteral("56"), 10);
    book.stake(Top2, QStringLiteral("daeng"), QStringLiteral("56"), 20);
    book.stake(Top2, QStringLiteral("daeng"), QStringLiteral("12"), 30);
}

} // namespace

class TestAccounts : public QObject
{
    Q_OBJECT
private slots:
    void figureChecks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("payout");
        QTest::addColumn<bool>("percent");
        QTest::newRow("empty is the type's") << "" << true << true;
        QTest::newRow("zero") << "0" << true << true;
        QTest::newRow("hundred") << "100" << true << true;
        QTest::newRow("above a hundred") << "101" << true << false;
        QTest::newRow("long digits") << "0100" << true << false;
        QTest::newRow("decimal") << "1.5" << false << false;
        QTest::newRow("sign") << "-5" << false << false;
        QTest::newRow("blank inside") << "5 0" << false << false;
        QTest::newRow("thai digits") << "๑๐" << false << false;
    }
    void figureChecks()
    {
        QFETCH(QString, text);
        QFETCH(bool, payout);
        QFETCH(bool, percent);
        QCOMPARE(checkPayout(text).isEmpty(), payout);
        QCOMPARE(checkPercent(text).isEmpty(), percent);
    }

    // The file holds one line per customer and type, replaced in its place, removed when cleared.
    void ratesFile()
    {
        TempBook book;
        Store& store = *book.store;
        QVERIFY(store.creationSequence(Somchai).isEmpty());
        QVERIFY(store.creationSequence(Daeng).isEmpty());
        RateChange c = setCustomerRate(store, Somchai, Straight3, "550", "15");
        QVERIFY(c.changed());
        QCOMPARE(c.before.payout, QString());
        setCustomerRate(store, Daeng, Top2, "", "7");
        QCOMPARE(book.bytes(CustomerRatesFileName), cp874("somchai#3ตัวตรง#550#15\r\ndaeng#2ตัวบน##7\r\n"));

        c = setCustomerRate(store, Somchai, Straight3, "600", "");
        QCOMPARE(c.before.payout, QString("550"));
        QCOMPARE(c.before.discount, QString("15"));
        QCOMPARE(c.after.payout, QString("600"));
        QCOMPARE(book.bytes(CustomerRatesFileName), cp874("somchai#3ตัวตรง#600#\r\ndaeng#2ตัวบน##7\r\n"));

        QVERIFY(setCustomerRate(store, Somchai, Straight3, "", "").changed());
        QCOMPARE(book.bytes(CustomerRatesFileName), cp874("daeng#2ตัวบน##7\r\n"));
        QVERIFY(!setCustomerRate(store, Somchai, Straight3, "", "").changed()); // nothing to clear
    }

    void ratesRefused_data()
    {
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("payout");
        QTest::addColumn<QString>("discount");
        QTest::newRow("unknown customer") << "nobody" << Straight3 << "500"
                                          << "";
        QTest::newRow("unknown type") << Somchai << "3ตัว"
                                      << "500"
                                      << "";
        QTest::newRow("payout with a point") << Somchai << Straight3 << "500.5"
                                             << "";
        QTest::newRow("percent above 100") << Somchai << Straight3 << ""
                                           << "150";
    }
    void ratesRefused()
    {
        QFETCH(QString, customer);
        QFETCH(QString, type);
        QFETCH(QString, payout);
        QFETCH(QString, discount);
        TempBook book;
        QVERIFY(book.store->creationSequence(Somchai).isEmpty());
        const RateChange c = setCustomerRate(*book.store, customer, type, payout, discount);
        QVERIFY(!c.refusal.isEmpty());
        QCOMPARE(c.lines, QStringList{c.refusal});
        QVERIFY(!QFile::exists(book.file(CustomerRatesFileName)));
    }

    // A rates or payments file with a line that is not one is reported, used by nothing and never
    // written over; the bill then leaves out the total it cannot know.
    void damagedFilesStayAsTheyAre_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");
        QTest::newRow("rates: a stray line") << CustomerRatesFileName << "somchai#3ตัวตรง#550#15\r\nhello\r\n";
        QTest::newRow("rates: percent out of range") << CustomerRatesFileName << "somchai#3ตัวตรง##250\r\n";
        QTest::newRow("payments: no date") << PaymentsFileName << "somchai#100\r\n";
        QTest::newRow("payments: amount in words") << PaymentsFileName << "somchai#ร้อย#2026-12-09 10:00:00\r\n";
    }
    void damagedFilesStayAsTheyAre()
    {
        QFETCH(QString, file);
        QFETCH(QString, content);
        TempBook book;
        accountsBook(book);
        book.put(file, content);
        const QByteArray before = book.bytes(file);

        const RateChange rate = setCustomerRate(*book.store, Daeng, Straight3, "400", "");
        const PaymentResult paid = appendPayment(*book.store, Daeng, 900, "100", at("2026-12-09 10:00"));
        const Statement s = statement(book, Daeng);
        const QString damaged = DamagedFileText + QDir::toNativeSeparators(book.file(file));
        QCOMPARE(s.problems, QStringList{damaged});
        const QStringList lines = billLines(s);
        QVERIFY(lines.contains(damaged));
        QVERIFY(std::none_of(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith(TotalDueText); }));
        if (file == CustomerRatesFileName)
            QVERIFY(!rate.refusal.isEmpty());
        else
            QVERIFY(!paid.recorded());
        QCOMPARE(book.bytes(file), before);
    }

    // Without the rates file every report reads as it always has; with it, one customer's
    // sections use his own figures and mark them.
    void reportsUseOwnFigures()
    {
        TempBook book;
        drawnAndPriced(book);
        book.stake(Straight3, Somchai, "456", 20);
        Session session;
        const QStringList plainSearch = SearchReport(*book.store, session, "", Straight3, Somchai).lines;
        const QStringList plainPrize = PrizeCheck(*book.store, session, Straight3, Somchai).lines;
        QVERIFY(plainSearch.contains("ส่วนลด 10%= 2.00 บาท"));
        QVERIFY(plainPrize.contains("จ่ายค่ารางวัล= 10,000.00 บาท"));

        setCustomerRate(*book.store, Somchai, Straight3, "550", "15");
        QVERIFY(SearchReport(*book.store, session, "", Straight3, Somchai)
                    .lines.contains("ส่วนลด 15%= 3.00 บาท" + OwnFigureMark));
        const QStringList prize = PrizeCheck(*book.store, session, Straight3, Somchai).lines;
        QVERIFY(prize.contains("จ่ายค่ารางวัล= 11,000.00 บาท" + OwnFigureMark));
        QVERIFY(prize.contains("จ่ายค่าส่วนลด 15%= 3.00 บาท" + OwnFigureMark));
        // The check of every customer has a section per customer, each with his own figures.
        const QStringList all = PrizeCheck(*book.store, session, Straight3, AllChoice).lines;
        QVERIFY(all.contains("จ่ายค่ารางวัล= 11,000.00 บาท" + OwnFigureMark));

        // Every customer's whole stake takes each one's own discount: somchai's 15% of 20 with
        // daeng's 10% of 30 at the type's rate.
        book.stake(Straight3, Daeng, "789", 30);
        const QString both = "ส่วนลด 10%= 6.00 บาท" + OwnFiguresIncludedMark;
        QVERIFY(ViewAllData(*book.store, session).lines.contains(both));
        QVERIFY(SearchReport(*book.store, session, "", AllChoice, AllChoice).lines.contains("ยอดรวมส่วนลด= 6.00 บาท"));
        QVERIFY(SearchReport(*book.store, session, "", Straight3, AllChoice).lines.contains(both));

        // A damaged rates file is named under the section, whose figures are then the type's.
        book.put(CustomerRatesFileName, "somchai#3ตัวตรง#550#15\r\nhello\r\n");
        const QStringList damaged = SearchReport(*book.store, session, "", Straight3, Somchai).lines;
        QVERIFY(damaged.contains("ส่วนลด 10%= 2.00 บาท"));
        QVERIFY(damaged.contains(DamagedFileText + CustomerRatesFileName));
        QVERIFY(PrizeCheck(*book.store, session, Straight3, Somchai)
                    .lines.contains(DamagedFileText + CustomerRatesFileName));

        book.put(CustomerRatesFileName, "");
        QCOMPARE(SearchReport(*book.store, session, "", Straight3, Somchai).lines, plainSearch);
        QCOMPARE(PrizeCheck(*book.store, session, Straight3, Somchai).lines, plainPrize);
    }

    // The forecast pays each customer's stake at his own rate and takes his own discount on his share
    // of what is held. Limit 100; somchai 550 and 15% of his own, daeng the type's 500 and 10%.
    void analysisUsesOwnFigures()
    {
        TempBook book;
        Store& store = *book.store;
        drawnAndPriced(book);
        book.put(QStringLiteral("lotto2.gif"), QStringLiteral("3ตัวตรง#100\r\n"));
        book.stake(Straight3, Somchai, "123", 100);
        book.stake(Straight3, Somchai, "456", 20);
        book.stake(Straight3, Daeng, "123", 100);
        book.stake(Straight3, Daeng, "456", 30);
        book.stake(Straight3, Daeng, "789", 1000);
        const QStringList head = {"ผลการวิเคราะห์ 3ตัวตรง", "ตั้งค่าอั้น= 100 บาท", "ตั้งค่าอัตราจ่าย= 500 ต่อบาท", "ตั้งค่าส่วนลด= 10 %",
                                  "ตั้งค่าคัดเลข=  ",        "ตั้งค่าคัดหลัก=  ",    "ยอดรายรับ= 250.00 บาท"};
        // The type's figures: one number at the full limit, 10% of the 250 held.
        const QStringList plain = head + QStringList{"จ่ายค่ารางวัลตามที่อั้น= 50,000.00 บาท", "จ่ายค่าส่วนลด= 25.00 บาท",
                                                     "ขาดทุน 49,775.00 บาท", Separator};
        QCOMPARE(Analysis(store, Straight3).lines, plain);

        QVERIFY(setCustomerRate(store, Somchai, Straight3, "550", "15").changed());
        // 123 holds 100 of the 200 staked, half of it somchai's: 100 × (100 × 550 + 100 × 500) / 200.
        // (456 could take 80 more at the type's rate: 20 × 550 + 80 × 500 = 51,000, less.)
        // The discount: 15% of somchai's 70 held (50 of 123, 20 of 456) and 10% of daeng's 180.
        const QStringList own = {"จ่ายค่ารางวัลตามที่อั้น= 52,500.00 บาท" + OwnPayoutsIncludedMark,
                                 "จ่ายค่าส่วนลด= 28.50 บาท" + OwnFiguresIncludedMark, "ขาดทุน 52,278.50 บาท", Separator};
        QCOMPARE(Analysis(store, Straight3).lines, head + own);
        // The whole book: the other types keep the type's figures.
        const QStringList all = Analysis(store, AllChoice).lines;
        QCOMPARE(all.filter(OwnPayoutsIncludedMark).size(), 1);
        QCOMPARE(all.filter(OwnFiguresIncludedMark).size(), 1);

        // 123 paid at half: it costs 26,250, so 456 at somchai's rate is the dearest number.
        QVERIFY(setNumberRule(store, {Straight3, "123", RuleKind::Pay, 50, false}).changed());
        QVERIFY(Analysis(store, Straight3).lines.contains("จ่ายค่ารางวัลตามที่อั้น= 51,000.00 บาท" + OwnPayoutsIncludedMark));
        QVERIFY(clearNumberRule(store, Straight3, "123").changed());

        // A lower rate of his own makes no number cost more than the type's worst case.
        QVERIFY(setCustomerRate(store, Somchai, Straight3, "400", "").changed());
        QCOMPARE(Analysis(store, Straight3).lines, plain);

        // A damaged rates file is named, and none of its figures is used.
        book.put(CustomerRatesFileName, "somchai#3ตัวตรง#550#15\r\nhello\r\n");
        QStringList damaged = plain;
        damaged.insert(damaged.size() - 1, DamagedFileText + CustomerRatesFileName);
        QCOMPARE(Analysis(store, Straight3).lines, damaged);
    }

    // The check of every type and every customer pays each customer's part of a winning number's held
    // stake at his own rate and takes his own discount on his whole stake.
    void prizeOfEveryoneUsesOwnFigures()
    {
        TempBook book;
        Store& store = *book.store;
        prizeBook(book);
        Session session;
        const QStringList plain = PrizeCheck(store, session, AllChoice, AllChoice).lines;
        QVERIFY(plain.contains("จ่ายค่ารางวัล= 50,000.00 บาท"));
        QVERIFY(plain.contains("จ่ายค่าส่วนลด 10%= 35.00 บาท"));

        QVERIFY(setCustomerRate(store, Somchai, Straight3, "550", "15").changed());
        QVERIFY(setCustomerRate(store, Somchai, Top2, "80", "").changed());
        QVERIFY(setCustomerRate(store, "noi", Straight3, "900", "").changed());
        const QStringList straight = {
            "เลขที่ถูกรางวัล <3ตัวตรง> <ทั้งหมด>",
            "456-100",
            "รวมเลข= 1 รายการ",
            "รวมเงิน= 100.00 บาท",
            // 100 of the 200 on 456 is held: somchai's 75 at 550, daeng's 25 at 500 (noi has none on it).
            "จ่ายค่ารางวัล= 53,750.00 บาท" + OwnPayoutsIncludedMark,
            "รวมรายรับ= 350.00 บาท",
            // 10% of 350, and 5% more on somchai's 250.
            "จ่ายค่าส่วนลด 10%= 47.50 บาท" + OwnFiguresIncludedMark,
            "รายรับคงเหลือ= 302.50 บาท",
            "ขาดทุน 53,447.50 บาท",
            Separator,
        };
        // Not held over the limit: somchai's 10 at 80, daeng's 20 at 70; the type's 5% on all 60.
        const QStringList top = {
            "เลขที่ถูกรางวัล <2ตัวบน> <ทั้งหมด>",
            "56-30",
            "รวมเลข= 1 รายการ",
            "รวมเงิน= 30.00 บาท",
            "จ่ายค่ารางวัล= 2,200.00 บาท" + OwnPayoutsIncludedMark,
            "รวมรายรับ= 60.00 บาท",
            "จ่ายค่าส่วนลด 5%= 3.00 บาท",
            "รายรับคงเหลือ= 57.00 บาท",
            "ขาดทุน 2,143.00 บาท",
            Separator,
        };
        const QStringList totals = {
            "จำนวนเลขที่ถูกรางวัล= 2 รายการ", "จำนวนเงินที่ถูกรางวัล= 130.00 บาท", "รวมเงินที่จ่ายค่ารางวัล= 55,950.00 บาท",
            "รายรับทั้งหมด= 359.50 บาท",     "ขาดทุน= 55,590.50 บาท",         Separator};
        // The bills pay every customer his whole stake, the part sent out above the limit too:
        // somchai 222.00 net against 82,500 + 800, daeng 128.50 against 25,000 + 1,400, noi 9.
        const QString wholeDraw = "ผลทั้งงวด ทุกชนิด ตามบิล ขาดทุน= 109,340.50 บาท";
        QCOMPARE(PrizeCheck(store, session, AllChoice, AllChoice).lines,
                 straight + top + totals + QStringList{wholeDraw});

        // A number paid at half keeps the half on top of each customer's own rate.
        book.put(NumberRulesFileName, "2ตัวบน#56#pay#50\r\n");
        const QStringList halved = PrizeCheck(store, session, AllChoice, AllChoice).lines;
        QVERIFY(halved.contains("56-30" + PayPercentText.arg(50)));
        QVERIFY(halved.contains("จ่ายค่ารางวัล= 1,100.00 บาท" + OwnPayoutsIncludedMark));
        QVERIFY(halved.contains("รวมเงินที่จ่ายค่ารางวัล= 54,850.00 บาท"));
        book.put(NumberRulesFileName, "");

        // A damaged rates file is named under each section, whose figures are then the type's.
        book.put(CustomerRatesFileName, "somchai#3ตัวตรง#550#15\r\nhello\r\n");
        const QStringList damaged = PrizeCheck(store, session, AllChoice, AllChoice).lines;
        QCOMPARE(damaged.count(DamagedFileText + CustomerRatesFileName), 2);
        QVERIFY(damaged.contains("จ่ายค่ารางวัล= 50,000.00 บาท"));
        QVERIFY(damaged.contains("จ่ายค่าส่วนลด 10%= 35.00 บาท"));
    }

    // With no number held over its limit, every customer's check adds up to the sections of each
    // customer, type by type.
    void prizeOfEveryoneAddsUpToEachCustomer()
    {
        TempBook book;
        Store& store = *book.store;
        prizeBook(book);
        book.put(QStringLiteral("lotto2.gif"), QString());
        book.stake(Straight3, "noi", "456", 10); // every customer wins, so each one's income counts
        QVERIFY(setCustomerRate(store, Somchai, Straight3, "550", "15").changed());
        QVERIFY(setCustomerRate(store, Somchai, Top2, "80", "").changed());
        QVERIFY(setCustomerRate(store, Daeng, Top2, "", "8").changed());
        Session session;
        const QStringList all = PrizeCheck(store, session, AllChoice, AllChoice).lines;
        QCOMPARE(all.filter(OwnPayoutsIncludedMark).size(), 2);
        QCOMPARE(all.filter(OwnFiguresIncludedMark).size(), 2);
        double prize = 0;
        double income = 0;
        for (const QString& type : {Straight3, Top2}) {
            const QStringList each = PrizeCheck(store, session, type, AllChoice).lines;
            prize += figureOn(each, "รวมเงินที่จ่ายค่ารางวัล= ");
            income += figureOn(each, "รายรับทั้งหมด= ");
        }
        // 150 × 550 + 60 × 500 and 10 × 80 + 20 × 70; 360 less 10% and 5% more of somchai's 250, 60
        // less 5% and 3% more of daeng's 50.
        QCOMPARE(prize, 112500.0 + 2200.0);
        QCOMPARE(income, 311.5 + 55.5);
        QCOMPARE(figureOn(all, "รวมเงินที่จ่ายค่ารางวัล= "), prize);
        QCOMPARE(figureOn(all, "รายรับทั้งหมด= "), income);
    }

    // A search of every customer for one number takes each one's own discount on his stake on that
    // number only: somchai's 15% on his 20 of 456 (not on his 100 of 123), 10% on daeng's 30.
    void searchOfOneNumberUsesOwnDiscounts()
    {
        TempBook book;
        Store& store = *book.store;
        drawnAndPriced(book);
        book.stake(Straight3, Somchai, "456", 20);
        book.stake(Straight3, Somchai, "123", 100);
        book.stake(Straight3, Daeng, "456", 30);
        book.stake(Straight3, Daeng, "789", 100);
        QVERIFY(setCustomerRate(store, Somchai, Straight3, "", "15").changed());
        Session session;
        const QStringList section = {"รวมเงิน= 50.00 บาท", "ส่วนลด 10%= 6.00 บาท" + OwnFiguresIncludedMark,
                                     "รวมเงินคงเหลือ= 44.00 บาท", Separator};
        QCOMPARE(SearchReport(store, session, "456", Straight3, AllChoice).lines,
                 QStringList({"ข้อมูล  <456> <3ตัวตรง> <ทั้งหมด>", "456-20", "456-30", "รวมเลข= 2 รายการ"}) + section);
        // Every type: the grouped number, with the same discount.
        QCOMPARE(SearchReport(store, session, "456", AllChoice, AllChoice).lines,
                 QStringList({"ข้อมูล  <456> <ทั้งหมด> <ทั้งหมด>", "<3ตัวตรง>", "456-50", "รวมเลข= 1 รายการ"}) + section);
        // A number only daeng holds has the type's discount and no mark.
        QVERIFY(SearchReport(store, session, "789", Straight3, AllChoice).lines.contains("ส่วนลด 10%= 10.00 บาท"));

        book.put(CustomerRatesFileName, "somchai#3ตัวตรง##15\r\nhello\r\n");
        const QStringList damaged = SearchReport(store, session, "456", Straight3, AllChoice).lines;
        QVERIFY(damaged.contains("ส่วนลด 10%= 5.00 บาท"));
        QVERIFY(damaged.contains(DamagedFileText + CustomerRatesFileName));
    }

    void goldenBill()
    {
        TempBook book;
        accountsBook(book);
        const PaymentResult paid = pay(book, Somchai, "5000", "2026-12-09 18:05");
        QVERIFY(paid.recorded());
        QCOMPARE(paid.payment.amount, -5000.0); // paid to him: he was owed
        QCOMPARE(billLines(statement(book, Somchai)), SomchaiBill);

        // daeng lost 1,000 at the type's 10%, and paid 400 of the 900.
        QVERIFY(pay(book, Daeng, "400", "2026-12-09 18:10").recorded());
        const QStringList daeng = billLines(statement(book, Daeng));
        QCOMPARE(daeng.mid(daeng.size() - 5),
                 QStringList({"งวดนี้ ลูกค้าต้องจ่าย 900.00 บาท", "รับชำระ 09/12/2026 18:10 400.00 บาท",
                              "รับชำระแล้ว 400.00 บาท", "ยอดรวม ลูกค้าต้องจ่าย 500.00 บาท", "====================="}));
        // The payments are lines added after the ones before, never a rewrite of them.
        QCOMPARE(book.bytes(PaymentsFileName),
                 cp874("somchai#-5000#2026-12-09 18:05:00\r\ndaeng#400#2026-12-09 18:10:00\r\n"));
        // Paying all settles; nothing is then left to pay.
        QVERIFY(pay(book, Daeng, "", "2026-12-09 18:20").recorded());
        QCOMPARE(statement(book, Daeng).due(), 0.0);
        QCOMPARE(pay(book, Daeng, "", "2026-12-09 18:30").refusal, NothingOwedText + Daeng);
    }

    void paymentAmounts_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("taken");
        QTest::newRow("whole") << "100" << true;
        QTest::newRow("satang") << "100.50" << true;
        QTest::newRow("three places") << "100.255" << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("negative") << "-5" << false;
        QTest::newRow("comma") << "1,000" << false;
        QTest::newRow("words") << "abc" << false;
    }
    void paymentAmounts()
    {
        QFETCH(QString, amount);
        QFETCH(bool, taken);
        TempBook book;
        accountsBook(book);
        const PaymentResult r = pay(book, Daeng, amount, "2026-12-09 18:00");
        QCOMPARE(r.recorded(), taken);
        QCOMPARE(QFile::exists(book.file(PaymentsFileName)), taken);
    }

    // Three draws made with the new draw: what each left unpaid is carried into the next, payments
    // stay with their draw, and the oldest debts come first in what is owed.
    void balanceAcrossThreeDraws()
    {
        TempBook book;
        Store& store = *book.store;
        drawnAndPriced(book);
        book.stake(Straight3, Daeng, "789", 1000); // owes 900
        QVERIFY(pay(book, Daeng, "400", "2026-12-01 20:00").recorded());
        QVERIFY(startNewDraw(store, at("2026-12-01 21:00")).done);
        QVERIFY(!QFile::exists(book.file(PaymentsFileName)));

        drawnAndPriced(book);
        book.stake(Straight3, Daeng, "789", 500);  // owes 450 more
        book.stake(Straight3, Somchai, "456", 10); // net 9, wins 5,000
        QCOMPARE(statement(book, Daeng).carried, 500.0);
        QCOMPARE(statement(book, Daeng).due(), 950.0);
        QVERIFY(startNewDraw(store, at("2026-12-16 21:00")).done);

        book.stake(Straight3, QStringLiteral("noi"), "111", 100); // no discount in this draw
        QCOMPARE(statement(book, Daeng).carried, 950.0);
        QVERIFY(pay(book, Daeng, "", "2026-12-20 09:00").recorded());
        QCOMPARE(statement(book, Daeng).due(), 0.0);
        QCOMPARE(statement(book, Somchai).due(), -4991.0);

        const QList<PastDraw> draws = listPastDraws(store);
        QCOMPARE(draws.size(), 2);
        QCOMPARE(draws[0].label, QString("01/12/2026 21:00"));
        const OwedReport owed = owedReport(store);
        QCOMPARE(owed.rows.size(), 2);
        QCOMPARE(owed.rows[0].customer, Somchai);
        QCOMPARE(owed.rows[0].amount, -4991.0);
        QCOMPARE(owed.rows[0].since, QString("16/12/2026 21:00"));
        QCOMPARE(owed.rows[1].customer, QString("noi"));
        QCOMPARE(owed.rows[1].amount, 100.0);
        QCOMPARE(owedLines(owed).mid(1, 2), QStringList({"<somchai> เจ้ามือต้องจ่าย 4,991.00 บาท ตั้งแต่ 16/12/2026 21:00",
                                                         "<noi> ลูกค้าต้องจ่าย 100.00 บาท ตั้งแต่ งวดนี้"}));

        // A past draw's bill carries only what the draws before it left.
        Store second(draws[1].folder);
        const QList<Statement> past = statementsFor(store, second, Daeng);
        QCOMPARE(past.first().carried, 500.0);
        QCOMPARE(past.first().due(), 950.0);
        const DrawSummary summary = summariseDraw(draws[1]);
        QCOMPARE(summary.customers, 2);
        QCOMPARE(summary.stake, 510.0);
        QCOMPARE(summary.result, QString("123456"));
        QCOMPARE(summary.profit, 450.0 - 4991.0);
    }

    // Reports, bills and balances on a past draw leave every byte of it as it was and make no file.
    void pastDrawIsReadOnly()
    {
        TempBook book;
        accountsBook(book);
        QVERIFY(pay(book, Daeng, "400", "2026-12-01 20:00").recorded());
        QVERIFY(startNewDraw(*book.store, at("2026-12-01 21:00")).done);
        const PastDraw draw = listPastDraws(*book.store).first();
        const QHash<QString, QByteArray> before = folderBytes(draw.folder);
        QVERIFY(before.contains(CustomerRatesFileName) && before.contains(PaymentsFileName));

        Store past(draw.folder);
        Session session;
        QVERIFY(!ViewAllData(past, session).lines.isEmpty());
        QVERIFY(!SearchReport(past, session, "", AllChoice, AllChoice).lines.isEmpty());
        QVERIFY(!PrizeCheck(past, session, AllChoice, AllChoice).lines.isEmpty());
        QVERIFY(!PrizeCheck(past, session, Straight3, Somchai).lines.isEmpty());
        QVERIFY(!Analysis(past, AllChoice).lines.isEmpty());
        QCOMPARE(statementsFor(*book.store, past, AllChoice).size(), 2);
        QCOMPARE(summariseDraw(draw).customers, 2);
        QCOMPARE(owedReport(*book.store).rows.size(), 2);
        QVERIFY(past.takeFailures().isEmpty());

        QCOMPARE(folderBytes(draw.folder), before);
        QCOMPARE(QDir(draw.folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
                 before.size());
    }
};

QTEST_GUILESS_MAIN(TestAccounts)
#include "tst_accounts.moc"
