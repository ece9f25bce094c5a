#include "app/Ledger.h"
#include "app/bookreader.h"
#include "storage/folder/folderbookstore.h"

#include "accounts/accounttexts.h"
#include "accounts/dealerstatement.h"
#include "accounts/dealertexts.h"
#include "accounts/drawhistory.h"
#include "accounts/splitsend.h"
#include "app/ledgertexts.h"
#include "audit/auditread.h"
#include "audit/audittexts.h"
#include "core/model/customername.h"
#include "core/model/listtexts.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/chattexts.h"
#include "entry/picturetexts.h"
#include "entry/sheet.h"
#include "entry/undo.h"
#include "reports/reportstate.h"
#include "settings/options.h"
#include "settings/resulttexts.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/intent.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"
#include "tools/backuptexts.h"
#include "tools/newdraw.h"
#include "tools/restore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileSystemWatcher>
#include <QSet>
#include <QTimer>

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

enum Change : unsigned { Book = 1, Customers = 2, Settings = 4, History = 8, Accounts = 16 };

QString textOf(QByteArrayView view)
{
    return QString::fromLatin1(view);
}

QString textOf(QStringView view)
{
    return view.toString();
}

// The amount of a number in a stake file's bytes, as its line holds it ("" when it has no line).
QString stakeAmount(const QByteArray& bytes, const QString& number)
{
    QString amount;
    bool found = false;
    forEachNumberLine(QByteArrayView(bytes), [&](const auto& line) {
        if (found || !line.hasDash() || textOf(line.number()) != number) return;
        found = true;
        amount = textOf(line.amount());
    });
    return amount;
}

AuditEvent again(AuditEvent event, const QString& step)
{
    event.action = AuditAction::DoAgain;
    event.detail = step;
    return event;
}

// The same change seen from its other end: what taking it back does.
AuditEvent reversed(AuditEvent event, AuditAction action, const QString& step)
{
    std::swap(event.before, event.after);
    event.action = action;
    event.detail = step;
    return event;
}

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
    // The lines the step wrote into the audit log, under its entry number: taking the step back and
    // doing it again are logged under the same number, so that an entry can be followed whole.
    void setAudit(QList<AuditEvent> events, qint64 entry)
    {
        m_events = std::move(events);
        m_entry = entry;
    }
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
        if (!m_failed) logAgain(true);
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
        if (!m_failed) logAgain(false);
    }

protected:
    virtual bool takeBack(QStringList& lines) = 0;
    virtual bool doAgain(QStringList& lines) = 0;
    Store& store() { return m_ledger.store(); }

private:
    void logAgain(bool takenBack)
    {
        QList<AuditEvent> lines;
        for (const AuditEvent& e : std::as_const(m_events))
            lines << (takenBack ? reversed(e, AuditAction::TakeBack, text()) : again(e, text()));
        m_ledger.audit(lines, m_entry);
    }

    Ledger& m_ledger;
    unsigned m_changes;
    QList<AuditEvent> m_events;
    qint64 m_entry = 0;
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
    EntryCommand(Ledger& ledger, const EntryResult& entry) : EntryCommand(ledger, entry, entryStepText(entry)) {}
    EntryCommand(Ledger& ledger, const EntryResult& entry, const QString& text)
        : LedgerCommand(ledger, text, Book), m_entry(entry)
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
        // One commit: a step taken back or done again is never left half way between its files.
        FolderTransaction tx(store());
        for (qsizetype i = 0; i < m_paths.size(); ++i) {
            if (to[i].exists)
                tx.replaceBytes(m_paths[i], to[i].bytes);
            else
                tx.removeFile(m_paths[i]);
        }
        if (const CommitResult r = tx.commit(); !r.ok()) {
            lines << outcomeLine(r.outcome);
            return false;
        }
        lines << text() + done;
        return true;
    }

    QStringList m_paths;
    QList<FileState> m_before;
    QList<FileState> m_after;
};

// A payment: taking it back adds the line that reverses it, doing it again adds the payment anew, so
// that the payments file only ever grows.
class PaymentCommand : public LedgerCommand
{
public:
    // `file`: the customers' payments, or the dealers' (with the step's own text).
    PaymentCommand(Ledger& ledger, const Payment& payment, const QString& file = PaymentsFileName,
                   const QString& step = PaymentStepText)
        : LedgerCommand(ledger, step + paymentText(payment), Accounts), m_payment(payment), m_file(file)
    {
    }

protected:
    bool takeBack(QStringList& lines) override
    {
        const PaymentResult r = appendReversal(store(), m_payment, QDateTime::currentDateTime(), m_file);
        lines = r.lines;
        return r.recorded();
    }
    bool doAgain(QStringList& lines) override
    {
        Payment again = m_payment;
        again.when = QDateTime::currentDateTime();
        const PaymentResult r = appendPaymentLine(store(), again, m_file);
        lines = r.lines;
        if (r.recorded()) m_payment = again;
        return r.recorded();
    }

private:
    Payment m_payment;
    QString m_file;
};

// The files a change of send-out lists touches: the history, the list and every send-out file.
QStringList sendOutPaths(const Store& store, const QString& name)
{
    QStringList paths{store.historyFile(), store.savedListFile(name), store.path(DealerListsFileName)};
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

namespace
{

QList<AuditEvent> betEvents(const EntryResult& entry, AuditAction action, const QString& detail = QString())
{
    QList<AuditEvent> events;
    for (const BetChange& bet : entry.changes)
        events << AuditEvent{action, bet.type, entry.customer, bet.number, {}, bet.amount, detail};
    return events;
}

} // namespace

Ledger::Ledger(Store& store, ReportState& session, QObject* parent)
    : QObject(parent), m_store(store), m_session(session), m_key(loadAuditKey(auditSettingsFolder())),
      m_anchorPath(auditAnchorPath(store.dataFolder()))
{
    m_store.setProgress(&m_progress);
    if (!m_key.isValid())
        qWarning("%s", qUtf8Printable(QStringLiteral("audit log: no key in ") + auditSettingsFolder()));
    // Before anything reads the book: a new draw cut off by a kill or a power cut is completed, so
    // that what is left of the old draw is never counted beside its copy. The copy keeps the old log.
    // First a save cut off between two files: the book's files are whole again before the draw's.
    m_startLines = completeInterruptedSave(m_store).lines();
    const DrawCompletion completion = completeInterruptedDraws(m_store);
    m_startLines += completion.lines;
    openAudit();
    m_reader = std::make_unique<BookReader>(m_store, auditLogPath(), m_key);
    for (const QString& copy : completion.completed)
        audit({AuditAction::NewDraw, {}, {}, {}, {}, {}, QDir::toNativeSeparators(copy)});
}

Ledger::~Ledger()
{
    if (&m_store.progress() == &m_progress) m_store.setProgress(nullptr);
}

void Ledger::SignalProgress::tick(qint64 total)
{
    const int step = m_counter.tick(total, true);
    if (step >= 0) emit m_ledger.progressStep(step);
}

void Ledger::SignalProgress::tickLong(qint64 total)
{
    emit m_ledger.progressStep(m_counter.tick(total, false));
}

void Ledger::SignalProgress::yield()
{
    // Let the windows repaint now and then; user input waits until the operation is done, so an
    // impatient second Enter cannot start a second change halfway through the first.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastYield < 30) return;
    m_lastYield = now;
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString Ledger::bookOperator() const
{
    if (!m_runOperator.isEmpty()) return m_runOperator;
    // A stored name the log cannot take (a hand-edited file) gives way to the computer's user name.
    const QString name = storedOperatorName(m_store);
    return name.isEmpty() ? systemUserName() : name;
}

void Ledger::openAudit(bool checkAnchor)
{
    if (!m_audit.open(auditLogPath(), systemUserName(), bookOperator(), m_key))
        qWarning("%s", qUtf8Printable(AuditCannotWriteText + auditLogPath()));
    if (!checkAnchor || m_anchorPath.isEmpty()) return;
    const std::optional<AuditAnchor> anchor = readAuditAnchor(m_anchorPath);
    if (!anchor) return;
    const AnchorMatch match = matchAuditAnchor(auditLogPath(), *anchor);
    if (match == AnchorMatch::Same || match == AnchorMatch::Longer) return;
    // A new draw stopped after it moved the log into its copy (and perhaps began the new one): the
    // anchor is that copy's log's.
    const QList<PastDraw> draws = listPastDraws(m_store);
    if (!draws.isEmpty() &&
        matchAuditAnchor(QDir(draws.last().folder).filePath(AuditLogFileName), *anchor) == AnchorMatch::Same) {
        writeAuditAnchor(m_anchorPath, m_audit.anchor());
        return;
    }
    // Cut, emptied or written anew since this computer last wrote it: the log says so itself, in a
    // keyed line, before its next line.
    m_audit.recordBreak(AuditAnchorBreakText + QStringLiteral(" (%1)").arg(anchor->lines));
}

void Ledger::saveAnchor()
{
    if (!m_anchorPath.isEmpty() && !writeAuditAnchor(m_anchorPath, m_audit.anchor()))
        qWarning("%s", qUtf8Printable(QStringLiteral("audit log: cannot write the anchor ") + m_anchorPath));
}

void Ledger::followBook()
{
    if (m_bookWatch) return;
    // Every change of a data file by a copy of the program replaces it in the folder, so watching the
    // folder follows every entry, edit, restore and new draw, from wherever it comes; the folder's
    // journal says which files changed (where the system keeps no journal, everything is taken as
    // changed).
    FolderBookStore book(m_store);
    m_followedTo = book.changesEnd();
    m_bookWatch = new QFileSystemWatcher(this);
    m_bookWatch->addPath(m_store.dataFolder());
    m_touchedQuiet = new QTimer(this);
    m_touchedQuiet->setSingleShot(true);
    m_touchedQuiet->setInterval(20);
    connect(m_bookWatch, &QFileSystemWatcher::directoryChanged, m_touchedQuiet, qOverload<>(&QTimer::start));
    // A file written in place (a text editor's save) leaves the folder as it was; the journal sees it.
    auto* poll = new QTimer(this);
    poll->setInterval(300);
    connect(poll, &QTimer::timeout, this, [this] {
        if (m_store.changesEnd() != m_followedTo && !m_touchedQuiet->isActive()) m_touchedQuiet->start();
    });
    poll->start();
    connect(m_touchedQuiet, &QTimer::timeout, this, [this] {
        FolderBookStore followed(m_store);
        const Changes what = followed.changedSince(m_followedTo);
        m_followedTo = followed.changesEnd();
        if (!what.isEmpty()) emit bookTouched(what);
    });
}

QString Ledger::auditLogPath() const
{
    return m_store.path(AuditLogFileName);
}

QString Ledger::setOperatorName(const QString& name)
{
    const QString refusal = operatorNameRefusal(name.trimmed());
    if (!refusal.isEmpty()) return refusal;
    m_runOperator = name.trimmed();
    m_audit.setOperatorName(bookOperator());
    return {};
}

qint64 Ledger::audit(const AuditEvent& event)
{
    return audit(QList<AuditEvent>{event});
}

qint64 Ledger::audit(const QList<AuditEvent>& events, qint64 entry)
{
    if (events.isEmpty()) return entry;
    if (entry <= 0) entry = m_audit.nextEntry();
    const QDateTime now = QDateTime::currentDateTime();
    for (const AuditEvent& e : events)
        if (!m_audit.append(e, entry, now)) {
            const QString line = AuditCannotWriteText + QDir::toNativeSeparators(auditLogPath());
            qWarning("%s", qUtf8Printable(line));
            emit auditFailed(line);
            break;
        }
    saveAnchor();
    return entry;
}

void Ledger::push(LedgerCommand* command)
{
    // Whose step it is as its audit lines name him: a step the owner allowed at a keyer's seat is the
    // owner's, not the keyer's to take back.
    m_stepKeyers.insert(command, m_audit.operatorName());
    m_undo.push(command);
}

void Ledger::pushFiles(LedgerCommand* command, const QList<AuditEvent>& events)
{
    command->setAudit(events, audit(events));
    push(command);
}

void Ledger::pushEntry(const EntryResult& result, AuditAction action, const QString& stepText, const QString& source)
{
    auto* command = stepText.isEmpty() ? new EntryCommand(*this, result) : new EntryCommand(*this, result, stepText);
    // A bet stored once the result is out carries the mark on its line, so that the log shows it; the
    // mark comes first, and where the bets were read (a picture) follows it.
    QStringList detail;
    if (resultSaved(m_store)) detail << AuditAfterResultText;
    if (!source.isEmpty()) detail << source;
    const QList<AuditEvent> events = betEvents(result, action, detail.join(QLatin1Char(' ')));
    command->setAudit(events, events.isEmpty() ? 0 : audit(events));
    push(command);
}

QString Ledger::afterResultQuestion()
{
    if (!resultSaved(m_store)) return {};
    const QString first = CleanName(LoadResult(m_store)[0]);
    return AfterResultQuestion.arg(first.isEmpty() ? QStringLiteral("-") : first);
}

QString Ledger::afterResultRefusal(bool afterResultAllowed)
{
    return afterResultAllowed || !resultSaved(m_store) ? QString() : AfterResultRefusedText;
}

EntryResult Ledger::refusedEntry(const QString& customer, const QString& refusal) const
{
    EntryResult refused;
    refused.customer = customer;
    refused.lines << refusal;
    return refused;
}

ChangeResult Ledger::linesResult(qsizetype failuresBefore, QStringList lines) const
{
    const QList<Outcome>& failures = m_store.failures();
    for (qsizetype i = failuresBefore; i < failures.size(); ++i)
        if (!failures[i].ok()) return {failures[i], std::move(lines)};
    return {{lines.isEmpty() ? Status::Ok : Status::Refused, {}}, std::move(lines)};
}

ChangeResult Ledger::prepareCustomer(const QString& customer)
{
    if (auto no = guard(Act::KeyBets)) return *no;
    if (const QString refusal = customerNameRefusal(customer); !refusal.isEmpty())
        return {{Status::UnsafeName, {}}, {refusal}};
    const bool known = m_store.customers().contains(customer);
    const qsizetype failuresBefore = m_store.failures().size();
    QStringList failures = m_store.creationSequence(customer);
    if (!known && m_store.customers().contains(customer)) {
        audit({AuditAction::CustomerAdded, {}, customer, {}, {}, {}, {}});
        emit customersChanged();
    }
    ChangeResult result = linesResult(failuresBefore, std::move(failures));
    // The creation sequence says only what it could not do: a line with no failure of the store
    // behind it is still a file it could not make.
    if (result.outcome.status == Status::Refused) result.outcome.status = Status::WriteFailed;
    return result;
}

QString Ledger::aboveCeilingQuestion(const EntryPlan& plan, const QString& customer)
{
    EntryBatch batch(m_store, customer);
    return batch.aboveCeilingQuestion(plan);
}

EntryResult Ledger::enterPlan(const EntryPlan& plan, const QString& customer, bool aboveCeilingAllowed,
                              bool afterResultAllowed)
{
    if (auto no = guard(Act::KeyBets)) return refusedEntry(customer, no->line);
    // An entry that holds no bet is listed as it is.
    const QString refusal = plan.bets.isEmpty() ? QString() : afterResultRefusal(afterResultAllowed);
    if (!refusal.isEmpty()) return refusedEntry(customer, refusal);
    if (const QString name = customerNameRefusal(customer); !name.isEmpty()) return refusedEntry(customer, name);
    EntryBatch batch(m_store, customer);
    if (aboveCeilingAllowed) batch.allowAboveCeiling();
    batch.addPlan(plan);
    EntryResult result = batch.commit();
    nameKeyer(result);
    if (!result.changes.isEmpty()) {
        pushEntry(result, AuditAction::Bet);
        emit bookChanged();
    }
    return result;
}

EntryResult Ledger::enterSheet(const QString& sheet, const QString& type, const QString& customer,
                               bool afterResultAllowed)
{
    if (auto no = guard(Act::KeyBets)) return refusedEntry(customer, no->line);
    if (const QString refusal = afterResultRefusal(afterResultAllowed); !refusal.isEmpty())
        return refusedEntry(customer, refusal);
    if (const QString name = customerNameRefusal(customer); !name.isEmpty()) return refusedEntry(customer, name);
    EntryResult result = varnoth::enterSheet(m_store, sheet, type, customer);
    nameKeyer(result);
    if (!result.changes.isEmpty()) {
        pushEntry(result, AuditAction::Sheet);
        emit bookChanged();
    }
    return result;
}

EntryResult Ledger::enterChat(const QList<ChatBet>& bets, const QString& customer, bool afterResultAllowed)
{
    return enterReadBets(bets, customer, afterResultAllowed, ChatStepText, {});
}

EntryResult Ledger::enterPicture(const QList<ChatBet>& bets, const QString& customer, const QByteArray& digest,
                                 bool afterResultAllowed)
{
    return enterReadBets(bets, customer, afterResultAllowed, PictureStepText,
                         PictureAuditText + QString::fromLatin1(digest));
}

EntryResult Ledger::enterReadBets(const QList<ChatBet>& bets, const QString& customer, bool afterResultAllowed,
                                  const QString& stepText, const QString& source)
{
    if (auto no = guard(Act::KeyBets)) return refusedEntry(customer, no->line);
    if (const QString refusal = afterResultRefusal(afterResultAllowed); !refusal.isEmpty())
        return refusedEntry(customer, refusal);
    if (const QString name = customerNameRefusal(customer); !name.isEmpty()) return refusedEntry(customer, name);
    const QStringList failures = prepareCustomer(customer).lines;
    EntryBatch batch(m_store, customer);
    QString shownType;
    for (const ChatBet& bet : bets) {
        // The list says which type each run of bets went to, as a paired amount does.
        if (bet.type != shownType) batch.addListLine(headerLine(bet.type, customer));
        shownType = bet.type;
        batch.addBet(bet.number, bet.amount, bet.type);
    }
    EntryResult result = batch.commit();
    nameKeyer(result);
    result.lines = failures + result.lines;
    for (int& line : result.storedLines)
        line += static_cast<int>(failures.size());
    if (!result.changes.isEmpty()) {
        pushEntry(result, AuditAction::ChatPaste, stepText + QString::number(result.changes.size()) + ChatBetsUnit,
                  source);
        emit bookChanged();
    }
    return result;
}

RecordResult Ledger::editRecord(const RecordRequest& request)
{
    if (auto no = guard(recordAct(request))) return *no;
    const QString path = recordFilePath(m_store, request);
    const FileState before = stateOf(m_store, path);
    RecordResult result = varnoth::editRecord(m_store, request);
    if (result.written) {
        const FileState after = stateOf(m_store, path);
        AuditEvent e{AuditAction::Edit,
                     request.type,
                     request.customer,
                     request.oldNumber,
                     stakeAmount(before.bytes, request.oldNumber),
                     stakeAmount(after.bytes, request.number),
                     {}};
        if (request.number != request.oldNumber) e.detail = request.oldNumber + QStringLiteral(" > ") + request.number;
        pushFiles(new FilesCommand(*this, recordStepText(EditStepText, request.number, request.amount), Book, {path},
                                   {before}, {after}),
                  {e});
        emit bookChanged();
    }
    return result;
}

RecordResult Ledger::deleteRecord(const RecordRequest& request)
{
    if (auto no = guard(recordAct(request))) return *no;
    const QString path = recordFilePath(m_store, request);
    const FileState before = stateOf(m_store, path);
    RecordResult result = varnoth::deleteRecord(m_store, request);
    if (result.written) {
        const FileState after = stateOf(m_store, path);
        pushFiles(new FilesCommand(*this, recordStepText(DeleteStepText, request.oldNumber, request.oldAmount), Book,
                                   {path}, {before}, {after}),
                  {{AuditAction::Delete,
                    request.type,
                    request.customer,
                    request.oldNumber,
                    stakeAmount(before.bytes, request.oldNumber),
                    stakeAmount(after.bytes, request.number),
                    {}}});
        emit bookChanged();
    }
    return result;
}

HistorySave Ledger::saveSendOutList(const QString& name)
{
    if (auto no = guard(Act::SendOut)) return *no;
    const QStringList paths = sendOutPaths(m_store, enteredName(name));
    const QList<FileState> before = statesOf(m_store, paths);
    HistorySave result = varnoth::saveSendOutList(m_store, m_session.SendOutData, name);
    if (result.saved) {
        pushFiles(new FilesCommand(*this, SaveListStepText + enteredName(name), History | Book, paths, before,
                                   statesOf(m_store, paths)),
                  {{AuditAction::SaveList, {}, {}, {}, {}, {}, enteredName(name)}});
        emit historyChanged();
        emit bookChanged();
    }
    return result;
}

ChangeResult Ledger::deleteSavedList(const QString& name)
{
    if (auto no = guard(Act::SendOut)) return *no;
    const QStringList paths = sendOutPaths(m_store, name);
    const QList<FileState> before = statesOf(m_store, paths);
    // The list leaves the record of dealers with it; a damaged record is left as it is.
    const DealerLists tags = loadDealerLists(m_store);
    ChangeResult result = varnoth::deleteSavedList(m_store, name, [&](FolderTransaction& tx) {
        if (tags.outcome.ok() && !tags.dealerOf(name).isEmpty()) writeDealerLists(m_store, tx, tags, {}, {name});
    });
    const QList<FileState> after = statesOf(m_store, paths);
    if (after != before) {
        pushFiles(new FilesCommand(*this, DeleteListStepText + name, History | Book, paths, before, after),
                  {{AuditAction::DeleteList, {}, {}, {}, {}, {}, name}});
        emit historyChanged();
        emit bookChanged();
    }
    return result;
}

DealerSave Ledger::saveDealerList(const QString& name, const QString& dealer)
{
    if (auto no = guard(Act::SendOut)) return *no;
    const Dealers dealers = loadDealers(m_store);
    if (!dealers.outcome.ok()) return {dealers.problem, {}, {}, {}, {dealers.problem}};
    if (!dealers.find(dealer)) {
        const QString line = DealerUnknownText + dealer;
        return {line, {}, {}, {}, {line}};
    }
    return saveForDealers(name, {{dealer, sendOutItems(m_session.SendOutData)}}, {}, true);
}

DealerSave Ledger::splitSend(const QString& name)
{
    if (auto no = guard(Act::SendOut)) return *no;
    const Dealers dealers = loadDealers(m_store);
    if (!dealers.outcome.ok()) return {dealers.problem, {}, {}, {}, {dealers.problem}};
    if (dealers.items.isEmpty()) return {DealerNoneText, {}, {}, {}, {DealerNoneText}};
    const DealerLists tags = loadDealerLists(m_store);
    if (!tags.outcome.ok()) return {tags.problem, {}, {}, {}, {tags.problem}};
    Split split = splitExcess(sendOutItems(m_session.SendOutData), dealers.items,
                              sentToDealers(m_store, dealers.items, tags));
    QList<DealerShare> taking;
    for (const DealerShare& share : std::as_const(split.shares))
        if (!share.items.isEmpty()) taking << share;
    if (taking.isEmpty()) {
        DealerSave none{DealerNoneTakesText, {}, {}, split.unplaced, {DealerNoneTakesText}};
        return none;
    }
    return saveForDealers(name, taking, split.unplaced, false);
}

DealerSave Ledger::saveForDealers(const QString& name, const QList<DealerShare>& shares,
                                  const QList<NumberAmount>& unplaced, bool whole)
{
    DealerSave result{{}, {}, shares, unplaced, {}};
    const DealerLists tags = loadDealerLists(m_store);
    if (!tags.outcome.ok()) {
        result.refusal = tags.problem;
        result.lines << tags.problem;
        return result;
    }
    // A whole list for one dealer is saved as the report left it, under its typed name.
    const bool split = !whole;
    QList<ListToSave> lists;
    QList<DealerList> added;
    QStringList paths{m_store.path(DealerListsFileName)};
    for (const DealerShare& share : shares) {
        // A list for one dealer keeps its typed name; the shares of a split are named per dealer.
        const QString listName = split ? splitListName(name, share.dealer) : enteredName(name);
        lists << ListToSave{listName, split ? sendOutText(share.items) : m_session.SendOutData};
        added << DealerList{share.dealer, enteredName(listName)};
        for (const QString& p : sendOutPaths(m_store, enteredName(listName)))
            if (!paths.contains(p)) paths << p;
    }
    const QList<FileState> before = statesOf(m_store, paths);
    result.save = saveSendOutLists(m_store, lists,
                                   [&](FolderTransaction& tx) { writeDealerLists(m_store, tx, tags, added, {}); });
    result.lines << result.save.lines;
    if (result.save.saved) {
        QStringList names;
        for (const DealerList& a : std::as_const(added))
            names << a.list;
        QList<AuditEvent> events;
        for (const DealerList& a : std::as_const(added))
            events << AuditEvent{AuditAction::SaveList, {}, {}, {}, {}, {}, a.list + QLatin1Char(' ') + DealerAuditDetail + a.dealer};
        pushFiles(new FilesCommand(*this, SaveListStepText + names.join(QStringLiteral(", ")), History | Book, paths,
                                  before, statesOf(m_store, paths)),
                  events);
        emit historyChanged();
        emit bookChanged();
    }
    return result;
}

ChangeResult Ledger::saveSetting(SettingKind kind, const QStringList& items, int editIndex, const SettingEdit& edit)
{
    if (auto no = guard(Act::Settings)) return *no;
    const qsizetype failuresBefore = m_store.failures().size();
    const QString before = settingOf(m_store, kind, edit.type);
    QStringList lines = SaveSetting(m_store, kind, items, editIndex, edit);
    const QString after = settingOf(m_store, kind, edit.type);
    if (after != before) audit({AuditAction::Setting, edit.type, {}, {}, before, after, settingMode(kind).caption});
    emit settingsChanged();
    return linesResult(failuresBefore, std::move(lines));
}

ChangeResult Ledger::saveResult(const DrawnNumbers& fields)
{
    if (auto no = guard(Act::Result)) return *no;
    if (const ResultCheck check = checkDrawnNumbers(fields); !check.ok()) return {{Status::Refused, {}}, check.lines};
    const qsizetype failuresBefore = m_store.failures().size();
    const QString before = withoutLineEnds(m_store.ReadWholeFile(m_store.resultFile()));
    QStringList lines = SaveResult(m_store, fields);
    const QString after = withoutLineEnds(m_store.ReadWholeFile(m_store.resultFile()));
    if (after != before) {
        audit({AuditAction::Setting, {}, {}, {}, before, after, AuditResultSetting});
        // The bills name the draw by the day its numbers were saved.
        if (lines.isEmpty()) lines << setResultDate(m_store, QDate::currentDate());
    }
    emit settingsChanged();
    return linesResult(failuresBefore, std::move(lines));
}

ChangeResult Ledger::setOption(const QString& key, const QString& value)
{
    if (auto no = guard(Act::Settings)) return *no;
    const qsizetype failuresBefore = m_store.failures().size();
    const QString before = optionValue(m_store, key);
    QStringList lines = setOptionValue(m_store, key, value);
    if (!lines.isEmpty()) return linesResult(failuresBefore, std::move(lines));
    if (key == option::OperatorName) m_audit.setOperatorName(bookOperator());
    // A date or a yes/no is stored in its own form, which is what the log compares and keeps.
    const QString after = optionValue(m_store, key);
    if (after != before) audit({AuditAction::Setting, {}, {}, {}, before, after, key});
    emit settingsChanged();
    return {};
}

NameEntry Ledger::addCustomerName(const QString& text)
{
    if (auto no = guard(Act::KeyBets)) return *no;
    const QStringList before = m_store.customers();
    NameEntry entry = AddCustomerName(m_store, text);
    QList<AuditEvent> added;
    for (const QString& name : m_store.customers())
        if (!name.isEmpty() && !before.contains(name)) added << AuditEvent{AuditAction::CustomerAdded, {}, name};
    audit(added);
    emit customersChanged();
    return entry;
}

ChangeResult Ledger::removeCustomer(const QString& name)
{
    if (auto no = guard(Act::Settings)) return *no;
    const bool known = m_store.customers().contains(name);
    ChangeResult result = varnoth::removeCustomer(m_store, name);
    if (known && !m_store.customers().contains(name)) audit({AuditAction::CustomerRemoved, {}, name});
    emit customersChanged();
    return result;
}

namespace
{

// A rule change as the audit log records it: the rule before and after, as the rules window shows it.
AuditEvent ruleEvent(const std::optional<NumberRule>& before, const std::optional<NumberRule>& after)
{
    const NumberRule& rule = after ? *after : *before;
    return {AuditAction::Rule,
            rule.type,
            {},
            rule.number,
            before ? describeRule(*before) : QString(),
            after ? describeRule(*after) : QString(),
            {}};
}

} // namespace

RuleChange Ledger::setNumberRule(const NumberRule& rule)
{
    if (auto no = guard(Act::NumberRules)) return *no;
    RuleChange change = varnoth::setNumberRule(m_store, rule);
    if (change.changed()) {
        audit(ruleEvent(change.before, change.after));
        emit numberRulesChanged();
    }
    return change;
}

DealerChange Ledger::addDealer(const QString& name, const QList<DealerTerms>& terms)
{
    if (auto no = guard(Act::Settings)) return *no;
    DealerChange change = varnoth::addDealer(m_store, name, terms);
    if (!change.ok() || change.before == change.after) return change;
    // A dealer's terms are a setting: "payout/discount/cap" of each type before and after.
    const auto figures = [](const DealerTerms* t) {
        return t ? t->payout + QLatin1Char('/') + t->discount + QLatin1Char('/') + t->cap : QString();
    };
    const QString detail = DealerAuditDetail + change.after.name;
    if (change.before.name.isEmpty() && change.after.terms.isEmpty())
        audit({AuditAction::Setting, {}, {}, {}, {}, {}, detail});
    for (const DealerTerms& t : std::as_const(change.after.terms)) {
        const DealerTerms* was = change.before.termsFor(t.type);
        if (was && *was == t) continue;
        audit({AuditAction::Setting, t.type, {}, {}, figures(was), figures(&t), detail});
    }
    emit settingsChanged();
    return change;
}

DealerChange Ledger::moveDealer(const QString& name, int by)
{
    if (auto no = guard(Act::Settings)) return *no;
    DealerChange change = varnoth::moveDealer(m_store, name, by);
    if (!change.ok() || change.from < 0) return change;
    // The dealer's place in the order of preference before and after, from 1.
    audit({AuditAction::Setting, {}, {}, {}, QString::number(change.from + 1), QString::number(change.to + 1),
           DealerAuditDetail + change.after.name});
    emit settingsChanged();
    return change;
}

PaymentResult Ledger::recordDealerPayment(const QString& dealer, const QString& amount, const QDateTime& when,
                                          bool overpayAllowed)
{
    if (auto no = guard(Act::Payments)) return *no;
    const PaymentResult plan = planDealerPayment(m_store, dealer, amount, when, overpayAllowed);
    if (!plan.refusal.isEmpty()) return plan;
    PaymentResult result = appendPaymentLine(m_store, plan.payment, DealerPaymentsFileName);
    result.due = plan.due;
    result.overpay = plan.overpay;
    if (result.recorded()) {
        // As a customer's payment: what was due before and after; the dealer is named in the detail
        // and the customer left empty, so that the customers' payments are not counted with his.
        const AuditEvent event{AuditAction::Payment,
                               {},
                               {},
                               {},
                               shortestDecimal(plan.due),
                               shortestDecimal(plan.due - result.payment.amount),
                               DealerAuditDetail + result.payment.customer};
        auto* command = new PaymentCommand(*this, result.payment, DealerPaymentsFileName, DealerPaymentStepText);
        command->setAudit({event}, audit(event));
        push(command);
        emit accountsChanged();
    }
    return result;
}

RateChange Ledger::setCustomerRate(const QString& customer, const QString& type, const QString& payout,
                                   const QString& discount)
{
    if (auto no = guard(Act::OwnRates)) return *no;
    RateChange change = varnoth::setCustomerRate(m_store, customer, type, payout, discount);
    if (change.changed()) {
        // A customer's own figures are a setting: "rate/discount" before and after, "" for the type's.
        const auto figures = [](const CustomerRate& r) {
            return r.payout.isEmpty() && r.discount.isEmpty() ? QString() : r.payout + QLatin1Char('/') + r.discount;
        };
        audit({AuditAction::Setting,
               change.after.type.isEmpty() ? change.before.type : change.after.type,
               customerName(customer),
               {},
               figures(change.before),
               figures(change.after),
               CustomerRateSetting});
        emit accountsChanged();
        emit settingsChanged();
    }
    return change;
}

RuleChange Ledger::clearNumberRule(const QString& type, const QString& number)
{
    if (auto no = guard(Act::NumberRules)) return *no;
    RuleChange change = varnoth::clearNumberRule(m_store, type, number);
    if (change.changed()) {
        audit(ruleEvent(change.before, change.after));
        emit numberRulesChanged();
    }
    return change;
}

RulesCleared Ledger::clearNumberRules()
{
    if (auto no = guard(Act::NumberRules)) return *no;
    return clearRulesUnguarded();
}

RulesCleared Ledger::clearRulesUnguarded()
{
    RulesCleared cleared = clearAllNumberRules(m_store);
    if (!cleared.removed.isEmpty()) {
        QList<AuditEvent> events;
        for (const NumberRule& rule : cleared.removed)
            events << ruleEvent(rule, std::nullopt);
        audit(events);
        emit numberRulesChanged();
    }
    return cleared;
}

PaymentResult Ledger::planPayment(const QString& customer, const QString& amount, const QDateTime& when)
{
    const QString name = customerName(customer);
    if (const QString refusal = customerNameRefusal(name); !refusal.isEmpty()) {
        PaymentResult refused;
        refused.refusal = refusal;
        refused.lines << refusal;
        return refused;
    }
    const Statement statement = statementOf(m_store, name, listPastDraws(m_store));
    if (const QStringList unknowns = statement.unknowns(); !unknowns.isEmpty()) {
        // Without every earlier payment and every prize the amount due is unknown: nothing is recorded.
        PaymentResult refused;
        refused.refusal = unknowns.first();
        refused.lines = unknowns;
        return refused;
    }
    return varnoth::planPayment(name, statement.due(), amount, when, true);
}

PaymentResult Ledger::recordPayment(const QString& customer, const QString& amount, const QDateTime& when,
                                    bool overpayAllowed)
{
    if (auto no = guard(Act::Payments)) return *no;
    const PaymentResult plan = planPayment(customer, amount, when);
    if (!plan.refusal.isEmpty()) return plan;
    PaymentResult result = appendPayment(m_store, plan.payment.customer, plan.due, amount, when, overpayAllowed);
    if (result.recorded()) {
        // What was due before and after the money changed hands.
        const AuditEvent event{AuditAction::Payment,
                               {},
                               result.payment.customer,
                               {},
                               shortestDecimal(plan.due),
                               shortestDecimal(plan.due - result.payment.amount),
                               {}};
        auto* command = new PaymentCommand(*this, result.payment);
        command->setAudit({event}, audit(event));
        push(command);
        emit accountsChanged();
    }
    return result;
}

BackupResult Ledger::backup(const QString& drive)
{
    BackupResult result = writeBackup(m_store, drive);
    // Beside the backup, the head of the log it was made with: a log rewritten later no longer matches.
    if (result.outcome.ok())
        writeAuditAnchor(QDir(backupFolderPath(drive)).filePath(AuditAnchorFileName), m_audit.anchor());
    return result;
}

MergeResult Ledger::restore(const QString& drive, const ConfirmLarge& confirmLarge,
                            const ConfirmLarge& confirmManyCustomers)
{
    if (auto no = guard(Act::Restore)) return *no;
    const QStringList before = m_store.customers();
    const QSet<QString> customers(before.begin(), before.end());
    MergeResult result = runRestore(m_store, drive, confirmLarge, confirmManyCustomers);
    if (result.outcome.status == Status::Ok) {
        const QString backupName = QDir::toNativeSeparators(backupFilePath(drive));
        QList<AuditEvent> events{{AuditAction::Restore, {}, {}, {}, {}, shortestDecimal(result.amount), backupName}};
        for (const QString& name : m_store.customers())
            if (!name.isEmpty() && !customers.contains(name))
                events << AuditEvent{AuditAction::CustomerAdded, {}, name, {}, {}, {}, backupName};
        // Who keyed each stake on the other computer, and when, from that computer's own log.
        for (const AuditRecord& r : std::as_const(result.carried))
            events << AuditEvent{AuditAction::Restore,
                                 r.type,
                                 r.customer,
                                 r.number,
                                 r.before,
                                 r.after,
                                 TransferredDetailText.arg(auditActionName(r.action), r.time, r.operatorName, r.user)};
        audit(events);
    }
    emit customersChanged();
    emit bookChanged();
    return result;
}

NewDrawResult Ledger::newDraw(bool clearRules)
{
    if (auto no = guard(Act::NewDraw)) return *no;
    emit newDrawStarting();
    // The log goes into the dated copy with the rest of the book; the new book starts a log of its own.
    const AuditAnchor oldLog = m_audit.anchor();
    m_audit.close();
    // The copy keeps the head of the log it took, written with the copy, before any delete: a draw
    // cut off and completed at the next start has it too.
    NewDrawResult result = startNewDraw(m_store, QDateTime::currentDateTime(), [&oldLog](const QString& folder) {
        return writeAuditAnchor(QDir(folder).filePath(AuditAnchorFileName), oldLog);
    });
    // This computer's anchor starts with the new log.
    if (result.done && !m_anchorPath.isEmpty()) writeAuditAnchor(m_anchorPath, {});
    openAudit();
    emit newDrawEnded();
    if (!result.done) return result;
    audit({AuditAction::NewDraw, {}, {}, {}, {}, {}, QDir::toNativeSeparators(result.copyFolder)});
    // Only after the copy of the book: the old draw's rules are in it. Clearing them is part of the
    // new draw the seat was allowed, not an act of its own to ask for again.
    if (clearRules) result.lines += clearRulesUnguarded().lines;
    // Nothing of the old book can be taken back into the new one; its copy is the dated folder.
    m_undo.clear();
    emit customersChanged();
    emit settingsChanged();
    emit historyChanged();
    emit bookChanged();
    emit newDrawStarted();
    return result;
}

FullBackupResult Ledger::fullBackup(const QString& drive)
{
    FullBackupResult result = writeFullBackup(m_store, drive);
    if (result.outcome.ok())
        writeAuditAnchor(QDir(fullBackupFolderPath(drive)).filePath(AuditAnchorFileName), m_audit.anchor());
    return result;
}

FullRestoreResult Ledger::fullRestore(const QString& drive)
{
    if (auto no = guard(Act::Restore)) return *no;
    // The audit log is one of the files brought back: the log of this empty book is let go of first,
    // and the log that comes back is the one written on from then on. Windows that hold a file of
    // the book open let go of it as for a new draw.
    emit newDrawStarting();
    m_audit.close();
    FullRestoreResult result = restoreFullBackup(m_store, drive);
    openAudit(!result.done());
    if (result.done()) {
        // The log that came back is the book's from now on; the backup's anchor says whether it is
        // the one the backup was made with.
        if (!m_anchorPath.isEmpty()) writeAuditAnchor(m_anchorPath, m_audit.anchor());
        if (const auto anchor = readAuditAnchor(QDir(fullBackupFolderPath(drive)).filePath(AuditAnchorFileName)))
            if (const AnchorMatch m = matchAuditAnchor(auditLogPath(), *anchor);
                m == AnchorMatch::Shorter || m == AnchorMatch::Different)
                m_audit.recordBreak(AuditAnchorBreakText + QStringLiteral(" (%1)").arg(anchor->lines));
    }
    emit newDrawEnded();
    if (!result.done()) return result;
    audit({AuditAction::Restore, {}, {}, {}, {}, {}, QDir::toNativeSeparators(fullBackupFolderPath(drive))});
    m_undo.clear();
    emit customersChanged();
    emit settingsChanged();
    emit historyChanged();
    emit numberRulesChanged();
    emit accountsChanged();
    emit bookChanged();
    emit seatChanged(); // the users came back with the book
    return result;
}

ChangeResult Ledger::stepResult(qsizetype failuresBefore, bool failed)
{
    ChangeResult result = linesResult(failuresBefore, std::exchange(m_commandLines, {}));
    // A step that did nothing failed, whether or not a file said so; one that went ahead may still
    // have lines to say.
    if (failed && result.outcome.ok()) result.outcome.status = Status::WriteFailed;
    if (!failed && result.outcome.status == Status::Refused) result.outcome.status = Status::Ok;
    return result;
}

ChangeResult Ledger::undo()
{
    if (auto no = guard(undoAct(false))) return *no;
    if (!m_undo.canUndo()) return {{Status::Refused, {}}, {NothingToTakeBackText}};
    auto* command = static_cast<LedgerCommand*>(const_cast<QUndoCommand*>(m_undo.command(m_undo.index() - 1)));
    const qsizetype failuresBefore = m_store.failures().size();
    m_commandLines.clear();
    m_undo.undo();
    const bool failed = command->failed();
    if (failed) m_undo.redo(); // the step did nothing: it stays on the stack, still done
    command->clearFailure();
    const unsigned changes = command->changes();
    if (changes & Book) emit bookChanged();
    if (changes & History) emit historyChanged();
    if (changes & Accounts) emit accountsChanged();
    return stepResult(failuresBefore, failed);
}

ChangeResult Ledger::redo()
{
    if (auto no = guard(undoAct(true))) return *no;
    if (!m_undo.canRedo()) return {{Status::Refused, {}}, {NothingToDoAgainText}};
    auto* command = static_cast<LedgerCommand*>(const_cast<QUndoCommand*>(m_undo.command(m_undo.index())));
    const qsizetype failuresBefore = m_store.failures().size();
    m_commandLines.clear();
    m_undo.redo();
    const bool failed = command->failed();
    if (failed) m_undo.undo();
    command->clearFailure();
    const unsigned changes = command->changes();
    if (changes & Book) emit bookChanged();
    if (changes & History) emit historyChanged();
    if (changes & Accounts) emit accountsChanged();
    return stepResult(failuresBefore, failed);
}

} // namespace varnoth
