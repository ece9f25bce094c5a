#include "settings/numberrules.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/reportresult.h"
#include "settings/numberruletexts.h"
#include "storage/folder/store.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

namespace varnoth
{

namespace
{

const QString LimitWord = QStringLiteral("limit");
const QString ClosedWord = QStringLiteral("closed");
const QString PayWord = QStringLiteral("pay");
const QString PermutationsWord = QStringLiteral("perm");
// A stored rule of more digits than may be typed is still read; more than a double holds exactly
// would be another amount.
constexpr int MaxStoredLimitDigits = 15;

bool allDigits(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// The number in the form the type's files store it, or "" when it is not a number of the type.
QString storedNumber(const QString& type, const QString& number)
{
    const NumberSetKind kind = classifyType(type);
    if (typeIndex(type) < 0 || !kind.valid() || number.size() != kind.digits || !allDigits(number)) return {};
    return kind.ascending ? SortDigits(number) : number;
}

// Only a straight type of more than one digit has other orders of the same digits.
bool takesPermutations(const QString& type)
{
    const NumberSetKind kind = classifyType(type);
    return !kind.ascending && kind.digits > 1;
}

std::optional<qint64> ruleValue(RuleKind kind, const QString& text)
{
    if (kind == RuleKind::Closed) return text.isEmpty() ? std::optional<qint64>(0) : std::nullopt;
    if (!allDigits(text) || text.size() > MaxStoredLimitDigits) return std::nullopt;
    const qint64 value = text.toLongLong();
    if (kind == RuleKind::Pay && value > 100) return std::nullopt;
    return value;
}

QString ruleKey(const QString& type, const QString& number)
{
    return type + QLatin1Char('#') + number;
}

// The rules file as it stands: every line, and the rule of each line that reads as one.
struct RuleFile {
    bool exists = false;
    bool readable = true;
    QStringList lines;
    QList<std::optional<NumberRule>> parsed; // by line
    QList<int> damaged;                      // line numbers from 1
};

RuleFile parseRuleFile(const QString& text)
{
    RuleFile f;
    QString t = text;
    t.replace(CRLF, QStringLiteral("\n"));
    int lineNumber = 0;
    for (const QString& line : t.split(QLatin1Char('\n'))) {
        ++lineNumber;
        if (line.trimmed().isEmpty()) continue;
        const std::optional<NumberRule> rule = parseRuleLine(line);
        if (!rule) f.damaged << lineNumber;
        f.lines << line;
        f.parsed << rule;
    }
    return f;
}

RuleFile readRuleFile(const Store& store)
{
    const FileText file = store.readFile(store.path(NumberRulesFileName));
    RuleFile f = parseRuleFile(file.text);
    f.exists = file.exists;
    f.readable = file.readable;
    return f;
}

QList<NumberRule> rulesOf(const RuleFile& f)
{
    QList<NumberRule> rules;
    for (const std::optional<NumberRule>& rule : f.parsed)
        if (rule) rules << *rule;
    return rules;
}

QStringList problemsOf(const RuleFile& f, const QString& path)
{
    if (!f.readable) return {outcomeLine({Status::ReadFailed, path})};
    if (f.damaged.isEmpty()) return {};
    QStringList numbers;
    for (int n : f.damaged)
        numbers << QString::number(n);
    return {RuleFileDamagedText + Store::fileName(path) + RuleLineText + numbers.join(QStringLiteral(", "))};
}

// --- the rules in memory, one version of the file per data folder ----------------------------------

struct CachedRules {
    QByteArray stamp;
    std::shared_ptr<const NumberRules> rules;
    QStringList problems;
    bool reported = false;
};

QMutex& cacheLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, CachedRules>& cache()
{
    static QHash<QString, CachedRules> rules;
    return rules;
}

// The cached rules of the file, read again when its stamp changed. Called with the lock held.
CachedRules& cachedRules(const Store& store)
{
    const QString path = store.path(NumberRulesFileName);
    const QByteArray stamp = fileStamp(path);
    CachedRules& c = cache()[path];
    if (c.rules && stamp == c.stamp) return c;
    const RuleFile f = readRuleFile(store);
    c.stamp = stamp;
    c.rules = std::make_shared<const NumberRules>(rulesOf(f));
    const QStringList problems = problemsOf(f, path);
    if (problems != c.problems) c.reported = false;
    c.problems = problems;
    return c;
}

// After this program wrote the file: a rewrite within the same moment must not pass for the old one.
void forgetCachedRules(const Store& store)
{
    QMutexLocker locker(&cacheLock());
    cache().remove(store.path(NumberRulesFileName));
}

// Writes the lines back; no line left removes the file, so that the book is as one without rules.
Outcome writeRuleFile(Store& store, const QStringList& lines)
{
    const QString path = store.path(NumberRulesFileName);
    const bool written = lines.isEmpty() ? store.removeFile(path) : store.WriteWholeFile(path, lines.join(CRLF));
    forgetCachedRules(store);
    return written ? Outcome{} : Outcome{Status::WriteFailed, path};
}

std::optional<NumberRule> ruleOn(const RuleFile& f, const QString& key)
{
    std::optional<NumberRule> found;
    for (const std::optional<NumberRule>& rule : f.parsed)
        if (rule && ruleKey(rule->type, rule->number) == key) found = rule;
    return found;
}

// A closed number that a new rule reaches (through the order of its digits, say) takes bets again:
// the operator is told which, and what rule now holds on each number the new rule covers.
void sayReopened(RuleChange& change, const QList<NumberRule>& before, const QList<NumberRule>& after)
{
    const NumberRule& rule = *change.after;
    const NumberRules was(before);
    const NumberRules now(after);
    const QStringList covered = rule.permutations ? digitOrders(rule.number) : QStringList{rule.number};
    for (const QString& n : covered) {
        const NumberRule* old = was.find(rule.type, n);
        const NumberRule* holds = now.find(rule.type, n);
        if (old && old->kind == RuleKind::Closed && !(holds && holds->kind == RuleKind::Closed)) change.reopened << n;
    }
    if (change.reopened.isEmpty()) return;
    change.lines << ReopenedNumbersText + change.reopened.join(QStringLiteral(", "));
    for (const QString& n : covered) {
        const NumberRule* holds = now.find(rule.type, n);
        change.lines << EffectiveRuleText.arg(n, holds ? describeRule(*holds) : NoRuleOnNumberText);
    }
}

} // namespace

QString ruleLine(const NumberRule& rule)
{
    QString line = rule.type + QLatin1Char('#') + rule.number + QLatin1Char('#');
    switch (rule.kind) {
    case RuleKind::Limit:
        line += LimitWord + QLatin1Char('#') + QString::number(rule.value);
        break;
    case RuleKind::Closed:
        line += ClosedWord;
        break;
    case RuleKind::Pay:
        line += PayWord + QLatin1Char('#') + QString::number(rule.value);
        break;
    }
    if (rule.permutations) {
        if (rule.kind == RuleKind::Closed) line += QLatin1Char('#');
        line += QLatin1Char('#') + PermutationsWord;
    }
    return line;
}

std::optional<NumberRule> parseRuleLine(const QString& line)
{
    const QStringList fields = line.split(QLatin1Char('#'));
    if (fields.size() < 3 || fields.size() > 5) return std::nullopt;
    NumberRule rule;
    rule.type = fields[0];
    rule.number = storedNumber(rule.type, fields[1]);
    if (rule.number.isEmpty()) return std::nullopt;
    if (fields[2] == LimitWord)
        rule.kind = RuleKind::Limit;
    else if (fields[2] == ClosedWord)
        rule.kind = RuleKind::Closed;
    else if (fields[2] == PayWord)
        rule.kind = RuleKind::Pay;
    else
        return std::nullopt;
    const std::optional<qint64> value = ruleValue(rule.kind, fields.value(3));
    if (!value) return std::nullopt;
    rule.value = *value;
    const QString flag = fields.value(4);
    if (!flag.isEmpty() && flag != PermutationsWord) return std::nullopt;
    rule.permutations = !flag.isEmpty() && takesPermutations(rule.type);
    return rule;
}

QString describeRule(const NumberRule& rule)
{
    QString text = rule.number + QLatin1Char(' ');
    switch (rule.kind) {
    case RuleKind::Limit:
        text += LimitRuleText.arg(formatCount(static_cast<double>(rule.value)));
        break;
    case RuleKind::Closed:
        text += ClosedRuleText;
        break;
    case RuleKind::Pay:
        text += PayRuleText.arg(rule.value);
        break;
    }
    if (rule.permutations) text += PermutationsRuleText;
    return text;
}

QStringList digitOrders(const QString& number)
{
    QString digits = number;
    std::sort(digits.begin(), digits.end());
    QStringList orders{number};
    do {
        if (digits != number) orders << digits;
    } while (std::next_permutation(digits.begin(), digits.end()));
    return orders;
}

RuleInput makeRule(const QString& type, const QString& numberText, RuleKind kind, const QString& valueText,
                   bool permutations)
{
    RuleInput in;
    const NumberSetKind set = classifyType(type);
    if (typeIndex(type) < 0 || !set.valid()) {
        in.error = RuleTypeInvalidText;
        return in;
    }
    in.rule.type = type;
    in.rule.number = storedNumber(type, numberText.trimmed());
    if (in.rule.number.isEmpty()) {
        in.error = RuleNumberInvalidText.arg(set.digits);
        return in;
    }
    in.rule.kind = kind;
    const std::optional<qint64> value = ruleValue(kind, kind == RuleKind::Closed ? QString() : valueText.trimmed());
    if (!value) {
        in.error = kind == RuleKind::Pay ? RulePercentInvalidText : RuleLimitInvalidText;
        return in;
    }
    if (kind == RuleKind::Limit && valueText.trimmed().size() > MaxLimitDigits) {
        in.error = LimitTooLongText;
        return in;
    }
    in.rule.value = *value;
    in.rule.permutations = permutations && takesPermutations(type);
    return in;
}

NumberRules::NumberRules(QList<NumberRule> rules) : m_rules(std::move(rules))
{
    for (qsizetype i = 0; i < m_rules.size(); ++i) {
        const NumberRule& rule = m_rules[i];
        const int t = typeIndex(rule.type);
        if (t < 0) continue;
        m_direct[t].insert(rule.number, i);
        if (!rule.permutations) continue;
        for (const QString& order : digitOrders(rule.number))
            m_index[t].insert(order, i);
    }
    for (std::size_t t = 0; t < m_direct.size(); ++t)
        for (auto it = m_direct[t].cbegin(); it != m_direct[t].cend(); ++it)
            m_index[t].insert(it.key(), it.value());
    for (std::size_t t = 0; t < m_index.size(); ++t) {
        if (m_index[t].isEmpty()) continue;
        m_slots[t].assign(ShortNumberSlots, -1);
        for (auto it = m_index[t].cbegin(); it != m_index[t].cend(); ++it) {
            const int slot = shortNumberSlot(it.key());
            if (slot >= 0) m_slots[t][static_cast<std::size_t>(slot)] = static_cast<qint32>(it.value());
        }
    }
}

int NumberRules::shortNumberSlot(QStringView number)
{
    // 1 digit: 0-9, 2 digits: 10-109, 3 digits: 110-1109.
    static constexpr int base[] = {0, 0, 10, 110};
    const qsizetype n = number.size();
    if (n < 1 || n > 3) return -1;
    int value = 0;
    for (QChar c : number) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9') return -1;
        value = value * 10 + (u - u'0');
    }
    return base[n] + value;
}

const NumberRule* NumberRules::find(int type, const QString& number) const
{
    if (type < 0 || type >= 12) return nullptr;
    const QHash<QString, qsizetype>& index = m_index[type];
    if (index.isEmpty()) return nullptr;
    const int slot = shortNumberSlot(number);
    if (slot >= 0) {
        const qint32 at = m_slots[static_cast<std::size_t>(type)][static_cast<std::size_t>(slot)];
        return at < 0 ? nullptr : &m_rules[at];
    }
    auto it = index.constFind(number);
    return it == index.constEnd() ? nullptr : &m_rules[it.value()];
}

std::optional<qint64> NumberRules::ownLimit(int type, const QString& number) const
{
    const NumberRule* rule = find(type, number);
    if (rule && rule->kind == RuleKind::Limit) return rule->value;
    return std::nullopt;
}

const NumberRule* NumberRules::find(const QString& type, const QString& number) const
{
    return find(typeIndex(type), number);
}

bool NumberRules::hasRules(int type) const
{
    return type >= 0 && type < 12 && !m_index[type].isEmpty();
}

bool NumberRules::hasLimits(int type) const
{
    if (!hasRules(type)) return false;
    for (qsizetype i : m_direct[type])
        if (m_rules[i].kind == RuleKind::Limit) return true;
    return false;
}

QString NumberRules::limitOf(int type, const QString& number) const
{
    const NumberRule* rule = find(type, number);
    return rule && rule->kind == RuleKind::Limit ? QString::number(rule->value) : QString();
}

qint64 NumberRules::payPercentOf(int type, const QString& number) const
{
    const NumberRule* rule = find(type, number);
    return rule && rule->kind == RuleKind::Pay ? rule->value : 100;
}

qint64 NumberRules::highestLimit(int type) const
{
    qint64 highest = 0;
    if (!hasRules(type)) return highest;
    for (qsizetype i : m_direct[type])
        if (m_rules[i].kind == RuleKind::Limit) highest = std::max(highest, m_rules[i].value);
    return highest;
}

std::shared_ptr<const NumberRules> bookRules(const Store& store)
{
    QMutexLocker locker(&cacheLock());
    return cachedRules(store).rules;
}

QStringList takeRuleFileProblems(const Store& store)
{
    QMutexLocker locker(&cacheLock());
    CachedRules& c = cachedRules(store);
    if (c.reported) return {};
    c.reported = true;
    return c.problems;
}

QStringList ruleFileProblems(const Store& store)
{
    QMutexLocker locker(&cacheLock());
    return cachedRules(store).problems;
}

RuleChange setNumberRule(Store& store, const NumberRule& rule)
{
    RuleChange change;
    const RuleInput checked =
        makeRule(rule.type, rule.number, rule.kind, QString::number(rule.value), rule.permutations);
    if (!checked.error.isEmpty()) {
        change.error = checked.error;
        change.lines << checked.error;
        return change;
    }
    RuleFile f = readRuleFile(store);
    if (!f.readable) {
        change.outcome = {Status::ReadFailed, store.path(NumberRulesFileName)};
        change.lines << outcomeLine(change.outcome);
        return change;
    }
    const QString key = ruleKey(checked.rule.type, checked.rule.number);
    change.before = ruleOn(f, key);
    change.after = checked.rule;
    if (change.before == change.after) return change;

    // The rule takes the place of the number's first line; damaged lines stay as they are.
    QStringList lines;
    bool placed = false;
    for (qsizetype i = 0; i < f.lines.size(); ++i) {
        const std::optional<NumberRule>& old = f.parsed[i];
        if (!old || ruleKey(old->type, old->number) != key) {
            lines << f.lines[i];
        } else if (!placed) {
            lines << ruleLine(checked.rule);
            placed = true;
        }
    }
    if (!placed) lines << ruleLine(checked.rule);
    change.outcome = writeRuleFile(store, lines);
    change.lines << (change.outcome.ok()
                         ? RuleSetText + checked.rule.type + QLatin1Char(' ') + describeRule(checked.rule)
                         : outcomeLine(change.outcome));
    if (change.outcome.ok()) sayReopened(change, rulesOf(f), rulesOf(parseRuleFile(lines.join(CRLF))));
    return change;
}

RuleChange clearNumberRule(Store& store, const QString& type, const QString& number)
{
    RuleChange change;
    const QString stored = storedNumber(type, number.trimmed());
    if (stored.isEmpty()) {
        change.error = typeIndex(type) < 0 ? RuleTypeInvalidText : RuleNumberInvalidText.arg(classifyType(type).digits);
        change.lines << change.error;
        return change;
    }
    RuleFile f = readRuleFile(store);
    if (!f.readable) {
        change.outcome = {Status::ReadFailed, store.path(NumberRulesFileName)};
        change.lines << outcomeLine(change.outcome);
        return change;
    }
    const QString key = ruleKey(type, stored);
    change.before = ruleOn(f, key);
    if (!change.before) {
        change.lines << RuleNotFoundText;
        return change;
    }
    QStringList lines;
    for (qsizetype i = 0; i < f.lines.size(); ++i)
        if (!f.parsed[i] || ruleKey(f.parsed[i]->type, f.parsed[i]->number) != key) lines << f.lines[i];
    change.outcome = writeRuleFile(store, lines);
    change.lines << (change.outcome.ok() ? RuleClearedText + type + QLatin1Char(' ') + stored
                                         : outcomeLine(change.outcome));
    return change;
}

RulesCleared clearAllNumberRules(Store& store)
{
    RulesCleared cleared;
    const RuleFile f = readRuleFile(store);
    if (!f.exists) return cleared;
    cleared.removed = rulesOf(f);
    cleared.outcome = writeRuleFile(store, {});
    cleared.lines << (cleared.outcome.ok() ? RulesClearedText : outcomeLine(cleared.outcome));
    return cleared;
}

QString rulesSummary(const NumberRules& rules, const QString& type)
{
    const int t = typeIndex(type);
    if (!rules.hasRules(t)) return {};
    int counts[3] = {0, 0, 0};
    for (const NumberRule& rule : rules.all())
        if (rule.type == type && rules.find(t, rule.number) == &rule) ++counts[static_cast<int>(rule.kind)];
    return RulesSummaryText.arg(counts[0]).arg(counts[1]).arg(counts[2]);
}

QStringList listNumberRules(const Store& store, const QString& type)
{
    const std::shared_ptr<const NumberRules> rules = bookRules(store);
    QStringList lines = ruleFileProblems(store);
    bool any = false;
    for (const QString& t : typeNames()) {
        if (type != AllChoice && t != type) continue;
        QStringList ofType;
        const int index = typeIndex(t);
        for (const NumberRule& rule : rules->all())
            // A number listed twice in a file edited by hand shows the rule that applies.
            if (rule.type == t && rules->find(index, rule.number) == &rule) ofType << describeRule(rule);
        if (ofType.isEmpty()) continue;
        any = true;
        lines << QLatin1Char('<') + t + QLatin1Char('>') << ofType << Separator;
    }
    if (!any) lines << NoRulesText;
    return lines;
}

} // namespace varnoth
