#pragma once
// The search window: a type, a number and a customer, "ทั้งหมด" standing for all.

#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnoth
{

class Form6 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form6(AppContext& context, QWidget* parent = nullptr);
    void refillPickLists(const QStringList& types, const QStringList& customers) override;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QComboBox* Combo1;
    QLineEdit* Text1;
    QComboBox* Combo2;
    QPushButton* Command3;
    QPushButton* Command1;

    void search();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace varnoth
