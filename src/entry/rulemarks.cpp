#include "entry/rulemarks.h"

#include "accounts/users.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/selectors.h"
#include "settings/numberruletexts.h"
#include "storage/folder/numberfile.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace varnoth
{

namespace
{

struct FileSums {
    QByteArray stamp;
    QList<double> sums; // by position in the type's number set
};

QMutex& sumsLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, FileSums>& sumsCache()
{
    static QHash<QString, FileSums> files;
    return files;
}

// The position of a number in the type's number set (-1 when it has none), one table per type.
qsizetype setPosition(int type, const QString& number)
{
    static QMutex lock;
    static std::array<QHash<QString, qsizetype>, 12> positions;
    QMutexLocker locker(&lock);
    QHash<QString, qsizetype>& p = positions[static_cast<std::size_t>(type)];
    if (p.isEmpty()) {
        const QStringList& set = NumberSet(typeNames()[type]);
        for (qsizetype i = 0; i < set.size(); ++i)
            p.insert(set[i], i);
    }
    return p.value(number, -1);
}

} // namespace

namespace
{

// The sums of one stake file, read again only when its stamp changed.
const QList<double>& fileSums(Store& store, const QString& path, const QByteArray& stamp, const QStringList& set)
{
    FileSums& f = sumsCache()[path];
    if (stamp != f.stamp || f.sums.size() != set.size()) {
        f.stamp = stamp;
        f.sums = stakeSumsOfBytes(store.readBytes(path).bytes, set);
    }
    return f.sums;
}

// Every customer's sums of one type of one book, as last looked at, with how far the data folder's
// journal of changes had been read then: while the journal names no file of the type, nothing needs
// looking at again.
struct TypeSums {
    quint64 watch = 0; // 0: no journal to follow
    quint64 journal = 0;
    QHash<QString, qsizetype> at; // stake file name -> its place in `sums`
    QList<QList<double>> sums;
};

QHash<QString, TypeSums>& typeSumsCache()
{
    static QHash<QString, TypeSums> books;
    return books;
}

// Brings the sums up to date from the names changed since they were made; false when a change is
// not one of the type's known stake files changed in place (a file new or gone, or the customer
// list changed): then every file must be looked at.
bool catchUp(Store& store, TypeSums& known, int type, const QStringList& set)
{
    if (known.watch == 0 || known.watch != store.changesId()) return false;
    const std::optional<QStringList> changed = store.changedSince(known.journal);
    if (!changed) return false;
    const QString prefix = QString::number(type) + QLatin1Char('_');
    const QLatin1StringView suffix(".gif");
    for (const QString& name : *changed) {
        if (name == Store::CustomerFileName) return false;
        // Only the type's stake files count ("5_12.gif"), not the passing files a safe write makes.
        if (!name.startsWith(prefix) || !name.endsWith(suffix)) continue;
        const QStringView customer =
            QStringView(name).sliced(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (customer.isEmpty() || !std::all_of(customer.begin(), customer.end(), [](QChar c) { return c.isDigit(); }))
            continue;
        const auto place = known.at.constFind(name);
        if (place == known.at.constEnd()) return false;
        const QString path = store.path(name);
        const QByteArray stamp = fileStamp(path);
        if (stamp.isEmpty()) return false;
        known.sums[place.value()] = fileSums(store, path, stamp, set);
    }
    known.journal += static_cast<quint64>(changed->size());
    return true;
}

} // namespace

QList<QList<double>> customerSumsOfType(Store& store, int type)
{
    if (type < 0 || type >= typeNames().size()) return {};
    const QStringList& set = NumberSet(typeNames()[type]);
    QMutexLocker locker(&sumsLock());
    TypeSums& known = typeSumsCache()[store.dataFolder() + QString::number(type)];
    if (catchUp(store, known, type, set)) return known.sums;

    // Taken before the files are looked at, so that a change made meanwhile is seen the next time.
    known = TypeSums{store.changesId(), store.changesEnd(), {}, {}};
    for (int c : Store::customerIndexes(store.customerListText())) {
        const QString name = Store::stakeFileName(type, c);
        const QString path = store.path(name);
        const QByteArray stamp = fileStamp(path);
        if (stamp.isEmpty()) continue;
        known.at.insert(name, known.sums.size());
        known.sums << fileSums(store, path, stamp, set);
    }
    return known.sums;
}

namespace
{

bool wholeAndExact(double v)
{
    return v >= 0 && v < 9007199254740992.0 && v == std::trunc(v);
}

} // namespace

void stakeFileSaved(int type, const NumberFile& file)
{
    if (type < 0 || type >= typeNames().size()) return;
    QMutexLocker locker(&sumsLock());
    auto cached = sumsCache().find(file.path());
    if (cached == sumsCache().end()) return;
    FileSums& f = cached.value();
    // Known sums of some other version, or a write whose stamp is not known: the file is read again
    // when next asked for.
    if (file.readStamp().isEmpty() || file.savedStamp().isEmpty() || f.stamp != file.readStamp()) return;
    const QStringList& set = NumberSet(typeNames()[type]);
    if (f.sums.size() != set.size()) return;
    QList<double> sums = f.sums;
    const QHash<int, QString> asRead = file.linesAsRead();
    for (auto it = asRead.cbegin(); it != asRead.cend(); ++it) {
        const QString& now = file.lines().at(it.key());
        const qsizetype at = setPosition(type, TextLine::of(QStringView(now)).number().toString());
        if (at < 0) continue;
        const double before = stakeOfLine(TextLine::of(QStringView(it.value())));
        const double after = stakeOfLine(TextLine::of(QStringView(now)));
        // Only whole amounts add up exactly in any order; anything else is summed from the file.
        if (!wholeAndExact(before) || !wholeAndExact(after) || !wholeAndExact(sums[at]) ||
            !wholeAndExact(sums[at] - before + after)) {
            sumsCache().erase(cached);
            return;
        }
        sums[at] += after - before;
    }
    f.sums = sums;
    f.stamp = file.savedStamp();
}

RuleMarks::RuleMarks(Store& store) : m_store(store), m_rules(bookRules(store))
{
    // The limit file read once for every type: the first line of a type names its limit, as the
    // over-limit report reads it.
    const QString text = store.ReadWholeFile(store.limitFile());
    const QStringList& types = typeNames();
    std::array<bool, 12> seen{};
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty()) continue;
        const QStringList pieces = line.split(QLatin1Char('#'));
        const qsizetype t = types.indexOf(pieces[0]);
        if (t < 0 || t >= 12 || seen[static_cast<std::size_t>(t)]) continue;
        seen[static_cast<std::size_t>(t)] = true;
        // A type named with no value has no limit.
        if (const QString value = pieces.value(1); !value.isEmpty())
            m_typeLimits[static_cast<std::size_t>(t)] = Val(value);
    }
    m_anyTypeLimit = std::any_of(m_typeLimits.begin(), m_typeLimits.end(), [](const auto& l) { return l.has_value(); });
}

bool RuleMarks::isClosed(int type, const QString& number) const
{
    const NumberRule* rule = m_rules->find(type, number);
    return rule && rule->kind == RuleKind::Closed;
}

double RuleMarks::bookStake(int type, const QString& number)
{
    auto book = m_book.constFind(type);
    if (book == m_book.constEnd()) book = m_book.insert(type, customerSumsOfType(m_store, type));
    const qsizetype at = setPosition(type, number);
    double sum = 0;
    if (at < 0) return sum;
    for (const QList<double>& sums : *book)
        sum += sums[at];
    return sum;
}

double& RuleMarks::heldOn(int type, const QString& number)
{
    // The book's stake is summed over the customers once per number; the batch's bets add to it.
    const int slot = NumberRules::shortNumberSlot(number);
    if (slot >= 0 && type >= 0 && type < 12) {
        std::vector<double>& held3 = m_heldBySlot[static_cast<std::size_t>(type)];
        if (held3.empty()) held3.assign(NumberRules::ShortNumberSlots, std::numeric_limits<double>::quiet_NaN());
        double& held = held3[static_cast<std::size_t>(slot)];
        if (std::isnan(held)) held = bookStake(type, number);
        return held;
    }
    QHash<QString, double>& byNumber = m_held[type];
    auto it = byNumber.find(number);
    if (it == byNumber.end()) it = byNumber.insert(number, bookStake(type, number));
    return it.value();
}

bool RuleMarks::takesAbove(int type, const QString& number, double amount, double limit)
{
    double& held = heldOn(type, number);
    held += amount;
    return held > limit;
}

QString RuleMarks::mark(const NumberRule* rule, int type, const QString& number, double amount)
{
    if (rule && rule->kind == RuleKind::Closed) return ClosedNumberText;
    if (rule && rule->kind == RuleKind::Limit)
        return takesAbove(type, number, amount, static_cast<double>(rule->value)) ? OverOwnLimitText : QString();
    QString text;
    if (rule && rule->kind == RuleKind::Pay) {
        auto known = m_payMarks.constFind(rule->value);
        if (known == m_payMarks.constEnd()) known = m_payMarks.insert(rule->value, PayPercentText.arg(rule->value));
        text = known.value();
    }
    // A number without a limit of its own is held to its type's.
    const std::optional<double> typeLimit =
        type >= 0 && type < 12 ? m_typeLimits[static_cast<std::size_t>(type)] : std::nullopt;
    if (typeLimit && takesAbove(type, number, amount, *typeLimit)) text += OverOwnLimitText;
    return text;
}

RuleVerdict RuleMarks::judge(int type, const QString& number, double amount)
{
    const NumberRule* rule = ruleOf(type, number);
    RuleVerdict verdict;
    verdict.closed = rule && rule->kind == RuleKind::Closed;
    verdict.mark = mark(rule, type, number, amount);
    return verdict;
}

RuleMarkKind ruleMarkOf(QStringView line)
{
    line = withoutKeyers(line);
    // A bet's line: digits, "-", digits, then its marks.
    const qsizetype dash = line.indexOf(QLatin1Char('-'));
    if (dash <= 0) return RuleMarkKind::None;
    const auto digitsOnly = [](QStringView s) {
        return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    qsizetype end = line.indexOf(QLatin1Char(' '), dash);
    if (end < 0) return RuleMarkKind::None;
    if (!digitsOnly(line.first(dash)) || !digitsOnly(line.sliced(dash + 1, end - dash - 1))) return RuleMarkKind::None;
    QStringView marks = line.sliced(end);
    if (marks == ClosedNumberText) return RuleMarkKind::Closed;
    bool over = false;
    if (marks.endsWith(OverOwnLimitText)) {
        over = true;
        marks.chop(OverOwnLimitText.size());
    }
    if (marks.isEmpty()) return over ? RuleMarkKind::OverLimit : RuleMarkKind::None;
    // " จ่าย 50%"
    const QStringView payWord = QStringView(PayPercentText).first(PayPercentText.indexOf(QStringLiteral("%1")));
    const bool pay = marks.startsWith(payWord) && marks.endsWith(QLatin1Char('%')) &&
                     digitsOnly(marks.sliced(payWord.size(), marks.size() - payWord.size() - 1));
    if (!pay) return RuleMarkKind::None;
    return over ? RuleMarkKind::OverLimit : RuleMarkKind::PayPercent;
}

} // namespace varnoth
