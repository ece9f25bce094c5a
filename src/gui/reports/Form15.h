#pragma once
// The number-cut window: the cut numbers of a type or of every type.

#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace varnoth
{

class Form15 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form15(AppContext& context, QWidget* parent = nullptr);
    void refillPickLists(const QStringList& types, const QStringList& customers) override;

    QLabel* Label1;
    QComboBox* Combo1;
    QPushButton* Command1;
    QPushButton* Command2;

    void run();
};

} // namespace varnoth
