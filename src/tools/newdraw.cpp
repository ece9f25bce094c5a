#include "tools/newdraw.h"

#include "accounts/dealersent.h"
#include "accounts/payments.h"
#include "audit/auditlog.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "settings/options.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/safefile.h"
#include "storage/folder/store.h"
#include "tools/backuptexts.h"
#include "tools/restore.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace varnoth
{

namespace
{

double valueOf(QByteArrayView bytes)
{
    return Val(QString::fromLatin1(bytes));
}

double valueOf(QStringView text)
{
    return Val(text.toString());
}

// True for a saved-list name that stays a plain file name inside the data folder.
bool isPlainFileName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
        if (QStringLiteral("/\\:*?\"<>|").contains(c)) return false;
    }
    return true;
}

QStringList removeChecked(Store& store, const QString& path)
{
    if (store.removeFile(path)) return {};
    return {outcomeLine({Status::WriteFailed, path})};
}

} // namespace

// --- the new draw --------------------------------------------------------------------------------

namespace
{

// Every stake file of the folder, not only those of the listed customers: a file left behind would
// be taken over by whichever new customer next gets its index.
QStringList stakeFileNames(const Store& store)
{
    static const QRegularExpression stakeName(QStringLiteral("^\\d+_\\d+\\.gif$"));
    const QStringList files = QDir(store.dataFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QStringList stakes;
    for (const QString& name : files)
        if (stakeName.match(name).hasMatch()) stakes << name;
    return stakes;
}

// True when a line of the number file has a value other than 0 after its first "-".
bool holdsValue(Store& store, const QString& path)
{
    bool holds = false;
    forEachNumberLine(QByteArrayView(store.readBytes(path).bytes), [&holds](const auto& line) {
        if (!holds && line.hasDash() && valueOf(line.amount()) != 0) holds = true;
    });
    return holds;
}

// A whole file into a new file, atomically; the copy is read back and compared byte for byte. A link
// in the book is not a file of the book: it is neither read nor copied, and the copy fails.
bool copyChecked(const QString& from, const QString& to)
{
    FileKind kind = FileKind::Missing;
    const std::optional<QByteArray> bytes = readRegularFile(from, &kind);
    if (!bytes) {
        qWarning().noquote() << "read failed:" << QDir::toNativeSeparators(from)
                             << QStringLiteral("(%1)").arg(QLatin1String(fileKindName(kind)));
        return false;
    }
    QSaveFile target(to);
    if (!openForReplace(target, QIODevice::WriteOnly, &kind)) {
        if (!mayReplace(kind)) logWriteRefused(to, kind);
        return false;
    }
    if (target.write(*bytes) != bytes->size() || !target.commit()) return false;
    return readRegularFile(to) == bytes;
}

} // namespace

QString drawsFolderPath(const Store& store)
{
    const QString data = QDir::cleanPath(store.dataFolder());
    const QString parent = QFileInfo(data).absolutePath();
    if (parent == QFileInfo(data).absoluteFilePath()) return {}; // the data folder is a root
    return QDir(parent).filePath(DrawsFolderName);
}

QString drawCopyPrefix(const Store& store)
{
    return QFileInfo(QDir::cleanPath(store.dataFolder())).fileName() + QLatin1Char('_');
}

bool bookHoldsRecords(Store& store)
{
    for (const QString& name : stakeFileNames(store))
        if (holdsValue(store, store.path(name))) return true;
    for (const QString& type : typeNames())
        if (holdsValue(store, store.TypeFilePath(type, Store::CountPrefix))) return true;
    return false;
}

QString makeDrawCopyFolder(const Store& store, const QDateTime& when)
{
    const QString draws = drawsFolderPath(store);
    if (draws.isEmpty()) return {};
    // The past draws are kept beside the book, never in a folder a link points at.
    if (const FileKind kind = fileKind(draws); kind == FileKind::Link) {
        logWriteRefused(draws, kind);
        return {};
    }
    if (!QDir().mkpath(draws)) return {};
    const QDir dir(draws);
    const QString stamp = drawCopyPrefix(store) + QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd_HHmm"));
    constexpr int MaxTries = 1000;
    for (int n = 1; n <= MaxTries; ++n) {
        const QString name = n == 1 ? stamp : stamp + QLatin1Char('_') + QString::number(n);
        const QString making = name + CopyInProgressSuffix;
        if (dir.exists(name) || dir.exists(making)) continue;
        if (dir.mkdir(making)) return dir.filePath(name);
        if (!dir.exists(making)) return {};
    }
    return {};
}

bool isUnfinishedDraw(const QString& copyFolder)
{
    return QFileInfo::exists(QDir(copyFolder).filePath(DrawStateFileName));
}

bool copyBook(Store& store, const QString& folder)
{
    const QDir data(store.dataFolder());
    const QDir copy(folder);
    const QStringList files = data.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    Progress& progress = store.progress();
    progress.reset();
    for (const QString& name : files) {
        progress.tick(files.size());
        if (name == LockFileName) continue;
        if (!copyChecked(data.filePath(name), copy.filePath(name))) {
            progress.hide();
            return false;
        }
        progress.yield();
    }
    progress.hide();
    return true;
}

QStringList DeleteAllStakeFiles(Store& store)
{
    const QStringList stakes = stakeFileNames(store);
    QStringList failures;
    Progress& progress = store.progress();
    progress.reset();
    for (const QString& name : std::as_const(stakes)) {
        progress.tick(stakes.size());
        failures += removeChecked(store, store.path(name));
        progress.yield();
    }
    progress.hide();
    return failures;
}

QStringList DeleteTypeFiles(Store& store, const QString& prefix)
{
    QStringList failures;
    Progress& progress = store.progress();
    progress.reset();
    for (const QString& type : typeNames()) {
        progress.tick(typeNames().size());
        failures += removeChecked(store, store.TypeFilePath(type, prefix));
    }
    progress.hide();
    return failures;
}

namespace
{

bool writeState(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return openForReplace(file) && file.write(bytes) == bytes.size() && file.commit();
}

// The files of the book's draw that the new draw deletes after its stake, count and send-out files:
// every saved send-out list named in the history, the settings, result, history and customer files,
// the fingerprints of merged backups, the audit log, the payments (the customers' and the dealers')
// and which dealer each list went to. The history is read from the copy, which keeps it whole
// whatever of the book was deleted already.
QStringList otherDrawFiles(const Store& store, const QString& copyFolder)
{
    // A history edited by hand could name a path; only plain names inside the folder are deleted.
    const Store copy(copyFolder);
    const QString history = withoutLineEnds(copy.ReadWholeFile(copy.historyFile()));
    const QStringList saved = splitText(history, QStringLiteral("#"));
    const qsizetype count = history.count(QLatin1Char('#'));
    QStringList files;
    for (qsizetype i = 0; i < count; ++i)
        if (isPlainFileName(saved[i])) files << store.savedListFile(saved[i]);
    files << store.limitFile() << store.resultFile() << store.rateFile() << store.numberCutFile()
          << store.discountFile() << store.digitCutFile() << store.historyFile() << store.customerFile()
          << store.path(MergedBackupsFileName) << store.path(AuditLogFileName) << store.path(PaymentsFileName)
          << store.path(DealerListsFileName) << store.path(DealerPaymentsFileName);
    return files;
}

QStringList drawFiles(const Store& store, const QString& copyFolder)
{
    QStringList files;
    for (const QString& name : stakeFileNames(store))
        files << store.path(name);
    for (const QString& prefix : {Store::CountPrefix, Store::SendOutPrefix})
        for (const QString& type : typeNames())
            files << store.TypeFilePath(type, prefix);
    return files + otherDrawFiles(store, copyFolder);
}

// The delete phase, from its first delete to the fresh count and send-out files. The copy is marked
// unfinished throughout, so that a draw cut off halfway is never counted beside what is left of the
// book, and is completed at the next start.
QStringList emptyBook(Store& store, const QString& copyFolder)
{
    const QString state = QDir(copyFolder).filePath(DrawStateFileName);
    QStringList failures = DeleteAllStakeFiles(store);
    failures += DeleteTypeFiles(store, Store::CountPrefix);
    failures += DeleteTypeFiles(store, Store::SendOutPrefix);
    for (const QString& path : otherDrawFiles(store, copyFolder))
        failures += removeChecked(store, path);
    // The options stay with the book; the old draw's date goes with its copy.
    failures += forgetDrawDates(store);
    failures += store.EnsureTypeFiles(typeNames(), Store::CountPrefix);
    failures += store.EnsureTypeFiles(typeNames(), Store::SendOutPrefix);
    // Finished even when a file could not be deleted: the operator is told which, and a draw left
    // marked would have the next start delete what is keyed in the new draw meanwhile.
    if (!QFile::remove(state) && QFileInfo::exists(state)) failures << outcomeLine({Status::WriteFailed, state});
    return failures;
}

// True when a file of the book still holds what the new draw copied, or is a fresh count or send-out
// file: what the completion of the draw may delete without losing anything.
bool untouchedSinceCopy(Store& store, const QString& path, const QString& copyFolder)
{
    const FileBytes now = store.readBytes(path);
    if (!now.exists) return true;
    if (readRegularFile(QDir(copyFolder).filePath(Store::fileName(path))) == now.bytes) return true;
    const QString name = Store::fileName(path);
    const bool numberFile = name.startsWith(Store::CountPrefix) || name.startsWith(Store::SendOutPrefix);
    return numberFile && !holdsValue(store, path);
}

} // namespace

NewDrawResult startNewDraw(Store& store, const QDateTime& when,
                           const std::function<bool(const QString& folder)>& addToCopy)
{
    NewDrawResult r;
    const QString folder = makeDrawCopyFolder(store, when);
    const QString making = folder + CopyInProgressSuffix;
    // The copy takes its name only when it is whole and checked and marked unfinished: then the first
    // delete may come.
    if (folder.isEmpty() || !copyBook(store, making) || (addToCopy && !addToCopy(making)) ||
        !writeState(QDir(making).filePath(DrawStateFileName), UnfinishedDrawState) || !QDir().rename(making, folder)) {
        // A partial copy would pass for the book; only a whole one is left behind.
        if (!folder.isEmpty()) removeOwnFolder(making);
        r.outcome = {Status::CopyFailed, drawsFolderPath(store)};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    r.copyFolder = folder;
    r.done = true;
    r.lines << DrawCopiedText + QDir::toNativeSeparators(r.copyFolder);
    r.lines += emptyBook(store, r.copyFolder);
    return r;
}

DrawCompletion completeInterruptedDraws(Store& store)
{
    DrawCompletion c;
    const QString draws = drawsFolderPath(store);
    if (draws.isEmpty()) return c;
    const QDir dir(draws);
    const QString prefix = drawCopyPrefix(store);
    static const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}_\\d{4}(?:_\\d+)?$"));
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (!entry.startsWith(prefix)) continue;
        const QString path = dir.filePath(entry);
        if (entry.endsWith(CopyInProgressSuffix)) {
            // Nothing is deleted before the copy has its name: the book is whole, this half of a copy
            // of it is of no use.
            const QString name = entry.mid(prefix.size()).chopped(CopyInProgressSuffix.size());
            if (!stamp.match(name).hasMatch()) continue;
            if (removeOwnFolder(path))
                c.lines << DrawNotStartedText;
            else
                c.lines << outcomeLine({Status::WriteFailed, path});
            continue;
        }
        if (!stamp.match(entry.mid(prefix.size())).hasMatch() || !isUnfinishedDraw(path)) continue;
        const QStringList files = drawFiles(store, path);
        const bool untouched = std::all_of(files.begin(), files.end(),
                                           [&](const QString& file) { return untouchedSinceCopy(store, file, path); });
        if (!untouched) {
            c.lines << DrawNotCompletedText + QDir::toNativeSeparators(path);
            continue;
        }
        c.completed << path;
        c.lines << DrawCompletedText + QDir::toNativeSeparators(path);
        c.lines += emptyBook(store, path);
    }
    return c;
}
} // namespace varnoth
