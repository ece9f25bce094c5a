#pragma once
// Backup: one text file on a chosen drive holding every stake and entry count with the customer
// names in its headings.

#include "core/model/outcome.h"
#include "core/model/text.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString BackupFolderName = QStringLiteral("image_2");
inline const QString BackupFileName = QStringLiteral("cat.gif");

// "image_2" at the root of the drive, and "cat.gif" in it. The drive is a folder path.
QString backupFolderPath(const QString& drive);
QString backupFilePath(const QString& drive);

// Makes "image_2" on the drive when it is missing; false when it cannot be made, or when a link or
// anything but a folder stands in its place: what a backup writes there would land in the folder a
// link points at. The link is left as it is and the support log names it.
bool makeBackupFolder(const QString& drive);

// Beside "cat.gif": the lines of this book's audit log about the stakes the backup carries, so that
// the main computer's log can say who keyed each of them here. UTF-8 and CR LF as the log itself;
// the first line is "cat.gif", a tab and the fingerprint of the backup file the lines belong to, and
// each line after it is a line of the log as it stands there. A program that does not know the file
// restores the backup as before, and so does this one when the file is missing or belongs to another
// backup.
inline const QString TransferAuditFileName = QStringLiteral("audit.log");
QString transferAuditFilePath(const QString& drive);

// The backup text: the stakes section (a heading type#customer per pair and the lines whose amount
// is not "0") and the counts section (a heading type# per type and the lines whose count is above
// 0), every line followed by CR LF. A stake or count file that is there but cannot be read adds
// a failure line to `failures`, so that an incomplete backup is never reported as complete.
QString BuildBackupText(Store& store, QStringList* failures = nullptr);

// Writes the backup onto the drive and returns the lines for the (cleared) main list.
QStringList runBackup(Store& store, const QString& drive);
struct BackupResult {
    Outcome outcome;
    QStringList lines;
};
BackupResult writeBackup(Store& store, const QString& drive);

} // namespace varnoth
