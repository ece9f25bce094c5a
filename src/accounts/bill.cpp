#include "accounts/bill.h"

#include "accounts/accounttexts.h"
#include "accounts/users.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/prize.h"
#include "reports/reportresult.h"
#include "reports/selectors.h"
#include "settings/numberrules.h"
#include "settings/options.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <type_traits>
#include <vector>

namespace varnoth
{

namespace
{

QString baht(double value)
{
    return formatAmount(value) + BahtText;
}

// Figures on a bill are settled in satang; a rest below half a satang is nothing to settle.
bool isZero(double value)
{
    return std::abs(value) < 0.005;
}

QString mark(bool own)
{
    return own ? OwnFigureMark : QString();
}

// `ownBalance`: the type's own balance line, left out when the bill has this type alone and its
// balance is the draw's.
QStringList typeLines(const BillType& t, bool ownBalance, bool totalsOnly)
{
    QStringList lines;
    lines << typeLine(t.type);
    if (!totalsOnly)
        for (const BillBet& b : t.bets)
            lines << betRow(b);
    lines << BillStakeText + baht(t.stake);
    if (!t.figures.discount.isEmpty())
        lines << BillDiscountText + t.figures.discount + QStringLiteral("%= ") + baht(t.discount) +
                     mark(t.figures.ownDiscount);
    lines << BillNetText + baht(t.net);
    for (const BillWin& w : t.wins) {
        QString line = BillWinText + w.number + BillWinStakeText + formatAmount(w.stake);
        if (w.terms.priced()) line += QStringLiteral(" x ") + w.terms.rate;
        line += payMark(w.terms);
        if (w.terms.priced()) line += BillWinPaysText + baht(w.prize) + mark(w.terms.ownRate);
        lines << line;
    }
    if (t.unpriced()) {
        lines << BillNoRateText;
    } else {
        if (!t.wins.isEmpty()) lines << BillPrizeText + baht(t.prize);
        if (ownBalance) lines << ThisDrawText + balanceText(t.balance());
    }
    lines << Separator;
    return lines;
}

// Each number's place in its type's number set, for every type: a customer's few numbers are
// grouped without a walk over the whole set. Numbers of up to three digits are found by their
// short-number slot, without a text to hash.
struct NumberPlaces {
    QHash<quint64, qsizetype> byDigits; // longer numbers, by digitsKey
    std::vector<qint32> bySlot;
    qsizetype of(QStringView number) const
    {
        const int slot = NumberRules::shortNumberSlot(number);
        if (slot >= 0) return bySlot[static_cast<size_t>(slot)];
        const quint64 key = digitsKey(number);
        return key ? byDigits.value(key, -1) : -1;
    }
    // A number of digits as one figure that keeps its width ("0123" and "123" differ); 0 for a text
    // that is not a number of at most 18 digits.
    static quint64 digitsKey(QStringView number)
    {
        if (number.isEmpty() || number.size() > 18) return 0;
        quint64 value = 1; // the leading 1 keeps the leading zeros
        for (QChar c : number) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return 0;
            value = value * 10 + (c.unicode() - '0');
        }
        return value;
    }
};

const NumberPlaces& numberPlaces(int type)
{
    static const std::vector<NumberPlaces> places = [] {
        std::vector<NumberPlaces> all;
        for (const QString& name : typeNames()) {
            const QStringList& numbers = NumberSet(name);
            NumberPlaces& one = all.emplace_back();
            one.bySlot.assign(NumberRules::ShortNumberSlots, -1);
            one.byDigits.reserve(numbers.size());
            for (qsizetype i = 0; i < numbers.size(); ++i) {
                if (const int slot = NumberRules::shortNumberSlot(numbers[i]); slot >= 0)
                    one.bySlot[static_cast<size_t>(slot)] = static_cast<qint32>(i);
                else if (const quint64 key = NumberPlaces::digitsKey(numbers[i]))
                    one.byDigits.insert(key, i);
            }
        }
        return all;
    }();
    return places[static_cast<size_t>(type)];
}

// Whether each number of the type's set wins on `winning`, as MatchWinning matches it. Found once
// for each type and drawn result, not again for every customer's bill.
std::vector<bool> winningPlaces(const QString& type, const QString& winning)
{
    thread_local QHash<QString, std::vector<bool>> found;
    const QString key = type + QLatin1Char('\n') + winning;
    if (const auto known = found.constFind(key); known != found.constEnd()) return *known;
    if (found.size() > 64) found.clear();
    const QStringList& numbers = NumberSet(type);
    QString all;
    for (const QString& n : numbers)
        all += n + QStringLiteral("-1#");
    const NumberPlaces& places = numberPlaces(typeIndex(type));
    std::vector<bool> wins(static_cast<size_t>(numbers.size()), false);
    forEachItem(MatchWinning(all, winning), [&](QStringView item) {
        wins[static_cast<size_t>(places.of(item.first(item.indexOf(QLatin1Char('-')))))] = true;
    });
    return *found.insert(key, std::move(wins));
}

// What every bill of a type shares, looked up once: its figures and its drawn numbers.
struct TypeSettings {
    QString type;
    QString payout;
    QString discount;
    QString winning;
};

TypeSettings typeSettings(const Store& store, const QString& type)
{
    return {type, store.LookupKeyed(store.rateFile(), type), store.LookupKeyed(store.discountFile(), type),
            store.LookupKeyed(store.resultFile(), type)};
}

// amountValue of the ASCII text of an amount: plain digits, the stored form, summed as they stand.
double amountOfDigits(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 15) return amountValue(QString::fromLatin1(text));
    double v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return amountValue(QString::fromLatin1(text));
        v = v * 10 + (c - '0');
    }
    return v;
}

// Calls `f` with the number and amount of every stake of one stake file that a bill counts: the
// lines appendStakeLines keeps (a "-", no "#", an amount above 0), read straight from the file's
// bytes as the report sums read them. True when there was one.
template <class F> bool forEachStake(const QByteArray& bytes, F&& f)
{
    bool any = false;
    forEachNumberLine(QByteArrayView(bytes), [&](const auto& line) {
        if (!line.hasDash() || line.hash) return;
        if constexpr (std::is_same_v<std::decay_t<decltype(line)>, ByteLine>) {
            // A plain ASCII line: a number of a type's width and an amount of plain digits are read
            // without a text of their own; anything else as its text.
            const QByteArrayView number = line.number();
            const double amount = amountOfDigits(line.rest());
            if (amount <= 0) return;
            any = true;
            QChar digits[8];
            if (number.size() <= qsizetype(std::size(digits))) {
                for (qsizetype i = 0; i < number.size(); ++i)
                    digits[i] = QLatin1Char(number[i]);
                f(QStringView(digits, number.size()), amount);
            } else {
                f(QStringView(QString::fromLatin1(number)), amount);
            }
        } else {
            const double amount = amountValue(line.rest());
            if (amount <= 0) return;
            any = true;
            f(line.number(), amount);
        }
    });
    return any;
}

// One type of a customer's bill from his stake file. His winners are those MatchWinning finds in
// the lines grouped by number (GroupByNumber): summed per number of the set, in the set's order.
// Nothing when the file holds no stake.
// `withBets`: the bets are listed too (a bill shown to its customer, not a sum over every one).
std::optional<BillType> billOfType(const QByteArray& bytes, const TypeSettings& s, const CustomerRate* own,
                                   const NumberRules& rules, bool withBets)
{
    BillType t;
    t.type = s.type;
    t.figures = figuresOf(own, s.payout, s.discount);
    const bool drawn = s.winning.contains(QLatin1Char('-'));
    const std::vector<bool> wins = drawn ? winningPlaces(s.type, s.winning) : std::vector<bool>();
    const NumberPlaces& places = numberPlaces(typeIndex(s.type));
    std::map<qsizetype, double> sums;
    double stake = 0;
    QHash<QString, qsizetype> betOf; // a number's place in t.bets
    QList<double> betSums;
    const bool any = forEachStake(bytes, [&](QStringView number, double amount) {
        stake += amount;
        const qsizetype place = drawn || withBets ? places.of(number) : -1;
        const bool won = drawn && place >= 0 && wins[static_cast<size_t>(place)];
        if (won) sums[place] += amount;
        if (!withBets) return;
        const QString key = number.toString();
        auto at = betOf.constFind(key);
        if (at == betOf.constEnd()) {
            at = betOf.insert(key, t.bets.size());
            t.bets << BillBet{key, 0, won};
            betSums << 0;
        }
        betSums[*at] += amount;
    });
    for (qsizetype i = 0; i < t.bets.size(); ++i)
        t.bets[i].amount = shortestDecimal(betSums[i]).toDouble();
    // In the order of the type's numbers, whichever of his files (a name listed twice has two) holds
    // them; a number the set does not know keeps its place at the end.
    std::stable_sort(t.bets.begin(), t.bets.end(), [&places](const BillBet& x, const BillBet& y) {
        const qsizetype px = places.of(x.number), py = places.of(y.number);
        return (px < 0 ? std::numeric_limits<qsizetype>::max() : px) <
               (py < 0 ? std::numeric_limits<qsizetype>::max() : py);
    });
    if (!any) return std::nullopt;
    t.stake = toSatang(stake);
    if (!t.figures.discount.isEmpty()) t.discount = toSatang(Val(t.figures.discount) * t.stake / 100);
    t.net = toSatang(t.stake - t.discount);
    const QStringList& numbers = NumberSet(s.type);
    for (const auto& [place, sum] : sums) {
        if (sum <= 0) continue;
        // The amount as the grouped list writes it.
        BillWin w{numbers[place], shortestDecimal(sum).toDouble(), {}, 0};
        w.terms = payTerms(rules, s.type, w.number, t.figures);
        w.prize = priceWin(w.stake, w.terms);
        t.prize = toSatang(t.prize + w.prize);
        t.wins << w;
    }
    return t;
}

void addType(Bill& bill, const BillType& t)
{
    bill.stake = toSatang(bill.stake + t.stake);
    bill.discount = toSatang(bill.discount + t.discount);
    bill.net = toSatang(bill.net + t.net);
    bill.prize = toSatang(bill.prize + t.prize);
    bill.types << t;
}

} // namespace

Bill computeBill(Store& store, const CustomerRates& rates, const QString& customer)
{
    Bill bill;
    bill.customer = customer;
    const std::shared_ptr<const NumberRules> rules = bookRules(store);
    // A name listed twice is billed once, over the stakes of both its places.
    const QList<int> places = store.customerPlaces(customer);
    if (places.isEmpty()) return bill;
    for (int t = 0; t < typeNames().size(); ++t) {
        const QString& type = typeNames()[t];
        if (classifyType(type).digits == 0) continue;
        const QByteArray bytes = store.stakeBytesAt(t, places);
        if (bytes.isEmpty()) continue;
        if (const std::optional<BillType> b =
                billOfType(bytes, typeSettings(store, type), rates.find(customer, type), *rules, true))
            addType(bill, *b);
    }
    return bill;
}

DrawResult drawResult(Store& store, const CustomerRates& rates, const QStringList& customers)
{
    // computeBill of every customer, with each type's settings and each customer's place in the
    // list looked up once for all of them.
    const std::shared_ptr<const NumberRules> rules = bookRules(store);
    std::vector<Bill> bills(static_cast<size_t>(customers.size()));
    const QString list = store.customerListText();
    std::vector<QList<int>> places;
    for (const QString& c : customers)
        places.push_back(Store::customerPlaces(list, c));
    for (int t = 0; t < typeNames().size(); ++t) {
        const QString& type = typeNames()[t];
        if (classifyType(type).digits == 0) continue;
        const TypeSettings settings = typeSettings(store, type);
        for (qsizetype i = 0; i < customers.size(); ++i) {
            if (places[size_t(i)].isEmpty()) continue;
            const QByteArray bytes = store.stakeBytesAt(t, places[size_t(i)]);
            if (bytes.isEmpty()) continue;
            if (const std::optional<BillType> b =
                    billOfType(bytes, settings, rates.find(customers[i], type), *rules, false))
                addType(bills[static_cast<size_t>(i)], *b);
        }
    }
    DrawResult r;
    for (const Bill& bill : bills) {
        for (const QString& t : bill.unpricedTypes())
            if (!r.unpriced.contains(t)) r.unpriced << t;
        r.result = toSatang(r.result + bill.balance());
    }
    return r;
}

QStringList Bill::unpricedTypes() const
{
    QStringList names;
    for (const BillType& t : types)
        if (t.unpriced()) names << t.type;
    return names;
}

QString unpricedText(const Bill& bill)
{
    const QStringList names = bill.unpricedTypes();
    return names.isEmpty() ? QString() : NoRateOfTypesText + names.join(QStringLiteral(", "));
}

QStringList Statement::unknowns() const
{
    QStringList why = problems;
    if (!bill.priced()) why << unpricedText(bill);
    return why;
}

QString balanceText(double balance)
{
    if (isZero(balance)) return SettledText;
    return (balance > 0 ? CustomerPaysText : BookmakerPaysText) + baht(std::abs(balance));
}

BillLayout billLayout(const Store& store)
{
    return {billTotalsOnly(store), yearStyle(store)};
}

QString betRow(const BillBet& bet)
{
    return withKeyers(bet.number + QLatin1Char('-') + shortestDecimal(bet.amount) + (bet.won ? WinningBetMark : QString()),
                      bet.keyers);
}

QStringList billLines(const Statement& s, const QString& drawLabel, const BillLayout& layout)
{
    QStringList lines;
    QString heading = BillHeadingText + typeLine(s.bill.customer);
    if (!drawLabel.isEmpty()) heading += QLatin1Char(' ') + PastDrawMark + drawLabel;
    lines << heading;
    lines << s.problems;
    if (s.bill.types.isEmpty()) lines << NoBetsText << Separator;
    // Without every payment and rate a balance would be a guess.
    const bool known = s.problems.isEmpty();
    for (const BillType& t : s.bill.types)
        lines << typeLines(t, known && s.bill.types.size() > 1, layout.totalsOnly);
    if (s.bill.types.size() > 1) {
        lines << BillTotalsText;
        lines << BillStakeText + baht(s.bill.stake);
        if (!isZero(s.bill.discount))
            lines << BillDiscountText.trimmed() + QStringLiteral("= ") + baht(s.bill.discount);
        lines << BillNetText + baht(s.bill.net);
        if (!isZero(s.bill.prize) && s.bill.priced()) lines << BillPrizeText + baht(s.bill.prize);
    }
    if (!s.bill.priced()) {
        // A prize that cannot be priced leaves every total after it unknown.
        lines << UnknownTotalText + unpricedText(s.bill);
        lines << Separator;
        return lines;
    }
    if (!known) {
        lines << TotalDueText + UnknownDueText << Separator;
        return lines;
    }
    lines << ThisDrawText + balanceText(s.bill.balance());
    if (!isZero(s.carried)) lines << CarriedText + balanceText(s.carried);
    for (const Payment& p : s.payments) {
        // A payment taken back is named by the payment it takes back: its direction and its time.
        const bool paidIn = p.isReversal() ? p.amount < 0 : p.amount > 0;
        lines << (p.isReversal() ? TakenBackLineText : QString()) + (paidIn ? PaidInLineText : PaidOutLineText) +
                     thaiShortDateTime(p.isReversal() ? p.reverses : p.when, layout.years) + QLatin1Char(' ') +
                     baht(std::abs(p.amount));
    }
    if (!isZero(s.paid)) lines << (s.paid > 0 ? PaidInText : PaidOutText) + baht(std::abs(s.paid));
    lines << TotalDueText + balanceText(s.due());
    lines << Separator;
    return lines;
}

} // namespace varnoth
