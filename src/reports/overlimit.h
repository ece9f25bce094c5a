#pragma once
// The over-limit report: per number, what lies above the type's limit (sent out to another
// bookmaker) or what stays within it (keep mode), less what was recorded as sent already.

#include "reports/reportresult.h"
#include "reports/reportstate.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;
class NumberRules;

// The over-limit report of one type or of "ทั้งหมด"; sets the session's SendOutData.
ReportResult OverLimit(Store& store, ReportState& session, const QString& type, bool keepMode);

// Every number of a grouped list with the smaller of its stake and the limit (the limit text as
// stored when the stake reaches it). With rules, a number's own limit of the type (by TypeList
// position) takes the place of the type's, and a number without either keeps its whole stake.
QString KeepList(Store& store, const QString& list, const QString& limit, const NumberRules* rules = nullptr,
                 int type = -1);
// Every number of a grouped list whose stake is above the limit, with the excess in single
// precision; own limits as above, and a number without any limit is never above one.
QString ExcessList(Store& store, const QString& list, const QString& limit, const NumberRules* rules = nullptr,
                   int type = -1);
// The limit that applies to a number: its own, or the type's.
QString limitFor(const QString& number, const QString& limit, const NumberRules* rules, int type);
// The list less what the type's send-out file records as sent; items left at 0 or less go.
// A send-out file that exists but cannot be read adds its failure line to `failures`.
QString SubtractSent(Store& store, const QString& list, const QString& type, QStringList* failures = nullptr);

// A send-out list with its count and total; adds them to the grand accumulators.
QStringList ShowSendOut(GrandAccumulators& grand, const QString& list);

} // namespace varnoth
