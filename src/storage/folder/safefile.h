#pragma once
// The book's files are regular files: a symbolic link (a reparse point on Windows), a pipe, a device
// or a folder in a file's place is never read, written through or waited on. Opening a pipe to read
// would wait for a writer for ever; following a link would read or overwrite a file outside the book.

#include <QString>

class QFile;

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

// A short English word for the support log.
const char* fileKindName(FileKind kind);

} // namespace varnoth
