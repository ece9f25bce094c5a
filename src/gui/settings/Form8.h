#pragma once
// The result window: the six drawn numbers of the draw.

#include "gui/main/SecondaryWindow.h"
#include "settings/result.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnoth
{

class Form8 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form8(AppContext& context, QWidget* parent = nullptr);

    // Fills the fields from the result file.
    void setUp() override;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    // Why the drawn numbers were not saved.
    QLabel* Label4;
    // The first prize, the four three-digit lower numbers and the two-digit lower number.
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QLineEdit* Text5;
    QLineEdit* Text6;
    QPushButton* Command1;
    QPushButton* Command2;

    void SaveResult();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void closeWindow();
    void showProblems(const ResultCheck& check);
    std::array<QLineEdit*, 6> m_fields{};
};

} // namespace varnoth
