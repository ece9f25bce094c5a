#include "accounts/drawhistory.h"

#include "accounts/accounttexts.h"
#include "accounts/billkeyers.h"
#include "audit/auditlog.h"
#include "core/model/text.h"
#include "reports/reportresult.h"
#include "settings/options.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/store.h"
#include "tools/newdraw.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

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

struct Book {
    CustomerRates rates;
    Payments payments;
    AccountsDoubt doubt; // of both files
};

Book readBook(const Store& store)
{
    Book b{loadCustomerRates(store), loadPayments(store), {}};
    b.doubt.add(b.rates.doubt);
    b.doubt.add(b.payments.doubt);
    return b;
}

// The damage that leaves the customer's figures unknown, for his bill ("" when they are known).
QStringList problemsOf(const AccountsDoubt& doubt, const QString& customer)
{
    return doubt.covers(customer) ? doubt.lines : QStringList();
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

// "2026-12-09_1430", or "2026-12-09_1430_2" for a second copy in the same minute.
const QRegularExpression& stampPattern()
{
    static const QRegularExpression stamp(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{4})(?:_(\\d+))?$"));
    return stamp;
}

// The date of a copy named by the book (`prefix`, then the date).
QRegularExpressionMatch namedCopyStamp(const QString& entry, const QString& prefix)
{
    return stampPattern().match(entry.startsWith(prefix) ? entry.mid(prefix.size()) : QString());
}

// Where the log of a book (or of one of its copies) says its draw began: the copy that the new draw
// made of the book before it, by folder name; "" when the log names none.
QString copyBefore(const QString& bookFolder)
{
    QFile log(QDir(bookFolder).filePath(AuditLogFileName));
    if (!log.open(QIODevice::ReadOnly)) return {};
    // The new draw's line is the first of the fresh log; a few lines more allow for a break line.
    for (int i = 0; i < 8 && !log.atEnd(); ++i) {
        QByteArray line = log.readLine(64 * 1024);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        AuditRecord record;
        if (parseAuditLine(line, record) && record.action == AuditAction::NewDraw)
            // The path as the computer that made the copy writes it, whichever separator that is.
            return record.detail.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    }
    return {};
}

// A folder beside the book that is a book itself: it holds count files, a customer list, an audit log
// or the lock of a running program.
bool isBook(const QDir& folder)
{
    return !folder
                .entryList({QStringLiteral("a-_*.gif"), Store::CustomerFileName, AuditLogFileName, LockFileName},
                           QDir::Files | QDir::Hidden)
                .isEmpty();
}

// Copies named by their date alone were made before each copy carried its book's name. Such a copy is
// this book's when the book's log, or the log of one of its copies, names it as the copy made before
// (one after the other, back to the first), or when no other book shares the parent folder.
QSet<QString> ownUnnamedCopies(const Store& current, const QDir& draws, const QStringList& entries)
{
    QSet<QString> unnamed;
    for (const QString& e : entries)
        if (stampPattern().match(e).hasMatch()) unnamed << e;
    if (unnamed.isEmpty()) return {};

    const QFileInfo data(QDir::cleanPath(current.dataFolder()));
    const QDir parent = data.dir();
    bool alone = true;
    for (const QString& sibling : parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (sibling == data.fileName() || sibling == DrawsFolderName) continue;
        if (isBook(QDir(parent.filePath(sibling)))) {
            alone = false;
            break;
        }
    }
    if (alone) return unnamed;

    QSet<QString> own;
    QStringList starts{QDir::cleanPath(current.dataFolder())};
    for (const QString& e : entries)
        if (namedCopyStamp(e, drawCopyPrefix(current)).hasMatch()) starts << draws.filePath(e);
    for (const QString& start : std::as_const(starts)) {
        QString next = copyBefore(start);
        while (unnamed.contains(next) && !own.contains(next)) {
            own << next;
            next = copyBefore(draws.filePath(next));
        }
    }
    return own;
}

// Why a customer's balance of a past draw is not known, as a line of his statement.
QString unknownInDraw(const PastDraw& draw, const QString& why)
{
    return PastDrawMark + draw.label + QStringLiteral(": ") + why;
}

} // namespace

QList<PastDraw> listPastDraws(const Store& current)
{
    const QString folder = drawsFolderPath(current);
    QList<std::pair<std::pair<QDateTime, int>, PastDraw>> found;
    if (folder.isEmpty()) return {};
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const QString prefix = drawCopyPrefix(current);
    const QSet<QString> unnamed = ownUnnamedCopies(current, dir, entries);
    const YearStyle years = yearStyle(current);
    for (const QString& entry : entries) {
        // Another book's copies carry its name; a copy of this book's carries this one.
        QRegularExpressionMatch m = namedCopyStamp(entry, prefix);
        if (!m.hasMatch() && unnamed.contains(entry)) m = stampPattern().match(entry);
        // A draw cut off while it emptied the book is not a past draw until the next start completes it.
        if (!m.hasMatch() || isUnfinishedDraw(dir.filePath(entry))) continue;
        const QDateTime when = QLocale::c().toDateTime(m.captured(1), QStringLiteral("yyyy-MM-dd_HHmm"));
        if (!when.isValid()) continue;
        const int n = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        QString label = thaiShortDateTime(when, years);
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
    s.problems = book.doubt.lines;
    s.doubt = book.doubt;
    s.profitKnown = book.rates.doubt.isEmpty();
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

QStringList accountsDamage(const Store& store, const QList<PastDraw>& earlier)
{
    QStringList lines;
    for (const PastDraw& d : earlier)
        lines << readBook(Store(d.folder)).doubt.lines;
    lines << readBook(store).doubt.lines;
    return lines;
}

Statement statementOf(Store& store, const QString& customer, const QList<PastDraw>& earlier)
{
    Statement s;
    const Book book = readBook(store);
    s.problems = problemsOf(book.doubt, customer);
    s.bill = computeBill(store, book.rates, customer);
    nameKeyers(store, s.bill);
    s.paid = book.payments.paidBy(customer);
    s.payments = book.payments.of(customer);
    for (const PastDraw& d : earlier) {
        Store past(d.folder);
        const Book old = readBook(past);
        if (old.doubt.covers(customer)) {
            s.problems << old.doubt.lines;
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
    QList<AccountsDoubt> doubts;
    QHash<QString, QStringList> unknown;
    QStringList carriedNames;
    for (const PastDraw& d : earlier) {
        const DrawSummary s = summariseDraw(d);
        doubts << s.doubt;
        for (const auto& [name, left] : s.left) {
            if (!carried.contains(name)) carriedNames << name;
            carried[name] = toSatang(carried.value(name) + left);
        }
        for (auto u = s.unknown.cbegin(); u != s.unknown.cend(); ++u)
            unknown[u.key()] << unknownInDraw(d, u.value());
    }
    const Book book = readBook(store);
    doubts << book.doubt;
    QStringList names = customersOf(store, book.payments);
    for (const QString& c : std::as_const(carriedNames))
        if (!names.contains(c) && (!isZero(carried.value(c)) || unknown.contains(c))) names << c;
    QList<Statement> statements;
    for (const QString& c : std::as_const(names)) {
        Statement s;
        for (const AccountsDoubt& doubt : std::as_const(doubts))
            s.problems << problemsOf(doubt, c);
        s.problems << unknown.value(c);
        s.bill = computeBill(store, book.rates, c);
        s.paid = book.payments.paidBy(c);
        s.payments = book.payments.of(c);
        s.carried = carried.value(c);
        statements << s;
    }
    QList<Bill*> bills;
    for (Statement& s : statements)
        bills << &s.bill;
    nameKeyers(store, bills);
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
                   const QString& where, const AccountsDoubt& doubt) {
        for (const auto& [name, value] : left) {
            if (!running.contains(name)) order << name;
            Running& r = running[name];
            // What the row says in place of an amount: a damaged file, or a win that cannot be priced.
            if (r.unknown.isEmpty() && doubt.covers(name))
                r.unknown = QLatin1Char(' ') + OwedTitle + QLatin1Char(' ') + UnknownDueText;
            const bool wasSettled = isZero(r.amount);
            r.amount = toSatang(r.amount + value);
            if (isZero(r.amount)) r.amount = 0;
            if (wasSettled && !isZero(r.amount)) r.since = draw;
            if (r.unknown.isEmpty() && unknown.contains(name))
                r.unknown = OwedUnknownText + where + unknown.value(name);
        }
    };
    const QList<PastDraw> past = listPastDraws(current);
    for (qsizetype i = 0; i < past.size(); ++i) {
        const DrawSummary s = summariseDraw(past[i]);
        report.problems << s.problems;
        labels << past[i].label;
        add(s.left, s.unknown, int(i), PastDrawMark + past[i].label + QStringLiteral(": "), s.doubt);
    }
    const Book book = readBook(current);
    report.problems << book.doubt.lines;
    QList<std::pair<QString, double>> left;
    QHash<QString, QString> unknown;
    for (const QString& c : customersOf(current, book.payments)) {
        const Bill bill = computeBill(current, book.rates, c);
        if (!bill.priced()) unknown.insert(c, unpricedText(bill));
        left.append({c, toSatang(bill.balance() - book.payments.paidBy(c))});
    }
    labels << ThisDrawText.trimmed();
    add(left, unknown, int(past.size()), QString(), book.doubt);
    for (const QString& c : std::as_const(order)) {
        const Running& r = running.value(c);
        // Whom a damaged file or an unpriced win leaves in doubt is listed, settled or not: it cannot
        // be known that he is.
        if (isZero(r.amount) && r.unknown.isEmpty()) continue;
        const bool known = r.unknown.isEmpty();
        report.rows << Owed{c, known ? r.amount : 0, labels.value(r.since), known ? r.since : 0, r.unknown};
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
            lines << typeLine(o.customer) + o.unknown;
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
    QString profit = !s.profitKnown         ? UnknownDueText
                     : !s.unknown.isEmpty() ? ProfitUnknownText
                     : isZero(s.profit)     ? formatAmount(0)
                     : s.profit > 0         ? ProfitText + formatAmount(s.profit)
                                            : LossText + formatAmount(-s.profit);
    return {s.draw.label, QString::number(s.customers), formatAmount(s.stake), s.result, profit};
}

} // namespace varnoth
