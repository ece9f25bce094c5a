#include "accounts/payments.h"

#include "accounts/accounttexts.h"
#include "model/text.h"
#include "store/store.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <cmath>

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

} // namespace

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

Payments loadPayments(const Store& store)
{
    Payments payments;
    const QString path = store.path(PaymentsFileName);
    const FileText file = store.readFile(path);
    if (!file.readable) {
        payments.outcome = {Status::ReadFailed, path};
        return payments;
    }
    for (const QString& line : file.text.split(CRLF)) {
        if (line.isEmpty()) continue;
        const QStringList p = line.split(QLatin1Char('#'));
        const QDateTime when = p.size() == 3 ? QLocale::c().toDateTime(p[2], StampFormat) : QDateTime();
        if (p.size() != 3 || p[0].isEmpty() || !isMoney(p[1], true) || !when.isValid()) {
            payments.items.clear();
            payments.outcome = {Status::ReadFailed, path};
            return payments;
        }
        payments.items << Payment{p[0], p[1].toDouble(), when};
    }
    return payments;
}

QString checkAmount(const QString& text)
{
    if (!isMoney(text, false) || text.toDouble() <= 0) return AmountNotDigitsText;
    return {};
}

PaymentResult appendPayment(Store& store, const QString& customer, double due, const QString& amount,
                            const QDateTime& when)
{
    PaymentResult r;
    auto refuse = [&](const QString& why) {
        r.refusal = why;
        r.lines << why;
        return r;
    };
    const QString name = CleanName(customer);
    const QString typed = amount.trimmed();
    if (!typed.isEmpty()) {
        if (const QString why = checkAmount(typed); !why.isEmpty()) return refuse(why);
    }
    due = cents(due);
    if (due == 0) return refuse(NothingOwedText + name);
    const double paid = typed.isEmpty() ? std::abs(due) : typed.toDouble();
    r.payment = {name, due > 0 ? paid : -paid, when};

    const QString path = store.path(PaymentsFileName);
    const FileBytes old = store.readBytes(path);
    if (!old.readable || !loadPayments(store).outcome.ok()) return refuse(DamagedFileText + Store::fileName(path));
    // The old bytes stay exactly as they are and the new line goes after them; the file is replaced
    // whole, so that a failed write leaves the old one.
    QByteArray bytes = old.bytes;
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n")) bytes += "\r\n";
    bytes += encodeWindows874(name + QLatin1Char('#') + shortestDecimal(r.payment.amount) + QLatin1Char('#') +
                              QLocale::c().toString(when, StampFormat) + CRLF);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || f.write(bytes) != bytes.size() || !f.commit()) {
        r.outcome = {Status::WriteFailed, path};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    r.lines << (r.payment.amount > 0 ? PaymentInText : PaymentOutText) + name + QLatin1Char(' ') + formatAmount(paid) +
                   BahtText;
    return r;
}

} // namespace varnoth
