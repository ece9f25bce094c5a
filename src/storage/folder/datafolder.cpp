#include "storage/folder/datafolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace varnoth
{

bool folderWritable(const QString& folder)
{
    if (!QDir().mkpath(folder)) return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".probe-XXXXXX")));
    return probe.open();
}

namespace
{

// A program installed into the system's program folder (the .deb puts it in /usr/bin) is no
// portable copy, even when run by root, who could write there.
bool systemProgramFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    static const QStringList system = {QStringLiteral("/usr/bin"), QStringLiteral("/bin"),
                                       QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/games")};
    return system.contains(QDir::cleanPath(folder));
#else
    Q_UNUSED(folder);
    return false;
#endif
}

} // namespace

QString chooseDataFolder(const QString& programFolder, const QString& override, const QString& userFolder)
{
    if (!override.isEmpty()) return QDir::cleanPath(override);
    const QString beside = QDir(programFolder).filePath(QStringLiteral("picture_1"));
    if (!systemProgramFolder(programFolder) &&
        (QFileInfo::exists(beside) ? folderWritable(beside) : folderWritable(programFolder)))
        return QDir::cleanPath(beside);
    return QDir::cleanPath(QDir(userFolder).filePath(QStringLiteral("picture_1")));
}

} // namespace varnoth
