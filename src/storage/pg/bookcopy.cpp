#include "storage/pg/bookcopy.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/folderbookstore.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/intent.h"
#include "storage/folder/numberfile.h"
#include "storage/folder/store.h"
#include "storage/pg/bookcopytexts.h"
#include "storage/pg/pgbookstore.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QTemporaryDir>

namespace varnoth
{

namespace
{

BookCopyResult failed(const Outcome& why, const QString& line)
{
    return {why, {line, NothingMovedText}, {}};
}

BookCopyResult failed(const Outcome& why)
{
    return failed(why, outcomeLine(why).isEmpty() ? why.file : outcomeLine(why));
}

// The bytes the folder's routines give a number file of the type holding these lines: the type's
// fresh file with each line set, as an export writes it.
QByteArray numberFileBytes(const QString& type, const QList<AmountLine>& lines)
{
    NumberFile f = NumberFile::fromText(InitialContent(type));
    for (const AmountLine& l : lines)
        if (!f.set(l.number, shortestDecimal(Val(l.amount)))) return {};
    return encodeWindows874(f.text() + CRLF);
}

QByteArray settingBytes(const QStringList& lines)
{
    QString text;
    for (const QString& l : lines)
        text += l + CRLF;
    return encodeWindows874(text);
}

QByteArray customerListBytes(const QStringList& names)
{
    return encodeWindows874(QLatin1Char('#') + names.join(QLatin1Char('#')) + QLatin1Char('#') + CRLF);
}

// A number file of the folder, read and checked: its lines, or why it cannot be moved.
struct NumberRead {
    NumberLines lines;
    std::optional<BookCopyResult> refusal;
};

NumberRead readNumbers(Store& store, const QString& type, const QString& path, const NumberLines& lines)
{
    if (!lines.readable) return {{}, failed({Status::ReadFailed, path})};
    if (!lines.exists) return {lines, {}};
    const FileBytes bytes = store.readBytes(path);
    if (!bytes.readable) return {{}, failed({Status::ReadFailed, path})};
    if (bytes.bytes != numberFileBytes(type, lines.lines))
        return {{}, failed({Status::Refused, path}, NotMovableFileText + QDir::toNativeSeparators(path))};
    return {lines, {}};
}

} // namespace

BookCopyResult importFolderBook(const QString& folder, PgBookStore& server)
{
    const QString nativeFolder = QDir::toNativeSeparators(folder);
    if (!QFileInfo(folder).isDir() || !QFileInfo::exists(QDir(folder).filePath(Store::CustomerFileName)))
        return failed({Status::Refused, folder}, NoFolderBookText + nativeFolder);
    // A copy of the program keying into the folder meanwhile would leave the server half a book. (A
    // folder where no lock can be made, such as a read-only one, is keyed into by nobody.)
    QLockFile lock(QDir(folder).filePath(LockFileName));
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError)
        return failed({Status::Refused, folder}, AlreadyRunningText + ' ' + nativeFolder);
    Store store(folder);
    if (saveInterrupted(store)) return failed({Status::Refused, folder}, UnfinishedSaveText + nativeFolder);
    FolderBookStore book(store);
    // The lock and the record of the last save (which is done) are the folder's working files, no record
    // of the book.
    QSet<QString> moved{LockFileName, IntentFileName};

    const QStringList names = book.customers();
    {
        const FileBytes list = store.readBytes(store.customerFile());
        if (!list.readable) return failed({Status::ReadFailed, store.customerFile()});
        // Names standing twice or empty places cannot be kept on the server (each name stands once).
        if (!names.isEmpty() && list.bytes != customerListBytes(names))
            return failed({Status::Refused, store.customerFile()},
                          NotMovableFileText + QDir::toNativeSeparators(store.customerFile()));
        // A list without a name is no list an export makes again: it is named among the files left.
        if (!names.isEmpty()) moved << Store::CustomerFileName;
    }

    auto tx = server.begin();
    auto* pg = static_cast<PgTransaction*>(tx.get());
    pg->requireEmptyBook();
    for (const QString& name : names)
        pg->addCustomer(name);

    const QStringList& types = typeNames();
    for (int t = 0; t < types.size(); ++t) {
        const QString& type = types[t];
        for (int c = 0; c < names.size(); ++c) {
            const QString path = store.stakeFilePathAt(t, c + 1);
            const NumberRead r = readNumbers(store, type, path, book.stakes(type, names[c]));
            if (r.refusal) return *r.refusal;
            for (const AmountLine& l : r.lines.lines)
                if (Val(l.amount) != 0) tx->setStake(type, names[c], l.number, l.amount);
            moved << Store::fileName(path);
        }
        const QString countPath = store.TypeFilePath(type, Store::CountPrefix);
        const NumberRead counts = readNumbers(store, type, countPath, book.counts(type));
        if (counts.refusal) return *counts.refusal;
        for (const AmountLine& l : counts.lines.lines)
            if (Val(l.amount) != 0) tx->addCount(type, l.number, Val(l.amount));
        const QString sendOutPath = store.TypeFilePath(type, Store::SendOutPrefix);
        const NumberRead sent = readNumbers(store, type, sendOutPath, book.sendOut(type));
        if (sent.refusal) return *sent.refusal;
        for (const AmountLine& l : sent.lines.lines)
            if (Val(l.amount) != 0) tx->addSendOut(type, l.number, Val(l.amount));
        moved << Store::fileName(countPath) << Store::fileName(sendOutPath);
    }

    for (int s = 0; s < BookSettingCount; ++s) {
        const auto setting = static_cast<BookSetting>(s);
        const QString path = store.path(settingFileName(setting));
        const SettingLines lines = book.settingLines(setting);
        if (!lines.readable) return failed({Status::ReadFailed, path});
        if (!lines.exists) continue;
        // Only lines ended by CR LF are lines of a setting: a text after the last line end would be lost.
        if (store.readBytes(path).bytes != settingBytes(lines.lines))
            return failed({Status::Refused, path}, NotMovableFileText + QDir::toNativeSeparators(path));
        tx->setSettingLines(setting, lines.lines);
        moved << settingFileName(setting);
    }

    BookCopyResult result;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : entries)
        if (!moved.contains(name)) result.leftBehind << name;

    server.clearLastError();
    const CommitResult commit = tx->commit();
    if (!commit.ok()) {
        // The server's own words where it gave them; the refusal of a book holding something is its line.
        const QString why = commit.outcome.status == Status::Refused ? commit.outcome.file
                            : server.lastError().isEmpty()           ? outcomeLine(commit.outcome)
                                                                     : server.lastError();
        return failed(commit.outcome, why);
    }
    result.lines << BookImportedText.arg(names.size());
    for (const QString& name : std::as_const(result.leftBehind))
        result.lines << BookLeftBehindText + name;
    return result;
}

BookCopyResult exportServerBook(PgBookStore& server, const QString& folder)
{
    const QString nativeFolder = QDir::toNativeSeparators(folder);
    const QFileInfo target(folder);
    if (target.exists() || target.isSymLink()) {
        const bool empty = target.isDir() && !target.isSymLink() &&
                           QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        if (!empty) return failed({Status::Refused, folder}, ExportFolderNotEmptyText + nativeFolder);
    }

    // The whole server book is read before anything is written.
    const auto readFailed = [&server] {
        return failed({Status::ReadFailed, {}}, server.lastError().isEmpty() ? ReadFailedText : server.lastError());
    };
    server.clearLastError();
    const QStringList names = server.customers();
    if (!server.lastError().isEmpty()) return readFailed();
    struct TypeBook {
        QList<NumberLines> stakes; // per customer, in list order
        NumberLines counts, sendOut;
    };
    QList<TypeBook> books;
    for (const QString& type : typeNames()) {
        TypeBook b;
        for (const QString& name : names)
            b.stakes << server.stakes(type, name);
        b.counts = server.counts(type);
        b.sendOut = server.sendOut(type);
        for (const NumberLines& l : std::as_const(b.stakes))
            if (!l.readable) return readFailed();
        if (!b.counts.readable || !b.sendOut.readable) return readFailed();
        books << b;
    }
    QList<SettingLines> settings;
    for (int s = 0; s < BookSettingCount; ++s) {
        settings << server.settingLines(static_cast<BookSetting>(s));
        if (!settings.last().readable) return readFailed();
    }

    // Made beside the target and put in its place whole.
    const QString parent = QFileInfo(QDir::cleanPath(target.absoluteFilePath())).absolutePath();
    if (!QDir().mkpath(parent)) return failed({Status::WriteFailed, parent});
    QTemporaryDir made(parent + QStringLiteral("/.varnoth-export-XXXXXX"));
    if (!made.isValid()) return failed({Status::WriteFailed, parent});
    {
        Store store(made.path());
        // The customers come in as every customer does, one after another, so that the places of the
        // list (and the names of the stake files) follow the server's order.
        for (const QString& name : names)
            if (const QStringList lines = store.AddCustomer(name); !lines.isEmpty())
                return failed({Status::WriteFailed, store.customerFile()}, lines.first());

        // Every number file in one commit, each as the type's fresh file with its lines set.
        FolderTransaction tx(store);
        const QStringList& types = typeNames();
        const auto put = [&tx](const QString& path, const QString& type, const NumberLines& lines) {
            const QByteArray bytes = numberFileBytes(type, lines.lines);
            if (bytes.isEmpty()) return false;
            tx.replaceBytes(path, bytes);
            return true;
        };
        for (int t = 0; t < types.size(); ++t) {
            bool whole = true;
            for (int c = 0; c < names.size(); ++c)
                whole = whole && put(store.stakeFilePathAt(t, c + 1), types[t], books[t].stakes[c]);
            whole = whole && put(store.TypeFilePath(types[t], Store::CountPrefix), types[t], books[t].counts) &&
                    put(store.TypeFilePath(types[t], Store::SendOutPrefix), types[t], books[t].sendOut);
            if (!whole) return failed({Status::ReadFailed, types[t]}, ReadFailedText + types[t]);
        }
        for (int s = 0; s < BookSettingCount; ++s)
            if (settings[s].exists) tx.setSettingLines(static_cast<BookSetting>(s), settings[s].lines);
        if (const CommitResult r = tx.commit(); !r.ok()) return failed(r.outcome);
        // Whatever else makes a book complete is made as for any book.
        if (const QStringList lines = store.creationSequence({}); !lines.isEmpty())
            return failed({Status::WriteFailed, made.path()}, lines.first());
    }
    if (target.exists() && !QDir().rmdir(folder)) return failed({Status::WriteFailed, folder});
    if (!QDir().rename(made.path(), folder)) return failed({Status::WriteFailed, folder});
    made.setAutoRemove(false);
    return {{}, {BookExportedText.arg(names.size()).arg(nativeFolder)}, {}};
}

} // namespace varnoth
