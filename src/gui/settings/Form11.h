#pragma once
// The settings window: the per-type values of one setting (rates, limits, number cuts, digit
// cuts, discounts), or the book options, in a list view and an edit view.

#include "gui/main/SecondaryWindow.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace varnoth
{

class Form11 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form11(AppContext& context, QWidget* parent = nullptr);

    // Fills the list for the current WindowMode and shows the list view. The window keeps that mode
    // until it is opened again.
    void setUp() override;

    QLabel* Label1;
    QLabel* Label4; // the list heading
    QListWidget* List1;
    QLabel* Label2;
    QLineEdit* Text1;
    QLineEdit* Text2;
    std::array<QCheckBox*, 3> Check1{};
    QLabel* Label3;
    QPushButton* Command2;
    QPushButton* Command1;

    // The list position of the item being edited.
    int EditIndex = -1;

    void beginEdit(QListWidgetItem* item);
    void SaveSetting();
    void showListView();

protected:
    // Esc leaves the edit view first, and the window only from the list view.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The items as the file gives them, in its order, which a save writes back.
    QStringList listItems() const;
    // Fills the list again from the file. While the window stays open every row keeps the type it
    // showed, so that a save never moves the rows under the operator; a new item comes last.
    void reload(bool keepRows);
    int itemIndex(int row) const { return row >= 0 && row < m_rows.size() ? m_rows[row] : -1; }
    bool editing() const;
    bool digitCut() const;
    // The window lists the book options (amount ceiling, shop name) instead of a per-type setting.
    bool bookOptionsMode() const;

    WindowMode m_mode = WindowMode::None;
    QStringList m_items; // in file order
    QList<int> m_rows;   // for each row of List1, its item in m_items
};

} // namespace varnoth
