#pragma once
// The application layer: every change of the book goes through here. The windows and the batch
// jobs call one function per thing the operator does; the ledger calls the rules in the core
// library, keeps what can be taken back on a QUndoStack and says what changed through its signals,
// so that every window showing a figure of the book can follow.

#include "accounts/customerrates.h"
#include "accounts/dealers.h"
#include "accounts/dealersent.h"
#include "accounts/payments.h"
#include "accounts/users.h"
#include "audit/auditlog.h"
#include "core/book/changes.h"
#include "core/model/progress.h"
#include "entry/chat.h"
#include "entry/entry.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "settings/keyed.h"
#include "settings/numberrules.h"
#include "settings/result.h"
#include "tools/backup.h"
#include "tools/fullbackup.h"
#include "tools/newdraw.h"
#include "tools/records.h"
#include "tools/restore.h"

#include <QHash>
#include <QObject>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <optional>

class QFileSystemWatcher;
class QTimer;

namespace varnoth
{

class Store;
class BookReader;
struct ReportState;

struct DealerSave {
    QString refusal;   // why nothing was written, before the save was tried
    HistorySave save;  // the save itself
    QList<DealerShare> shares; // what each dealer received (the split: only those who took some)
    QList<NumberAmount> unplaced;
    QStringList lines;
    bool ok() const { return refusal.isEmpty() && save.saved; }
};

class Ledger : public QObject
{
    Q_OBJECT
public:
    Ledger(Store& store, ReportState& session, QObject* parent = nullptr);
    ~Ledger() override;

    Store& store() { return m_store; }
    // What the windows read of the book.
    BookReader& reader() { return *m_reader; }
    // From the first call on, every change of the book, by this program or any other (a hand edit, a
    // restore by another copy), is told by bookTouched with what it changed, a moment after the last
    // of a burst: what shows the book reads again only that.
    void followBook();
    ReportState& reportState() { return m_session; }
    QUndoStack& undoStack() { return m_undo; }
    // The progress of long loops: put on the store while the ledger lives, heard as progressStep
    // and progressHidden.
    Progress& progress() { return m_progress; }

    // --- entry -------------------------------------------------------------------------------------
    // Adds a new customer with all his files (the creation sequence); the failure lines.
    ChangeResult prepareCustomer(const QString& customer);
    // The question to ask before a plan with a bet above the ceiling is stored; "" when there is none.
    QString aboveCeilingQuestion(const EntryPlan& plan, const QString& customer);
    // Once the drawn numbers are saved, a bet is keyed after the result: the question a window asks
    // before it stores one ("" while no result is saved). Every entry below refuses such bets unless
    // the caller says the operator allowed them (`afterResultAllowed`), and marks each one it stores
    // in the audit log.
    QString afterResultQuestion();
    // The line of that refusal, "" when an entry may go ahead.
    QString afterResultRefusal(bool afterResultAllowed);
    // Commits the bets of one entry (a plan of the main window) for the customer; one step to take back.
    // Bets above the ceiling are stored only when the operator allowed them.
    EntryResult enterPlan(const EntryPlan& plan, const QString& customer, bool aboveCeilingAllowed = false,
                          bool afterResultAllowed = false);
    // Commits a sheet for the type and customer; one step to take back.
    EntryResult enterSheet(const QString& sheet, const QString& type, const QString& customer,
                           bool afterResultAllowed = false);
    // Commits the bets read from a pasted message for the customer (made with his files first when he
    // is new): each file is written once, and the whole paste is one step to take back. As on a sheet,
    // a bet above the ceiling is listed and not stored.
    EntryResult enterChat(const QList<ChatBet>& bets, const QString& customer, bool afterResultAllowed = false);
    // The same for bets read from a picture: each bet's line in the audit log says so and keeps the
    // picture's SHA-256 digest (hex).
    EntryResult enterPicture(const QList<ChatBet>& bets, const QString& customer, const QByteArray& digest,
                             bool afterResultAllowed = false);

    // --- records of the main list --------------------------------------------------------------------
    RecordResult editRecord(const RecordRequest& request);
    RecordResult deleteRecord(const RecordRequest& request);

    // --- send-out lists ------------------------------------------------------------------------------
    HistorySave saveSendOutList(const QString& name);
    ChangeResult deleteSavedList(const QString& name);
    // Saves the pending list as sent to the dealer; one step to take back, as any list save.
    DealerSave saveDealerList(const QString& name, const QString& dealer);
    // Splits the pending list over the dealers and saves one list per dealer who takes something
    // (named by splitListName), all in one commit and one step; what no dealer takes stays unsaved.
    DealerSave splitSend(const QString& name);

    // --- settings and customers ----------------------------------------------------------------------
    // Each of these says Ok, NeedsOwner, Refused (the input: nothing written) or the store's failure,
    // with the lines for the operator.
    ChangeResult saveSetting(SettingKind kind, const QStringList& items, int editIndex, const SettingEdit& edit);
    // Refuses drawn numbers that are not digits of their boxes' widths (nothing is written).
    ChangeResult saveResult(const DrawnNumbers& fields);
    ChangeResult setOption(const QString& key, const QString& value);
    NameEntry addCustomerName(const QString& text);
    ChangeResult removeCustomer(const QString& name);

    // --- number rules -------------------------------------------------------------------------------
    // Each is one change with the rule before and after it.
    RuleChange setNumberRule(const NumberRule& rule);
    RuleChange clearNumberRule(const QString& type, const QString& number);
    RulesCleared clearNumberRules();
    // --- customer accounts ----------------------------------------------------------------------
    // Sets a customer's own payout rate and discount for a type ("" for the type's own; both "" clears
    // them). The change carries the figures before and after.
    RateChange setCustomerRate(const QString& customer, const QString& type, const QString& payout,
                               const QString& discount);
    // Adds an upstream dealer, or sets the given types' terms of one already there.
    DealerChange addDealer(const QString& name, const QList<DealerTerms>& terms);
    // Moves a dealer `by` places in the order of preference (-1 up).
    DealerChange moveDealer(const QString& name, int by);
    // Records money that changed hands with a dealer, in the direction of what is due over all draws
    // (planDealerPayment): `amount` "" settles it; more than is due only with `overpayAllowed`. One
    // step to take back.
    PaymentResult recordDealerPayment(const QString& dealer, const QString& amount,
                                      const QDateTime& when = QDateTime::currentDateTime(),
                                      bool overpayAllowed = false);
    // The payment that recordPayment would make, with what is due and whether it is more, for the
    // question before it; nothing is written. Refused when what is due cannot be known.
    PaymentResult planPayment(const QString& customer, const QString& amount,
                              const QDateTime& when = QDateTime::currentDateTime());
    // Records money that changed hands over the customer's account, in the direction of what is due:
    // `amount` "" settles all of it; more than is due only with `overpayAllowed`. One step to take back.
    PaymentResult recordPayment(const QString& customer, const QString& amount,
                                const QDateTime& when = QDateTime::currentDateTime(), bool overpayAllowed = false);

    // --- the whole book --------------------------------------------------------------------------
    BackupResult backup(const QString& drive);
    // Records above the amount ceiling times their number's count are stored only when
    // `confirmLarge` says yes, and a backup bringing more than a hundred new customers is merged only
    // when `confirmManyCustomers` does (a window asks, a batch job passes what its options allow).
    MergeResult restore(const QString& drive, const ConfirmLarge& confirmLarge = {},
                        const ConfirmLarge& confirmManyCustomers = {});
    // The number rules stay for the new draw unless `clearRules` is set.
    NewDrawResult newDraw(bool clearRules = false);
    // Every file of the book and its past draws onto the drive, checked; and back into an empty book.
    FullBackupResult fullBackup(const QString& drive);
    FullRestoreResult fullRestore(const QString& drive);

    // --- taking back ---------------------------------------------------------------------------
    // Takes back the newest step still standing (or does the last one taken back again). Returns the
    // lines for the main list; a step that cannot be taken back changes nothing and stays (its
    // outcome the store's failure), and an empty stack is Refused.
    ChangeResult undo();
    ChangeResult redo();

    // --- the audit log ------------------------------------------------------------------------
    // Every call above that changes the book writes its own lines to the log; these are for the
    // windows and jobs that read it.
    QString auditLogPath() const;
    // The key of this user's chain, and where this computer keeps the anchor of the book's log ("" for
    // none); the anchor is written after every change.
    const AuditKey& auditKey() const { return m_key; }
    QString auditAnchorFile() const { return m_anchorPath; }
    // What the start found of a new draw that was cut off and did about it, for the operator.
    const QStringList& startLines() const { return m_startLines; }
    // The end of the log was found damaged at start: a line recording the break was appended.
    bool auditDamagedAtOpen() const { return m_audit.damagedAtOpen(); }
    // Who keys: the operator option of the book, or the computer's user name while it holds none.
    QString operatorName() const { return m_audit.operatorName(); }
    // The operator of this run only (the command line), over the book's option. A name holding a
    // control character is refused: the Thai line, and nothing changes ("" when taken).
    QString setOperatorName(const QString& name);

    // --- who is at the seat ----------------------------------------------------------------------
    // A book with a users file asks who keys: every change of the book goes through the access rule
    // (accounts/users.h) for the user signed in here. A book without one works as it always has.
    bool hasUsers() const;
    Users users() const { return loadUsers(m_store); }
    // Signs the user in when the PIN is right: the audit log names him from then on. A wrong PIN is
    // counted (and a lock logged) by the users file.
    PinResult signIn(const QString& name, const QString& pin);
    void signOut();
    QString seatUser() const { return m_seat.user; }
    // The owner's PIN given at a keyer's seat: the next owner-only act goes ahead once, logged under the
    // owner with the keyer beside him.
    PinResult allowOnce(const QString& owner, const QString& pin);
    // "" when the user at the seat may do the act now, else the Thai line that refuses it.
    QString refusal(Act act) const;
    // How a window asks the owner's PIN on the spot when an act needs him: true when he gave it, and
    // the refused call then goes ahead, as does every further call of the same act until the program
    // is idle again. Without it (a batch job) such an act is refused.
    void setOwnerPrompt(std::function<bool()> prompt) { m_ownerPrompt = std::move(prompt); }
    // The act that taking back (or doing again) the next step would be: a step of another user, or any
    // step once the result is saved, is the owner's.
    Act undoAct(bool redo) const;
    // The act an edit or delete of the record would be: a keyer corrects a record himself only while
    // the result is not saved and the stake of each number it touches was keyed at his seat alone.
    Act recordAct(const RecordRequest& request) const;
    // The users list; the first user may be added by anyone and must be the owner, every later change
    // is the owner's. Ok, NeedsOwner, Refused, or the store's failure, with its line.
    ChangeResult addUser(const QString& name, Role role, const QString& pin);
    ChangeResult removeUser(const QString& name);
    ChangeResult resetPin(const QString& name, const QString& pin);
    // The clock of PIN locks (tests put their own).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const { return m_clock ? m_clock() : QDateTime::currentDateTime(); }

signals:
    // An act was refused because it is the owner's and no owner's PIN was given for it.
    void ownerNeeded();
    // Someone signed in or out at this seat, or the users changed: what shows the seat follows.
    void seatChanged();
    // A line of the audit log could not be written: the line to show.
    void auditFailed(const QString& line);
    // Stakes or counts changed: totals, reports and the exposure map are stale.
    void bookChanged();
    void customersChanged();
    void settingsChanged();
    void historyChanged();
    // A number rule was set or cleared: the exposure map and the rules window show them.
    void numberRulesChanged();
    // A customer's own figures or a payment changed: bills and what is owed are stale.
    void accountsChanged();
    // A new draw emptied the book: the figures of the pair that was keyed are gone too.
    void newDrawStarted();
    // A new draw is about to copy and empty the book: a window holding one of its files open (the
    // audit log's viewer maps it) lets go of it, or Windows would refuse to delete the file.
    void newDrawStarting();
    void bookTouched(const varnoth::Changes& what);
    // After every new draw, whether it was made or not: what let go of the book may take it again.
    void newDrawEnded();
    // A long loop moved on: the step (0 to 20) of the progress bar; and the loop is done.
    void progressStep(int step);
    void progressHidden();

private:
    friend class LedgerCommand;
    // Ticks of the core's long loops, turned into the ledger's signals; the user interface gets a
    // chance to repaint now and then.
    class SignalProgress : public Progress
    {
    public:
        explicit SignalProgress(Ledger& ledger) : m_ledger(ledger) {}
        void reset() override { m_counter.reset(); }
        void tick(qint64 total) override;
        void tickLong(qint64 total) override;
        void hide() override { emit m_ledger.progressHidden(); }
        void yield() override;

    private:
        Ledger& m_ledger;
        ProgressCounter m_counter;
        qint64 m_lastYield = 0;
    };

    // Appends one line of the audit log under a new entry number; returns the number.
    qint64 audit(const AuditEvent& event);
    // Appends the lines of one action under one entry number (a new one for 0); returns the number.
    qint64 audit(const QList<AuditEvent>& events, qint64 entry = 0);
    void push(class LedgerCommand* command);
    void pushFiles(class LedgerCommand* command, const QList<AuditEvent>& events);
    // The outcome of a change that tells only lines: the first failure the store recorded since it
    // held `failuresBefore` of them, else Refused when there are lines (nothing failed, so they refuse
    // the input), else Ok.
    ChangeResult linesResult(qsizetype failuresBefore, QStringList lines) const;
    // The same for a step taken back or done again (`failed`: it did nothing), with its lines.
    ChangeResult stepResult(qsizetype failuresBefore, bool failed);
    void pushEntry(const EntryResult& result, AuditAction action, const QString& stepText = QString(),
                   const QString& source = QString());
    EntryResult enterReadBets(const QList<ChatBet>& bets, const QString& customer, bool afterResultAllowed,
                              const QString& stepText, const QString& source);
    EntryResult refusedEntry(const QString& customer, const QString& refusal) const;
    // `checkAnchor`: a log that no longer matches this computer's anchor gets a break line saying so.
    void openAudit(bool checkAnchor = true);
    void saveAnchor();
    QString bookOperator() const;

    // A refusal of the access rule, turned into whatever the refused call returns: its line, and a
    // NeedsOwner outcome where the result carries one.
    struct Refused {
        QString line;
        template <class R> operator R() const;
    };
    // The check at the top of every call that changes the book: a refusal, or nothing when it may go ahead.
    std::optional<Refused> guard(Act act);
    // The owner's PIN asked through the window's prompt: true when he gave it.
    bool promptOwner();
    RulesCleared clearRulesUnguarded();
    // In a book with users, the line of each bet stored says who keyed it.
    void nameKeyer(EntryResult& result) const;
    DealerSave saveForDealers(const QString& name, const QList<DealerShare>& shares, const QList<NumberAmount>& unplaced,
                              bool whole);
    // Logs a change of the users list or a lock (a "setting" line of the users file).
    void auditUsers(const QString& name, const QString& before, const QString& after);

    Store& m_store;
    ReportState& m_session;
    Seat m_seat;
    std::function<bool()> m_ownerPrompt;
    bool m_prompting = false;
    QString m_promptedOwner; // the owner who gave his PIN for the act under way
    std::function<QDateTime()> m_clock;
    QHash<const QUndoCommand*, QString> m_stepKeyers; // who was at the seat when each step was done
    QUndoStack m_undo;
    SignalProgress m_progress{*this};
    QStringList m_commandLines; // what the last undo or redo of a command had to say
    AuditWriter m_audit;
    AuditKey m_key;
    QString m_anchorPath;
    QString m_runOperator; // set for this run, over the book's option
    QStringList m_startLines;
    std::unique_ptr<BookReader> m_reader;
    QFileSystemWatcher* m_bookWatch = nullptr;
    QTimer* m_touchedQuiet = nullptr;
    quint64 m_followedTo = 0; // how far the book's changes were told
};

template <class R> Ledger::Refused::operator R() const
{
    R r{};
    if constexpr (std::is_same_v<R, QStringList>) {
        r << line;
    } else if constexpr (std::is_same_v<R, ChangeResult>) {
        r = {{Status::NeedsOwner, {}}, {line}};
    } else {
        r.lines << line;
        if constexpr (requires { r.outcome; }) r.outcome = {Status::NeedsOwner, {}};
        if constexpr (requires { r.refusal; }) r.refusal = line;
        if constexpr (requires { r.error; }) r.error = line;
        if constexpr (requires { r.refused; }) r.refused = true;
        if constexpr (std::is_same_v<R, FullRestoreResult>) r.status = FullRestoreStatus::NotEmpty;
    }
    return r;
}

} // namespace varnoth
