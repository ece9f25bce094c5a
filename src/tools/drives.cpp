#include "tools/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace varnoth
{

bool isRemovable(const QStorageInfo& volume)
{
#ifdef Q_OS_WIN
    const QString root = QDir::toNativeSeparators(volume.rootPath());
    return GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16())) == DRIVE_REMOVABLE;
#else
    const QString root = volume.rootPath();
    for (const char* prefix : {"/media/", "/run/media/", "/mnt/", "/Volumes/"})
        if (root.startsWith(QLatin1String(prefix))) return true;
    return false;
#endif
}

// --- drives --------------------------------------------------------------------------------------

QList<Drive> availableDrives()
{
    static const QSet<QByteArray> pseudo = {"tmpfs",  "devtmpfs", "ramfs",      "squashfs", "proc",    "sysfs",
                                            "cgroup", "cgroup2",  "devpts",     "mqueue",   "debugfs", "tracefs",
                                            "autofs", "fusectl",  "securityfs", "pstore",   "bpf",     "configfs"};
    QList<Drive> removable, others;
    QSet<QString> seen;
    auto add = [&](QList<Drive>& into, const QString& root, const QString& name, bool isRemovable) {
        const QString clean = QDir::cleanPath(root);
        if (seen.contains(clean)) return;
        seen.insert(clean);
        QString label = QDir::toNativeSeparators(clean);
        if (!name.isEmpty()) label += QStringLiteral(" (") + name + QLatin1Char(')');
        into << Drive{clean, label, isRemovable};
    };
    add(others, QDir::homePath(), {}, false);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || pseudo.contains(volume.fileSystemType())) continue;
        if (!QFileInfo(volume.rootPath()).isDir() || volume.rootPath().startsWith(QLatin1String("/snap/"))) continue;
        const bool r = isRemovable(volume);
        add(r ? removable : others, volume.rootPath(), volume.name(), r);
    }
    return removable + others;
}
} // namespace varnoth
