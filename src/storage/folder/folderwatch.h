#pragma once
// Knows which files a folder holds and how long each is, without listing the folder every time:
// one listing, then the kernel's notices of what changed since (files added, removed, renamed,
// written or cut short, by this program or any other). Where the system gives no such notices,
// or they were lost, the folder is listed again in full.

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

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

    // A journal of the names the notices reported changed, so that a reader who remembers how far he
    // read can ask what changed since. `journalEnd()` brings the journal up to date and gives the
    // position after its last name. `changedSince(at)` gives the names changed after that position,
    // or nothing when the journal cannot tell (the folder was listed again, so notices may have been
    // lost; the position is from another watch; or it is too old): then every file must be looked at.
    quint64 journalEnd();
    std::optional<QStringList> changedSince(quint64 at);
    // Tells one watch from another, so that a position is only ever used with the journal it came from.
    quint64 id() const { return m_id; }

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
    QStringList m_journal;
    quint64 m_journalBase = 0; // the position of m_journal's first name
    quint64 m_id;
    quint64 m_listings = 0;
    int m_fd = -1;
    int m_watch = -1;
    bool m_valid = false;
    bool m_fromNotices = false;
};

} // namespace varnoth
