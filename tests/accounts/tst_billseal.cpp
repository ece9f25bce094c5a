#include "accounts/billseal.h"
#include "accounts/drawhistory.h"
#include "accounts/entryslip.h"
#include "accounts/exporttexts.h"
#include "accountsbook.h"
#include "app/Ledger.h"
#include "gui/main/session.h"
#include "reports/reportresult.h"

#include <QFile>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Somchai = QStringLiteral("somchai");
const QString Daeng = QStringLiteral("daeng");

// A book whose bets went in through the ledger, so that the log holds them (the drawn numbers are
// saved, so each is let in as keyed after the result).
struct Book {
    TempBook book;
    Session session;
    Ledger ledger{*book.store, session};
    Book()
    {
        drawnAndPriced(book);
        ledger.prepareCustomer(Somchai);
        ledger.prepareCustomer(Daeng);
        QVERIFY(ledger.enterSheet(QStringLiteral("456-20\r\n123-100"), Straight3, Somchai, true).notSaved == 0);
        QVERIFY(ledger.enterSheet(QStringLiteral("789-1000"), Straight3, Daeng, true).notSaved == 0);
    }
    AuditIndex& log()
    {
        index.load(ledger.auditLogPath());
        return index;
    }
    // The seal printed on the customer's bill now.
    QString seal(const QString& customer)
    {
        Store& store = *book.store;
        const QStringList lines = sealedBillLines(statementsFor(store, store, customer).first(), auditHead(log()));
        return sealOfLines(lines);
    }
    SealCheck check(const QString& code) { return checkBillSeal(*book.store, log(), code, ledger.auditKey()); }
    AuditIndex index;
};

} // namespace

class TestBillSeal : public QObject
{
    Q_OBJECT
private slots:
    void codes_data()
    {
        QTest::addColumn<qint64>("lines");
        QTest::addColumn<int>("groups");
        QTest::newRow("empty log") << qint64(0) << 3;
        QTest::newRow("a few lines") << qint64(37) << 3;
        QTest::newRow("most one group holds") << qint64(1048575) << 3;
        QTest::newRow("a second group") << qint64(1048576) << 4;
    }
    // A code names the log's position; it reads back as typed, in small letters, with blanks, and
    // with the letters that look like digits.
    void codes()
    {
        QFETCH(qint64, lines);
        QFETCH(int, groups);
        Statement s;
        s.bill.customer = Somchai;
        const QString code = billSeal({lines, AuditChainStart}, s);
        QCOMPARE(code.split(QLatin1Char('-')).size(), groups);
        SealCode read;
        QVERIFY(parseSeal(code, read));
        QCOMPARE(read.lines, lines);
        SealCode typed;
        QString sloppy = code.toLower();
        sloppy.replace(QLatin1Char('0'), QLatin1Char('o')).replace(QLatin1Char('1'), QLatin1Char('l'));
        QVERIFY(parseSeal(QStringLiteral("  ") + sloppy + QStringLiteral(" "), typed));
        QCOMPARE(typed.lines, read.lines);
        QCOMPARE(typed.who, read.who);
        QCOMPARE(typed.what, read.what);
    }

    void notCodes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << QString();
        QTest::newRow("two groups") << QStringLiteral("7KQ2-M9XA");
        QTest::newRow("short group") << QStringLiteral("0004-7KQ-M9XA");
        QTest::newRow("letter U") << QStringLiteral("0004-7KQU-M9XA");
        QTest::newRow("Thai") << QStringLiteral("0004-๑๒๓๔-M9XA");
        QTest::newRow("too many groups") << QStringLiteral("0000-0000-0000-0000-0000-0000");
    }
    void notCodes()
    {
        QFETCH(QString, typed);
        SealCode code;
        QVERIFY(!parseSeal(typed, code));
    }

    // The seal holds while nothing of the customer changed, whatever others do; a changed entry of
    // his is listed, and so is a change of the whole book.
    void changesSinceTheBill()
    {
        Book b;
        const QString code = b.seal(Somchai);
        QVERIFY(code.startsWith(QStringLiteral("0005-"))); // two customers added, three bets
        QCOMPARE(b.check(QStringLiteral("0005-7KQ2")).verdict, SealCheck::Verdict::Malformed);
        QCOMPARE(b.check(code).verdict, SealCheck::Verdict::Unchanged);
        QCOMPARE(b.check(code).customer, Somchai);

        QVERIFY(b.ledger.enterSheet(QStringLiteral("111-5"), Straight3, Daeng, true).notSaved == 0);
        QCOMPARE(b.check(code).verdict, SealCheck::Verdict::Unchanged);

        QVERIFY(b.ledger.enterSheet(QStringLiteral("456-30"), Straight3, Somchai, true).notSaved == 0);
        const SealCheck changed = b.check(code);
        QCOMPARE(changed.verdict, SealCheck::Verdict::Changed);
        QCOMPARE(changed.changes.size(), size_t(1));
        QVERIFY(changed.lines.last().contains(QStringLiteral("456")));
        QVERIFY(changed.lines.last().contains(QStringLiteral("30")));

        // His new bill holds again, until a payout rate of the type changes.
        const QString again = b.seal(Somchai);
        QVERIFY(again != code);
        QCOMPARE(b.check(again).verdict, SealCheck::Verdict::Unchanged);
        QVERIFY(b.ledger.setCustomerRate(Somchai, Straight3, QStringLiteral("600"), {}).refusal.isEmpty());
        QCOMPARE(b.check(again).verdict, SealCheck::Verdict::Changed);
    }

    // A stake file changed by hand leaves the log as it was: the figures tell.
    void changeOutsideTheProgram()
    {
        Book b;
        const QString code = b.seal(Somchai);
        b.book.stake(Straight3, Somchai, QStringLiteral("999"), 50);
        QCOMPARE(b.check(code).verdict, SealCheck::Verdict::Unlogged);
    }

    // The log itself cut short, or changed before the bill, cannot vouch for it.
    void logTamperedWith()
    {
        Book b;
        const QString code = b.seal(Somchai);
        const QString path = b.ledger.auditLogPath();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.left(bytes.indexOf('\n') + 1));
        file.close();
        QCOMPARE(b.check(code).verdict, SealCheck::Verdict::LogShort);

        QByteArray edited = bytes;
        edited.replace("\t123\t", "\t124\t");
        QVERIFY(edited != bytes);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(edited);
        file.close();
        QCOMPARE(b.check(code).verdict, SealCheck::Verdict::LogBroken);
    }

    // A code that no customer's bill gives at its position is found nowhere.
    void noSuchBill()
    {
        Book b;
        QString code = b.seal(Somchai);
        code.replace(
            5, 4, b.seal(Daeng).mid(5, 4) == QStringLiteral("ZZZZ") ? QStringLiteral("YYYY") : QStringLiteral("ZZZZ"));
        QCOMPARE(b.check(code).verdict, SealCheck::Verdict::NotFound);
    }

    // A customer's slip holds the bets of his newest entry only, with their count and total.
    void entrySlips()
    {
        Book b;
        QVERIFY(b.ledger.enterSheet(QStringLiteral("12-5\r\n34-10"), Top2, Somchai, true).notSaved == 0);
        const EntrySlip slip = entrySlip(b.log(), Somchai);
        QVERIFY(slip.entry > 0);
        QCOMPARE(slip.bets, 2);
        QCOMPARE(slip.total, 15.0);
        QCOMPARE(slip.lines.mid(2, 3),
                 QStringList({QStringLiteral("<2ตัวบน>"), QStringLiteral("12-5"), QStringLiteral("34-10")}));
        // His first entry, asked for by its number, is the straight three.
        const EntrySlip first = entrySlip(b.log(), Somchai, slip.entry - 2);
        QCOMPARE(first.total, 120.0);
        QCOMPARE(entrySlip(b.log(), QStringLiteral("nobody")).lines.last(), NoEntryText);
    }
};

QTEST_GUILESS_MAIN(TestBillSeal)
#include "tst_billseal.moc"
