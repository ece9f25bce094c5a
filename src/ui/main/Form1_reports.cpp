// View data: every type's stakes in the main list.
#include "reports/ReportView.h"
#include "reports/view.h"
#include "ui/main/Form1.h"

namespace varnoth
{

void Form1::viewAllData()
{
    showReport(m_ctx, ViewAllData(m_store, m_session));
}

} // namespace varnoth
