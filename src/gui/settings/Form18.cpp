#include "gui/settings/Form18.h"

#include "app/bookreader.h"
#include "accounts/accounttexts.h"
#include "accounts/customerrates.h"
#include "accounts/dealertexts.h"
#include "app/Ledger.h"
#include "core/model/text.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "settings/keyed.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
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
    : SecondaryWindow(context, WindowId::Customers, parent), Label1(new QLabel(QStringLiteral("ใส่ชื่อ"), this)),
      Text1(new QLineEdit(this)), List1(new QListWidget(this)), Command1(new QPushButton(SaveCaption, this)),
      mMore(new QMenu(QStringLiteral("More"), this)), Frame1(new QGroupBox(RatesPartTitle, this)),
      Label2(new QLabel(TypeLabelText, Frame1)), Combo1(new QComboBox(Frame1)),
      Label3(new QLabel(PayoutLabelText, Frame1)), Text2(new QLineEdit(Frame1)),
      Label4(new QLabel(DiscountLabelText, Frame1)), Text3(new QLineEdit(Frame1)), Label5(new QLabel(Frame1)),
      Label6(new QLabel(Frame1)), Command2(new QPushButton(SaveRateCaption, Frame1)),
      Frame2(new QGroupBox(DealerPickTitle, this)), Combo2(new QComboBox(Frame2)),
      Command3(new QPushButton(SplitSendCaption, Frame2))
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

    const std::pair<QWidget*, const char*> rateNames[] = {
        {Frame1, "Frame1"}, {Label2, "Label2"}, {Combo1, "Combo1"}, {Label3, "Label3"}, {Text2, "Text2"},
        {Label4, "Label4"}, {Text3, "Text3"},   {Label5, "Label5"}, {Label6, "Label6"}, {Command2, "Command2"}};
    for (const auto& [widget, name] : rateNames)
        widget->setObjectName(QString::fromLatin1(name));
    Command2->setAutoDefault(false);
    place(Frame1, 3300, 60, 3000, 3400);
    place(Label2, 120, 420, 2760, 240);
    place(Combo1, 120, 660, 2760, 360);
    place(Label3, 120, 1140, 2760, 240);
    place(Text2, 120, 1380, 2760, 360);
    place(Label5, 120, 1760, 2760, 240);
    place(Label4, 120, 2040, 2760, 240);
    place(Text3, 120, 2280, 2760, 360);
    place(Label6, 120, 2660, 2760, 240);
    place(Command2, 120, 2960, 2760, 400);
    Frame1->hide();
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAutoDefault(false);
    place(Frame2, 3300, 60, 3000, 3400);
    place(Combo2, 120, 420, 2760, 360);
    place(Command3, 120, 2960, 2760, 400);
    Frame2->hide();
    connect(Command3, &QPushButton::clicked, this, &Form18::splitSend);
    connect(Command2, &QPushButton::clicked, this, &Form18::saveRate);
    connect(Text2, &QLineEdit::returnPressed, Text3, qOverload<>(&QWidget::setFocus));
    connect(Text3, &QLineEdit::returnPressed, Command2, &QPushButton::click);
    connect(Combo1, &QComboBox::currentTextChanged, this, &Form18::showRate);

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
    m_mode = ctx.session.WindowMode;
    const QString history = ctx.shell ? ctx.shell->sendOutCaption() : QString();
    if (m_mode == WindowMode::SendOutLists && history == HistoryButton) {
        List1->clear();
        Command1->setText(OpenCaption);
        Command1->setEnabled(false);
        setWindowTitle(QStringLiteral("Open"));
        listHistory();
    } else if (m_mode == WindowMode::SendOutLists && history == SaveSendOutButton) {
        List1->clear();
        Command1->setText(UnarmedSaveCaption);
        Command1->setEnabled(true);
        setWindowTitle(QStringLiteral("Save"));
        listHistory();
    }
    // The customer's own figures stand beside the list in customer mode only, the dealers beside a
    // list being saved when the book has dealers.
    const bool customers = m_mode == WindowMode::CustomerNames;
    const Dealers dealers = ctx.book.dealers();
    const bool toDealers = m_mode == WindowMode::SendOutLists && history == SaveSendOutButton && !dealers.items.isEmpty();
    Frame1->setVisible(customers);
    Frame2->setVisible(toDealers);
    Combo2->clear();
    Command3->setEnabled(toDealers);
    if (toDealers) {
        Combo2->addItem(QString());
        for (const Dealer& d : dealers.items)
            Combo2->addItem(d.name);
    }
    setGrowIn(customers || toDealers ? GrowIn{226, 242, 3675, 6480, 3960, false}
                                     : GrowIn{226, 242, 3675, 3360, 3960, false});
    if (customers) {
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
    List1->addItems(ctx.book.savedLists());
}

void Form18::onItemClicked(QListWidgetItem* item)
{
    if (!item) return;
    m_selected = item->text();
    Text1->setText(m_selected);
    showRate();
    Command1->setText(OpenCaption);
    Command1->setEnabled(true);
}

void Form18::command1Click()
{
    List1->clear();
    const QString caption = Command1->text();
    if (m_mode == WindowMode::SendOutLists && caption == SaveCaption)
        save();
    else if (caption == OpenCaption)
        open();
    else if (m_mode == WindowMode::CustomerNames && caption == SaveCaption)
        addCustomer();
}

void Form18::save()
{
    const QString dealer = !Frame2->isHidden() ? Combo2->currentText() : QString();
    HistorySave result;
    if (dealer.isEmpty()) {
        result = ctx.ledger.saveSendOutList(Text1->text());
    } else {
        const DealerSave given = ctx.ledger.saveDealerList(Text1->text(), dealer);
        if (!given.refusal.isEmpty()) {
            if (ctx.shell) ctx.shell->addLines(given.lines);
            listHistory();
            return;
        }
        result = given.save;
    }
    Text1->setText(result.text1);
    if (ctx.shell) ctx.shell->addLines(result.lines);
    listHistory();
    if (!result.saved) return;
    ctx.session.SendOutData.clear();
    if (ctx.shell) ctx.shell->setSendOutCaption(HistoryButton);
    Command1->setEnabled(false);
}

void Form18::splitSend()
{
    List1->clear();
    if (enteredName(Text1->text()).isEmpty()) {
        listHistory();
        return Text1->setFocus();
    }
    const DealerSave split = ctx.ledger.splitSend(Text1->text());
    QStringList lines;
    for (const DealerShare& share : split.shares) {
        lines << DealerListHead + share.dealer;
        for (const NumberAmount& a : share.items)
            lines << a.type + QLatin1Char(' ') + a.number + QLatin1Char('-') + shortestDecimal(double(a.satang) / 100);
    }
    if (!split.unplaced.isEmpty()) lines << DealerUnplacedHead;
    for (const NumberAmount& a : split.unplaced)
        lines << a.type + QLatin1Char(' ') + a.number + QLatin1Char('-') + shortestDecimal(double(a.satang) / 100);
    lines << split.lines;
    if (split.save.outcome.status == Status::NameTaken) Text1->setText(split.save.text1);
    if (ctx.shell) ctx.shell->addLines(lines);
    listHistory();
    if (!split.ok()) return;
    Text1->clear();
    ctx.session.SendOutData.clear();
    if (ctx.shell) ctx.shell->setSendOutCaption(HistoryButton);
    Command1->setEnabled(false);
    Command3->setEnabled(false);
}

void Form18::open()
{
    const QString name = CleanName(Text1->text());
    if (name.isEmpty()) {
        listHistory();
        return;
    }
    const QStringList lines = ctx.book.savedList(name);
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
    QStringList lines;
    if (m_mode == WindowMode::SendOutLists) {
        lines = ctx.ledger.deleteSavedList(m_selected).lines;
        List1->clear();
        listHistory();
    } else if (m_mode == WindowMode::CustomerNames) {
        lines = ctx.ledger.removeCustomer(m_selected).lines;
        List1->clear();
        if (ctx.shell) ctx.shell->refreshPickLists();
    } else {
        return;
    }
    m_selected.clear();
    Text1->clear();
    if (ctx.shell) ctx.shell->addLines(lines);
}

void Form18::showRate()
{
    if (!Frame1->isVisibleTo(this)) return;
    const CustomerRates rates = ctx.book.customerRates();
    const CustomerRate* own = rates.find(CleanName(Text1->text()), Combo1->currentText());
    Text2->setText(own ? own->payout : QString());
    Text3->setText(own ? own->discount : QString());
    // The type's own figures stand beside the customer's, which replace them where he has his own.
    const QString type = Combo1->currentText();
    const QString rate = type.isEmpty() ? QString() : ctx.book.setting(SettingKind::Rate, type);
    const QString discount = type.isEmpty() ? QString() : ctx.book.setting(SettingKind::Discount, type);
    Label5->setText(rate.isEmpty() ? TypeFigureNotSetText : TypeFigureText + rate);
    Label6->setText(discount.isEmpty() ? TypeFigureNotSetText : TypeFigureText + discount + QLatin1Char('%'));
}

void Form18::keyPressEvent(QKeyEvent* event)
{
    QWidget* focus = focusWidget();
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && Frame1->isVisible() && focus &&
        Frame1->isAncestorOf(focus)) {
        showRate();
        List1->setFocus();
        return;
    }
    SecondaryWindow::keyPressEvent(event);
}

void Form18::saveRate()
{
    const QString customer = CleanName(Text1->text());
    if (customer.isEmpty()) return Text1->setFocus();
    if (Combo1->currentText().isEmpty()) return Combo1->setFocus();
    const RateChange change = ctx.ledger.setCustomerRate(customer, Combo1->currentText(), Text2->text(), Text3->text());
    if (ctx.shell) ctx.shell->addLines(change.lines);
    if (!change.refusal.isEmpty()) {
        // The field at fault takes the focus so that it can be typed again.
        if (change.refusal == RateNotDigitsText || change.refusal == RateTooLongText) Text2->setFocus();
        if (change.refusal == PercentOutOfRangeText) Text3->setFocus();
    }
}

void Form18::refillPickLists(const QStringList& types, const QStringList& customers)
{
    const QString type = Combo1->currentText();
    Combo1->clear();
    Combo1->addItems(types);
    if (types.contains(type)) Combo1->setCurrentText(type);
    List1->clear();
    List1->addItems(customers);
}

} // namespace varnoth
