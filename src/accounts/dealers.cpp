#include "accounts/dealers.h"

#include "accounts/accounttexts.h"
#include "accounts/customerrates.h"
#include "accounts/dealertexts.h"
#include "accounts/payments.h"
#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/store.h"

#include <QDir>

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

QString lineOf(const QString& name, const DealerTerms& t)
{
    return QStringList{name, t.type, t.payout, t.discount, t.cap}.join(QLatin1Char('#'));
}

// The whole file anew, in the order of `items`; false (with the failure in `change`) when it could
// not be written.
bool writeDealers(Store& store, const QList<Dealer>& items, DealerChange& change)
{
    QString text;
    for (const Dealer& d : items) {
        if (d.terms.isEmpty()) text += lineOf(d.name, {}) + CRLF;
        for (const DealerTerms& t : d.terms)
            text += lineOf(d.name, t) + CRLF;
    }
    const QString path = store.path(DealersFileName);
    if (store.writeExact(path, text)) return true;
    change.outcome = {Status::WriteFailed, path};
    change.lines << outcomeLine(change.outcome);
    return false;
}

} // namespace

const DealerTerms* Dealer::termsFor(const QString& type) const
{
    for (const DealerTerms& t : terms)
        if (t.type == type) return &t;
    return nullptr;
}

const Dealer* Dealers::find(const QString& name) const
{
    for (const Dealer& d : items)
        if (d.name == name) return &d;
    return nullptr;
}

QString checkCap(const QString& text)
{
    if (text.isEmpty()) return {};
    if (!digitsOnly(text)) return DealerCapNotDigitsText;
    return text.size() > MaxCapDigits ? DealerCapTooLongText : QString();
}

QString dealerName(const QString& text)
{
    return customerName(text);
}

QString dealerNameRefusal(const QString& name)
{
    if (name.isEmpty()) return DealerNoNameText;
    return customerNameRefusal(name);
}

Dealers loadDealers(const Store& store)
{
    Dealers dealers;
    const QString path = store.path(DealersFileName);
    const FileText file = store.readFile(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.readable) {
        dealers.outcome = {Status::ReadFailed, path};
        dealers.problem = damagedFileLine(shown, {});
        return dealers;
    }
    QString text = file.text;
    text.replace(CRLF, QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty()) continue;
        const QStringList p = line.split(QLatin1Char('#'));
        const bool named = p.size() == 5 && !p[0].isEmpty() && dealerNameRefusal(p[0]).isEmpty();
        const bool bare = named && p[1].isEmpty() && p[2].isEmpty() && p[3].isEmpty() && p[4].isEmpty();
        // A stored figure longer than one may set is still read, so that it can be set anew.
        const bool terms = named && typeIndex(p[1]) >= 0 && (p[2].isEmpty() || digitsOnly(p[2])) &&
                           checkPercent(p[3]).isEmpty() && (p[4].isEmpty() || digitsOnly(p[4]));
        if (!bare && !terms) {
            dealers.damaged << int(i + 1);
            continue;
        }
        Dealer* dealer = nullptr;
        for (Dealer& d : dealers.items)
            if (d.name == p[0]) dealer = &d;
        if (!dealer) {
            dealers.items << Dealer{p[0], {}};
            dealer = &dealers.items.last();
        }
        if (bare) continue;
        const DealerTerms t{p[1], p[2], p[3], p[4]};
        bool placed = false;
        for (DealerTerms& have : dealer->terms)
            if (have.type == t.type) {
                have = t; // the later line of a type counts, as it would have been written last
                placed = true;
            }
        if (!placed) dealer->terms << t;
    }
    if (!dealers.damaged.isEmpty()) {
        dealers.outcome = {Status::ReadFailed, path};
        dealers.problem = damagedFileLine(shown, dealers.damaged);
    }
    return dealers;
}

DealerChange addDealer(Store& store, const QString& name, const QList<DealerTerms>& terms)
{
    DealerChange change;
    const QString clean = dealerName(name);
    auto refuse = [&](const QString& why) {
        change.refusal = why;
        change.lines << why;
        return change;
    };
    if (const QString why = dealerNameRefusal(clean); !why.isEmpty()) return refuse(why);
    QList<DealerTerms> given;
    for (DealerTerms t : terms) {
        t.payout = t.payout.trimmed();
        t.discount = t.discount.trimmed();
        t.cap = t.cap.trimmed();
        if (typeIndex(t.type) < 0) return refuse(NoSuchTypeText + t.type);
        if (const QString why = checkPayout(t.payout); !why.isEmpty()) return refuse(why);
        if (const QString why = checkPercent(t.discount); !why.isEmpty()) return refuse(why);
        if (const QString why = checkCap(t.cap); !why.isEmpty()) return refuse(why);
        given << t;
    }

    Dealers dealers = loadDealers(store);
    if (!dealers.outcome.ok()) return refuse(dealers.problem);
    Dealer* dealer = nullptr;
    for (Dealer& d : dealers.items)
        if (d.name == clean) dealer = &d;
    if (dealer) {
        change.before = *dealer;
    } else {
        dealers.items << Dealer{clean, {}};
        dealer = &dealers.items.last();
    }
    for (const DealerTerms& t : std::as_const(given)) {
        bool placed = false;
        for (DealerTerms& have : dealer->terms)
            if (have.type == t.type) {
                have = t;
                placed = true;
            }
        if (!placed) dealer->terms << t;
    }
    change.after = *dealer;
    if (change.before == change.after) return change;
    if (!writeDealers(store, dealers.items, change)) return change;
    change.lines << DealerSavedText + clean;
    return change;
}

DealerChange moveDealer(Store& store, const QString& name, int by)
{
    DealerChange change;
    auto refuse = [&](const QString& why) {
        change.refusal = why;
        change.lines << why;
        return change;
    };
    Dealers dealers = loadDealers(store);
    if (!dealers.outcome.ok()) return refuse(dealers.problem);
    const QString clean = dealerName(name);
    qsizetype at = -1;
    for (qsizetype i = 0; i < dealers.items.size(); ++i)
        if (dealers.items[i].name == clean) at = i;
    if (at < 0) return refuse(DealerUnknownText + clean);
    const qsizetype to = at + by;
    if (by == 0 || to < 0 || to >= dealers.items.size()) return refuse(DealerNotMovedText + clean);
    dealers.items.move(at, to);
    change.before = change.after = dealers.items[to];
    change.from = int(at);
    change.to = int(to);
    if (!writeDealers(store, dealers.items, change)) return change;
    change.lines << DealerMovedText + clean;
    return change;
}

QStringList dealerLines(const Dealers& dealers)
{
    QStringList lines;
    if (!dealers.problem.isEmpty()) lines << dealers.problem;
    if (dealers.items.isEmpty()) lines << DealerNoneText;
    for (const Dealer& d : dealers.items) {
        if (d.terms.isEmpty()) lines << d.name + QLatin1Char(' ') + DealerNoTermsText;
        for (const DealerTerms& t : d.terms) {
            QString line = d.name + QLatin1Char(' ') + t.type;
            if (!t.payout.isEmpty()) line += QLatin1Char(' ') + DealerPayoutHead + t.payout;
            if (!t.discount.isEmpty()) line += QLatin1Char(' ') + DealerDiscountHead + t.discount + QLatin1Char('%');
            if (!t.cap.isEmpty()) line += QLatin1Char(' ') + DealerCapHead + t.cap;
            lines << line;
        }
    }
    return lines;
}

} // namespace varnoth
