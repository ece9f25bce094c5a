// The contract suite's bodies run once more, on a book kept on a PostgreSQL server: a cluster started
// for this test, one fresh database per test. A write that fails and a record that cannot be read are
// made by the server itself (a trigger that refuses the write, a view that fails the read).
// Its classes live in an unnamed namespace, which is right for a file compiled once.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsubobject-linkage"
#define main contractSuiteMain
#include "../contract/tst_contract.cpp"
#undef main
#pragma GCC diagnostic pop

#include "pgcluster.h"
#include "storage/pg/pgbookstore.h"

#include <libpq-fe.h>

namespace
{

PgCluster* cluster = nullptr;

class PgBackend : public Backend
{
public:
    PgBackend()
    {
        static int made = 0;
        const QString db = QStringLiteral("book%1").arg(++made);
        if (!cluster->createDatabase(db)) qFatal("%s", qPrintable(cluster->why()));
        QString error;
        m_book = PgBookStore::open(cluster->conninfo(db), &error);
        if (!m_book) qFatal("%s", qPrintable(error));
        m_admin = PQconnectdb(cluster->conninfo(db).toUtf8().constData());
    }
    ~PgBackend() override { PQfinish(m_admin); }
    BookStore& book() override { return *m_book; }
    void addCustomers(const QStringList& names) override
    {
        for (const QString& n : names)
            QVERIFY(m_book->addCustomer(n).ok());
    }
    bool breakCountWrites(const QString& type) override
    {
        return run("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                   "$$ BEGIN RAISE EXCEPTION 'refused'; END $$;"
                   "CREATE TRIGGER refuse BEFORE INSERT OR UPDATE ON counts FOR EACH ROW WHEN (NEW.type = '" +
                   type + "') EXECUTE FUNCTION refuse()");
    }
    void mendWrites() override { run("DROP TRIGGER IF EXISTS refuse ON counts; DROP FUNCTION IF EXISTS refuse()"); }
    void damageStakes(const QString& type, const QString& customer) override
    {
        // The stakes table gives way to a view over it whose rows of this customer and type fail to
        // read (a division by zero), as a damaged record would.
        QVERIFY(run("ALTER TABLE stakes RENAME TO stake_rows;"
                    "CREATE VIEW stakes AS SELECT type, customer, number, CASE WHEN type = '" +
                    type + "' AND customer = '" + customer +
                    "' THEN amount / 0 ELSE amount END AS amount FROM stake_rows"));
    }

private:
    bool run(const QString& sql)
    {
        PGresult* r = PQexec(m_admin, sql.toUtf8().constData());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        if (!ok) qWarning("%s", PQresultErrorMessage(r));
        PQclear(r);
        return ok;
    }

    std::unique_ptr<PgBookStore> m_book;
    PGconn* m_admin = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PgCluster pg;
    if (!pg.available()) {
        qInfo("SKIP  : %s", qPrintable(pg.why()));
        return 77;
    }
    if (!pg.started()) {
        qCritical("the test cluster did not start: %s", qPrintable(pg.why()));
        return 1;
    }
    cluster = &pg;
    TestContract test("postgresql", [] { return std::unique_ptr<Backend>(new PgBackend); });
    return QTest::qExec(&test, argc, argv);
}
