#include "tools/fullbackup.h"

#include "accounts/drawhistory.h"
#include "audit/auditlog.h"
#include "core/model/text.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/safefile.h"
#include "storage/folder/store.h"
#include "tools/backup.h"
#include "tools/backuptexts.h"
#include "tools/newdraw.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <optional>

namespace varnoth
{

namespace
{

const QString BookPart = QStringLiteral("book");
const QString DrawsPart = QStringLiteral("draws");
// The list of a book of a thousand customers with years of past draws is a few megabytes.
constexpr qint64 MaxListBytes = 64LL * 1024 * 1024;

// What a file holds, as the list of a full backup names it.
struct Digest {
    qint64 size = -1;
    QByteArray sha256; // hex
    bool operator==(const Digest&) const = default;
};

Digest digestOf(const QByteArray& bytes)
{
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()};
}

// The digest of a file on the disk, read a slice at a time; a link or a pipe is not read.
std::optional<Digest> digestOfFile(const QString& path)
{
    QFile f;
    if (!openRegularForRead(f, path)) return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 size = 0;
    QByteArray slice;
    while (!(slice = f.read(1 << 20)).isEmpty()) {
        hash.addData(slice);
        size += slice.size();
    }
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return Digest{size, hash.result().toHex()};
}

// Writes the file atomically and reads it back: true only when the disk holds exactly the bytes. A
// link in the file's place is refused, never written through.
bool writeChecked(const QString& path, const QByteArray& bytes)
{
    QSaveFile out(path);
    FileKind kind = FileKind::Missing;
    if (!openForReplace(out, QIODevice::WriteOnly, &kind)) {
        if (!mayReplace(kind)) logWriteRefused(path, kind);
        return false;
    }
    if (out.write(bytes) != bytes.size() || !out.commit()) return false;
    return readRegularFile(path) == bytes;
}

std::optional<QByteArray> readWhole(const QString& path)
{
    return readRegularFile(path);
}

// The files of a folder a backup takes: every file, hidden ones included, never the lock of a
// running program.
QFileInfoList filesOf(const QString& folder)
{
    QFileInfoList files;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& info : entries)
        if (info.fileName() != LockFileName) files << info;
    return files;
}

// A plain file name: nothing that would lead out of its folder or break a line of the list.
bool isPlainName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (QChar c : name)
        if (c == u'/' || c == u'\\' || c == u'\t' || c == u'\r' || c == u'\n' || c.unicode() == 0) return false;
    return true;
}

// The date of a past draw's folder: its whole name for a copy named by the date alone, the part after
// the book's name for a copy named by its book; "" for any other name.
QString drawFolderStamp(const QString& name)
{
    static const QRegularExpression dated(QStringLiteral("^(?:.*_)?(\\d{4}-\\d{2}-\\d{2}_\\d{4}(?:_\\d+)?)$"));
    const QRegularExpressionMatch m = dated.match(name);
    return m.hasMatch() ? m.captured(1) : QString();
}

bool isDrawFolderName(const QString& name)
{
    return !drawFolderStamp(name).isEmpty();
}

QString listLine(const Digest& d, const QString& path)
{
    return QString::number(d.size) + QLatin1Char('\t') + QString::fromLatin1(d.sha256) + QLatin1Char('\t') + path;
}

// --- writing -------------------------------------------------------------------------------------

class BackupWriter
{
public:
    BackupWriter(Store& store, const QString& staging) : m_store(store), m_staging(staging) {}

    // One file into the backup, as `part/name`; false (with the failure line) when it fails.
    bool add(const QString& part, const QString& name, const std::optional<QByteArray>& bytes, const QString& source)
    {
        if (!isPlainName(name)) return fail(FullBackupNameText + name);
        if (!bytes) return fail(outcomeLine({Status::ReadFailed, source}));
        const QString path = part + QLatin1Char('/') + name;
        if (!writeChecked(QDir(m_staging).filePath(path), *bytes))
            return fail(outcomeLine({Status::WriteFailed, QDir(m_staging).filePath(path)}));
        m_list << listLine(digestOf(*bytes), path);
        m_bytes += bytes->size();
        return true;
    }
    bool addBook()
    {
        const QFileInfoList files = filesOf(m_store.dataFolder());
        Progress& progress = m_store.progress();
        progress.reset();
        for (const QFileInfo& info : files) {
            progress.tick(files.size());
            // A link would take another file into the book; only the book's own files are copied.
            std::optional<QByteArray> bytes;
            if (!info.isSymLink()) {
                const FileBytes f = m_store.readBytes(info.absoluteFilePath());
                if (f.exists && f.readable) bytes = f.bytes;
            }
            if (!add(BookPart, info.fileName(), bytes, info.absoluteFilePath())) break;
            progress.yield();
        }
        progress.hide();
        return m_failure.isEmpty();
    }
    bool addDraws()
    {
        for (const PastDraw& draw : listPastDraws(m_store)) {
            const QString name = QFileInfo(draw.folder).fileName();
            const QString part = DrawsPart + QLatin1Char('/') + name;
            if (!QDir().mkpath(QDir(m_staging).filePath(part)))
                return fail(outcomeLine({Status::WriteFailed, QDir(m_staging).filePath(part)}));
            for (const QFileInfo& info : filesOf(draw.folder)) {
                const std::optional<QByteArray> bytes =
                    info.isSymLink() ? std::nullopt : readWhole(info.absoluteFilePath());
                if (!add(part, info.fileName(), bytes, info.absoluteFilePath())) return false;
            }
            ++m_draws;
        }
        return true;
    }
    bool addList()
    {
        const QString path = QDir(m_staging).filePath(FullBackupListName);
        QString text;
        for (const QString& line : std::as_const(m_list))
            text += line + CRLF;
        if (writeChecked(path, text.toUtf8())) return true;
        return fail(outcomeLine({Status::WriteFailed, path}));
    }

    QStringList failure() const { return m_failure; }
    int files() const { return static_cast<int>(m_list.size()); }
    int draws() const { return m_draws; }
    qint64 bytes() const { return m_bytes; }

private:
    bool fail(const QString& line)
    {
        m_failure << line;
        return false;
    }

    Store& m_store;
    QString m_staging;
    QStringList m_list;
    QStringList m_failure;
    qint64 m_bytes = 0;
    int m_draws = 0;
};

// Puts the new backup in the place of the last one. The last one is kept aside until the new one
// is in place, and put back when it cannot be.
bool replaceBackup(const QString& staging, const QString& final, const QString& old)
{
    QDir dir;
    if (!removeOwnFolder(old)) return false;
    if (fileKind(final) != FileKind::Missing && !dir.rename(final, old)) return false;
    if (!dir.rename(staging, final)) {
        if (fileKind(old) != FileKind::Missing) dir.rename(old, final);
        return false;
    }
    removeOwnFolder(old);
    return true;
}

// --- reading -------------------------------------------------------------------------------------

struct ListedFile {
    QString path; // "book/NAME" or "draws/FOLDER/NAME"
    Digest digest;
};

// The files a backup's list names; nothing when a line is not one of a list.
std::optional<QList<ListedFile>> parseList(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    if (!text.isEmpty() && !text.endsWith(CRLF)) return std::nullopt;
    QList<ListedFile> files;
    for (const QString& line : splitText(text, CRLF)) {
        if (line.isEmpty()) continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() != 3) return std::nullopt;
        bool ok = false;
        const qint64 size = f[0].toLongLong(&ok);
        if (!ok || size < 0 || f[1].size() != 64) return std::nullopt;
        const QStringList parts = f[2].split(QLatin1Char('/'));
        const bool book =
            parts.size() == 2 && parts[0] == BookPart && isPlainName(parts[1]) && parts[1] != LockFileName;
        const bool draw =
            parts.size() == 3 && parts[0] == DrawsPart && isDrawFolderName(parts[1]) && isPlainName(parts[2]);
        if (!book && !draw) return std::nullopt;
        files << ListedFile{f[2], {size, f[1].toLatin1()}};
    }
    return files;
}

// What a file of the book held before the restore wrote it, to put back when the restore fails.
struct Before {
    QString path;
    std::optional<QByteArray> bytes; // none: the file was not there
};

bool putBack(const Before& b)
{
    if (!b.bytes) return !QFileInfo::exists(b.path) || QFile::remove(b.path);
    return writeChecked(b.path, *b.bytes);
}

double valueOf(QByteArrayView bytes)
{
    return Val(QString::fromLatin1(bytes));
}

double valueOf(QStringView text)
{
    return Val(text.toString());
}

// Every line of the number file is a number at 0, as in a fresh file.
bool holdsNoValue(const QByteArray& bytes)
{
    bool empty = true;
    forEachNumberLine(QByteArrayView(bytes), [&empty](const auto& line) {
        if (!line.hasDash() || valueOf(line.amount()) != 0) empty = false;
    });
    return empty;
}

} // namespace

QString fullBackupFolderPath(const QString& drive)
{
    const QString folder = backupFolderPath(drive);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(FullBackupFolderName);
}

FullBackupResult writeFullBackup(Store& store, const QString& drive)
{
    FullBackupResult r;
    const QString final = fullBackupFolderPath(drive);
    auto failed = [&](const QStringList& why) {
        r.outcome = {Status::BackupFailed, final};
        r.lines = QStringList{FullBackupFailedText} + why;
        return r;
    };
    if (final.isEmpty()) return failed({});
    const QString staging = final + QStringLiteral(".new");
    const QString old = final + QStringLiteral(".old");
    if (!makeBackupFolder(drive)) return failed({outcomeLine({Status::WriteFailed, backupFolderPath(drive)})});
    // The backup's own folders are never links: one in the place of the last backup would have its
    // swap empty the folder it points at.
    for (const QString& own : {final, staging, old})
        if (const FileKind kind = fileKind(own); kind == FileKind::Link || kind == FileKind::Regular) {
            logWriteRefused(own, kind);
            return failed({outcomeLine({Status::WriteFailed, own})});
        }
    // A swap cut short by a crash left the last backup aside: it goes back in its place first.
    if (!QFileInfo::exists(final) && QFileInfo::exists(old)) QDir().rename(old, final);
    if (!removeOwnFolder(staging) || !QDir().mkpath(QDir(staging).filePath(BookPart)))
        return failed({outcomeLine({Status::WriteFailed, staging})});

    BackupWriter writer(store, staging);
    if (!writer.addBook() || !writer.addDraws() || !writer.addList()) {
        removeOwnFolder(staging);
        return failed(writer.failure());
    }
    if (!replaceBackup(staging, final, old)) {
        removeOwnFolder(staging);
        return failed({outcomeLine({Status::WriteFailed, final})});
    }
    r.files = writer.files();
    r.bytes = writer.bytes();
    r.lines << FullBackupDoneText << FullBackupPlaceText + QDir::toNativeSeparators(final)
            << FullBackupFilesText.arg(formatCount(writer.files()));
    if (writer.draws() > 0) r.lines << FullBackupPastDrawsText.arg(formatCount(writer.draws()));
    r.lines << FullBackupSizeText.arg(writer.bytes());
    return r;
}

bool bookIsEmpty(Store& store)
{
    static const QRegularExpression numberFile(QStringLiteral("^(\\d+_\\d+|a-_\\d+|b_\\d+)\\.gif$"));
    for (const QFileInfo& info : filesOf(store.dataFolder())) {
        if (info.size() == 0 && !info.isSymLink()) continue;
        // Fresh stake, count and send-out files hold every number at 0.
        if (!numberFile.match(info.fileName()).hasMatch()) return false;
        const FileBytes f = store.readBytes(info.absoluteFilePath());
        if (!f.readable || !holdsNoValue(f.bytes)) return false;
    }
    return listPastDraws(store).isEmpty();
}

FullRestoreResult restoreFullBackup(Store& store, const QString& drive)
{
    FullRestoreResult r;
    const QString folder = fullBackupFolderPath(drive);
    const QString listPath = QDir(folder).filePath(FullBackupListName);
    const QFileInfo listInfo(listPath);
    if (folder.isEmpty() || !listInfo.isFile()) {
        r.status = FullRestoreStatus::NoBackup;
        r.lines << NoFullBackupText + QDir::toNativeSeparators(drive);
        return r;
    }
    if (!bookIsEmpty(store)) {
        r.status = FullRestoreStatus::NotEmpty;
        r.lines << BookNotEmptyText;
        return r;
    }
    auto damaged = [&](const QString& path) {
        r.status = FullRestoreStatus::Damaged;
        r.lines = {FullBackupDamagedText + QDir::toNativeSeparators(path)};
        return r;
    };
    const std::optional<QByteArray> listBytes =
        listInfo.size() <= MaxListBytes ? readWhole(listPath) : std::optional<QByteArray>();
    const std::optional<QList<ListedFile>> listed = listBytes ? parseList(*listBytes) : std::nullopt;
    if (!listed) return damaged(listPath);

    // Every file is checked before anything is written: a damaged backup changes nothing.
    Progress& progress = store.progress();
    progress.reset();
    for (const ListedFile& f : *listed) {
        progress.tick(listed->size() * 2);
        const QString path = QDir(folder).filePath(f.path);
        if (QFileInfo(path).isSymLink() || digestOfFile(path) != f.digest) {
            progress.hide();
            return damaged(path);
        }
        progress.yield();
    }

    const QString draws = drawsFolderPath(store);
    QList<Before> written;
    QStringList madeFolders;
    // What was written is taken out again: the book is left empty, as it was found.
    auto undo = [&](FullRestoreStatus status, const QString& why) {
        for (qsizetype i = written.size() - 1; i >= 0; --i)
            putBack(written[i]);
        for (const QString& made : std::as_const(madeFolders))
            removeOwnFolder(made);
        progress.hide();
        r.status = status;
        r.lines = {FullRestoreFailedText, why};
        return r;
    };
    auto writeFailed = [&](const QString& path) {
        return undo(FullRestoreStatus::WriteFailed, outcomeLine({Status::WriteFailed, path}));
    };
    int pastDraws = 0;
    for (const ListedFile& f : *listed) {
        progress.tick(listed->size() * 2);
        const QStringList parts = f.path.split(QLatin1Char('/'));
        QString target;
        if (parts[0] == BookPart) {
            target = store.path(parts[1]);
        } else {
            if (draws.isEmpty()) return writeFailed(store.dataFolder());
            // Past draws are not brought back into a folder a link points at.
            if (const FileKind kind = fileKind(draws); kind == FileKind::Link) {
                logWriteRefused(draws, kind);
                return writeFailed(draws);
            }
            // The copy takes the name of the book it comes back into, so that this book counts it as its own.
            const QString drawFolder = QDir(draws).filePath(drawCopyPrefix(store) + drawFolderStamp(parts[1]));
            if (!madeFolders.contains(drawFolder)) {
                // A past draw of that name here would be mixed with the one brought back.
                if (QFileInfo::exists(drawFolder) || !QDir().mkpath(drawFolder)) return writeFailed(drawFolder);
                madeFolders << drawFolder;
                ++pastDraws;
            }
            target = QDir(drawFolder).filePath(parts[2]);
        }
        // The drive could change under the restore: each file is checked again as it is copied.
        const QString source = QDir(folder).filePath(f.path);
        const std::optional<QByteArray> bytes = readWhole(source);
        if (!bytes || digestOf(*bytes) != f.digest)
            return undo(FullRestoreStatus::Damaged, FullBackupDamagedText + QDir::toNativeSeparators(source));
        if (parts[0] == BookPart) {
            const FileBytes before = store.readBytes(target);
            written << Before{target, before.exists ? std::optional<QByteArray>(before.bytes) : std::nullopt};
        }
        if (!writeChecked(target, *bytes)) return writeFailed(target);
        progress.yield();
    }
    progress.hide();
    r.status = FullRestoreStatus::Done;
    r.files = static_cast<int>(listed->size());
    r.lines << FullRestoreDoneText << FullBackupFilesText.arg(formatCount(r.files));
    if (pastDraws > 0) r.lines << FullBackupPastDrawsText.arg(formatCount(pastDraws));
    return r;
}

} // namespace varnoth
