#include "settings/Form18.h"

#include "app/Ledger.h"
#include "model/text.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "store/session.h"
#include "ui/main/SecondaryWindow.h"
#include "ui/main/Shell.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

namespace varnoth
{

namespace
{

const QString OpenCaption = QStringLiteral("เปิดอ่าน");
const QString SaveCaption = QStringLiteral("บันทึก");
// The save button before a name is typed: one vowel differs, and the button acts only on the
// caption above.
const QString UnarmedSaveCaption = QStringLiteral("บันทีก");
const QString HistoryButton = QStringLiteral("ประวัติส่งออก");
const QString SaveSendOutButton = QStringLiteral("บันทึกส่งออก");

} // namespace

Form18::Form18(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, 18, parent), Label1(new QLabel(QStringLiteral("ใส่ชื่อ"), this)),
      Text1(new QLineEdit(this)), List1(new QListWidget(this)), Command1(new QPushButton(SaveCaption, this)),
      mMore(new QMenu(QStringLiteral("More"), this))
{
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Customer"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    List1->setObjectName(QStringLiteral("List1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    mMore->setObjectName(QStringLiteral("mMore"));
    mOpen = mMore->addAction(QStringLiteral("Open"));
    mOpen->setObjectName(QStringLiteral("mOpen"));
    mDelete = mMore->addAction(QStringLiteral("Delete"));
    mDelete->setObjectName(QStringLiteral("mDelete"));
    mOpen->setIcon(openIcon());
    mDelete->setIcon(deleteIcon());

    place(Label1, 120, 120, 3000, 240);
    place(Text1, 120, 360, 3000, 360);
    place(List1, 120, 840, 3000, 2100);
    place(Command1, 120, 3060, 3000, 400);

    hoverHighlight(Command1, QColor(0, 192, 0));
    connect(Command1, &QPushButton::clicked, this, &Form18::command1Click);
    connect(Text1, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Text1, &QLineEdit::textChanged, this, [this] {
        if (windowTitle() == QLatin1String("Save")) Command1->setText(SaveCaption);
    });
    connect(List1, &QListWidget::itemClicked, this, &Form18::onItemClicked);
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = List1->selectedItems();
        if (!selected.isEmpty()) onItemClicked(selected.first());
    });
    connect(mOpen, &QAction::triggered, this, &Form18::command1Click);
    connect(mDelete, &QAction::triggered, this, &Form18::deleteSelected);
    List1->viewport()->installEventFilter(this);

    Text1->clear();
    List1->clear();
}

void Form18::setUp()
{
    const QString mode = ctx.session.WindowMode;
    const QString history = ctx.shell ? ctx.shell->sendOutCaption() : QString();
    if (mode == QLatin1String("2") && history == HistoryButton) {
        List1->clear();
        Command1->setText(OpenCaption);
        Command1->setEnabled(false);
        setWindowTitle(QStringLiteral("Open"));
        listHistory();
    } else if (mode == QLatin1String("2") && history == SaveSendOutButton) {
        List1->clear();
        Command1->setText(UnarmedSaveCaption);
        Command1->setEnabled(true);
        setWindowTitle(QStringLiteral("Save"));
        listHistory();
    } else if (mode == QLatin1String("1")) {
        List1->clear();
        setWindowTitle(QStringLiteral("Customer"));
        Command1->setText(SaveCaption);
        Command1->setEnabled(true);
        if (ctx.shell) ctx.shell->refreshPickLists();
    }
}

bool Form18::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1->viewport()) {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
            type == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                // The menu acts on the name last clicked, so a right click must not move the
                // highlight to another one.
                if (type == QEvent::MouseButtonRelease) mMore->popup(mouse->globalPosition().toPoint());
                return true;
            }
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void Form18::listHistory()
{
    List1->addItems(ListHistory(ctx.store));
}

void Form18::onItemClicked(QListWidgetItem* item)
{
    if (!item) return;
    m_selected = item->text();
    Text1->setText(m_selected);
    Command1->setText(OpenCaption);
    Command1->setEnabled(true);
}

void Form18::command1Click()
{
    List1->clear();
    const QString mode = ctx.session.WindowMode;
    const QString caption = Command1->text();
    if (mode == QLatin1String("2") && caption == SaveCaption)
        save();
    else if (caption == OpenCaption)
        open();
    else if (mode == QLatin1String("1") && caption == SaveCaption)
        addCustomer();
}

void Form18::save()
{
    const HistorySave result = ctx.ledger.saveSendOutList(Text1->text());
    Text1->setText(result.text1);
    if (ctx.shell) ctx.shell->addLines(result.lines);
    listHistory();
    if (!result.saved) return;
    ctx.session.SendOutData.clear();
    if (ctx.shell) ctx.shell->setSendOutCaption(HistoryButton);
    Command1->setEnabled(false);
}

void Form18::open()
{
    const QString name = CleanName(Text1->text());
    if (name.isEmpty()) {
        listHistory();
        return;
    }
    const QStringList lines = openSavedList(ctx.store, name);
    Shell* shell = ctx.shell;
    if (!shell) return;
    shell->clearList();
    // This closes this window too; it goes once the handler has returned.
    shell->closeSecondaryWindows();
    shell->addLines(lines);
    shell->setSendOutCaption(HistoryButton);
}

void Form18::addCustomer()
{
    const NameEntry result = ctx.ledger.addCustomerName(Text1->text());
    Text1->setText(result.text1);
    if (ctx.shell) {
        ctx.shell->addLines(result.lines);
        ctx.shell->refreshPickLists();
    }
}

void Form18::deleteSelected()
{
    const QString mode = ctx.session.WindowMode;
    QStringList lines;
    if (mode == QLatin1String("2")) {
        lines = ctx.ledger.deleteSavedList(m_selected);
        List1->clear();
        listHistory();
    } else if (mode == QLatin1String("1")) {
        lines = ctx.ledger.removeCustomer(m_selected);
        List1->clear();
        if (ctx.shell) ctx.shell->refreshPickLists();
    } else {
        return;
    }
    m_selected.clear();
    Text1->clear();
    if (ctx.shell) ctx.shell->addLines(lines);
}

void Form18::refillPickLists(const QStringList& types, const QStringList& customers)
{
    Q_UNUSED(types);
    List1->clear();
    List1->addItems(customers);
}

} // namespace varnoth
