#include "accounts/drawhistory.h"

#include "accounts/accounttexts.h"
#include "model/text.h"
#include "reports/reportresult.h"
#include "store/store.h"
#include "tools/newdraw.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace varnoth
{

namespace
{

QString baht(double value)
{
    return formatAmount(value) + BahtText;
}

QString problemLine(const Outcome& outcome)
{
    return DamagedFileText + QDir::toNativeSeparators(outcome.file);
}

struct Book {
    CustomerRates rates;
    Payments payments;
    QStringList problems;
};

Book readBook(const Store& store)
{
    Book b{loadCustomerRates(store), loadPayments(store), {}};
    if (!b.rates.outcome.ok()) b.problems << problemLine(b.rates.outcome);
    if (!b.payments.outcome.ok()) b.problems << problemLine(b.payments.outcome);
    return b;
}

// The customers of a book together with those who only paid in it.
QStringList customersOf(const Store& store, const Payments& payments)
{
    QStringList names = store.customers();
    for (const Payment& p : payments.items)
        if (!names.contains(p.customer)) names << p.customer;
    return names;
}

bool isZero(double value)
{
    return std::abs(value) < 0.005;
}

// Why a customer's balance of a past draw is not known, as a line of his statement.
QString unknownInDraw(const PastDraw& draw, const QString& why)
{
    return PastDrawMark + draw.label + QStringLiteral(": ") + why;
}

} // namespace

QList<PastDraw> listPastDraws(const Store& current)
{
    static const QRegularExpression name(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{4})(?:_(\\d+))?$"));
    const QString folder = drawsFolderPath(current);
    QList<std::pair<std::pair<QDateTime, int>, PastDraw>> found;
    if (folder.isEmpty()) return {};
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QRegularExpressionMatch m = name.match(entry);
        if (!m.hasMatch()) continue;
        const QDateTime when = QLocale::c().toDateTime(m.captured(1), QStringLiteral("yyyy-MM-dd_HHmm"));
        if (!when.isValid()) continue;
        const int n = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        QString label = QLocale::c().toString(when, QStringLiteral("dd/MM/yyyy HH:mm"));
        if (n > 1) label += QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
        found.append({{when, n}, PastDraw{dir.filePath(entry), label, when}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<PastDraw> draws;
    for (const auto& f : std::as_const(found))
        draws << f.second;
    return draws;
}

DrawSummary summariseDraw(const PastDraw& draw)
{
    DrawSummary s;
    s.draw = draw;
    Store store(draw.folder);
    const Book book = readBook(store);
    s.problems = book.problems;
    const QString result = withoutLineEnds(store.ReadWholeFile(store.resultFile()));
    s.result = splitText(result, QStringLiteral("#")).value(0);
    for (const QString& c : customersOf(store, book.payments)) {
        const Bill bill = computeBill(store, book.rates, c);
        if (!bill.types.isEmpty()) ++s.customers;
        s.stake = toSatang(s.stake + bill.stake);
        if (!bill.priced()) s.unknown.insert(c, unpricedText(bill));
        s.profit = toSatang(s.profit + bill.balance());
        s.left.append({c, toSatang(bill.balance() - book.payments.paidBy(c))});
    }
    return s;
}

QList<PastDraw> drawsBefore(const Store& current, const Store& store)
{
    QList<PastDraw> draws = listPastDraws(current);
    const QString self = QDir::cleanPath(store.dataFolder());
    for (qsizetype i = 0; i < draws.size(); ++i)
        if (QDir::cleanPath(draws[i].folder) == self) return draws.first(i);
    return draws;
}

Statement statementOf(Store& store, const QString& customer, const QList<PastDraw>& earlier)
{
    Statement s;
    const Book book = readBook(store);
    s.problems = book.problems;
    s.bill = computeBill(store, book.rates, customer);
    s.paid = book.payments.paidBy(customer);
    s.payments = book.payments.of(customer);
    for (const PastDraw& d : earlier) {
        Store past(d.folder);
        const Book old = readBook(past);
        if (!old.problems.isEmpty()) {
            s.problems << old.problems;
            continue;
        }
        const Bill bill = computeBill(past, old.rates, customer);
        if (!bill.priced()) s.problems << unknownInDraw(d, unpricedText(bill));
        s.carried = toSatang(s.carried + bill.balance() - old.payments.paidBy(customer));
    }
    return s;
}

QList<Statement> allStatements(Store& store, const QList<PastDraw>& earlier)
{
    QHash<QString, double> carried;
    QHash<QString, QStringList> unknown;
    QStringList problems;
    QStringList carriedNames;
    for (const PastDraw& d : earlier) {
        const DrawSummary s = summariseDraw(d);
        problems << s.problems;
        for (const auto& [name, left] : s.left) {
            if (!carried.contains(name)) carriedNames << name;
            carried[name] = toSatang(carried.value(name) + left);
        }
        for (auto u = s.unknown.cbegin(); u != s.unknown.cend(); ++u)
            unknown[u.key()] << unknownInDraw(d, u.value());
    }
    const Book book = readBook(store);
    problems << book.problems;
    QStringList names = customersOf(store, book.payments);
    for (const QString& c : std::as_const(carriedNames))
        if (!names.contains(c) && (!isZero(carried.value(c)) || unknown.contains(c))) names << c;
    QList<Statement> statements;
    for (const QString& c : std::as_const(names)) {
        Statement s;
        s.problems = problems + unknown.value(c);
        s.bill = computeBill(store, book.rates, c);
        s.paid = book.payments.paidBy(c);
        s.payments = book.payments.of(c);
        s.carried = carried.value(c);
        statements << s;
    }
    return statements;
}

QList<Statement> statementsFor(const Store& current, Store& store, const QString& customer)
{
    const QList<PastDraw> earlier = drawsBefore(current, store);
    if (customer == AllChoice) return allStatements(store, earlier);
    return {statementOf(store, CleanName(customer), earlier)};
}

bool OwedReport::complete() const
{
    return problems.isEmpty() &&
           std::none_of(rows.begin(), rows.end(), [](const Owed& o) { return !o.unknown.isEmpty(); });
}

OwedReport owedReport(Store& current)
{
    OwedReport report;
    struct Running {
        double amount = 0;
        int since = 0;
        QString unknown;
    };
    QHash<QString, Running> running;
    QStringList order; // customers in the order first seen, for a steady list
    QStringList labels;
    auto add = [&](const QList<std::pair<QString, double>>& left, const QHash<QString, QString>& unknown, int draw,
                   const QString& where) {
        for (const auto& [name, value] : left) {
            if (!running.contains(name)) order << name;
            Running& r = running[name];
            const bool wasSettled = isZero(r.amount);
            r.amount = toSatang(r.amount + value);
            if (isZero(r.amount)) r.amount = 0;
            if (wasSettled && !isZero(r.amount)) r.since = draw;
            if (r.unknown.isEmpty() && unknown.contains(name)) r.unknown = where + unknown.value(name);
        }
    };
    const QList<PastDraw> past = listPastDraws(current);
    for (qsizetype i = 0; i < past.size(); ++i) {
        const DrawSummary s = summariseDraw(past[i]);
        report.problems << s.problems;
        labels << past[i].label;
        add(s.left, s.unknown, int(i), PastDrawMark + past[i].label + QStringLiteral(": "));
    }
    const Book book = readBook(current);
    report.problems << book.problems;
    QList<std::pair<QString, double>> left;
    QHash<QString, QString> unknown;
    for (const QString& c : customersOf(current, book.payments)) {
        const Bill bill = computeBill(current, book.rates, c);
        if (!bill.priced()) unknown.insert(c, unpricedText(bill));
        left.append({c, toSatang(bill.balance() - book.payments.paidBy(c))});
    }
    labels << ThisDrawText.trimmed();
    add(left, unknown, int(past.size()), QString());
    for (const QString& c : std::as_const(order)) {
        const Running& r = running.value(c);
        if (isZero(r.amount) && r.unknown.isEmpty()) continue;
        report.rows << Owed{c, r.amount, labels.value(r.since), r.since, r.unknown};
    }
    std::stable_sort(report.rows.begin(), report.rows.end(),
                     [](const Owed& a, const Owed& b) { return a.order < b.order; });
    return report;
}

QStringList owedLines(const OwedReport& report)
{
    QStringList lines;
    lines << OwedTitle;
    lines << report.problems;
    double byCustomers = 0;
    double toCustomers = 0;
    QStringList unknown;
    for (const Owed& o : report.rows) {
        if (!o.unknown.isEmpty()) {
            lines << typeLine(o.customer) + OwedUnknownText + o.unknown;
            unknown << o.customer;
            continue;
        }
        lines << typeLine(o.customer) + QLatin1Char(' ') + balanceText(o.amount) + OwedSinceText + o.since;
        (o.amount > 0 ? byCustomers : toCustomers) += std::abs(o.amount);
    }
    if (report.rows.isEmpty()) lines << SettledText;
    if (!unknown.isEmpty()) {
        // The totals would leave out what those customers owe or are owed.
        lines << UnknownTotalText + unknown.join(QStringLiteral(", "));
    } else {
        lines << OwedByCustomersText + baht(toSatang(byCustomers));
        lines << OwedToCustomersText + baht(toSatang(toCustomers));
    }
    lines << Separator;
    return lines;
}

QStringList drawRow(const DrawSummary& s)
{
    QString profit = !s.unknown.isEmpty() ? ProfitUnknownText
                     : isZero(s.profit)   ? formatAmount(0)
                     : s.profit > 0       ? ProfitText + formatAmount(s.profit)
                                          : LossText + formatAmount(-s.profit);
    return {s.draw.label, QString::number(s.customers), formatAmount(s.stake), s.result, profit};
}

} // namespace varnoth
