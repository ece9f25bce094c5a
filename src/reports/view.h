#pragma once
// View data and search: the stakes per number with their totals and discounts.

#include "reports/reportresult.h"

#include <QString>

namespace varnoth
{

class Store;
struct ReportState;

// One section per type, every customer's amounts added up per number.
ReportResult ViewAllData(Store& store, ReportState& session);

// The search by number, type and customer as typed in the search window; "ทั้งหมด" stands for every
// type or every customer. An empty type or customer runs nothing and names the field to fill.
ReportResult SearchReport(Store& store, ReportState& session, const QString& number, const QString& type,
                          const QString& customer);

} // namespace varnoth
