#include "accounts/payments.h"

#include "accounts/accounttexts.h"
#include "accounts/bill.h"
#include "core/model/customername.h"
#include "core/model/text.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/store.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

namespace varnoth
{

namespace
{

const QString StampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

bool isMoney(const QString& text, bool signedAmount)
{
    static const QRegularExpression money(QStringLiteral("^[0-9]{1,12}(\\.[0-9]{1,2})?$"));
    static const QRegularExpression signedMoney(QStringLiteral("^-?[0-9]{1,12}(\\.[0-9]{1,2})?$"));
    return (signedAmount ? signedMoney : money).match(text).hasMatch();
}

// Two places: the figures a bill shows are what changes hands.
double cents(double value)
{
    return std::round(value * 100) / 100;
}

qint64 satang(double value)
{
    return std::llround(value * 100);
}

QDateTime stampOf(const QString& text)
{
    return QLocale::c().toDateTime(text, StampFormat);
}

// One line of the file as a payment, or nothing when it is none.
std::optional<Payment> parsePayment(const QString& line)
{
    const QStringList p = line.split(QLatin1Char('#'));
    if ((p.size() != 3 && p.size() != 4) || p[0].isEmpty() || !isMoney(p[1], true)) return std::nullopt;
    Payment payment{p[0], p[1].toDouble(), stampOf(p[2]), {}};
    if (!payment.when.isValid()) return std::nullopt;
    if (p.size() == 4) {
        payment.reverses = stampOf(p[3]);
        if (!payment.reverses.isValid()) return std::nullopt;
    }
    return payment;
}

PaymentResult writeLine(Store& store, const Payment& payment, PaymentResult r, const QString& fileName)
{
    const QString path = store.path(fileName);
    const FileBytes old = store.readBytes(path);
    const Payments before = loadPayments(store, fileName);
    if (!old.readable || !before.outcome.ok()) {
        r.refusal = before.doubt.lines.value(0, damagedFileLine(QDir::toNativeSeparators(path), {}));
        r.lines << r.refusal;
        return r;
    }
    // The old bytes stay exactly as they are and the new line goes after them; the file is replaced
    // whole, so that a failed write leaves the old one.
    QByteArray bytes = old.bytes;
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n")) bytes += "\r\n";
    QString line = payment.customer + QLatin1Char('#') + shortestDecimal(payment.amount) + QLatin1Char('#') +
                   QLocale::c().toString(payment.when, StampFormat);
    if (payment.isReversal()) line += QLatin1Char('#') + QLocale::c().toString(payment.reverses, StampFormat);
    bytes += encodeWindows874(line + CRLF);
    FolderTransaction tx(store);
    tx.replaceBytes(path, bytes);
    if (const CommitResult written = tx.commit(); !written.ok()) {
        r.outcome = written.outcome;
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    r.payment = payment;
    return r;
}

} // namespace

QString damagedFileLine(const QString& shown, const QList<int>& lines)
{
    QString text = DamagedFileText + shown;
    if (lines.isEmpty()) return text;
    QStringList numbers;
    for (int n : lines)
        numbers << QString::number(n);
    return text + DamagedLinesText + numbers.join(QStringLiteral(", "));
}

double Payments::paidBy(const QString& customer) const
{
    double sum = 0;
    for (const Payment& p : items)
        if (p.customer == customer) sum += p.amount;
    return sum;
}

QList<Payment> Payments::of(const QString& customer) const
{
    QList<Payment> out;
    for (const Payment& p : items)
        if (p.customer == customer) out << p;
    return out;
}

Payments loadPayments(const Store& store, const QString& fileName)
{
    Payments payments;
    const QString path = store.path(fileName);
    const FileText file = store.readFile(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.readable) {
        payments.outcome = {Status::ReadFailed, path};
        payments.doubt = {{damagedFileLine(shown, {})}, {}, true};
        return payments;
    }
    QString text = file.text;
    text.replace(CRLF, QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    QStringList named;         // the customer field of each damaged line, where it has one
    QList<qsizetype> standing; // the payments not taken back, by their place in `items`
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty()) continue;
        std::optional<Payment> p = parsePayment(line);
        if (p && p->isReversal()) {
            // It must take back a payment of the same customer and amount, not taken back before.
            const auto taken = std::find_if(standing.begin(), standing.end(), [&](qsizetype at) {
                const Payment& o = payments.items[at];
                return o.customer == p->customer && o.when == p->reverses && satang(o.amount) == -satang(p->amount);
            });
            if (taken == standing.end())
                p.reset();
            else
                standing.erase(taken);
        }
        if (!p) {
            payments.damaged << int(i + 1);
            named << (line.contains(QLatin1Char('#')) ? line.section(QLatin1Char('#'), 0, 0) : QString());
            continue;
        }
        if (!p->isReversal()) standing << payments.items.size();
        payments.items << *p;
    }
    if (payments.damaged.isEmpty()) return payments;
    payments.outcome = {Status::ReadFailed, path};
    payments.doubt.lines << damagedFileLine(shown, payments.damaged);
    const QStringList customers = store.customers();
    for (const QString& name : std::as_const(named)) {
        const bool known = !name.isEmpty() && (customers.contains(name) || !payments.of(name).isEmpty());
        if (known)
            payments.doubt.customers << name;
        else
            payments.doubt.everyone = true;
    }
    return payments;
}

QString checkAmount(const QString& text)
{
    if (!isMoney(text, false) || text.toDouble() <= 0) return AmountNotDigitsText;
    return {};
}

PaymentResult planPayment(const QString& customer, double due, const QString& amount, const QDateTime& when,
                          bool overpayAllowed)
{
    PaymentResult r;
    auto refuse = [&](const QString& why) {
        r.refusal = why;
        r.lines << why;
        return r;
    };
    const QString name = customerName(customer);
    if (const QString why = customerNameRefusal(name); !why.isEmpty()) return refuse(why);
    const QString typed = amount.trimmed();
    if (!typed.isEmpty()) {
        if (const QString why = checkAmount(typed); !why.isEmpty()) return refuse(why);
    }
    r.due = cents(due);
    if (r.due == 0) return refuse(NothingOwedText + name);
    const double paid = typed.isEmpty() ? std::abs(r.due) : typed.toDouble();
    r.payment = {name, r.due > 0 ? paid : -paid, when, {}};
    r.overpay = satang(paid) > satang(std::abs(r.due));
    if (r.overpay && !overpayAllowed) return refuse(MoreThanDueText + balanceText(r.due));
    return r;
}

PaymentResult appendPayment(Store& store, const QString& customer, double due, const QString& amount,
                            const QDateTime& when, bool overpayAllowed, const QString& fileName)
{
    PaymentResult r = planPayment(customer, due, amount, when, overpayAllowed);
    if (!r.refusal.isEmpty()) return r;
    r = writeLine(store, r.payment, r, fileName);
    if (r.recorded()) r.lines << paymentText(r.payment);
    return r;
}

PaymentResult appendPaymentLine(Store& store, const Payment& payment, const QString& fileName)
{
    PaymentResult r;
    r.payment = payment;
    r = writeLine(store, payment, r, fileName);
    if (r.recorded()) r.lines << paymentText(r.payment);
    return r;
}

PaymentResult appendReversal(Store& store, const Payment& payment, const QDateTime& when, const QString& fileName)
{
    PaymentResult r;
    const Payment reversal{payment.customer, -payment.amount, when, payment.when};
    r = writeLine(store, reversal, r, fileName);
    if (r.recorded()) r.lines << PaymentTakenBackText + paymentText(payment);
    return r;
}

QString paymentText(const Payment& payment)
{
    return (payment.amount > 0 ? PaymentInText : PaymentOutText) + payment.customer + QLatin1Char(' ') +
           formatAmount(std::abs(payment.amount)) + BahtText;
}

} // namespace varnoth
