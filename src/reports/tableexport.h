#pragma once
// A report's lines as rows of cells for a spreadsheet: figures become numbers (a spreadsheet adds
// them up), everything else stays text, and the CSV form of those rows.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

struct TableCell {
    QString text; // as the list shows it ("2,600.00", "05", "บาท")
    bool isNumber = false;
    double value = 0;      // for a number
    bool decimals = false; // shown with two places after the point
};
using TableRow = QList<TableCell>;

// One row per line: "12-100" gives the number as text (its leading zeros stay) and the amount as a
// number; "รวมเงิน= 2,600.00 บาท" gives the label, the figure and the word after it; a separator
// line gives an empty row. A lottery number is never turned into a figure.
QList<TableRow> reportTable(const QStringList& lines);

// The rows as CSV: UTF-8 with a byte-order mark (a spreadsheet then reads Thai as Thai), CR LF
// after every row, a field holding a comma, a quote or a line end in quotes with its quotes
// doubled. Numbers are written plainly ("2600"). A text that a spreadsheet would take for a formula
// ("=", "+", "-" or "@" first) gets a "'" before it, so that a name typed into the book cannot run
// as one.
QByteArray csvBytes(const QList<TableRow>& rows);

} // namespace varnoth
