#pragma once
// A sheet is many entry lines for one type and one customer, typed into the group-entry window or read
// from a text file.

#include "entry/entry.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

// Replaces every run of the separator by a single one.
QString CollapseRuns(QString text, const QString& separator);

// Commits every entry line of the sheet for the type and customer, reading and writing each changed file
// once for the whole sheet. Returns the lines to add to the main list, in order; progress goes through
// store.progress().
QStringList SplitSheet(Store& store, const QString& sheet, const QString& type, const QString& customer);
// The same, with the record of what was stored (for taking the sheet back whole).
EntryResult enterSheet(Store& store, const QString& sheet, const QString& type, const QString& customer);

// The bets that entering the sheet would store, read as enterSheet reads it (amounts above the ceiling
// included); nothing is written.
QList<BetChange> sheetBets(Store& store, const QString& sheet, const QString& type, const QString& customer);

// The sheet text of a file: its non-empty lines each followed by CR LF, runs of blanks and of line ends
// collapsed. A file that cannot be read gives "".
QString LoadSheetFile(const QString& path);

} // namespace varnoth
