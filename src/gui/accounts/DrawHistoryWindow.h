#pragma once
// The past draws: one row per dated copy of the book (date, customers, stake, first prize, profit),
// and the reports and bills of the one picked, run on the copy without writing to it.

#include "accounts/drawhistory.h"
#include "gui/main/SecondaryWindow.h"

class QPushButton;
class QTableWidget;

namespace varnoth
{

class DrawHistoryWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit DrawHistoryWindow(AppContext& context, QWidget* parent = nullptr);
    void setUp() override;

    QTableWidget* List1;
    QPushButton* Command1; // view the stakes
    QPushButton* Command2; // prize check
    QPushButton* Command3; // every customer's bill
    QPushButton* Command4; // the bills as a PDF

    void listDraws();
    void viewDraw();
    void checkDraw();
    void billDraw();
    void billDrawPdf();

private:
    const PastDraw* pickedDraw() const;
    void show(const QStringList& lines);
    QList<PastDraw> m_draws;
};

} // namespace varnoth
