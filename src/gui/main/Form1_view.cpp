// The main window's view: fixed side columns around a list that takes the room, one font for every
// line of the list and its zoom (remembered per user), the type hotkeys, and taking back an entry
// with Ctrl+Z wherever the focus is.
#include "gui/main/Form1.h"
#include "gui/main/windowtexts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStyledItemDelegate>

namespace varnoth
{

namespace
{

constexpr int ZoomOutSteps = 4;
constexpr int ZoomInSteps = 16;
const QString ZoomKey = QStringLiteral("list/zoom");

// The operator's own view settings: a per-user file, never part of a book.
QSettings viewSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Varnoth"), QStringLiteral("view"));
}

// Every row of the list is one line of the list's font high, whatever its text: Thai lines with
// marks above and below and plain digit lines alike.
class UniformRows : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(QFontMetrics(option.font).height() + 4);
        return size;
    }
};

// A line edit runs its own undo on Ctrl+Z before any window shortcut sees the key. Inside the main
// window the key takes back the last entry instead, whichever control has the focus.
class UndoKeyGuard : public QObject
{
public:
    explicit UndoKeyGuard(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_window) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->matches(QKeySequence::Undo) && !key->matches(QKeySequence::Redo)) return false;
        event->ignore(); // not overridden: the window's shortcut runs
        return true;
    }

private:
    QWidget* m_window;
};

} // namespace

void Form1::setUpView()
{
    // The drop-downs are as wide as the column, not as their longest name.
    for (QComboBox* combo : {Combo1, Combo2}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(8);
    }
    for (QWidget* column : {m_leftColumn, m_rightColumn})
        column->setFixedWidth(column->sizeHint().width());
    // Texts that change while typing or picking wrap inside their column instead of widening it.
    for (QLabel* l : {Label6, Label16, Label8})
        l->setWordWrap(true);
    Text3->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label16->setMinimumHeight(2 * Label16->fontMetrics().lineSpacing());
    Label16->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    // One font for every line of the list: the first of these that is installed draws Thai and
    // digits alike.
    QFont font = List1->font();
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Loma"), QStringLiteral("Garuda"),
                      QStringLiteral("Waree"), QStringLiteral("Noto Sans Thai")});
    m_listBaseSize = std::max(10.0, QApplication::font().pointSizeF());
    List1->setFont(font);
    List1->setItemDelegate(new UniformRows(List1));
    m_zoom = std::clamp(viewSettings().value(ZoomKey, 0).toInt(), -ZoomOutSteps, ZoomInSteps);
    applyListFont();

    auto windowAction = [this](const QString& text, const QList<QKeySequence>& keys, auto slot) {
        auto* a = new QAction(text, this);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    mMore->addSeparator();
    mMore->addAction(windowAction(ZoomInMenuText, {QKeySequence::ZoomIn, QKeySequence(QStringLiteral("Ctrl+="))},
                                  [this] { zoomList(1); }));
    mMore->addAction(windowAction(ZoomOutMenuText, {QKeySequence::ZoomOut}, [this] { zoomList(-1); }));
    mMore->addAction(
        windowAction(NormalSizeMenuText, {QKeySequence(QStringLiteral("Ctrl+0"))}, [this] { zoomList(0); }));
    // F1 ... F12 pick the first twelve types; help stays in its menu.
    for (int i = 0; i < 12; ++i)
        windowAction(QStringLiteral("F%1").arg(i + 1), {QKeySequence(Qt::Key_F1 + i)}, [this, i] { pickTypeByKey(i); });

    mUndo->setShortcutContext(Qt::WindowShortcut);
    qApp->installEventFilter(new UndoKeyGuard(this));
}

void Form1::applyListFont()
{
    QFont font = List1->font();
    font.setPointSizeF(m_listBaseSize + m_zoom);
    List1->setFont(font);
    List1->doItemsLayout();
    layOutMiddle();
}

void Form1::zoomList(int step)
{
    const int zoom = step == 0 ? 0 : std::clamp(m_zoom + step, -ZoomOutSteps, ZoomInSteps);
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    applyListFont();
    QSettings settings = viewSettings();
    settings.setValue(ZoomKey, m_zoom);
}

void Form1::pickTypeByKey(int index)
{
    if (!Combo1->isEnabled() || index >= Combo1->count()) return;
    Combo1->setCurrentIndex(index);
    SelectTypeCustomer(false);
}

} // namespace varnoth
