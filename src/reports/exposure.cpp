#include "reports/exposure.h"

#include "model/text.h"
#include "model/types.h"
#include "reports/overlimit.h"
#include "reports/selectors.h"
#include "store/store.h"

#include <QSet>

namespace varnoth {

namespace {

QHash<QString, double> amountsByNumber(const QString& list)
{
    QHash<QString, double> out;
    for (const QString& item : splitText(list, QStringLiteral("#")))
        if (!item.isEmpty()) out.insert(itemNumber(item), itemAmount(item));
    return out;
}

} // namespace

Exposure buildExposure(Store& store, const QString& type)
{
    Exposure e;
    e.type = type;
    const QStringList& set = NumberSet(type);
    if (set.isEmpty()) return e;
    const NumberSetKind kind = classifyType(type);
    e.columns = set.size() > 1000 || (kind.ascending && kind.digits >= 4) ? 20 : 10;

    const QString grouped = GroupByNumber(store, LinesOfType(store, type), type);
    const QHash<QString, double> stakes = amountsByNumber(grouped);
    e.limit = store.LookupKeyed(store.limitFile(), type);
    QHash<QString, double> excess;
    if (!e.limit.isEmpty()) excess = amountsByNumber(SubtractSent(store, ExcessList(store, grouped, e.limit), type));
    QSet<QString> winning;
    for (const QString& n : store.LookupKeyed(store.resultFile(), type).split(QLatin1Char('-')))
        if (!n.isEmpty()) winning.insert(n);

    const double limit = Val(e.limit);
    e.cells.reserve(set.size());
    for (const QString& n : set) {
        ExposureCell c;
        c.number = n;
        c.stake = stakes.value(n);
        c.excess = excess.value(n);
        c.winning = winning.contains(n);
        if (c.stake <= 0)
            c.level = ExposureLevel::None;
        else if (c.excess > 0)
            c.level = ExposureLevel::Above;
        else if (limit > 0 && c.stake <= limit / 2)
            c.level = ExposureLevel::UpToHalf;
        else
            c.level = limit > 0 ? ExposureLevel::UpToLimit : ExposureLevel::UpToHalf;
        e.total += c.stake;
        e.totalExcess += c.excess;
        e.cells << c;
    }
    return e;
}

QStringList customerStakes(Store& store, const QString& type, const QString& number)
{
    QStringList out;
    for (const QString& customer : store.customers()) {
        const QString lines = LinesOfTypeCustomerNumber(store, type, customer, number);
        double sum = 0;
        for (const QString& item : splitText(lines, QStringLiteral("#")))
            if (!item.isEmpty()) sum += itemAmount(item);
        if (sum > 0) out << customer + QStringLiteral(": ") + formatAmount(sum);
    }
    return out;
}

} // namespace varnoth
