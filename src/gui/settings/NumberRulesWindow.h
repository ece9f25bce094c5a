#pragma once
// The number rules window: a type's rules listed, and a rule set or cleared for one number.

#include "gui/main/SecondaryWindow.h"
#include "settings/numberrules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace varnoth
{

class NumberRulesWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit NumberRulesWindow(AppContext& context, QWidget* parent = nullptr);
    void setUp() override;
    // Lists the rules of the chosen type again.
    void refresh();

    QComboBox* Combo1;     // type
    QLineEdit* Text1;      // number
    QComboBox* Combo2;     // limit, closed, pay
    QLineEdit* Text2;      // the limit or the percentage
    QCheckBox* Check1;     // every order of the digits
    QPushButton* Command1; // save
    QPushButton* Command2; // clear the number's rule
    QListWidget* List1;
    QLabel* Label1; // what the last action came to

private:
    RuleKind chosenKind() const;
    void save();
    void clearRule();
    void pick(int row);
    // What the last action came to: red when it was refused or failed.
    void showOutcome(const QStringList& lines, bool done);
    QList<NumberRule> m_shown; // the rules behind the rows of List1
};

} // namespace varnoth
