#pragma once
// The application layer: every change of the book goes through here. The windows and the batch
// jobs call one function per thing the operator does; the ledger calls the rules in the core
// library, keeps what can be taken back on a QUndoStack and says what changed through its signals,
// so that every window showing a figure of the book can follow.

#include "accounts/customerrates.h"
#include "accounts/payments.h"
#include "entry/entry.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "settings/keyed.h"
#include "settings/result.h"
#include "tools/backup.h"
#include "tools/records.h"

#include <QObject>
#include <QUndoStack>

namespace varnoth
{

class Store;
struct Session;

class Ledger : public QObject
{
    Q_OBJECT
public:
    Ledger(Store& store, Session& session, QObject* parent = nullptr);
    ~Ledger() override;

    Store& store() { return m_store; }
    Session& session() { return m_session; }
    QUndoStack& undoStack() { return m_undo; }

    // --- entry -------------------------------------------------------------------------------------
    // Adds a new customer with all his files (the creation sequence); the failure lines.
    QStringList prepareCustomer(const QString& customer);
    // The question to ask before a plan with a bet above the ceiling is stored; "" when there is none.
    QString aboveCeilingQuestion(const EntryPlan& plan, const QString& customer);
    // Commits the bets of one entry (a plan of the main window) for the customer; one step to take back.
    // Bets above the ceiling are stored only when the operator allowed them.
    EntryResult enterPlan(const EntryPlan& plan, const QString& customer, bool aboveCeilingAllowed = false);
    // Commits a sheet for the type and customer; one step to take back.
    EntryResult enterSheet(const QString& sheet, const QString& type, const QString& customer);

    // --- records of the main list --------------------------------------------------------------------
    RecordResult editRecord(const RecordRequest& request);
    RecordResult deleteRecord(const RecordRequest& request);

    // --- send-out lists ------------------------------------------------------------------------------
    HistorySave saveSendOutList(const QString& name);
    QStringList deleteSavedList(const QString& name);

    // --- settings and customers ----------------------------------------------------------------------
    QStringList saveSetting(const QString& windowMode, const QStringList& items, int editIndex,
                            const SettingEdit& edit);
    QStringList saveResult(const DrawnNumbers& fields);
    QStringList setOption(const QString& key, const QString& value);
    NameEntry addCustomerName(const QString& text);
    QStringList removeCustomer(const QString& name);

    // --- customer accounts ----------------------------------------------------------------------
    // Sets a customer's own payout rate and discount for a type ("" for the type's own; both "" clears
    // them). The change carries the figures before and after.
    RateChange setCustomerRate(const QString& customer, const QString& type, const QString& payout,
                               const QString& discount);
    // Records money that changed hands over the customer's account, in the direction of what is due:
    // `amount` "" settles all of it.
    PaymentResult recordPayment(const QString& customer, const QString& amount,
                                const QDateTime& when = QDateTime::currentDateTime());

    // --- the whole book --------------------------------------------------------------------------
    BackupResult backup(const QString& drive);
    MergeResult restore(const QString& drive);
    NewDrawResult newDraw();

    // --- taking back ---------------------------------------------------------------------------
    // Takes back the newest step still standing (or does the last one taken back again). Returns the
    // lines for the main list; a step that cannot be taken back changes nothing and stays.
    QStringList undo();
    QStringList redo();

signals:
    // Stakes or counts changed: totals, reports and the exposure map are stale.
    void bookChanged();
    void customersChanged();
    void settingsChanged();
    void historyChanged();
    // A customer's own figures or a payment changed: bills and what is owed are stale.
    void accountsChanged();
    // A new draw emptied the book: the figures of the pair that was keyed are gone too.
    void newDrawStarted();

private:
    friend class LedgerCommand;
    void push(class LedgerCommand* command);

    Store& m_store;
    Session& m_session;
    QUndoStack m_undo;
    QStringList m_commandLines; // what the last undo or redo of a command had to say
};

} // namespace varnoth
