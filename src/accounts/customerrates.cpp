#include "accounts/customerrates.h"

#include "accounts/accounttexts.h"
#include "core/model/customername.h"
#include "core/model/listtexts.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/store.h"

#include <QDir>

#include <algorithm>

namespace varnoth
{

namespace
{

bool digitsOnly(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

QString lineOf(const CustomerRate& r)
{
    return r.customer + QLatin1Char('#') + r.type + QLatin1Char('#') + r.payout + QLatin1Char('#') + r.discount;
}

} // namespace

const CustomerRate* CustomerRates::find(const QString& customer, const QString& type) const
{
    for (const CustomerRate& r : items)
        if (r.customer == customer && r.type == type) return &r;
    return nullptr;
}

QString checkPayout(const QString& text)
{
    if (text.isEmpty()) return {};
    if (!digitsOnly(text)) return RateNotDigitsText;
    return text.size() > MaxPayoutDigits ? RateTooLongText : QString();
}

QString checkPercent(const QString& text)
{
    if (text.isEmpty()) return {};
    if (!digitsOnly(text) || text.size() > 3 || text.toInt() > 100) return PercentOutOfRangeText;
    return {};
}

CustomerRates loadCustomerRates(const Store& store)
{
    CustomerRates rates;
    const QString path = store.path(CustomerRatesFileName);
    const FileText file = store.readFile(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.readable) {
        rates.outcome = {Status::ReadFailed, path};
        rates.doubt = {{damagedFileLine(shown, {})}, {}, true};
        return rates;
    }
    QString text = file.text;
    text.replace(CRLF, QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    QStringList named; // the customer field of each damaged line, where it has one
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty()) continue;
        const QStringList p = line.split(QLatin1Char('#'));
        // A stored rate longer than a rate one may set is still read, so that it can be set anew.
        const bool fits = p.size() == 4 && !p[0].isEmpty() && typeIndex(p[1]) >= 0 &&
                          (p[2].isEmpty() || digitsOnly(p[2])) && checkPercent(p[3]).isEmpty() &&
                          !(p[2].isEmpty() && p[3].isEmpty());
        if (fits) {
            rates.items << CustomerRate{p[0], p[1], p[2], p[3]};
            continue;
        }
        rates.damaged << int(i + 1);
        named << (p.size() > 1 ? p[0] : QString());
    }
    if (rates.damaged.isEmpty()) return rates;
    // A bad line could have been anyone's figures: a customer it names is in doubt, and everyone is
    // when it names nobody the book knows.
    rates.outcome = {Status::ReadFailed, path};
    rates.doubt.lines << damagedFileLine(shown, rates.damaged);
    const QStringList customers = store.customers();
    for (const QString& name : std::as_const(named)) {
        const bool known = std::any_of(rates.items.cbegin(), rates.items.cend(),
                                       [&](const CustomerRate& r) { return r.customer == name; });
        if (!name.isEmpty() && (known || customers.contains(name)))
            rates.doubt.customers << name;
        else
            rates.doubt.everyone = true;
    }
    return rates;
}

Figures figuresOf(const Store& store, const CustomerRates& rates, const QString& type, const QString& customer)
{
    const CustomerRate* own = customer.isEmpty() ? nullptr : rates.find(customer, type);
    return figuresOf(own, store.LookupKeyed(store.rateFile(), type), store.LookupKeyed(store.discountFile(), type));
}

Figures figuresOf(const CustomerRate* own, const QString& typePayout, const QString& typeDiscount)
{
    Figures f;
    f.ownPayout = own && !own->payout.isEmpty();
    f.ownDiscount = own && !own->discount.isEmpty();
    f.payout = f.ownPayout ? own->payout : typePayout;
    f.discount = f.ownDiscount ? own->discount : typeDiscount;
    return f;
}

Figures figuresOf(const Store& store, const QString& type, const QString& customer)
{
    if (customer.isEmpty()) return figuresOf(store, CustomerRates{}, type, customer);
    const CustomerRates rates = loadCustomerRates(store);
    Figures f = figuresOf(store, rates, type, customer);
    if (!rates.outcome.ok()) f.problem = damagedFileLine(Store::fileName(rates.outcome.file), rates.damaged);
    return f;
}

RateChange setCustomerRate(Store& store, const QString& customer, const QString& type, const QString& payout,
                           const QString& discount)
{
    RateChange change;
    const QString name = customerName(customer);
    change.before = {name, type, {}, {}};
    change.after = {name, type, payout.trimmed(), discount.trimmed()};
    auto refuse = [&](const QString& why) {
        change.refusal = why;
        change.lines << why;
        return change;
    };
    if (const QString why = customerNameRefusal(name); !why.isEmpty()) return refuse(why);
    if (name.isEmpty() || !store.customers().contains(name)) return refuse(NoSuchCustomerText + customer);
    if (typeIndex(type) < 0) return refuse(NoSuchTypeText + type);
    if (const QString why = checkPayout(change.after.payout); !why.isEmpty()) return refuse(why);
    if (const QString why = checkPercent(change.after.discount); !why.isEmpty()) return refuse(why);

    CustomerRates rates = loadCustomerRates(store);
    if (!rates.outcome.ok()) return refuse(rates.doubt.lines.value(0));
    const bool clear = change.after.payout.isEmpty() && change.after.discount.isEmpty();
    QStringList lines;
    bool placed = false;
    for (const CustomerRate& r : std::as_const(rates.items)) {
        if (r.customer == name && r.type == type) {
            change.before = r;
            placed = true;
            if (!clear) lines << lineOf(change.after);
            continue;
        }
        lines << lineOf(r);
    }
    if (!placed && !clear) lines << lineOf(change.after);
    if (change.before == change.after) return change;

    const QString path = store.path(CustomerRatesFileName);
    // Every line ends in CR LF; a book whose last own rate is cleared keeps an empty file.
    QString text;
    for (const QString& l : std::as_const(lines))
        text += l + CRLF;
    if (!store.writeExact(path, text)) {
        change.outcome = {Status::WriteFailed, path};
        change.lines << outcomeLine(change.outcome);
        return change;
    }
    const QString pair = headerLine(type, name);
    change.lines << (clear ? RateClearedText : RateSavedText) + pair;
    return change;
}

} // namespace varnoth
