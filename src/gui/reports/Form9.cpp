#include "gui/reports/Form9.h"

#include "app/bookreader.h"
#include "app/Ledger.h"
#include "core/model/text.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "gui/reports/ReportView.h"
#include "reports/overlimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnoth
{

Form9::Form9(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::OverLimit, parent), Label1(new QLabel(QStringLiteral("เลือกชนิดหวย"), this)),
      Combo1(new QComboBox(this)), Check1(new QCheckBox(QStringLiteral(" คัดเก็บไว้"), this)),
      Command1(new QPushButton(QStringLiteral("คัดส่งออก"), this)),
      Command2(new QPushButton(QStringLiteral("ยกเลิก"), this))
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Over"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    takeTypedOnEnter(Combo1, [this] { Command1->click(); });
    for (QPushButton* b : {Command1, Command2})
        b->setAutoDefault(false);

    place(Label1, 120, 240, 3100, 240);
    place(Combo1, 120, 520, 3100, 360);
    place(Check1, 120, 1100, 3100, 360);
    place(Command1, 120, 2040, 1500, 500);
    place(Command2, 1720, 2040, 1500, 500);

    hoverHighlight(Command1, QColor(0, 192, 0), {Command2});
    connect(Check1, &QCheckBox::clicked, this, [this](bool checked) {
        Command1->setText(checked ? QStringLiteral("คัดเก็บไว้") : QStringLiteral("คัดส่งออก"));
    });
    connect(Command1, &QPushButton::clicked, this, &Form9::run);
    connect(Command2, &QPushButton::clicked, this, [this] {
        if (this->ctx.shell) this->ctx.shell->closeSecondaryWindows();
    });
}

void Form9::setUp()
{
    setWindowTitle(ctx.session.WindowMode == WindowMode::CheckLimit ? QStringLiteral("Check Limit")
                                                                    : QStringLiteral("Over"));
}

void Form9::run()
{
    const QString type = CleanName(Combo1->currentText());
    if (type.isEmpty()) return;
    showReport(ctx, ctx.book.overLimit(ctx.session, type, Check1->isChecked()));
}

void Form9::refillPickLists(const QStringList& types, const QStringList& customers)
{
    Q_UNUSED(customers);
    fillPicker(Combo1, types, true);
}

} // namespace varnoth
