#include "accounts/splitsend.h"

#include <QHash>

#include <algorithm>

namespace varnoth
{

namespace
{

QString key(const QString& type, const QString& number)
{
    return type + QLatin1Char('#') + number;
}

} // namespace

Split splitExcess(const QList<NumberAmount>& excess, const QList<Dealer>& dealers, const QList<DealerShare>& sentBefore)
{
    Split split;
    // What each dealer holds so far, per type and number.
    QList<QHash<QString, qint64>> held(dealers.size());
    for (qsizetype d = 0; d < dealers.size(); ++d) {
        split.shares << DealerShare{dealers[d].name, {}};
        for (const DealerShare& before : sentBefore)
            if (before.dealer == dealers[d].name)
                for (const NumberAmount& a : before.items)
                    held[d][key(a.type, a.number)] += a.satang;
    }
    for (const NumberAmount& item : excess) {
        qint64 left = item.satang;
        for (qsizetype d = 0; d < dealers.size() && left > 0; ++d) {
            const DealerTerms* terms = dealers[d].termsFor(item.type);
            if (!terms) continue;
            qint64 room = left;
            // A stored cap of more than 15 digits is above any amount the book can hold.
            if (!terms->cap.isEmpty() && terms->cap.size() <= 15) {
                const qint64 cap = terms->cap.toLongLong() * 100;
                room = std::min(left, std::max<qint64>(0, cap - held[d].value(key(item.type, item.number))));
            }
            if (room <= 0) continue;
            split.shares[d].items << NumberAmount{item.type, item.number, room};
            held[d][key(item.type, item.number)] += room;
            left -= room;
        }
        if (left > 0) split.unplaced << NumberAmount{item.type, item.number, left};
    }
    return split;
}

} // namespace varnoth
