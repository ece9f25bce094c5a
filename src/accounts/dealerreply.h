#pragma once
// Checking what a dealer wrote back against what was sent to him: number by number, what he left
// out, what he has that was never sent, and what he has at another amount.

#include "accounts/splitsend.h"
#include "entry/chat.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

struct ReplyDifference {
    enum class Kind { Missing, Extra, Changed };
    Kind kind = Kind::Missing;
    QString type;
    QString number;
    qint64 sent = 0;    // satang
    qint64 replied = 0; // satang
    bool operator==(const ReplyDifference&) const = default;
};

struct ReplyCheck {
    QList<ReplyDifference> differences; // the sent numbers' order first, then the extra ones as written
    QStringList notUnderstood;          // lines of the reply that could not be read
    int matched = 0;                    // numbers he has exactly as sent
    bool agrees() const { return differences.isEmpty() && notUnderstood.isEmpty(); }
};

// Repeated numbers add up on either side.
ReplyCheck checkDealerReply(const QList<NumberAmount>& sent, const ChatParse& reply);

// The lines of the check for the operator: one per difference, then the lines not read, then the sum up.
QStringList replyCheckLines(const ReplyCheck& check);

} // namespace varnoth
