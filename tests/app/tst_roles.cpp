#include "accounts/users.h"
#include "accounts/usertexts.h"
#include "app/Ledger.h"
#include "app/batch.h"
#include "gui/main/session.h"
#include "storage/folder/store.h"
#include "testsupport.h"

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
};

QTEST_GUILESS_MAIN(TestRoles)
#include "tst_roles.moc"
