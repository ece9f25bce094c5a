#include "accounts/dealerstatement.h"

#include "accounts/accounttexts.h"
#include "accounts/dealersent.h"
#include "accounts/dealertexts.h"
#include "accounts/drawhistory.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/prize.h"
#include "storage/folder/store.h"

#include <QHash>

#include <cmath>

namespace varnoth
{

namespace
{

QString baht(qint64 satang)
{
    return formatAmount(double(satang) / 100);
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
        const Dealer* d = dealers.find(dealer);
        if (!d) continue;
        earlier.satang += dealerStatement(copy, *d, sentToDealers(copy, {*d}, lists).value(0).items).balance();
    }
    return earlier;
}

QStringList statementLines(const DealerStatement& statement, const EarlierBalance* earlier)
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
    if (!earlier) return lines;
    lines << earlier->problems;
    const auto owing = [](qint64 satang) {
        return satang >= 0 ? StatementHeOwesHead + baht(satang) + BahtText
                           : StatementWeOweHead + baht(-satang) + BahtText;
    };
    lines << StatementEarlierText + owing(earlier->satang);
    lines << StatementTotalText + owing(earlier->satang + balance);
    return lines;
}

} // namespace varnoth
