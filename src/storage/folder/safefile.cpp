#include "storage/folder/safefile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace varnoth
{

#ifdef Q_OS_UNIX
namespace
{

FileKind kindOf(mode_t mode)
{
    if (S_ISLNK(mode)) return FileKind::Link;
    return S_ISREG(mode) ? FileKind::Regular : FileKind::Other;
}

// Opens with O_NOFOLLOW (a link in the last place fails with ELOOP) and O_NONBLOCK (a pipe opens at
// once instead of waiting for a writer), then keeps the descriptor only for a regular file.
bool openRegular(QFile& file, const QString& path, int flags, QIODevice::OpenMode mode, FileKind* kind)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (kind) *kind = errno == ENOENT ? FileKind::Missing : fileKind(path);
        return false;
    }
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (kind) *kind = FileKind::Other;
        ::close(fd);
        return false;
    }
    // Reads and writes of a regular file never wait, so the descriptor can stay non-blocking.
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (kind) *kind = FileKind::Regular;
        return false;
    }
    if (kind) *kind = FileKind::Regular;
    return true;
}

} // namespace

FileKind fileKind(const QString& path)
{
    struct stat st {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return FileKind::Missing;
    return kindOf(st.st_mode);
}

bool openRegularForRead(QFile& file, const QString& path, FileKind* kind)
{
    return openRegular(file, path, O_RDONLY, QIODevice::ReadOnly, kind);
}

bool openRegularForAppend(QFile& file, const QString& path, FileKind* kind)
{
    return openRegular(file, path, O_WRONLY | O_APPEND | O_CREAT, QIODevice::WriteOnly | QIODevice::Append, kind);
}

bool openRegularForUpdate(QFile& file, const QString& path, FileKind* kind)
{
    return openRegular(file, path, O_RDWR | O_CREAT, QIODevice::ReadWrite, kind);
}

bool syncData(QFile& file)
{
#ifdef Q_OS_LINUX
    return file.flush() && ::fdatasync(file.handle()) == 0;
#else
    return file.flush() && ::fsync(file.handle()) == 0;
#endif
}

#else

FileKind fileKind(const QString& path)
{
    const QFileInfo info(path);
    // A shortcut (.lnk) is an ordinary file to the system; only links and junctions lead elsewhere.
    if (info.isSymbolicLink() || info.isJunction()) return FileKind::Link;
    if (!info.exists()) return FileKind::Missing;
    return info.isFile() ? FileKind::Regular : FileKind::Other;
}

namespace
{
bool openRegular(QFile& file, const QString& path, QIODevice::OpenMode mode, bool create, FileKind* kind)
{
    const FileKind found = fileKind(path);
    if (kind) *kind = found;
    if (found != FileKind::Regular && !(create && found == FileKind::Missing)) return false;
    file.setFileName(path);
    if (!file.open(mode)) return false;
    if (kind) *kind = FileKind::Regular;
    return true;
}
} // namespace

bool openRegularForRead(QFile& file, const QString& path, FileKind* kind)
{
    return openRegular(file, path, QIODevice::ReadOnly, false, kind);
}

bool openRegularForAppend(QFile& file, const QString& path, FileKind* kind)
{
    return openRegular(file, path, QIODevice::WriteOnly | QIODevice::Append, true, kind);
}

bool openRegularForUpdate(QFile& file, const QString& path, FileKind* kind)
{
    return openRegular(file, path, QIODevice::ReadWrite, true, kind);
}

bool syncData(QFile& file)
{
    return file.flush() && ::FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())));
}

#endif

bool openForReplace(QSaveFile& file, QIODevice::OpenMode mode, FileKind* kind)
{
    const FileKind found = fileKind(file.fileName());
    if (kind) *kind = found;
    return mayReplace(found) && file.open(mode);
}

std::optional<QByteArray> readRegularFile(const QString& path, FileKind* kind)
{
    QFile file;
    if (!openRegularForRead(file, path, kind)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

bool removeOwnFolder(const QString& path)
{
    switch (fileKind(path)) {
    case FileKind::Missing:
        return true;
    case FileKind::Link:
        // QFile::remove takes the link away, never what it leads to; a junction on Windows is a
        // folder to it, and rmdir removes the junction alone.
        return QFile::remove(path) || QDir().rmdir(path);
    case FileKind::Regular:
        return false;
    case FileKind::Other:
        if (!QFileInfo(path).isDir()) return false; // a pipe or a device is not a folder of ours
        break;
    }
    return QDir(path).removeRecursively();
}

const char* fileKindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Missing:
        return "missing";
    case FileKind::Regular:
        return "file";
    case FileKind::Link:
        return "link, not followed";
    case FileKind::Other:
        return "not a regular file";
    }
    return "";
}

void logWriteRefused(const QString& path, FileKind kind)
{
    qWarning().noquote() << "write failed:" << QDir::toNativeSeparators(path)
                         << QStringLiteral("(%1)").arg(QLatin1String(fileKindName(kind)));
}

} // namespace varnoth
