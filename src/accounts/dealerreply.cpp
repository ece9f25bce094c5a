#include "accounts/dealerreply.h"

#include "accounts/dealertexts.h"
#include "core/model/text.h"

#include <QHash>

namespace varnoth
{

namespace
{

using Key = std::pair<QString, QString>;

// Per type and number, in the order first met.
void addUp(QList<Key>& order, QHash<QString, qint64>& sums, const QString& type, const QString& number, qint64 satang)
{
    const QString k = type + QLatin1Char('#') + number;
    if (!sums.contains(k)) order << Key{type, number};
    sums[k] += satang;
}

QString baht(qint64 satang)
{
    return shortestDecimal(double(satang) / 100);
}

} // namespace

ReplyCheck checkDealerReply(const QList<NumberAmount>& sent, const ChatParse& reply)
{
    ReplyCheck check;
    QList<Key> sentOrder, replyOrder;
    QHash<QString, qint64> sentSums, replySums;
    for (const NumberAmount& a : sent)
        addUp(sentOrder, sentSums, a.type, a.number, a.satang);
    for (const ChatBet& bet : reply.bets())
        addUp(replyOrder, replySums, bet.type, bet.number, qint64(bet.amount.toLongLong()) * 100);
    for (const auto& [type, number] : sentOrder) {
        const QString k = type + QLatin1Char('#') + number;
        const qint64 was = sentSums.value(k);
        if (!replySums.contains(k))
            check.differences << ReplyDifference{ReplyDifference::Kind::Missing, type, number, was, 0};
        else if (replySums.value(k) != was)
            check.differences << ReplyDifference{ReplyDifference::Kind::Changed, type, number, was, replySums.value(k)};
        else
            ++check.matched;
    }
    for (const auto& [type, number] : replyOrder) {
        const QString k = type + QLatin1Char('#') + number;
        if (!sentSums.contains(k))
            check.differences << ReplyDifference{ReplyDifference::Kind::Extra, type, number, 0, replySums.value(k)};
    }
    check.notUnderstood = reply.notUnderstood();
    return check;
}

QStringList replyCheckLines(const ReplyCheck& check)
{
    QStringList lines;
    for (const ReplyDifference& d : check.differences) {
        const QString what = d.type + QLatin1Char(' ') + d.number + QLatin1Char(' ');
        switch (d.kind) {
        case ReplyDifference::Kind::Missing:
            lines << ReplyMissingText + what + ReplySentHead + baht(d.sent);
            break;
        case ReplyDifference::Kind::Extra:
            lines << ReplyExtraText + what + ReplyRepliedHead + baht(d.replied);
            break;
        case ReplyDifference::Kind::Changed:
            lines << ReplyChangedText + what + ReplySentHead + baht(d.sent) + QLatin1Char(' ') + ReplyRepliedHead +
                         baht(d.replied);
            break;
        }
    }
    for (const QString& line : check.notUnderstood)
        lines << ReplyNotReadText + line;
    lines << (check.agrees() ? ReplyAgreesText : ReplyDiffersText) + QString::number(check.matched);
    return lines;
}

} // namespace varnoth
