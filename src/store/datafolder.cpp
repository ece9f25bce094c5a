#include "store/datafolder.h"

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

QString chooseDataFolder(const QString& programFolder, const QString& override, const QString& userFolder)
{
    if (!override.isEmpty()) return QDir::cleanPath(override);
    const QString beside = QDir(programFolder).filePath(QStringLiteral("picture_1"));
    if (QFileInfo::exists(beside) ? folderWritable(beside) : folderWritable(programFolder))
        return QDir::cleanPath(beside);
    return QDir::cleanPath(QDir(userFolder).filePath(QStringLiteral("picture_1")));
}

} // namespace varnoth
