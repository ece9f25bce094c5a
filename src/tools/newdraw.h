#pragma once
// The new draw: the book is copied beside the data folder, the copy checked, and only then are the
// files of the old draw deleted.

#include "core/model/outcome.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

// Beside the data folder: a dated copy of the book made by every new draw before it deletes anything.
// Books that share a parent folder share this folder too; each copy carries the name of its book.
inline const QString DrawsFolderName = QStringLiteral("draws");

inline const QString DrawCopiedText = QStringLiteral("เก็บสำเนาข้อมูลงวดเก่าไว้ที่ ");

// The "draws" folder beside the data folder; "" when the data folder is a root.
QString drawsFolderPath(const Store& store);

// True when a stake file of a listed customer holds an amount, or a count file a count.
bool bookHoldsRecords(Store& store);

// What the names of the book's own copies start with: the data folder's name and "_".
QString drawCopyPrefix(const Store& store);

// "draws/BOOK_YYYY-MM-DD_HHMM" beside the data folder (BOOK the data folder's name), with "_2", "_3"
// ... when that one is taken. The folder is created; "" when it cannot be.
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
// the settings, result, history and customer files, the fingerprints of merged backups, the draw's
// payments and the audit log (which the copy keeps) deleted, and fresh count and send-out files made.
// When the copy fails nothing is deleted.
QStringList DeleteAllStakeFiles(Store& store);
QStringList DeleteTypeFiles(Store& store, const QString& prefix);
NewDrawResult startNewDraw(Store& store, const QDateTime& when = QDateTime::currentDateTime());

} // namespace varnoth
