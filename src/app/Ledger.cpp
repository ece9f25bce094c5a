#include "app/Ledger.h"

#include "accounts/drawhistory.h"
#include "app/ledgertexts.h"
#include "entry/sheet.h"
#include "entry/undo.h"
#include "model/text.h"
#include "model/types.h"
#include "settings/options.h"
#include "store/session.h"
#include "store/store.h"

#include <QSaveFile>

namespace varnoth
{

namespace
{

// What a file held at one moment: its bytes, or that it was not there.
struct FileState {
    QByteArray bytes;
    bool exists = false;
    bool operator==(const FileState& other) const = default;
};

FileState stateOf(const Store& store, const QString& path)
{
    const FileBytes f = store.readBytes(path);
    return {f.bytes, f.exists};
}

bool restoreState(Store& store, const QString& path, const FileState& state)
{
    if (!state.exists) return !store.exists(path) || store.removeFile(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(state.bytes) != state.bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

enum Change : unsigned { Book = 1, Customers = 2, Settings = 4, History = 8 };

} // namespace

// One step on the undo stack. Its first redo is the operation itself, already done by the ledger
// when the step is pushed. A step that cannot be taken back (or done again) leaves the book as it is,
// and the ledger moves the stack back so that the step stays where it was.
class LedgerCommand : public QUndoCommand
{
public:
    LedgerCommand(Ledger& ledger, const QString& text, unsigned changes)
        : QUndoCommand(text), m_ledger(ledger), m_changes(changes)
    {
    }
    unsigned changes() const { return m_changes; }
    bool failed() const { return m_failed; }
    void clearFailure() { m_failed = false; }

    void undo() override
    {
        if (m_skipNext) {
            m_skipNext = false;
            return;
        }
        QStringList lines;
        m_failed = !takeBack(lines);
        m_skipNext = m_failed;
        m_ledger.m_commandLines = lines;
    }
    void redo() override
    {
        if (m_first) {
            m_first = false;
            return;
        }
        if (m_skipNext) {
            m_skipNext = false;
            return;
        }
        QStringList lines;
        m_failed = !doAgain(lines);
        m_skipNext = m_failed;
        m_ledger.m_commandLines = lines;
    }

protected:
    virtual bool takeBack(QStringList& lines) = 0;
    virtual bool doAgain(QStringList& lines) = 0;
    Store& store() { return m_ledger.store(); }

private:
    Ledger& m_ledger;
    unsigned m_changes;
    bool m_first = true;
    bool m_failed = false;
    bool m_skipNext = false; // the stack is being moved back over a step that did nothing
};

namespace
{

// An entry: its amounts and counts are taken off and put back by arithmetic, so that other entries
// on the same files since then stay as they are.
class EntryCommand : public LedgerCommand
{
public:
    EntryCommand(Ledger& ledger, const EntryResult& entry)
        : LedgerCommand(ledger, entryStepText(entry), Book), m_entry(entry)
    {
    }

protected:
    bool takeBack(QStringList& lines) override
    {
        const UndoResult r = varnoth::takeBack(store(), m_entry);
        lines = r.lines;
        return r.done;
    }
    bool doAgain(QStringList& lines) override
    {
        const UndoResult r = putBack(store(), m_entry);
        lines = r.lines;
        return r.done;
    }

private:
    EntryResult m_entry;
};

// Any other change: the files it touched, as they were before and after. Taking it back puts the
// files as they were before, only when they are still as the step left them.
class FilesCommand : public LedgerCommand
{
public:
    FilesCommand(Ledger& ledger, const QString& text, unsigned changes, QStringList paths, QList<FileState> before,
                 QList<FileState> after)
        : LedgerCommand(ledger, text, changes), m_paths(std::move(paths)), m_before(std::move(before)),
          m_after(std::move(after))
    {
    }

protected:
    bool takeBack(QStringList& lines) override { return move(m_after, m_before, lines, TakenBackStepText); }
    bool doAgain(QStringList& lines) override { return move(m_before, m_after, lines, DoneAgainStepText); }

private:
    bool move(const QList<FileState>& from, const QList<FileState>& to, QStringList& lines, const QString& done)
    {
        for (qsizetype i = 0; i < m_paths.size(); ++i)
            if (stateOf(store(), m_paths[i]) != from[i]) {
                lines << ChangedSinceText + Store::fileName(m_paths[i]);
                return false;
            }
        for (qsizetype i = 0; i < m_paths.size(); ++i)
            if (!restoreState(store(), m_paths[i], to[i])) {
                lines << outcomeLine({Status::WriteFailed, m_paths[i]});
                return false;
            }
        lines << text() + done;
        return true;
    }

    QStringList m_paths;
    QList<FileState> m_before;
    QList<FileState> m_after;
};

// The files a change of send-out lists touches: the history, the list and every send-out file.
QStringList sendOutPaths(const Store& store, const QString& name)
{
    QStringList paths{store.historyFile(), store.savedListFile(name)};
    for (const QString& type : typeNames()) {
        const QString path = store.TypeFilePath(type, Store::SendOutPrefix);
        if (!path.isEmpty()) paths << path;
    }
    return paths;
}

QList<FileState> statesOf(const Store& store, const QStringList& paths)
{
    QList<FileState> states;
    for (const QString& p : paths)
        states << stateOf(store, p);
    return states;
}

} // namespace

Ledger::Ledger(Store& store, Session& session, QObject* parent) : QObject(parent), m_store(store), m_session(session) {}

Ledger::~Ledger() = default;

void Ledger::push(LedgerCommand* command)
{
    m_undo.push(command);
}

QStringList Ledger::prepareCustomer(const QString& customer)
{
    const bool known = m_store.customers().contains(customer);
    const QStringList failures = m_store.creationSequence(customer);
    if (!known && m_store.customers().contains(customer)) emit customersChanged();
    return failures;
}

QString Ledger::aboveCeilingQuestion(const EntryPlan& plan, const QString& customer)
{
    EntryBatch batch(m_store, customer);
    return batch.aboveCeilingQuestion(plan);
}

EntryResult Ledger::enterPlan(const EntryPlan& plan, const QString& customer, bool aboveCeilingAllowed)
{
    EntryBatch batch(m_store, customer);
    if (aboveCeilingAllowed) batch.allowAboveCeiling();
    batch.addPlan(plan);
    EntryResult result = batch.commit();
    if (!result.changes.isEmpty()) {
        push(new EntryCommand(*this, result));
        emit bookChanged();
    }
    return result;
}

EntryResult Ledger::enterSheet(const QString& sheet, const QString& type, const QString& customer)
{
    EntryResult result = varnoth::enterSheet(m_store, sheet, type, customer);
    if (!result.changes.isEmpty()) {
        push(new EntryCommand(*this, result));
        emit bookChanged();
    }
    return result;
}

RecordResult Ledger::editRecord(const RecordRequest& request)
{
    const QString path = m_store.StakeFilePath(request.type, request.customer);
    const FileState before = stateOf(m_store, path);
    RecordResult result = varnoth::editRecord(m_store, request);
    if (result.written) {
        push(new FilesCommand(*this, recordStepText(EditStepText, request.number, request.amount), Book, {path},
                              {before}, {stateOf(m_store, path)}));
        emit bookChanged();
    }
    return result;
}

RecordResult Ledger::deleteRecord(const RecordRequest& request)
{
    const QString path = m_store.StakeFilePath(request.type, request.customer);
    const FileState before = stateOf(m_store, path);
    RecordResult result = varnoth::deleteRecord(m_store, request);
    if (result.written) {
        push(new FilesCommand(*this, recordStepText(DeleteStepText, request.oldNumber, request.oldAmount), Book, {path},
                              {before}, {stateOf(m_store, path)}));
        emit bookChanged();
    }
    return result;
}

HistorySave Ledger::saveSendOutList(const QString& name)
{
    const QStringList paths = sendOutPaths(m_store, enteredName(name));
    const QList<FileState> before = statesOf(m_store, paths);
    HistorySave result = varnoth::saveSendOutList(m_store, m_session.SendOutData, name);
    if (result.saved) {
        push(new FilesCommand(*this, SaveListStepText + enteredName(name), History | Book, paths, before,
                              statesOf(m_store, paths)));
        emit historyChanged();
        emit bookChanged();
    }
    return result;
}

QStringList Ledger::deleteSavedList(const QString& name)
{
    const QStringList paths = sendOutPaths(m_store, name);
    const QList<FileState> before = statesOf(m_store, paths);
    const QStringList lines = varnoth::deleteSavedList(m_store, name);
    const QList<FileState> after = statesOf(m_store, paths);
    if (after != before) {
        push(new FilesCommand(*this, DeleteListStepText + name, History | Book, paths, before, after));
        emit historyChanged();
        emit bookChanged();
    }
    return lines;
}

QStringList Ledger::saveSetting(const QString& windowMode, const QStringList& items, int editIndex,
                                const SettingEdit& edit)
{
    const QStringList lines = SaveSetting(m_store, windowMode, items, editIndex, edit);
    emit settingsChanged();
    return lines;
}

QStringList Ledger::saveResult(const DrawnNumbers& fields)
{
    const QStringList lines = SaveResult(m_store, fields);
    emit settingsChanged();
    return lines;
}

QStringList Ledger::setOption(const QString& key, const QString& value)
{
    const QStringList lines = setOptionValue(m_store, key, value);
    if (lines.isEmpty()) emit settingsChanged();
    return lines;
}

NameEntry Ledger::addCustomerName(const QString& text)
{
    NameEntry entry = AddCustomerName(m_store, text);
    emit customersChanged();
    return entry;
}

QStringList Ledger::removeCustomer(const QString& name)
{
    const QStringList lines = varnoth::removeCustomer(m_store, name);
    emit customersChanged();
    return lines;
}

RateChange Ledger::setCustomerRate(const QString& customer, const QString& type, const QString& payout,
                                   const QString& discount)
{
    RateChange change = varnoth::setCustomerRate(m_store, customer, type, payout, discount);
    if (change.changed()) {
        emit accountsChanged();
        emit settingsChanged();
    }
    return change;
}

PaymentResult Ledger::recordPayment(const QString& customer, const QString& amount, const QDateTime& when)
{
    const QString name = CleanName(customer);
    const Statement statement = statementOf(m_store, name, listPastDraws(m_store));
    if (!statement.problems.isEmpty()) {
        // Without every earlier payment the amount due is unknown: nothing is recorded.
        PaymentResult refused;
        refused.refusal = statement.problems.first();
        refused.lines = statement.problems;
        return refused;
    }
    PaymentResult result = appendPayment(m_store, name, statement.due(), amount, when);
    if (result.recorded()) emit accountsChanged();
    return result;
}

BackupResult Ledger::backup(const QString& drive)
{
    return writeBackup(m_store, drive);
}

MergeResult Ledger::restore(const QString& drive)
{
    MergeResult result = runRestore(m_store, drive);
    emit customersChanged();
    emit bookChanged();
    return result;
}

NewDrawResult Ledger::newDraw()
{
    NewDrawResult result = startNewDraw(m_store);
    if (!result.done) return result;
    // Nothing of the old book can be taken back into the new one; its copy is the dated folder.
    m_undo.clear();
    emit customersChanged();
    emit settingsChanged();
    emit historyChanged();
    emit bookChanged();
    emit newDrawStarted();
    return result;
}

QStringList Ledger::undo()
{
    if (!m_undo.canUndo()) return {NothingToTakeBackText};
    auto* command = static_cast<LedgerCommand*>(const_cast<QUndoCommand*>(m_undo.command(m_undo.index() - 1)));
    m_commandLines.clear();
    m_undo.undo();
    if (command->failed()) m_undo.redo(); // the step did nothing: it stays on the stack, still done
    command->clearFailure();
    const unsigned changes = command->changes();
    if (changes & Book) emit bookChanged();
    if (changes & History) emit historyChanged();
    return m_commandLines;
}

QStringList Ledger::redo()
{
    if (!m_undo.canRedo()) return {NothingToDoAgainText};
    auto* command = static_cast<LedgerCommand*>(const_cast<QUndoCommand*>(m_undo.command(m_undo.index())));
    m_commandLines.clear();
    m_undo.redo();
    if (command->failed()) m_undo.undo();
    command->clearFailure();
    const unsigned changes = command->changes();
    if (changes & Book) emit bookChanged();
    if (changes & History) emit historyChanged();
    return m_commandLines;
}

} // namespace varnoth
