#pragma once
// The book's files are regular files: a symbolic link (a reparse point on Windows), a pipe, a device
// or a folder in a file's place is never read, written through or waited on. Opening a pipe to read
// would wait for a writer for ever; following a link would read or overwrite a file outside the book.

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

class QFile;
class QSaveFile;

namespace varnoth
{

enum class FileKind {
    Missing, // nothing by that name
    Regular, // a plain file
    Link,    // a symbolic link or reparse point, whatever it points at
    Other,   // a folder, a pipe, a device, a socket
};

// What is at the path itself, links not followed.
FileKind fileKind(const QString& path);

// Opens a regular file to read, without following a link and without waiting on a pipe. On failure
// `kind` (when given) tells what was found: Missing, Link, Other, or Regular for a plain file that
// could not be opened.
bool openRegularForRead(QFile& file, const QString& path, FileKind* kind = nullptr);

// Opens a regular file to append, creating it when missing; a link or special file is refused.
bool openRegularForAppend(QFile& file, const QString& path, FileKind* kind = nullptr);

// Opens a regular file to read and write in place, creating it when missing; a link or special file
// is refused.
bool openRegularForUpdate(QFile& file, const QString& path, FileKind* kind = nullptr);
// Puts what was written to the file on the disk (its data; a size that grew is metadata too).
bool syncData(QFile& file);

// True when a safe write may put a new file in the path's place: nothing is there, or a plain file.
inline bool mayReplace(FileKind kind)
{
    return kind == FileKind::Missing || kind == FileKind::Regular;
}

// Opens a save file (already named) to put a new file in its name's place, when nothing or a plain
// file is there. A save file would write the file a link points at rather than replace the link, so
// a link, a pipe or a folder in the place is refused and left as it is.
bool openForReplace(QSaveFile& file, QIODevice::OpenMode mode = QIODevice::WriteOnly, FileKind* kind = nullptr);

// A regular file read whole, links not followed and pipes not waited on; nothing when it cannot be.
std::optional<QByteArray> readRegularFile(const QString& path, FileKind* kind = nullptr);

// Removes a folder the program made and everything in it. A link in its place is removed itself:
// emptying the folder it points at would delete files that are not the program's.
bool removeOwnFolder(const QString& path);

// A short English word for the support log.
const char* fileKindName(FileKind kind);

// The support log's line for a write refused because of what stands in the path's place.
void logWriteRefused(const QString& path, FileKind kind);

} // namespace varnoth
