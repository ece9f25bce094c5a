#include "storage/folder/logfile.h"

#include "storage/folder/safefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace varnoth
{

namespace
{

QString logFolder;
QtMessageHandler previousHandler = nullptr;

void logHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg) {
        static const char* const kinds[] = {"debug", "warning", "critical", "fatal", "info"};
        appendLog(logFolder, QString::fromLatin1(kinds[type]), message);
    }
    if (previousHandler) previousHandler(type, context, message);
}

} // namespace

bool rotateLog(const QString& folder, const LogLimits& limits)
{
    const QDir dir(folder);
    const QString current = dir.filePath(LogFileName);
    if (QFileInfo(current).size() <= limits.maxBytes) return true;
    bool ok = true;
    const auto rotated = [&](int n) { return current + QLatin1Char('.') + QString::number(n); };
    if (QFile::exists(rotated(limits.keep))) ok = QFile::remove(rotated(limits.keep)) && ok;
    for (int n = limits.keep - 1; n >= 1; --n)
        if (QFile::exists(rotated(n))) ok = QFile::rename(rotated(n), rotated(n + 1)) && ok;
    return QFile::rename(current, rotated(1)) && ok;
}

bool appendLog(const QString& folder, const QString& kind, const QString& text)
{
    if (folder.isEmpty()) return false;
    rotateLog(folder);
    // A link in the log's place is not written through: the log would land outside the folder.
    QFile log;
    if (!openRegularForAppend(log, QDir(folder).filePath(LogFileName))) return false;
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + kind +
                         QStringLiteral(": ") + text + QStringLiteral("\r\n");
    const QByteArray bytes = line.toUtf8();
    return log.write(bytes) == bytes.size() && log.flush();
}

void installLog(const QString& folder)
{
    logFolder = folder;
    previousHandler = qInstallMessageHandler(logHandler);
}

} // namespace varnoth
