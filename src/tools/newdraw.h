#pragma once
// The new draw: the book is copied beside the data folder, the copy checked, and only then are the
// files of the old draw deleted.

#include "core/model/outcome.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace varnoth
{

class Store;

// Beside the data folder: a dated copy of the book made by every new draw before it deletes anything.
// Books that share a parent folder share this folder too; each copy carries the name of its book.
inline const QString DrawsFolderName = QStringLiteral("draws");

inline const QString DrawCopiedText = QStringLiteral("เก็บสำเนาข้อมูลงวดเก่าไว้ที่ ");

// A copy is made under its name with this ending and takes its name only once it is whole and
// checked: a copy cut off halfway never passes for a past draw.
inline const QString CopyInProgressSuffix = QStringLiteral(".copying");
// While the new draw deletes the book's files, its copy holds this file, one line "unfinished". A copy
// with it is not a past draw yet; the next start completes the draw. A finished copy (and every copy
// made before this file existed) holds no such file.
inline const QString DrawStateFileName = QStringLiteral("newdraw.gif");
inline const QByteArray UnfinishedDrawState = QByteArrayLiteral("unfinished\r\n");

// The "draws" folder beside the data folder; "" when the data folder is a root.
QString drawsFolderPath(const Store& store);

// True when a stake file of a listed customer holds an amount, or a count file a count.
bool bookHoldsRecords(Store& store);

// What the names of the book's own copies start with: the data folder's name and "_".
QString drawCopyPrefix(const Store& store);

// "draws/BOOK_YYYY-MM-DD_HHMM" beside the data folder (BOOK the data folder's name), with "_2", "_3"
// ... when that one is taken. That name with CopyInProgressSuffix is created, where the copy is made;
// the name itself is returned, "" when no folder can be made.
QString makeDrawCopyFolder(const Store& store, const QDateTime& when);

// True when the copy's new draw has not finished deleting the book's files.
bool isUnfinishedDraw(const QString& copyFolder);

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
// `addToCopy`, when given, puts what belongs beside the copy (the log's anchor) into the copy's
// folder once the copy is checked and before it takes its name; false stops the draw there.
NewDrawResult startNewDraw(Store& store, const QDateTime& when = QDateTime::currentDateTime(),
                           const std::function<bool(const QString& folder)>& addToCopy = {});

// What the start of the program found of a new draw that was cut off (a kill, a power cut).
struct DrawCompletion {
    QStringList completed; // the copies whose draws were completed, oldest first
    QStringList lines;     // for the main list: each draw completed or not started, failures
};
// Run before anything else reads or writes the book. A draw cut off while it deleted the book's files
// (its copy was whole and checked) is completed: the files it had still to delete are deleted and the
// fresh ones made. It is not completed while the book holds a file to delete that differs from the
// copy's, which only a change after the draw can have made; nothing is deleted then. A copy cut off
// before it was whole is removed: the book it was made from was never touched.
DrawCompletion completeInterruptedDraws(Store& store);

} // namespace varnoth
