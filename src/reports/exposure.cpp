#include "reports/exposure.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/overlimit.h"
#include "reports/selectors.h"
#include "settings/numberrules.h"
#include "storage/folder/store.h"

#include <QSet>

namespace varnoth
{

namespace
{

QHash<QString, double> amountsByNumber(const QString& list)
{
    QHash<QString, double> out;
    for (const QString& item : splitText(list, QStringLiteral("#")))
        if (!item.isEmpty()) out.insert(itemNumber(item), itemAmount(item));
    return out;
}

Exposure exposureOf(Store& store, const QString& type, const QString& grouped)
{
    Exposure e;
    e.type = type;
    const QStringList& set = NumberSet(type);
    if (set.isEmpty()) return e;
    const NumberSetKind kind = classifyType(type);
    e.columns = set.size() > 1000 || (kind.ascending && kind.digits >= 4) ? 20 : 10;
    const QHash<QString, double> stakes = amountsByNumber(grouped);
    e.limit = store.LookupKeyed(store.limitFile(), type);
    const std::shared_ptr<const NumberRules> rules = bookRules(store);
    const int t = typeIndex(type);
    const NumberRules* own = rules->hasLimits(t) ? rules.get() : nullptr;
    QHash<QString, double> excess;
    if (!e.limit.isEmpty() || own)
        excess = amountsByNumber(SubtractSent(store, ExcessList(store, grouped, e.limit, own, t), type));
    QSet<QString> winning;
    for (const QString& n : store.LookupKeyed(store.resultFile(), type).split(QLatin1Char('-')))
        if (!n.isEmpty()) winning.insert(n);

    const bool withRules = rules->hasRules(t);
    e.cells.reserve(set.size());
    for (const QString& n : set) {
        ExposureCell c;
        c.number = n;
        c.stake = stakes.value(n);
        c.excess = excess.value(n);
        c.winning = winning.contains(n);
        double limit = Val(e.limit);
        if (withRules) {
            if (const NumberRule* rule = rules->find(t, n)) {
                c.closed = rule->kind == RuleKind::Closed;
                if (rule->kind == RuleKind::Pay) c.payPercent = rule->value;
                if (rule->kind == RuleKind::Limit) {
                    c.ownLimit = QString::number(rule->value);
                    limit = static_cast<double>(rule->value);
                }
            }
        }
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

} // namespace

Exposure buildExposure(Store& store, const QString& type)
{
    return exposureOf(store, type, GroupedLinesOfType(store, type).list);
}

Exposure ExposureSource::build(const QString& type)
{
    const QStringList& set = NumberSet(type);
    const int t = typeIndex(type);
    if (type != m_type) {
        m_files.clear();
        m_position.clear();
        for (int i = 0; i < set.size(); ++i)
            m_position.insert(set[i], i);
        m_type = type;
    }
    if (set.isEmpty() || t < 0) return exposureOf(m_store, type, QString());

    // Each customer's sums per number of the set, read again only when the file changed; then
    // added up per number in customer order, as grouping the type's working list adds them.
    const QString list = m_store.customerListText();
    QStringList paths;
    for (int c : Store::customerIndexes(list)) {
        const QString path = m_store.stakeFilePathAt(t, c);
        paths << path;
        FileSums& f = m_files[path];
        const QByteArray stamp = fileStamp(path);
        if (!stamp.isEmpty() && stamp == f.stamp) continue;
        f.stamp = stamp;
        f.sums = stakeSumsOfBytes(m_store.readBytes(path).bytes, set);
    }
    const QSet<QString> current(paths.cbegin(), paths.cend());
    for (auto it = m_files.begin(); it != m_files.end();)
        it = current.contains(it.key()) ? ++it : m_files.erase(it);

    QList<double> total(set.size(), 0.0);
    for (const QString& path : paths) {
        const QList<double>& sums = m_files.constFind(path)->sums;
        for (qsizetype i = 0; i < total.size(); ++i)
            total[i] += sums[i];
    }
    QString grouped;
    for (qsizetype i = 0; i < set.size(); ++i)
        if (total[i] > 0) grouped += set[i] + QLatin1Char('-') + shortestDecimal(total[i]) + QLatin1Char('#');
    return exposureOf(m_store, type, grouped);
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
