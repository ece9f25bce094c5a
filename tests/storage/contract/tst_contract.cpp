// What every keeper of a book must do behind BookStore and BookTransaction, run once for each back
// end: deltas add up, a failed commit changes nothing, a commit names what it changed, and damaged
// stakes are reported and never written over with less.
#include "core/book/bookstore.h"
#include "core/model/types.h"
#include "memorybookstore.h"
#include "storage/folder/folderbookstore.h"
#include "storage/folder/intent.h"
#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <functional>
#include <unistd.h>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight3 = QStringLiteral("3ตัวตรง");
const QString Top2 = QStringLiteral("2ตัวบน");

// A book to test and the faults a test may plant in it.
class Backend
{
public:
    virtual ~Backend() = default;
    virtual BookStore& book() = 0;
    // Makes a book with these customers, in this order.
    virtual void addCustomers(const QStringList& names) = 0;
    // Makes every later write of the type's counts fail; false when this back end cannot here.
    virtual bool breakCountWrites(const QString& type) = 0;
    virtual void mendWrites() = 0;
    // Leaves the customer's stakes of the type there but unreadable.
    virtual void damageStakes(const QString& type, const QString& customer) = 0;
};

class FolderBackend : public Backend
{
public:
    FolderBackend() : m_book(*m_temp.store) {}
    ~FolderBackend() override { mendWrites(); }
    BookStore& book() override { return m_book; }
    void addCustomers(const QStringList& names) override
    {
        for (const QString& n : names)
            QVERIFY(m_temp.store->creationSequence(n).isEmpty());
    }
    bool breakCountWrites(const QString& type) override
    {
        // An immutable file cannot be replaced, even by root; without root the folder goes read-only,
        // which breaks every write.
        m_locked = m_temp.store->TypeFilePath(type, Store::CountPrefix);
        if (geteuid() == 0) return QProcess::execute("chattr", {"+i", m_locked}) == 0;
        m_locked = m_temp.folder();
        return QFile::setPermissions(m_locked, QFile::ReadOwner | QFile::ExeOwner);
    }
    void mendWrites() override
    {
        if (m_locked.isEmpty()) return;
        if (geteuid() == 0)
            QProcess::execute("chattr", {"-i", m_locked});
        else
            QFile::setPermissions(m_locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_locked.clear();
    }
    void damageStakes(const QString& type, const QString& customer) override
    {
        // A link in the file's place is never read nor written through.
        const QString path = m_temp.store->StakeFilePath(type, customer);
        QFile::rename(path, path + ".away");
        QVERIFY(QFile::link(path + ".away", path));
    }

private:
    TempBook m_temp;
    FolderBookStore m_book;
    QString m_locked;
};

class MemoryBackend : public Backend
{
public:
    BookStore& book() override { return m_book; }
    void addCustomers(const QStringList& names) override
    {
        for (const QString& n : names)
            m_book.addCustomer(n);
    }
    bool breakCountWrites(const QString& type) override
    {
        m_book.failingCounts.insert(type);
        return true;
    }
    void mendWrites() override { m_book.failingCounts.clear(); }
    void damageStakes(const QString& type, const QString& customer) override
    {
        m_book.damaged.insert(type + '#' + customer);
    }

private:
    MemoryBookStore m_book;
};

using Factory = std::function<std::unique_ptr<Backend>()>;

double sumOf(const NumberLines& lines, const QString& number)
{
    double sum = 0;
    for (const AmountLine& l : lines.lines)
        if (l.number == number) sum += l.amount.toDouble();
    return sum;
}

} // namespace

class TestContract : public QObject
{
    Q_OBJECT
public:
    TestContract(QString name, Factory make) : m_name(std::move(name)), m_make(std::move(make)) {}

private:
    QString m_name;
    Factory m_make;

private slots:
    void initTestCase() { qInfo("back end: %s", qPrintable(m_name)); }

    void customersInListOrder()
    {
        auto b = m_make();
        b->addCustomers({"somchai", "daeng", "x"});
        QCOMPARE(b->book().customers(), QStringList({"somchai", "daeng", "x"}));
        QVERIFY(b->book().customersListedTwice().isEmpty());
        // A fresh book lists every number of the type once, at nothing.
        const NumberLines fresh = b->book().stakes(Top2, "daeng");
        QVERIFY(fresh.exists && fresh.readable);
        QCOMPARE(fresh.lines.size(), NumberSet(Top2).size());
        QCOMPARE(fresh.lines.first(), (AmountLine{"00", "0"}));
        QVERIFY(b->book().stakeSums(Top2, "daeng").isEmpty());
    }

    void deltasAddUp()
    {
        auto b = m_make();
        b->addCustomers({"a", "b"});
        for (int round = 0; round < 2; ++round) {
            auto tx = b->book().begin();
            tx->addStake(Straight3, "a", "123", 100);
            tx->addStake(Straight3, "a", "123", 50); // twice in one commit
            tx->addCount(Straight3, "123", 2);
            tx->addStake(Top2, "b", "05", 20);
            tx->addCount(Top2, "05", 1);
            QVERIFY(tx->commit().ok());
        }
        auto undo = b->book().begin();
        undo->addStake(Top2, "b", "05", -20);
        undo->addCount(Top2, "05", -1);
        QVERIFY(undo->commit().ok());

        QCOMPARE(b->book().stakeSums(Straight3, "a"), (QHash<QString, double>{{"123", 300}}));
        QCOMPARE(sumOf(b->book().stakes(Straight3, "a"), "123"), 300.0);
        QCOMPARE(sumOf(b->book().counts(Straight3), "123"), 4.0);
        QCOMPARE(b->book().stakeSums(Top2, "b"), (QHash<QString, double>{{"05", 20}}));
        QCOMPARE(sumOf(b->book().counts(Top2), "05"), 1.0);
        QVERIFY(b->book().stakeSums(Straight3, "b").isEmpty());
    }

    // Every way a commit can fail leaves the book as it was: stakes, counts and settings.
    void failedCommitChangesNothing_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("number without a line") << 0;
        QTest::newRow("customer not in the book") << 1;
        QTest::newRow("count write fails after the stake") << 2;
    }
    void failedCommitChangesNothing()
    {
        QFETCH(int, fault);
        auto b = m_make();
        b->addCustomers({"a"});
        {
            auto tx = b->book().begin();
            tx->addStake(Straight3, "a", "777", 10);
            tx->addCount(Straight3, "777", 1);
            QVERIFY(tx->commit().ok());
        }
        const auto stakes = b->book().stakes(Straight3, "a").lines;
        const auto counts = b->book().counts(Straight3).lines;
        const auto result = b->book().settingLines(BookSetting::Result).lines;

        auto tx = b->book().begin();
        tx->setSettingLines(BookSetting::Result, {"3ตัวตรง#123"});
        tx->addStake(Straight3, "a", "123", 100);
        if (fault == 0) tx->addStake(Straight3, "a", "1234", 5);
        if (fault == 1) tx->addStake(Straight3, "nobody", "123", 5);
        tx->addCount(Straight3, "123", 1);
        if (fault == 2 && !b->breakCountWrites(Straight3)) QSKIP("cannot make a write fail here");
        const CommitResult r = tx->commit();
        b->mendWrites();

        QVERIFY(!r.ok());
        QVERIFY(!r.failed.isEmpty());
        QVERIFY(r.changes.isEmpty());
        QCOMPARE(b->book().stakes(Straight3, "a").lines, stakes);
        QCOMPARE(b->book().counts(Straight3).lines, counts);
        QCOMPARE(b->book().settingLines(BookSetting::Result).lines, result);

        // The book takes the next commit as if nothing had happened.
        auto again = b->book().begin();
        again->addStake(Straight3, "a", "123", 100);
        again->addCount(Straight3, "123", 1);
        QVERIFY(again->commit().ok());
        QCOMPARE(b->book().stakeSums(Straight3, "a").value("123"), 100.0);
        QCOMPARE(sumOf(b->book().counts(Straight3), "123"), 1.0);
    }

    // What was sent on adds up per number of the type, apart from the stakes and counts, and a number
    // the type has no line for fails the whole commit.
    void sendOutLinesAddUp()
    {
        auto b = m_make();
        b->addCustomers({"a"});
        QCOMPARE(b->book().sendOut(Top2).lines.size(), NumberSet(Top2).size());
        QCOMPARE(sumOf(b->book().sendOut(Top2), "12"), 0.0);
        for (int round = 0; round < 2; ++round) {
            auto tx = b->book().begin();
            tx->addSendOut(Top2, "12", 150);
            tx->addSendOut(Straight3, "123", 20.5);
            const CommitResult r = tx->commit();
            QVERIFY(r.ok());
            QCOMPARE(r.changes.types, QSet<QString>({Top2, Straight3}));
            QVERIFY(r.changes.customers.isEmpty());
        }
        auto bad = b->book().begin();
        bad->addSendOut(Top2, "12", 1);
        bad->addSendOut(Top2, "123", 1);
        QVERIFY(!bad->commit().ok());

        QCOMPARE(sumOf(b->book().sendOut(Top2), "12"), 300.0);
        QCOMPARE(sumOf(b->book().sendOut(Straight3), "123"), 41.0);
        QVERIFY(b->book().stakeSums(Top2, "a").isEmpty());
        QCOMPARE(sumOf(b->book().counts(Top2), "12"), 0.0);
    }

    void changesNameWhatChanged()
    {
        auto b = m_make();
        b->addCustomers({"a", "b"});
        auto tx = b->book().begin();
        tx->addStake(Top2, "b", "12", 5);
        tx->addCount(Top2, "12", 1);
        tx->setSettingLines(BookSetting::Limit, {"2ตัวบน#500"});
        const CommitResult r = tx->commit();
        QVERIFY(r.ok());
        QVERIFY(!r.changes.everything);
        QCOMPARE(r.changes.types, QSet<QString>({Top2}));
        QCOMPARE(r.changes.customers, QSet<QString>({"b"}));
        QVERIFY(r.changes.hasSetting(BookSetting::Limit));
        QVERIFY(!r.changes.hasSetting(BookSetting::Result));
        QVERIFY(!r.changes.customerList);
        QCOMPARE(b->book().settingLines(BookSetting::Limit).lines, QStringList({"2ตัวบน#500"}));

        // A commit that changes nothing names nothing.
        auto none = b->book().begin();
        const CommitResult empty = none->commit();
        QVERIFY(empty.ok());
        QVERIFY(empty.changes.isEmpty());
    }

    void changesSinceAPosition()
    {
        auto b = m_make();
        b->addCustomers({"a", "b"});
        const quint64 at = b->book().changesEnd();
        auto tx = b->book().begin();
        tx->addStake(Straight3, "a", "123", 5);
        tx->addCount(Straight3, "123", 1);
        QVERIFY(tx->commit().ok());
        const Changes c = b->book().changedSince(at);
        // Exactly, or "everything" where the position cannot be followed: never a change left out.
        QVERIFY(c.hasType(Straight3));
        QVERIFY(c.hasCustomer("a"));
        if (!c.everything) QVERIFY(!c.hasCustomer("b"));
    }

    void damagedStakesAreReportedAndKept()
    {
        auto b = m_make();
        b->addCustomers({"a", "b"});
        {
            auto tx = b->book().begin();
            tx->addStake(Straight3, "a", "123", 40);
            QVERIFY(tx->commit().ok());
        }
        b->damageStakes(Straight3, "a");
        const NumberLines lines = b->book().stakes(Straight3, "a");
        QVERIFY(lines.exists);
        QVERIFY(!lines.readable);
        bool readable = true;
        b->book().stakeSums(Straight3, "a", &readable);
        QVERIFY(!readable);

        auto tx = b->book().begin();
        tx->addStake(Straight3, "a", "123", 10);
        tx->addCount(Straight3, "123", 1);
        const CommitResult r = tx->commit();
        QVERIFY(!r.ok());
        QCOMPARE(r.outcome.status, Status::ReadFailed);
        // Still there and still unreadable: nothing fresh was written in its place.
        QVERIFY(!b->book().stakes(Straight3, "a").readable);
        QCOMPARE(sumOf(b->book().counts(Straight3), "123"), 0.0);
        // The other customers are untouched by it.
        QVERIFY(b->book().stakes(Straight3, "b").readable);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QList<std::pair<QString, Factory>> backends = {
        {"folder", [] { return std::unique_ptr<Backend>(new FolderBackend); }},
        {"memory", [] { return std::unique_ptr<Backend>(new MemoryBackend); }},
    };
    int failed = 0;
    for (const auto& [name, make] : backends) {
        TestContract test(name, make);
        failed += QTest::qExec(&test, argc, argv);
    }
    return failed;
}

#include "tst_contract.moc"
