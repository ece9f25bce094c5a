#pragma once
// Rules per number: the most the book keeps on one number ("limit"), no new bet on it ("closed"), or
// its prize paid at a percentage of the type's rate ("pay"). A rule may cover every order of the
// number's digits. The rules live in "rules.gif" in the data folder, one a line, in the style of the
// other setting files (windows-874, CR LF):
//
//     3ตัวตรง#123#limit#500
//     2ตัวบน#45#closed
//     3ตัวตรง#789#pay#50#perm
//
// A book without the file has no rules and behaves as before. A line that cannot be read is reported
// once and kept as it stands whenever the file is written again.

#include "core/model/outcome.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace varnoth
{

class Store;

inline const QString NumberRulesFileName = QStringLiteral("rules.gif");

enum class RuleKind { Limit, Closed, Pay };

// The most digits a limit may be given with, in the rules and in the settings window: sums of the
// amounts it keeps stay exact.
inline constexpr int MaxLimitDigits = 12;

struct NumberRule {
    QString type;
    QString number; // as the type's files store it (digits ascending on a permutation type)
    RuleKind kind = RuleKind::Closed;
    qint64 value = 0;          // the limit in baht, or the percentage paid
    bool permutations = false; // also every other order of the digits (straight types only)
    bool operator==(const NumberRule& other) const = default;
};

// The line of a rule in the file, without its line end.
QString ruleLine(const NumberRule& rule);
// A line of the file as a rule; nothing when it cannot be read.
std::optional<NumberRule> parseRuleLine(const QString& line);
// "123 อั้น 500", "45 ปิด", "789 จ่าย 50% กลับ".
QString describeRule(const NumberRule& rule);
// Every different order of the digits, the number itself first.
QStringList digitOrders(const QString& number);

// A rule as the operator typed it, checked; `error` is the Thai line of a refusal ("" when good).
struct RuleInput {
    NumberRule rule;
    QString error;
};
RuleInput makeRule(const QString& type, const QString& numberText, RuleKind kind, const QString& valueText,
                   bool permutations);

// The rules of a book, indexed for a lookup per bet.
class NumberRules
{
public:
    NumberRules() = default;
    // Later rules win over earlier ones on the same number; a rule on the number itself wins over a
    // rule that reaches it through the order of its digits.
    explicit NumberRules(QList<NumberRule> rules);

    bool isEmpty() const { return m_rules.isEmpty(); }
    const QList<NumberRule>& all() const { return m_rules; }
    // The rule that applies to a number of the type (by its TypeList position); null when none does.
    const NumberRule* find(int type, const QString& number) const;
    const NumberRule* find(const QString& type, const QString& number) const;
    bool hasRules(int type) const;
    // Whether any number of the type has a limit of its own, and the highest of them.
    bool hasLimits(int type) const;
    qint64 highestLimit(int type) const;
    // The number's own limit as text ("" when it has none), and the percentage its prize is paid at.
    QString limitOf(int type, const QString& number) const;
    // The number's own limit, or nothing.
    std::optional<qint64> ownLimit(int type, const QString& number) const;
    qint64 payPercentOf(int type, const QString& number) const;

    // A place for each number of one to three digits ("7", "07" and "007" have their own), so that a
    // table indexed by it stands for a hash by number; -1 for any other text.
    static constexpr int ShortNumberSlots = 1110;
    static int shortNumberSlot(QStringView number);

private:
    QList<NumberRule> m_rules;
    std::array<QHash<QString, qsizetype>, 12> m_direct; // number -> rule set on it
    std::array<QHash<QString, qsizetype>, 12> m_index;  // number -> rule that applies
    // The same as m_index for the numbers that have a short-number slot: one array look a bet instead
    // of hashing the number. Empty for a type without rules; -1 where no rule applies.
    std::array<std::vector<qint32>, 12> m_slots;
};

// The book's rules, read again only when the file changed since the last read. A file that cannot be
// read gives no rules.
std::shared_ptr<const NumberRules> bookRules(const Store& store);
// The lines that report a damaged or unreadable rules file: given once for each version of the file,
// then empty until the file changes.
QStringList takeRuleFileProblems(const Store& store);
// The same lines, every time they are asked for.
QStringList ruleFileProblems(const Store& store);

// One change of the rules: the rule before and after, for the operator and the record of changes.
struct RuleChange {
    Outcome outcome;
    QString error; // a refusal of what was typed ("" when none)
    std::optional<NumberRule> before;
    std::optional<NumberRule> after;
    QStringList lines; // for the operator
    // The closed numbers that the change opened again (a rule reaching them through the order of
    // their digits); the lines then say so and give the rule that holds on each number it covers.
    QStringList reopened;
    bool changed() const { return outcome.ok() && error.isEmpty() && before != after; }
};

// Sets the rule of the rule's type and number, replacing the one it had.
RuleChange setNumberRule(Store& store, const NumberRule& rule);
// Removes the rule set on the number (the number as typed, put in stored form).
RuleChange clearNumberRule(Store& store, const QString& type, const QString& number);
// Removes the rules file; the rules as they were are in `removed`.
struct RulesCleared {
    Outcome outcome;
    QList<NumberRule> removed;
    QStringList lines;
};
RulesCleared clearAllNumberRules(Store& store);

// "เลขอั้นเฉพาะตัว 2 เลข  เลขปิด 1 เลข  จ่ายลด 0 เลข" for a type with rules, "" for one without.
QString rulesSummary(const NumberRules& rules, const QString& type);

// The list of rules by type (one type, or every type for "ทั้งหมด"), for the window and batch mode.
QStringList listNumberRules(const Store& store, const QString& type);

} // namespace varnoth
