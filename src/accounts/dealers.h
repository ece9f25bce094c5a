#pragma once
// The bigger bookmakers the book sends out to, each with his own terms per type: the payout rate he
// pays, the discount (percent) he gives and, optionally, the most he takes on one number. They live in
// one extra file of the book, one dealer and type a line ("boss#3ตัวตรง#500#30#2000"; any figure may be
// empty, and a line "boss####" names a dealer without terms yet). The file's order is the bookmaker's
// order of preference. A book without the file has no dealers and behaves as it always has.

#include "core/model/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString DealersFileName = QStringLiteral("dealer.gif");

// A cap has at most this many digits.
inline constexpr int MaxCapDigits = 9;

struct DealerTerms {
    QString type;
    QString payout;   // baht per baht of winning stake; "" for the type's own
    QString discount; // percent of the stake; "" for none
    QString cap;      // the most he takes on one number; "" for no limit
    bool operator==(const DealerTerms&) const = default;
};

struct Dealer {
    QString name;
    QList<DealerTerms> terms; // in the file's order, one per type
    const DealerTerms* termsFor(const QString& type) const;
    bool operator==(const Dealer&) const = default;
};

struct Dealers {
    QList<Dealer> items; // in the order of preference
    // ReadFailed when the file is there but unreadable or holds a line that is no dealer's: such a
    // file is never written over. The good lines still count.
    Outcome outcome;
    QList<int> damaged; // line numbers of the bad lines
    QString problem;    // the line that reports the damage ("" when sound)
    const Dealer* find(const QString& name) const;
};

Dealers loadDealers(const Store& store);

// "" when the text is a cap (digits only, at most MaxCapDigits), else the line that refuses it.
QString checkCap(const QString& text);
// The dealer's name as the book keeps it, and "" or the line that refuses it.
QString dealerName(const QString& text);
QString dealerNameRefusal(const QString& name);

struct DealerChange {
    Outcome outcome;
    QString refusal; // why nothing was written
    Dealer before;   // no name when he is new
    Dealer after;
    QStringList lines; // for the main list
    int from = -1;     // a move: his place in the order before and after it (from 0)
    int to = -1;
    bool ok() const { return outcome.ok() && refusal.isEmpty(); }
};

// Adds the dealer, or sets the given types' terms of a dealer already there (other types keep theirs).
// Every figure is checked before anything is written; a damaged dealer file is never written over.
DealerChange addDealer(Store& store, const QString& name, const QList<DealerTerms>& terms);

// Moves the dealer `by` places in the order of preference (-1 is up, towards the first). A move past
// either end is refused; a damaged dealer file is never written over.
DealerChange moveDealer(Store& store, const QString& name, int by);

// The lines that list the dealers and their terms, in the order of preference.
QStringList dealerLines(const Dealers& dealers);

} // namespace varnoth
