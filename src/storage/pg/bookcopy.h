#pragma once
// Moving a whole book between a data folder and a book on the shop's server, through the book's
// storage interface on both sides.
//
// Import reads the folder through FolderBookStore and writes the server book in one transaction
// that refuses a server book holding anything already: all of it goes in, or nothing. Everything the
// interface carries is moved (the customer list, stakes, counts, send-out lines and every setting);
// the folder's other files (saved send-out lists, the audit log, the users, past draws ...) are not
// kept on the server yet: they are named, one line each, and stay in the folder, which import never
// changes. A file that the server book could not give back with the same bytes (junk lines, an
// amount written unlike the program writes it, a customer list edited by hand) refuses the import,
// as does a file that cannot be read.
//
// Export reads the whole server book first, then makes the folder with the folder's own routines
// (the creation sequence, then one FolderTransaction) in a new folder beside the target, and puts it
// in the target's place only when all of it is written: the target must be missing or empty.
//
// A folder exported and imported again, or imported and exported, gives the same bytes for every
// file moved.

#include "core/model/outcome.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class PgBookStore;

struct BookCopyResult {
    Outcome outcome;        // Ok, or why nothing was moved
    QStringList lines;      // for the operator: what was moved, or why not
    QStringList leftBehind; // import: the folder's files not moved, by name
    bool ok() const { return outcome.ok(); }
};

BookCopyResult importFolderBook(const QString& folder, PgBookStore& server);
BookCopyResult exportServerBook(PgBookStore& server, const QString& folder);

} // namespace varnoth
