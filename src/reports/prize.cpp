#include "reports/prize.h"

#include "accounts/accounttexts.h"
#include "accounts/bill.h"
#include "accounts/customerrates.h"
#include "core/model/listtexts.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/cutting.h"
#include "reports/overlimit.h"
#include "reports/ownshares.h"
#include "reports/selectors.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "storage/folder/store.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>

namespace varnoth
{

namespace
{

const QString Baht = QStringLiteral(" บาท");

qsizetype firstDash(QStringView item)
{
    for (qsizetype i = 0; i < item.size(); ++i)
        if (item[i] == QLatin1Char('-')) return i;
    return -1;
}

QString winnersHeading(const QString& first, const QString& type, const QString& customer)
{
    return first + headerLine(type, customer);
}

struct Selection {
    bool hasData = false;
    QString winners;
    QString income;
    QString grouped; // every customer's stake per number before the limits, in a selection of everyone
};

// The customers' own figures in a section of every customer: each one's part of a winning number's
// held stake at his own payout rate, and his whole stake of the type at his own discount.
struct Everyone {
    const CustomerRates& rates;
    const QString& grouped;
};

// One type for one customer, or for every customer when `customer` is empty.
Selection evaluate(Store& store, const QString& type, const QString& customer)
{
    Selection s;
    // The same lines TotalStake would read again, summed in the same order.
    GroupedStakes grouped;
    if (customer.isEmpty()) {
        grouped = GroupedLinesOfType(store, type);
        s.grouped = grouped.list;
    } else {
        const QString lines = LinesOfTypeCustomer(store, type, customer);
        grouped.staked = !lines.isEmpty();
        grouped.total = sumOfAmounts(lines);
        if (grouped.staked) grouped.list = GroupByNumber(store, lines, type);
    }
    s.income = shortestDecimal(grouped.total);
    if (!grouped.staked) return s;
    s.hasData = true;
    QString list = CapStakes(store, grouped.list, type);
    const QString cut = store.LookupKeyed(store.numberCutFile(), type);
    const QString positions = store.LookupKeyed(store.digitCutFile(), type);
    if (!cut.isEmpty() && !positions.isEmpty()) list = KeepUncut(store, list, cut, positions);
    if (!list.isEmpty()) s.winners = MatchWinning(list, store.LookupKeyed(store.resultFile(), type));
    return s;
}

QStringList bookTotals(const GrandAccumulators& grand)
{
    QStringList lines;
    lines << QStringLiteral("จำนวนเลขที่ถูกรางวัล= ") + formatCount(grand.count) + QStringLiteral(" รายการ");
    lines << QStringLiteral("จำนวนเงินที่ถูกรางวัล= ") + formatAmount(grand.amount) + Baht;
    lines << QStringLiteral("รวมเงินที่จ่ายค่ารางวัล= ") + formatAmount(grand.prize) + Baht;
    lines << QStringLiteral("รายรับทั้งหมด= ") + formatAmount(grand.income) + Baht;
    if (grand.income <= grand.prize)
        lines << QStringLiteral("ขาดทุน= ") + formatAmount(grand.prize - grand.income) + Baht;
    else
        lines << QStringLiteral("กำไร= ") + formatAmount(grand.income - grand.prize) + Baht;
    lines << Separator;
    return lines;
}

// What the draw comes to for the bookmaker over every type, as the bills of `customers` add it up:
// each one's balance, his discount and every prize at his own terms, on his whole stake. Unknown
// while a bill has a win that cannot be priced or the rates file is damaged.
QString wholeDrawLine(Store& store, const QStringList& customers)
{
    const CustomerRates rates = loadCustomerRates(store);
    if (!rates.outcome.ok())
        return WholeDrawText + ProfitUnknownText + QLatin1Char(' ') + DamagedFileText +
               Store::fileName(rates.outcome.file);
    const DrawResult draw = drawResult(store, rates, customers);
    const QStringList& unpriced = draw.unpriced;
    const double result = draw.result;
    if (!unpriced.isEmpty())
        return WholeDrawText + ProfitUnknownText + QLatin1Char(' ') + NoRateOfTypesText +
               unpriced.join(QStringLiteral(", "));
    if (result > 0) return WholeDrawText + QStringLiteral("กำไร= ") + formatAmount(result) + Baht;
    if (result < 0) return WholeDrawText + QStringLiteral("ขาดทุน= ") + formatAmount(-result) + Baht;
    return WholeDrawText + EvenText;
}

} // namespace

double toSatang(double value)
{
    // A figure already on a satang but for the error of its arithmetic is that satang; only one
    // that lies between two is rounded as it prints.
    const double satang = value * 100;
    const double whole = std::nearbyint(satang);
    if (std::abs(satang - whole) < 1e-6) return whole / 100;
    return formatAmount(value).remove(QLatin1Char(',')).toDouble();
}

PayTerms payTerms(const NumberRules& rules, const QString& type, const QString& number, const Figures& figures)
{
    PayTerms terms;
    terms.rate = figures.payout;
    terms.ownRate = figures.ownPayout;
    if (const NumberRule* rule = rules.isEmpty() ? nullptr : rules.find(type, number);
        rule && rule->kind == RuleKind::Pay) {
        terms.percent = rule->value;
        terms.payRule = true;
    }
    return terms;
}

QString payMark(const PayTerms& terms)
{
    return terms.payRule ? PayPercentText.arg(terms.percent) : QString();
}

double priceWin(double stake, const PayTerms& terms, double held, double total)
{
    if (!terms.priced() || stake <= 0) return 0;
    const double part = held < total ? stake * std::max(held, 0.0) / total : stake;
    return toSatang(part * Val(terms.rate) * static_cast<double>(terms.percent) / 100);
}

double sumOfAmounts(const QString& list)
{
    double sum = 0;
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = firstDash(item);
        if (dash >= 0) sum += amountValue(item.sliced(dash + 1));
    });
    return sum;
}

QString TotalStake(Store& store, const QString& type, const QString& customer)
{
    const QString lines = customer == AllChoice ? LinesOfType(store, type) : LinesOfTypeCustomer(store, type, customer);
    return shortestDecimal(sumOfAmounts(lines));
}

QString CapAtLimit(const QString& list, const QString& limit)
{
    const double cap = Val(limit);
    QString out;
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = firstDash(item);
        if (dash < 0) return;
        const QStringView amount = item.sliced(dash + 1);
        if (amount == QLatin1String("0")) return;
        if (cap >= amountValue(amount)) {
            out += item;
        } else {
            out += item.first(dash + 1);
            out += limit;
        }
        out += QLatin1Char('#');
    });
    return out;
}

QString CapAtOwnLimits(const QString& list, const QString& limit, const NumberRules& rules, int type)
{
    const double typeCap = Val(limit);
    QString out;
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = firstDash(item);
        if (dash < 0) return;
        const QStringView amount = item.sliced(dash + 1);
        if (amount == QLatin1String("0")) return;
        const std::optional<qint64> own = rules.ownLimit(type, item.first(dash).toString());
        const bool capped =
            own ? static_cast<double>(*own) < amountValue(amount) : !limit.isEmpty() && typeCap < amountValue(amount);
        if (!capped) {
            out += item;
        } else {
            out += item.first(dash + 1);
            out += own ? QString::number(*own) : limit;
        }
        out += QLatin1Char('#');
    });
    return out;
}

QString CapStakes(Store& store, const QString& list, const QString& type)
{
    const QString limit = store.LookupKeyed(store.limitFile(), type);
    const std::shared_ptr<const NumberRules> rules = bookRules(store);
    const int t = typeIndex(type);
    if (rules->hasLimits(t)) return CapAtOwnLimits(list, limit, *rules, t);
    return limit.isEmpty() ? list : CapAtLimit(list, limit);
}

QString MatchWinning(const QString& list, const QString& winning)
{
    if (!winning.contains(QLatin1Char('-'))) return {};
    QStringList pieces = winning.split(QLatin1Char('-'));
    pieces.removeLast(); // the text after the last "-" is no piece
    pieces.removeAll(QString());
    QString out;
    forEachItem(list, [&](QStringView item) {
        const qsizetype dash = firstDash(item);
        if (dash < 0) return;
        QString bet = item.first(dash).toString();
        const double amount = amountValue(item.sliced(dash + 1));
        int hits = 0;
        for (const QString& p : pieces) {
            const qsizetype at = bet.indexOf(p);
            if (at < 0) continue;
            bet.replace(at, p.size(), QString(p.size(), QLatin1Char(' ')));
            ++hits;
        }
        const bool wins = dash <= 3 ? hits >= 1 : hits >= 3;
        if (amount > 0 && wins) {
            out += item;
            out += QLatin1Char('#');
        }
    });
    return out;
}

namespace
{

// ShowWinners with the figures already looked up. A section of every customer (`everyone` set) pays
// and discounts each customer's part at his own figures where he has them, and marks those lines.
QStringList showWinners(Store& store, GrandAccumulators& grand, const QString& winners, const QString& type,
                        const QString& income, Figures figures, const Everyone* everyone)
{
    const QString& discountRate = figures.discount;
    const QString& payoutRate = figures.payout;
    QStringList lines;
    double count = 0;
    double stake = 0;
    const std::shared_ptr<const NumberRules> rules = bookRules(store);

    // Every customer's section: who has an own payout rate on the winning numbers. A damaged rates
    // file is named and none of it is used.
    QList<OwnStakes> own;
    QHash<QString, double> totals;
    std::optional<double> ownDiscount;
    if (everyone) {
        if (!everyone->rates.outcome.ok()) {
            figures.problem = DamagedFileText + Store::fileName(everyone->rates.outcome.file);
        } else {
            ownDiscount = ownDiscountChange(store, everyone->rates, type, discountRate).change;
            const auto paysOwn = [&](const CustomerRate& r) { return r.type == type && !r.payout.isEmpty(); };
            if (std::any_of(everyone->rates.items.begin(), everyone->rates.items.end(), paysOwn)) {
                own = ownStakesOf(store, everyone->rates, type);
                totals = amountsByNumber(everyone->grouped);
            }
        }
    }
    bool ownPaid = false;
    double prize = 0;

    forEachItem(winners, [&](QStringView item) {
        const qsizetype dash = firstDash(item);
        if (dash < 0) {
            lines << item.toString();
            return;
        }
        ++count;
        const double amount = amountValue(item.sliced(dash + 1));
        stake += amount;
        const QString number = item.first(dash).toString();
        const PayTerms terms = payTerms(*rules, type, number, figures);
        if (!own.isEmpty()) {
            // What the book keeps of the number is shared by its stakes, each at its customer's rate.
            const qsizetype place = NumberSet(type).indexOf(number);
            const double total = std::max(totals.value(number), amount);
            const NumberCost cost = place >= 0 ? costOfNumber(own, place, total, amount, terms)
                                               : NumberCost{priceWin(amount, terms), false};
            ownPaid = ownPaid || cost.ownRate;
            prize += cost.prize;
        } else {
            prize += priceWin(amount, terms);
        }
        lines << item.toString() + payMark(terms);
    });
    if (count > 0) {
        lines << QStringLiteral("รวมเลข= ") + formatCount(count) + QStringLiteral(" รายการ");
        lines << QStringLiteral("รวมเงิน= ") + formatAmount(stake) + Baht;
    }
    if (ownPaid) {
        lines << QStringLiteral("จ่ายค่ารางวัล= ") + formatAmount(prize) + Baht + OwnPayoutsIncludedMark;
    } else if (!payoutRate.isEmpty()) {
        lines << QStringLiteral("จ่ายค่ารางวัล= ") + formatAmount(prize) + Baht +
                     (figures.ownPayout ? OwnFigureMark : QString());
    }
    double held = Val(income);
    lines << QStringLiteral("รวมรายรับ= ") + formatAmount(held) + Baht;
    if (ownDiscount) {
        const double discount = toSatang(Val(discountRate) * held / 100 + *ownDiscount);
        lines << QStringLiteral("จ่ายค่าส่วนลด") +
                     (discountRate.isEmpty() ? QString() : QLatin1Char(' ') + discountRate + QLatin1Char('%')) +
                     QStringLiteral("= ") + formatAmount(discount) + Baht + OwnFiguresIncludedMark;
        held -= discount;
        lines << QStringLiteral("รายรับคงเหลือ= ") + formatAmount(held) + Baht;
    } else if (!discountRate.isEmpty()) {
        // Rounded once, so that the income left is what the lines show.
        const double discount = toSatang(Val(discountRate) * held / 100);
        lines << QStringLiteral("จ่ายค่าส่วนลด ") + discountRate + QStringLiteral("%= ") + formatAmount(discount) + Baht +
                     (figures.ownDiscount ? OwnFigureMark : QString());
        held -= discount;
        lines << QStringLiteral("รายรับคงเหลือ= ") + formatAmount(held) + Baht;
    }
    if (prize < held)
        lines << QStringLiteral("กำไร ") + formatAmount(held - prize) + Baht;
    else if (prize > held)
        lines << QStringLiteral("ขาดทุน ") + formatAmount(prize - held) + Baht;
    if (!figures.problem.isEmpty()) lines << figures.problem;
    lines << Separator;
    grand.count += count;
    grand.amount += stake;
    grand.prize += prize;
    grand.income += held;
    return lines;
}

} // namespace

QStringList ShowWinners(Store& store, GrandAccumulators& grand, const QString& winners, const QString& type,
                        const QString& income, const QString& customer)
{
    return showWinners(store, grand, winners, type, income, figuresOf(store, type, customer), nullptr);
}

ReportResult PrizeCheck(Store& store, ReportState& session, const QString& type, const QString& customer)
{
    GrandAccumulators& grand = session.grand;
    grand.reset();
    ReportResult report;
    QStringList& lines = report.lines;
    const bool allTypes = type == AllChoice;
    const bool allCustomers = customer == AllChoice;

    if (!allTypes && !allCustomers) {
        lines << winnersHeading(QStringLiteral("เลขที่ถูกรางวัล"), type, customer);
        const Selection s = evaluate(store, type, customer);
        if (!s.hasData) {
            // Nothing was ever keyed for this pair: the operator may pick another at once.
            lines << QStringLiteral("ยังไม่มีข้อมูล");
            grand.reset();
            return report;
        }
        if (s.winners.isEmpty())
            lines << QStringLiteral("ไม่มีข้อมูลถูกรางวัล");
        else
            lines << ShowWinners(store, grand, s.winners, type, s.income, customer);
    } else {
        // The first word of the heading is followed by a blank only where all customers are checked.
        const QString first = allCustomers ? QStringLiteral("เลขที่ถูกรางวัล ") : QStringLiteral("เลขที่ถูกรางวัล");
        bool anyWinners = false;
        // Every type of every customer: each type's section holds the customers' own figures.
        const CustomerRates rates = allTypes && allCustomers ? loadCustomerRates(store) : CustomerRates{};
        auto section = [&](const QString& t, const QString& c, const QString& shownCustomer) {
            const Selection s = evaluate(store, t, c);
            if (s.winners.isEmpty()) return;
            anyWinners = true;
            lines << winnersHeading(first, t, shownCustomer);
            if (c.isEmpty()) {
                const Everyone everyone{rates, s.grouped};
                lines << showWinners(store, grand, s.winners, t, s.income, figuresOf(store, rates, t, c), &everyone);
            } else {
                lines << ShowWinners(store, grand, s.winners, t, s.income, c);
            }
        };
        if (!allTypes) {
            for (const QString& c : store.customers())
                section(type, c, c);
        } else {
            for (const QString& t : typeNames())
                section(t, allCustomers ? QString() : customer, customer);
        }
        if (!anyWinners) lines << QStringLiteral("ไม่มีข้อมูลถูกรางวัล");
    }
    if (grand.count > 0) lines << bookTotals(grand);
    // The sections above count what the book keeps of the winners and the income of the types that
    // won; what the draw leaves with the customers over every type is the bills' figure.
    lines << wholeDrawLine(store, allCustomers ? store.customers() : QStringList{customer});
    grand.reset();
    report.closeWindows = true;
    return report;
}

} // namespace varnoth
