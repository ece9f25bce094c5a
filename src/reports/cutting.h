#pragma once
// Number and digit cutting: numbers whose chosen digit positions hold one of the chosen digits are
// not carried at all; their whole stake is sent out.

#include "reports/reportresult.h"

#include <QString>

namespace varnoth
{

class Store;
struct ReportState;

// Whether the number is cut: one of the cut digits stands at a position that `positions`
// ("001" units … "111" every digit) selects for a number of that length.
bool isCut(const QString& number, const QString& cut, const QString& positions);

// The items of a working list whose number is not cut, and those that are, each rebuilt as
// number, "-", amount and "#". Items without "-" are dropped from both.
QString KeepUncut(Store& store, const QString& list, const QString& cut, const QString& positions);
QString CutOut(Store& store, const QString& list, const QString& cut, const QString& positions);

// The number-cut report of one type or of "ทั้งหมด": the cut numbers' stakes less what was sent
// already. Sets the session's SendOutData for saving (left alone when the type has no stakes).
ReportResult NumberCutReport(Store& store, ReportState& session, const QString& type);

} // namespace varnoth
