#include "storage/pg/pgbookstore.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/pg/pgtexts.h"

#include <QElapsedTimer>
#include <libpq-fe.h>
#include <poll.h>
#include <iterator>
#include <map>
#include <tuple>

namespace varnoth
{

namespace
{

// The steps from an empty database to each version; a book is brought up by the steps it lacks, all
// in the transaction that opens it.
const char* const Migrations[] = {
    // 1: the book's first tables.
    "CREATE TABLE customers (pos bigserial PRIMARY KEY, name text NOT NULL UNIQUE);"
    "CREATE TABLE stakes (type text NOT NULL, customer text NOT NULL REFERENCES customers(name),"
    "  number text NOT NULL, amount numeric NOT NULL DEFAULT 0, PRIMARY KEY (type, customer, number));"
    "CREATE TABLE sums (type text NOT NULL, number text NOT NULL, amount numeric NOT NULL DEFAULT 0,"
    "  PRIMARY KEY (type, number));"
    "CREATE TABLE counts (type text NOT NULL, number text NOT NULL, amount numeric NOT NULL DEFAULT 0,"
    "  PRIMARY KEY (type, number));"
    "CREATE TABLE settings (kind int PRIMARY KEY);"
    "CREATE TABLE setting_lines (kind int NOT NULL REFERENCES settings(kind), line_no int NOT NULL,"
    "  text text NOT NULL, PRIMARY KEY (kind, line_no));"
    "CREATE TABLE entries (id text PRIMARY KEY, stored_at timestamptz NOT NULL DEFAULT now());"
    "CREATE TABLE changes (id bigserial PRIMARY KEY, types text NOT NULL, customers text NOT NULL,"
    "  settings int NOT NULL, customer_list boolean NOT NULL);",
    // 2: the send-out lines of each type.
    "CREATE TABLE send_out (type text NOT NULL, number text NOT NULL, amount numeric NOT NULL DEFAULT 0,"
    "  PRIMARY KEY (type, number));",
};
constexpr int KnownVersion = int(std::size(Migrations));

// One statement's result, cleared when it goes.
class Result
{
public:
    explicit Result(PGresult* r) : m_r(r) {}
    ~Result() { PQclear(m_r); }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    bool ok() const
    {
        const ExecStatusType s = PQresultStatus(m_r);
        return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
    }
    int rows() const { return PQntuples(m_r); }
    QString text(int row, int col) const { return QString::fromUtf8(PQgetvalue(m_r, row, col)); }
    bool isNull(int row, int col) const { return PQgetisnull(m_r, row, col); }
    int affected() const { return QByteArray(PQcmdTuples(m_r)).toInt(); }
    QString sqlState() const { return QString::fromUtf8(PQresultErrorField(m_r, PG_DIAG_SQLSTATE)); }
    QString error() const { return QString::fromUtf8(PQresultErrorMessage(m_r)).trimmed(); }

private:
    PGresult* m_r;
};

Result exec(PGconn* conn, const char* sql, const QStringList& params = {})
{
    QList<QByteArray> bytes;
    QList<const char*> values;
    for (const QString& p : params)
        bytes << p.toUtf8();
    for (const QByteArray& b : std::as_const(bytes))
        values << b.constData();
    return Result(PQexecParams(conn, sql, int(values.size()), nullptr, values.constData(), nullptr, nullptr, 0));
}

QString decimal(double d) { return shortestDecimal(d); }

QString joined(const QSet<QString>& names)
{
    QStringList list(names.begin(), names.end());
    list.sort();
    return list.join('\n');
}

NumberLines linesOf(const QString& type, const QHash<QString, double>& amounts)
{
    NumberLines lines{{}, true, true};
    for (const QString& n : NumberSet(type))
        lines.lines << AmountLine{n, shortestDecimal(amounts.value(n))};
    return lines;
}

bool knownType(const QString& type) { return typeNames().contains(type); }

// Whether the number has a line of its own in the type (looked up in a set made once).
bool knownNumber(const QString& type, const QString& number)
{
    static const QHash<QString, QSet<QString>> sets = [] {
        QHash<QString, QSet<QString>> all;
        for (const QString& t : typeNames()) {
            const QStringList& numbers = NumberSet(t);
            all.insert(t, QSet<QString>(numbers.begin(), numbers.end()));
        }
        return all;
    }();
    const auto it = sets.constFind(type);
    return it != sets.constEnd() && it->contains(number);
}

// A PostgreSQL array of texts, each quoted, for one statement that writes many rows.
QString textArray(const QStringList& items)
{
    QString out = QStringLiteral("{");
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0) out += QLatin1Char(',');
        out += QLatin1Char('"');
        for (const QChar c : items[i]) {
            if (c == QLatin1Char('"') || c == QLatin1Char('\\')) out += QLatin1Char('\\');
            out += c;
        }
        out += QLatin1Char('"');
    }
    return out + QLatin1Char('}');
}

} // namespace

int PgBookStore::schemaVersion() { return KnownVersion; }

PgBookStore::PgBookStore(PGconn* conn) : m_conn(conn) {}

PgBookStore::~PgBookStore() { PQfinish(m_conn); }

std::unique_ptr<PgBookStore> PgBookStore::open(const QString& conninfo, QString* error)
{
    PGconn* conn = PQconnectdb(conninfo.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        if (error) *error = PgConnectFailedText + QString::fromUtf8(PQerrorMessage(conn)).trimmed();
        PQfinish(conn);
        return nullptr;
    }
    std::unique_ptr<PgBookStore> book(new PgBookStore(conn));
    const auto fail = [&](const QString& why) {
        exec(conn, "ROLLBACK");
        if (error) *error = why;
        return nullptr;
    };
    exec(conn, "SET client_min_messages = warning");
    // Two seats opening a fresh book at once: the lock lets one make the tables and the other wait.
    if (!exec(conn, "BEGIN").ok()) return fail(PgSchemaFailedText + QString::fromUtf8(PQerrorMessage(conn)));
    exec(conn, "SELECT pg_advisory_xact_lock(7410)");
    if (const Result r = exec(conn, "CREATE TABLE IF NOT EXISTS schema_version (version int NOT NULL)"); !r.ok())
        return fail(PgSchemaFailedText + r.error());
    int version = 0;
    {
        const Result r = exec(conn, "SELECT version FROM schema_version");
        if (!r.ok()) return fail(PgSchemaFailedText + r.error());
        if (r.rows() > 1) return fail(PgSchemaFailedText + "schema_version");
        if (r.rows() == 1)
            version = r.text(0, 0).toInt();
        else if (const Result i = exec(conn, "INSERT INTO schema_version VALUES (0)"); !i.ok())
            return fail(PgSchemaFailedText + i.error());
    }
    if (version > KnownVersion) return fail(PgNewerSchemaText);
    for (int v = version; v < KnownVersion; ++v)
        if (const Result r(PQexec(conn, Migrations[v])); !r.ok()) return fail(PgSchemaFailedText + r.error());
    if (version < KnownVersion) {
        if (const Result r = exec(conn, "UPDATE schema_version SET version = $1", {QString::number(KnownVersion)});
            !r.ok())
            return fail(PgSchemaFailedText + r.error());
    }
    if (const Result r = exec(conn, "COMMIT"); !r.ok()) return fail(PgSchemaFailedText + r.error());
    return book;
}

bool PgBookStore::connected() const
{
    if (PQstatus(m_conn) == CONNECTION_OK) return true;
    PQreset(m_conn);
    if (PQstatus(m_conn) == CONNECTION_OK) return true;
    m_lastError = PgConnectFailedText + QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
    return false;
}

// A failure that lost the connection says so, whatever the statement was.
QString PgBookStore::failureLine(const QString& what, const QString& error) const
{
    return (PQstatus(m_conn) == CONNECTION_OK ? what : PgConnectFailedText) + error;
}

Outcome PgBookStore::addCustomer(const QString& name)
{
    if (!connected()) return {Status::WriteFailed, m_lastError};
    if (customerExists(name)) return {Status::NameTaken, name};
    if (!exec(m_conn, "BEGIN").ok()) return {Status::WriteFailed, name};
    const Result add = exec(m_conn, "INSERT INTO customers (name) VALUES ($1) ON CONFLICT DO NOTHING", {name});
    const Result note = exec(m_conn,
                             "INSERT INTO changes (types, customers, settings, customer_list) "
                             "VALUES ('', $1, 0, true)",
                             {name});
    if (!add.ok() || !note.ok() || add.affected() != 1 || !exec(m_conn, "COMMIT").ok()) {
        exec(m_conn, "ROLLBACK");
        m_lastError = failureLine(WriteFailedText, add.ok() ? note.error() : add.error());
        return {add.ok() && add.affected() != 1 ? Status::NameTaken : Status::WriteFailed, name};
    }
    exec(m_conn, "NOTIFY varnoth_book");
    return {};
}

bool PgBookStore::customerExists(const QString& name) const
{
    const Result r = exec(m_conn, "SELECT 1 FROM customers WHERE name = $1", {name});
    return r.ok() && r.rows() == 1;
}

QStringList PgBookStore::customers() const
{
    QStringList names;
    if (!connected()) return names;
    const Result r = exec(m_conn, "SELECT name FROM customers ORDER BY pos");
    if (!r.ok()) m_lastError = failureLine(ReadFailedText, r.error());
    for (int i = 0; r.ok() && i < r.rows(); ++i)
        names << r.text(i, 0);
    return names;
}

// The list is kept under a unique key: no name stands twice.
QStringList PgBookStore::customersListedTwice() const { return {}; }

QHash<QString, double> PgBookStore::amounts(const char* sql, const QStringList& params, bool* readable) const
{
    QHash<QString, double> sums;
    bool ok = connected();
    if (ok) {
        const Result r = exec(m_conn, sql, params);
        ok = r.ok();
        if (!ok) m_lastError = failureLine(ReadFailedText, r.error());
        for (int i = 0; ok && i < r.rows(); ++i)
            sums.insert(r.text(i, 0), Val(r.text(i, 1)));
    }
    if (readable) *readable = ok;
    return ok ? sums : QHash<QString, double>{};
}

NumberLines PgBookStore::stakes(const QString& type, const QString& customer) const
{
    if (!knownType(type)) return {};
    if (!connected()) return {{}, true, false}; // not known to be missing: never taken as empty
    if (!customerExists(customer)) return {};
    bool readable = true;
    const auto sums = stakeSums(type, customer, &readable);
    if (!readable) return {{}, true, false};
    return linesOf(type, sums);
}

QHash<QString, double> PgBookStore::stakeSums(const QString& type, const QString& customer, bool* readable) const
{
    return amounts("SELECT number, amount FROM stakes WHERE type = $1 AND customer = $2 AND amount <> 0",
                   {type, customer}, readable);
}

QHash<QString, double> PgBookStore::keptSums(const QString& type, bool* readable) const
{
    return amounts("SELECT number, amount FROM sums WHERE type = $1 AND amount <> 0", {type}, readable);
}

NumberLines PgBookStore::counts(const QString& type) const
{
    if (!knownType(type)) return {};
    bool readable = true;
    const auto sums = amounts("SELECT number, amount FROM counts WHERE type = $1 AND amount <> 0", {type}, &readable);
    if (!readable) return {{}, true, false};
    return linesOf(type, sums);
}

NumberLines PgBookStore::sendOut(const QString& type) const
{
    if (!knownType(type)) return {};
    bool readable = true;
    const auto sums = amounts("SELECT number, amount FROM send_out WHERE type = $1 AND amount <> 0", {type}, &readable);
    if (!readable) return {{}, true, false};
    return linesOf(type, sums);
}

SettingLines PgBookStore::settingLines(BookSetting setting) const
{
    if (!connected()) return {{}, false, false};
    const QString kind = QString::number(static_cast<int>(setting));
    const Result there = exec(m_conn, "SELECT 1 FROM settings WHERE kind = $1", {kind});
    const Result r = exec(m_conn, "SELECT text FROM setting_lines WHERE kind = $1 ORDER BY line_no", {kind});
    if (!there.ok() || !r.ok()) {
        m_lastError = failureLine(ReadFailedText, there.ok() ? r.error() : there.error());
        return {{}, true, false};
    }
    SettingLines lines{{}, there.rows() == 1, true};
    for (int i = 0; i < r.rows(); ++i)
        lines.lines << r.text(i, 0);
    return lines;
}

quint64 PgBookStore::changesEnd()
{
    if (!connected()) return 0;
    const Result r = exec(m_conn, "SELECT coalesce(max(id), 0) FROM changes");
    return r.ok() ? r.text(0, 0).toULongLong() : 0;
}

Changes PgBookStore::changedSince(quint64 position)
{
    if (!connected()) return Changes::all();
    const Result r = exec(m_conn, "SELECT types, customers, settings, customer_list FROM changes WHERE id > $1",
                          {QString::number(position)});
    if (!r.ok()) return Changes::all();
    Changes c;
    for (int i = 0; i < r.rows(); ++i) {
        for (const QString& t : r.text(i, 0).split('\n', Qt::SkipEmptyParts))
            c.types << t;
        for (const QString& n : r.text(i, 1).split('\n', Qt::SkipEmptyParts))
            c.customers << n;
        c.settings |= r.text(i, 2).toUInt();
        c.customerList = c.customerList || r.text(i, 3) == "t";
    }
    return c;
}

bool PgBookStore::listen()
{
    if (!connected()) return false;
    const Result r = exec(m_conn, "LISTEN varnoth_book");
    if (!r.ok()) m_lastError = failureLine(ReadFailedText, r.error());
    return r.ok();
}

int PgBookStore::socket() const { return PQsocket(m_conn); }

bool PgBookStore::takeNotifications(int timeoutMs)
{
    const auto take = [this] {
        bool any = false;
        if (!PQconsumeInput(m_conn)) {
            m_lastError = failureLine(ReadFailedText, QString::fromUtf8(PQerrorMessage(m_conn)).trimmed());
            return false;
        }
        while (PGnotify* n = PQnotifies(m_conn)) {
            any = true;
            PQfreemem(n);
        }
        return any;
    };
    if (take()) return true;
    if (timeoutMs <= 0) return false;
    pollfd fd{PQsocket(m_conn), POLLIN, 0};
    QElapsedTimer waited;
    waited.start();
    for (qint64 left = timeoutMs; left > 0; left = timeoutMs - waited.elapsed()) {
        if (fd.fd < 0 || poll(&fd, 1, int(left)) < 0) return false;
        if (take()) return true;
    }
    return false;
}

std::unique_ptr<BookTransaction> PgBookStore::begin()
{
    return std::unique_ptr<BookTransaction>(new PgTransaction(*this, {}));
}

std::unique_ptr<PgTransaction> PgBookStore::beginEntry(const QString& entryId)
{
    return std::unique_ptr<PgTransaction>(new PgTransaction(*this, entryId));
}

void PgTransaction::addStake(const QString& type, const QString& customer, const QString& number, double delta)
{
    m_ops << Op{Op::AddStake, type, customer, number, delta, {}, {}, {}};
}

void PgTransaction::addCount(const QString& type, const QString& number, double n)
{
    m_ops << Op{Op::AddCount, type, {}, number, n, {}, {}, {}};
}

void PgTransaction::addSendOut(const QString& type, const QString& number, double amount)
{
    m_ops << Op{Op::AddSendOut, type, {}, number, amount, {}, {}, {}};
}

void PgTransaction::addCustomer(const QString& name)
{
    m_ops << Op{Op::AddCustomer, {}, name, {}, 0, {}, {}, {}};
}

void PgTransaction::setStake(const QString& type, const QString& customer, const QString& number,
                             const QString& amount)
{
    m_ops << Op{Op::SetStake, type, customer, number, 0, amount, {}, {}};
}

void PgTransaction::setSettingLines(BookSetting setting, const QStringList& lines)
{
    m_ops << Op{Op::SetSetting, {}, {}, {}, 0, {}, setting, lines};
}

CommitResult PgTransaction::commit()
{
    CommitResult result;
    m_alreadyStored = false;
    if (m_ops.isEmpty() && m_entryId.isEmpty()) return result;
    // A deadlock or a serialization failure undoes the whole transaction on the server; it is tried
    // again a few times before it counts as failed.
    for (int round = 0; round < 5; ++round) {
        result = CommitResult{};
        if (attempt(result) != Try::Retry) return result;
    }
    return result;
}

PgTransaction::Try PgTransaction::attempt(CommitResult& result)
{
    PGconn* conn = m_book.m_conn;
    const auto fail = [&](Status status, const QString& what, const Result* r = nullptr) {
        const bool retry = r && (r->sqlState() == "40P01" || r->sqlState() == "40001");
        exec(conn, "ROLLBACK");
        result.failed << Outcome{status, r ? what + ' ' + r->error() : what};
        result.outcome = result.failed.first();
        result.changes = {};
        if (r) m_book.m_lastError = m_book.failureLine(WriteFailedText, r->error());
        return retry ? Try::Retry : Try::Failed;
    };
    if (!m_book.connected()) {
        result.failed << Outcome{Status::WriteFailed, m_book.m_lastError};
        result.outcome = result.failed.first();
        return Try::Failed;
    }

    // What each row comes to: stakes in one pass, in order (a set amount followed by deltas), then
    // written in key order, so that two seats lock shared rows in the same order and never wait on
    // each other in a circle.
    struct Plan {
        bool set = false;
        double setTo = 0;
        double delta = 0;
    };
    std::map<std::tuple<QString, QString, QString>, Plan> stakes;
    std::map<std::pair<QString, QString>, double> counts;
    std::map<std::pair<QString, QString>, double> sendOut;
    std::map<int, QStringList> settings;
    QStringList newCustomers;
    for (const Op& op : std::as_const(m_ops)) {
        if (op.kind == Op::SetSetting) {
            settings[static_cast<int>(op.setting)] = op.lines;
            result.changes.addSetting(op.setting);
            continue;
        }
        if (op.kind == Op::AddCustomer) {
            if (op.customer.isEmpty() || newCustomers.contains(op.customer))
                result.failed << Outcome{Status::NameTaken, op.customer};
            newCustomers << op.customer;
            result.changes.customerList = true;
            continue;
        }
        if (!knownNumber(op.type, op.number)) {
            result.failed << Outcome{Status::WriteFailed, op.type + ' ' + op.number};
            continue;
        }
        result.changes.types << op.type;
        if (op.kind == Op::AddCount || op.kind == Op::AddSendOut) {
            (op.kind == Op::AddCount ? counts : sendOut)[{op.type, op.number}] += op.delta;
            continue;
        }
        result.changes.customers << op.customer;
        Plan& p = stakes[{op.type, op.customer, op.number}];
        if (op.kind == Op::SetStake) {
            p.set = true;
            p.setTo = Val(op.amount);
            p.delta = 0;
        } else {
            p.delta += op.delta;
        }
    }
    if (!result.failed.isEmpty()) {
        result.outcome = result.failed.first();
        result.changes = {};
        return Try::Failed;
    }

    if (const Result r = exec(conn, "BEGIN"); !r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
    if (!m_entryId.isEmpty()) {
        const Result r = exec(conn, "INSERT INTO entries (id) VALUES ($1) ON CONFLICT DO NOTHING", {m_entryId});
        if (!r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
        if (r.affected() == 0) {
            exec(conn, "ROLLBACK");
            m_alreadyStored = true;
            result.changes = {};
            return Try::Done;
        }
    }
    if (m_intoEmptyBook) {
        // Every table the book is made of is locked before it is looked at: no seat changes the book
        // between the look and the writes.
        if (const Result r = exec(conn, "LOCK TABLE customers, stakes, sums, counts, send_out, settings, "
                                        "setting_lines IN EXCLUSIVE MODE");
            !r.ok())
            return fail(Status::WriteFailed, WriteFailedText, &r);
        const Result held = exec(conn, "SELECT EXISTS (SELECT 1 FROM customers) OR EXISTS (SELECT 1 FROM settings)"
                                       " OR EXISTS (SELECT 1 FROM counts WHERE amount <> 0)"
                                       " OR EXISTS (SELECT 1 FROM send_out WHERE amount <> 0)");
        if (!held.ok()) return fail(Status::ReadFailed, ReadFailedText, &held);
        if (held.text(0, 0) != "f") return fail(Status::Refused, PgBookNotEmptyText);
        // A whole book is written in a few statements of many rows each, not a statement per row.
        const auto rows = [&](const char* sql, const QList<QStringList>& columns) {
            constexpr qsizetype Chunk = 20000;
            for (qsizetype from = 0; from < columns.first().size(); from += Chunk) {
                QStringList params;
                for (const QStringList& c : columns)
                    params << textArray(c.mid(from, Chunk));
                if (const Result r = exec(conn, sql, params); !r.ok())
                    return fail(Status::WriteFailed, WriteFailedText, &r);
            }
            return Try::Done;
        };
        for (const char* clear : {"DELETE FROM sums", "DELETE FROM counts", "DELETE FROM send_out"})
            if (const Result r = exec(conn, clear); !r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
        if (const Try t = rows("INSERT INTO customers (name) "
                               "SELECT n FROM unnest($1::text[]) WITH ORDINALITY AS u(n, i) ORDER BY i",
                               {newCustomers});
            t != Try::Done)
            return t;
        QStringList types, customers, numbers, values;
        for (const auto& [key, plan] : stakes) {
            const double amount = plan.set ? plan.setTo + plan.delta : plan.delta;
            if (amount == 0) continue;
            types << std::get<0>(key);
            customers << std::get<1>(key);
            numbers << std::get<2>(key);
            values << decimal(amount);
        }
        if (const Try t = rows("INSERT INTO stakes (type, customer, number, amount) "
                               "SELECT * FROM unnest($1::text[], $2::text[], $3::text[], $4::numeric[])",
                               {types, customers, numbers, values});
            t != Try::Done)
            return t;
        if (const Result r = exec(conn, "INSERT INTO sums (type, number, amount) SELECT type, number, sum(amount) "
                                        "FROM stakes GROUP BY type, number HAVING sum(amount) <> 0");
            !r.ok())
            return fail(Status::WriteFailed, WriteFailedText, &r);
        for (const auto* lines : {&counts, &sendOut}) {
            types.clear();
            numbers.clear();
            values.clear();
            for (const auto& [key, n] : *lines) {
                if (n == 0) continue;
                types << key.first;
                numbers << key.second;
                values << decimal(n);
            }
            const char* sql = lines == &counts
                                  ? "INSERT INTO counts (type, number, amount) "
                                    "SELECT * FROM unnest($1::text[], $2::text[], $3::numeric[])"
                                  : "INSERT INTO send_out (type, number, amount) "
                                    "SELECT * FROM unnest($1::text[], $2::text[], $3::numeric[])";
            if (const Try t = rows(sql, {types, numbers, values}); t != Try::Done) return t;
        }
        // Written: nothing is left for the row-by-row writes below.
        stakes.clear();
        counts.clear();
        sendOut.clear();
    } else {
        for (const QString& name : std::as_const(newCustomers)) {
            const Result r = exec(conn, "INSERT INTO customers (name) VALUES ($1) ON CONFLICT DO NOTHING", {name});
            if (!r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
            if (r.affected() != 1) return fail(Status::NameTaken, name);
        }
    }
    QSet<QString> checked;
    for (const auto& [key, plan] : stakes) {
        const auto& [type, customer, num] = key;
        if (!checked.contains(customer)) {
            // The customer's row is shared-locked so that it cannot go while its stakes are written.
            const Result c = exec(conn, "SELECT 1 FROM customers WHERE name = $1 FOR SHARE", {customer});
            if (!c.ok()) return fail(Status::WriteFailed, WriteFailedText, &c);
            if (c.rows() != 1) return fail(Status::WriteFailed, customer);
            checked << customer;
        }
        // The row is read and locked first: a seat keying the same number waits for this one, and
        // a row that cannot be read is never written over.
        const Result old = exec(conn,
                                "SELECT amount FROM stakes WHERE type = $1 AND customer = $2 AND number = $3 "
                                "FOR UPDATE",
                                {type, customer, num});
        if (!old.ok()) return fail(Status::ReadFailed, ReadFailedText, &old);
        const double was = old.rows() == 1 ? Val(old.text(0, 0)) : 0;
        const double change = plan.set ? plan.setTo + plan.delta - was : plan.delta;
        const Result r =
            plan.set ? exec(conn,
                            "INSERT INTO stakes (type, customer, number, amount) VALUES ($1, $2, $3, $4) "
                            "ON CONFLICT (type, customer, number) DO UPDATE SET amount = excluded.amount",
                            {type, customer, num, decimal(plan.setTo + plan.delta)})
                     : exec(conn,
                            "INSERT INTO stakes (type, customer, number, amount) VALUES ($1, $2, $3, $4) "
                            "ON CONFLICT (type, customer, number) DO UPDATE SET amount = stakes.amount + excluded.amount",
                            {type, customer, num, decimal(plan.delta)});
        if (!r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
        if (change != 0) {
            const Result s = exec(conn,
                                  "INSERT INTO sums (type, number, amount) VALUES ($1, $2, $3) "
                                  "ON CONFLICT (type, number) DO UPDATE SET amount = sums.amount + excluded.amount",
                                  {type, num, decimal(change)});
            if (!s.ok()) return fail(Status::WriteFailed, WriteFailedText, &s);
        }
    }
    for (const auto& [key, n] : counts) {
        const Result r = exec(conn,
                              "INSERT INTO counts (type, number, amount) VALUES ($1, $2, $3) "
                              "ON CONFLICT (type, number) DO UPDATE SET amount = counts.amount + excluded.amount",
                              {key.first, key.second, decimal(n)});
        if (!r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
    }
    for (const auto& [key, n] : sendOut) {
        const Result r = exec(conn,
                              "INSERT INTO send_out (type, number, amount) VALUES ($1, $2, $3) "
                              "ON CONFLICT (type, number) DO UPDATE SET amount = send_out.amount + excluded.amount",
                              {key.first, key.second, decimal(n)});
        if (!r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
    }
    for (const auto& [kind, lines] : settings) {
        const QString k = QString::number(kind);
        const Result s = exec(conn, "INSERT INTO settings (kind) VALUES ($1) ON CONFLICT DO NOTHING", {k});
        const Result d = exec(conn, "DELETE FROM setting_lines WHERE kind = $1", {k});
        if (!s.ok() || !d.ok()) return fail(Status::WriteFailed, WriteFailedText, s.ok() ? &d : &s);
        for (int i = 0; i < lines.size(); ++i) {
            const Result r = exec(conn, "INSERT INTO setting_lines (kind, line_no, text) VALUES ($1, $2, $3)",
                                  {k, QString::number(i), lines[i]});
            if (!r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
        }
    }
    if (!result.changes.isEmpty()) {
        const Result r = exec(conn,
                              "INSERT INTO changes (types, customers, settings, customer_list) "
                              "VALUES ($1, $2, $3, $4)",
                              {joined(result.changes.types), joined(result.changes.customers),
                               QString::number(result.changes.settings),
                               result.changes.customerList ? QStringLiteral("true") : QStringLiteral("false")});
        if (!r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
        // Other seats listening hear of it when the transaction commits.
        exec(conn, "NOTIFY varnoth_book");
    }
    if (const Result r = exec(conn, "COMMIT"); !r.ok()) return fail(Status::WriteFailed, WriteFailedText, &r);
    return Try::Done;
}

} // namespace varnoth
