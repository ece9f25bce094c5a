#pragma once
// A customer's slip: the bets of one entry as the audit log holds them, by type, with the total,
// for the customer to take away from the counter.

#include "audit/auditread.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

struct EntrySlip {
    qint64 entry = 0; // the entry shown, 0 when the customer has none
    int bets = 0;
    double total = 0;
    QStringList lines;
};

// The slip of the customer's entry `entry`, or of his newest entry that stored bets for 0.
EntrySlip entrySlip(const AuditIndex& index, const QString& customer, qint64 entry = 0);

} // namespace varnoth
