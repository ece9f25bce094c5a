#pragma once
// The history and customer window: saves the pending send-out list under a name, opens or deletes
// a saved one, and adds or removes customer names.

#include "gui/main/SecondaryWindow.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

namespace varnoth
{

class Form18 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form18(AppContext& context, QWidget* parent = nullptr);
    void refillPickLists(const QStringList& types, const QStringList& customers) override;

    // Open, save or customer mode, by WindowMode and the caption of the main window's Command13.
    // The window keeps that mode until it is opened again.
    void setUp() override;

    QLabel* Label1;
    QLineEdit* Text1;
    QListWidget* List1;
    QPushButton* Command1;
    QMenu* mMore;
    QAction* mOpen;
    QAction* mDelete;

    // Customer mode: the customer's own payout rate and discount for a type.
    QGroupBox* Frame1;
    QLabel* Label2;
    QComboBox* Combo1; // the type
    QLabel* Label3;
    QLineEdit* Text2; // payout rate
    QLabel* Label4;
    QLineEdit* Text3; // discount percentage
    QLabel* Label5;   // the type's own payout rate, beside the customer's
    QLabel* Label6;   // the type's own discount
    QPushButton* Command2;

    // Save mode in a book with dealers: the dealer the list goes to ("" for none) and the split of
    // the list over all of them.
    QGroupBox* Frame2;
    QComboBox* Combo2;
    QPushButton* Command3;

    // The list item last clicked.
    QString selectedName() const { return m_selected; }

    void command1Click();
    void deleteSelected();
    void saveRate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Esc in the own-rate part leaves it (what was typed there and not saved is dropped), and only
    // then closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void listHistory();
    void save();
    void splitSend();

    WindowMode m_mode = WindowMode::None;
    void open();
    void addCustomer();
    void onItemClicked(QListWidgetItem* item);
    // Shows the picked customer's own figures for the picked type.
    void showRate();

    QString m_selected;
};

} // namespace varnoth
