#pragma once
// The print dialog: font size and copies, then the main list or the read-me goes to the printer.

#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace varnoth
{

class Form4 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form4(AppContext& context, QWidget* parent = nullptr);

    // Takes what to print from the WindowMode its opener set.
    void setUp() override;

    QLabel* Label1;
    QComboBox* Combo1; // font size in points
    QLabel* Label2;
    QComboBox* Combo2; // copies
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void print();
    QString readmeText() const;

    // Kept from the opening: another opener may change WindowMode while the dialog waits.
    WindowMode m_mode = WindowMode::None;
};

} // namespace varnoth
