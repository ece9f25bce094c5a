#include "entry/totals.h"

#include "audit/auditread.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <QSet>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
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

namespace
{

// The figures of a customer's files of one type, each of his places read once.
StakeTotals totalsOfFiles(const Store& store, const QStringList& paths)
{
    StakeTotals all;
    for (const QString& path : paths)
        addTo(all, stakeFileTotals(store, path));
    return all;
}

// The bytes of a customer's files of one type, one after another; a file that cannot be read adds
// nothing to them (the figures of the same files name it).
QByteArray bytesOfFiles(const Store& store, const QStringList& paths)
{
    QByteArray all;
    for (const QString& path : paths) {
        const FileBytes file = store.readBytes(path);
        if (!file.readable) continue;
        if (!all.isEmpty() && !all.endsWith('\n')) all += "\r\n";
        all += file.bytes;
    }
    return all;
}

} // namespace

void addTo(StakeTotals& all, const StakeTotals& one)
{
    all.count += one.count;
    all.total += one.total;
    all.unreadable += one.unreadable;
}

StakeTotals stakeFileTotals(const Store& store, const QString& path)
{
    const FileBytes file = store.readBytes(path);
    if (file.readable) return totalsOfBytes(file.bytes);
    StakeTotals t;
    t.unreadable << path;
    return t;
}

StakeTotals customerTotals(Store& store, const QString& type, const QString& customer)
{
    const QStringList paths = store.stakeFilePaths(type, customer);
    if (paths.isEmpty()) return {};
    store.progress().reset();
    const StakeTotals t = totalsOfFiles(store, paths);
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
            const FileBytes file = store.readBytes(path);
            if (!file.exists) continue;
            StakeTotals one;
            if (file.readable)
                one = totalsOfBytes(file.bytes);
            else
                one.unreadable << path;
            use(path, one);
        }
        store.progress().yield();
    }
    store.progress().hide();
}

} // namespace

StakeTotals bookTotals(Store& store)
{
    StakeTotals all;
    scanStakeFiles(store, [&all](const QString&, const StakeTotals& one) { addTo(all, one); });
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
    for (const StakeTotals& one : files)
        addTo(all, one);
    // In the files' order, whatever order the hash keeps them in.
    std::sort(all.unreadable.begin(), all.unreadable.end());
    return all;
}

namespace
{

QString fieldText(QByteArrayView field)
{
    return QString::fromLatin1(field);
}

QString fieldText(QStringView field)
{
    return field.toString();
}

} // namespace

QList<PairStake> stakesNewestFirst(const QByteArray& stakeBytes, const QStringList& lastChangedFirst)
{
    QList<PairStake> inFileOrder;
    forEachNumberLine(QByteArrayView(stakeBytes), [&inFileOrder](const auto& line) {
        if (!line.hasDash()) return;
        double v = 0;
        if constexpr (std::is_same_v<std::decay_t<decltype(line)>, ByteLine>) {
            const QByteArrayView amount = line.amount();
            v = amountValue(amount.data(), amount.data() + amount.size());
        } else {
            v = Val(line.amount().toString());
        }
        if (v > 0) inFileOrder.append({fieldText(line.number()), fieldText(line.amount()).trimmed(), v});
    });
    QHash<QString, qsizetype> rank;
    for (qsizetype i = 0; i < lastChangedFirst.size(); ++i)
        rank.insert(lastChangedFirst[i], i);
    // Numbers the log says nothing of keep the file's order behind the others.
    std::stable_sort(inFileOrder.begin(), inFileOrder.end(), [&rank](const PairStake& a, const PairStake& b) {
        return rank.value(a.number, std::numeric_limits<qsizetype>::max()) <
               rank.value(b.number, std::numeric_limits<qsizetype>::max());
    });
    return inFileOrder;
}

QStringList numbersByLastChange(const AuditIndex& log, const QString& type, const QString& customer)
{
    AuditFilter filter;
    filter.type = type;
    filter.customer = customer;
    QStringList numbers;
    QSet<QString> seen;
    for (const qint64 row : selectAudit(log, filter).rows) {
        AuditRecord r;
        if (!log.record(row, r) || !changesStake(r.action) || r.number.isEmpty()) continue;
        if (!seen.contains(r.number)) {
            seen.insert(r.number);
            numbers << r.number;
        }
    }
    return numbers;
}

PairSummary pairSummary(Store& store, const QString& auditLogPath, const QString& type, const QString& customer)
{
    PairSummary s;
    if (const QStringList paths = store.stakeFilePaths(type, customer); !paths.isEmpty()) {
        AuditIndex log;
        const QStringList order = !auditLogPath.isEmpty() && log.load(auditLogPath)
                                      ? numbersByLastChange(log, type, customer)
                                      : QStringList();
        s.stakes = stakesNewestFirst(bytesOfFiles(store, paths), order);
    }
    for (const QString& t : typeNames()) {
        const QStringList files = store.stakeFilePaths(t, customer);
        if (files.isEmpty()) continue;
        const StakeTotals one = totalsOfFiles(store, files);
        s.all.unreadable += one.unreadable;
        if (one.count <= 0) continue;
        s.types.append({t, one});
        s.all.count += one.count;
        s.all.total += one.total;
    }
    return s;
}

} // namespace varnoth
