#include "gui/accounts/DrawHistoryWindow.h"

#include "accounts/accounttexts.h"
#include "app/BillPainter.h"
#include "app/Ledger.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "reports/prize.h"
#include "reports/reportresult.h"
#include "reports/view.h"
#include "settings/options.h"
#include "app/bookreader.h"

#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace varnoth
{

DrawHistoryWindow::DrawHistoryWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::DrawHistory, parent), List1(new QTableWidget(this)),
      Command1(new QPushButton(ViewDrawCaption, this)), Command2(new QPushButton(PrizeDrawCaption, this)),
      Command3(new QPushButton(BillsDrawCaption, this)), Command4(new QPushButton(PdfBillCaption, this))
{
    setObjectName(QStringLiteral("DrawHistoryWindow"));
    setWindowTitle(DrawHistoryTitle);
    List1->setObjectName(QStringLiteral("List1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command4->setObjectName(QStringLiteral("Command4"));
    List1->setColumnCount(5);
    List1->setHorizontalHeaderLabels(
        {DrawDateColumn, DrawCustomersColumn, DrawStakeColumn, DrawResultColumn, DrawProfitColumn});
    List1->setSelectionBehavior(QAbstractItemView::SelectRows);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->verticalHeader()->setVisible(false);
    List1->horizontalHeader()->setStretchLastSection(true);
    for (QPushButton* b : {Command1, Command2, Command3, Command4})
        b->setAutoDefault(false);

    place(List1, 120, 120, 8160, 3600);
    place(Command1, 120, 3840, 1950, 400);
    place(Command2, 2190, 3840, 1950, 400);
    place(Command3, 4260, 3840, 1950, 400);
    place(Command4, 6330, 3840, 1950, 400);

    connect(Command1, &QPushButton::clicked, this, &DrawHistoryWindow::viewDraw);
    connect(Command2, &QPushButton::clicked, this, &DrawHistoryWindow::checkDraw);
    connect(Command3, &QPushButton::clicked, this, &DrawHistoryWindow::billDraw);
    connect(Command4, &QPushButton::clicked, this, &DrawHistoryWindow::billDrawPdf);
    connect(List1, &QTableWidget::cellDoubleClicked, this, &DrawHistoryWindow::billDraw);
}

void DrawHistoryWindow::setUp()
{
    listDraws();
}

void DrawHistoryWindow::listDraws()
{
    m_draws = ctx.book.pastDraws();
    List1->clearContents();
    List1->setRowCount(static_cast<int>(m_draws.size()));
    QStringList problems;
    // Newest first: the draw just closed is the one the operator looks for.
    for (qsizetype i = 0; i < m_draws.size(); ++i) {
        const DrawSummary s = summariseDraw(m_draws[m_draws.size() - 1 - i]);
        problems << s.problems;
        const QStringList cells = drawRow(s);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 1 || c == 2 || c == 4) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            List1->setItem(static_cast<int>(i), c, item);
        }
    }
    List1->resizeColumnsToContents();
    if (!m_draws.isEmpty()) List1->selectRow(0);
    if (m_draws.isEmpty() && ctx.shell) ctx.shell->addLines({NoPastDrawsText});
    if (ctx.shell) ctx.shell->addLines(problems);
}

const PastDraw* DrawHistoryWindow::pickedDraw() const
{
    const int row = List1->currentRow();
    if (row < 0 || row >= m_draws.size()) return nullptr;
    return &m_draws[m_draws.size() - 1 - row];
}

void DrawHistoryWindow::show(const QStringList& lines)
{
    if (!ctx.shell) return;
    ctx.shell->clearList();
    ctx.shell->addLines(lines);
    ctx.shell->hideProgress();
}

// Each report runs on the copy, read only; what it keeps in the session (the accumulators) is reset by
// the report itself.
void DrawHistoryWindow::viewDraw()
{
    const PastDraw* d = pickedDraw();
    if (!d) return;
    show(QStringList{PastDrawReadOnlyText + d->label} + ctx.book.pastViewAll(*d, ctx.session).lines);
}

void DrawHistoryWindow::checkDraw()
{
    const PastDraw* d = pickedDraw();
    if (!d) return;
    show(QStringList{PastDrawReadOnlyText + d->label} + ctx.book.pastPrizeCheck(*d, ctx.session).lines);
}

void DrawHistoryWindow::billDraw()
{
    const PastDraw* d = pickedDraw();
    if (!d) return;
    QStringList lines{PastDrawReadOnlyText + d->label};
    const BillLayout layout = ctx.book.billLayout();
    for (const Statement& s : ctx.book.pastStatements(*d))
        lines << billLines(s, d->label, layout);
    show(lines);
}

void DrawHistoryWindow::billDrawPdf()
{
    const PastDraw* d = pickedDraw();
    if (!d) return;
    QList<QStringList> pages;
    QStringList customers;
    const BillLayout layout = ctx.book.billLayout();
    for (const Statement& s : ctx.book.pastStatements(*d)) {
        pages << billLines(s, d->label, layout);
        customers << s.bill.customer;
    }
    const QDateTime now = QDateTime::currentDateTime();
    // The picker starts among the other printouts, never in the copy.
    const QString path = pickBillsPdfPath(pickSaveFile, ctx.book.printoutsPlace(), now);
    if (path.isEmpty()) return;
    const BillHeader header = ctx.book.pastBillHeader(*d, now);
    if (!writeBillsPdf(pages, customers, header, path)) {
        if (ctx.shell) ctx.shell->addLines({WriteFailedText + QDir::toNativeSeparators(path)});
        return;
    }
    if (ctx.shell) ctx.shell->showStatus(SavedFileText + QDir::toNativeSeparators(path));
}

} // namespace varnoth
