#pragma once
// The figures of the main window's total boxes: count and amount of the positive lines of stake files.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;
class AuditIndex;

struct StakeTotals {
    double count = 0;
    double total = 0;
    // Stake files that are there but could not be read: their figures are not in these (a file that
    // is not there holds nothing, and is no failure).
    QStringList unreadable;
};
void addTo(StakeTotals& all, const StakeTotals& one);

// The figures of one stake file, read through the store.
StakeTotals stakeFileTotals(const Store& store, const QString& path);

// The lines of one stake file whose amount is above 0; nothing for a type or customer without a file.
StakeTotals customerTotals(Store& store, const QString& type, const QString& customer);
// Every type and every customer whose stake file exists.
StakeTotals bookTotals(Store& store);
// The same, kept per stake file (by path), so that a change to one file is counted again alone.
QHash<QString, StakeTotals> stakeTotalsByFile(Store& store);
StakeTotals sumOf(const QHash<QString, StakeTotals>& files);
// The same scan over a file's text, and over its windows-874 bytes.
StakeTotals totalsOfText(const QString& text);
StakeTotals totalsOfBytes(const QByteArray& bytes);

// --- the pair being keyed, as the main window's side panel shows it ------------------------------

struct PairStake {
    QString number; // as the stake file holds it, blanks around it removed
    QString amount; // the amount's text as the file holds it
    double value = 0;
};

struct TypeFigures {
    QString type;
    StakeTotals totals;
};

struct PairSummary {
    QList<PairStake> stakes;  // the numbers the customer holds on the type, the last changed first
    QList<TypeFigures> types; // his figures on each type where he holds a stake, in the types' order
    StakeTotals all;          // ... and over every type
};

// The stakes (amount above 0) of a stake file's bytes: the numbers of `lastChangedFirst` lead in
// that order, the others follow in the file's order.
QList<PairStake> stakesNewestFirst(const QByteArray& stakeBytes, const QStringList& lastChangedFirst);
// The numbers of the type and customer whose stake the log shows changing, the last changed first,
// each once.
QStringList numbersByLastChange(const AuditIndex& log, const QString& type, const QString& customer);
// The whole summary of a pair; the order of its stakes comes from the audit log at `auditLogPath`
// (file order where the log is missing or says nothing of a number).
PairSummary pairSummary(Store& store, const QString& auditLogPath, const QString& type, const QString& customer);

} // namespace varnoth
