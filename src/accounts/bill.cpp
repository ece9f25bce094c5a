#include "accounts/bill.h"

#include "accounts/accounttexts.h"
#include "model/text.h"
#include "model/types.h"
#include "reports/prize.h"
#include "reports/reportresult.h"
#include "reports/selectors.h"
#include "settings/numberrules.h"
#include "store/store.h"

#include <cmath>

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
QStringList typeLines(const BillType& t, bool ownBalance)
{
    QStringList lines;
    lines << typeLine(t.type);
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

} // namespace

Bill computeBill(Store& store, const CustomerRates& rates, const QString& customer)
{
    Bill bill;
    bill.customer = customer;
    const std::shared_ptr<const NumberRules> rules = bookRules(store);
    for (const QString& type : typeNames()) {
        const QString lines = LinesOfTypeCustomer(store, type, customer);
        if (lines.isEmpty()) continue;
        BillType t;
        t.type = type;
        t.stake = toSatang(sumOfAmounts(lines));
        t.figures = figuresOf(store, rates, type, customer);
        if (!t.figures.discount.isEmpty()) t.discount = toSatang(Val(t.figures.discount) * t.stake / 100);
        t.net = toSatang(t.stake - t.discount);
        const QString winners =
            MatchWinning(GroupByNumber(store, lines, type), store.LookupKeyed(store.resultFile(), type));
        forEachItem(winners, [&](QStringView item) {
            const QString text = item.toString();
            BillWin w{itemNumber(text), itemAmount(text), {}, 0};
            w.terms = payTerms(*rules, type, w.number, t.figures);
            w.prize = priceWin(w.stake, w.terms);
            t.prize = toSatang(t.prize + w.prize);
            t.wins << w;
        });
        bill.stake = toSatang(bill.stake + t.stake);
        bill.discount = toSatang(bill.discount + t.discount);
        bill.net = toSatang(bill.net + t.net);
        bill.prize = toSatang(bill.prize + t.prize);
        bill.types << t;
    }
    return bill;
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

QStringList billLines(const Statement& s, const QString& drawLabel)
{
    QStringList lines;
    QString heading = BillHeadingText + typeLine(s.bill.customer);
    if (!drawLabel.isEmpty()) heading += QLatin1Char(' ') + PastDrawMark + drawLabel;
    lines << heading;
    lines << s.problems;
    if (s.bill.types.isEmpty()) lines << NoBetsText << Separator;
    for (const BillType& t : s.bill.types)
        lines << typeLines(t, s.bill.types.size() > 1);
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
    lines << ThisDrawText + balanceText(s.bill.balance());
    if (!s.problems.isEmpty()) {
        // Without every payment and rate the total would be a guess.
        lines << Separator;
        return lines;
    }
    if (!isZero(s.carried)) lines << CarriedText + balanceText(s.carried);
    for (const Payment& p : s.payments)
        lines << (p.amount > 0 ? PaidInLineText : PaidOutLineText) +
                     p.when.toString(QStringLiteral("dd/MM/yyyy HH:mm ")) + baht(std::abs(p.amount));
    if (!isZero(s.paid)) lines << (s.paid > 0 ? PaidInText : PaidOutText) + baht(std::abs(s.paid));
    lines << TotalDueText + balanceText(s.due());
    lines << Separator;
    return lines;
}

} // namespace varnoth
