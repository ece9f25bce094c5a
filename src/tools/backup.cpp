#include "tools/backup.h"

#include "audit/auditlog.h"
#include "audit/auditread.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/safefile.h"
#include "storage/folder/store.h"
#include "tools/restore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <cstring>

#include <optional>
#include <type_traits>

namespace varnoth
{

namespace
{

bool isBareZero(QStringView text)
{
    return text == QLatin1String("0");
}

bool isBareZero(QByteArrayView bytes)
{
    return bytes.size() == 1 && bytes[0] == '0';
}

double valueOf(QStringView text)
{
    return Val(text.toString());
}

double valueOf(QByteArrayView bytes)
{
    return Val(QString::fromLatin1(bytes));
}

} // namespace

// --- paths ---------------------------------------------------------------------------------------

QString backupFolderPath(const QString& drive)
{
    if (drive.trimmed().isEmpty()) return {};
    return QDir::toNativeSeparators(
        QDir::cleanPath(QDir::fromNativeSeparators(drive) + QLatin1Char('/') + BackupFolderName));
}

QString backupFilePath(const QString& drive)
{
    const QString folder = backupFolderPath(drive);
    if (folder.isEmpty()) return {};
    return folder + QDir::separator() + BackupFileName;
}

bool makeBackupFolder(const QString& drive)
{
    const QString folder = backupFolderPath(drive);
    if (folder.isEmpty()) return false;
    if (const FileKind kind = fileKind(folder); kind == FileKind::Link) {
        logWriteRefused(folder, kind);
        return false;
    }
    return Store::MakeHiddenFolder(folder);
}

QString transferAuditFilePath(const QString& drive)
{
    const QString folder = backupFolderPath(drive);
    if (folder.isEmpty()) return {};
    return folder + QDir::separator() + TransferAuditFileName;
}

// --- backup --------------------------------------------------------------------------------------

namespace
{

// Hands every line of the backup, in order, to the sink: the stakes section (a heading per pair,
// then the lines whose amount is not "0") and the counts section (a heading per type, then the
// lines whose count is above 0). Lines of plain ASCII go as the file's own bytes, which is what
// nearly every line is; headings and any other line go as text.
template <class Sink> void forEachBackupLine(Store& store, QStringList* failures, Sink& sink)
{
    const QString list = store.customerListText();
    if (!list.contains(QLatin1Char('#'))) return;
    // A customer listed twice has files at both places: both go into the backup, under one heading.
    const QList<std::pair<QString, QList<int>>> customers = Store::customerPlacesByName(list);
    const QStringList& types = typeNames();
    Progress& progress = store.progress();

    auto read = [&](const QString& path) {
        FileBytes f = store.readBytes(path);
        if (!f.readable && failures) *failures << outcomeLine({Status::ReadFailed, path});
        return std::move(f.bytes);
    };
    // Every line of a file whose fields `keep` accepts, as the file's bytes when it is plain ASCII and
    // as decoded text otherwise.
    auto lines = [&](const QByteArray& bytes, auto keep) {
        forEachNumberLine(QByteArrayView(bytes), [&](const auto& line) {
            if (!keep(line)) return;
            if constexpr (std::is_same_v<std::decay_t<decltype(line)>, ByteLine>)
                sink.ascii(line.line);
            else
                sink.text(line.line);
        });
    };

    progress.reset();
    for (int t = 0; t < types.size(); ++t) {
        progress.tick(types.size());
        QString type = types[t];
        type.remove(QLatin1Char(' '));
        for (const auto& [name, places] : customers) {
            sink.heading(type, name);
            for (int c : places)
                lines(read(store.stakeFilePathAt(t, c)), [](const auto& line) { return !isBareZero(line.rest()); });
        }
        progress.yield();
    }
    progress.hide();

    progress.reset();
    for (int t = 0; t < types.size(); ++t) {
        progress.tick(types.size());
        const QString path = store.TypeFilePath(types[t], Store::CountPrefix);
        if (path.isEmpty()) continue;
        sink.heading(types[t], QString());
        lines(read(path), [](const auto& line) { return line.hasDash() && valueOf(line.amount()) > 0; });
        progress.yield();
    }
    progress.hide();
}

// Collects the backup as one text.
struct TextSink {
    QString out;
    void ascii(QByteArrayView line) { add(QLatin1StringView(line.data(), line.size())); }
    void text(QStringView line) { add(line); }
    void heading(const QString& type, const QString& customer)
    {
        out += type;
        out += QLatin1Char('#');
        add(customer);
    }
    template <class Line> void add(Line line)
    {
        out += line;
        out += CRLF;
    }
};

// What a run of bytes holds: its digest and its size, the same however the run is cut into pieces.
// It compares a backup as written with the file as read back from the disk, and is the fingerprint
// by which this book knows its own backups.
class Check
{
public:
    void add(QByteArrayView bytes)
    {
        m_hash.addData(bytes);
        m_size += bytes.size();
    }
    QByteArray digest() const { return m_hash.result(); }
    qint64 size() const { return m_size; }

private:
    QCryptographicHash m_hash{WrittenBackupDigest};
    qint64 m_size = 0;
};

struct Digest {
    QByteArray value;
    qint64 size = 0;
    bool operator==(const Digest&) const = default;
};

// Writes the backup into a file as it is made, a slice at a time, so that a large book is never
// held whole in memory. Headings are encoded once per type and customer.
class FileSink
{
public:
    explicit FileSink(QSaveFile& file) : m_file(file) { m_buffer.resize(Slice + Room); }

    // The characters of the text are counted as the text holds them, line ends included.
    void ascii(QByteArrayView line)
    {
        m_chars += line.size() + 2;
        add(line);
    }
    void text(QStringView line)
    {
        m_chars += line.size() + 2;
        add(encodeWindows874(line.toString()));
    }
    void heading(const QString& type, const QString& customer)
    {
        m_chars += type.size() + 1 + customer.size() + 2;
        QByteArray line = encoded(type);
        line += '#';
        line += encoded(customer);
        add(line);
    }
    // The line end after the whole text, which is not counted as part of it.
    bool finish()
    {
        append("\r\n");
        return flush();
    }
    bool ok() const { return m_ok; }
    qint64 chars() const { return m_chars; }
    Digest check() const { return {m_check.digest(), m_check.size()}; }

private:
    static constexpr qsizetype Slice = 1 << 20; // written to the file once this much is gathered
    static constexpr qsizetype Room = 1 << 16;  // beyond the slice, for the line that crosses it

    void add(QByteArrayView line)
    {
        append(line);
        append("\r\n");
        if (m_used >= Slice) flush();
    }
    // The buffer keeps its size for the whole backup: a line is copied in, never appended to a
    // growing array (a million short lines made the growing the slowest part of a backup).
    void append(QByteArrayView bytes)
    {
        if (m_used + bytes.size() > m_buffer.size()) {
            flush();
            if (bytes.size() > m_buffer.size()) {
                write(bytes);
                return;
            }
        }
        std::memcpy(m_buffer.data() + m_used, bytes.data(), size_t(bytes.size()));
        m_used += bytes.size();
    }
    bool flush()
    {
        write(QByteArrayView(m_buffer.constData(), m_used));
        m_used = 0;
        return m_ok;
    }
    void write(QByteArrayView bytes)
    {
        if (!m_ok || bytes.isEmpty()) return;
        m_check.add(bytes);
        m_ok = m_file.write(bytes.data(), bytes.size()) == bytes.size() && m_file.error() == QFileDevice::NoError;
    }
    const QByteArray& encoded(const QString& text)
    {
        auto it = m_encoded.constFind(text);
        if (it == m_encoded.constEnd()) it = m_encoded.insert(text, encodeWindows874(text));
        return it.value();
    }

    QSaveFile& m_file;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    QHash<QString, QByteArray> m_encoded;
    Check m_check;
    qint64 m_chars = 0;
    bool m_ok = true;
};

// A backup file as it now stands on the disk: its check value and the fingerprint of its records.
struct ReadBack {
    Digest digest;
    QString records;
};

std::optional<ReadBack> readBack(const QString& path)
{
    // The file just written is read back as it stands: a link or a pipe put in its place meanwhile is
    // not followed or waited on, and the backup counts as failed.
    QFile f;
    if (!openRegularForRead(f, path)) return std::nullopt;
    Check check;
    RecordFingerprint records;
    QByteArray slice;
    while (!(slice = f.read(1 << 20)).isEmpty()) {
        check.add(slice);
        records.add(slice);
    }
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return ReadBack{{check.digest(), check.size()}, records.result()};
}

// The lines of the book's audit log about stakes (bets, edits, deletes, steps taken back or done again,
// records brought from another computer), as they stand in the log.
QByteArray stakeAuditLines(const QByteArray& log)
{
    QByteArray out;
    qsizetype start = 0;
    while (start < log.size()) {
        qsizetype end = log.indexOf('\n', start);
        if (end < 0) break; // a partial last line is not a line of the log
        QByteArrayView line(log.constData() + start, end - start);
        start = end + 1;
        if (line.endsWith('\r')) line.chop(1);
        AuditRecord r;
        if (!parseAuditLine(line, r) || r.type.isEmpty() || r.customer.isEmpty() || r.number.isEmpty()) continue;
        if (!changesStake(r.action) && r.action != AuditAction::Restore) continue;
        out += line;
        out += "\r\n";
    }
    return out;
}

// Writes the audit lines of the backup beside it and reads them back; the failure lines. A file
// that cannot be written whole is removed, so that no older backup's lines stay beside this one.
QStringList writeTransferAudit(Store& store, const QString& drive, const QString& print)
{
    const QString path = transferAuditFilePath(drive);
    const QString logPath = store.path(AuditLogFileName);
    const FileBytes log = store.readBytes(logPath);
    QByteArray bytes = BackupFileName.toLatin1() + '\t' + print.toLatin1() + "\r\n";
    if (log.readable) bytes += stakeAuditLines(log.bytes);
    // A link in the file's place is neither written through nor taken away: the restore does not read
    // lines through a link, so the backup is still restored, without them.
    QSaveFile out(path);
    FileKind kind = FileKind::Missing;
    bool ok = openForReplace(out, QIODevice::WriteOnly, &kind) && out.write(bytes) == bytes.size() && out.commit();
    if (ok) ok = readRegularFile(path) == bytes;
    QStringList failures;
    if (!log.readable) failures << outcomeLine({Status::ReadFailed, logPath});
    if (!ok) {
        if (mayReplace(kind)) QFile::remove(path);
        else logWriteRefused(path, kind);
        failures << outcomeLine({Status::WriteFailed, path});
    }
    return failures;
}

} // namespace

QString BuildBackupText(Store& store, QStringList* failures)
{
    TextSink sink;
    forEachBackupLine(store, failures, sink);
    return sink.out;
}

QStringList runBackup(Store& store, const QString& drive)
{
    return writeBackup(store, drive).lines;
}

BackupResult writeBackup(Store& store, const QString& drive)
{
    const BackupResult failed{{Status::BackupFailed, backupFilePath(drive)}, {BackupFailedText}};
    const QString file = backupFilePath(drive);
    if (file.isEmpty() || !makeBackupFolder(drive)) return failed;
    // The new backup replaces the old one atomically and only when it is complete: a failed backup
    // leaves the previous one whole instead of none, or one with files missing. A link in its place
    // is refused: the file it points at is not the backup's to overwrite.
    QSaveFile out(file);
    FileKind kind = FileKind::Missing;
    if (!openForReplace(out, QIODevice::WriteOnly | QIODevice::Unbuffered, &kind)) {
        if (!mayReplace(kind))
            logWriteRefused(file, kind);
        return failed;
    }
    QStringList failures;
    FileSink sink(out);
    forEachBackupLine(store, &failures, sink);
    if (!sink.finish() || !failures.isEmpty()) {
        out.cancelWriting();
        return {failed.outcome, failed.lines + failures};
    }
    if (!out.commit()) return failed;
    // What is on the disk is read back: only a backup that holds what was written is reported.
    const std::optional<ReadBack> onDisk = readBack(file);
    if (!onDisk || !(onDisk->digest == sink.check())) return failed;
    // Restoring the backup into this same book is recognised by the fingerprint of its records; the
    // audit lines beside it name it by the digest of its bytes.
    const QStringList noted = rememberWrittenBackup(store, onDisk->records) +
                              writeTransferAudit(store, drive, QString::fromLatin1(onDisk->digest.value.toHex()));
    const Outcome outcome = noted.isEmpty() ? Outcome{} : Outcome{Status::WriteFailed, WrittenBackupsFileName};
    return {outcome,
            QStringList{QStringLiteral("การสำรองข้อมูลเสร็จสิ้นแล้ว"),
                        QStringLiteral("ปริมาณข้อมูลต้นทาง= ") + QString::number(sink.chars()) + QStringLiteral(" บิท"),
                        QStringLiteral("ปริมาณข้อมูลปลายทาง= ") + QString::number(onDisk->digest.size - 2) +
                            QStringLiteral(" บิท")} +
                noted};
}

} // namespace varnoth
