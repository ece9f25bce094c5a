#include "accounts/bill.h"
#include "accounts/drawhistory.h"
#include "accounts/users.h"
#include "accounts/usertexts.h"
#include "app/Ledger.h"
#include "app/batch.h"
#include "entry/rulemarks.h"
#include "gui/main/session.h"
#include "storage/folder/store.h"
#include "tools/records.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Two = QStringLiteral("2ตัวบน");
const QString Somchai = QStringLiteral("somchai");
const QString Owner = QStringLiteral("เจ๊หมวย");
const QString Keyer = QStringLiteral("แดง");
const QString OwnerPin = QStringLiteral("9876");
const QString KeyerPin = QStringLiteral("1234");

struct Fixture {
    TempBook book;
    Session session;
    Ledger ledger{*book.store, session};

    // The owner makes the book's users and keys one bet; then the keyer sits down.
    Fixture()
    {
        ledger.prepareCustomer(Somchai);
        QVERIFY(ledger.addUser(Owner, Role::Owner, OwnerPin).ok());
        QVERIFY(ledger.addUser(Keyer, Role::Keyer, KeyerPin).ok());
        enter("12", "100");
        QVERIFY(ledger.signIn(Keyer, KeyerPin).ok());
    }
    EntryResult enter(const QString& number, const QString& amount)
    {
        return ledger.enterPlan(planFieldEntry({}, number, amount, Two, Somchai).plan, Somchai);
    }
    QString lastAuditLine() const
    {
        const QStringList lines = QString::fromUtf8(book.bytes(QStringLiteral("audit.log"))).split(
            QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        return lines.isEmpty() ? QString() : lines.last();
    }
    BatchResult job(BatchOptions o, const QString& user, const QString& pin)
    {
        o.user = user;
        o.pin = pin;
        ledger.signOut();
        return runBatch(ledger, o);
    }
};

} // namespace

class TestRoles : public QObject
{
    Q_OBJECT
private slots:
    // Every owner-only call of the ledger refuses a keyer with the owner line and leaves every file as it
    // was; the owner's PIN lets exactly one through, logged under the owner with the keyer beside him.
    void keyerRefusedOwnerActs()
    {
        Fixture f;
        const auto before = folderBytes(f.book.folder());
        QCOMPARE(f.ledger.saveResult({"654321", "111", "222", "333", "444", "21"}).outcome.status, Status::NeedsOwner);
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("x")).outcome.status, Status::NeedsOwner);
        QCOMPARE(f.ledger.removeCustomer(Somchai).outcome.status, Status::NeedsOwner);
        QCOMPARE(f.ledger.setNumberRule({Two, "12", RuleKind::Closed, 0, false}).outcome.status, Status::NeedsOwner);
        QCOMPARE(f.ledger.clearNumberRules().outcome.status, Status::NeedsOwner);
        QCOMPARE(f.ledger.setCustomerRate(Somchai, Two, "500", "10").refusal, NeedsOwnerText);
        QCOMPARE(f.ledger.recordPayment(Somchai, "50").refusal, NeedsOwnerText);
        QCOMPARE(f.ledger.newDraw().outcome.status, Status::NeedsOwner);
        QVERIFY(!f.ledger.fullRestore(f.book.dir.path()).done());
        QCOMPARE(f.ledger.restore(f.book.dir.path()).outcome.status, Status::NeedsOwner);
        QCOMPARE(f.ledger.addUser("x", Role::Keyer, "5555").outcome.status, Status::NeedsOwner);
        QCOMPARE(f.ledger.resetPin(Owner, "5555").lines, QStringList{NeedsOwnerText});
        QCOMPARE(f.ledger.addDealer(QStringLiteral("เฮียใหญ่"), {}).outcome.status, Status::NeedsOwner);
        // The owner's step is another user's: not his to take back.
        QCOMPARE(f.ledger.undo().outcome.status, Status::NeedsOwner);
        QCOMPARE(folderBytes(f.book.folder()), before);

        // A keyer's PIN is no owner's.
        QVERIFY(!f.ledger.allowOnce(Keyer, KeyerPin).ok());
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("x")).outcome.status, Status::NeedsOwner);
        QVERIFY(f.ledger.allowOnce(Owner, OwnerPin).ok());
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("ร้านเจ๊")).outcome.status, Status::Ok);
        QVERIFY(f.lastAuditLine().contains(OwnerAtSeatText.arg(Owner, Keyer)));
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("y")).outcome.status, Status::NeedsOwner);
        // Back to the keyer's own name on his next line.
        QVERIFY(f.enter("34", "20").changes.size() == 1);
        QVERIFY(f.lastAuditLine().contains(Keyer));
        QVERIFY(!f.lastAuditLine().contains(Owner));
    }

    // A keyer takes back his own entries until the result is saved; after that only the owner does.
    void keyerTakesBackHisOwn()
    {
        Fixture f;
        const auto before = folderBytes(f.book.folder());
        const QString stakes = Store::fileName(f.book.store->StakeFilePath(Two, Somchai));
        QCOMPARE(f.enter("34", "20").changes.size(), 1);
        QVERIFY(f.ledger.undo().outcome.status != Status::NeedsOwner);
        QCOMPARE(folderBytes(f.book.folder()).value(stakes), before.value(stakes));
        QVERIFY(f.ledger.redo().outcome.status != Status::NeedsOwner);
        QVERIFY(folderBytes(f.book.folder()).value(stakes) != before.value(stakes));
        QVERIFY(f.ledger.signIn(Owner, OwnerPin).ok());
        QCOMPARE(f.ledger.saveResult({"654321", "111", "222", "333", "444", "21"}).outcome.status, Status::Ok);
        QVERIFY(f.ledger.signIn(Keyer, KeyerPin).ok());
        QCOMPARE(f.ledger.undo().outcome.status, Status::NeedsOwner);
    }

    // A step the owner's PIN allowed at the keyer's seat is the owner's: the keyer cannot take it back.
    void ownerAllowedStepIsNotTheKeyers()
    {
        Fixture f; // the owner keyed 12-100
        QVERIFY(f.ledger.allowOnce(Owner, OwnerPin).ok());
        QVERIFY(f.ledger.deleteRecord({"12", "100", Two, Somchai, "12", "100"}).written);
        const auto deleted = folderBytes(f.book.folder());
        QCOMPARE(f.ledger.undo().outcome.status, Status::NeedsOwner);
        QCOMPARE(folderBytes(f.book.folder()), deleted);
        QVERIFY(f.ledger.allowOnce(Owner, OwnerPin).ok());
        QVERIFY(f.ledger.undo().outcome.status != Status::NeedsOwner);
        QVERIFY(folderBytes(f.book.folder()) != deleted);
    }

    // In batch: a job refused for the role exits 1 and changes nothing; the owner's runs; nobody signed in
    // in a book with users runs only reading jobs; a wrong PIN is refused.
    void batchRoles()
    {
        Fixture f;
        BatchOptions draw;
        draw.job = BatchJob::NewDraw;
        draw.confirmed = true;
        const auto before = folderBytes(f.book.folder());
        QCOMPARE(f.job(draw, Keyer, KeyerPin).exitCode, BatchRefused);
        QCOMPARE(f.job(draw, QString(), QString()).exitCode, BatchRefused);
        QCOMPARE(f.job(draw, Owner, QStringLiteral("0000")).exitCode, BatchRefused);
        BatchOptions add;
        add.job = BatchJob::AddUser;
        add.userName = QStringLiteral("ต้อย");
        add.role = QStringLiteral("keyer");
        add.newPin = QStringLiteral("4321");
        QCOMPARE(f.job(add, Keyer, KeyerPin).exitCode, BatchRefused);
        // Only the wrong PIN's count changed.
        auto after = folderBytes(f.book.folder());
        after.remove(UsersFileName);
        auto expected = before;
        expected.remove(UsersFileName);
        QCOMPARE(after, expected);

        BatchOptions view;
        view.job = BatchJob::View;
        QCOMPARE(f.job(view, QString(), QString()).exitCode, BatchRan);
        QCOMPARE(f.job(add, Owner, OwnerPin).exitCode, BatchRan);
        QVERIFY(f.ledger.users().find(QStringLiteral("ต้อย")));
        QCOMPARE(f.job(draw, Owner, OwnerPin).exitCode, BatchRan);
        // The users are the shop's: the new draw kept them.
        QCOMPARE(f.ledger.users().items.size(), 3);
    }

    // Five wrong PINs lock the keyer, logged; the clock the ledger is given decides when it ends.
    void lockoutThroughTheLedger()
    {
        Fixture f;
        QDateTime now(QDate(2026, 12, 1), QTime(20, 0));
        f.ledger.setClock([&] { return now; });
        f.ledger.signOut();
        for (int i = 0; i < MaxWrongPins; ++i)
            QVERIFY(!f.ledger.signIn(Keyer, QStringLiteral("0000")).ok());
        QVERIFY(f.lastAuditLine().contains(QStringLiteral("locked")));
        QCOMPARE(f.ledger.signIn(Keyer, KeyerPin).status, PinCheck::Locked);
        now = now.addSecs(LockMinutes * 60);
        QVERIFY(f.ledger.signIn(Keyer, KeyerPin).ok());
    }

    // A users file that cannot be read refuses every change, entries too, and reads go on.
    void damagedUsersFileRefusesChanges()
    {
        Fixture f;
        f.book.put(UsersFileName, QString::fromLatin1(f.book.bytes(UsersFileName)) + QStringLiteral("?\r\n"));
        const auto before = folderBytes(f.book.folder());
        QCOMPARE(f.enter("56", "10").lines.last(), UsersDamagedText + UsersFileName);
        QVERIFY(!f.ledger.allowOnce(Owner, OwnerPin).ok());
        QCOMPARE(folderBytes(f.book.folder()), before);
        BatchOptions view;
        view.job = BatchJob::View;
        QCOMPARE(runBatch(f.ledger, view).exitCode, BatchRan);
    }

    // Where a window asks the owner's PIN on the spot, a refused act asks once and then goes ahead, logged
    // under the owner; the PIN covers the further calls of that act only, and an act the keyer may do
    // never asks.
    void ownersPinOnTheSpot()
    {
        Fixture f;
        int asked = 0;
        QString answer; // the PIN the owner gives, "" for none
        f.ledger.setOwnerPrompt([&] {
            ++asked;
            return !answer.isEmpty() && f.ledger.allowOnce(Owner, answer).ok();
        });
        const auto before = folderBytes(f.book.folder());
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("x")).outcome.status, Status::NeedsOwner);
        QCOMPARE(asked, 1);
        answer = QStringLiteral("0000");
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("x")).outcome.status, Status::NeedsOwner);
        QCOMPARE(asked, 2);
        auto after = folderBytes(f.book.folder());
        after.remove(UsersFileName); // the wrong PIN is counted
        auto expected = before;
        expected.remove(UsersFileName);
        QCOMPARE(after, expected);

        answer = OwnerPin;
        QCOMPARE(f.enter("34", "20").changes.size(), 1);
        QCOMPARE(asked, 2);
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("ร้านเจ๊")).outcome.status, Status::Ok);
        QCOMPARE(asked, 3);
        QVERIFY(f.lastAuditLine().contains(OwnerAtSeatText.arg(Owner, Keyer)));
        // The same act goes on without asking again ...
        QCOMPARE(f.ledger.setOption(QStringLiteral("ceiling"), QStringLiteral("5000")).outcome.status, Status::Ok);
        QCOMPARE(asked, 3);
        QVERIFY(f.lastAuditLine().contains(OwnerAtSeatText.arg(Owner, Keyer)));
        // ... until the program waits for the operator again.
        QCoreApplication::processEvents();
        answer.clear();
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("y")).outcome.status, Status::NeedsOwner);
        QCOMPARE(asked, 4);
        QCOMPARE(f.ledger.seatUser(), Keyer);
    }

    // A new draw that also clears the rules, allowed by the owner's PIN at a keyer's seat, clears them:
    // the clearing is part of the draw, not another act refused on its own.
    void newDrawWithTheOwnersPinClearsTheRules()
    {
        Fixture f;
        QVERIFY(f.ledger.signIn(Owner, OwnerPin).ok());
        QVERIFY(f.ledger.setNumberRule({Two, "12", RuleKind::Closed, 0, false}).changed());
        QVERIFY(f.ledger.signIn(Keyer, KeyerPin).ok());
        QVERIFY(f.ledger.allowOnce(Owner, OwnerPin).ok());
        const NewDrawResult draw = f.ledger.newDraw(true);
        QVERIFY(draw.done);
        QVERIFY2(!draw.lines.contains(NeedsOwnerText), qPrintable(draw.lines.join('|')));
        QVERIFY(f.ledger.signIn(Owner, OwnerPin).ok());
        QVERIFY(f.ledger.clearNumberRules().removed.isEmpty());
    }

    // Each bet stored at a keyer's seat names him on its list line, after its marks, which still read
    // as before; a bet left out names nobody, and a record picked from the list is the bet itself.
    void keyerOnTheListLines()
    {
        Fixture f;
        QVERIFY(f.ledger.signIn(Owner, OwnerPin).ok());
        QVERIFY(f.ledger.setNumberRule({Two, "56", RuleKind::Pay, 50, false}).changed());
        QVERIFY(f.ledger.setNumberRule({Two, "78", RuleKind::Closed, 0, false}).changed());
        QVERIFY(f.ledger.signIn(Keyer, KeyerPin).ok());
        const EntryResult plain = f.enter("34", "20");
        QCOMPARE(plain.storedLines.size(), 1);
        QCOMPARE(plain.lines.value(plain.storedLines.first()), QStringLiteral("34-20  (คีย์ แดง)"));
        const EntryResult marked = f.enter("56", "10");
        const QString line = marked.lines.value(marked.storedLines.value(0));
        QVERIFY2(line.endsWith(KeyerTagText.arg(Keyer)), qPrintable(line));
        QCOMPARE(ruleMarkOf(line), RuleMarkKind::PayPercent);
        QCOMPARE(selectedRowText(plain.lines.value(plain.storedLines.first())), QStringLiteral("34-20"));
        QVERIFY(isRecordRow(selectedRowText(plain.lines.value(plain.storedLines.first()))));
        const EntryResult closed = f.enter("78", "10");
        QVERIFY(closed.storedLines.isEmpty());
        for (const QString& l : closed.lines)
            QVERIFY2(!l.contains(Keyer), qPrintable(l));
    }

    // A bill names who keyed each bet whose entries still stand, first keyed first; an entry taken back
    // names nobody. Without the users file the same bill is the one it always was.
    void keyerOnTheBill()
    {
        Fixture f;
        const QString Toy = QStringLiteral("ต้อย");
        QVERIFY(f.ledger.signIn(Owner, OwnerPin).ok());
        QVERIFY(f.ledger.addUser(Toy, Role::Keyer, QStringLiteral("4321")).ok());
        QVERIFY(f.ledger.signIn(Keyer, KeyerPin).ok());
        f.enter("34", "20");
        f.enter("78", "5");
        QVERIFY(f.ledger.signIn(Toy, QStringLiteral("4321")).ok());
        f.enter("34", "30");
        f.enter("78", "7");
        f.enter("90", "15");
        f.ledger.undo(); // his 90 goes
        f.ledger.undo(); // and his 78
        const Statement s = statementOf(*f.book.store, Somchai, {});
        QCOMPARE(s.bill.types.size(), 1);
        QStringList rows;
        for (const BillBet& b : s.bill.types.first().bets)
            rows << betRow(b);
        QCOMPARE(rows, QStringList({QStringLiteral("12-100  (คีย์ เจ๊หมวย)"), QStringLiteral("34-50  (คีย์ แดง, ต้อย)"),
                                    QStringLiteral("78-5  (คีย์ แดง)")}));
        const QStringList named = billLines(s);
        QVERIFY(named.contains(rows[1]));
        // Every customer's bill at once names them the same.
        const QList<Statement> all = allStatements(*f.book.store, {});
        QCOMPARE(all.size(), 1);
        QCOMPARE(billLines(all.first()), named);

        QVERIFY(QFile::remove(f.book.store->path(UsersFileName)));
        const QStringList plain = billLines(statementOf(*f.book.store, Somchai, {}));
        QStringList stripped;
        for (const QString& l : named)
            stripped << withoutKeyers(l).toString();
        QCOMPARE(plain, stripped);
        QVERIFY(plain.contains(QStringLiteral("34-50")));
    }

    // A book without users lists its bets as it always did.
    void noUsersNoNames()
    {
        TempBook book;
        Session session;
        Ledger ledger(*book.store, session);
        ledger.prepareCustomer(Somchai);
        const EntryResult r = ledger.enterPlan(planFieldEntry({}, "12", "100", Two, Somchai).plan, Somchai);
        QCOMPARE(r.lines.value(r.storedLines.value(0, -1)), QStringLiteral("12-100"));
        QVERIFY(!billLines(statementOf(*book.store, Somchai, {})).join('|').contains(KeyerTagText.left(4)));
    }

    // A keyer corrects a record himself only while its stake is his alone and the result is not saved:
    // not the owner's number, not a number the owner edited, not one moved onto another's stake.
    void keyerCorrectsHisOwnRecords()
    {
        Fixture f; // the owner keyed 12-100
        QCOMPARE(f.enter("34", "20").changes.size(), 1);
        QCOMPARE(f.enter("56", "30").changes.size(), 1);
        const auto before = folderBytes(f.book.folder());
        QVERIFY(f.ledger.editRecord({"12", "50", Two, Somchai, "12", "100"}).lines.contains(NeedsOwnerText));
        QVERIFY(f.ledger.editRecord({"12", "20", Two, Somchai, "34", "20"}).lines.contains(NeedsOwnerText));
        QCOMPARE(folderBytes(f.book.folder()), before);

        QVERIFY(f.ledger.editRecord({"34", "25", Two, Somchai, "34", "20"}).written);
        QVERIFY(f.lastAuditLine().contains(Keyer));
        QVERIFY(f.ledger.editRecord({"78", "25", Two, Somchai, "34", "25"}).written); // onto a number nobody keyed
        QVERIFY(f.ledger.undo().outcome.status != Status::NeedsOwner); // and takes the move back
        QVERIFY(f.ledger.deleteRecord({"34", "25", Two, Somchai, "34", "25"}).written);

        QVERIFY(f.ledger.signIn(Owner, OwnerPin).ok());
        QVERIFY(f.ledger.editRecord({"56", "35", Two, Somchai, "56", "30"}).written);
        QVERIFY(f.ledger.signIn(Keyer, KeyerPin).ok());
        QVERIFY(f.ledger.editRecord({"56", "30", Two, Somchai, "56", "35"}).lines.contains(NeedsOwnerText));

        QCOMPARE(f.enter("90", "10").changes.size(), 1);
        QVERIFY(f.ledger.signIn(Owner, OwnerPin).ok());
        QCOMPARE(f.ledger.saveResult({"654321", "111", "222", "333", "444", "21"}).outcome.status, Status::Ok);
        QVERIFY(f.ledger.signIn(Keyer, KeyerPin).ok());
        QVERIFY(f.ledger.deleteRecord({"90", "10", Two, Somchai, "90", "10"}).lines.contains(NeedsOwnerText));
    }
};

QTEST_GUILESS_MAIN(TestRoles)
#include "tst_roles.moc"
