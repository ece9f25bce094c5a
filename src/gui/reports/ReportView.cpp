#include "gui/reports/ReportView.h"

#include "app/Ledger.h"
#include "gui/main/AppContext.h"
#include "gui/main/Shell.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace varnoth
{

void showReport(AppContext& ctx, const ReportResult& result)
{
    Shell* shell = ctx.shell;
    if (!shell) return;
    if (result.clearList) shell->clearList();
    shell->addLines(result.lines);
    if (result.saveCaption) shell->setSendOutCaption(QStringLiteral("บันทึกส่งออก"));
    shell->hideProgress();
    if (result.closeWindows) shell->closeSecondaryWindows();
}

} // namespace varnoth
