#pragma once
// What the audit log vouches for: the log is played from its first line to its last, and what it
// says the book must hold (every stake and count, the payments, the number rules, the customers' own
// rates, the past draws) is compared with the files. A file edited by hand, a payment line added to
// the payments file or a past draw put beside the book is named; what the log cannot tell (the
// records a merged backup brought, a record moved to another number) is said plainly, not guessed.

#include "audit/auditread.h"

#include <QStringList>
#include <atomic>

namespace varnoth
{

class Store;

struct AuditReplay {
    QStringList differences;    // one line per number, customer or draw that differs from the log
    QStringList notChecked;     // what the log does not carry enough to check
    qint64 differenceCount = 0; // differences found, also those beyond the lines kept
    bool failed() const { return differenceCount > 0; }
};

// At most this many differences are named; the count of the rest follows them.
inline constexpr int ReplayShownDifferences = 500;

AuditReplay replayAudit(const AuditIndex& index, Store& store, const std::atomic_bool* cancel = nullptr);

// The lines for the operator: the differences (or that the book matches its log) and what was not checked.
QStringList replayLines(const AuditReplay& replay);

} // namespace varnoth
