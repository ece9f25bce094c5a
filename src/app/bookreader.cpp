#include "app/bookreader.h"

#include "accounts/billseal.h"
#include "audit/auditread.h"
#include "core/model/types.h"
#include "reports/analysis.h"
#include "reports/cutting.h"
#include "reports/overlimit.h"
#include "reports/prize.h"
#include "reports/statistics.h"
#include "reports/view.h"
#include "settings/history.h"
#include "settings/options.h"
#include "storage/folder/store.h"

namespace varnoth
{

BookReader::BookReader(Store& store, const QString& auditLogPath, const AuditKey& auditKey)
    : m_store(store), m_auditLogPath(auditLogPath), m_auditKey(auditKey),
      m_exposure(std::make_unique<ExposureSource>(store))
{
}

BookReader::~BookReader() = default;

QStringList BookReader::customers() const
{
    return m_store.customers();
}

QString BookReader::customerListText() const
{
    return m_store.customerListText();
}

bool BookReader::keepsPair(const QString& type, const QString& customer) const
{
    return !m_store.StakeFilePath(type, customer).isEmpty();
}

QString BookReader::printoutsPlace() const
{
    return m_store.dataFolder();
}

QString BookReader::shownFileName(const QString& path)
{
    return Store::fileName(path);
}

StakeTotals BookReader::customerTotals(const QString& type, const QString& customer)
{
    return varnoth::customerTotals(m_store, type, customer);
}

PairSummary BookReader::pairSummary(const QString& type, const QString& customer)
{
    return varnoth::pairSummary(m_store, m_auditLogPath, type, customer);
}

StakeTotals BookReader::overallTotals()
{
    m_files = stakeTotalsByFile(m_store);
    m_filesKnown = true;
    return sumOf(m_files);
}

StakeTotals BookReader::overallTotalsAfter(const Changes& changes)
{
    if (!m_filesKnown || changes.everything || changes.customerList) return overallTotals();
    // Each stake file of a changed pair (of every place its name stands) is counted again; the
    // others stand as they were.
    for (const QString& type : changes.types)
        for (const QString& customer : changes.customers) {
            const QStringList paths = m_store.stakeFilePaths(type, customer);
            if (paths.isEmpty() && typeIndex(type) >= 0) return overallTotals(); // a name the list lacks
            for (const QString& path : paths)
                m_files.insert(path, stakeFileTotals(m_store, path));
        }
    return sumOf(m_files);
}

StakeTotals BookReader::overallTotalsAfter(const QStringList& types, const QString& customer)
{
    if (types.isEmpty()) return overallTotals();
    Changes changes;
    for (const QString& type : types)
        changes.types << type;
    changes.customers << customer;
    return overallTotalsAfter(changes);
}

ReportResult BookReader::viewAll(ReportState& state)
{
    return ViewAllData(m_store, state);
}

ReportResult BookReader::search(ReportState& state, const QString& number, const QString& type,
                                const QString& customer)
{
    return SearchReport(m_store, state, number, type, customer);
}

ReportResult BookReader::overLimit(ReportState& state, const QString& type, bool keepMode)
{
    return OverLimit(m_store, state, type, keepMode);
}

ReportResult BookReader::numberCut(ReportState& state, const QString& type)
{
    return NumberCutReport(m_store, state, type);
}

ReportResult BookReader::analysis(const QString& type)
{
    return Analysis(m_store, type);
}

ReportResult BookReader::statistics(const QString& type)
{
    return NumberStatistics(m_store, type);
}

ReportResult BookReader::prizeCheck(ReportState& state, const QString& type, const QString& customer)
{
    return PrizeCheck(m_store, state, type, customer);
}

Exposure BookReader::exposure(const QString& type)
{
    return m_exposure->build(type);
}

QStringList BookReader::customerStakes(const QString& type, const QString& number)
{
    return varnoth::customerStakes(m_store, type, number);
}

DrawnNumbers BookReader::result() const
{
    return LoadResult(m_store);
}

std::shared_ptr<const NumberRules> BookReader::numberRules() const
{
    return bookRules(m_store);
}

QStringList BookReader::numberRuleProblems() const
{
    return ruleFileProblems(m_store);
}

QString BookReader::option(const QString& key) const
{
    return optionValue(m_store, key);
}

YearStyle BookReader::yearStyle() const
{
    return varnoth::yearStyle(m_store);
}

QStringList BookReader::optionItems() const
{
    return varnoth::optionItems(m_store);
}

QString BookReader::optionEditText(const QString& key) const
{
    return varnoth::optionEditText(m_store, key);
}

QStringList BookReader::settingsList(SettingKind kind) const
{
    return FillSettingsList(m_store, kind);
}

QString BookReader::setting(SettingKind kind, const QString& type) const
{
    return settingOf(m_store, kind, type);
}

QStringList BookReader::savedLists() const
{
    return ListHistory(m_store);
}

QStringList BookReader::savedList(const QString& name) const
{
    return openSavedList(m_store, name);
}

Dealers BookReader::dealers() const
{
    return loadDealers(m_store);
}

DealerLists BookReader::dealerLists() const
{
    return loadDealerLists(m_store);
}

DealerAccount BookReader::dealerAccount(const Dealer& dealer, const DealerLists& lists)
{
    return varnoth::dealerAccount(m_store, dealer, lists);
}

PaymentResult BookReader::planDealerPayment(const QString& dealer, const QString& amount, const QDateTime& when,
                                            bool overpayAllowed)
{
    return varnoth::planDealerPayment(m_store, dealer, amount, when, overpayAllowed);
}

CustomerRates BookReader::customerRates() const
{
    return loadCustomerRates(m_store);
}

BillLayout BookReader::billLayout() const
{
    return varnoth::billLayout(m_store);
}

QList<Statement> BookReader::statements(const QString& customer)
{
    return statementsFor(m_store, m_store, customer);
}

OwedReport BookReader::owed()
{
    return owedReport(m_store);
}

QStringList BookReader::accountsDamage() const
{
    return varnoth::accountsDamage(m_store, listPastDraws(m_store));
}

BillHeader BookReader::billHeader(const QDateTime& madeAt)
{
    return varnoth::billHeader(m_store, m_store, madeAt);
}

SealCheck BookReader::checkSeal(const AuditIndex& index, const QString& typed)
{
    return checkBillSeal(m_store, index, typed, m_auditKey);
}

QList<PastDraw> BookReader::pastDraws() const
{
    return listPastDraws(m_store);
}

// Each report on a past draw runs on a store of its own, pointed at the copy; what it keeps in the
// state (the accumulators) is reset by the report itself.
ReportResult BookReader::pastViewAll(const PastDraw& draw, ReportState& state)
{
    Store past(draw.folder);
    return ViewAllData(past, state);
}

ReportResult BookReader::pastPrizeCheck(const PastDraw& draw, ReportState& state)
{
    Store past(draw.folder);
    return PrizeCheck(past, state, AllChoice, AllChoice);
}

QList<Statement> BookReader::pastStatements(const PastDraw& draw)
{
    Store past(draw.folder);
    return statementsFor(m_store, past, AllChoice);
}

BillHeader BookReader::pastBillHeader(const PastDraw& draw, const QDateTime& madeAt)
{
    Store past(draw.folder);
    return varnoth::billHeader(m_store, past, madeAt, draw.label);
}

bool BookReader::auditLogMissing(const AuditIndex& index)
{
    return varnoth::auditLogMissing(index, m_store);
}

AuditReplay BookReader::replayAudit(const AuditIndex& index, const std::atomic_bool* cancel)
{
    return varnoth::replayAudit(index, m_store, cancel);
}

SheetCheck BookReader::checkSheet(const QString& sheet, const QString& type, const QString& customer, qint64 entry)
{
    return varnoth::checkSheet(m_store, m_auditLogPath, sheet, type, customer, entry);
}

BookReader::ProgressScope::ProgressScope(BookReader& reader, Progress* progress)
    : m_store(reader.m_store), m_previous(&reader.m_store.progress())
{
    m_store.setProgress(progress);
}

BookReader::ProgressScope::~ProgressScope()
{
    m_store.setProgress(m_previous);
}

} // namespace varnoth
