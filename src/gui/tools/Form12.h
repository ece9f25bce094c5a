#pragma once
// The calculator window: two operands, an operator sign and the result, recomputed as they change.

#include "gui/main/SecondaryWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnoth
{

class Form12 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form12(AppContext& context, QWidget* parent = nullptr);

    // Computes and shows the result of the fields as they stand.
    void Calculator();

    QLabel* Label4; // title
    QLabel* Label1;
    QLineEdit* Text1; // first operand
    QLabel* Label2;
    QLineEdit* Text2; // second operand
    QLineEdit* Text4; // operator sign
    QLabel* Label3;
    QLineEdit* Text3; // result
    // The sign buttons: + - * / %
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;

private:
    void moveOperator(int top);
    void pressSign(int index);
};

} // namespace varnoth
