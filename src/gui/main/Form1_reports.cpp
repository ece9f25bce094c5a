// View data: every type's stakes in the main list.
#include "gui/main/Form1.h"
#include "app/bookreader.h"
#include "gui/main/session.h"
#include "gui/reports/ReportView.h"
#include "reports/view.h"

namespace varnoth
{

void Form1::viewAllData()
{
    showReport(m_ctx, m_ctx.book.viewAll(m_session));
}

} // namespace varnoth
