#pragma once
// A dealer's statement of the draw: per type what was sent to him, his discount on it, the net the
// book owes him, the winning numbers among what he was sent priced at his payout rate (the type's own
// where he has none), and who pays whom in the end. Amounts in satang.

#include "accounts/dealers.h"
#include "accounts/dealersent.h"
#include "accounts/payments.h"
#include "accounts/splitsend.h"
#include "core/model/thaidate.h"

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
// past draw priced by its own copy of the book less the payments of that draw; the lines of copies
// whose records are damaged (the balance is then not known).
struct EarlierBalance {
    qint64 satang = 0;
    QStringList problems;
};
EarlierBalance earlierBalance(const Store& current, const QString& dealer);

// The statement's lines of this draw alone, down to who pays whom (accountLines adds the payments,
// what the earlier draws left and the total).
QStringList statementLines(const DealerStatement& statement);

// The dealer's account of this draw: the statement, the payments made with him this draw (the
// dealer-payments file), what the earlier draws left, and what is due in the end.
struct DealerAccount {
    DealerStatement statement;
    EarlierBalance earlier;
    QList<Payment> payments; // this draw's, in the file's order (payments taken back among them)
    qint64 paid = 0;         // satang; > 0 the dealer paid the book
    QStringList problems;    // damaged files of this draw; with the earlier ones, the total is unknown
    QDate drawDate;          // invalid while the book does not know it
    YearStyle years = YearStyle::Buddhist;
    bool known() const { return problems.isEmpty() && earlier.problems.isEmpty(); }
    // What is due over all draws, in satang: > 0 the dealer owes the book.
    qint64 due() const { return earlier.satang + statement.balance() - paid; }
};

DealerAccount dealerAccount(Store& store, const Dealer& dealer, const DealerLists& lists);

// The statement's lines, then the payments, what was carried and the total (or the line that says
// the total cannot be known while a file is damaged).
QStringList accountLines(const DealerAccount& account);

// The same account laid out to paste into a chat: short lines without columns, whole baht without
// decimals, the draw's date under the heading. Lines end with "\n".
QString accountChatText(const DealerAccount& account);

// "เจ้ามือค้างเรา 1,500.00 บาท" or "เราค้างเจ้ามือ …" for what is due (> 0 the dealer owes).
QString dealerOwingText(qint64 satang);

// The payment recordDealerPayment would make: `amount` in the direction of what is due ("" pays all
// of it); more than is due only with `overpayAllowed` (`overpay` says so either way). Refused when the
// dealer is unknown or a file of his account is damaged; nothing is written.
PaymentResult planDealerPayment(Store& store, const QString& dealer, const QString& amount, const QDateTime& when,
                                bool overpayAllowed = false);

} // namespace varnoth
