#include "audit/auditlog.h"

#include "audit/audittexts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace varnoth
{

namespace
{

const char* const ActionKeys[AuditActionCount] = {
    "bet",       "sheet",       "chat",    "edit",         "delete",          "undo", "redo",    "restore",
    "save-list", "delete-list", "setting", "customer-add", "customer-remove", "rule", "payment", "new-draw",
    "break",
};

void appendEscaped(QByteArray& out, const QString& field)
{
    const QByteArray utf8 = field.toUtf8();
    for (char c : utf8) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
}

QString unescaped(QByteArrayView field)
{
    if (!field.contains('\\')) return QString::fromUtf8(field);
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c != '\\' || i + 1 == field.size()) {
            out += c;
            continue;
        }
        const char next = field[++i];
        out += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return QString::fromUtf8(out);
}

bool isHexHash(QByteArrayView text)
{
    if (text.size() != 64) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

QByteArrayView withoutCr(QByteArrayView line)
{
    return line.endsWith('\r') ? line.chopped(1) : line;
}

// The part of a line that its hash covers: everything before the last tab.
QByteArrayView hashedPart(QByteArrayView line)
{
    const qsizetype tab = line.lastIndexOf('\t');
    return tab < 0 ? QByteArrayView() : line.first(tab);
}

} // namespace

QString auditActionKey(AuditAction action)
{
    return QString::fromLatin1(ActionKeys[static_cast<int>(action)]);
}

bool auditActionFromKey(QStringView key, AuditAction& action)
{
    for (int i = 0; i < AuditActionCount; ++i)
        if (key == QLatin1String(ActionKeys[i])) {
            action = static_cast<AuditAction>(i);
            return true;
        }
    return false;
}

QByteArray auditHash(const QByteArray& previousHash, QByteArrayView content)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(previousHash);
    hash.addData(content);
    return hash.result().toHex();
}

QByteArray auditLineContent(const QDateTime& when, const QString& user, const QString& operatorName,
                            const AuditEvent& event, qint64 entry)
{
    QByteArray out;
    out.reserve(160);
    out += QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    for (const QString* field : {&user, &operatorName}) {
        out += '\t';
        appendEscaped(out, *field);
    }
    out += '\t';
    out += ActionKeys[static_cast<int>(event.action)];
    for (const QString* field : {&event.type, &event.customer, &event.number, &event.before, &event.after}) {
        out += '\t';
        appendEscaped(out, *field);
    }
    out += '\t';
    out += QByteArray::number(entry);
    out += '\t';
    appendEscaped(out, event.detail);
    return out;
}

bool parseAuditLine(QByteArrayView line, AuditRecord& r)
{
    QByteArrayView fields[AuditFieldCount];
    qsizetype start = 0;
    for (int i = 0; i < AuditFieldCount; ++i) {
        const qsizetype tab = i + 1 < AuditFieldCount ? line.indexOf('\t', start) : line.size();
        if (tab < 0) return false;
        fields[i] = line.sliced(start, tab - start);
        start = tab + 1;
    }
    if (fields[AuditFieldCount - 1].contains('\t') || !isHexHash(fields[11])) return false;
    bool ok = false;
    r.entry = fields[9].toLongLong(&ok);
    if (!ok) return false;
    r.time = QString::fromLatin1(fields[0]);
    r.user = unescaped(fields[1]);
    r.operatorName = unescaped(fields[2]);
    r.actionKey = QString::fromLatin1(fields[3]);
    if (!auditActionFromKey(r.actionKey, r.action)) r.action = AuditAction::Break;
    r.type = unescaped(fields[4]);
    r.customer = unescaped(fields[5]);
    r.number = unescaped(fields[6]);
    r.before = unescaped(fields[7]);
    r.after = unescaped(fields[8]);
    r.detail = unescaped(fields[10]);
    r.hash = fields[11].toByteArray();
    return true;
}

QString systemUserName()
{
    for (const char* name : {"USERNAME", "USER", "LOGNAME"}) {
        const QString user = qEnvironmentVariable(name);
        if (!user.isEmpty()) return user;
    }
    // Started without a login's environment (a service, a scheduled job): the home folder's name.
    const QString home = QFileInfo(QDir::homePath()).fileName();
    return home.isEmpty() ? QStringLiteral("?") : home;
}

AuditTail readAuditTail(const QString& path, qint64 window)
{
    AuditTail tail;
    tail.lastHash = AuditChainStart;
    QFile file(path);
    if (!file.exists()) return tail;
    tail.exists = true;
    if (!file.open(QIODevice::ReadOnly)) {
        tail.lastLineOk = false;
        return tail;
    }
    const qint64 size = file.size();
    if (size == 0) return tail;
    // Go back until the window holds at least one line end before its last line (or the start).
    qint64 from = std::max<qint64>(0, size - window);
    QByteArray bytes;
    for (;;) {
        file.seek(from);
        bytes = file.read(size - from);
        const QByteArrayView body = QByteArrayView(bytes).chopped(bytes.endsWith('\n') ? 1 : 0);
        if (from == 0 || body.count('\n') >= 2) break;
        from = std::max<qint64>(0, from - window);
    }
    tail.wholeLine = bytes.endsWith('\n');
    QList<QByteArrayView> lines;
    for (QByteArrayView rest(bytes); !rest.isEmpty();) {
        const qsizetype end = rest.indexOf('\n');
        if (end < 0) break; // a partial last line
        lines << withoutCr(rest.first(end));
        rest = rest.sliced(end + 1);
    }
    if (from > 0 && !lines.isEmpty()) lines.removeFirst(); // it may have started before the window
    if (lines.isEmpty()) return tail;

    AuditRecord last;
    tail.lastLineOk = parseAuditLine(lines.last(), last);
    if (!tail.lastLineOk) return tail;
    tail.lastHash = last.hash;
    QByteArray previous = AuditChainStart;
    AuditRecord before;
    const bool startsChain = last.action == AuditAction::Break || (from == 0 && lines.size() == 1);
    if (!startsChain) {
        if (lines.size() >= 2 && parseAuditLine(lines[lines.size() - 2], before))
            previous = before.hash;
        else
            previous.clear(); // the line before could not be read: nothing to check against
    }
    if (!previous.isEmpty()) tail.lastLineOk = auditHash(previous, hashedPart(lines.last())) == last.hash;
    for (const QByteArrayView line : lines) {
        AuditRecord r;
        if (parseAuditLine(line, r)) tail.lastEntry = std::max(tail.lastEntry, r.entry);
    }
    return tail;
}

bool AuditWriter::open(const QString& path, const QString& user, const QString& operatorName)
{
    close();
    m_user = user;
    m_operator = operatorName;
    const AuditTail tail = readAuditTail(path);
    m_file.setFileName(path);
    // Entry numbers already handed out in this run are not handed out again.
    m_lastEntry = std::max(m_lastEntry, tail.lastEntry);
    m_lastHash = tail.lastHash;
    m_failed = false;
    m_damaged = !tail.wholeLine || !tail.lastLineOk;
    m_partialEnd = !tail.wholeLine;
    m_breakPending = m_damaged;
    m_breakEntry = 0;
    m_breakDetail = tail.wholeLine ? AuditBrokenEndText : AuditPartialEndText;
    m_opened = true;
    // A job that only reads must leave the data folder as it was: a missing log is made, and a
    // damaged end recorded, when the first line is written. An existing log is opened now, so that
    // one that cannot be written is known at once.
    if (!tail.exists) return true;
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered | QIODevice::ExistingOnly);
}

bool AuditWriter::startWriting()
{
    if (!m_file.isOpen() && !m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    if (!m_breakPending) return true;
    // The damaged end stays as it is; a line end closes a partial line so that the break gets its own.
    if (m_partialEnd && m_file.write("\r\n", 2) != 2) return false;
    m_partialEnd = false;
    m_breakPending = false;
    m_lastHash = AuditChainStart;
    AuditEvent brk;
    brk.action = AuditAction::Break;
    brk.detail = m_breakDetail;
    const qint64 entry = m_breakEntry > 0 ? m_breakEntry : ++m_lastEntry;
    m_breakEntry = 0;
    return append(brk, entry);
}

void AuditWriter::close()
{
    if (m_file.isOpen()) m_file.close();
    m_opened = false;
}

bool AuditWriter::append(const AuditEvent& event, qint64 entry, const QDateTime& when)
{
    if (!m_opened) return false;
    // After a failed write the end of the file may hold part of a line: it is looked at again, and a
    // break recorded where needed, before the next line goes in.
    if (m_failed && !open(m_file.fileName(), m_user, m_operator)) return false;
    if (!startWriting()) {
        m_failed = true;
        return false;
    }
    QByteArray line = auditLineContent(when, m_user, m_operator, event, entry);
    const QByteArray hash = auditHash(m_lastHash, line);
    line += '\t';
    line += hash;
    line += "\r\n";
    // One write for the whole line: a process killed while logging leaves whole lines behind.
    if (m_file.write(line) != line.size()) {
        m_failed = true;
        return false;
    }
    m_lastHash = hash;
    return true;
}

} // namespace varnoth
