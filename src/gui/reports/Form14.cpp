#include "gui/reports/Form14.h"

#include "app/bookreader.h"
#include "app/Ledger.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "reports/analysis.h"
#include "reports/prize.h"
#include "reports/statistics.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnoth
{

Form14::Form14(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Prize, parent), Label1(new QLabel(QStringLiteral("เลือกชนิดหวย"), this)),
      Combo1(pickList(QStringLiteral("Combo1"))), Label2(new QLabel(QStringLiteral("เลือกชื่อลูกค้า"), this)),
      Combo2(pickList(QStringLiteral("Combo2"))), Command1(new QPushButton(QStringLiteral("ตรวจรางวัล"), this)),
      Command2(new QPushButton(QStringLiteral("ยกเลิก"), this))
{
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("Result"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(Combo1, 1, 0, 1, 2);
    layout->addWidget(Label2, 2, 0, 1, 2);
    layout->addWidget(Combo2, 3, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->addWidget(Command1, 5, 0);
    layout->addWidget(Command2, 5, 1);

    const QColor hover(0, 192, 192);
    hoverHighlight(Command1, hover, {Command2});
    hoverHighlight(Command2, hover, {Command1});
    connect(Command1, &QPushButton::clicked, this, &Form14::run);
    connect(Command2, &QPushButton::clicked, this, [this] {
        if (this->ctx.shell) this->ctx.shell->closeSecondaryWindows();
    });
}

// The boxes are filled by the main window. What is typed completes to an item of the list, and only
// an item of the list is taken: Enter empties a box whose text names none.
QComboBox* Form14::pickList(const QString& name)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(name);
    takeTypedOnEnter(
        combo, [this] { Command1->click(); }, true);
    return combo;
}

void Form14::setUp()
{
    m_mode = ctx.session.WindowMode;
    const bool prize = m_mode != WindowMode::Analysis && m_mode != WindowMode::Statistics;
    if (m_mode == WindowMode::Analysis) {
        setWindowTitle(QStringLiteral("Operating"));
        Command1->setText(QStringLiteral("วิเคราะห์"));
    } else if (m_mode == WindowMode::Statistics) {
        setWindowTitle(QStringLiteral("Scoring"));
        Command1->setText(QStringLiteral("ดูสถิติ"));
    } else {
        setWindowTitle(QStringLiteral("Result"));
        Command1->setText(QStringLiteral("ตรวจรางวัล"));
    }
    Label2->setVisible(prize);
    Combo2->setVisible(prize);
}

void Form14::run()
{
    BookReader& book = ctx.book;
    const QString type = Combo1->currentText();
    const QString customer = Combo2->currentText();
    if (m_mode == WindowMode::Analysis) {
        if (!type.isEmpty()) present(book.analysis(type));
    } else if (m_mode == WindowMode::Statistics) {
        present(book.statistics(type));
    } else if (!type.isEmpty() && !customer.isEmpty()) {
        present(book.prizeCheck(ctx.session, type, customer));
    }
}

void Form14::present(const ReportResult& report)
{
    Shell* shell = ctx.shell;
    if (!shell) return;
    if (report.clearList) shell->clearList();
    shell->addLines(report.lines);
    shell->hideProgress();
    if (report.closeWindows) shell->closeSecondaryWindows();
}

void Form14::refillPickLists(const QStringList& types, const QStringList& customers)
{
    fillPicker(Combo1, types, true);
    fillPicker(Combo2, customers, true);
}

} // namespace varnoth
