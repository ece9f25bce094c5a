#include "gui/main/SecondaryWindow.h"

#include "entry/entry.h"
#include "entry/rulemarks.h"
#include "gui/main/Shell.h"
#include "gui/main/placement.h"
#include "settings/resulttexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <cmath>

namespace varnoth
{

int twips(double value)
{
    double dpi = 96;
    if (QScreen* s = QGuiApplication::primaryScreen()) dpi = s->logicalDotsPerInch();
    return static_cast<int>(std::lround(value * dpi / 1440.0));
}

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

namespace
{

class SelectOnFocus : public QObject
{
public:
    explicit SelectOnFocus(QLineEdit* field) : QObject(field), m_field(field) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // After the event: a click that gave the focus would otherwise drop the selection again.
        if (event->type() == QEvent::FocusIn) QTimer::singleShot(0, m_field, &QLineEdit::selectAll);
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* m_field;
};

} // namespace

void selectAllOnFocus(QLineEdit* field)
{
    field->installEventFilter(new SelectOnFocus(field));
}

SecondaryWindow::SecondaryWindow(AppContext& context, WindowId id, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ctx(context), m_id(id)
{
    setAttribute(Qt::WA_DeleteOnClose);
    Timer1.setInterval(1);
    connect(&Timer1, &QTimer::timeout, this, &SecondaryWindow::growTick);
    pickSaveFile = [this](const QString& title, const QString& proposed, const QString& filter) {
        return QFileDialog::getSaveFileName(this, title, proposed, filter);
    };
    pickFolder = [this](const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(this, title, start);
    };
}

void SecondaryWindow::startGrowIn()
{
    // A window opened again while it is on the screen stays where the operator has it.
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    m_widthCounter = 0;
    m_heightCounter = 0;
    m_ticks = 0;
    placeOnScreen();
    Timer1.start();
}

void SecondaryWindow::fillPicker(QComboBox* combo, const QStringList& items, bool withAll)
{
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    if (withAll) combo->addItem(QStringLiteral("ทั้งหมด"));
    combo->setCurrentIndex(-1);
    if (combo->isEditable()) combo->setEditText(QString());
}

void SecondaryWindow::placeOnScreen()
{
    const QWidget* main = ctx.shell ? ctx.shell->anchorWidget() : nullptr;
    QScreen* screen = main ? main->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const bool anchored = main && main->isVisible();
    const QRect anchor = anchored ? main->frameGeometry() : available;
    // The window manager has not framed this window yet; the main window's frame is the best guess.
    QMargins frame;
    if (anchored) {
        const QRect outer = main->frameGeometry(), inner = main->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    // A laid-out window may need more room than its size in twips.
    const QSize size = QSize(twips(m_grow.finalWidth), twips(m_grow.finalHeight)).expandedTo(minimumSizeHint());
    const QRect client = placeCentred(size, frame, anchor, available);
    m_finalSize = client.size();
    setGeometry(client);
}

void SecondaryWindow::growTick()
{
    if (m_ticks++ == 0) show();
    m_heightCounter += m_grow.heightStep;
    m_widthCounter += m_grow.widthStep;
    if (m_grow.roundWidthToEven) m_widthCounter = std::nearbyint(m_widthCounter);
    if (m_heightCounter < m_grow.endHeight) {
        resize(std::max(1, twips(m_widthCounter)), std::max(1, twips(m_heightCounter)));
        return;
    }
    Timer1.stop();
    m_widthCounter = 0;
    m_heightCounter = 0;
    resize(m_finalSize);
}

void SecondaryWindow::finishGrowIn()
{
    if (!Timer1.isActive()) return;
    while (Timer1.isActive())
        growTick();
}

void SecondaryWindow::hoverHighlight(QAbstractButton* button, const QColor& colour,
                                     const QList<QAbstractButton*>& others)
{
    button->setAutoFillBackground(true);
    button->installEventFilter(this);
    m_hover.insert(button, {colour, others});
}

bool SecondaryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        auto it = m_hover.constFind(watched);
        if (it != m_hover.constEnd()) {
            auto* b = static_cast<QAbstractButton*>(watched);
            QPalette p = b->palette();
            p.setColor(QPalette::Button, it->colour);
            b->setPalette(p);
            for (QAbstractButton* o : it->others)
                o->setPalette(QPalette());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SecondaryWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SecondaryWindow::closeEvent(QCloseEvent* event)
{
    Timer1.stop();
    emit closed(m_id);
    QWidget::closeEvent(event);
}

QIcon themedIcon(const char* theme, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(theme), QApplication::style()->standardIcon(fallback));
}

QIcon openIcon()
{
    return themedIcon("document-open", QStyle::SP_DirOpenIcon);
}

QIcon deleteIcon()
{
    return themedIcon("edit-delete", QStyle::SP_TrashIcon);
}

namespace
{

class EnterTakesTyped : public QObject
{
public:
    EnterTakesTyped(QComboBox* combo, std::function<void()> enter, bool onlyListed)
        : QObject(combo), m_combo(combo), m_enter(std::move(enter)), m_onlyListed(onlyListed)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return QObject::eventFilter(watched, event);
        QStringList items;
        for (int i = 0; i < m_combo->count(); ++i)
            items << m_combo->itemText(i);
        const QString typed = m_combo->currentText();
        const QString item = namedItem(items, typed);
        if (!item.isEmpty()) {
            m_combo->setCurrentIndex(m_combo->findText(item, Qt::MatchExactly));
            m_combo->setEditText(item);
            m_combo->lineEdit()->end(false); // the completed part is no longer a selection
        } else if (m_onlyListed && !typed.isEmpty()) {
            m_combo->setEditText(QString());
        }
        if (m_enter) m_enter();
        return true;
    }

private:
    QComboBox* m_combo;
    std::function<void()> m_enter;
    bool m_onlyListed;
};

} // namespace

QString namedItem(const QStringList& items, const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty()) return {};
    if (items.contains(text)) return text;
    QString only;
    for (const QString& item : items) {
        if (!item.startsWith(text)) continue;
        if (!only.isEmpty()) return {};
        only = item;
    }
    return only;
}

void takeTypedOnEnter(QComboBox* combo, std::function<void()> enter, bool onlyListed)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // The completer follows the list as it is filled again, and completes in the field itself, so
    // that no pop-up takes the Enter meant for the window.
    auto* completer = new QCompleter(combo->model(), combo);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::InlineCompletion);
    combo->setCompleter(completer);
    auto* filter = new EnterTakesTyped(combo, std::move(enter), onlyListed);
    combo->installEventFilter(filter);
    combo->lineEdit()->installEventFilter(filter);
}

bool askStoreAnyway(QWidget* parent, const QString& title, const QString& question, const QString& boxName)
{
    QMessageBox box(QMessageBox::Warning, title, question, QMessageBox::NoButton, parent);
    box.setObjectName(boxName);
    QPushButton* yes = box.addButton(StoreAnywayText, QMessageBox::YesRole);
    QPushButton* no = box.addButton(DoNotStoreText, QMessageBox::NoRole);
    yes->setObjectName(QStringLiteral("StoreAnyway"));
    no->setObjectName(QStringLiteral("DoNotStore"));
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool askAfterResult(QWidget* parent, const QString& question)
{
    return askStoreAnyway(parent, AfterResultTitle, question, QStringLiteral("AfterResultBox"));
}

std::optional<MarkColours> markColours(const QString& line)
{
    switch (ruleMarkOf(line)) {
    case RuleMarkKind::Closed:
        return MarkColours{QColor(170, 0, 0), QColor(255, 214, 214)};
    case RuleMarkKind::OverLimit:
        return MarkColours{QColor(120, 60, 0), QColor(255, 222, 160)};
    case RuleMarkKind::PayPercent:
        return MarkColours{QColor(0, 50, 150), QColor(208, 224, 255)};
    case RuleMarkKind::None:
        break;
    }
    return std::nullopt;
}

void colourMarkedRows(QListWidget* list, int firstRow)
{
    for (int row = std::max(0, firstRow); row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        if (const std::optional<MarkColours> c = markColours(item->text())) {
            item->setForeground(c->ink);
            item->setBackground(c->ground);
        }
    }
}

} // namespace varnoth
