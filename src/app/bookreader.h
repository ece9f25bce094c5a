#pragma once
// What the windows read of the book: the pick lists, the totals, the reports, the settings and the
// accounts, each a call in the ledger's own terms. A window never holds the store the book is kept in;
// it asks here, and it changes the book only through the Ledger.

#include "accounts/bill.h"
#include "accounts/customerrates.h"
#include "accounts/dealers.h"
#include "accounts/dealersent.h"
#include "accounts/dealerstatement.h"
#include "accounts/payments.h"
#include "accounts/drawhistory.h"
#include "app/BillPainter.h"
#include "audit/recheck.h"
#include "audit/replay.h"
#include "core/book/changes.h"
#include "entry/totals.h"
#include "reports/exposure.h"
#include "reports/reportresult.h"
#include "settings/keyed.h"
#include "settings/numberrules.h"
#include "settings/result.h"
#include "core/model/thaidate.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

namespace varnoth
{

class Store;
class Progress;
class AuditIndex;
struct AuditKey;
struct ReportState;
struct SealCheck;

class BookReader
{
public:
    BookReader(Store& store, const QString& auditLogPath, const AuditKey& auditKey);
    ~BookReader();
    BookReader(const BookReader&) = delete;
    BookReader& operator=(const BookReader&) = delete;

    // --- the book ----------------------------------------------------------------------------------
    QStringList customers() const;
    // The customer list as it stands, the way the main list's headings name customers.
    QString customerListText() const;
    // Whether the book keeps stakes for the pair (the customer is in the list and the type known).
    bool keepsPair(const QString& type, const QString& customer) const;
    // The folder beside which printouts and the pickers of files start.
    QString printoutsPlace() const;
    // The name to show for a file the totals could not read.
    static QString shownFileName(const QString& path);

    // --- totals ------------------------------------------------------------------------------------
    StakeTotals customerTotals(const QString& type, const QString& customer);
    PairSummary pairSummary(const QString& type, const QString& customer);
    // The figures of the whole book, read again in full.
    StakeTotals overallTotals();
    // The same after a change: only the stakes it names are read again, the others stand as they
    // were known (everything is read when nothing is known yet, or the change cannot be placed).
    StakeTotals overallTotalsAfter(const Changes& changes);
    StakeTotals overallTotalsAfter(const QStringList& types, const QString& customer);

    // --- reports -----------------------------------------------------------------------------------
    ReportResult viewAll(ReportState& state);
    ReportResult search(ReportState& state, const QString& number, const QString& type, const QString& customer);
    ReportResult overLimit(ReportState& state, const QString& type, bool keepMode);
    ReportResult numberCut(ReportState& state, const QString& type);
    ReportResult analysis(const QString& type);
    ReportResult statistics(const QString& type);
    ReportResult prizeCheck(ReportState& state, const QString& type, const QString& customer);
    // The exposure map of a type (files that did not change since the last map are not read again).
    Exposure exposure(const QString& type);
    QStringList customerStakes(const QString& type, const QString& number);

    // --- settings ----------------------------------------------------------------------------------
    DrawnNumbers result() const;
    std::shared_ptr<const NumberRules> numberRules() const;
    QStringList numberRuleProblems() const;
    QString option(const QString& key) const;
    YearStyle yearStyle() const;
    QStringList optionItems() const;
    QString optionEditText(const QString& key) const;
    QStringList settingsList(SettingKind kind) const;
    QString setting(SettingKind kind, const QString& type) const;
    QStringList savedLists() const;
    QStringList savedList(const QString& name) const;
    Dealers dealers() const;
    // Which dealer each saved send-out list went to; a dealer's account over this draw and the past.
    DealerLists dealerLists() const;
    DealerAccount dealerAccount(const Dealer& dealer, const DealerLists& lists);
    // A payment with a dealer as it would be recorded; nothing is written.
    PaymentResult planDealerPayment(const QString& dealer, const QString& amount, const QDateTime& when,
                                    bool overpayAllowed);
    CustomerRates customerRates() const;

    // --- accounts ----------------------------------------------------------------------------------
    BillLayout billLayout() const;
    QList<Statement> statements(const QString& customer);
    OwedReport owed();
    QStringList accountsDamage() const;
    BillHeader billHeader(const QDateTime& madeAt);
    SealCheck checkSeal(const AuditIndex& index, const QString& typed);

    // A past draw, read only: its reports run on the copy, its bills at today's terms.
    QList<PastDraw> pastDraws() const;
    ReportResult pastViewAll(const PastDraw& draw, ReportState& state);
    ReportResult pastPrizeCheck(const PastDraw& draw, ReportState& state);
    QList<Statement> pastStatements(const PastDraw& draw);
    BillHeader pastBillHeader(const PastDraw& draw, const QDateTime& madeAt);

    // --- the audit log -----------------------------------------------------------------------------
    bool auditLogMissing(const AuditIndex& index);
    AuditReplay replayAudit(const AuditIndex& index, const std::atomic_bool* cancel);
    SheetCheck checkSheet(const QString& sheet, const QString& type, const QString& customer, qint64 entry);

    // Puts a progress sink on the book's long loops while it lives, and gives the old one back.
    class ProgressScope
    {
    public:
        ProgressScope(BookReader& reader, Progress* progress);
        ~ProgressScope();
        ProgressScope(const ProgressScope&) = delete;
        ProgressScope& operator=(const ProgressScope&) = delete;

    private:
        Store& m_store;
        Progress* m_previous;
    };

private:
    Store& m_store;
    QString m_auditLogPath;
    const AuditKey& m_auditKey;
    std::unique_ptr<ExposureSource> m_exposure;
    QHash<QString, StakeTotals> m_files; // the figures of every stake file, by its place
    bool m_filesKnown = false;
};

} // namespace varnoth
