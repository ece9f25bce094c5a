#pragma once
// The number rules as bets come in: a bet on a closed number is not stored, a bet that takes a number
// above its own limit (or, for a number without one, above its type's limit) is stored and marked, a
// bet on a number paid at a percentage is marked with it.

#include "settings/numberrules.h"

#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace varnoth
{

class NumberFile;
class Store;

struct RuleVerdict {
    bool closed = false; // not to be stored
    QString mark;        // what follows the bet's line ("" when no rule applies)
};

class RuleMarks
{
public:
    explicit RuleMarks(Store& store);

    // Whether any bet can be marked: the book has number rules, or a type has a limit.
    bool active() const { return !m_rules->isEmpty() || m_anyTypeLimit; }
    const NumberRules& rules() const { return *m_rules; }
    // The rule of the number (in stored form) of the type, by its TypeList position; null when none.
    const NumberRule* ruleOf(int type, const QString& number) const { return m_rules->find(type, number); }
    bool isClosed(int type, const QString& number) const;
    // The mark of a bet of the amount under the rule (null: none), and " เกินอั้น" when it takes a
    // number without a limit of its own above the type's limit. A bet counts as taken for the bets
    // after it.
    QString mark(const NumberRule* rule, int type, const QString& number, double amount);
    // Both at once, for a bet that is stored unless its number is closed.
    RuleVerdict judge(int type, const QString& number, double amount);

private:
    // What the whole book holds on the number before this batch, over every customer.
    double bookStake(int type, const QString& number);
    // The book's stake on the number with this batch's bets so far.
    double& heldOn(int type, const QString& number);
    // Adds the bet to the number's stake; whether it then lies above the limit.
    bool takesAbove(int type, const QString& number, double amount, double limit);

    Store& m_store;
    std::shared_ptr<const NumberRules> m_rules;
    QHash<int, QList<QList<double>>> m_book;   // type -> each customer's sums by set position, read once
    // type -> the book's stake with this batch's bets on each number, by its short-number slot (NaN
    // until first asked); numbers without a slot go through the hash.
    std::array<std::vector<double>, 12> m_heldBySlot;
    QHash<int, QHash<QString, double>> m_held;
    QHash<qint64, QString> m_payMarks;         // percentage -> its mark
    std::array<std::optional<double>, 12> m_typeLimits; // the limit setting of each type, when it has one
    bool m_anyTypeLimit = false;
};

// The marks of a line of the main list: what the number rules and the type's limit said of a bet
// ("12-50 เลขปิด", "45-1000 เกินอั้น", "99-10 จ่าย 50%"), so that a window can show each its own way.
// A line that is not a bet with a mark gives None; a bet with two marks gives the one that matters
// more (closed, then over the limit, then reduced pay).
enum class RuleMarkKind { None, Closed, OverLimit, PayPercent };
RuleMarkKind ruleMarkOf(QStringView line);

// Every customer's stake on each number of the type, by position in the type's number set: each
// stake file is read again only when it changed since the last time it was read in this program.
QList<QList<double>> customerSumsOfType(Store& store, int type);
// A stake file of the type (a stamped NumberFile) that this program has just saved: its known sums
// follow the lines it changed, so that it need not be read again.
void stakeFileSaved(int type, const NumberFile& file);

} // namespace varnoth
