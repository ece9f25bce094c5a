#include "accounts/accounttexts.h"
#include "accounts/bill.h"
#include "accounts/customerrates.h"
#include "accounts/drawhistory.h"
#include "accounts/payments.h"
#include "accountsbook.h"
#include "gui/main/session.h"
#include "reports/analysis.h"
#include "reports/prize.h"
#include "reports/view.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "storage/folder/numberfile.h"
#include "tools/newdraw.h"

#include "audit/auditlog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
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

// The balance of every customer's bill added up: what the draw leaves with the customers.
double billsResult(Store& store)
{
    const CustomerRates rates = loadCustomerRates(store);
    double result = 0;
    for (const QString& c : store.customers())
        result += computeBill(store, rates, c).balance();
    return result;
}

// The prize of one type on the bills of every customer.
double billsPrize(Store& store, const QString& type)
{
    const CustomerRates rates = loadCustomerRates(store);
    double prize = 0;
    for (const QString& c : store.customers())
        for (const BillType& t : computeBill(store, rates, c).types)
            if (t.type == type) prize += t.prize;
    return prize;
}

// The section of a prize check that starts with `heading`, up to its separator.
QStringList sectionOf(const QStringList& lines, const QString& heading)
{
    const qsizetype from = lines.indexOf(heading);
    if (from < 0) return {};
    return lines.mid(from, lines.indexOf(Separator, from) - from + 1);
}

// A type's rate, its customer's own rate, a number paid at half and a number kept only up to its own
// limit: 456 (straight three, somchai 150 at his own 550 and daeng 50, kept 100) and 56 (top two at
// half, somchai 10 at his own 80 and daeng 20 at the type's 70).
void fourTermsBook(TempBook& book)
{
    drawnAndPriced(book);
    book.put(NumberRulesFileName, "3ตัวตรง#456#limit#100\r\n2ตัวบน#56#pay#50\r\n");
    book.stake(Straight3, "somchai", "456", 150);
    book.stake(Straight3, "somchai", "123", 100);
    book.stake(Straight3, "daeng", "456", 50);
    book.stake(Straight3, "daeng", "789", 40);
    book.stake(Top2, "somchai", "56", 10);
    book.stake(Top2, "daeng", "56", 20);
    book.stake(Top2, "daeng", "12", 30);
    QVERIFY(setCustomerRate(*book.store, "somchai", Straight3, "550", "").changed());
    QVERIFY(setCustomerRate(*book.store, "somchai", Top2, "80", "").changed());
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

    // A rates or payments file with lines that are not ones keeps its good lines, names the bad ones
    // by number and is never written over. A bad line that names a customer leaves his balance
    // unknown; one that names nobody the book knows leaves everyone's unknown. A balance that cannot
    // be known is never printed: the bill and the owed list say so instead.
    void damagedAccountsFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<bool>("somchaiKnown");
        QTest::addColumn<bool>("daengKnown");
        QTest::newRow("rates: a stray line") << CustomerRatesFileName << "somchai#3ตัวตรง#550#15\r\nhello\r\n"
                                             << "2" << false << false;
        QTest::newRow("rates: daeng's percent out of range")
            << CustomerRatesFileName << "somchai#3ตัวตรง#550#15\r\n\r\ndaeng#3ตัวตรง##250\r\n"
            << "3" << true << false;
        QTest::newRow("rates: a customer the book does not know")
            << CustomerRatesFileName << "somchai#3ตัวตรง#550#15\r\nsomch@i#3ตัวตรง#5x0#\r\n"
            << "2" << false << false;
        QTest::newRow("payments: daeng's without a date")
            << PaymentsFileName << "somchai#-5000#2026-12-09 18:05:00\r\ndaeng#100\r\n"
            << "2" << true << false;
        QTest::newRow("payments: two bad lines of somchai")
            << PaymentsFileName << "somchai#ร้อย#2026-12-09 10:00:00\r\nsomchai#-5000#2026-12-09 18:05:00\r\nsomchai\r\n"
            << "1, 3" << false << false;
        QTest::newRow("payments: a take-back of no payment")
            << PaymentsFileName
            << "daeng#-400#2026-12-09 18:11:00#2026-12-09 18:10:00\r\nsomchai#-5000#2026-12-09 18:05:00\r\n"
            << "1" << true << false;
    }
    void damagedAccountsFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, content);
        QFETCH(QString, lines);
        QFETCH(bool, somchaiKnown);
        QFETCH(bool, daengKnown);
        TempBook book;
        accountsBook(book);
        if (file == CustomerRatesFileName) book.put(PaymentsFileName, "somchai#-5000#2026-12-09 18:05:00\r\n");
        book.put(file, content);
        const QByteArray before = book.bytes(file);
        const QString damaged = DamagedFileText + QDir::toNativeSeparators(book.file(file)) + DamagedLinesText + lines;

        if (file == CustomerRatesFileName)
            QVERIFY(!setCustomerRate(*book.store, Daeng, Straight3, "400", "").refusal.isEmpty());
        else
            QVERIFY(!appendPayment(*book.store, Daeng, 900, "100", at("2026-12-09 10:00")).recorded());
        QCOMPARE(book.bytes(file), before);

        const OwedReport owed = owedReport(*book.store);
        QCOMPARE(owed.problems, QStringList{damaged});
        const QStringList owedList = owedLines(owed);
        for (const auto& [customer, known] : {std::pair{Somchai, somchaiKnown}, std::pair{Daeng, daengKnown}}) {
            const Statement s = statement(book, customer);
            QCOMPARE(s.problems, known ? QStringList() : QStringList{damaged});
            const QStringList bill = billLines(s);
            QCOMPARE(bill.contains(damaged), !known);
            QCOMPARE(bill.contains(TotalDueText + UnknownDueText), !known);
            QCOMPARE(bill.filter(QRegularExpression("ต้องจ่าย|ไม่มียอดค้าง")).isEmpty(), !known);
            QCOMPARE(owedList.contains(typeLine(customer) + " " + OwedTitle + " " + UnknownDueText), !known);
        }
        // The good lines still count: somchai's own 550 and 15%, and the 5,000 paid to him.
        if (somchaiKnown) QCOMPARE(billLines(statement(book, Somchai)), SomchaiBill);
        QVERIFY(billLines(statement(book, Somchai)).contains("ส่วนลด 15%= 18.00 บาท (เฉพาะลูกค้า)"));
        // Totals over a row that cannot be known are not given either.
        QCOMPARE(owedList.filter(QRegularExpression("^" + UnknownTotalText)).size(), 1);
        QVERIFY(owedList.filter(QRegularExpression("^" + OwedByCustomersText)).isEmpty());
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
        // The good line still counts.
        const QStringList damaged = SearchReport(*book.store, session, "", Straight3, Somchai).lines;
        QVERIFY(damaged.contains("ส่วนลด 15%= 3.00 บาท" + OwnFigureMark));
        QVERIFY(damaged.contains(DamagedFileText + CustomerRatesFileName + DamagedLinesText + "2"));
        QVERIFY(PrizeCheck(*book.store, session, Straight3, Somchai)
                    .lines.contains(DamagedFileText + CustomerRatesFileName + DamagedLinesText + "2"));

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

    // Every report prices a win the same way. The bills pay each customer his whole stake at his
    // rate and at the number's percentage; the prize check and the forecast price what the book keeps
    // of a number the same way, each stake at its own terms.
    void oneFigureInEveryReport()
    {
        TempBook book;
        Store& store = *book.store;
        fourTermsBook(book);
        const CustomerRates rates = loadCustomerRates(store);
        const Bill somchai = computeBill(store, rates, Somchai);
        const QStringList lines = billLines(statement(book, Somchai));
        QVERIFY(lines.contains("ถูก 456 แทง 150.00 x 550 ได้ 82,500.00 บาท" + OwnFigureMark));
        QVERIFY(lines.contains("ถูก 56 แทง 10.00 x 80 จ่าย 50% ได้ 400.00 บาท" + OwnFigureMark));
        QVERIFY(billLines(statement(book, Daeng)).contains("ถูก 56 แทง 20.00 x 70 จ่าย 50% ได้ 700.00 บาท"));
        // somchai 225 + 9.50 net against 82,900; daeng 81 + 47.50 against 25,000 + 700.
        QCOMPARE(somchai.balance(), -82665.5);
        QCOMPARE(billsResult(store), -108237.0);

        Session session;
        const QStringList prize = PrizeCheck(store, session, AllChoice, AllChoice).lines;
        // The top two is kept whole: the check pays what the bills pay.
        const QStringList top = sectionOf(prize, "เลขที่ถูกรางวัล <2ตัวบน> <ทั้งหมด>");
        QVERIFY(top.contains("56-30" + PayPercentText.arg(50)));
        QCOMPARE(billsPrize(store, Top2), 1100.0);
        QVERIFY(top.contains("จ่ายค่ารางวัล= 1,100.00 บาท" + OwnPayoutsIncludedMark));
        // 456 is kept up to 100 of its 200: somchai's 75 at 550 and daeng's 25 at 500. The forecast
        // finds it the dearest number and prices it the same.
        const QStringList straight = sectionOf(prize, "เลขที่ถูกรางวัล <3ตัวตรง> <ทั้งหมด>");
        QVERIFY(straight.contains("456-100"));
        QVERIFY(straight.contains("จ่ายค่ารางวัล= 53,750.00 บาท" + OwnPayoutsIncludedMark));
        QVERIFY(Analysis(store, Straight3).lines.contains("จ่ายค่ารางวัลตามที่อั้น= 53,750.00 บาท" + OwnPayoutsIncludedMark));
        // The check ends with the bills' result of the draw, which is what is owed ...
        QCOMPARE(prize.last(), QString("ผลทั้งงวด ทุกชนิด ตามบิล ขาดทุน= 108,237.00 บาท"));
        const QStringList owed = owedLines(owedReport(store));
        QVERIFY(owed.contains("<somchai> เจ้ามือต้องจ่าย 82,665.50 บาท ตั้งแต่ งวดนี้"));
        QVERIFY(owed.contains("<daeng> เจ้ามือต้องจ่าย 25,571.50 บาท ตั้งแต่ งวดนี้"));
        QVERIFY(owed.contains(OwedToCustomersText + "108,237.00 บาท"));
        // ... and what the draw shows among the past ones once the next is started.
        QVERIFY(startNewDraw(store, at("2026-12-16 21:00")).done);
        const PastDraw past = listPastDraws(store).first();
        const DrawSummary summary = summariseDraw(past);
        QCOMPARE(summary.profit, -108237.0);
        QCOMPARE(drawRow(summary).last(), QString("ขาดทุน 108,237.00"));
        Store copy(past.folder);
        QCOMPARE(PrizeCheck(copy, session, AllChoice, AllChoice).lines.last(), prize.last());
        QCOMPARE(owedReport(store).rows.first().amount, -82665.5);
    }

    // A pay rule is marked on the winning line of the bill and of the prize check alike, whatever its
    // percentage; a number without a rule has no mark.
    void payMarks_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("prize");
        QTest::newRow("no rule") << ""
                                 << ""
                                 << "700.00";
        QTest::newRow("half") << "2ตัวบน#56#pay#50\r\n"
                              << " จ่าย 50%"
                              << "350.00";
        QTest::newRow("a hundred") << "2ตัวบน#56#pay#100\r\n"
                                   << " จ่าย 100%"
                                   << "700.00";
        QTest::newRow("nothing") << "2ตัวบน#56#pay#0\r\n"
                                 << " จ่าย 0%"
                                 << "0.00";
        QTest::newRow("by its digits") << "2ตัวบน#65#pay#30#perm\r\n"
                                       << " จ่าย 30%"
                                       << "210.00";
    }
    void payMarks()
    {
        QFETCH(QString, rules);
        QFETCH(QString, mark);
        QFETCH(QString, prize);
        TempBook book;
        drawnAndPriced(book);
        book.put(NumberRulesFileName, rules);
        book.stake(Top2, Somchai, "56", 10);
        QVERIFY(billLines(statement(book, Somchai)).contains("ถูก 56 แทง 10.00 x 70" + mark + " ได้ " + prize + " บาท"));
        Session session;
        for (const QString& customer : {Somchai, AllChoice}) {
            const QStringList lines = PrizeCheck(*book.store, session, Top2, customer).lines;
            QVERIFY(lines.contains("56-10" + mark));
            QVERIFY(lines.contains("จ่ายค่ารางวัล= " + prize + " บาท"));
        }
    }

    // Each figure of a bill is whole satang and the bill adds up as printed: 7.5% of 15 is 1.13, so
    // 13.87 is due, and the list of what is owed adds its rows as they are printed.
    void billInWholeSatang()
    {
        TempBook book;
        Store& store = *book.store;
        drawnAndPriced(book);
        book.put(QStringLiteral("lotto7.gif"), QStringLiteral("2ตัวบน#7.5\r\n"));
        for (const char* name : {"a", "b", "c"})
            book.stake(Top2, name, "12", 15);
        const QStringList lines = billLines(statement(book, "a"));
        QCOMPARE(lines.mid(1, 4), QStringList({"<2ตัวบน>", "12-15", "ยอดแทง= 15.00 บาท", "ส่วนลด 7.5%= 1.13 บาท"}));
        QVERIFY(lines.contains("ยอดรวม ลูกค้าต้องจ่าย 13.87 บาท"));
        QCOMPARE(statement(book, "a").due(), 13.87);
        const QStringList owed = owedLines(owedReport(store));
        QVERIFY(owed.contains("<c> ลูกค้าต้องจ่าย 13.87 บาท ตั้งแต่ งวดนี้"));
        QVERIFY(owed.contains(OwedByCustomersText + "41.61 บาท"));
        // The forecast rounds its discount once too: 45 less 3.38 is 41.62.
        const QStringList forecast = Analysis(store, Top2).lines;
        QVERIFY(forecast.contains("จ่ายค่าส่วนลด= 3.38 บาท"));
        QVERIFY(forecast.contains("กำไร 41.62 บาท"));

        // Paying all of the printed figure settles him, in this draw and every later one.
        QVERIFY(pay(book, "a", "", "2026-12-09 18:00").recorded());
        QCOMPARE(book.bytes(PaymentsFileName), cp874("a#13.87#2026-12-09 18:00:00\r\n"));
        QCOMPARE(statement(book, "a").due(), 0.0);
        QVERIFY(billLines(statement(book, "a")).contains("ยอดรวม " + SettledText));
        QVERIFY(startNewDraw(store, at("2026-12-16 21:00")).done);
        book.stake(Top2, "a", "34", 15);
        const QStringList next = billLines(statement(book, "a"));
        QVERIFY(next.filter(CarriedText).isEmpty());
        QVERIFY(next.contains("ยอดรวม ลูกค้าต้องจ่าย 15.00 บาท"));
        QCOMPARE(owedReport(store).rows.size(), 3); // b, c and a's new stake
    }

    // A win on a type with no payout rate has no prize anyone could know: the bill says so and leaves
    // out every total made with it, and so do the list of what is owed and the prize check's result of
    // the draw. A customer with a rate of his own on the type is priced at it.
    void winWithoutRate()
    {
        TempBook book;
        Store& store = *book.store;
        drawnAndPriced(book);
        book.put(QStringLiteral("lotto4.gif"), QStringLiteral("3ตัวตรง#500\r\n"));
        book.stake(Top2, Somchai, "56", 10);
        book.stake(Straight3, Somchai, "123", 100);
        book.stake(Top2, Daeng, "12", 10); // lost: his figures are known
        const QStringList lines = billLines(statement(book, Somchai));
        QVERIFY(lines.contains("ถูก 56 แทง 10.00"));
        QVERIFY(lines.contains(BillNoRateText));
        QVERIFY(lines.contains(UnknownTotalText + NoRateOfTypesText + Top2));
        for (const QString& head : {TotalDueText, BillPrizeText})
            QVERIFY2(lines.filter(head).isEmpty(), qPrintable(head));
        // The straight three he lost on keeps its own balance; the draw's is not there.
        QCOMPARE(lines.filter(ThisDrawText), QStringList{"งวดนี้ ลูกค้าต้องจ่าย 90.00 บาท"});
        QCOMPARE(statement(book, Somchai).unknowns(), QStringList{NoRateOfTypesText + Top2});
        QVERIFY(billLines(statement(book, Daeng)).contains("ยอดรวม ลูกค้าต้องจ่าย 9.50 บาท"));

        OwedReport owed = owedReport(store);
        QVERIFY(!owed.complete());
        const QStringList owedList = owedLines(owed);
        QVERIFY(owedList.contains("<somchai>" + OwedUnknownText + NoRateOfTypesText + Top2));
        QVERIFY(owedList.contains("<daeng> ลูกค้าต้องจ่าย 9.50 บาท ตั้งแต่ งวดนี้"));
        QVERIFY(owedList.filter(OwedByCustomersText).isEmpty());
        Session session;
        QCOMPARE(PrizeCheck(store, session, AllChoice, AllChoice).lines.last(),
                 "ผลทั้งงวด ทุกชนิด ตามบิล ยังคิดไม่ได้ " + NoRateOfTypesText + Top2);

        // Kept into the next draw, the unknown balance stays unknown there.
        QVERIFY(startNewDraw(store, at("2026-12-16 21:00")).done);
        drawnAndPriced(book);
        const QString past = PastDrawMark + "16/12/2569 21:00: " + NoRateOfTypesText + Top2;
        QCOMPARE(statement(book, Somchai).unknowns(), QStringList{past});
        QVERIFY(statementsFor(store, store, AllChoice).first().unknowns().contains(past));
        QCOMPARE(drawRow(summariseDraw(listPastDraws(store).first())).last(), ProfitUnknownText);
        QVERIFY(!owedReport(store).complete());

        // His own rate prices it.
        TempBook own;
        drawnAndPriced(own);
        own.put(QStringLiteral("lotto4.gif"), QString());
        own.stake(Top2, Somchai, "56", 10);
        QVERIFY(setCustomerRate(*own.store, Somchai, Top2, "90", "").changed());
        QVERIFY(billLines(statement(own, Somchai)).contains("ยอดรวม เจ้ามือต้องจ่าย 890.50 บาท"));
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
                 QStringList({"งวดนี้ ลูกค้าต้องจ่าย 900.00 บาท", "รับชำระ 09/12/2569 18:10 400.00 บาท",
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

    // Taking a payment back adds a line with the opposite amount that names it; the file only grows,
    // the due is as before the payment, and the bill shows both. A second take-back of the same
    // payment names nothing left to take back and is a damaged line.
    void paymentTakenBack()
    {
        TempBook book;
        accountsBook(book);
        const PaymentResult paid = pay(book, Daeng, "400", "2026-12-09 18:10");
        QVERIFY(paid.recorded());
        const PaymentResult back = appendReversal(*book.store, paid.payment, at("2026-12-09 18:12"));
        QVERIFY(back.recorded());
        QCOMPARE(back.lines, QStringList{PaymentTakenBackText + "รับชำระจาก daeng 400.00 บาท"});
        const QByteArray twoLines = cp874("daeng#400#2026-12-09 18:10:00\r\n"
                                          "daeng#-400#2026-12-09 18:12:00#2026-12-09 18:10:00\r\n");
        QCOMPARE(book.bytes(PaymentsFileName), twoLines);
        QCOMPARE(statement(book, Daeng).due(), 900.0);
        const QStringList bill = billLines(statement(book, Daeng));
        QCOMPARE(bill.mid(bill.size() - 4),
                 QStringList({"รับชำระ 09/12/2569 18:10 400.00 บาท", "ยกเลิกรับชำระ 09/12/2569 18:10 400.00 บาท",
                              "ยอดรวม ลูกค้าต้องจ่าย 900.00 บาท", Separator}));

        // Made again, it is a payment of its own, which can be taken back in turn.
        Payment again = paid.payment;
        again.when = at("2026-12-09 18:15");
        QVERIFY(appendPaymentLine(*book.store, again).recorded());
        QCOMPARE(statement(book, Daeng).due(), 500.0);
        QVERIFY(appendReversal(*book.store, again, at("2026-12-09 18:16")).recorded());
        QCOMPARE(statement(book, Daeng).due(), 900.0);
        QVERIFY(loadPayments(*book.store).damaged.isEmpty());

        QVERIFY(appendReversal(*book.store, again, at("2026-12-09 18:17")).recorded());
        const Payments read = loadPayments(*book.store);
        QCOMPARE(read.damaged, QList<int>{5});
        QVERIFY(read.doubt.covers(Daeng) && !read.doubt.covers(Somchai));
    }

    // More than is due is refused unless allowed; either way the plan says so.
    void paymentAboveWhatIsDue_data()
    {
        QTest::addColumn<double>("due");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("overpay");
        QTest::addColumn<double>("paid");
        QTest::newRow("all of it") << 900.0 << "" << false << 900.0;
        QTest::newRow("exactly") << 900.0 << "900" << false << 900.0;
        QTest::newRow("a satang more") << 900.0 << "900.01" << true << 900.01;
        QTest::newRow("owed to him, exactly") << -5000.0 << "5000.00" << false << -5000.0;
        QTest::newRow("owed to him, more") << -5000.0 << "5001" << true << -5001.0;
        QTest::newRow("a rest below a satang") << 899.996 << "900" << false << 900.0;
    }
    void paymentAboveWhatIsDue()
    {
        QFETCH(double, due);
        QFETCH(QString, amount);
        QFETCH(bool, overpay);
        QFETCH(double, paid);
        const QDateTime when = at("2026-12-09 18:00");
        const PaymentResult refused = planPayment(Daeng, due, amount, when);
        QCOMPARE(refused.overpay, overpay);
        QCOMPARE(refused.refusal.isEmpty(), !overpay);
        if (overpay) QVERIFY(refused.refusal.startsWith(MoreThanDueText));
        const PaymentResult allowed = planPayment(Daeng, due, amount, when, true);
        QVERIFY(allowed.refusal.isEmpty());
        QCOMPARE(allowed.overpay, overpay);
        QCOMPARE(allowed.payment.amount, paid);
    }

    // Two books in one parent folder: each new draw's copy carries its book's name, and each book
    // lists, bills and owes over its own past only.
    void twoBooksBesideEachOther()
    {
        TempBook book;
        Store& first = *book.store;
        QVERIFY(QDir().mkpath(book.dir.filePath(QStringLiteral("shop_2"))));
        Store second(book.dir.filePath(QStringLiteral("shop_2")));
        book.put(QStringLiteral("lotto7.gif"), QStringLiteral("3ตัวตรง#10\r\n"));
        book.stake(Straight3, Somchai, "123", 100); // owes 90 in the first book
        QVERIFY(second.creationSequence(Somchai).isEmpty());
        QVERIFY(startNewDraw(first, at("2026-12-01 21:00")).done);
        QVERIFY(startNewDraw(second, at("2026-12-01 21:00")).done);
        QVERIFY(startNewDraw(second, at("2026-12-16 21:00")).done);

        const QList<PastDraw> own = listPastDraws(first);
        QCOMPARE(own.size(), 1);
        QCOMPARE(QFileInfo(own.first().folder).fileName(), QString("picture_1_2026-12-01_2100"));
        const QList<PastDraw> other = listPastDraws(second);
        QCOMPARE(other.size(), 2);
        QCOMPARE(QFileInfo(other.first().folder).fileName(), QString("shop_2_2026-12-01_2100"));
        QCOMPARE(owedReport(first).rows.size(), 1);
        QCOMPARE(owedReport(first).rows.first().amount, 90.0);
        QCOMPARE(owedReport(second).rows.size(), 0);
        QCOMPARE(statementOf(second, Somchai, listPastDraws(second)).due(), 0.0);
    }

    // Copies named by their date alone come from before copies carried their book's name. A book
    // alone in its parent folder keeps all of them; beside another book it keeps those its logs name
    // as the copy made before, one after the other, and never one they do not name.
    void unnamedCopiesOfEarlierDraws()
    {
        TempBook book;
        Store& store = *book.store;
        const QDir draws(book.dir.filePath(DrawsFolderName));
        const auto copy = [&](const QString& name, double stake, const QString& before) {
            QVERIFY(draws.mkpath(name));
            Store past(draws.filePath(name));
            QVERIFY(past.creationSequence(Daeng).isEmpty());
            NumberFile stakes(past, past.StakeFilePath(Straight3, Daeng));
            QVERIFY(stakes.add("789", stake) && stakes.save(past));
            if (before.isEmpty()) return;
            AuditWriter log;
            QVERIFY(log.open(past.path(AuditLogFileName), "u", "o"));
            QVERIFY(log.append({AuditAction::NewDraw, {}, {}, {}, {}, {}, QDir::toNativeSeparators(before)}, 1));
        };
        copy("2026-11-01_2100", 100, {});
        copy("2026-11-16_2100", 200, draws.filePath("2026-11-01_2100"));
        copy("2026-11-20_2100", 400, {}); // another book's, which no log names
        {
            AuditWriter log;
            QVERIFY(log.open(store.path(AuditLogFileName), "u", "o"));
            QVERIFY(log.append({AuditAction::NewDraw, {}, {}, {}, {}, {}, "D:\\old\\draws\\2026-11-16_2100"}, 1));
        }
        QCOMPARE(listPastDraws(store).size(), 3);

        // Another book beside it: only the copies its log leads to.
        QVERIFY(QDir().mkpath(book.dir.filePath(QStringLiteral("shop_2"))));
        Store beside(book.dir.filePath(QStringLiteral("shop_2")));
        QVERIFY(beside.creationSequence(Somchai).isEmpty());
        QList<PastDraw> kept = listPastDraws(store);
        QCOMPARE(kept.size(), 2);
        QCOMPARE(kept[0].label, QString("01/11/2569 21:00"));
        QCOMPARE(kept[1].label, QString("16/11/2569 21:00"));
        QCOMPARE(listPastDraws(beside).size(), 0);
        QCOMPARE(statement(book, Daeng).carried, 300.0);

        // A new draw of the book names its copy, whose log leads on to the unnamed ones.
        QVERIFY(startNewDraw(store, at("2026-12-01 21:00")).done);
        QVERIFY(!QFile::exists(store.path(AuditLogFileName)));
        kept = listPastDraws(store);
        QCOMPARE(kept.size(), 3);
        QCOMPARE(QFileInfo(kept[2].folder).fileName(), QString("picture_1_2026-12-01_2100"));
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
        QCOMPARE(draws[0].label, QString("01/12/2569 21:00"));
        const OwedReport owed = owedReport(store);
        QCOMPARE(owed.rows.size(), 2);
        QCOMPARE(owed.rows[0].customer, Somchai);
        QCOMPARE(owed.rows[0].amount, -4991.0);
        QCOMPARE(owed.rows[0].since, QString("16/12/2569 21:00"));
        QCOMPARE(owed.rows[1].customer, QString("noi"));
        QCOMPARE(owed.rows[1].amount, 100.0);
        QCOMPARE(owedLines(owed).mid(1, 2), QStringList({"<somchai> เจ้ามือต้องจ่าย 4,991.00 บาท ตั้งแต่ 16/12/2569 21:00",
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
