#include "reports/statistics.h"

#include "core/model/text.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace varnoth
{

QStringList SortCountsDescending(const QStringList& counts)
{
    QList<std::pair<double, QString>> keyed;
    keyed.reserve(counts.size());
    for (const QString& c : counts)
        keyed.append({Val(c), c});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList sorted;
    sorted.reserve(keyed.size());
    for (const auto& k : keyed)
        sorted << k.second;
    return sorted;
}

ReportResult NumberStatistics(Store& store, const QString& type)
{
    ReportResult report;
    if (type.isEmpty()) {
        report.clearList = false;
        return report;
    }
    report.lines << QStringLiteral("สถิติตัวเลข <") + type + QLatin1Char('>');

    // The entries of each count text in file order, and the count texts as they first come up.
    QHash<QString, QStringList> entriesOfCount;
    QStringList counts;
    const QString text = store.ReadWholeFile(store.TypeFilePath(type, Store::CountPrefix));
    qsizetype lineCount = 0;
    forEachNumberLine(QStringView(text), [&](const TextLine& line) {
        if (!line.hasDash()) return;
        const QStringView count = line.amount();
        if (amountValue(count) <= 0) return;
        const QString key = count.toString();
        auto it = entriesOfCount.find(key);
        if (it == entriesOfCount.end()) {
            counts << key;
            it = entriesOfCount.insert(key, {});
        }
        it->append(line.line.toString());
        ++lineCount;
    });

    // A line standing twice in a hand-edited file is listed once.
    QSet<QString> written;
    written.reserve(lineCount);
    report.lines.reserve(report.lines.size() + lineCount);
    for (const QString& count : SortCountsDescending(counts)) {
        for (const QString& entry : std::as_const(*entriesOfCount.find(count))) {
            if (written.contains(entry)) continue;
            written.insert(entry);
            report.lines << entry;
        }
    }
    return report;
}

} // namespace varnoth
