#include "settings/history.h"

#include "core/model/text.h"
#include "reports/sendout.h"
#include "settings/customers.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/store.h"

namespace varnoth
{

QStringList ListHistory(const Store& store)
{
    QStringList names;
    for (const QString& n : splitText(withoutLineEnds(store.ReadWholeFile(store.historyFile())), QStringLiteral("#")))
        if (!n.isEmpty()) names << n;
    return names;
}

bool isSafeListName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) return false;
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar c : name)
        if (forbidden.contains(c) || c.category() == QChar::Other_Control) return false;
    bool encodable = true;
    encodeWindows874(name, &encodable);
    return encodable;
}

HistorySave saveSendOutList(Store& store, const QString& sendOutData, const QString& text1, const AlsoInCommit& also)
{
    return saveSendOutLists(store, {{text1, sendOutData}}, also);
}

HistorySave saveSendOutLists(Store& store, const QList<ListToSave>& lists, const AlsoInCommit& also)
{
    HistorySave result{false, {}, lists.isEmpty() ? QString() : lists.first().name, {}};
    if (lists.isEmpty()) {
        result.outcome.status = Status::NothingToSave;
        return result;
    }
    for (const ListToSave& list : lists) {
        if (list.data.isEmpty() || enteredName(list.name).isEmpty()) {
            result.outcome.status = Status::NothingToSave;
            return result;
        }
        if (!isSafeListName(enteredName(list.name))) {
            result.outcome.status = Status::UnsafeName;
            result.lines << outcomeLine(result.outcome);
            return result;
        }
    }
    const QString histPath = store.historyFile();
    const FileText histFile = store.readFile(histPath);
    if (histFile.exists && !histFile.readable) {
        result.outcome = {Status::ReadFailed, histPath};
        result.lines << outcomeLine(result.outcome);
        return result;
    }
    QString hist = withoutLineEnds(histFile.text);
    // The lists, their names in the history and the amounts sent out are one commit: a list that the
    // history does not name could never be opened or deleted.
    FolderTransaction tx(store);
    QString allData;
    for (const ListToSave& list : lists) {
        const QString name = enteredName(list.name);
        // A name inside a longer one is refused too, as "mon" inside "monday".
        if (!hist.isEmpty() && hist.contains(name)) {
            result.outcome.status = Status::NameTaken;
            result.text1 = outcomeLine(result.outcome);
            return result;
        }
        hist = hist.isEmpty() ? QLatin1Char('#') + name + QLatin1Char('#') : hist + name + QLatin1Char('#');
        tx.replaceFile(store.savedListFile(name), list.data + CRLF);
        allData += list.data;
    }
    tx.replaceFile(histPath, hist + CRLF);
    // One pass over the joined lists, so that each send-out file is read and written once.
    const QStringList unreadable = applySendOut(store, tx, allData, +1);
    if (also) also(tx);
    if (const CommitResult committed = tx.commit(); !committed.ok()) {
        result.outcome = committed.outcome;
        result.lines << outcomeLine(result.outcome);
        return result;
    }
    result.lines << unreadable;
    result.saved = true;
    result.text1.clear();
    return result;
}

QStringList openSavedList(const Store& store, const QString& name)
{
    QStringList lines{QLatin1Char('<') + name + QLatin1Char('>')};
    double count = 0, sum = 0;
    if (isSafeListName(name)) {
        const FileText file = store.readFile(store.savedListFile(name));
        if (file.exists && !file.readable) lines << outcomeLine({Status::ReadFailed, store.savedListFile(name)});
        for (const QString& piece : splitText(withoutLineEnds(file.text), QStringLiteral("#"))) {
            if (piece.isEmpty()) continue;
            lines << piece;
            const qsizetype dash = piece.indexOf(QLatin1Char('-'));
            if (dash < 0) continue;
            ++count;
            sum += Val(piece.mid(dash + 1));
        }
    }
    lines << QStringLiteral("จำนวนเลข ") + formatCount(count) + QStringLiteral(" รายการ");
    lines << QStringLiteral("จำนวนเงิน ") + formatAmount(sum) + QStringLiteral(" บาท");
    lines << Separator;
    return lines;
}

ChangeResult deleteSavedList(Store& store, const QString& name, const AlsoInCommit& also)
{
    if (name.isEmpty()) return {};
    // A name that reached the history some other way must not lead outside the data folder.
    if (!isSafeListName(name)) return changeFailed({Status::UnsafeName, {}});
    const QString listPath = store.savedListFile(name);
    const FileText list = store.readFile(listPath);
    // The amounts of a list that cannot be read cannot be taken back; keep the list and its name.
    if (list.exists && !list.readable) return changeFailed({Status::ReadFailed, listPath});
    const QString histPath = store.historyFile();
    const FileText histFile = store.readFile(histPath);
    if (histFile.exists && !histFile.readable) return changeFailed({Status::ReadFailed, histPath});

    // The name leaves the history, the amounts are taken back and the list goes in one commit: a
    // failure leaves all three as they were, and the delete can simply be tried again.
    QString hist = withoutLineEnds(histFile.text);
    const QString entry = QLatin1Char('#') + name + QLatin1Char('#');
    FolderTransaction tx(store);
    if (hist.contains(entry)) {
        hist.replace(entry, QStringLiteral("#"));
        tx.replaceFile(histPath, hist + CRLF);
    }
    ChangeResult result;
    result.lines = applySendOut(store, tx, withoutLineEnds(list.text), -1);
    // So does a send-out file that cannot be read: what was sent of its type could not be taken
    // back, and the list is the only record of it.
    if (!result.lines.isEmpty()) {
        result.outcome = {Status::ReadFailed, {}};
        return result;
    }
    tx.removeFile(listPath);
    if (also) also(tx);
    const QList<Outcome> failed = tx.commit().failed;
    for (const Outcome& failure : failed)
        result.lines << outcomeLine(failure);
    if (!failed.isEmpty()) result.outcome = failed.first();
    return result;
}

} // namespace varnoth
