#include "tools/newdraw.h"

#include "accounts/payments.h"
#include "audit/auditlog.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "settings/options.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"
#include "tools/restore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>

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

// A whole file into a new file, atomically; the copy is read back and compared byte for byte.
bool copyChecked(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit()) return false;
    QFile copy(to);
    return copy.open(QIODevice::ReadOnly) && copy.readAll() == bytes && copy.error() == QFileDevice::NoError;
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
    if (draws.isEmpty() || !QDir().mkpath(draws)) return {};
    const QDir dir(draws);
    const QString stamp = drawCopyPrefix(store) + QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd_HHmm"));
    constexpr int MaxTries = 1000;
    for (int n = 1; n <= MaxTries; ++n) {
        const QString name = n == 1 ? stamp : stamp + QLatin1Char('_') + QString::number(n);
        if (dir.exists(name)) continue;
        if (dir.mkdir(name)) return dir.filePath(name);
        if (!dir.exists(name)) return {};
    }
    return {};
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

NewDrawResult startNewDraw(Store& store, const QDateTime& when)
{
    NewDrawResult r;
    r.copyFolder = makeDrawCopyFolder(store, when);
    if (r.copyFolder.isEmpty() || !copyBook(store, r.copyFolder)) {
        // A partial copy would pass for the book; only a whole one is left behind.
        if (!r.copyFolder.isEmpty()) QDir(r.copyFolder).removeRecursively();
        r.copyFolder.clear();
        r.outcome = {Status::CopyFailed, drawsFolderPath(store)};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    r.done = true;
    r.lines << DrawCopiedText + QDir::toNativeSeparators(r.copyFolder);

    QStringList failures = DeleteAllStakeFiles(store);
    failures += DeleteTypeFiles(store, Store::CountPrefix);
    failures += DeleteTypeFiles(store, Store::SendOutPrefix);

    // A history edited by hand could name a path; only plain names inside the folder are deleted.
    const QString history = withoutLineEnds(store.ReadWholeFile(store.historyFile()));
    const QStringList saved = splitText(history, QStringLiteral("#"));
    const qsizetype count = history.count(QLatin1Char('#'));
    for (qsizetype i = 0; i < count; ++i)
        if (isPlainFileName(saved[i])) failures += removeChecked(store, store.savedListFile(saved[i]));

    for (const QString& path :
         {store.limitFile(), store.resultFile(), store.rateFile(), store.numberCutFile(), store.discountFile(),
          store.digitCutFile(), store.historyFile(), store.customerFile(), store.path(MergedBackupsFileName),
          store.path(AuditLogFileName), store.path(PaymentsFileName)})
        failures += removeChecked(store, path);
    // The options stay with the book; the old draw's date goes with its copy.
    failures += forgetDrawDates(store);

    failures += store.EnsureTypeFiles(typeNames(), Store::CountPrefix);
    failures += store.EnsureTypeFiles(typeNames(), Store::SendOutPrefix);
    r.lines += failures;
    return r;
}
} // namespace varnoth
