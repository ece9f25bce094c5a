#pragma once
// The over-limit window: the send-out list of a type or of every type, or in keep mode what stays.

#include "gui/main/SecondaryWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace varnoth
{

class Form9 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form9(AppContext& context, QWidget* parent = nullptr);
    void refillPickLists(const QStringList& types, const QStringList& customers) override;

    // The caption "Check Limit" when the window is opened in mode "1".
    void setUp() override;

    QLabel* Label1;
    QComboBox* Combo1;
    QCheckBox* Check1;
    QPushButton* Command1;
    QPushButton* Command2;

    void run();
};

} // namespace varnoth
