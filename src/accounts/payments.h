#pragma once
// Money that changed hands over a customer's bill. One extra file of the book holds one payment a
// line ("somchai#1500#2026-12-09 14:30:05"): a positive amount was paid by the customer, a negative
// one was paid to him. Lines are only ever added; the file is never written shorter.

#include "store/outcome.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace varnoth
{

class Store;

inline const QString PaymentsFileName = QStringLiteral("payment.gif");

struct Payment {
    QString customer;
    double amount = 0; // > 0 the customer paid, < 0 the bookmaker paid
    QDateTime when;
};

struct Payments {
    QList<Payment> items;
    Outcome outcome; // ReadFailed when the file is unreadable or holds a line that is no payment
    double paidBy(const QString& customer) const;
    QList<Payment> of(const QString& customer) const;
};

Payments loadPayments(const Store& store);

// "" when the text is an amount of money (digits, at most two after a point, above 0), else the line
// that refuses it.
QString checkAmount(const QString& text);

struct PaymentResult {
    Outcome outcome;
    QString refusal;
    Payment payment;
    QStringList lines;
    bool recorded() const { return outcome.ok() && refusal.isEmpty(); }
};

// Adds one payment line. `amount` is what changed hands, in the direction of `due` (what the
// customer owes, negative when he is owed); "" pays all of it. A damaged file is left as it is.
PaymentResult appendPayment(Store& store, const QString& customer, double due, const QString& amount,
                            const QDateTime& when);

} // namespace varnoth
