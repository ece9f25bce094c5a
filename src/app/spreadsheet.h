#pragma once
// Lists saved for a spreadsheet: an Excel workbook (.xlsx) with the figures as numbers, or CSV.
// Either file is replaced whole only once it was written whole.

#include "reports/tableexport.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

// False in a build without the workbook library: only CSV can be written there.
bool workbooksAvailable();

// One sheet named `sheetName` holding the rows; false when the file could not be written.
bool writeXlsx(const QList<TableRow>& rows, const QString& sheetName, const QString& path);
bool writeCsv(const QList<TableRow>& rows, const QString& path);

// A list's lines into `path`: a workbook when it ends in ".xlsx", CSV otherwise.
bool writeListFile(const QStringList& lines, const QString& sheetName, const QString& path);

} // namespace varnoth
