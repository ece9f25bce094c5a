#pragma once
// Each customer's own payout rate and discount for a type, in place of the type's. They live in one
// extra file of the book, one customer and type a line ("somchai#3ตัวตรง#550#15"; either figure may be
// empty). A book without the file uses the type's figures everywhere, as it always has.

#include "accounts/payments.h"
#include "core/model/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString CustomerRatesFileName = QStringLiteral("custrate.gif");

struct CustomerRate {
    QString customer;
    QString type;
    QString payout;   // baht per baht of winning stake; "" for the type's
    QString discount; // percent of the stake; "" for the type's
    bool operator==(const CustomerRate&) const = default;
};

struct CustomerRates {
    QList<CustomerRate> items; // the lines that read as rates
    // ReadFailed when the file is there but unreadable or holds a line that is not a rate: such a
    // file is never written over. Its good lines still count; what its bad ones held is in doubt.
    Outcome outcome;
    QList<int> damaged; // the line numbers of the lines that are no rate
    AccountsDoubt doubt;
    const CustomerRate* find(const QString& customer, const QString& type) const;
};

CustomerRates loadCustomerRates(const Store& store);

// A payout rate has at most this many digits: a prize of any stake then still adds up exactly.
inline constexpr int MaxPayoutDigits = 6;
// "" when the text is a payout rate (digits only, at most MaxPayoutDigits), else the line that refuses it.
QString checkPayout(const QString& text);
// "" when the text is a percentage (digits only, 0 to 100), else the line that refuses it.
QString checkPercent(const QString& text);

// The figures that count for a customer on a type: his own where he has them, else the type's.
struct Figures {
    QString payout;
    QString discount;
    bool ownPayout = false;
    bool ownDiscount = false;
    // The line that reports a damaged rates file and its bad lines ("" when sound).
    QString problem;
};
Figures figuresOf(const Store& store, const CustomerRates& rates, const QString& type, const QString& customer);
// The same from the customer's own figures (null for none) and the type's.
Figures figuresOf(const CustomerRate* own, const QString& typePayout, const QString& typeDiscount);
// The same, reading the rates file; an empty customer gives the type's figures.
Figures figuresOf(const Store& store, const QString& type, const QString& customer);

struct RateChange {
    Outcome outcome;
    QString refusal;     // why nothing was written (a figure, a name or a damaged file)
    CustomerRate before; // empty figures when the customer had none
    CustomerRate after;
    QStringList lines; // for the main list
    bool changed() const { return outcome.ok() && refusal.isEmpty() && !(before == after); }
};

// Sets (or, with both figures empty, clears) a customer's own figures for a type.
RateChange setCustomerRate(Store& store, const QString& customer, const QString& type, const QString& payout,
                           const QString& discount);

} // namespace varnoth
