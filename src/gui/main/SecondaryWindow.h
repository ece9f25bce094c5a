#pragma once
// Base of every secondary window: placement on load (centred on the main window, wholly on the
// screen), the grow-in driven by its own Timer1, sizes in twips, the hover colour of its buttons,
// and Esc to close.

#include "gui/main/AppContext.h"
#include "gui/main/windows.h"
#include "gui/main/windowtexts.h"

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>

class QAbstractButton;
class QLineEdit;
class QListWidget;

class QComboBox;

namespace varnoth
{

// Twips to pixels at the screen's logical DPI (15 twips a pixel at 96 DPI).
int twips(double value);
// Places a control by its position and size in twips.
void place(QWidget* widget, int left, int top, int width, int height);

// The field selects its whole text whenever it takes the focus, by key or by click, so that what the
// operator types replaces the value instead of being added to it.
void selectAllOnFocus(QLineEdit* field);

struct GrowIn {
    double widthStep = 226;
    double heightStep = 200;
    double endHeight = 3000;
    double finalWidth = 3400;
    double finalHeight = 3000;
    bool roundWidthToEven = false; // the counter is rounded after each step, halves to even
};

class SecondaryWindow : public QWidget
{
    Q_OBJECT
public:
    SecondaryWindow(AppContext& context, WindowId id, QWidget* parent = nullptr);

    WindowId id() const { return m_id; }
    // The set-up that OpenWindow applies before the window is shown (per window; default none).
    virtual void setUp() {}
    // A window opened for one job: the caption it shows and the text it starts with (default none).
    virtual void prepare(const QString& caption, const QString& text)
    {
        Q_UNUSED(caption);
        Q_UNUSED(text);
    }
    // The type and customer being keyed in this window, when it is an entry window.
    virtual std::optional<std::pair<QString, QString>> keyedPair() const { return std::nullopt; }
    // Hides the window's own progress bar, if it has one.
    virtual void hideProgress() {}
    // The book's types and customers changed: the window's pickers are filled again.
    virtual void refillPickLists(const QStringList& types, const QStringList& customers)
    {
        Q_UNUSED(types);
        Q_UNUSED(customers);
    }
    // The text the window shows, for printing ("" when it shows none).
    virtual QString printableText() const { return {}; }
    // Places the window and starts the grow-in: the first tick shows it. A window already on the
    // screen is only brought to the front.
    void startGrowIn();
    bool isGrowing() const { return Timer1.isActive(); }
    // Runs the grow-in to its end at once (tests, and windows opened while another grows).
    void finishGrowIn();

    GrowIn growIn() const { return m_grow; }
    void setGrowIn(const GrowIn& grow) { m_grow = grow; }

    // Paints `button` in `colour` while the mouse is over it; `others` take the button face.
    void hoverHighlight(QAbstractButton* button, const QColor& colour, const QList<QAbstractButton*>& others = {});

    QTimer Timer1;

    // The system's pickers of a file to save (starting at a proposed path, with a name filter) and of
    // a folder to save into (starting in a folder), asked over this window; "" when the operator
    // cancels. The window tests answer in their place, without a modal dialog.
    std::function<QString(const QString& title, const QString& proposed, const QString& filter)> pickSaveFile;
    std::function<QString(const QString& title, const QString& start)> pickFolder;

    // Fills a picker with the items (and "ทั้งหมด" after them), nothing picked, without signals.
    static void fillPicker(QComboBox* combo, const QStringList& items, bool withAll);

signals:
    void closed(varnoth::WindowId id);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    AppContext& ctx;

private:
    void growTick();
    void placeOnScreen();
    WindowId m_id;
    QSize m_finalSize;
    GrowIn m_grow;
    double m_widthCounter = 0;
    double m_heightCounter = 0;
    int m_ticks = 0;
    struct Hover {
        QColor colour;
        QList<QAbstractButton*> others;
    };
    QHash<QObject*, Hover> m_hover;
};

// The icons of menus and picture buttons: the desktop theme's, or Qt's own standard icon where the
// theme has none. Open and delete look the same in every window.
QIcon themedIcon(const char* theme, QStyle::StandardPixmap fallback);
QIcon openIcon();
QIcon deleteIcon();
// A picker the operator may also type into, the same in every window: what is typed completes to an
// item of its list in place, and Enter takes the item the text names (the item itself, or the only
// one that begins with it) and then runs `enter`. A text that names no item stays as typed, or, with
// `onlyListed`, is emptied, so that only an item of the list is ever taken.
void takeTypedOnEnter(QComboBox* combo, std::function<void()> enter, bool onlyListed = false);
// The item of `items` that `typed` names: the item equal to it (blanks around it aside), else the
// only item that begins with it; "" when it names none or several.
QString namedItem(const QStringList& items, const QString& typed);

// Asks before something doubtful is stored ("store anyway?"); the default answer, and Esc, store
// nothing, so an Enter pressed out of habit cannot book it. The box is named `boxName`.
bool askStoreAnyway(QWidget* parent, const QString& title, const QString& question, const QString& boxName);
// The same question before a bet is stored once the result is saved ("AfterResultBox").
bool askAfterResult(QWidget* parent, const QString& question);

// How a list shows the mark of a bet (closed number, over the limit, reduced pay): each its own dark
// ink on a pale ground of its own, so that it reads whatever colour the list is set to. The words
// stay in the line, for a black and white print.
struct MarkColours {
    QColor ink;
    QColor ground;
};
std::optional<MarkColours> markColours(const QString& line);
// Colours the marked rows of the list from `firstRow` on.
void colourMarkedRows(QListWidget* list, int firstRow);

} // namespace varnoth
