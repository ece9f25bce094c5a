#include "storage/folder/folderwatch.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <utility>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace varnoth
{

namespace
{
// The journal keeps this many names at most; a reader further behind looks at every file.
constexpr qsizetype JournalLength = 4096;

quint64 nextWatchId()
{
    static std::atomic<quint64> next{1};
    return next++;
}
} // namespace

FolderWatch::FolderWatch(const QString& folder) : m_folder(folder), m_id(nextWatchId()) {}

FolderWatch::~FolderWatch()
{
    stopWatching();
}

const QHash<QString, qint64>& FolderWatch::files()
{
    m_fromNotices = m_valid && applyNotices();
    if (!m_fromNotices) {
        // Watching starts before the listing, so that nothing done while it runs goes unnoticed.
        m_valid = startWatching();
        listAll();
    }
    return m_files;
}

QStringList FolderWatch::takeVanished()
{
    return std::exchange(m_vanished, {});
}

quint64 FolderWatch::journalEnd()
{
#ifdef Q_OS_LINUX
    files();
    return m_journalBase + static_cast<quint64>(m_journal.size());
#else
    // No notices here: a listing would tell nothing of what changed, and costs a look at every file.
    return 0;
#endif
}

std::optional<QStringList> FolderWatch::changedSince(quint64 at)
{
#ifdef Q_OS_LINUX
    const quint64 end = journalEnd();
    if (!m_fromNotices || at < m_journalBase || at > end) return std::nullopt;
    return m_journal.mid(static_cast<qsizetype>(at - m_journalBase));
#else
    Q_UNUSED(at);
    return std::nullopt;
#endif
}

void FolderWatch::listAll()
{
    ++m_listings;
    // Nothing read from the journal before this listing may be trusted: start it afresh, past every
    // position handed out so far.
    m_journalBase += static_cast<quint64>(m_journal.size()) + 1;
    m_journal.clear();
    m_files.clear();
    QDirIterator it(m_folder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        m_files.insert(fi.fileName(), fi.size());
    }
}

void FolderWatch::refresh(const QString& name)
{
    const QFileInfo fi(m_folder + QLatin1Char('/') + name);
    const bool there = fi.exists() && !fi.isDir();
    if (there)
        m_files.insert(name, fi.size());
    else
        m_files.remove(name);
    if (!there || fi.size() == 0) m_vanished << name;
}

#ifdef Q_OS_LINUX

bool FolderWatch::startWatching()
{
    stopWatching();
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0) return false;
    const QByteArray path = QFile::encodeName(m_folder);
    constexpr uint32_t Mask = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM |
                              IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    m_watch = inotify_add_watch(m_fd, path.constData(), Mask);
    if (m_watch < 0) {
        stopWatching();
        return false;
    }
    return true;
}

void FolderWatch::stopWatching()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_watch = -1;
}

bool FolderWatch::applyNotices()
{
    QSet<QString> changed;
    alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) break;
            return false;
        }
        if (n == 0) break;
        for (const char* p = buffer; p < buffer + n;) {
            inotify_event event;
            std::memcpy(&event, p, sizeof event);
            // Lost notices, or the folder itself gone or moved: nothing known can be trusted.
            if (event.mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) return false;
            if (event.len > 0) changed.insert(QFile::decodeName(p + sizeof(inotify_event)));
            p += sizeof(inotify_event) + event.len;
        }
    }
    for (const QString& name : changed) {
        refresh(name);
        m_journal << name;
    }
    if (m_journal.size() > JournalLength) {
        const qsizetype drop = m_journal.size() - JournalLength / 2;
        m_journal.remove(0, drop);
        m_journalBase += static_cast<quint64>(drop);
    }
    return true;
}

#else

// Elsewhere the folder is listed in full each time; where the listing brings the sizes with the
// names (as on Windows) that costs little.
bool FolderWatch::startWatching()
{
    return false;
}

void FolderWatch::stopWatching() {}

bool FolderWatch::applyNotices()
{
    return false;
}

#endif

} // namespace varnoth
