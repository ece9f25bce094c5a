#include "reports/selectors.h"

#include "accounts/accounttexts.h"
#include "accounts/customerrates.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/reportresult.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <QHash>

#include <optional>

#include <algorithm>
#include <type_traits>
#include <vector>

namespace varnoth
{

namespace
{

// The position of the first "-" of a short text, -1 when it has none. Items and lines are a few
// characters long, and a report looks at millions of them: a plain loop beats a library search.
qsizetype firstDash(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('-')) return i;
    return -1;
}

// Appends the lines of one stake file whose amount is above 0 (and whose number is `number`, when
// one is given) to the working list. A line holding "#" would break the list into false items,
// so such hand-edited lines are left out like any other line that is not a stake.
void appendStakeLines(Store& store, const QString& path, const QString* number, QString& out)
{
    if (path.isEmpty()) return;
    const QString text = store.ReadWholeFile(path);
    if (text.isEmpty()) return;
    // Each kept line is written with "#" in place of its line end: the list grows by at most the
    // file's length (and one "#" for a last line without a line end), so it is written in place.
    const qsizetype kept = out.size();
    out.resize(kept + text.size() + 1);
    QChar* to = out.data() + kept;
    forEachNumberLine(QStringView(text), [&](const TextLine& line) {
        if (!line.hasDash() || line.hash) return;
        // The item holds the number without the blanks a hand-edited line may have around it.
        const QStringView lineNumber = line.number();
        if (number && lineNumber != *number) return;
        if (amountValue(line.rest()) <= 0) return;
        to = std::copy(lineNumber.begin(), lineNumber.end(), to);
        to = std::copy(line.line.begin() + line.dash, line.line.end(), to);
        *to++ = QLatin1Char('#');
    });
    out.truncate(to - out.constData());
}

// Every customer's stake file of the type, in customer-list order. A name standing twice in the
// list has a file for each place, each read once.
QStringList stakeFilesOfType(Store& store, const QString& type)
{
    QStringList paths;
    const int t = typeIndex(type);
    if (t < 0) return paths;
    for (int c : Store::customerIndexes(store.customerListText()))
        paths << store.stakeFilePathAt(t, c);
    return paths;
}

QString typeLines(Store& store, const QString& type, const QString* number)
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

// Amounts summed per number. The numbers of a type are digits of one width, so those are summed in
// a table indexed by their value; anything else (a hand-edited line) goes to a hash. A number
// never added sums to 0.
class NumberSums
{
public:
    explicit NumberSums(int width) : m_width(width >= 1 && width <= 5 ? width : 0)
    {
        int size = 1;
        for (int i = 0; i < m_width; ++i)
            size *= 10;
        if (m_width > 0) m_table.assign(size, 0.0);
    }

    void add(QStringView number, double amount)
    {
        const int slot = slotOf(number);
        if (slot >= 0)
            m_table[slot] += amount;
        else
            m_other[number] += amount;
    }

    // A number of the code page's ASCII part, straight from a file's bytes.
    void add(const char* number, qsizetype size, double amount)
    {
        const int slot = slotOf(number, size);
        if (slot >= 0)
            m_table[slot] += amount;
        else
            m_owned[QString::fromLatin1(number, size)] += amount;
    }

    // A number of a decoded line that lives no longer than this call.
    void addOwned(QStringView number, double amount)
    {
        const int slot = slotOf(number);
        if (slot >= 0)
            m_table[slot] += amount;
        else
            m_owned[number.toString()] += amount;
    }

    double value(QStringView number) const
    {
        const int slot = slotOf(number);
        if (slot >= 0) return m_table[slot];
        double v = m_other.value(number);
        if (!m_owned.isEmpty()) v += m_owned.value(number.toString());
        return v;
    }

private:
    int slotOf(QStringView number) const
    {
        if (m_width == 0 || number.size() != m_width) return -1;
        int v = 0;
        for (QChar c : number) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
            v = v * 10 + (c.unicode() - '0');
        }
        return v;
    }

    int slotOf(const char* number, qsizetype size) const
    {
        if (m_width == 0 || size != m_width) return -1;
        int v = 0;
        for (qsizetype i = 0; i < size; ++i) {
            if (number[i] < '0' || number[i] > '9') return -1;
            v = v * 10 + (number[i] - '0');
        }
        return v;
    }

    int m_width;
    std::vector<double> m_table;
    QHash<QStringView, double> m_other; // views into the list being grouped
    QHash<QString, double> m_owned;     // numbers read from files, which outlive no list
};

int widthOf(const QStringList& numbers)
{
    return numbers.isEmpty() ? 0 : static_cast<int>(numbers.first().size());
}

// amountValue on the ASCII bytes of an amount.
double amountOfBytes(const char* p, const char* end)
{
    const qsizetype n = end - p;
    if (n == 0 || n > 15) return amountValue(QString::fromLatin1(p, n));
    double v = 0;
    for (const char* q = p; q < end; ++q) {
        if (*q < '0' || *q > '9') return amountValue(QString::fromLatin1(p, n));
        v = v * 10 + (*q - '0');
    }
    return v;
}

} // namespace

// The test of sumStakeBytes below, for one decoded line; kept beside it so that the two never part.
double stakeOfLine(const TextLine& line)
{
    if (!line.hasDash() || line.hash) return 0;
    const double v = amountValue(line.rest());
    return v > 0 ? v : 0;
}

namespace
{

// The lines of one stake file summed per number, straight from its bytes: the lines of the code
// page's ASCII part (nearly all) are read as they stand, any other line is decoded first. The lines
// taken, their order and their values are those of appendStakeLines followed by grouping.
void sumStakeBytes(const QByteArray& bytes, NumberSums& sums, GroupedStakes& g)
{
    forEachNumberLine(QByteArrayView(bytes), [&](const auto& line) {
        if (!line.hasDash() || line.hash) return;
        const auto number = line.number();
        double v = 0;
        if constexpr (std::is_same_v<std::decay_t<decltype(line)>, ByteLine>) {
            const QByteArrayView rest = line.rest();
            v = amountOfBytes(rest.data(), rest.data() + rest.size());
            if (v <= 0) return;
            sums.add(number.data(), number.size(), v);
        } else {
            v = amountValue(line.rest());
            if (v <= 0) return;
            sums.addOwned(number, v);
        }
        g.staked = true;
        g.total += v;
    });
}

// The sums in number-set order, the numbers whose sum is not above 0 left out.
QString groupedText(Store& store, const NumberSums& sums, const QStringList& numbers)
{
    QString out;
    store.progress().reset();
    for (const QString& n : numbers) {
        store.progress().tick(numbers.size());
        const double sum = sums.value(n);
        if (sum <= 0) continue;
        out += n;
        out += QLatin1Char('-');
        out += shortestDecimal(sum);
        out += QLatin1Char('#');
    }
    store.progress().hide();
    return out;
}

} // namespace

QString itemNumber(const QString& item)
{
    const qsizetype dash = item.indexOf(QLatin1Char('-'));
    return dash < 0 ? item : stakeNumber(QStringView(item).first(dash)).toString();
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
    for (const QString& path : store.stakeFilePaths(type, customer))
        appendStakeLines(store, path, nullptr, out);
    store.progress().hide();
    return out;
}

QString LinesOfTypeCustomerNumber(Store& store, const QString& type, const QString& customer, const QString& number)
{
    QString out;
    store.progress().reset();
    for (const QString& path : store.stakeFilePaths(type, customer))
        appendStakeLines(store, path, &number, out);
    store.progress().hide();
    return out;
}

QString LinesOfType(Store& store, const QString& type)
{
    return typeLines(store, type, nullptr);
}

QString LinesOfTypeNumber(Store& store, const QString& type, const QString& number)
{
    return typeLines(store, type, &number);
}

QString FilterByNumber(const QString& list, const QString& number)
{
    QString out;
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = firstDash(item);
        if (dash >= 0 && stakeNumber(item.first(dash)) == number) {
            out += item;
            out += QLatin1Char('#');
        }
    });
    return out;
}

GroupedStakes GroupedLinesOfType(Store& store, const QString& type)
{
    GroupedStakes g;
    const QStringList& numbers = NumberSet(type);
    NumberSums sums(widthOf(numbers));
    store.progress().reset();
    const QStringList paths = stakeFilesOfType(store, type);
    for (const QString& path : paths) {
        store.progress().tick(paths.size());
        sumStakeBytes(store.readBytes(path).bytes, sums, g);
        store.progress().yield();
    }
    store.progress().hide();
    if (g.staked) g.list = groupedText(store, sums, numbers);
    return g;
}

QList<double> stakeSumsOfBytes(const QByteArray& bytes, const QStringList& numbers)
{
    NumberSums sums(widthOf(numbers));
    GroupedStakes g;
    sumStakeBytes(bytes, sums, g);
    QList<double> out(numbers.size(), 0.0);
    if (!g.staked) return out;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        out[i] = sums.value(numbers[i]);
    return out;
}

QString GroupByNumber(Store& store, const QString& list, const QString& type)
{
    // One pass sums the items per number; the walk over the number set then gives the set's
    // order. Items whose number is not in the set (hand-edited lines) belong to no number.
    const QStringList& numbers = NumberSet(type);
    NumberSums sums(widthOf(numbers));
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = firstDash(item);
        if (dash < 0) return;
        sums.add(stakeNumber(item.first(dash)), amountValue(item.sliced(dash + 1)));
    });
    return groupedText(store, sums, numbers);
}

OwnDiscounts ownDiscountChange(Store& store, const CustomerRates& rates, const QString& type, const QString& typeRate,
                               const QString& number)
{
    OwnDiscounts own;
    if (!rates.outcome.ok()) {
        own.problem = DamagedFileText + Store::fileName(rates.outcome.file);
        return own;
    }
    for (const CustomerRate& r : rates.items) {
        if (r.type != type || r.discount.isEmpty()) continue;
        const QString lines = number.isEmpty() ? LinesOfTypeCustomer(store, type, r.customer)
                                               : LinesOfTypeCustomerNumber(store, type, r.customer, number);
        double stake = 0;
        forEachItem(lines, [&](QStringView item) {
            const qsizetype dash = firstDash(item);
            if (dash >= 0) stake += amountValue(item.sliced(dash + 1));
        });
        if (stake > 0) own.change = own.change.value_or(0) + (Val(r.discount) - Val(typeRate)) * stake / 100;
    }
    return own;
}

QStringList ShowSection(Store& store, GrandAccumulators& grand, const QString& list, const QString& type,
                        const QString& customer, const QString& number)
{
    QStringList lines;
    const bool everyone = customer == AllChoice;
    Figures figures = figuresOf(store, type, everyone ? QString() : customer);
    const QString& rate = figures.discount;
    if (!list.contains(QLatin1Char('#'))) return lines;
    double count = 0;
    double total = 0;
    forEachItem(list, [&](QStringView item) {
        lines << item.toString();
        const qsizetype dash = firstDash(item);
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
    std::optional<double> own;
    if (everyone) {
        OwnDiscounts everyones = ownDiscountChange(store, loadCustomerRates(store), type, rate, number);
        own = everyones.change;
        figures.problem = everyones.problem;
    }
    if (own) {
        // Every customer's stake: each at his own discount where he has one.
        discount = Val(rate) * total / 100 + *own;
        lines << QStringLiteral("ส่วนลด") + (rate.isEmpty() ? QString() : QLatin1Char(' ') + rate + QLatin1Char('%')) +
                     QStringLiteral("= ") + formatAmount(discount) + QStringLiteral(" บาท") + OwnFiguresIncludedMark;
        lines << QStringLiteral("รวมเงินคงเหลือ= ") + formatAmount(total - discount) + QStringLiteral(" บาท");
    } else if (!rate.isEmpty()) {
        discount = Val(rate) * total / 100;
        lines << QStringLiteral("ส่วนลด ") + rate + QStringLiteral("%= ") + formatAmount(discount) +
                     QStringLiteral(" บาท") + (figures.ownDiscount ? OwnFigureMark : QString());
        lines << QStringLiteral("รวมเงินคงเหลือ= ") + formatAmount(total - discount) + QStringLiteral(" บาท");
    }
    if (!figures.problem.isEmpty()) lines << figures.problem;
    grand.count += count;
    grand.amount += total;
    grand.discount += discount;
    lines << Separator;
    return lines;
}

} // namespace varnoth
