#include "reports/ownshares.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/selectors.h"
#include "storage/folder/store.h"

namespace varnoth
{

QHash<QString, double> amountsByNumber(const QString& list)
{
    QHash<QString, double> amounts;
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash >= 0) amounts.insert(item.first(dash).toString(), amountValue(item.sliced(dash + 1)));
    });
    return amounts;
}

QList<OwnStakes> ownStakesOf(Store& store, const CustomerRates& rates, const QString& type)
{
    const QStringList& numbers = NumberSet(type);
    QList<OwnStakes> own;
    for (const CustomerRate& r : rates.items)
        if (r.type == type) own.append({&r, stakeSumsOfBytes(store.customerStakeBytes(type, r.customer), numbers)});
    return own;
}

OwnShare ownShareOf(const QList<OwnStakes>& own, qsizetype number, double typeDiscount)
{
    OwnShare share;
    for (const OwnStakes& o : own) {
        const double stake = o.sums[number];
        if (stake <= 0) continue;
        if (!o.rate->payout.isEmpty()) {
            share.stake += stake;
            share.pays += stake * Val(o.rate->payout);
        }
        if (!o.rate->discount.isEmpty()) {
            share.discountShift += stake * (Val(o.rate->discount) - typeDiscount) / 100;
            share.ownDiscount = true;
        }
    }
    return share;
}

NumberCost costOfNumber(const QList<OwnStakes>& own, qsizetype number, double total, double held,
                        const PayTerms& typeTerms)
{
    NumberCost cost;
    double ownStake = 0;
    for (const OwnStakes& o : own) {
        const double stake = o.sums[number];
        if (stake <= 0 || o.rate->payout.isEmpty()) continue;
        PayTerms terms = typeTerms;
        terms.rate = o.rate->payout;
        terms.ownRate = true;
        cost.prize += priceWin(stake, terms, held, total);
        ownStake += stake;
        cost.ownRate = true;
    }
    cost.prize += priceWin(total - ownStake, typeTerms, held, total);
    return cost;
}

} // namespace varnoth
