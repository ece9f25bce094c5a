#pragma once
// The paste window: a customer's chat message on the left, what was read from it on the right (every
// bet, and every line not understood in red), and one button that stores all the bets at once.

#include "entry/chat.h"
#include "ui/main/SecondaryWindow.h"

#include <QTimer>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace varnoth
{

class ChatPasteWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit ChatPasteWindow(AppContext& context, QWidget* parent = nullptr);

    // Takes the type and customer being keyed in the main window when the window holds no message.
    void setUp() override;
    void refillPickLists(const QStringList& types, const QStringList& customers) override;
    std::optional<std::pair<QString, QString>> keyedPair() const override;

    // Reads the message again now (it is read a moment after each change as the operator types).
    void reread();
    const ChatParse& parse() const { return m_parse; }
    // The customer the bets go to: the box, else the name on the message's first line.
    QString customer() const;
    // Stores every understood bet; asks first when the stated total does not match.
    void commit();

    QComboBox* Combo1;      // the type of lines with one plain amount
    QComboBox* Combo2;      // the customer
    QPlainTextEdit* Text1;  // the message
    QTableWidget* Grid1;    // what was read: one row per bet or per line not understood
    QLabel* Label1;         // the count, the sum and the stated total
    QLabel* Label2;         // the customer found in the message
    QPushButton* Command1;  // store
    QPushButton* Command2;  // clear

private:
    void showParse();
    void addRow(int line, const QString& text, const QStringList& cells, const QColor& colour, bool editable);
    void onCellEdited(QTableWidgetItem* item);
    void replaceLine(int line, const QString& text);

    ChatParse m_parse;
    QTimer m_reread;
    bool m_filling = false;
};

} // namespace varnoth
