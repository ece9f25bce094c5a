#include "pgcluster.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <pwd.h>
#include <unistd.h>

namespace varnoth::test
{

namespace
{
const QString Superuser = QStringLiteral("varnoth");
}

PgCluster::PgCluster() : m_dir(QStringLiteral("/tmp/varnoth-pg-XXXXXX"))
{
    m_bin = qEnvironmentVariable("VARNOTH_PG_BIN", QStringLiteral("/usr/lib/postgresql/15/bin"));
    if (!QFileInfo(m_bin + "/initdb").isExecutable() || !QFileInfo(m_bin + "/pg_ctl").isExecutable()) {
        m_why = QStringLiteral("no PostgreSQL server programs in %1 (install the postgresql package, or set "
                               "VARNOTH_PG_BIN): the PostgreSQL tests are skipped")
                    .arg(m_bin);
        return;
    }
    m_available = true;
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("cannot make a temporary folder for the cluster");
        return;
    }
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (!nobody || chown(QFile::encodeName(m_dir.path()).constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
            m_why = QStringLiteral("running as root, and the cluster's folder cannot be given to the user nobody");
            return;
        }
        m_asNobody = true;
    }
    // Only the folder's owner (and root) can reach the socket, so local connections need no password.
    if (!run(m_bin + "/initdb", {"-D", m_dir.path() + "/data", "-U", Superuser, "--auth=trust", "--no-sync",
                                 "--encoding=UTF8", "--locale=C.UTF-8"})) {
        m_why.prepend(QStringLiteral("initdb failed: "));
        return;
    }
    m_started = start();
    if (!m_started) return;
    // Should the test itself die (a crash, an abort), a watcher stops the server and removes the
    // folder once the test's process is gone, so that no server outlives its test.
    const QString watch = QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 1; done; "
                                         "%2'%3/pg_ctl' -D '%4/data' -m immediate -w stop >/dev/null 2>&1; rm -rf '%4'")
                              .arg(QCoreApplication::applicationPid())
                              .arg(m_asNobody ? QStringLiteral("runuser -u nobody -- ") : QString(), m_bin,
                                   m_dir.path());
    QProcess::startDetached("sh", {"-c", watch});
}

PgCluster::~PgCluster()
{
    if (m_started) stop();
}

bool PgCluster::run(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_dir.path());
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_asNobody)
        p.start("runuser", QStringList{"-u", "nobody", "--", program} + args);
    else
        p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (p.state() != QProcess::NotRunning) p.kill();
        m_why = QString::fromLocal8Bit(p.readAll()).trimmed();
        if (m_why.isEmpty()) m_why = p.errorString();
        return false;
    }
    return true;
}

bool PgCluster::start()
{
    // No TCP port: the socket lies in the cluster's own folder. fsync is off, as nothing here outlives
    // the test.
    const QString options = QStringLiteral("-c listen_addresses='' -k %1 -F -c shared_buffers=16MB "
                                           "-c max_connections=40")
                                .arg(m_dir.path());
    m_started = run(m_bin + "/pg_ctl", {"-D", m_dir.path() + "/data", "-l", m_dir.path() + "/server.log", "-w",
                                        "-t", "60", "-o", options, "start"});
    if (!m_started) {
        QFile log(m_dir.path() + "/server.log");
        if (log.open(QIODevice::ReadOnly)) m_why += '\n' + QString::fromLocal8Bit(log.readAll()).right(2000);
    }
    return m_started;
}

bool PgCluster::stop()
{
    const bool ok = run(m_bin + "/pg_ctl", {"-D", m_dir.path() + "/data", "-m", "immediate", "-w", "stop"});
    m_started = false;
    return ok;
}

QString PgCluster::conninfo(const QString& database) const
{
    return QStringLiteral("host=%1 user=%2 dbname=%3 connect_timeout=5").arg(m_dir.path(), Superuser, database);
}

bool PgCluster::createDatabase(const QString& name)
{
    if (!run(m_bin + "/createdb", {"-h", m_dir.path(), "-U", Superuser, name})) {
        m_why.prepend(QStringLiteral("createdb failed: "));
        return false;
    }
    return true;
}

} // namespace varnoth::test
