#pragma once
// Settings of the whole book beyond the per-type ones (the amount ceiling of one bet, the shop name
// on printed pages): one keyed file, "option.gif", in the style of the other settings files
// (windows-874, CR LF, one "name#value" line each). A book without the file has every default.

#include "core/model/thaidate.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

struct BookOption {
    QString key;          // the name in the file
    QString caption;      // what the settings window shows
    QString defaultValue; // the value while the file holds none
    bool wholeAmount;     // the value must be a whole amount of digits
    enum class Kind { Text, YesNo, Date };
    Kind kind = Kind::Text; // a yes/no option holds "1" or "0"; a date holds its ISO form
};

namespace option
{
inline const QString AmountCeiling = QStringLiteral("ceiling");
inline const QString ShopName = QStringLiteral("shop");
// Who keys on this computer, for the audit log; the computer's user name while none is set.
inline const QString OperatorName = QStringLiteral("operator");
// The paper bills are printed on: "A4", or the width of a receipt roll, "58" or "80".
inline const QString PaperWidth = QStringLiteral("paper");
// The draw's date, for the bills' header while no result is saved.
inline const QString DrawDate = QStringLiteral("drawdate");
// Dates with the Gregorian year instead of the Buddhist one.
inline const QString GregorianYear = QStringLiteral("gregorian");
// Bills show each type's totals without the bets under it.
inline const QString BillTotalsOnly = QStringLiteral("billtotals");
// The day the drawn numbers were saved; kept beside the options, not one of them.
inline const QString ResultDate = QStringLiteral("resultdate");
} // namespace option

// Every option, in the order the settings window lists them.
const QList<BookOption>& bookOptions();
const BookOption* bookOption(const QString& key);

QString optionFile(const Store& store);

// The stored value, or the option's default when the file or the line is missing.
QString optionValue(const Store& store, const QString& key);
// The amount ceiling as a number (the default when the stored value is not a whole amount).
qint64 amountCeiling(const Store& store);

// How the book shows years, as its Gregorian-year option says.
YearStyle yearStyle(const Store& store);
// Whether the book's bills leave the bets out.
bool billTotalsOnly(const Store& store);
// The date of the draw a bill heads: the day its drawn numbers were saved while they are, otherwise
// the draw's date the options hold; invalid while neither is known.
QDate drawDate(Store& store);
// Keeps the day the drawn numbers were saved; the lines for the operator when it cannot be written.
QStringList setResultDate(Store& store, QDate day);

// The new draw forgets the old draw's date and the day its numbers were saved (its dated copy keeps
// them); the other options stay. Nothing is written when the file holds neither.
QStringList forgetDrawDates(Store& store);

// Stores the value, keeping the other lines in their order. Returns the lines for the operator when
// the value is refused or the file could not be read or written (empty on success).
QStringList setOptionValue(Store& store, const QString& key, const QString& value);

// The settings window lists the options in window mode BookOptions (picker entry OptionsPickerEntry).
inline const QString OptionsPickerEntry = QStringLiteral("ตั้งค่าอื่น");
inline const QString OptionsHeading = QStringLiteral("ตั้งค่า + ค่า");
inline const QString OptionsNameLabel = QStringLiteral("ตั้งค่า");
inline const QString OptionsValueLabel = QStringLiteral("ค่า");

// The items of the settings list: each option's caption and value, "caption - value".
QStringList optionItems(const Store& store);
// The value of an option as the operator edits it: a date as "16/12/2569", yes/no in words.
QString optionEditText(const Store& store, const QString& key);
// Stores the value typed for the option at `index` of bookOptions() (blanks around it dropped);
// the lines for the operator as setOptionValue gives them.
QStringList saveOptionAt(Store& store, int index, const QString& typed);
// The key of the option at a row of the settings window ("" for no row).
QString optionKeyAt(int index);

// The list text of the Thai words used here.
inline const QString OptionValueInvalidText = QStringLiteral("ค่าที่ใส่ไม่ถูกต้อง");
// A yes/no option's value as the list shows it.
inline const QString OptionYesText = QStringLiteral("ใช่");
inline const QString OptionNoText = QStringLiteral("ไม่ใช่");
inline const QString OperatorNameInvalidText = QStringLiteral("ชื่อผู้คีย์มีอักขระควบคุม (แท็บ ขึ้นบรรทัด) ใช้ไม่ได้");
// At start: the name kept in the settings is refused, the log takes the computer's user name.
inline const QString StoredOperatorRefusedText = QStringLiteral("ชื่อผู้คีย์ในตั้งค่ามีอักขระควบคุม ใช้ชื่อผู้ใช้เครื่องแทน");

// The operator's name goes into every line of the audit log: a name holding a control character
// (a tab, a line end, an escape) is refused. Returns OperatorNameInvalidText for such a name, ""
// for a good one.
QString operatorNameRefusal(const QString& name);
// The operator name kept in the book's options, "" while none is kept; `refused` is set when the
// stored name is refused by operatorNameRefusal (a hand-edited file), and then "" is returned.
QString storedOperatorName(const Store& store, bool* refused = nullptr);

} // namespace varnoth
