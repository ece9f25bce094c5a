#pragma once
// Working lists of stakes and the section writer that every report shares.
//
// A working list is one text of items, each a stake line ("123-50") followed by "#". Selectors keep
// only lines whose amount is above 0, in the order they stand in the stake files.

#include "reports/reportstate.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace varnoth
{

class Store;
struct CustomerRates;
template <class View> struct NumberLine; // store/numberlines.h

QString LinesOfTypeCustomer(Store& store, const QString& type, const QString& customer);
QString LinesOfTypeCustomerNumber(Store& store, const QString& type, const QString& customer, const QString& number);
// Every customer's lines of the type, customer after customer in customer-list order.
QString LinesOfType(Store& store, const QString& type);
QString LinesOfTypeNumber(Store& store, const QString& type, const QString& number);
QString FilterByNumber(const QString& list, const QString& number);

// One item per number of the type's number set, amounts added up, in number-set order; numbers
// whose sum is 0 are left out. Amounts are written in their shortest decimal form.
QString GroupByNumber(Store& store, const QString& list, const QString& type);

// GroupByNumber of LinesOfType, read straight from the stake files without the working list in
// between. `staked` tells whether any line was selected at all (lines of numbers outside the set
// group to nothing); `total` adds up the selected amounts in the order they stand.
// One stake file's sums per number, straight from its bytes, in the order of `numbers` (0 for a number
// it holds nothing on); the lines taken are those of the reports.
QList<double> stakeSumsOfBytes(const QByteArray& bytes, const QStringList& numbers);
// What one line of a stake file adds to its number's sum, as stakeSumsOfBytes reads it: the amount
// after its first "-" when above 0, nothing for a line without a "-" or with a "#".
double stakeOfLine(const NumberLine<QStringView>& line);

struct GroupedStakes {
    QString list;
    bool staked = false;
    double total = 0;
};
GroupedStakes GroupedLinesOfType(Store& store, const QString& type);

// What the customers' own discounts change in the discount of every customer's stake on a type,
// against the type's rate: on their whole stake, or on their stakes on `number` when one is given.
// No change when no customer has his own discount there; a damaged rates file gives no change and
// the line that names it.
struct OwnDiscounts {
    std::optional<double> change;
    QString problem;
};
OwnDiscounts ownDiscountChange(Store& store, const CustomerRates& rates, const QString& type, const QString& typeRate,
                               const QString& number = {});

// The lines of one section: the items, "รวมเลข= …", "รวมเงิน= …", the discount lines when the
// type has a discount, and the separator. Adds count, total and discount to the accumulators. A
// section of one customer takes his own discount where he has one, and says so on its line; a
// section of every customer (`customer` "ทั้งหมด") takes each customer's own discount on his stake,
// or on his stakes on `number` when the section holds only that number, and says so too. A damaged
// rates file is named under the section, whose figures are then the type's.
QStringList ShowSection(Store& store, GrandAccumulators& grand, const QString& list, const QString& type,
                        const QString& customer = {}, const QString& number = {});

// Calls `fn(item)` for every item of a working list (the text before each "#"). The lists hold an
// item for every stake line of the book: a plain loop, not a library search per item.
template <typename Fn> void forEachItem(const QString& list, Fn fn)
{
    const QChar* begin = list.constData();
    const QChar* const end = begin + list.size();
    for (const QChar* p = begin; p < end; ++p) {
        if (*p != QLatin1Char('#')) continue;
        fn(QStringView(begin, p));
        begin = p + 1;
    }
}

// The number of a stake line (text before the first "-") and its amount (value after it).
QString itemNumber(const QString& item);
double itemAmount(const QString& item);

} // namespace varnoth
