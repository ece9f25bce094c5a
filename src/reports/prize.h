#pragma once
// The prize check: what the bookmaker holds on each number, capped at the limit and without the
// cut numbers, matched against the winning numbers of the draw.

#include "accounts/customerrates.h"
#include "reports/reportresult.h"
#include "reports/reportstate.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;
class NumberRules;

// A figure of money in whole satang, rounded half away from zero as it prints (2.675 is 2.68).
double toSatang(double value);

// The terms a winning stake is paid on: the customer's rate (his own or the type's) and the number's
// pay percentage.
struct PayTerms {
    QString rate;         // as set; "" when neither the type nor the customer has a payout rate
    bool ownRate = false; // the rate is the customer's own
    qint64 percent = 100; // the share of the prize the number pays
    bool payRule = false; // the number is paid at a percentage of its own, marked even at 100 %
    bool priced() const { return !rate.isEmpty(); }
};
// The terms of a number of the type for a customer whose figures on the type are `figures`.
PayTerms payTerms(const NumberRules& rules, const QString& type, const QString& number, const Figures& figures);
// " จ่าย 50%" after a winning line of a number paid at a percentage of its own, else "".
QString payMark(const PayTerms& terms);

// What a winning stake is paid, in whole satang, rounded once: the stake at the rate and at the
// number's percentage. Where the book keeps only part of a number (held of total staked on it, the
// rest sent out above its limit), what the book pays of this stake is that share of it; a bill
// pays the customer his whole stake (held = total). Every prize of the program is priced here: the
// bills, what is owed, the past draws, the prize check and the forecast.
double priceWin(double stake, const PayTerms& terms, double held = 1, double total = 1);

// The sum of the amounts of the items of a working list that hold "-".
double sumOfAmounts(const QString& list);

// The sum of every amount above 0 in the stake files of the type, of one customer or of every
// customer (`customer` "ทั้งหมด"), as its shortest decimal text.
QString TotalStake(Store& store, const QString& type, const QString& customer);

// Cuts each amount down to the limit. Items without "-" and items whose amount is "0" are dropped;
// an item over the limit carries the limit text as it is stored.
QString CapAtLimit(const QString& list, const QString& limit);
// The same with each number's own limit of the type (by TypeList position) in place of the type's; a
// number without either keeps its whole stake.
QString CapAtOwnLimits(const QString& list, const QString& limit, const NumberRules& rules, int type);
// CapAtOwnLimits where the type has numbers with limits of their own, else CapAtLimit (nothing when
// the type has no limit either).
QString CapStakes(Store& store, const QString& list, const QString& type);

// The items whose number holds the winning pieces ("456-465-…-"). Each piece consumes the digits
// it matched, so a digit is never counted twice. Numbers of up to 3 digits need one hit, longer
// numbers three. A winning item is listed once, unchanged.
QString MatchWinning(const QString& list, const QString& winning);

// One section of winners: the items, their count and stake, the prize at the type's payout rate,
// the income, the discount and the profit or loss. Adds count, stake, prize and the income after
// discount to the accumulators. A section of one customer takes his own payout rate and discount
// where he has them, and says so on their lines.
QStringList ShowWinners(Store& store, GrandAccumulators& grand, const QString& winners, const QString& type,
                        const QString& income, const QString& customer = {});

// The whole report for a type and a customer, each a name or "ทั้งหมด". The window stays open only
// when one customer has no stake at all on one type.
ReportResult PrizeCheck(Store& store, ReportState& session, const QString& type, const QString& customer);

} // namespace varnoth
