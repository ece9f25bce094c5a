#include "entry/undo.h"

#include "core/model/text.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/numberfile.h"
#include "storage/folder/store.h"

#include <QMap>

namespace varnoth
{

namespace
{

// Takes the entry's amounts and counts off its files (sign -1) or puts them back (sign +1). Taking
// off is refused when a line now holds less than what is to be taken off.
UndoResult applyEntry(Store& store, const EntryResult& entry, double sign, const QString& doneText)
{
    UndoResult result;
    if (entry.changes.isEmpty()) {
        result.lines << NothingToTakeBackText;
        return result;
    }
    // What each file must give back: stake amounts per (file, number), counts per (file, number).
    QMap<QString, QMap<QString, double>> amounts;
    for (const BetChange& c : entry.changes) {
        const QString stake = store.StakeFilePath(c.type, entry.customer);
        const QString count = store.TypeFilePath(c.type, Store::CountPrefix);
        if (stake.isEmpty() || count.isEmpty()) {
            result.lines << CannotTakeBackText + c.number + QLatin1Char('-') + c.amount;
            return result;
        }
        amounts[stake][c.number] += c.value;
        amounts[count][c.number] += 1;
    }

    QMap<QString, NumberFile> files;
    for (auto f = amounts.cbegin(); f != amounts.cend(); ++f) {
        NumberFile file(store, f.key());
        if (!file.ok()) {
            result.lines << outcomeLine({Status::ReadFailed, f.key()});
            return result;
        }
        for (auto n = f.value().cbegin(); n != f.value().cend(); ++n) {
            if (!file.contains(n.key()) || (sign < 0 && file.value(n.key()) < n.value())) {
                result.lines << CannotTakeBackText + n.key() + QStringLiteral(" (") + Store::fileName(f.key()) +
                                    QLatin1Char(')');
                return result;
            }
            file.add(n.key(), sign * n.value());
        }
        files.insert(f.key(), file);
    }

    // Stake files first, then counts, as entry writes them, in one commit: all of them or none.
    FolderTransaction tx(store);
    for (auto pass : {0, 1})
        for (auto f = files.cbegin(); f != files.cend(); ++f) {
            const bool isCount = Store::fileName(f.key()).startsWith(Store::CountPrefix + QLatin1Char('_'));
            if (isCount != (pass == 1) || !f->changed()) continue;
            tx.replaceFile(f.key(), f->text() + CRLF);
        }
    QStringList failures;
    for (const Outcome& failure : tx.commit().failed)
        failures << outcomeLine(failure);
    for (const BetChange& c : entry.changes)
        result.lines << c.number + QLatin1Char('-') + c.amount + doneText;
    result.lines += failures;
    result.done = failures.isEmpty();
    return result;
}

} // namespace

UndoResult takeBack(Store& store, const EntryResult& entry)
{
    return applyEntry(store, entry, -1, TakenBackText);
}

UndoResult putBack(Store& store, const EntryResult& entry)
{
    return applyEntry(store, entry, 1, PutBackText);
}

UndoResult EntryHistory::undoLast(Store& store)
{
    if (m_entries.isEmpty()) return {{NothingToTakeBackText}, false};
    UndoResult r = takeBack(store, m_entries.last());
    if (r.done) m_entries.removeLast();
    return r;
}

} // namespace varnoth
