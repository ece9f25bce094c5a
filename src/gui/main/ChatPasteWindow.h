#pragma once
// The paste window: a customer's chat message on the left, what was read from it on the right (every
// bet, and every line not understood in red), and one button that stores all the bets at once.

#include "entry/chat.h"
#include "entry/pictureread.h"
#include "gui/main/SecondaryWindow.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <memory>

class QComboBox;
class QLabel;
class QGraphicsScene;
class QGraphicsView;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTableView;
class QThread;

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
    // The line a row comes from, and the first row of a line (-1 when it has none).
    int lineOf(int row) const { return m_rows.value(row, Row{-1, -1}).line; }
    int firstRowOf(int line) const;
    // The piece of the picture shown beside each line not understood ("" when the message was typed).
    void setPieces(QHash<int, QPixmap> pieces) { m_pieces = std::move(pieces); }

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
    QHash<int, QPixmap> m_pieces;
};

class ChatPasteWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit ChatPasteWindow(AppContext& context, QWidget* parent = nullptr);
    ~ChatPasteWindow() override;

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

    // Reads a picture instead of a typed message: shown on the left, its lines read on another
    // thread; false (with the reason in Label1) when it is no picture.
    bool openPicture(const QString& path);
    bool showPicture(const QImage& image, const QByteArray& digest);
    // Pastes what the clipboard holds: a picture is read, text goes into the message box.
    void paste();
    bool reading() const { return m_thread != nullptr; }
    void cancelReading();
    bool showsPicture() const;
    const PictureParse& pictureParse() const { return m_picture; }
    // The boxes framed in the picture: the words of the line picked in Grid1.
    QList<QRectF> framedBoxes() const;
    // Picks the row of the line read at a point of the picture (in its own pixels).
    void pickAt(const QPointF& point);

signals:
    // The picture's lines were read (or the reading stopped).
    void pictureRead();

public:
    QComboBox* Combo1;       // the type of lines with one plain amount
    QComboBox* Combo2;       // the customer
    QPlainTextEdit* Text1;   // the message
    QTableView* Grid1;       // what was read: one row per bet or per line not understood
    QLabel* Label1;          // the count, the sum and the stated total
    QLabel* Label2;          // the customer found in the message
    QPushButton* Command1;   // store
    QPushButton* Command2;   // clear
    QPushButton* Command3;   // open a picture
    QPushButton* Command4;   // stop reading the picture
    QGraphicsView* Picture1; // the picture, with the words of the picked line framed

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showParse();
    void replaceLine(int line, const QString& text);
    void readPicture();
    void pictureLinesRead(const QList<PictureLine>& lines, const QString& error, bool cancelled);
    void frameLine(int line);
    void clearPicture();
    void zoom(double factor);

    ChatParse m_parse;
    ChatModel* m_model;
    QTimer m_reread;
    QStackedWidget* m_left;
    QGraphicsScene* m_scene;
    QImage m_image;                 // the picture being read, empty for a typed message
    QByteArray m_digest;            // its SHA-256
    QList<PictureTextLine> m_lines; // what was read from it, with the operator's corrections
    PictureParse m_picture;
    QThread* m_thread = nullptr;
    QList<QPointer<QThread>> m_stopped; // readings stopped by the operator, still ending
    std::shared_ptr<std::atomic_bool> m_cancel;
    int m_generation = 0; // a picture read after another one makes the first one's result stale
};

} // namespace varnoth
