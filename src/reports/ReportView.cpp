#include "reports/ReportView.h"

#include "ui/main/AppContext.h"
#include "ui/main/Form1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace varnoth
{

void showReport(AppContext& ctx, const ReportResult& result)
{
    Form1* main = ctx.main;
    if (!main) return;
    if (result.clearList) main->clearList();
    main->listAddLines(result.lines);
    if (result.saveCaption) main->Command13->setText(QStringLiteral("บันทึกส่งออก"));
    main->HideProgress();
    if (result.closeWindows) main->CloseSecondaryWindows();
}

void setUpPicker(QComboBox* combo, QObject* filter)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->installEventFilter(filter);
    combo->lineEdit()->installEventFilter(filter);
}

} // namespace varnoth
