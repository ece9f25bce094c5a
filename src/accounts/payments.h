#pragma once
// Money that changed hands over a customer's bill. One extra file of the book holds one payment a
// line ("somchai#1500#2026-12-09 14:30:05"): a positive amount was paid by the customer, a negative
// one was paid to him. Lines are only ever added; the file is never written shorter. A payment taken
// back gets a line of its own with the opposite amount and, in a fourth field, the time of the payment
// it takes back ("somchai#-1500#2026-12-09 14:31:10#2026-12-09 14:30:05"); a book without such lines
// reads as it always has.

#include "core/model/outcome.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString PaymentsFileName = QStringLiteral("payment.gif");
// The money that changed hands with the upstream dealers, in lines of the same form: a positive
// amount was paid by the dealer to the book, a negative one by the book to him. Like the customers'
// payments it belongs to the draw and goes with the draw's copy at the new draw.
inline const QString DealerPaymentsFileName = QStringLiteral("dealerpay.gif");

// What the damaged lines of an accounts file leave unknown. A damaged line that names a customer of
// the book puts his figures in doubt; one that names nobody the book knows puts everyone's in doubt.
struct AccountsDoubt {
    QStringList lines; // the damage, as the operator reads it: the file and its line numbers
    QSet<QString> customers;
    bool everyone = false;
    bool isEmpty() const { return lines.isEmpty(); }
    bool covers(const QString& customer) const { return everyone || customers.contains(customer); }
    void add(const AccountsDoubt& other)
    {
        lines << other.lines;
        customers.unite(other.customers);
        everyone = everyone || other.everyone;
    }
};

// The line that names a damaged accounts file (as `shown`) and its damaged lines (from 1); without
// line numbers the file as a whole could not be read.
QString damagedFileLine(const QString& shown, const QList<int>& lines);

struct Payment {
    QString customer;
    double amount = 0; // > 0 the customer paid, < 0 the bookmaker paid
    QDateTime when;
    QDateTime reverses; // the time of the payment this line takes back; invalid for a payment
    bool isReversal() const { return reverses.isValid(); }
};

struct Payments {
    QList<Payment> items; // the lines that read as payments, in file order
    // ReadFailed when the file is unreadable or holds a line that is no payment: such a file is
    // only ever added to, never written over.
    Outcome outcome;
    QList<int> damaged; // the line numbers of the lines that are no payment
    AccountsDoubt doubt;
    double paidBy(const QString& customer) const;
    QList<Payment> of(const QString& customer) const;
};

// The payments of `fileName`: the customers' (payment.gif) or the dealers' (dealerpay.gif).
Payments loadPayments(const Store& store, const QString& fileName = PaymentsFileName);

// "" when the text is an amount of money (digits, at most two after a point, above 0), else the line
// that refuses it.
QString checkAmount(const QString& text);

struct PaymentResult {
    Outcome outcome;
    QString refusal;
    Payment payment;
    QStringList lines;
    double due = 0;       // what was due before it, in the customer's direction (> 0 he owes)
    bool overpay = false; // more changes hands than is due
    bool recorded() const { return outcome.ok() && refusal.isEmpty(); }
};

// The payment that `amount` would record, checked, without writing anything. `amount` is what
// changes hands, in the direction of `due` (what the customer owes, negative when he is owed); ""
// pays all of it. More than is due is refused unless `overpayAllowed`; either way `overpay` says so.
PaymentResult planPayment(const QString& customer, double due, const QString& amount, const QDateTime& when,
                          bool overpayAllowed = false);

// Adds the planned payment's line. A damaged file is left as it is.
PaymentResult appendPayment(Store& store, const QString& customer, double due, const QString& amount,
                            const QDateTime& when, bool overpayAllowed = false,
                            const QString& fileName = PaymentsFileName);

// Adds the line of a payment as it stands (a payment taken back and made again).
PaymentResult appendPaymentLine(Store& store, const Payment& payment, const QString& fileName = PaymentsFileName);

// Takes a recorded payment back: adds the line with the opposite amount that names it.
PaymentResult appendReversal(Store& store, const Payment& payment, const QDateTime& when,
                             const QString& fileName = PaymentsFileName);

// "รับชำระจาก somchai 1,500.00 บาท" or "จ่ายให้ somchai …": what a payment is, for the operator.
QString paymentText(const Payment& payment);

} // namespace varnoth
