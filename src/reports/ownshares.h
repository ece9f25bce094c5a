#pragma once
// The customers' own payout rates and discounts on what every customer holds of a type: whose stakes
// they are and what they pay, number by number. Shared by the forecast and the prize check.

#include "accounts/customerrates.h"
#include "reports/prize.h"

#include <QHash>
#include <QList>
#include <QString>

namespace varnoth
{

class Store;

// The amount of every item of a working list, by its number.
QHash<QString, double> amountsByNumber(const QString& list);

// One customer's own figures on the type, and his stakes per number of the type's number set.
struct OwnStakes {
    const CustomerRate* rate;
    QList<double> sums;
};

// The customers with own figures on the type; only their stake files are read.
QList<OwnStakes> ownStakesOf(Store& store, const CustomerRates& rates, const QString& type);

// What those customers put on one number (by its place in the number set).
struct OwnShare {
    double stake = 0;         // the stakes of the customers with their own payout rate
    double pays = 0;          // those stakes, each at its customer's own rate
    double discountShift = 0; // what the own discounts give more than the type's on the number's stakes
    bool ownDiscount = false; // some stake on the number takes its customer's own discount
};
OwnShare ownShareOf(const QList<OwnStakes>& own, qsizetype number, double typeDiscount);

// What a number costs the book when it wins and `held` of the `total` staked on it is kept: the stake
// of each customer with a payout rate of his own at that rate, the rest at `typeTerms`, each at the
// kept share of it.
struct NumberCost {
    double prize = 0;
    bool ownRate = false; // some stake on it is paid at its customer's own rate
};
NumberCost costOfNumber(const QList<OwnStakes>& own, qsizetype number, double total, double held,
                        const PayTerms& typeTerms);

} // namespace varnoth
