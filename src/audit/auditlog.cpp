#include "audit/auditlog.h"

#include "audit/audittexts.h"
#include "storage/folder/safefile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

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

bool isHex(QByteArrayView text, qsizetype size)
{
    if (text.size() != size) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

constexpr qsizetype KeyIdSize = 8;

// The hash field of a line: 64 hex digits, or a key's name, ":" and 64 hex digits.
bool splitHashField(QByteArrayView field, QByteArrayView& keyId, QByteArrayView& hash)
{
    if (field.size() == 64) {
        keyId = {};
        hash = field;
        return isHex(field, 64);
    }
    if (field.size() != KeyIdSize + 1 + 64 || field[KeyIdSize] != ':') return false;
    keyId = field.first(KeyIdSize);
    hash = field.sliced(KeyIdSize + 1);
    return isHex(keyId, KeyIdSize) && isHex(hash, 64);
}

QString settingsFolderOverride;
bool settingsFolderOverridden = false;

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
    QByteArrayView keyId, hash;
    if (fields[AuditFieldCount - 1].contains('\t') || !splitHashField(fields[11], keyId, hash)) return false;
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
    r.hash = hash.toByteArray();
    r.keyId = keyId.toByteArray();
    return true;
}

AuditKey auditKeyOf(const QByteArray& secret)
{
    if (secret.isEmpty()) return {};
    return {secret, QCryptographicHash::hash(secret, QCryptographicHash::Sha256).toHex().left(KeyIdSize)};
}

QByteArray auditKeyedHash(const AuditKey& key, const QByteArray& previousHash, QByteArrayView content)
{
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, key.secret);
    mac.addData(previousHash);
    mac.addData(content.data(), content.size());
    return mac.result().toHex();
}

QByteArray auditHashField(const AuditKey& key, const QByteArray& previousHash, QByteArrayView content)
{
    if (!key.isValid()) return auditHash(previousHash, content);
    return key.id + ':' + auditKeyedHash(key, previousHash, content);
}

QString auditSettingsFolder()
{
    if (settingsFolderOverridden) return settingsFolderOverride;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

void setAuditSettingsFolder(const QString& folder)
{
    settingsFolderOverride = folder;
    settingsFolderOverridden = true;
}

AuditKey loadAuditKey(const QString& folder)
{
    if (folder.isEmpty()) return {};
    const QString path = QDir(folder).filePath(AuditKeyFileName);
    const auto read = [&]() -> AuditKey {
        QFile file;
        if (!openRegularForRead(file, path)) return {};
        const QByteArray hex = file.read(200).trimmed();
        return isHex(hex, 64) ? auditKeyOf(QByteArray::fromHex(hex)) : AuditKey();
    };
    if (fileKind(path) != FileKind::Missing) return read();
    if (!QDir().mkpath(folder)) return {};
    QByteArray secret(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(secret.data()), secret.size() / 4);
    QFile file(path);
    // Made new only: a second copy of the program starting at the same moment reads the first's.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return read();
    // Readable by the user alone before the secret goes in.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray text = secret.toHex() + "\r\n";
    if (file.write(text) != text.size() || !file.flush()) {
        file.close();
        file.remove();
        return {};
    }
    file.close();
    return auditKeyOf(secret);
}

QString auditAnchorPath(const QString& dataFolder)
{
    const QString folder = auditSettingsFolder();
    if (folder.isEmpty() || dataFolder.isEmpty()) return {};
    // One anchor per book, named by its folder's path.
    const QByteArray where = QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath()).toUtf8();
    const QByteArray name = QCryptographicHash::hash(where, QCryptographicHash::Sha256).toHex().left(32);
    return QDir(folder).filePath(QStringLiteral("anchors/") + QString::fromLatin1(name) + QStringLiteral(".anchor"));
}

bool writeAuditAnchor(const QString& path, const AuditAnchor& anchor)
{
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path())) return false;
    QSaveFile file(path);
    if (!openForReplace(file)) return false;
    const QByteArray line = "anchor\t" + QByteArray::number(anchor.lines) + '\t' + QByteArray::number(anchor.bytes) +
                            '\t' + anchor.head + "\r\n";
    if (file.write(line) != line.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<AuditAnchor> readAuditAnchor(const QString& path, bool* damaged)
{
    if (damaged) *damaged = false;
    QFile file;
    FileKind kind = FileKind::Missing;
    if (!openRegularForRead(file, path, &kind)) {
        if (damaged) *damaged = kind != FileKind::Missing;
        return std::nullopt;
    }
    const QList<QByteArray> fields = file.read(4096).trimmed().split('\t');
    AuditAnchor a;
    bool linesOk = false, bytesOk = false;
    if (fields.size() == 4 && fields[0] == "anchor") {
        a.lines = fields[1].toLongLong(&linesOk);
        a.bytes = fields[2].toLongLong(&bytesOk);
        a.head = fields[3];
    }
    QByteArrayView keyId, hash;
    const bool headOk = a.lines == 0 ? a.head.isEmpty() : splitHashField(a.head, keyId, hash);
    if (!linesOk || !bytesOk || a.lines < 0 || a.bytes < 0 || !headOk) {
        if (damaged) *damaged = true;
        return std::nullopt;
    }
    return a;
}

namespace
{

// The hash field of the last line ending at `end` in the file, "" when there is none.
QByteArray headAt(QFile& file, qint64 end)
{
    if (end <= 0) return {};
    qint64 from = std::max<qint64>(0, end - 64 * 1024);
    file.seek(from);
    QByteArray bytes = file.read(end - from);
    if (!bytes.endsWith('\n')) return {};
    bytes.chop(1);
    if (bytes.endsWith('\r')) bytes.chop(1);
    const QByteArrayView line = QByteArrayView(bytes).sliced(bytes.lastIndexOf('\n') + 1);
    const qsizetype tab = line.lastIndexOf('\t');
    return tab < 0 ? QByteArray() : line.sliced(tab + 1).toByteArray();
}

qint64 countLines(QFile& file)
{
    qint64 lines = 0;
    file.seek(0);
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1 << 20);
        if (chunk.isEmpty()) break;
        lines += chunk.count('\n');
    }
    return lines;
}

} // namespace

AuditAnchor currentAuditHead(const QString& logPath)
{
    AuditAnchor a;
    QFile file;
    if (!openRegularForRead(file, logPath)) return a;
    a.bytes = file.size();
    a.lines = countLines(file);
    a.head = headAt(file, a.bytes);
    return a;
}

AnchorMatch matchAuditAnchor(const QString& logPath, const AuditAnchor& anchor)
{
    QFile file;
    if (!openRegularForRead(file, logPath)) return anchor.lines == 0 ? AnchorMatch::Same : AnchorMatch::Shorter;
    const qint64 size = file.size();
    if (size < anchor.bytes) return AnchorMatch::Shorter;
    if (anchor.lines == 0) return size == 0 ? AnchorMatch::Same : AnchorMatch::Longer;
    if (headAt(file, anchor.bytes) != anchor.head) {
        // Lines cut off and others written in their place end elsewhere: fewer lines is a shortened log.
        return countLines(file) < anchor.lines ? AnchorMatch::Shorter : AnchorMatch::Different;
    }
    return size == anchor.bytes ? AnchorMatch::Same : AnchorMatch::Longer;
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

AuditTail readAuditTail(const QString& path, qint64 window, const AuditKey& key)
{
    AuditTail tail;
    tail.lastHash = AuditChainStart;
    QFile file;
    FileKind kind = FileKind::Missing;
    if (!openRegularForRead(file, path, &kind) && kind == FileKind::Missing) return tail;
    tail.exists = true;
    if (!file.isOpen()) {
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
    tail.lastField = lines.last().sliced(lines.last().lastIndexOf('\t') + 1).toByteArray();
    QByteArray previous = AuditChainStart;
    AuditRecord before;
    const bool startsChain = last.action == AuditAction::Break || (from == 0 && lines.size() == 1);
    if (!startsChain) {
        if (lines.size() >= 2 && parseAuditLine(lines[lines.size() - 2], before))
            previous = before.hash;
        else
            previous.clear(); // the line before could not be read: nothing to check against
    }
    // A line keyed on another computer cannot be checked here; the check of the whole log says so.
    if (!last.keyId.isEmpty() && last.keyId != key.id) previous.clear();
    if (!previous.isEmpty()) {
        const QByteArrayView content = hashedPart(lines.last());
        tail.lastLineOk =
            (last.keyId.isEmpty() ? auditHash(previous, content) : auditKeyedHash(key, previous, content)) == last.hash;
    }
    for (const QByteArrayView line : lines) {
        AuditRecord r;
        if (parseAuditLine(line, r)) tail.lastEntry = std::max(tail.lastEntry, r.entry);
    }
    return tail;
}

bool AuditWriter::open(const QString& path, const QString& user, const QString& operatorName, const AuditKey& key)
{
    close();
    m_user = user;
    m_operator = operatorName;
    m_key = key;
    const AuditTail tail = readAuditTail(path, 64 * 1024, key);
    m_path = path;
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
    m_anchor = {};
    if (!tail.exists) return true;
    if (!openRegularForAppend(m_file, path)) return false;
    m_anchor.bytes = m_file.size();
    {
        QFile counted;
        if (openRegularForRead(counted, path)) m_anchor.lines = countLines(counted);
    }
    m_anchor.head = tail.lastField;
    return true;
}

void AuditWriter::recordBreak(const QString& detail)
{
    if (m_breakPending) {
        m_breakDetail += QStringLiteral("; ") + detail;
        return;
    }
    m_damaged = true;
    m_breakPending = true;
    m_breakEntry = 0;
    m_breakDetail = detail;
}

bool AuditWriter::startWriting()
{
    if (!m_file.isOpen() && !openRegularForAppend(m_file, m_path)) return false;
    if (!m_breakPending) return true;
    // The damaged end stays as it is; a line end closes a partial line so that the break gets its own.
    if (m_partialEnd) {
        if (m_file.write("\r\n", 2) != 2 || !m_file.flush()) return false;
        m_anchor.bytes += 2;
        ++m_anchor.lines;
    }
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
    if (m_failed && !open(m_path, m_user, m_operator, m_key)) return false;
    if (!startWriting()) {
        m_failed = true;
        return false;
    }
    QByteArray line = auditLineContent(when, m_user, m_operator, event, entry);
    const QByteArray field = auditHashField(m_key, m_lastHash, line);
    line += '\t';
    line += field;
    line += "\r\n";
    // One write for the whole line: a process killed while logging leaves whole lines behind.
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        m_failed = true;
        return false;
    }
    m_lastHash = field.right(64);
    m_anchor.bytes += line.size();
    ++m_anchor.lines;
    m_anchor.head = field;
    return true;
}

} // namespace varnoth
