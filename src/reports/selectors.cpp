#include "reports/selectors.h"

#include "model/text.h"
#include "model/types.h"
#include "store/store.h"

#include <QHash>

namespace varnoth
{

namespace
{

// The value of an amount text as Val reads it. Stored amounts are plain digits, so those are
// summed here without building a text; anything else goes through Val.
double amountValue(QStringView text)
{
    if (text.isEmpty() || text.size() > 15) return Val(text.toString());
    double v = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Val(text.toString());
        v = v * 10 + (c.unicode() - '0');
    }
    return v;
}

// Appends the lines of one stake file whose amount is above 0 (and whose number is `number`, when
// one is given) to the working list. A line holding "#" would break the list into false items,
// so such hand-edited lines are left out like any other line that is not a stake.
void appendStakeLines(Store& store, const QString& path, const QString* number, QString& out)
{
    if (path.isEmpty()) return;
    const QString text = store.ReadWholeFile(path);
    if (text.isEmpty()) return;
    QStringView rest(text);
    while (!rest.isEmpty()) {
        qsizetype end = rest.indexOf(QLatin1Char('\n'));
        QStringView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QStringView() : rest.sliced(end + 1);
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty()) continue;
        const qsizetype dash = line.indexOf(QLatin1Char('-'));
        if (dash < 0) continue;
        if (number && line.first(dash) != *number) continue;
        if (line.contains(QLatin1Char('#'))) continue;
        if (amountValue(line.sliced(dash + 1)) <= 0) continue;
        out += line;
        out += QLatin1Char('#');
    }
}

// Every customer's stake file of the type, in customer-list order. A name standing twice in the
// list has one file (the one of its last place), read once.
QStringList stakeFilesOfType(Store& store, const QString& type)
{
    QStringList paths;
    const int t = typeIndex(type);
    if (t < 0) return paths;
    for (int c : Store::customerIndexes(store.customerListText()))
        paths << store.stakeFilePath(t, c);
    return paths;
}

QString linesOfType(Store& store, const QString& type, const QString* number)
{
    QString out;
    store.progress().reset();
    const QStringList paths = stakeFilesOfType(store, type);
    // The indicator moves once per file: a step per line would cost more than the reading itself
    // on a large book, and would restart for every file.
    for (const QString& path : paths) {
        store.progress().tick(paths.size());
        appendStakeLines(store, path, number, out);
        store.progress().yield();
    }
    store.progress().hide();
    return out;
}

// Calls `fn(item)` for every item of a working list (the text before each "#").
template <typename Fn> void forEachItem(const QString& list, Fn fn)
{
    QStringView rest(list);
    qsizetype end;
    while ((end = rest.indexOf(QLatin1Char('#'))) >= 0) {
        fn(rest.first(end));
        rest = rest.sliced(end + 1);
    }
}

} // namespace

QString itemNumber(const QString& item)
{
    const qsizetype dash = item.indexOf(QLatin1Char('-'));
    return dash < 0 ? item : item.left(dash);
}

double itemAmount(const QString& item)
{
    const qsizetype dash = item.indexOf(QLatin1Char('-'));
    return dash < 0 ? 0.0 : amountValue(QStringView(item).sliced(dash + 1));
}

QString LinesOfTypeCustomer(Store& store, const QString& type, const QString& customer)
{
    QString out;
    store.progress().reset();
    appendStakeLines(store, store.StakeFilePath(type, customer), nullptr, out);
    store.progress().hide();
    return out;
}

QString LinesOfTypeCustomerNumber(Store& store, const QString& type, const QString& customer, const QString& number)
{
    QString out;
    store.progress().reset();
    appendStakeLines(store, store.StakeFilePath(type, customer), &number, out);
    store.progress().hide();
    return out;
}

QString LinesOfType(Store& store, const QString& type)
{
    return linesOfType(store, type, nullptr);
}

QString LinesOfTypeNumber(Store& store, const QString& type, const QString& number)
{
    return linesOfType(store, type, &number);
}

QString FilterByNumber(const QString& list, const QString& number)
{
    QString out;
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash >= 0 && item.first(dash) == number) {
            out += item;
            out += QLatin1Char('#');
        }
    });
    return out;
}

QString GroupByNumber(Store& store, const QString& list, const QString& type)
{
    // One pass sums the items per number; the walk over the number set then gives the set's
    // order. Items whose number is not in the set (hand-edited lines) belong to no number.
    QHash<QStringView, double> sums;
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash < 0) return;
        sums[item.first(dash)] += amountValue(item.sliced(dash + 1));
    });
    QString out;
    const QStringList& numbers = NumberSet(type);
    store.progress().reset();
    for (const QString& n : numbers) {
        store.progress().tick(numbers.size());
        const auto it = sums.constFind(QStringView(n));
        if (it == sums.constEnd() || *it <= 0) continue;
        out += n;
        out += QLatin1Char('-');
        out += shortestDecimal(*it);
        out += QLatin1Char('#');
    }
    store.progress().hide();
    return out;
}

QStringList ShowSection(Store& store, GrandAccumulators& grand, const QString& list, const QString& type)
{
    QStringList lines;
    const QString rate = store.LookupKeyed(store.discountFile(), type);
    if (!list.contains(QLatin1Char('#'))) return lines;
    double count = 0;
    double total = 0;
    forEachItem(list, [&](QStringView item) {
        lines << item.toString();
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash < 0) return;
        ++count;
        total += amountValue(item.sliced(dash + 1));
    });
    if (count == 0) {
        lines << Separator;
        return lines;
    }
    lines << QStringLiteral("รวมเลข= ") + formatCount(count) + QStringLiteral(" รายการ");
    lines << QStringLiteral("รวมเงิน= ") + formatAmount(total) + QStringLiteral(" บาท");
    double discount = 0;
    if (!rate.isEmpty()) {
        discount = Val(rate) * total / 100;
        lines << QStringLiteral("ส่วนลด ") + rate + QStringLiteral("%= ") + formatAmount(discount) +
                     QStringLiteral(" บาท");
        lines << QStringLiteral("รวมเงินคงเหลือ= ") + formatAmount(total - discount) + QStringLiteral(" บาท");
    }
    grand.count += count;
    grand.amount += total;
    grand.discount += discount;
    lines << Separator;
    return lines;
}

} // namespace varnoth
