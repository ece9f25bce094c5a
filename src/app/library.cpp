#include "app/library.h"

#include "app/Ledger.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/store.h"

#include <QDir>
#include <QLockFile>

namespace varnoth
{

namespace
{
const QString FolderScheme = QStringLiteral("folder:");
}

Book::Book(const QString& id, std::unique_ptr<QLockFile> lock, std::unique_ptr<Store> store)
    : m_id(id), m_lock(std::move(lock)), m_store(std::move(store))
{
}

// The ledger goes first: it may still write the book as it ends, and the lock is let go last.
Book::~Book()
{
    m_ledger.reset();
    m_store.reset();
}

QString Book::folder() const
{
    return m_store->dataFolder();
}

Ledger& Book::start(ReportState& state)
{
    if (!m_ledger) m_ledger = std::make_unique<Ledger>(*m_store, state);
    return *m_ledger;
}

QString Library::folderId(const QString& folder)
{
    return FolderScheme + folder;
}

QString Library::folderOf(const QString& id)
{
    if (id.startsWith(FolderScheme)) return id.mid(FolderScheme.size());
    // A bare path, never another scheme ("postgresql://…"): a drive letter's colon is no scheme.
    const qsizetype colon = id.indexOf(QLatin1Char(':'));
    const bool scheme = colon > 1 && id.mid(colon, 3) == QStringLiteral("://");
    return scheme || id.isEmpty() ? QString() : id;
}

OpenedBook Library::open(const QString& id)
{
    OpenedBook opened;
    const QString folder = folderOf(id);
    opened.where = folder.isEmpty() ? id : folder;
    if (folder.isEmpty()) return opened;
    if (!Store::codecAvailable()) {
        opened.status = OpenStatus::CodecMissing;
        return opened;
    }
    if (!Store::MakeHiddenFolder(folder) || !folderWritable(folder)) {
        opened.status = OpenStatus::FolderUnusable;
        return opened;
    }
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(LockFileName));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        opened.status = OpenStatus::AlreadyOpen;
        return opened;
    }
    opened.status = OpenStatus::Opened;
    opened.book.reset(new Book(folderId(folder), std::move(lock), std::make_unique<Store>(folder)));
    return opened;
}

} // namespace varnoth
