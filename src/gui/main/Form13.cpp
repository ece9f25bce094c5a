#include "gui/main/Form13.h"

#include "app/Ledger.h"
#include "audit/audittexts.h"
#include "audit/recheck.h"
#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/sheet.h"
#include "gui/main/Shell.h"
#include "gui/main/placement.h"
#include "gui/main/session.h"
#include "app/bookreader.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>
#include <QVBoxLayout>

namespace varnoth
{

namespace
{

// The window's own bar stands in for the main window's while a sheet is committed.
class SheetProgress : public Progress
{
public:
    explicit SheetProgress(Form13* form) : m_form(form) {}
    void reset() override { m_counter.reset(); }
    void tick(qint64 total) override
    {
        const int step = m_counter.tick(total, true);
        if (step >= 0) m_form->ShowSheetProgress(step);
    }
    void tickLong(qint64 total) override { m_form->ShowSheetProgress(m_counter.tick(total, false)); }
    void hide() override
    {
        m_form->Shape7->hide();
        m_form->Label8->clear();
    }
    void yield() override
    {
        // Repaint now and then; keys and clicks wait until the sheet is in, so a second press of
        // the button cannot start the same sheet twice.
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (now - m_lastYield < 30) return;
        m_lastYield = now;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    Form13* m_form;
    ProgressCounter m_counter;
    qint64 m_lastYield = 0;
};

QComboBox* pairBox(const QString& name, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

Form13::Form13(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::GroupEntry, parent),
      Label1(label(QStringLiteral("Label1"), QStringLiteral("เลือกชนิดหวย"), this)),
      Label2(label(QStringLiteral("Label2"), QStringLiteral("เลือกหรือใส่ชื่อลูกค้า"), this)),
      Combo1(pairBox(QStringLiteral("Combo1"), this)), Combo2(pairBox(QStringLiteral("Combo2"), this)),
      Text1(new QPlainTextEdit(this)), Label3(label(QStringLiteral("Label3"), QStringLiteral("0"), this)),
      Command1(new QPushButton(QStringLiteral("คีย์ข้อมูล"), this)), Command2(new QPushButton(this)),
      Check1(new QCheckBox(CheckModeText, this)), Label4(label(QStringLiteral("Label4"), CheckEntryLabel, this)),
      Text2(new QLineEdit(this)), Label8(label(QStringLiteral("Label8"), QString(), this)), Shape7(new QFrame(this)),
      Shape8(new QFrame(Shape7))
{
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(QStringLiteral("Package"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A slip is read line by line: the box shows a good part of it without scrolling.
    const int frame = 2 * (Text1->frameWidth() + static_cast<int>(Text1->document()->documentMargin()));
    Text1->setMinimumHeight(SheetLinesShown * Text1->fontMetrics().lineSpacing() + frame);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setIcon(QIcon::fromTheme(QStringLiteral("edit-clear"),
                                       QApplication::style()->standardIcon(QStyle::SP_DialogResetButton)));
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);
    Check1->setObjectName(QStringLiteral("Check1"));
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setValidator(new QIntValidator(1, 999999999, Text2));
    Text2->setMaximumWidth(twips(1100));
    Label4->hide();
    Text2->hide();
    Combo1->setMaxVisibleItems(12);
    Combo1->addItems(typeNames());
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());

    Shape7->setObjectName(QStringLiteral("Shape7"));
    Shape7->setFrameShape(QFrame::Box);
    Shape7->setFixedSize(twips(1200) + 2, 14);
    Shape8->setObjectName(QStringLiteral("Shape8"));
    Shape8->setStyleSheet(QStringLiteral("background: #000080;"));
    Shape8->setGeometry(1, 1, 0, 12);
    Shape7->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Combo1);
    layout->addWidget(Label2);
    layout->addWidget(Combo2);
    layout->addWidget(Text1, 1);
    auto* check = new QHBoxLayout;
    check->addWidget(Check1);
    check->addStretch();
    check->addWidget(Label4);
    check->addWidget(Text2);
    layout->addLayout(check);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label3, 1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    auto* progress = new QHBoxLayout;
    progress->addWidget(Label8);
    progress->addWidget(Shape7);
    progress->addStretch();
    layout->addLayout(progress);

    hoverHighlight(Command1, QColor(255, 192, 192), {Command2});
    hoverHighlight(Command2, QColor(255, 192, 192), {Command1});

    connect(Text1, &QPlainTextEdit::textChanged, this, &Form13::onSheetChanged);
    // Typing into the type box empties it: only a pick from its list sets a type.
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo1->setEditText(QString()); });
    connect(Combo1, &QComboBox::editTextChanged, this, &Form13::onPairTextChanged);
    connect(Combo2, &QComboBox::editTextChanged, this, &Form13::onPairTextChanged);
    connect(Combo1, &QComboBox::activated, this, &Form13::PickSheetPair);
    connect(Combo2, &QComboBox::activated, this, &Form13::PickSheetPair);
    for (QComboBox* c : {Combo1, Combo2}) {
        c->installEventFilter(this);
        c->lineEdit()->installEventFilter(this);
    }
    connect(Command1, &QPushButton::clicked, this, &Form13::EnterSheet);
    // F1 ... F12 pick the first twelve types, as in the main window.
    for (int i = 0; i < 12; ++i) {
        auto* key = new QAction(this);
        key->setShortcut(QKeySequence(Qt::Key_F1 + i));
        key->setShortcutContext(Qt::WindowShortcut);
        connect(key, &QAction::triggered, this, [this, i] { pickTypeByKey(i); });
        addAction(key);
    }
    connect(Check1, &QCheckBox::toggled, this, &Form13::onCheckToggled);
    connect(Command2, &QPushButton::clicked, this, [this] {
        Text1->clear();
        Text1->setFocus();
    });
    onSheetChanged();
}

void Form13::setUp()
{
    if (ctx.shell) ctx.shell->clearList();
    if (ctx.session.WindowMode == WindowMode::GroupPackage) setWindowTitle(QStringLiteral("Package"));
    if (ctx.session.WindowMode == WindowMode::GroupFile) setWindowTitle(QStringLiteral("File"));
    // The sheet goes to the pair the operator was keying in the main window, until he picks another.
    if (!ctx.shell || !Combo1->currentText().isEmpty() || !Combo2->currentText().isEmpty()) return;
    const int type = Combo1->findText(ctx.shell->keyedType());
    if (type >= 0) Combo1->setCurrentIndex(type);
    Combo2->setEditText(ctx.shell->keyedCustomer());
    // With the pair known, the slip can be keyed at once.
    if (!Combo1->currentText().isEmpty() && !Combo2->currentText().isEmpty()) Text1->setFocus();
}

void Form13::showEvent(QShowEvent* event)
{
    SecondaryWindow::showEvent(event);
    // The main list shows what each sheet stored and what it refused: the window stands beside it.
    const QWidget* main = ctx.shell ? ctx.shell->anchorWidget() : nullptr;
    const QRect list = ctx.shell ? ctx.shell->mainListArea() : QRect();
    if (!main || !main->isVisible() || list.isEmpty() || !main->screen()) return;
    const QRect outer = main->frameGeometry(), inner = main->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QRect client = placeBeside(size(), frame, list, outer, main->screen()->availableGeometry());
    move(client.topLeft() - QPoint(frame.left(), frame.top())); // a window's position is its frame's
}

void Form13::pickTypeByKey(int index)
{
    if (index >= Combo1->count()) return;
    Combo1->setCurrentIndex(index);
    PickSheetPair();
}

QString Form13::sheet() const
{
    QString text = Text1->toPlainText();
    return text.replace(QLatin1Char('\n'), CRLF);
}

void Form13::setSheet(const QString& text)
{
    QString plain = text;
    Text1->setPlainText(plain.replace(CRLF, QStringLiteral("\n")));
}

void Form13::onSheetChanged()
{
    // Counted as the sheet is handed on: a line end is CR LF, two characters.
    const QTextDocument* doc = Text1->document();
    const int count = doc->characterCount() - 1 + doc->blockCount() - 1;
    const bool fits = count < SheetLimit;
    Command1->setEnabled(fits);
    Label3->setText(fits ? QString::number(count) : QStringLiteral("Over"));
}

void Form13::onPairTextChanged()
{
    ctx.session.HeaderFlag = false;
    Text2->clear(); // another pair: the check compares with its newest entry
    if (ctx.shell) ctx.shell->clearList();
}

void Form13::PickSheetPair()
{
    ctx.session.HeaderFlag = false;
    Shell* shell = ctx.shell;
    if (shell) shell->clearList();
    const QString type = Combo1->currentText();
    if (type.isEmpty()) {
        Combo1->setFocus();
        return;
    }
    const QString customer = customerName(Combo2->currentText());
    if (customer.isEmpty()) return;
    if (const QString refusal = customerNameRefusal(customer); !refusal.isEmpty()) {
        if (shell) shell->addLines({refusal});
        return;
    }
    ctx.session.HeaderFlag = true;
    const QStringList failures = ctx.ledger.prepareCustomer(customer).lines;
    if (!shell) return;
    shell->showCustomerBets(type, customer);
    shell->addLines(failures);
    shell->refreshTotals();
}

void Form13::prepareForEntry(const QString& type, const QString& customer)
{
    const QStringList failures = ctx.ledger.prepareCustomer(customer).lines;
    AddToCustomerBox(customer);
    if (ctx.shell) {
        ctx.shell->showCustomerBets(type, customer);
        ctx.shell->addLines(failures);
    }
    ctx.session.HeaderFlag = true;
}

void Form13::EnterSheet()
{
    const QString text = sheet();
    const QString type = Combo1->currentText();
    QString customer = customerName(Combo2->currentText());
    if (customer.isEmpty()) {
        Combo2->setEditText(QStringLiteral("X"));
        customer = QStringLiteral("x");
    }
    if (type.isEmpty()) {
        Combo1->setFocus();
        return;
    }
    // The sheet stays in the box while the name is put right.
    if (const QString refusal = customerNameRefusal(customer); !refusal.isEmpty()) {
        if (ctx.shell) ctx.shell->addLines({refusal});
        Combo2->setFocus();
        return;
    }
    if (checking()) {
        CheckSheet();
        return;
    }
    // Once the result is out, the operator says first that this sheet comes after it.
    const QString lateQuestion =
        text.isEmpty() || !Command1->isEnabled() ? QString() : ctx.ledger.afterResultQuestion();
    if (!lateQuestion.isEmpty() && !askAfterResult(this, lateQuestion)) {
        Text1->setFocus();
        return;
    }
    if (!ctx.session.HeaderFlag) prepareForEntry(type, customer);

    if (!text.isEmpty() && Command1->isEnabled()) {
        Command1->setEnabled(false);
        EntryResult entered;
        {
            SheetProgress progress(this);
            const BookReader::ProgressScope scope(ctx.book, &progress);
            entered = ctx.ledger.enterSheet(text, type, customer, !lateQuestion.isEmpty());
        }
        if (ctx.shell) {
            ctx.shell->hideProgress();
            ctx.shell->addLines(entered.lines);
        }
        Text1->clear();
        onSheetChanged();
    }
    Text1->setFocus();
}

bool Form13::checking() const
{
    return Check1->isChecked();
}

void Form13::onCheckToggled(bool on)
{
    Label4->setVisible(on);
    Text2->setVisible(on);
    Command1->setText(on ? CheckButtonText : QStringLiteral("คีย์ข้อมูล"));
    Text1->setFocus();
}

void Form13::CheckSheet()
{
    const QString type = Combo1->currentText();
    const QString customer = customerName(Combo2->currentText());
    if (type.isEmpty()) {
        Combo1->setFocus();
        return;
    }
    if (customer.isEmpty()) {
        Combo2->setFocus();
        return;
    }
    // The slip stays in the box: the operator corrects what the check found, or enters it after all.
    const SheetCheck check =
        ctx.book.checkSheet(sheet(), type, customer, Text2->text().toLongLong());
    if (check.entry > 0) Text2->setText(QString::number(check.entry));
    if (ctx.shell) {
        ctx.shell->hideProgress();
        ctx.shell->clearList();
        ctx.shell->addLines(check.lines);
    }
    ctx.session.HeaderFlag = false;
    Text1->setFocus();
}

void Form13::prepare(const QString& caption, const QString& text)
{
    setSheet(text);
    setWindowTitle(caption);
}

std::optional<std::pair<QString, QString>> Form13::keyedPair() const
{
    return std::pair{Combo1->currentText(), customerName(Combo2->currentText())};
}

void Form13::hideProgress()
{
    Shape7->hide();
    Shape8->hide();
    Label8->clear();
}

void Form13::AddToCustomerBox(const QString& customer)
{
    if (Combo2->findText(customer, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) return;
    // Refilling the list is not typing: the pair stays prepared and the box keeps its text.
    const QSignalBlocker block(Combo2);
    const QString shown = Combo2->currentText();
    QStringList names = ctx.book.customers();
    if (!names.contains(customer)) names << customer;
    Combo2->clear();
    Combo2->addItems(names);
    Combo2->setCurrentIndex(-1);
    Combo2->setEditText(shown);
}

void Form13::ShowSheetProgress(int step)
{
    Shape7->show();
    Shape8->show();
    Label8->setText(QStringLiteral("Loading ") + QString::number(step * 5) + QStringLiteral("% "));
    Shape8->setFixedWidth(std::min(twips(step * 60), Shape7->width() - 2));
}

bool Form13::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == Combo1 || watched == Combo2 || watched == Combo1->lineEdit() || watched == Combo2->lineEdit())) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EnterSheet();
            return true;
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void Form13::refillPickLists(const QStringList& types, const QStringList& customers)
{
    // The lists are filled again; the pair the window is keying stays in its boxes.
    const QString type = Combo1->currentText();
    const QString customer = Combo2->currentText();
    fillPicker(Combo1, types, false);
    fillPicker(Combo2, customers, false);
    const QSignalBlocker blockType(Combo1);
    const QSignalBlocker blockCustomer(Combo2);
    Combo1->setCurrentIndex(Combo1->findText(type));
    const int known = Combo2->findText(customer, Qt::MatchExactly | Qt::MatchCaseSensitive);
    Combo2->setCurrentIndex(known);
    if (known < 0) Combo2->setEditText(customer);
}

} // namespace varnoth
