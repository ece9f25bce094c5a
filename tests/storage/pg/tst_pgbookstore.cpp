// The book on a PostgreSQL server beyond the contract every back end keeps: the versioned tables,
// an entry sent twice, the kept sums, several seats keying the same numbers at once, and a server
// that goes away and comes back. Each run starts its own cluster in a temporary folder.
#include "core/model/types.h"
#include "pgcluster.h"
#include "storage/pg/pgbookstore.h"
#include "storage/pg/pgtexts.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTest>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <libpq-fe.h>
#include <random>
#include <thread>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Top2 = QStringLiteral("2ตัวบน");

// Runs one statement on its own connection and gives back the first value.
QString query(const QString& conninfo, const QString& sql)
{
    PGconn* c = PQconnectdb(conninfo.toUtf8().constData());
    PGresult* r = PQexec(c, sql.toUtf8().constData());
    QString value;
    if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0) value = QString::fromUtf8(PQgetvalue(r, 0, 0));
    if (PQresultStatus(r) != PGRES_TUPLES_OK && PQresultStatus(r) != PGRES_COMMAND_OK)
        value = QStringLiteral("error: ") + QString::fromUtf8(PQresultErrorMessage(r));
    PQclear(r);
    PQfinish(c);
    return value;
}

double total(const QHash<QString, double>& sums)
{
    double t = 0;
    for (double v : sums)
        t += v;
    return t;
}

} // namespace

class TestPgBookStore : public QObject
{
    Q_OBJECT
    PgCluster m_pg;
    int m_made = 0;

    QString freshDatabase()
    {
        const QString db = QStringLiteral("book%1").arg(++m_made);
        if (!m_pg.createDatabase(db)) return {};
        return m_pg.conninfo(db);
    }
    std::unique_ptr<PgBookStore> open(const QString& conninfo)
    {
        QString error;
        auto book = PgBookStore::open(conninfo, &error);
        if (!book) qWarning("%s", qPrintable(error));
        return book;
    }

private slots:
    void initTestCase() { VARNOTH_REQUIRE_CLUSTER(m_pg); }

    void tablesAreVersioned()
    {
        const QString db = freshDatabase();
        QVERIFY(!db.isEmpty());
        {
            auto book = open(db);
            QVERIFY(book);
            QVERIFY(book->addCustomer("a").ok());
        }
        QCOMPARE(query(db, "SELECT version FROM schema_version"), QString::number(PgBookStore::schemaVersion()));
        // Opening again leaves the book as it is.
        auto again = open(db);
        QVERIFY(again);
        QCOMPARE(again->customers(), QStringList{"a"});
        again.reset();

        // A book made by a later program is refused, and left alone.
        const QString newer = QString::number(PgBookStore::schemaVersion() + 1);
        QVERIFY(!query(db, "UPDATE schema_version SET version = " + newer).startsWith("error"));
        QString error;
        QVERIFY(!PgBookStore::open(db, &error));
        QCOMPARE(error, PgNewerSchemaText);
        QCOMPARE(query(db, "SELECT version FROM schema_version"), newer);
        QCOMPARE(query(db, "SELECT count(*) FROM customers"), QString("1"));

        // No server there: a Thai line, not a book.
        QVERIFY(!PgBookStore::open("host=/nonexistent-varnoth dbname=x connect_timeout=2", &error));
        QVERIFY(error.startsWith(PgConnectFailedText));
    }

    // A book of the first version gets the send-out table when opened, and keeps what it held.
    void olderBookIsBroughtUp()
    {
        const QString db = freshDatabase();
        QVERIFY(!db.isEmpty());
        {
            auto book = open(db);
            QVERIFY(book);
            QVERIFY(book->addCustomer("a").ok());
        }
        QVERIFY(!query(db, "DROP TABLE send_out; UPDATE schema_version SET version = 1").startsWith("error"));
        auto book = open(db);
        QVERIFY(book);
        QCOMPARE(query(db, "SELECT version FROM schema_version"), QString::number(PgBookStore::schemaVersion()));
        QCOMPARE(book->customers(), QStringList{"a"});
        auto tx = book->begin();
        tx->addSendOut(Top2, "12", 30);
        QVERIFY(tx->commit().ok());
        QCOMPARE(query(db, "SELECT amount FROM send_out WHERE number = '12'"), QString("30"));
    }

    // A customer added in a transaction is there for its stakes; a name already listed fails the
    // whole commit. A book that holds something refuses a commit that wants it empty.
    void customersJoinInsideATransaction()
    {
        const QString db = freshDatabase();
        auto book = open(db);
        QVERIFY(book);
        QVERIFY(book->addCustomer("a").ok());
        const quint64 at = book->changesEnd();
        {
            auto tx = book->beginEntry({});
            tx->addCustomer("b");
            tx->addStake(Top2, "b", "05", 20);
            const CommitResult r = tx->commit();
            QVERIFY(r.ok());
            QVERIFY(r.changes.customerList);
        }
        QCOMPARE(book->customers(), QStringList({"a", "b"}));
        QCOMPARE(book->keptSums(Top2), (QHash<QString, double>{{"05", 20}}));
        QVERIFY(book->changedSince(at).customerList);
        {
            auto tx = book->beginEntry({});
            tx->addCustomer("c");
            tx->addCustomer("a");
            tx->addStake(Top2, "c", "05", 5);
            const CommitResult r = tx->commit();
            QCOMPARE(r.outcome.status, Status::NameTaken);
        }
        {
            auto tx = book->beginEntry({});
            tx->requireEmptyBook();
            tx->addCustomer("d");
            QCOMPARE(tx->commit().outcome.status, Status::Refused);
        }
        QCOMPARE(book->customers(), QStringList({"a", "b"}));
        QCOMPARE(book->keptSums(Top2), (QHash<QString, double>{{"05", 20}}));
    }

    // A seat that sends an entry again (it lost the connection during the commit) adds nothing, from
    // whichever connection; an entry that failed stored no id and can be sent again.
    void entrySentTwiceIsStoredOnce()
    {
        const QString db = freshDatabase();
        auto seat1 = open(db);
        auto seat2 = open(db);
        QVERIFY(seat1 && seat2);
        QVERIFY(seat1->addCustomer("a").ok());

        auto bad = seat1->beginEntry("seat1-1");
        bad->addStake(Top2, "a", "123", 5); // no such number of the type
        QVERIFY(!bad->commit().ok());

        const QList<PgBookStore*> sending = {seat1.get(), seat2.get(), seat1.get()};
        for (int i = 0; i < sending.size(); ++i) {
            auto tx = sending[i]->beginEntry("seat1-1");
            tx->addStake(Top2, "a", "12", 40);
            tx->addCount(Top2, "12", 1);
            const CommitResult r = tx->commit();
            QVERIFY(r.ok());
            QCOMPARE(tx->alreadyStored(), i > 0);
            QCOMPARE(r.changes.isEmpty(), i > 0);
        }
        QCOMPARE(seat2->stakeSums(Top2, "a"), (QHash<QString, double>{{"12", 40}}));
        QCOMPARE(seat2->keptSums(Top2), (QHash<QString, double>{{"12", 40}}));
        QCOMPARE(query(db, "SELECT count(*) FROM entries"), QString("1"));

        auto resent = seat2->beginEntry("seat1-1");
        resent->addStake(Top2, "a", "12", 40);
        const CommitResult r = resent->commit();
        QVERIFY(r.ok());
        QVERIFY(resent->alreadyStored());
        QVERIFY(r.changes.isEmpty());
    }

    // The kept sums of a type follow every way a stake changes, across customers.
    void keptSumsEqualTheRows()
    {
        auto book = open(freshDatabase());
        QVERIFY(book);
        QVERIFY(book->addCustomer("a").ok());
        QVERIFY(book->addCustomer("b").ok());
        auto tx = book->begin();
        tx->addStake(Top2, "a", "05", 100);
        tx->addStake(Top2, "b", "05", 30);
        tx->setStake(Top2, "a", "05", "20"); // 100 becomes 20
        tx->addStake(Top2, "a", "05", 2.5);
        tx->setStake(Top2, "b", "77", "8");
        QVERIFY(tx->commit().ok());
        auto undo = book->begin();
        undo->addStake(Top2, "b", "77", -8);
        QVERIFY(undo->commit().ok());

        QCOMPARE(book->stakeSums(Top2, "a"), (QHash<QString, double>{{"05", 22.5}}));
        QCOMPARE(book->stakeSums(Top2, "b"), (QHash<QString, double>{{"05", 30}}));
        QCOMPARE(book->keptSums(Top2), (QHash<QString, double>{{"05", 52.5}}));
    }

    // Four seats, each on its own connection, key the same few numbers for the same two customers for
    // three seconds: every bet is there once, the kept sums equal the rows and the counts the bets.
    void fourSeatsKeyTheSameNumbers()
    {
        const QString db = freshDatabase();
        {
            auto book = open(db);
            QVERIFY(book);
            QVERIFY(book->addCustomer("a").ok());
            QVERIFY(book->addCustomer("b").ok());
        }
        const QStringList numbers = {"00", "01", "02", "03", "04", "05", "06", "07"};
        constexpr int Seats = 4;
        struct Tally {
            QHash<QString, double> amounts; // "customer#number"
            QHash<QString, double> counts;
            int bets = 0;
            int failed = 0;
            QString error;
        };
        std::vector<Tally> tallies(Seats);
        std::vector<std::thread> seats;
        std::atomic<bool> stop = false;
        for (int s = 0; s < Seats; ++s)
            seats.emplace_back([&, s] {
                Tally& t = tallies[s];
                QString error;
                auto book = PgBookStore::open(db, &error);
                if (!book) {
                    t.error = error;
                    return;
                }
                std::mt19937 random(s);
                for (int i = 0; !stop; ++i) {
                    // One slip: a bet on two numbers, in an order of the seat's own.
                    const QString customer = random() % 2 ? "a" : "b";
                    const QString n1 = numbers[random() % numbers.size()];
                    const QString n2 = numbers[random() % numbers.size()];
                    const double amount = 1 + random() % 50;
                    auto tx = book->beginEntry(QStringLiteral("seat%1-%2").arg(s).arg(i));
                    tx->addStake(Top2, customer, n1, amount);
                    tx->addCount(Top2, n1, 1);
                    tx->addStake(Top2, customer, n2, amount);
                    tx->addCount(Top2, n2, 1);
                    const CommitResult r = tx->commit();
                    if (!r.ok()) {
                        ++t.failed;
                        t.error = r.outcome.file;
                        continue;
                    }
                    t.amounts[customer + '#' + n1] += amount;
                    t.amounts[customer + '#' + n2] += amount;
                    t.counts[n1] += 1;
                    t.counts[n2] += 1;
                    ++t.bets;
                }
            });
        QThread::sleep(3);
        stop = true;
        for (auto& seat : seats)
            seat.join();

        QHash<QString, double> amounts, counts;
        int bets = 0;
        for (const Tally& t : tallies) {
            QVERIFY2(t.error.isEmpty() && t.failed == 0, qPrintable(t.error));
            QVERIFY(t.bets > 0);
            bets += t.bets;
            for (auto it = t.amounts.cbegin(); it != t.amounts.cend(); ++it)
                amounts[it.key()] += it.value();
            for (auto it = t.counts.cbegin(); it != t.counts.cend(); ++it)
                counts[it.key()] += it.value();
        }
        qInfo("%d entries from %d seats in 3 s", bets, Seats);
        auto book = open(db);
        QVERIFY(book);
        QCOMPARE(query(db, "SELECT count(*) FROM entries"), QString::number(bets));
        QHash<QString, double> kept;
        for (const QString& customer : QStringList{"a", "b"}) {
            const auto sums = book->stakeSums(Top2, customer);
            for (auto it = sums.cbegin(); it != sums.cend(); ++it) {
                QCOMPARE(it.value(), amounts.value(customer + '#' + it.key()));
                kept[it.key()] += it.value();
            }
        }
        QCOMPARE(book->keptSums(Top2), kept);
        QCOMPARE(total(kept), total(amounts));
        for (const AmountLine& l : book->counts(Top2).lines)
            QCOMPARE(l.amount.toDouble(), counts.value(l.number));
    }

    // A seat listening hears of another seat's commit at once, and reads what it changed.
    void otherSeatsCommitsAreHeard()
    {
        const QString db = freshDatabase();
        auto keying = open(db);
        auto watching = open(db);
        QVERIFY(keying && watching);
        QVERIFY(keying->addCustomer("a").ok());
        QVERIFY(keying->addCustomer("b").ok());
        QVERIFY(watching->listen());
        const quint64 at = watching->changesEnd();
        QVERIFY(!watching->takeNotifications(50));

        auto tx = keying->begin();
        tx->addStake(Top2, "b", "31", 15);
        tx->addCount(Top2, "31", 1);
        QVERIFY(tx->commit().ok());
        QElapsedTimer heard;
        heard.start();
        QVERIFY(watching->takeNotifications(1000));
        QVERIFY(heard.elapsed() < 1000);
        const Changes c = watching->changedSince(at);
        QVERIFY(!c.everything);
        QCOMPARE(c.types, QSet<QString>{Top2});
        QCOMPARE(c.customers, QSet<QString>{"b"});
        QCOMPARE(watching->stakeSums(Top2, "b"), (QHash<QString, double>{{"31", 15}}));
        // Each commit is heard once.
        QVERIFY(!watching->takeNotifications(0));
    }

    // A seat killed at any moment leaves each of its entries whole or not there: the kept sums equal
    // the rows, every stored entry has both its stakes and both its counts.
    void seatKilledInsideAnEntry()
    {
        const QString db = freshDatabase();
        {
            auto book = open(db);
            QVERIFY(book);
            QVERIFY(book->addCustomer("a").ok());
        }
        for (int kill = 0; kill < 6; ++kill) {
            QProcess seat;
            seat.start(QCoreApplication::applicationFilePath(), {"--seat", db, QString::number(kill)});
            QVERIFY(seat.waitForReadyRead(10000)); // it has stored its first entry
            QThread::msleep(50 + 37 * kill);
            ::kill(pid_t(seat.processId()), SIGKILL);
            QVERIFY(seat.waitForFinished(5000));
        }
        auto book = open(db);
        QVERIFY(book);
        const int entries = query(db, "SELECT count(*) FROM entries").toInt();
        QVERIFY(entries > 6);
        const auto rows = book->stakeSums(Top2, "a");
        QCOMPARE(book->keptSums(Top2), rows);
        QCOMPARE(total(rows), 2.0 * 10 * entries);
        double counted = 0;
        for (const AmountLine& l : book->counts(Top2).lines)
            counted += l.amount.toDouble();
        QCOMPARE(counted, 2.0 * entries);
    }

    // The server stops: a commit fails and says so, nothing is half stored; when it is back the seat
    // carries on by itself, and the entry it sends again is stored once.
    void serverGoesAndComesBack()
    {
        const QString db = freshDatabase();
        auto book = open(db);
        QVERIFY(book);
        QVERIFY(book->addCustomer("a").ok());
        QVERIFY(m_pg.stop());
        auto lost = book->beginEntry("e1");
        lost->addStake(Top2, "a", "12", 10);
        lost->addCount(Top2, "12", 1);
        const CommitResult r = lost->commit();
        QVERIFY(!r.ok());
        QCOMPARE(r.outcome.status, Status::WriteFailed);
        QVERIFY(book->lastError().startsWith(PgConnectFailedText));
        bool readable = true;
        book->stakeSums(Top2, "a", &readable);
        QVERIFY(!readable);
        // Unreachable is not empty: the stakes are there but could not be read.
        const NumberLines away = book->stakes(Top2, "a");
        QVERIFY(away.exists && !away.readable);
        QVERIFY(!book->counts(Top2).readable);

        QVERIFY2(m_pg.start(), qPrintable(m_pg.why()));
        const CommitResult again = lost->commit();
        QVERIFY(again.ok());
        QVERIFY(!lost->alreadyStored());
        QVERIFY(lost->commit().ok());
        QVERIFY(lost->alreadyStored());
        QCOMPARE(book->stakeSums(Top2, "a"), (QHash<QString, double>{{"12", 10}}));
        QCOMPARE(sumOfCounts(*book, "12"), 1.0);
    }

private:
    static double sumOfCounts(const PgBookStore& book, const QString& number)
    {
        for (const AmountLine& l : book.counts(Top2).lines)
            if (l.number == number) return l.amount.toDouble();
        return -1;
    }
};

// A seat of its own process for the kill test: keys entries of two bets until it is killed, and
// says so once its first entry is stored.
int keySeat(const QString& conninfo, const QString& seat)
{
    QString error;
    auto book = PgBookStore::open(conninfo, &error);
    if (!book) return 1;
    for (int i = 0;; ++i) {
        auto tx = book->beginEntry(seat + '-' + QString::number(i));
        for (const QString& n : {QStringLiteral("10"), QStringLiteral("20")}) {
            tx->addStake(Top2, "a", n, 10);
            tx->addCount(Top2, n, 1);
        }
        if (!tx->commit().ok()) return 1;
        if (i == 0) {
            std::fputs("stored\n", stdout);
            std::fflush(stdout);
        }
    }
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--seat") return keySeat(QString::fromUtf8(argv[2]), argv[3]);
    TestPgBookStore test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_pgbookstore.moc"
