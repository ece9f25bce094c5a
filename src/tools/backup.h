#pragma once
// Backup, restore and the new draw. A backup is one text file on a chosen drive holding every stake
// and entry count with the customer names in its headings; restore adds such a file into this data
// folder (it never replaces), so a main computer ends up with the sum of every client's book.

#include "model/text.h"
#include "store/outcome.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;
class NumberFile;

inline const QString BackupFolderName = QStringLiteral("image_2");
inline const QString BackupFileName = QStringLiteral("cat.gif");
// Fingerprints of the backups merged since the last new draw, one a line, in the data folder.
inline const QString MergedBackupsFileName = QStringLiteral("merged.gif");
// Fingerprints of every backup this book wrote, one a line, in the data folder; a new draw keeps it.
inline const QString WrittenBackupsFileName = QStringLiteral("written.gif");
// Beside the data folder: a dated copy of the book made by every new draw before it deletes anything.
inline const QString DrawsFolderName = QStringLiteral("draws");

inline const QString DrawCopiedText = QStringLiteral("เก็บสำเนาข้อมูลงวดเก่าไว้ที่ ");

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
struct BackupResult {
    Outcome outcome;
    QStringList lines;
};
BackupResult writeBackup(Store& store, const QString& drive);

struct MergeResult {
    Outcome outcome;        // refused (already merged, own backup, no backup) or failed to read
    bool clearList = false; // the main list is cleared before the lines are added
    QStringList lines;
    double count = 0;  // records added to stake files
    double amount = 0; // their amounts
};

// Adds the records of a backup text into the data folder: customers first (with all their files),
// then every record, each stake and count file read once and written once. A backup merged since the
// last new draw is refused, and so is one this book wrote while the book holds any record: that would
// count every stake twice. Into an emptied book it brings the book back.
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

// True when a stake file of a listed customer holds an amount, or a count file a count.
bool bookHoldsRecords(Store& store);

// "draws/YYYY-MM-DD_HHMM" beside the data folder, with "_2", "_3" ... when that one is taken. The
// folder is created; "" when it cannot be.
QString makeDrawCopyFolder(const Store& store, const QDateTime& when);

// Copies every file of the data folder into the folder and reads each copy back: true only when
// every copy holds the bytes of its file.
bool copyBook(Store& store, const QString& folder);

struct NewDrawResult {
    Outcome outcome;    // CopyFailed when nothing was removed
    bool done = false;  // the book was copied and checked, and its files removed
    QString copyFolder; // where the copy is ("" when none could be made)
    QStringList lines;  // for the main list: where the copy is, or why nothing was removed; failures
};

// The new draw: first the whole book is copied beside the data folder and the copy checked; only
// then are every stake, count and send-out file, every saved send-out list named in the history,
// the settings, result, history and customer files and the fingerprints of merged backups deleted,
// and fresh count and send-out files made. When the copy fails nothing is deleted.
QStringList DeleteAllStakeFiles(Store& store);
QStringList DeleteTypeFiles(Store& store, const QString& prefix);
NewDrawResult startNewDraw(Store& store, const QDateTime& when = QDateTime::currentDateTime());

// The folders a backup can go to: removable media first, then the user's home folder and the other
// mounted volumes.
struct Drive {
    QString root;  // folder path
    QString label; // what the drive list shows
    bool removable = false;
};
QList<Drive> availableDrives();

} // namespace varnoth
