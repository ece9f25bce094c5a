#pragma once
// Knows which files a folder holds and how long each is, without listing the folder every time:
// one listing, then the kernel's notices of what changed since (files added, removed, renamed,
// written or cut short, by this program or any other). Where the system gives no such notices,
// or they were lost, the folder is listed again in full.

#include <QHash>
#include <QString>

namespace varnoth
{

class FolderWatch
{
public:
    explicit FolderWatch(const QString& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Every file of the folder (hidden ones too) with its size in bytes.
    const QHash<QString, qint64>& files();

    // Whether the last call of files() was answered from the notices rather than a full listing.
    bool lastFromNotices() const { return m_fromNotices; }
    // Counts the full listings: what was learnt from one is only known to hold while this stays.
    quint64 listings() const { return m_listings; }
    // The files that files() found removed or emptied since the last call of this.
    QStringList takeVanished();

private:
    void listAll();
    bool startWatching();
    void stopWatching();
    // Applies the notices waiting since the last call; false when they cannot be trusted.
    bool applyNotices();
    void refresh(const QString& name);

    QString m_folder;
    QHash<QString, qint64> m_files;
    QStringList m_vanished;
    quint64 m_listings = 0;
    int m_fd = -1;
    int m_watch = -1;
    bool m_valid = false;
    bool m_fromNotices = false;
};

} // namespace varnoth
