#include "audit/recheck.h"

#include "audit/audittexts.h"
#include "entry/sheet.h"
#include "storage/folder/store.h"

namespace varnoth
{

namespace
{

bool isBetAction(AuditAction a)
{
    return a == AuditAction::Bet || a == AuditAction::Sheet || a == AuditAction::ChatPaste;
}

bool sameAmount(const QString& a, const QString& b)
{
    return a.toDouble() == b.toDouble();
}

bool samePlace(const CheckedBet& a, const CheckedBet& b)
{
    return a.type == b.type && a.number == b.number;
}

} // namespace

QList<CheckDifference> compareBets(const QList<CheckedBet>& stored, const QList<CheckedBet>& keyed)
{
    QList<bool> storedUsed(stored.size(), false);
    QList<bool> keyedUsed(keyed.size(), false);
    for (qsizetype s = 0; s < stored.size(); ++s)
        for (qsizetype k = 0; k < keyed.size(); ++k)
            if (!keyedUsed[k] && samePlace(stored[s], keyed[k]) && sameAmount(stored[s].amount, keyed[k].amount)) {
                storedUsed[s] = keyedUsed[k] = true;
                break;
            }
    QList<CheckDifference> differences;
    for (qsizetype s = 0; s < stored.size(); ++s) {
        if (storedUsed[s]) continue;
        const CheckedBet& bet = stored[s];
        CheckDifference d{CheckDifference::Kind::Missing, bet.type, bet.number, bet.amount, {}};
        for (qsizetype k = 0; k < keyed.size(); ++k)
            if (!keyedUsed[k] && samePlace(bet, keyed[k])) {
                keyedUsed[k] = true;
                d.kind = CheckDifference::Kind::Amount;
                d.keyed = keyed[k].amount;
                break;
            }
        differences << d;
    }
    for (qsizetype k = 0; k < keyed.size(); ++k)
        if (!keyedUsed[k])
            differences << CheckDifference{
                CheckDifference::Kind::Extra, keyed[k].type, keyed[k].number, {}, keyed[k].amount};
    return differences;
}

QList<CheckedBet> entryBets(const AuditIndex& index, qint64 entry, const QString& customer)
{
    AuditFilter filter;
    filter.customer = customer;
    filter.entry = entry;
    AuditSelection selection = selectAudit(index, filter);
    QList<CheckedBet> bets;
    for (auto row = selection.rows.rbegin(); row != selection.rows.rend(); ++row) {
        AuditRecord r;
        if (!index.record(*row, r)) continue;
        if (isBetAction(r.action) || r.action == AuditAction::DoAgain) {
            bets << CheckedBet{r.type, r.number, r.after};
        } else if (r.action == AuditAction::TakeBack) {
            for (qsizetype i = bets.size() - 1; i >= 0; --i)
                if (bets[i].type == r.type && bets[i].number == r.number && sameAmount(bets[i].amount, r.before)) {
                    bets.removeAt(i);
                    break;
                }
        }
    }
    return bets;
}

qint64 newestEntryOf(const AuditIndex& index, const QString& customer, const QString& type)
{
    AuditFilter filter;
    filter.customer = customer;
    filter.type = type;
    const AuditSelection selection = selectAudit(index, filter);
    for (qint64 row : selection.rows) {
        AuditRecord r;
        if (index.record(row, r) && isBetAction(r.action)) return r.entry;
    }
    return 0;
}

SheetCheck checkSheet(Store& store, const QString& logPath, const QString& sheet, const QString& type,
                      const QString& customer, qint64 entry)
{
    SheetCheck check;
    AuditIndex index;
    if (!index.load(logPath)) {
        check.lines << AuditCannotReadText + Store::fileName(logPath);
        return check;
    }
    check.entry = entry > 0 ? entry : newestEntryOf(index, customer, type);
    const QList<CheckedBet> stored = check.entry > 0 ? entryBets(index, check.entry, customer) : QList<CheckedBet>();
    if (stored.isEmpty()) {
        check.entry = 0;
        check.lines << CheckNoEntryText;
        return check;
    }
    QList<CheckedBet> keyed;
    for (const BetChange& bet : sheetBets(store, sheet, type, customer))
        keyed << CheckedBet{bet.type, bet.number, bet.amount};
    check.stored = static_cast<int>(stored.size());
    check.differences = compareBets(stored, keyed);
    check.lines = checkLines(check.entry, type, customer, check.stored, check.differences);
    return check;
}

QStringList checkLines(qint64 entry, const QString& type, const QString& customer, int storedCount,
                       const QList<CheckDifference>& differences)
{
    QStringList lines{CheckHeaderText.arg(entry).arg(type, customer)};
    for (const CheckDifference& d : differences) {
        switch (d.kind) {
        case CheckDifference::Kind::Missing:
            lines << d.type + QLatin1Char(' ') + d.number + QLatin1Char('-') + d.stored + CheckMissingText;
            break;
        case CheckDifference::Kind::Extra:
            lines << d.type + QLatin1Char(' ') + d.number + QLatin1Char('-') + d.keyed + CheckExtraText;
            break;
        case CheckDifference::Kind::Amount:
            lines << d.type + QLatin1Char(' ') + d.number + QLatin1Char('-') + d.keyed + CheckAmountText.arg(d.stored);
            break;
        }
    }
    lines << (differences.isEmpty() ? CheckSameText.arg(storedCount) : CheckDifferencesText.arg(differences.size()));
    return lines;
}

} // namespace varnoth
