// A customer list edited by hand so that one name stands twice: each place keeps its own stake
// files, and every report, bill and backup reads both places once, under the one name, exactly as
// if all his stakes stood at one place. Nothing in the book is changed by reading it.
#include "accounts/bill.h"
#include "accounts/customerrates.h"
#include "accounts/drawhistory.h"
#include "core/model/text.h"
#include "entry/totals.h"
#include "gui/main/session.h"
#include "reports/analysis.h"
#include "reports/exposure.h"
#include "reports/prize.h"
#include "reports/view.h"
#include "settings/customers.h"
#include "storage/folder/store.h"
#include "testsupport.h"
#include "tools/backup.h"
#include "tools/records.h"

#include <QMap>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");
const QString Top2 = QStringLiteral("2ตัวบน");
const QString Somchai = QStringLiteral("somchai");

struct Stake {
    QString type;
    QString customer;
    QString number;
    double amount;
};

// somchai at the first place, daeng, and a third place whose stakes are somchai's too: in the
// split book the list names somchai there again; in the joined book they were keyed to him.
const QList<Stake> Stakes = {
    {Straight, Somchai, "456", 20},   {Top2, Somchai, "56", 10},       {Top2, Somchai, "12", 50},
    {Straight, "daeng", "789", 1000}, {Top2, "daeng", "56", 5},        {Top2, "third", "56", 30},
    {Top2, "third", "34", 40},        {Straight, "third", "123", 100},
};

// Prices, discounts and the drawn numbers 123456 (straight three 456, top two 56), and an own
// payout for somchai, who wins on both types.
void makeBook(TempBook& book, bool split)
{
    book.put("lotto4.gif", "3ตัวตรง#500\r\n2ตัวบน#70\r\n");
    book.put("lotto7.gif", "3ตัวตรง#10\r\n2ตัวบน#5\r\n");
    book.put("lotto3.gif", "123456#111#222#333#444#56#\r\n3ตัวตรง#456-\r\n2ตัวบน#56-\r\n");
    for (const Stake& s : Stakes)
        book.stake(s.type, split || s.customer != "third" ? s.customer : Somchai, s.number, s.amount);
    if (split) book.put("custom.gif", "#somchai#daeng#somchai#\r\n");
    QVERIFY(setCustomerRate(*book.store, Somchai, Straight, "550", "15").changed());
}

// The records of a backup summed by heading and number: what a restore would store.
QStringList backupSums(const QString& text)
{
    QMap<QString, double> sums;
    QString heading;
    for (const QString& line : text.split("\r\n")) {
        if (line.contains('#')) {
            heading = line;
            sums[heading] += 0;
        } else if (line.contains('-')) {
            sums[heading + " " + line.section('-', 0, 0)] += Val(line.section('-', 1));
        }
    }
    QStringList out;
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        out << it.key() + "=" + shortestDecimal(it.value());
    return out;
}

QStringList amountLines(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        if (line.startsWith("<") || line.startsWith("รวมเงิน=")) out << line;
    return out;
}

// What one reader shows of the book, in a form that does not depend on how many places hold
// somchai's stakes (the search lists each place's lines as they stand, so its sums are compared).
QStringList readOf(Store& store, const QString& reader)
{
    Session session;
    if (reader == "view") return ViewAllData(store, session).lines;
    if (reader == "search") return amountLines(SearchReport(store, session, {}, AllChoice, Somchai).lines);
    if (reader == "search number") return amountLines(SearchReport(store, session, "56", AllChoice, Somchai).lines);
    if (reader == "prize check") return PrizeCheck(store, session, AllChoice, Somchai).lines;
    if (reader == "analysis") return Analysis(store, Top2).lines;
    if (reader == "bill") return billLines(statementOf(store, Somchai, {}));
    if (reader == "owed") return owedLines(owedReport(store));
    if (reader == "draw result")
        return {shortestDecimal(drawResult(store, loadCustomerRates(store), store.customers()).result)};
    if (reader == "customers") return store.customers();
    if (reader == "stake of a number") return customerStakes(store, Top2, "56");
    if (reader == "totals") {
        const PairSummary pair = pairSummary(store, {}, Top2, Somchai);
        return {shortestDecimal(bookTotals(store).total), shortestDecimal(customerTotals(store, Top2, Somchai).total),
                shortestDecimal(pair.all.total), QString::number(pair.types.size())};
    }
    if (reader == "backup") return backupSums(BuildBackupText(store));
    return {"no such reader"};
}

} // namespace

class TestListedTwice : public QObject
{
    Q_OBJECT

private slots:
    void everyReaderSeesBothPlacesOnce_data()
    {
        QTest::addColumn<QString>("reader");
        for (const char* reader : {"view", "search", "search number", "prize check", "analysis", "bill", "owed",
                                   "draw result", "customers", "stake of a number", "totals", "backup"})
            QTest::newRow(reader) << QString::fromLatin1(reader);
    }
    void everyReaderSeesBothPlacesOnce()
    {
        QFETCH(QString, reader);
        TempBook joined;
        makeBook(joined, false);
        TempBook split;
        makeBook(split, true);
        const auto before = folderBytes(split.folder());

        const QStringList expected = readOf(*joined.store, reader);
        QCOMPARE(readOf(*split.store, reader), expected);
        QCOMPARE(folderBytes(split.folder()), before);
    }

    // The figures themselves, so that a reader that lost the second place in both books alike
    // cannot pass: somchai staked 130 on the top two, 40 of it on the winning 56.
    void theSecondPlaceIsCounted()
    {
        TempBook split;
        makeBook(split, true);
        QCOMPARE(customerTotals(*split.store, Top2, Somchai).total, 130.0);
        QCOMPARE(customerStakes(*split.store, Top2, "56"), (QStringList{"somchai: 40.00", "daeng: 5.00"}));
        const Bill bill = computeBill(*split.store, loadCustomerRates(*split.store), Somchai);
        QCOMPARE(bill.stake, 250.0);
        QCOMPARE(bill.prize, 40 * 70 + 20 * 550.0);
        const QString backup = BuildBackupText(*split.store);
        QCOMPARE(backup.count("\r\n" + Top2 + "#somchai\r\n"), 1);
        QVERIFY(backup.contains("\r\n12-50\r\n") && backup.contains("\r\n34-40\r\n"));
    }

    // A record listed from either place is edited or deleted in the file it stands in: somchai's
    // 12-50 is at his first place, 56-30 at his last, and 56 has a line at both.
    void recordsAreChangedWhereTheyStand_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("changedFile");
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("total");
        QTest::newRow("edit at the first place") << true << "12"
                                                 << "50"
                                                 << "3_1.gif"
                                                 << "12-20" << 100.0;
        QTest::newRow("delete at the first place") << false << "12"
                                                   << "50"
                                                   << "3_1.gif"
                                                   << "12-0" << 80.0;
        QTest::newRow("edit at the last place") << true << "56"
                                                << "30"
                                                << "3_3.gif"
                                                << "56-20" << 120.0;
        QTest::newRow("delete at the first of two") << false << "56"
                                                    << "10"
                                                    << "3_1.gif"
                                                    << "56-0" << 120.0;
    }
    void recordsAreChangedWhereTheyStand()
    {
        QFETCH(bool, edit);
        QFETCH(QString, number);
        QFETCH(QString, listed);
        QFETCH(QString, changedFile);
        QFETCH(QString, line);
        QFETCH(double, total);
        TempBook split;
        makeBook(split, true);
        const auto before = folderBytes(split.folder());
        const RecordRequest request{number, edit ? "20" : listed, Top2, Somchai, number, listed};
        QCOMPARE(recordFilePath(*split.store, request), split.file(changedFile));
        const RecordResult r = edit ? editRecord(*split.store, request) : deleteRecord(*split.store, request);
        QVERIFY(r.written);
        auto after = folderBytes(split.folder());
        QVERIFY(after.value(changedFile).contains("\r\n" + line.toLatin1() + "\r\n"));
        after.insert(changedFile, before.value(changedFile));
        QCOMPARE(after, before);
        QCOMPARE(customerTotals(*split.store, Top2, Somchai).total, total);
    }

    // Removing a name listed twice: refused while either place holds a stake, and then it leaves
    // both places empty, so no later customer changes place.
    void removingANameListedTwice_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("listAfter");
        const QString twice = "#somchai#daeng#somchai#";
        QTest::newRow("stakes at both places") << twice << Somchai << twice;
        QTest::newRow("stakes at the first place only") << twice << Somchai << twice;
        QTest::newRow("no stakes at either") << twice + "x#x#"
                                             << "x" << twice + "##";
    }
    void removingANameListedTwice()
    {
        QFETCH(QString, list);
        QFETCH(QString, name);
        QFETCH(QString, listAfter);
        TempBook book;
        makeBook(book, true);
        // Without the files of the third place, somchai has stakes at his first place only.
        if (QTest::currentDataTag() == QByteArray("stakes at the first place only"))
            for (int t = 0; t < 12; ++t)
                QFile::remove(book.file(Store::stakeFileName(t, 3)));
        book.put("custom.gif", list + "\r\n");
        const QStringList lines = removeCustomer(*book.store, name).lines;
        QCOMPARE(book.store->customerListText(), listAfter);
        QCOMPARE(lines, listAfter == list ? QStringList{CustomerHasStakesText} : QStringList{});
    }

    // A new stake goes to the place the file names have always used, his last; the list is never
    // rewritten, and no file is made for his other place.
    void newStakesGoToTheLastPlace()
    {
        TempBook split;
        makeBook(split, true);
        const QByteArray list = split.bytes("custom.gif");
        const QByteArray first = split.bytes("3_1.gif");
        QFile::remove(split.file("4_1.gif"));
        split.stake(Top2, Somchai, "12", 5);
        QCOMPARE(split.bytes("custom.gif"), list);
        QCOMPARE(split.bytes("3_1.gif"), first);
        QVERIFY(split.bytes("3_3.gif").contains("\r\n12-5\r\n"));
        QVERIFY(!QFile::exists(split.file("4_1.gif")));
        QCOMPARE(customerTotals(*split.store, Top2, Somchai).total, 135.0);
        QCOMPARE(split.store->customersListedTwice(), QStringList{Somchai});
    }
};

QTEST_GUILESS_MAIN(TestListedTwice)
#include "tst_listedtwice.moc"
