#pragma once
// A PostgreSQL cluster of a test's own: made with Debian's server programs in a temporary folder,
// reachable only through a Unix socket in that folder (no network port), and stopped and removed
// when the object goes, also when the test fails. Run as root, the server runs as the unprivileged
// user `nobody` (the server refuses root), and the folder is handed to it.
//
// The server programs are looked for in VARNOTH_PG_BIN, else /usr/lib/postgresql/15/bin. When they
// are missing, available() is false and the test skips with why(); when they are there but the
// cluster cannot be made or started, started() is false and the test fails with why().

#include <QString>
#include <QTemporaryDir>

namespace varnoth::test
{

class PgCluster
{
public:
    PgCluster();
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    bool available() const { return m_available; }
    bool started() const { return m_started; }
    QString why() const { return m_why; }

    // A libpq connection string for a database of this cluster.
    QString conninfo(const QString& database = QStringLiteral("postgres")) const;
    // Makes an empty database; false (and why()) when it could not.
    bool createDatabase(const QString& name);

    // Stops the server at once (as a crash would) or starts it again.
    bool stop();
    bool start();

private:
    bool run(const QString& program, const QStringList& args, int timeoutMs = 60000);

    QString m_bin;
    QTemporaryDir m_dir;
    bool m_available = false;
    bool m_started = false;
    bool m_asNobody = false;
    QString m_why;
};

} // namespace varnoth::test

// Skips the test when the server programs are missing and fails it when the cluster did not start.
#define VARNOTH_REQUIRE_CLUSTER(cluster)                                                                               \
    do {                                                                                                               \
        if (!(cluster).available()) QSKIP(qPrintable((cluster).why()));                                               \
        QVERIFY2((cluster).started(), qPrintable((cluster).why()));                                                   \
    } while (false)
