#pragma once
// Reading the audit log back: an index of its lines (the file is mapped, a line is parsed only when
// it is shown), the check of the hash chain, and the selection the audit window and the batch job
// show.

#include "audit/auditlog.h"

#include <QDateTime>
#include <QFile>
#include <atomic>
#include <vector>

namespace varnoth
{

class Store;

class AuditIndex
{
public:
    AuditIndex() = default;
    AuditIndex(const AuditIndex&) = delete;
    AuditIndex& operator=(const AuditIndex&) = delete;

    // Indexes the log. A missing log is an empty one; false only when it exists and cannot be read.
    bool load(const QString& path);
    bool exists() const { return m_exists; }

    qint64 lineCount() const { return static_cast<qint64>(m_starts.size()); }
    // Line `i` (0 = the oldest) without its line end.
    QByteArrayView line(qint64 i) const;
    // True when the file does not end with a line end: its last line is partial.
    bool partialEnd() const { return m_partialEnd; }
    // The line as a record. A line that is not one (damaged, partial) gives false, and a record of
    // action Break whose detail is the line's text, so that it can still be shown.
    bool record(qint64 i, AuditRecord& r) const;

private:
    QByteArrayView bytes() const { return m_view; }
    QFile m_file;
    QByteArray m_copy; // when the file cannot be mapped
    QByteArrayView m_view;
    std::vector<qint64> m_starts;
    bool m_exists = false;
    bool m_partialEnd = false;
};

struct AuditVerification {
    qint64 lines = 0;
    qint64 firstBroken = 0;           // 1-based line number of the first line that breaks the chain, 0 for none
    QString reason;                   // why it breaks
    std::vector<qint64> breaks;       // 1-based numbers of the lines that record a break found at start-up
    std::vector<qint64> anchorBreaks; // ... of those that record a log no longer matching its anchor
    bool missing = false;             // the log has no line, yet the book holds stakes or past draws
    qint64 unkeyedLines = 0;          // lines of the chain from before the key (plain hashes), from the first
    qint64 otherKeyLines = 0;         // lines keyed with a key this computer does not hold: not checked
    // The anchor of this computer's settings folder, when it has one, and how the log stands against it.
    std::optional<AuditAnchor> anchor;
    AnchorMatch anchorMatch = AnchorMatch::Same;
    bool anchorDamaged = false; // the anchor file is there but cannot be read
    bool anchorLooked = false;  // an anchor was looked for (this computer has a settings folder)
    qint64 ownKeyLines = 0;     // lines keyed with this computer's key
    bool anchorFailed() const
    {
        return anchorDamaged ||
               (anchor && (anchorMatch == AnchorMatch::Shorter || anchorMatch == AnchorMatch::Different));
    }
    bool failed() const { return firstBroken > 0 || missing || !anchorBreaks.empty() || anchorFailed(); }
};
// Checks every line against the one before it: a keyed line with `key` (a line keyed with another
// key is counted, not checked), a plain line with SHA-256, and no plain line after a keyed one.
// `cancel` stops the check early (the window closed).
AuditVerification verifyAudit(const AuditIndex& index, const std::atomic_bool* cancel = nullptr,
                              const AuditKey& key = {});
// How the indexed log stands against an anchor.
AnchorMatch matchAuditAnchor(const AuditIndex& index, const AuditAnchor& anchor);
// Reads the anchor at `anchorPath` and sets the verification's anchor fields.
void checkAuditAnchor(AuditVerification& v, const AuditIndex& index, const QString& anchorPath);
// Whether the log of the book is missing: it has no line (or no file), yet the book holds stakes or
// past draws, which only changes that are logged make. Removing the log is the easy way to hide
// what was changed, so such a book is never shown as having a clean log.
bool auditLogMissing(const AuditIndex& index, Store& store);
// The lines that tell the operator what the check found.
QStringList verificationLines(const AuditVerification& v);

struct AuditFilter {
    QString customer; // "" for every one
    QString type;
    QString number;
    int action = -1; // an AuditAction, -1 for every one
    QDateTime since; // invalid for no bound
    QDateTime until;
    qint64 entry = 0;         // the lines of one entry, 0 for every entry
    bool afterResult = false; // only the bets stored once the drawn numbers were saved
};

struct AuditSelection {
    std::vector<qint64> rows;    // line indices, newest first
    std::vector<double> running; // per row: the stake of the line's type, customer and number after
                                 // the line; NaN for a line that changes no stake
};
AuditSelection selectAudit(const AuditIndex& index, const AuditFilter& filter);

// How much a line changes the stake of its number (after - before), for the actions that change stakes.
double auditStakeChange(const AuditRecord& r);
bool changesStake(AuditAction action);
// A bet stored once the drawn numbers were saved: the ledger marks its line.
bool keyedAfterResult(const AuditRecord& r);

// The action's name as the window shows it.
QString auditActionName(AuditAction action);
// A field as the listing and the window show it: a tab, CR, LF or backslash written as in the file
// (\t, \r, \n, \\), every other control character as \xHH and a line separator or direction
// control as \uHHHH, so that a shown line is always one line of the log, whatever a name held, and
// nothing reaches a terminal as a control.
QString auditShownField(const QString& field);
// A line as the batch job prints it: the fields of the record separated by tabs, the action by name,
// each field shown by auditShownField.
QString auditDisplayLine(const AuditRecord& r);

} // namespace varnoth
