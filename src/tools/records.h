#pragma once
// Editing and deleting one stake straight from the main list: which record a clicked row stands
// for, and the rewrite of its stake file.

#include "core/model/text.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString RecordErrorText = QStringLiteral("Error");

// The row as a selection keeps it: every " - " turned into "-"; "" for a row without "-".
QString selectedRowText(const QString& row);

// True when a selected row is a stake record: digits, "-", a whole amount of digits. Rejection
// lines and report figures ("1,000.00") also hold a "-" but stand for no stored amount.
bool isRecordRow(const QString& selectedRow);

struct RecordHeading {
    QString type;
    QString customer;
    bool isEmpty() const { return type.isEmpty() || customer.isEmpty(); }
};

// The type and customer of the nearest heading row (<type> <customer>) above row `index`. Empty
// when `index` is the first row or below, when no heading stands above it, or when the heading
// names no known type or no customer of `customerList`.
RecordHeading headingAbove(const QStringList& rows, int index, const QString& customerList);

// One confirmation of the record dialog.
struct RecordRequest {
    QString number; // the dialog's number field
    QString amount; // the dialog's amount field: the new amount (edit) or the listed one (delete)
    QString type;
    QString customer;
    QString oldNumber; // the two pieces of the selected row
    QString oldAmount;
};

struct RecordResult {
    enum class Row { Keep, Replace, Remove };
    Row row = Row::Keep;  // what becomes of the selected row of the main list
    QString rowText;      // its new text when replaced
    QStringList lines;    // lines to add to the main list
    bool refused = false; // the typed amount was refused: nothing was read or written
    bool written = false; // the stake file was replaced
};

// The stake file the record stands in: the customer's file of the type. A customer listed twice
// has one at each place; the record is in the one whose number holds the listed amount, looked for
// from his last place back, and otherwise in his last place, where new stakes go.
QString recordFilePath(const Store& store, const RecordRequest& request);

// Sets the record's amount to the typed amount. A stake line whose amount is no longer the listed
// one keeps the difference: file amount - listed amount + typed amount.
RecordResult editRecord(Store& store, const RecordRequest& request);
// Takes the listed amount off the record's line (0 when the line still holds exactly that).
RecordResult deleteRecord(Store& store, const RecordRequest& request);

} // namespace varnoth
