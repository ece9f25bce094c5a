#include "entry/entry.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "settings/numberruletexts.h"
#include "settings/options.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/store.h"

#include <QSet>

#include <algorithm>

namespace varnoth
{

EntryBatch::EntryBatch(Store& store, const QString& customer)
    : m_store(store), m_customer(customer), m_customerIndex(store.customerIndex(customer)),
      m_ceiling(amountCeiling(store)), m_marks(store)
{
}

NumberFile* EntryBatch::stakeFile(const QString& type)
{
    auto known = m_stakePaths.constFind(type);
    if (known == m_stakePaths.constEnd()) {
        const int t = typeIndex(type);
        QString path;
        if (t >= 0 && !m_customerIndex.isEmpty()) path = m_store.stakeFilePathAt(t, m_customerIndex.toInt());
        known = m_stakePaths.insert(type, path);
    }
    const QString& path = known.value();
    if (path.isEmpty()) return nullptr;
    auto file = m_files.find(path);
    // Under number rules the book's stake is kept between entries; a stamped file lets its known
    // sums follow this entry's bets instead of reading the file again.
    if (file == m_files.end()) file = m_files.insert(path, NumberFile(m_store, path, m_marks.active()));
    return &file.value();
}

int EntryBatch::stakeTypeIndex(const QString& type)
{
    // A sheet has tens of thousands of bets on one or two types: the name is looked up once.
    if (type != m_lastType) {
        m_lastType = type;
        m_lastTypeIndex = typeIndex(type);
    }
    return m_lastTypeIndex;
}

NumberFile* EntryBatch::countFile(const QString& type)
{
    // Looked up once per type: a sheet counts tens of thousands of bets on one or two types.
    auto known = m_countPaths.constFind(type);
    if (known == m_countPaths.constEnd())
        known = m_countPaths.insert(type, m_store.TypeFilePath(type, Store::CountPrefix));
    const QString& path = known.value();
    if (path.isEmpty()) return nullptr;
    auto file = m_files.find(path);
    if (file == m_files.end()) file = m_files.insert(path, NumberFile(m_store, path));
    return &file.value();
}

QString EntryBatch::storableAmount(const NumberFile& stake, const QString& number, const QString& amount)
{
    const QString digits = DigitsOnly(number);
    const QString amountDigits = DigitsOnly(amount);
    // An amount must be digits only and hold at least one; the number must fit the file's width and
    // have its own line (a permutation type has no line for digits out of order).
    if (digits.size() != stake.width() || amountDigits.size() != amount.size() || amountDigits.isEmpty() ||
        !stake.contains(digits))
        return {};
    return amountDigits;
}

void EntryBatch::addBet(const QString& number, const QString& amount, const QString& type)
{
    NumberFile* stake = stakeFile(type);
    if (!stake) return;
    const QString digits = DigitsOnly(number);
    const QString amountDigits = storableAmount(*stake, number, amount);
    if (amountDigits.isEmpty()) {
        m_lines << number + QLatin1Char('-') + amount + BetRejectedText;
        ++m_rejected;
        return;
    }
    const double value = Val(amountDigits);
    const int t = m_marks.active() ? stakeTypeIndex(type) : -1;
    const NumberRule* rule = t >= 0 ? m_marks.ruleOf(t, digits) : nullptr;
    if (rule && rule->kind == RuleKind::Closed) {
        m_lines << digits + QLatin1Char('-') + amountDigits + ClosedNumberText;
        ++m_closed;
        return;
    }
    if (!m_aboveCeilingAllowed && value > static_cast<double>(m_ceiling)) {
        m_lines << digits + QLatin1Char('-') + amountDigits + AboveCeilingText;
        ++m_aboveCeiling;
        return;
    }
    const QString mark = m_marks.mark(rule, t, digits, value);
    stake->add(digits, value);
    m_bets.push_back(PendingBet{type, digits, amountDigits, stake->path(), static_cast<int>(m_lines.size())});
    m_lines << digits + QLatin1Char('-') + amountDigits + mark;
}

void EntryBatch::addListLine(const QString& line)
{
    m_lines << line;
}

void EntryBatch::addPlan(const EntryPlan& plan, bool gateProgress)
{
    if (plan.rejected) {
        m_lines << plan.rejectedText + BetRejectedText;
        ++m_rejected;
        return;
    }
    const bool ticking = plan.gates && gateProgress;
    if (ticking) m_store.progress().reset();
    for (const PlannedBet& bet : plan.bets) {
        if (ticking) m_store.progress().tick(plan.bets.size());
        addBet(bet.number, bet.amount, bet.type);
        m_lines << bet.linesAfter;
        if (ticking) m_store.progress().yield();
    }
    if (ticking) m_store.progress().hide();
}

void EntryBatch::addLine(const QString& line, const QString& type, bool gateProgress)
{
    addPlan(parseEntryLine(line, type, m_customer), gateProgress);
}

QList<BetChange> EntryBatch::pendingBets() const
{
    QList<BetChange> bets;
    for (const PendingBet& bet : m_bets)
        bets << BetChange{bet.type, bet.number, bet.amount, Val(bet.amount)};
    return bets;
}

EntryResult EntryBatch::commit()
{
    EntryResult result;
    result.customer = m_customer;
    result.aboveCeiling = m_aboveCeiling;
    result.closed = m_closed;
    result.rejected = m_rejected;
    m_rejected = 0;

    // The stakes and their counts are one commit: either every bet is stored and counted, or none
    // is and each says so. A kill between two files is completed at the next open.
    FolderTransaction tx(m_store);
    QStringList stakePaths;
    for (const PendingBet& bet : m_bets) {
        if (stakePaths.contains(bet.stakePath)) continue;
        stakePaths << bet.stakePath;
        const NumberFile& stake = m_files[bet.stakePath];
        if (stake.changed()) tx.replaceFile(bet.stakePath, stake.text() + CRLF);
    }
    QStringList countPaths;
    QStringList trailing;
    for (const PendingBet& bet : m_bets) {
        NumberFile* count = countFile(bet.type);
        if (!count) continue;
        if (!countPaths.contains(count->path())) countPaths << count->path();
        count->add(bet.number, 1);
    }
    for (const QString& path : countPaths)
        tx.replaceFile(path, m_files[path].text() + CRLF);
    const CommitResult committed = tx.commit();

    for (const PendingBet& bet : m_bets) {
        if (!committed.ok()) {
            m_lines[bet.line] += BetNotSavedText;
            ++result.notSaved;
            continue;
        }
        result.changes << BetChange{bet.type, bet.number, bet.amount, Val(bet.amount)};
        result.storedLines << bet.line;
    }
    // A stake file that failed is said by its bets; any other file by its name.
    for (const Outcome& failure : committed.failed)
        if (!stakePaths.contains(failure.file)) trailing << outcomeLine(failure);
    if (committed.ok() && m_marks.active()) {
        QSet<QString> told;
        for (const PendingBet& bet : m_bets) {
            if (told.contains(bet.stakePath)) continue;
            told.insert(bet.stakePath);
            NumberFile& stake = m_files[bet.stakePath];
            stake.markSaved(tx.writtenStamp(bet.stakePath));
            stakeFileSaved(typeIndex(bet.type), stake);
        }
    }

    // A damaged rules file is said once, after the first entry that meets it.
    trailing += takeRuleFileProblems(m_store);
    result.lines = m_lines + trailing;
    m_bets.clear();
    m_lines.clear();
    m_files.clear();
    return result;
}

FieldEntry planFieldEntry(const QString& gateList, const QString& numberText, const QString& amountText,
                          const QString& type, const QString& customer)
{
    FieldEntry entry;
    const QString amount = CleanName(amountText);
    const qsizetype plus = amount.indexOf(QLatin1Char('+'));
    // A third amount, or a "-" in the amount (a second number-amount pasted in), is a piece left
    // over: no bet of the entry is stored.
    if (amount.count(QLatin1Char('+')) > 1 || amountText.contains(QLatin1Char('-'))) {
        entry.plan.rejected = true;
        entry.plan.rejectedText = CleanName(numberText) + QLatin1Char('-') + amount;
        return entry;
    }

    if (!gateList.isEmpty()) {
        const qsizetype gates = gateList.count(QLatin1Char(' '));
        if (amount.isEmpty() || gates == 0) {
            entry.clearFields = false;
            return entry;
        }
        // A gate list takes only the first of two amounts.
        const QString each = plus < 0 ? amount : amount.left(plus);
        const QStringList pieces = gateList.split(QLatin1Char(' '));
        entry.plan.gates = true;
        for (qsizetype i = 0; i < gates; ++i)
            if (!pieces[i].isEmpty()) entry.plan.bets << PlannedBet{pieces[i], each, type, {}};
        return entry;
    }

    QString number = CleanName(numberText);
    if (plus < 0) {
        if (isPermutationType(type)) number = SortDigits(number);
        entry.plan.bets << PlannedBet{number, amount, type, {}};
    } else if (number.size() >= 1 && number.size() <= 3) {
        const QStringList amounts = amount.split(QLatin1Char('+'));
        entry.plan.bets = pairedBets(number, amounts[0], amounts[1], type, customer);
    }
    return entry;
}

QString EntryBatch::aboveCeilingQuestion(const EntryPlan& plan)
{
    if (plan.rejected) return {};
    const qint64 ceiling = m_ceiling;
    double highest = 0;
    int count = 0;
    for (const PlannedBet& bet : plan.bets) {
        const NumberFile* stake = stakeFile(bet.type);
        if (!stake) continue;
        const QString digits = storableAmount(*stake, bet.number, bet.amount);
        if (digits.isEmpty()) continue; // rejected anyway
        if (m_marks.active() && m_marks.isClosed(typeIndex(bet.type), DigitsOnly(bet.number))) continue;
        const double value = Val(digits);
        if (value <= static_cast<double>(ceiling)) continue;
        highest = std::max(highest, value);
        ++count;
    }
    if (count == 0) return {};
    QString text = QStringLiteral("ยอดแทง ") + formatCount(highest) + QStringLiteral(" บาท เกินยอดสูงสุดต่อรายการ ") +
                   formatCount(static_cast<double>(ceiling)) + QStringLiteral(" บาท");
    if (count > 1) text += QStringLiteral(" (") + QString::number(count) + QStringLiteral(" รายการ)");
    return text + QStringLiteral("\nต้องการบันทึกหรือไม่");
}

} // namespace varnoth
