#pragma once
// Shows what a report returns in the main window.

#include "reports/reportresult.h"

namespace varnoth
{

struct AppContext;

// Clears and fills the main list, turns Command13 into the save button when the report left a
// send-out list, and closes the secondary windows when the report is done.
void showReport(AppContext& ctx, const ReportResult& result);

} // namespace varnoth
