#pragma once
// The full backup: every file of the book (stakes, counts, send-out lists, settings, the result,
// number rules, own rates, payments, the audit log ...) and every past draw it keeps, copied onto a
// drive and read back; and bringing such a backup back into an empty book, on this computer or
// another one. Unlike the transfer ("cat.gif"), which adds one computer's stakes into another's
// book, it never adds anything: it is the book itself.
//
// On the drive, in "image_2/full":
//   book/NAME             every file of the data folder, byte for byte
//   draws/FOLDER/NAME     every past draw of the book, each in its dated folder
//   files.txt             one line per file above: size, tab, SHA-256 in hex, tab, the path as
//                         above (UTF-8, CR LF); the restore checks every file against it first
// A new full backup is made beside the last one and takes its place only once it is whole and
// checked, so that a failed backup leaves the last one as it was.

#include "core/model/outcome.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString FullBackupFolderName = QStringLiteral("full");
inline const QString FullBackupListName = QStringLiteral("files.txt");

// "image_2/full" on the drive; "" for no drive.
QString fullBackupFolderPath(const QString& drive);

struct FullBackupResult {
    Outcome outcome; // BackupFailed when no whole, checked backup was made
    QStringList lines;
    int files = 0;
    qint64 bytes = 0;
};
FullBackupResult writeFullBackup(Store& store, const QString& drive);

enum class FullRestoreStatus {
    Done,
    NoBackup,    // the drive holds no full backup
    Damaged,     // a file of the backup is missing or not what was written
    NotEmpty,    // the book holds something: a full backup is brought back into an empty book only
    WriteFailed, // the book could not be written; what was written is removed again
};

struct FullRestoreResult {
    FullRestoreStatus status = FullRestoreStatus::NoBackup;
    QStringList lines;
    int files = 0;
    bool done() const { return status == FullRestoreStatus::Done; }
};

// True when the book holds nothing: no customer, stake, count, setting, result, rule, payment,
// saved list, audit line or past draw, only the fresh files a book starts with.
bool bookIsEmpty(Store& store);

FullRestoreResult restoreFullBackup(Store& store, const QString& drive);

} // namespace varnoth
