#include "gui/tools/Form7.h"

#include "app/Ledger.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "tools/records.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnoth
{

namespace
{

const QColor LightRed(255, 192, 192);

QLineEdit* field(const QString& name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QLabel* caption(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

Form7::Form7(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Record, parent),
      Label1(caption(QStringLiteral("Label1"), QStringLiteral("เลขหวย"), this)),
      Label2(caption(QStringLiteral("Label2"), QStringLiteral("จำนวนเงิน"), this)),
      Label3(caption(QStringLiteral("Label3"), QStringLiteral("ชนิดหวย"), this)),
      Label4(caption(QStringLiteral("Label4"), QStringLiteral("ชื่อลูกค้า"), this)),
      Text1(field(QStringLiteral("Text1"), this)), Text2(field(QStringLiteral("Text2"), this)),
      Text3(field(QStringLiteral("Text3"), this)), Text4(field(QStringLiteral("Text4"), this)),
      Command1(new QPushButton(QStringLiteral("แก้ไข"), this)), Command2(new QPushButton(QStringLiteral("ยกเลิก"), this))
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Edit"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    // Enter on a focused button presses it (in Delete mode the buttons are all that can take focus).
    Command1->setAutoDefault(true);
    Command2->setAutoDefault(true);

    auto* grid = new QGridLayout;
    const QList<QPair<QLabel*, QLineEdit*>> rows = {{Label1, Text1}, {Label2, Text2}, {Label3, Text3}, {Label4, Text4}};
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(rows[i].first, i, 0);
        grid->addWidget(rows[i].second, i, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    hoverHighlight(Command1, LightRed, {Command2});
    hoverHighlight(Command2, LightRed, {Command1});
    Text2->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &Form7::confirm);
    connect(Command2, &QPushButton::clicked, this, &Form7::unload);
}

void Form7::prepare(const QString& caption, const QString& text)
{
    Q_UNUSED(text);
    // Back to the loaded state first: the dialog may still be open from the other job.
    Command1->setText(QStringLiteral("แก้ไข"));
    for (QLineEdit* e : {Text1, Text2, Text3, Text4}) {
        e->setEnabled(true);
        e->setPalette(QPalette());
    }

    const Session& s = ctx.session;
    m_line = s.selectedLine;
    m_index = s.selectedIndex;
    Text1->setText(m_line.section(QLatin1Char('-'), 0, 0));
    Text2->setText(m_line.section(QLatin1Char('-'), 1, 1));
    Text3->setText(s.selectedType);
    Text4->setText(s.selectedCustomer);

    if (caption == QStringLiteral("Delete")) {
        Command1->setText(QStringLiteral("ลบทิ้ง"));
        setWindowTitle(caption);
        for (QLineEdit* e : {Text1, Text2, Text3, Text4})
            e->setEnabled(false);
        Command1->setFocus();
        return;
    }
    setWindowTitle(QStringLiteral("Edit"));
    QPalette p = Text2->palette();
    p.setColor(QPalette::Base, LightRed);
    Text2->setPalette(p);
    for (QLineEdit* e : {Text1, Text3, Text4})
        e->setEnabled(false);
    Text2->setFocus();
    Text2->selectAll();
}

bool Form7::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text2 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command1->click();
            return true;
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void Form7::confirm()
{
    RecordRequest request;
    request.number = Text1->text();
    request.amount = Text2->text();
    request.type = Text3->text();
    request.customer = Text4->text();
    request.oldNumber = m_line.section(QLatin1Char('-'), 0, 0);
    request.oldAmount = m_line.section(QLatin1Char('-'), 1, 1);

    RecordResult result;
    if (windowTitle() == QStringLiteral("Edit"))
        result = ctx.ledger.editRecord(request);
    else if (windowTitle() == QStringLiteral("Delete"))
        result = ctx.ledger.deleteRecord(request);

    Shell* shell = ctx.shell;
    if (result.refused) {
        // The operator keys the amount again; nothing was written.
        if (shell) shell->addLines(result.lines);
        Text2->setFocus();
        Text2->selectAll();
        return;
    }
    if (shell) {
        applyToList(result);
        shell->addLines(result.lines);
        // The selection is gone with the confirmation; the menu items wait for the next one.
        shell->disableRecordActions();
    }
    ctx.session.selectedLine.clear();
    ctx.session.selectedIndex = -1;
    unload();
}

void Form7::unload()
{
    if (ctx.shell)
        ctx.shell->closeWindow(WindowId::Record);
    else
        close();
}

void Form7::applyToList(const RecordResult& result)
{
    if (result.row == RecordResult::Row::Keep) return;
    // The list may have been redrawn while the dialog was open: only the row that still shows
    // the record is touched.
    const QString row = ctx.shell->listRow(m_index);
    if (row.isEmpty() || selectedRowText(row) != m_line) return;
    if (result.row == RecordResult::Row::Replace)
        ctx.shell->replaceListRow(m_index, result.rowText);
    else
        ctx.shell->removeListRow(m_index);
}

} // namespace varnoth
