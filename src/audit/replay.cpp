#include "audit/replay.h"

#include "accounts/customerrates.h"
#include "accounts/drawhistory.h"
#include "accounts/payments.h"
#include "audit/audittexts.h"
#include "core/model/codepage874.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "settings/numberrules.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <cmath>

namespace varnoth
{

namespace
{

using Amounts = QHash<QByteArray, double>; // number -> amount (or count)

double amountOf(const QString& text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : Val(text);
}

template <class View> double amountOfView(View text)
{
    if constexpr (std::is_same_v<View, QByteArrayView>) {
        // Whole baht, as nearly every stake is written, without the general conversion.
        if (!text.isEmpty() && text.size() <= 15) {
            qint64 whole = 0;
            bool digits = true;
            for (char c : text) {
                if (c < '0' || c > '9') {
                    digits = false;
                    break;
                }
                whole = whole * 10 + (c - '0');
            }
            if (digits) return static_cast<double>(whole);
        }
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (ok) return v;
        return Val(QString::fromLatin1(text));
    } else {
        return Val(text.toString());
    }
}

bool same(double a, double b)
{
    // Amounts are whole baht or satang: anything closer is the same figure written another way.
    return std::abs(a - b) < 0.005;
}

QString pairKey(const QString& a, const QString& b)
{
    return a + QLatin1Char('\t') + b;
}

// What the log says the book must hold, as far as it says it.
struct Implied {
    QHash<QString, Amounts> stakes;         // type \t customer -> number -> amount
    QHash<QString, QSet<QByteArray>> moved; // type \t customer -> numbers a record was moved from or to
    QList<qint64> movedLines;
    QHash<QString, Amounts> counts; // type -> number -> count
    struct Paid {
        double sum = 0;
        int lines = 0;
    };
    QHash<QString, Paid> payments; // customer -> what the payments file must hold for him
    QHash<QString, QString> rules; // type \t number -> the rule as described, "" for none
    QHash<QString, QString> rates; // customer \t type -> "payout/discount", "" for the type's own
    QList<qint64> merges;          // lines of backups merged in (their records are not in the log)
    double mergedAmount = 0;
    QString drawBefore; // the copy the log's new draw made, by folder name ("" for none)
    QDateTime began;    // the time of the log's first line
    bool firstLineKeyed = false;
};

// The folder name at the end of a path as any computer wrote it.
QString lastPart(const QString& path)
{
    return path.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
}

QDateTime lineTime(const QString& text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

Implied play(const AuditIndex& index, const std::atomic_bool* cancel)
{
    Implied m;
    QHash<qint64, AuditAction> entryAction; // what each entry did first, for the lines that take it back
    const qint64 count = index.lineCount();
    AuditRecord r;
    for (qint64 i = 0; i < count; ++i) {
        if (cancel && (i & 0xfff) == 0 && cancel->load()) break;
        if (!index.record(i, r)) continue;
        if (i == 0) {
            m.firstLineKeyed = !r.keyId.isEmpty();
            m.began = lineTime(r.time);
        }
        if (r.action != AuditAction::TakeBack && r.action != AuditAction::DoAgain && !entryAction.contains(r.entry))
            entryAction.insert(r.entry, r.action);
        AuditAction action = r.action;
        const bool repeated = action == AuditAction::TakeBack || action == AuditAction::DoAgain;
        if (repeated) action = entryAction.value(r.entry, r.number.isEmpty() ? AuditAction::Break : AuditAction::Bet);
        const QString place = pairKey(r.type, r.customer);
        const QByteArray number = r.number.toLatin1();
        switch (action) {
        case AuditAction::Bet:
        case AuditAction::Sheet:
        case AuditAction::ChatPaste:
            // A bet adds its amount; taking it back takes the amount off (its line holds it before).
            m.stakes[place][number] += amountOf(r.after) - amountOf(r.before);
            m.counts[r.type][number] += r.action == AuditAction::TakeBack ? -1 : 1;
            break;
        case AuditAction::Edit:
        case AuditAction::Delete: {
            // The line holds the record's amount before and after the change.
            const qsizetype arrow = r.detail.indexOf(QStringLiteral(" > "));
            if (arrow >= 0) {
                m.moved[place] << number << r.detail.mid(arrow + 3).trimmed().toLatin1();
                m.movedLines << i + 1;
            } else {
                m.stakes[place][number] = amountOf(r.after);
            }
            break;
        }
        case AuditAction::Payment: {
            // A payment with an upstream dealer names no customer: it is not in the customers' file.
            if (r.customer.isEmpty()) break;
            // What was due before and after: the difference changed hands.
            Implied::Paid& paid = m.payments[r.customer];
            paid.sum += amountOf(r.before) - amountOf(r.after);
            ++paid.lines;
            break;
        }
        case AuditAction::Rule:
            if (!repeated) m.rules.insert(pairKey(r.type, r.number), r.after);
            break;
        case AuditAction::Setting:
            if (!repeated && r.detail == CustomerRateSetting) m.rates.insert(pairKey(r.customer, r.type), r.after);
            break;
        case AuditAction::Restore:
            // A merged backup's line holds the amount it added; a brought-back book comes with its own
            // log, and the lines carried from another computer only tell who keyed what there.
            if (!repeated && r.type.isEmpty() && r.customer.isEmpty() && !r.after.isEmpty()) {
                m.merges << i + 1;
                m.mergedAmount += amountOf(r.after);
            }
            break;
        case AuditAction::NewDraw:
            // The new book starts empty of stakes and payments; rules and own rates stay.
            m.stakes.clear();
            m.moved.clear();
            m.counts.clear();
            m.payments.clear();
            m.merges.clear();
            m.mergedAmount = 0;
            m.drawBefore = lastPart(r.detail);
            break;
        default:
            break;
        }
    }
    return m;
}

struct Findings {
    AuditReplay& out;
    // Counts a difference; true while its line is still to be kept (made only then: a log gone from a
    // full book differs on every number).
    bool differs() { return out.differenceCount++ < ReplayShownDifferences; }
    void differ(const QString& line)
    {
        if (differs()) out.differences << line;
    }
};

QString figure(double v)
{
    return shortestDecimal(v);
}

// The stakes of one file against the log; `total` adds up the file.
void compareStakeFile(Findings& f, Store& store, const QString& type, const QString& customer, const Amounts& implied,
                      const QSet<QByteArray>& moved, bool perNumber, double& total)
{
    const FileBytes file = store.readBytes(store.StakeFilePath(type, customer));
    int nonZero = 0;
    for (auto it = implied.cbegin(); it != implied.cend(); ++it)
        if (!same(it.value(), 0) && !moved.contains(it.key())) ++nonZero;
    if (!file.exists || !file.readable) {
        if (perNumber && nonZero > 0) {
            double sum = 0;
            for (double v : implied)
                sum += v;
            f.differ(ReplayNoFileText.arg(type, customer, figure(sum)));
        }
        return;
    }
    int matched = 0;
    forEachNumberLine(QByteArrayView(file.bytes), [&](const auto& line) {
        if (!line.hasDash()) return;
        const auto amountText = line.amount();
        const double value = amountOfView(amountText);
        total += value;
        if (!perNumber) return;
        if (implied.isEmpty() && same(value, 0)) return;
        QByteArray number;
        if constexpr (std::is_same_v<std::decay_t<decltype(line)>, ByteLine>)
            number = QByteArray::fromRawData(line.number().data(), line.number().size()); // read in the call only
        else
            number = line.number().toLatin1();
        const auto it = implied.constFind(number);
        const double expected = it == implied.cend() ? 0 : it.value();
        if (it != implied.cend() && !same(expected, 0) && !moved.contains(number)) ++matched;
        if (same(value, expected) || moved.contains(number)) return;
        if (f.differs())
            f.out.differences << ReplayStakeText.arg(type, customer,
                                                     QString::fromLatin1(number.constData(), number.size()),
                                                     figure(value), figure(expected));
    });
    if (!perNumber || matched >= nonZero) return;
    // Numbers the log gives an amount that have no line in the file.
    QSet<QByteArray> inFile;
    forEachNumberLine(QByteArrayView(file.bytes), [&](const auto& line) {
        if constexpr (std::is_same_v<std::decay_t<decltype(line)>, ByteLine>)
            inFile << line.number().toByteArray();
        else
            inFile << line.number().toLatin1();
    });
    for (auto it = implied.cbegin(); it != implied.cend(); ++it)
        if (!same(it.value(), 0) && !moved.contains(it.key()) && !inFile.contains(it.key()))
            f.differ(ReplayStakeText.arg(type, customer, QString::fromLatin1(it.key()), QStringLiteral("-"),
                                         figure(it.value())));
}

void compareStakes(Findings& f, Store& store, const Implied& m)
{
    const bool perNumber = m.merges.isEmpty();
    const QStringList customers = store.customers();
    QSet<QString> listed;
    double fileTotal = 0;
    const Amounts none;
    const QSet<QByteArray> noneMoved;
    for (const QString& customer : customers) {
        if (listed.contains(customer)) continue; // a name listed twice: its files are read once
        listed << customer;
        for (const QString& type : typeNames()) {
            const QString place = pairKey(type, customer);
            const auto implied = m.stakes.constFind(place);
            const auto moved = m.moved.constFind(place);
            compareStakeFile(f, store, type, customer, implied == m.stakes.cend() ? none : implied.value(),
                             moved == m.moved.cend() ? noneMoved : moved.value(), perNumber, fileTotal);
        }
    }
    // Stakes the log gives customers the list no longer holds.
    double logTotal = 0;
    for (auto it = m.stakes.cbegin(); it != m.stakes.cend(); ++it) {
        double sum = 0;
        for (double v : it.value())
            sum += v;
        logTotal += sum;
        const QString customer = it.key().section(QLatin1Char('\t'), 1);
        if (perNumber && !listed.contains(customer) && !same(sum, 0))
            f.differ(ReplayNoFileText.arg(it.key().section(QLatin1Char('\t'), 0, 0), customer, figure(sum)));
    }
    if (!perNumber) {
        f.out.notChecked << ReplayMergedText.arg(QString::number(m.merges.first()));
        if (!same(fileTotal, logTotal + m.mergedAmount))
            f.differ(ReplayTotalText.arg(figure(fileTotal), figure(logTotal + m.mergedAmount)));
    }
    for (auto it = m.moved.cbegin(); it != m.moved.cend(); ++it)
        for (const QByteArray& number : it.value())
            f.out.notChecked << ReplayMovedText.arg(it.key().section(QLatin1Char('\t'), 0, 0),
                                                    it.key().section(QLatin1Char('\t'), 1),
                                                    QString::fromLatin1(number));
}

void compareCounts(Findings& f, Store& store, const Implied& m)
{
    if (!m.merges.isEmpty()) return; // a merged backup brings counts the log does not hold one by one
    const Amounts none;
    for (const QString& type : typeNames()) {
        const auto implied = m.counts.constFind(type);
        const Amounts& expected = implied == m.counts.cend() ? none : implied.value();
        const FileBytes file = store.readBytes(store.TypeFilePath(type, Store::CountPrefix));
        QSet<QByteArray> seen;
        forEachNumberLine(QByteArrayView(file.bytes), [&](const auto& line) {
            if (!line.hasDash()) return;
            QByteArray number;
            if constexpr (std::is_same_v<std::decay_t<decltype(line)>, ByteLine>)
                number = line.number().toByteArray();
            else
                number = line.number().toLatin1();
            const double value = amountOfView(line.amount());
            const double want = expected.value(number, 0);
            if (!same(want, 0)) seen << number;
            if (!same(value, want) && f.differs())
                f.out.differences << ReplayCountText.arg(type, QString::fromLatin1(number), figure(value),
                                                         figure(want));
        });
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            if (!same(it.value(), 0) && !seen.contains(it.key()))
                f.differ(
                    ReplayCountText.arg(type, QString::fromLatin1(it.key()), QStringLiteral("-"), figure(it.value())));
    }
}

void comparePayments(Findings& f, Store& store, const Implied& m)
{
    const Payments payments = loadPayments(store);
    for (const QString& line : payments.doubt.lines)
        f.differ(line);
    QHash<QString, Implied::Paid> inFile;
    for (const Payment& p : payments.items) {
        Implied::Paid& paid = inFile[p.customer];
        paid.sum += p.amount;
        ++paid.lines;
    }
    QStringList names = inFile.keys();
    for (const QString& c : m.payments.keys())
        if (!inFile.contains(c)) names << c;
    names.sort();
    for (const QString& c : std::as_const(names)) {
        const Implied::Paid file = inFile.value(c);
        const Implied::Paid log = m.payments.value(c);
        if (file.lines != log.lines || !same(file.sum, log.sum))
            f.differ(
                ReplayPaymentText.arg(c).arg(file.lines).arg(figure(file.sum)).arg(log.lines).arg(figure(log.sum)));
    }
}

// The lines of a file of the book's style, decoded; empty when it is missing.
QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines;
    for (QString line : cp874::decode(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (!line.isEmpty()) lines << line;
    }
    return lines;
}

QHash<QString, QString> rulesIn(const QStringList& lines)
{
    QHash<QString, QString> rules;
    for (const QString& line : lines)
        if (const std::optional<NumberRule> rule = parseRuleLine(line))
            rules.insert(pairKey(rule->type, rule->number), describeRule(*rule));
    return rules;
}

QString rateFigures(const CustomerRate& r)
{
    return r.payout.isEmpty() && r.discount.isEmpty() ? QString() : r.payout + QLatin1Char('/') + r.discount;
}

QHash<QString, QString> ratesIn(const QList<CustomerRate>& items)
{
    QHash<QString, QString> rates;
    for (const CustomerRate& r : items)
        rates.insert(pairKey(r.customer, r.type), rateFigures(r));
    return rates;
}

QHash<QString, QString> ratesIn(const QStringList& lines)
{
    QList<CustomerRate> items;
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char('#'));
        if (f.size() == 4) items << CustomerRate{f[0], f[1], f[2], f[3]};
    }
    return ratesIn(items);
}

// What the log says, over what the book held when the log began (`start`, when it is known), against
// what the file holds. Keys the log never mentions are compared with the start, or counted as not
// checked when it is not known.
template <class Line>
void compareSettings(Findings& f, const QHash<QString, QString>& file, const QHash<QString, QString>& log,
                     const std::optional<QHash<QString, QString>>& start, const Line& line, const QString& before)
{
    QStringList keys = file.keys();
    for (const QString& k : log.keys())
        if (!file.contains(k)) keys << k;
    if (start)
        for (const QString& k : start->keys())
            if (!file.contains(k) && !log.contains(k)) keys << k;
    keys.sort();
    int unknown = 0;
    for (const QString& k : std::as_const(keys)) {
        QString expected;
        if (log.contains(k))
            expected = log.value(k);
        else if (start)
            expected = start->value(k);
        else {
            ++unknown;
            continue;
        }
        const QString actual = file.value(k);
        if (actual != expected) f.differ(line(k, actual, expected));
    }
    if (unknown > 0) f.out.notChecked << before.arg(unknown);
}

// How a copy's log begins: the copy its draw began from, by folder name ("" for none), and the time of
// its first line.
struct LogStart {
    QString before;
    QDateTime began;
};
LogStart logStart(const QString& folder)
{
    LogStart start;
    QFile log(QDir(folder).filePath(AuditLogFileName));
    if (!log.open(QIODevice::ReadOnly)) return start;
    for (int i = 0; i < 8 && !log.atEnd(); ++i) {
        QByteArray line = log.readLine(64 * 1024);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        AuditRecord record;
        if (!parseAuditLine(line, record)) continue;
        if (!start.began.isValid()) start.began = lineTime(record.time);
        if (record.action == AuditAction::NewDraw) {
            start.before = lastPart(record.detail);
            break;
        }
    }
    return start;
}

// A past draw's copy against its own log: its stakes, counts and payments, each line naming the draw.
// Only a log that began with its draw (its first line the new draw's) can account for all of them.
void compareDrawCopy(Findings& f, const PastDraw& d, const std::atomic_bool* cancel, int& unchecked)
{
    AuditIndex index;
    if (!index.load(QDir(d.folder).filePath(AuditLogFileName))) {
        ++unchecked;
        return;
    }
    const Implied m = play(index, cancel);
    if (m.drawBefore.isEmpty()) {
        ++unchecked;
        return;
    }
    Store copy(d.folder);
    AuditReplay inner;
    Findings g{inner};
    compareStakes(g, copy, m);
    compareCounts(g, copy, m);
    comparePayments(g, copy, m);
    for (const QString& line : std::as_const(inner.differences))
        f.differ(ReplayInDrawText.arg(d.label, line));
    for (qint64 i = inner.differences.size(); i < inner.differenceCount; ++i)
        f.differs();
    for (const QString& line : std::as_const(inner.notChecked))
        f.out.notChecked << ReplayInDrawText.arg(d.label, line);
}

void comparePastDraws(Findings& f, const QList<PastDraw>& draws, const Implied& m, const std::atomic_bool* cancel)
{
    if (draws.isEmpty()) return;
    QHash<QString, const PastDraw*> byName;
    for (const PastDraw& d : draws)
        byName.insert(QFileInfo(d.folder).fileName(), &d);
    // The draws the logs name, one before the other, back to the first log that names none: the
    // logs began then, and a copy kept since must be one of them.
    QSet<QString> named;
    QDateTime began = m.began;
    for (QString name = m.drawBefore; !name.isEmpty() && !named.contains(name);) {
        const PastDraw* d = byName.value(name);
        if (!d) break; // named but gone: the listing of past draws says so
        named << name;
        const LogStart start = logStart(d->folder);
        if (start.began.isValid()) began = start.began;
        name = start.before;
    }
    int before = 0;
    int withoutAnchor = 0;
    int unreplayed = 0;
    for (const PastDraw& d : draws) {
        const QString name = QFileInfo(d.folder).fileName();
        if (!named.contains(name)) {
            // A copy kept before the first log began cannot be told from one put there by hand.
            if (!began.isValid() || d.when <= began)
                ++before;
            else
                f.differ(ReplayFakeDrawText.arg(d.label));
            continue;
        }
        const QString anchorPath = QDir(d.folder).filePath(AuditAnchorFileName);
        bool damaged = false;
        const std::optional<AuditAnchor> anchor = readAuditAnchor(anchorPath, &damaged);
        if (!anchor && !damaged) {
            ++withoutAnchor;
            continue;
        }
        if (damaged || matchAuditAnchor(QDir(d.folder).filePath(AuditLogFileName), *anchor) != AnchorMatch::Same) {
            f.differ(ReplayDrawAnchorText.arg(d.label));
            continue;
        }
        if (cancel && cancel->load()) return;
        compareDrawCopy(f, d, cancel, unreplayed);
    }
    if (before > 0) f.out.notChecked << ReplayDrawsBeforeText.arg(before);
    if (unreplayed > 0) f.out.notChecked << ReplayDrawNotReplayedText.arg(unreplayed);
    if (withoutAnchor > 0) f.out.notChecked << ReplayDrawNoAnchorText.arg(withoutAnchor);
}

} // namespace

AuditReplay replayAudit(const AuditIndex& index, Store& store, const std::atomic_bool* cancel)
{
    AuditReplay out;
    const Implied m = play(index, cancel);
    if (cancel && cancel->load()) return out;
    Findings f{out};
    compareStakes(f, store, m);
    compareCounts(f, store, m);
    comparePayments(f, store, m);

    const QList<PastDraw> draws = listPastDraws(store);
    // What the book held when its log began: the copy its new draw made, or nothing at all for a
    // book whose log was keyed from its first line and that was never drawn.
    std::optional<QHash<QString, QString>> startRules, startRates;
    const PastDraw* copy = nullptr;
    for (const PastDraw& d : draws)
        if (!m.drawBefore.isEmpty() && QFileInfo(d.folder).fileName() == m.drawBefore) copy = &d;
    if (copy) {
        startRules = rulesIn(fileLines(QDir(copy->folder).filePath(NumberRulesFileName)));
        startRates = ratesIn(fileLines(QDir(copy->folder).filePath(CustomerRatesFileName)));
    } else if (m.drawBefore.isEmpty() && draws.isEmpty() && m.firstLineKeyed) {
        startRules.emplace();
        startRates.emplace();
    }
    QHash<QString, QString> fileRules;
    for (const NumberRule& rule : bookRules(store)->all())
        fileRules.insert(pairKey(rule.type, rule.number), describeRule(rule));
    compareSettings(
        f, fileRules, m.rules, startRules,
        [](const QString& k, const QString& actual, const QString& expected) {
            return ReplayRuleText.arg(k.section(QLatin1Char('\t'), 0, 0), k.section(QLatin1Char('\t'), 1),
                                      actual.isEmpty() ? QStringLiteral("-") : actual,
                                      expected.isEmpty() ? QStringLiteral("-") : expected);
        },
        ReplayRulesBeforeText);
    const CustomerRates rates = loadCustomerRates(store);
    for (const QString& line : rates.doubt.lines)
        f.differ(line);
    compareSettings(
        f, ratesIn(rates.items), m.rates, startRates,
        [](const QString& k, const QString& actual, const QString& expected) {
            return ReplayRateText.arg(k.section(QLatin1Char('\t'), 0, 0), k.section(QLatin1Char('\t'), 1),
                                      actual.isEmpty() ? QStringLiteral("-") : actual,
                                      expected.isEmpty() ? QStringLiteral("-") : expected);
        },
        ReplayRatesBeforeText);
    comparePastDraws(f, draws, m, cancel);
    return out;
}

QStringList replayLines(const AuditReplay& replay)
{
    QStringList lines = replay.differences;
    if (replay.differenceCount > replay.differences.size())
        lines << ReplayMoreText.arg(replay.differenceCount - replay.differences.size());
    lines << (replay.failed() ? ReplayDifferencesText.arg(replay.differenceCount) : ReplaySameText);
    lines << replay.notChecked;
    return lines;
}

} // namespace varnoth
