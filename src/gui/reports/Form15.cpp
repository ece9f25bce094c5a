#include "gui/reports/Form15.h"
#include "app/bookreader.h"
#include "gui/main/session.h"

#include "app/Ledger.h"
#include "core/model/text.h"
#include "gui/main/Shell.h"
#include "gui/reports/ReportView.h"
#include "reports/cutting.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnoth
{

Form15::Form15(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Cutting, parent), Label1(new QLabel(QStringLiteral("เลือกชนิดหวย"), this)),
      Combo1(new QComboBox(this)), Command1(new QPushButton(QStringLiteral("คัดออก"), this)),
      Command2(new QPushButton(QStringLiteral("ยกเลิก"), this))
{
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(QStringLiteral("Cutting"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    takeTypedOnEnter(Combo1, [this] { Command1->click(); });
    for (QPushButton* b : {Command1, Command2})
        b->setAutoDefault(false);

    place(Label1, 120, 240, 3100, 240);
    place(Combo1, 120, 520, 3100, 360);
    place(Command1, 120, 2040, 1500, 500);
    place(Command2, 1720, 2040, 1500, 500);

    hoverHighlight(Command1, QColor(0, 192, 0), {Command2});
    connect(Command1, &QPushButton::clicked, this, &Form15::run);
    connect(Command2, &QPushButton::clicked, this, [this] {
        if (this->ctx.shell)
            this->ctx.shell->closeWindow(WindowId::Cutting);
        else
            close();
    });
}

void Form15::run()
{
    const QString type = CleanName(Combo1->currentText());
    if (type.isEmpty()) return;
    showReport(ctx, ctx.book.numberCut(ctx.session, type));
}

void Form15::refillPickLists(const QStringList& types, const QStringList& customers)
{
    Q_UNUSED(customers);
    fillPicker(Combo1, types, true);
}

} // namespace varnoth
