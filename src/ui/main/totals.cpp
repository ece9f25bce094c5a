#include "ui/main/totals.h"

#include "model/text.h"
#include "model/types.h"
#include "store/store.h"

namespace varnoth {

StakeTotals totalsOfText(const QString& text)
{
    StakeTotals t;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty()) continue;
        qsizetype dash = line.indexOf(QLatin1Char('-'));
        if (dash < 0) continue;
        QStringView rest = line.mid(dash + 1);
        qsizetype next = rest.indexOf(QLatin1Char('-'));
        double v = Val((next < 0 ? rest : rest.left(next)).toString());
        if (v > 0) {
            t.total += v;
            t.count += 1;
        }
    }
    return t;
}

StakeTotals customerTotals(Store& store, const QString& type, const QString& customer)
{
    const QString path = store.StakeFilePath(type, customer);
    if (path.isEmpty()) return {};
    store.progress().reset();
    StakeTotals t = totalsOfText(store.ReadWholeFile(path));
    store.progress().hide();
    return t;
}

StakeTotals grandTotals(Store& store)
{
    StakeTotals all;
    const QList<int> customers = Store::customerIndexes(store.customerListText());
    store.progress().reset();
    for (int t = 0; t < typeNames().size(); ++t) {
        store.progress().tick(typeNames().size());
        for (int c : customers) {
            const FileText f = store.readFile(store.stakeFilePath(t, c));
            if (!f.exists) continue;
            StakeTotals one = totalsOfText(f.text);
            all.count += one.count;
            all.total += one.total;
        }
        store.progress().yield();
    }
    store.progress().hide();
    return all;
}

} // namespace varnoth
