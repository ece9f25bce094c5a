#include "entry/totals.h"

#include "model/text.h"
#include "model/types.h"
#include "store/numberlines.h"
#include "store/store.h"

#include <QFile>
#include <charconv>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace varnoth
{

namespace
{

// The value of a stake line's amount as Val reads it (blanks, a sign, digits, a point and digits),
// straight from the file's bytes: the amounts are ASCII in windows-874, and any other byte ends the
// number just as it would in the decoded text.
double amountValue(const char* p, const char* end)
{
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    // Nearly every amount is plain digits before the line's CR, which a double holds exactly up to
    // 15 of them.
    const char* digitsEnd = end > p && end[-1] == '\r' ? end - 1 : end;
    if (digitsEnd - p >= 1 && digitsEnd - p <= 15) {
        double v = 0;
        const char* q = p;
        for (; q < digitsEnd && *q >= '0' && *q <= '9'; ++q)
            v = v * 10 + (*q - '0');
        if (q == digitsEnd) return v;
    }
    const char* start = p;
    if (p < end && (*p == '-' || *p == '+')) ++p;
    const char* digits = p;
    while (p < end && *p >= '0' && *p <= '9')
        ++p;
    bool any = p > digits;
    if (p < end && *p == '.') {
        const char* frac = p + 1;
        const char* q = frac;
        while (q < end && *q >= '0' && *q <= '9')
            ++q;
        if (q > frac) {
            p = q;
            any = true;
        }
    }
    if (!any) return 0;
    const char* from = (*start == '+') ? start + 1 : start;
    double v = 0;
    std::from_chars(from, p, v);
    return std::isfinite(v) ? v : 0;
}

} // namespace

namespace
{

// A line whose amount (the text between its first and second "-") is above 0 is a stake.
void addLine(StakeTotals& t, double v)
{
    if (v > 0) {
        t.total += v;
        t.count += 1;
    }
}

} // namespace

StakeTotals totalsOfBytes(const QByteArray& bytes)
{
    StakeTotals t;
    forEachNumberLine(QByteArrayView(bytes), [&t](const auto& line) {
        if (!line.hasDash()) return;
        if constexpr (std::is_same_v<std::decay_t<decltype(line)>, ByteLine>) {
            const QByteArrayView amount = line.amount();
            addLine(t, amountValue(amount.data(), amount.data() + amount.size()));
        } else {
            addLine(t, Val(line.amount().toString()));
        }
    });
    return t;
}

StakeTotals totalsOfText(const QString& text)
{
    StakeTotals t;
    forEachNumberLine(QStringView(text), [&t](const TextLine& line) {
        if (line.hasDash()) addLine(t, Val(line.amount().toString()));
    });
    return t;
}

StakeTotals customerTotals(Store& store, const QString& type, const QString& customer)
{
    const QString path = store.StakeFilePath(type, customer);
    if (path.isEmpty()) return {};
    store.progress().reset();
    QFile f;
    StakeTotals t = openRegularForRead(f, path) ? totalsOfBytes(f.readAll()) : StakeTotals{};
    store.progress().hide();
    return t;
}

namespace
{

// Calls `use` with the path and figures of every existing stake file, type by type.
template <class Use> void scanStakeFiles(Store& store, Use use)
{
    const QList<int> customers = Store::customerIndexes(store.customerListText());
    store.progress().reset();
    for (int t = 0; t < typeNames().size(); ++t) {
        store.progress().tick(typeNames().size());
        for (int c : customers) {
            const QString path = store.stakeFilePathAt(t, c);
            QFile f;
            if (!openRegularForRead(f, path)) continue;
            use(path, totalsOfBytes(f.readAll()));
        }
        store.progress().yield();
    }
    store.progress().hide();
}

} // namespace

StakeTotals bookTotals(Store& store)
{
    StakeTotals all;
    scanStakeFiles(store, [&all](const QString&, const StakeTotals& one) {
        all.count += one.count;
        all.total += one.total;
    });
    return all;
}

QHash<QString, StakeTotals> stakeTotalsByFile(Store& store)
{
    QHash<QString, StakeTotals> files;
    scanStakeFiles(store, [&files](const QString& path, const StakeTotals& one) { files.insert(path, one); });
    return files;
}

StakeTotals sumOf(const QHash<QString, StakeTotals>& files)
{
    StakeTotals all;
    for (const StakeTotals& one : files) {
        all.count += one.count;
        all.total += one.total;
    }
    return all;
}

} // namespace varnoth
