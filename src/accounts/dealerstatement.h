#pragma once
// A dealer's statement of the draw: per type what was sent to him, his discount on it, the net the
// book owes him, the winning numbers among what he was sent priced at his payout rate (the type's own
// where he has none), and who pays whom in the end. Amounts in satang.

#include "accounts/dealers.h"
#include "accounts/splitsend.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

struct StatementWin {
    QString number;
    qint64 sent = 0;
    qint64 prize = 0;
};

struct StatementType {
    QString type;
    qint64 sent = 0;
    QString discount; // percent, "" for none
    qint64 discountSatang = 0;
    QString payout; // the rate the wins are priced at, "" when neither he nor the type has one
    QList<StatementWin> wins;
    qint64 net() const { return sent - discountSatang; }
    qint64 prize() const;
};

struct DealerStatement {
    QString dealer;
    QList<StatementType> types; // in the order of the types
    // What the dealer owes the book this draw: his prizes less the net of what was sent to him.
    // Negative when the book owes him.
    qint64 balance() const;
};

// `sent` is everything that went to the dealer this draw; the winning numbers and the types' own
// rates come from the book.
DealerStatement dealerStatement(const Store& store, const Dealer& dealer, const QList<NumberAmount>& sent);

// What the draws before this one left between the book and the dealer (> 0 he owes the book), each
// past draw priced by its own copy of the book; the lines of copies whose records are damaged.
struct EarlierBalance {
    qint64 satang = 0;
    QStringList problems;
};
EarlierBalance earlierBalance(const Store& current, const QString& dealer);

// The statement's lines; with `earlier`, the balance carried from the draws before and the total.
QStringList statementLines(const DealerStatement& statement, const EarlierBalance* earlier = nullptr);

} // namespace varnoth
