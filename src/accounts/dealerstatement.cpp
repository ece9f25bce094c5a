#include "accounts/dealerstatement.h"

#include "accounts/accounttexts.h"
#include "accounts/dealersent.h"
#include "accounts/dealertexts.h"
#include "accounts/drawhistory.h"
#include "core/model/datetexts.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/prize.h"
#include "settings/options.h"
#include "storage/folder/store.h"

#include <QHash>

#include <cmath>
#include <cstdlib>
#include <functional>

namespace varnoth
{

namespace
{

QString baht(qint64 satang)
{
    return formatAmount(double(satang) / 100);
}

qint64 satangOf(double amount)
{
    return std::llround(amount * 100);
}

// A chat shows whole baht without decimals: "60,000", "12.50".
QString chatBaht(qint64 satang)
{
    QString text = baht(satang);
    if (text.endsWith(QStringLiteral(".00"))) text.chop(3);
    return text;
}

qint64 paidBy(const Payments& payments, const QString& dealer)
{
    qint64 sum = 0;
    for (const Payment& p : payments.items)
        if (p.customer == dealer) sum += satangOf(p.amount);
    return sum;
}

// One payment as a line of the account: in or out, when, how much; one taken back names the payment
// it takes back.
QString paymentLine(const Payment& p, YearStyle years, const std::function<QString(qint64)>& amount)
{
    const bool paidIn = p.isReversal() ? p.amount < 0 : p.amount > 0;
    return (p.isReversal() ? TakenBackLineText : QString()) + (paidIn ? DealerPaidInLineText : DealerPaidOutLineText) +
           thaiShortDateTime(p.isReversal() ? p.reverses : p.when, years) + QLatin1Char(' ') +
           amount(std::abs(satangOf(p.amount)));
}

} // namespace

qint64 StatementType::prize() const
{
    qint64 sum = 0;
    for (const StatementWin& w : wins)
        sum += w.prize;
    return sum;
}

qint64 DealerStatement::balance() const
{
    qint64 sum = 0;
    for (const StatementType& t : types)
        sum += t.prize() - t.net();
    return sum;
}

DealerStatement dealerStatement(const Store& store, const Dealer& dealer, const QList<NumberAmount>& sent)
{
    DealerStatement statement{dealer.name, {}};
    for (const QString& type : typeNames()) {
        QList<QString> order;
        QHash<QString, qint64> byNumber;
        for (const NumberAmount& a : sent) {
            if (a.type != type) continue;
            if (!byNumber.contains(a.number)) order << a.number;
            byNumber[a.number] += a.satang;
        }
        if (order.isEmpty()) continue;
        StatementType t;
        t.type = type;
        const DealerTerms* terms = dealer.termsFor(type);
        t.discount = terms ? terms->discount : QString();
        t.payout = terms && !terms->payout.isEmpty() ? terms->payout : store.LookupKeyed(store.rateFile(), type);
        QString list;
        for (const QString& number : std::as_const(order)) {
            t.sent += byNumber.value(number);
            list += number + QLatin1Char('-') + shortestDecimal(double(byNumber.value(number)) / 100) + QLatin1Char('#');
        }
        t.discountSatang = std::llround(double(t.sent) * Val(t.discount) / 100);
        // The prize check's matching, on what went to him.
        const QString winners = MatchWinning(list, store.LookupKeyed(store.resultFile(), type));
        for (const QString& item : splitText(winners, QStringLiteral("#"))) {
            const qsizetype dash = item.indexOf(QLatin1Char('-'));
            if (dash < 0) continue;
            const QString number = item.left(dash);
            const qint64 stake = byNumber.value(number);
            t.wins << StatementWin{number, stake, qint64(std::llround(double(stake) * Val(t.payout)))};
        }
        statement.types << t;
    }
    return statement;
}

EarlierBalance earlierBalance(const Store& current, const QString& dealer)
{
    EarlierBalance earlier;
    for (const PastDraw& draw : listPastDraws(current)) {
        const Store copy(draw.folder);
        const Dealers dealers = loadDealers(copy);
        const DealerLists lists = loadDealerLists(copy);
        if (!dealers.outcome.ok()) earlier.problems << draw.label + QStringLiteral(": ") + dealers.problem;
        if (!lists.outcome.ok()) earlier.problems << draw.label + QStringLiteral(": ") + lists.problem;
        const Payments payments = loadPayments(copy, DealerPaymentsFileName);
        if (!payments.outcome.ok()) earlier.problems << draw.label + QStringLiteral(": ") + payments.doubt.lines.value(0);
        earlier.satang -= paidBy(payments, dealer);
        const Dealer* d = dealers.find(dealer);
        if (!d) continue;
        earlier.satang += dealerStatement(copy, *d, sentToDealers(copy, {*d}, lists).value(0).items).balance();
    }
    return earlier;
}

QStringList statementLines(const DealerStatement& statement)
{
    QStringList lines{StatementHead + statement.dealer};
    for (const StatementType& t : statement.types) {
        lines << QLatin1Char('<') + t.type + QLatin1Char('>');
        lines << StatementSentText + baht(t.sent) + BahtText;
        if (!t.discount.isEmpty())
            lines << StatementDiscountText + t.discount + QStringLiteral("%= ") + baht(t.discountSatang) + BahtText;
        lines << StatementNetText + baht(t.net()) + BahtText;
        for (const StatementWin& w : t.wins)
            lines << StatementWinText + w.number + StatementWinSentText + baht(w.sent) + QStringLiteral(" x ") +
                         (t.payout.isEmpty() ? QStringLiteral("0") : t.payout) + StatementWinGetsText + baht(w.prize) +
                         BahtText;
        if (!t.wins.isEmpty()) lines << StatementPrizeText + baht(t.prize()) + BahtText;
    }
    const qint64 balance = statement.balance();
    if (balance > 0)
        lines << StatementHePaysText + baht(balance) + BahtText;
    else if (balance < 0)
        lines << StatementWePayText + baht(-balance) + BahtText;
    else
        lines << StatementEvenText;
    return lines;
}

QString dealerOwingText(qint64 satang)
{
    return satang >= 0 ? StatementHeOwesHead + baht(satang) + BahtText : StatementWeOweHead + baht(-satang) + BahtText;
}

DealerAccount dealerAccount(Store& store, const Dealer& dealer, const DealerLists& lists)
{
    DealerAccount account;
    account.statement = dealerStatement(store, dealer, sentToDealers(store, {dealer}, lists).value(0).items);
    account.earlier = earlierBalance(store, dealer.name);
    const Payments payments = loadPayments(store, DealerPaymentsFileName);
    if (!payments.outcome.ok()) account.problems << payments.doubt.lines;
    account.payments = payments.of(dealer.name);
    account.paid = paidBy(payments, dealer.name);
    account.drawDate = drawDate(store);
    account.years = yearStyle(store);
    return account;
}

QStringList accountLines(const DealerAccount& account)
{
    QStringList lines = statementLines(account.statement);
    const auto full = [](qint64 satang) { return baht(satang) + BahtText; };
    for (const Payment& p : account.payments)
        lines << paymentLine(p, account.years, full);
    if (account.paid != 0)
        lines << (account.paid > 0 ? DealerPaidInText : DealerPaidOutText) + baht(std::abs(account.paid)) + BahtText;
    lines << account.problems << account.earlier.problems;
    lines << StatementEarlierText + dealerOwingText(account.earlier.satang);
    lines << StatementTotalText + (account.known() ? dealerOwingText(account.due()) : DealerTotalUnknownText);
    return lines;
}

QString accountChatText(const DealerAccount& account)
{
    const DealerStatement& s = account.statement;
    const auto owing = [](qint64 satang) {
        return satang >= 0 ? StatementHeOwesHead + chatBaht(satang) : StatementWeOweHead + chatBaht(-satang);
    };
    QStringList lines{StatementHead + s.dealer};
    if (account.drawDate.isValid()) lines << DrawDateText + thaiDate(account.drawDate, account.years);
    for (const StatementType& t : s.types) {
        lines << ChatRule << t.type;
        lines << ChatSentText + chatBaht(t.sent);
        if (!t.discount.isEmpty()) {
            lines << ChatDiscountText + t.discount + QStringLiteral("% = ") + chatBaht(t.discountSatang);
            lines << ChatNetText + chatBaht(t.net());
        }
        for (const StatementWin& w : t.wins)
            lines << ChatWinText + w.number + StatementWinSentText + chatBaht(w.sent) + QStringLiteral(" x ") +
                         (t.payout.isEmpty() ? QStringLiteral("0") : t.payout) + StatementWinGetsText +
                         chatBaht(w.prize);
    }
    lines << ChatRule;
    const qint64 balance = s.balance();
    lines << (balance > 0   ? StatementHePaysText + chatBaht(balance)
              : balance < 0 ? StatementWePayText + chatBaht(-balance)
                            : StatementEvenText);
    for (const Payment& p : account.payments)
        lines << paymentLine(p, account.years, chatBaht);
    if (account.earlier.satang != 0) lines << ChatEarlierText + owing(account.earlier.satang);
    lines << ChatTotalText + (account.known() ? owing(account.due()) : DealerTotalUnknownText);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

PaymentResult planDealerPayment(Store& store, const QString& dealer, const QString& amount, const QDateTime& when,
                                bool overpayAllowed)
{
    PaymentResult r;
    auto refuse = [&](const QStringList& why) {
        r.refusal = why.value(0);
        r.lines << why;
        return r;
    };
    const QString name = dealerName(dealer);
    if (const QString why = dealerNameRefusal(name); !why.isEmpty()) return refuse({why});
    const Dealers dealers = loadDealers(store);
    if (!dealers.outcome.ok()) return refuse({dealers.problem});
    const Dealer* d = dealers.find(name);
    if (!d) return refuse({DealerUnknownText + name});
    const DealerLists lists = loadDealerLists(store);
    if (!lists.outcome.ok()) return refuse({lists.problem});
    const DealerAccount account = dealerAccount(store, *d, lists);
    // Without every payment and every earlier draw what is due is not known: nothing is recorded.
    if (!account.known()) return refuse(account.problems + account.earlier.problems);
    r = planPayment(name, double(account.due()) / 100, amount, when, true);
    if (r.overpay && !overpayAllowed) return refuse({MoreThanDueText + dealerOwingText(account.due())});
    return r;
}

} // namespace varnoth
