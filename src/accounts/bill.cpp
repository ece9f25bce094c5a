#include "accounts/bill.h"

#include "accounts/accounttexts.h"
#include "model/text.h"
#include "model/types.h"
#include "reports/prize.h"
#include "reports/reportresult.h"
#include "reports/selectors.h"
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
        if (!t.figures.payout.isEmpty())
            line +=
                QStringLiteral(" x ") + t.figures.payout + BillWinPaysText + baht(w.prize) + mark(t.figures.ownPayout);
        lines << line;
    }
    if (!t.wins.isEmpty()) lines << BillPrizeText + baht(t.prize);
    if (ownBalance) lines << ThisDrawText + balanceText(t.balance());
    lines << Separator;
    return lines;
}

} // namespace

Bill computeBill(Store& store, const CustomerRates& rates, const QString& customer)
{
    Bill bill;
    bill.customer = customer;
    for (const QString& type : typeNames()) {
        const QString lines = LinesOfTypeCustomer(store, type, customer);
        if (lines.isEmpty()) continue;
        BillType t;
        t.type = type;
        t.stake = sumOfAmounts(lines);
        t.figures = figuresOf(store, rates, type, customer);
        if (!t.figures.discount.isEmpty()) t.discount = Val(t.figures.discount) * t.stake / 100;
        t.net = t.stake - t.discount;
        const QString winners =
            MatchWinning(GroupByNumber(store, lines, type), store.LookupKeyed(store.resultFile(), type));
        const double payout = Val(t.figures.payout);
        forEachItem(winners, [&](QStringView item) {
            const QString text = item.toString();
            BillWin w{itemNumber(text), itemAmount(text), 0};
            w.prize = payout * w.stake;
            t.prize += w.prize;
            t.wins << w;
        });
        bill.stake += t.stake;
        bill.discount += t.discount;
        bill.net += t.net;
        bill.prize += t.prize;
        bill.types << t;
    }
    return bill;
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
    // Without every payment and rate a balance would be a guess.
    const bool known = s.problems.isEmpty();
    for (const BillType& t : s.bill.types)
        lines << typeLines(t, known && s.bill.types.size() > 1);
    if (s.bill.types.size() > 1) {
        lines << BillTotalsText;
        lines << BillStakeText + baht(s.bill.stake);
        if (!isZero(s.bill.discount))
            lines << BillDiscountText.trimmed() + QStringLiteral("= ") + baht(s.bill.discount);
        lines << BillNetText + baht(s.bill.net);
        if (!isZero(s.bill.prize)) lines << BillPrizeText + baht(s.bill.prize);
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
                     (p.isReversal() ? p.reverses : p.when).toString(QStringLiteral("dd/MM/yyyy HH:mm ")) +
                     baht(std::abs(p.amount));
    }
    if (!isZero(s.paid)) lines << (s.paid > 0 ? PaidInText : PaidOutText) + baht(std::abs(s.paid));
    lines << TotalDueText + balanceText(s.due());
    lines << Separator;
    return lines;
}

} // namespace varnoth
