#pragma once
// The result window of the settlement reports: the prize check, the profit and loss analysis and
// the number statistics, chosen by the window mode it is opened with.

#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace varnoth
{

struct ReportResult;

class Form14 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form14(AppContext& context, QWidget* parent = nullptr);
    void refillPickLists(const QStringList& types, const QStringList& customers) override;

    void setUp() override;

    QLabel* Label1;
    QComboBox* Combo1; // lottery type
    QLabel* Label2;
    QComboBox* Combo2; // customer (prize check only)
    QPushButton* Command1;
    QPushButton* Command2;

private:
    QComboBox* pickList(const QString& name);
    void run();
    void present(const ReportResult& report);

    WindowMode m_mode = WindowMode::None; // taken when the window opens
};

} // namespace varnoth
