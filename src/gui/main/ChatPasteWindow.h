#pragma once
// The paste window: a customer's chat message on the left, what was read from it on the right (every
// bet, and every line not understood in red), and one button that stores all the bets at once.

#include "entry/chat.h"
#include "gui/main/SecondaryWindow.h"

#include <QAbstractTableModel>
#include <QTimer>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace varnoth
{

// What was read, one row per bet and one per line that holds none; a message of 10,000 lines makes
// some 30,000 rows, so the rows are worked out when the view asks, not made as items. The text of a
// line not understood can be edited in place.
class ChatModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    enum Columns { LineColumn, TypeColumn, NumberColumn, AmountColumn, ColumnCount };
    void setParse(const ChatParse* parse);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // A row of a bet, or of a line that holds none (its note runs over the other columns).
    bool holdsBet(int row) const { return m_rows.value(row).bet >= 0; }

signals:
    // The operator corrected a line in place.
    void lineEdited(int line, const QString& text);

private:
    struct Row {
        int line = 0;
        int bet = -1; // -1: the line itself (no bet)
    };
    const ChatParse* m_parse = nullptr;
    QList<Row> m_rows;
};

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

    QComboBox* Combo1;     // the type of lines with one plain amount
    QComboBox* Combo2;     // the customer
    QPlainTextEdit* Text1; // the message
    QTableView* Grid1;     // what was read: one row per bet or per line not understood
    QLabel* Label1;        // the count, the sum and the stated total
    QLabel* Label2;        // the customer found in the message
    QPushButton* Command1; // store
    QPushButton* Command2; // clear

private:
    void showParse();
    void replaceLine(int line, const QString& text);

    ChatParse m_parse;
    ChatModel* m_model;
    QTimer m_reread;
};

} // namespace varnoth
