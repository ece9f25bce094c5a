#pragma once
// Backup, restore and the new draw. A backup is one text file on a chosen drive holding every stake
// and entry count with the customer names in its headings; restore adds such a file into this data
// folder (it never replaces), so a main computer ends up with the sum of every client's book.

#include "model/text.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth {

class Store;
class NumberFile;

inline const QString BackupFolderName = QStringLiteral("image_2");
inline const QString BackupFileName = QStringLiteral("cat.gif");
// Fingerprints of the backups merged since the last new draw, one a line, in the data folder.
inline const QString MergedBackupsFileName = QStringLiteral("merged.gif");

inline const QString AlreadyMergedText = QStringLiteral("ข้อมูลชุดนี้ถูกนำเข้าแล้ว");
inline const QString NoBackupText = QStringLiteral("ไม่พลข้อมูลในไดรว์ ");
inline const QString BackupFailedText = QStringLiteral("การสำรองข้อมูลเกิดการผิดพลาด");

// "image_2" at the root of the drive, and "cat.gif" in it. The drive is a folder path.
QString backupFolderPath(const QString& drive);
QString backupFilePath(const QString& drive);

// The backup text: the stakes section (a heading type#customer per pair and the lines whose amount
// is not "0") and the counts section (a heading type# per type and the lines whose count is above
// 0), every line followed by CR LF. A stake or count file that is there but cannot be read adds
// a failure line to `failures`, so that an incomplete backup is never reported as complete.
QString BuildBackupText(Store& store, QStringList* failures = nullptr);

// Writes the backup onto the drive and returns the lines for the (cleared) main list.
QStringList runBackup(Store& store, const QString& drive);

struct MergeResult {
    bool clearList = false; // the main list is cleared before the lines are added
    QStringList lines;
    double count = 0;  // records added to stake files
    double amount = 0; // their amounts
};

// Adds the records of a backup text into the data folder: customers first (with all their files),
// then every record, each stake and count file read once and written once.
MergeResult MergeBackupText(Store& store, const QString& text);

// Reads the backup file of the drive and merges it; the lines end with the size row, or name the
// drive when it holds no backup.
MergeResult runRestore(Store& store, const QString& drive);

// One stake record into a stake file held in memory. The row for the operator is appended to
// `rows`: number-amount when added, or the record with the rejection text. Returns number#amount
// when the record was added, "" otherwise.
QString AddTransferredBet(const QString& number, const QString& amount, NumberFile& file, QStringList& rows);
// One count record (number-count) into a count file held in memory; false when it is not applied.
bool AddTransferredCount(const QString& line, NumberFile& file);

// The new draw: deletes every stake, count and send-out file, every saved send-out list named in
// the history, the settings, result, history and customer files and the fingerprints of merged
// backups, then makes fresh count and send-out files. Returns the failure lines.
QStringList DeleteAllStakeFiles(Store& store);
QStringList DeleteTypeFiles(Store& store, const QString& prefix);
QStringList startNewDraw(Store& store);

// The folders a backup can go to: removable media first, then the user's home folder and the other
// mounted volumes.
struct Drive {
    QString root;  // folder path
    QString label; // what the drive list shows
    bool removable = false;
};
QList<Drive> availableDrives();

} // namespace varnoth
