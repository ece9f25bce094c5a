#include "gui/reports/Form6.h"
#include "app/bookreader.h"
#include "gui/main/session.h"

#include "app/Ledger.h"
#include "gui/main/Shell.h"
#include "gui/reports/ReportView.h"
#include "reports/view.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnoth
{

Form6::Form6(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::View, parent), Label1(new QLabel(QStringLiteral("ชนิดหวย"), this)),
      Label2(new QLabel(QStringLiteral("ตัวเลข"), this)), Label3(new QLabel(QStringLiteral("ชื่อลูกค้า"), this)),
      Combo1(new QComboBox(this)), Text1(new QLineEdit(this)), Combo2(new QComboBox(this)),
      Command3(new QPushButton(QStringLiteral("ตรวจค้น"), this)),
      Command1(new QPushButton(QStringLiteral("ยกเลิก"), this))
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Search"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command1->setObjectName(QStringLiteral("Command1"));
    takeTypedOnEnter(Combo1, [this] { Command3->click(); });
    takeTypedOnEnter(Combo2, [this] { Command3->click(); });
    Text1->installEventFilter(this);
    for (QPushButton* b : {Command3, Command1})
        b->setAutoDefault(false);

    place(Label1, 120, 120, 3100, 240);
    place(Combo1, 120, 360, 3100, 360);
    place(Label2, 120, 840, 3100, 240);
    place(Text1, 120, 1080, 3100, 360);
    place(Label3, 120, 1560, 3100, 240);
    place(Combo2, 120, 1800, 3100, 360);
    place(Command3, 120, 2340, 1500, 400);
    place(Command1, 1720, 2340, 1500, 400);
    setTabOrder(Combo1, Text1);
    setTabOrder(Text1, Combo2);

    const QColor hover(0, 192, 192);
    hoverHighlight(Command3, hover, {Command1});
    hoverHighlight(Command1, hover, {Command3});
    connect(Command3, &QPushButton::clicked, this, &Form6::search);
    connect(Command1, &QPushButton::clicked, this, [this] {
        if (this->ctx.shell) this->ctx.shell->closeSecondaryWindows();
    });
}

void Form6::search()
{
    const ReportResult r =
        ctx.book.search(ctx.session, Text1->text(), Combo1->currentText(), Combo2->currentText());
    if (!r.focus.isEmpty()) {
        (r.focus == QStringLiteral("Combo1") ? Combo1 : Combo2)->setFocus();
        return;
    }
    showReport(ctx, r);
}

bool Form6::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command3->click();
            return true;
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void Form6::refillPickLists(const QStringList& types, const QStringList& customers)
{
    fillPicker(Combo1, types, true);
    fillPicker(Combo2, customers, true);
}

} // namespace varnoth
