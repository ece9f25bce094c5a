#include "gui/main/Form1.h"

#include "accounts/dealertexts.h"
#include "accounts/drawhistory.h"
#include "accounts/exporttexts.h"
#include "accounts/usertexts.h"
#include "app/ledgertexts.h"
#include "audit/audittexts.h"
#include "core/model/customername.h"
#include "core/model/listtexts.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/chattexts.h"
#include "entry/totals.h"
#include "gui/main/PairPanelWidget.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/main/keyingtexts.h"
#include "gui/main/pickerentries.h"
#include "gui/main/session.h"
#include "settings/keyed.h"
#include "settings/options.h"
#include "app/bookreader.h"
#include "tools/backuptexts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace varnoth
{

// --- construction --------------------------------------------------------------------------------

namespace
{

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit* box(const QString& name, QWidget* parent, bool readOnly = false)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    return e;
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QToolButton* picture(const QString& name, const QString& tip, const QIcon& icon, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setIcon(icon);
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(true); // flat until pressed: looks pressed while the mouse is down, acts on release
    return b;
}

// The widest line the reports put in the list: the list asks for the room to show it whole.
const QString WidestReportLine =
    QStringLiteral("จ่ายค่ารางวัล= 1,234,567.00 บาท") + QStringLiteral(" (รวมอัตราจ่ายเฉพาะลูกค้า)");

// The list and the side panel beside it. The list keeps the width it asks for as long as the panel
// can give up room: narrowing the window shrinks the panel to its least width first, the list last.
class ListAndPanel : public QWidget
{
public:
    ListAndPanel(QWidget* list, QWidget* panel, QWidget* parent) : QWidget(parent), m_list(list), m_panel(panel)
    {
        list->setParent(this);
        panel->setParent(this);
    }
    void setListWidth(int width)
    {
        m_listWidth = width;
        updateGeometry();
        relayout();
    }
    QSize sizeHint() const override
    {
        return {m_listWidth + Gap + m_panel->sizeHint().width(),
                std::max(m_list->sizeHint().height(), m_panel->sizeHint().height())};
    }
    QSize minimumSizeHint() const override
    {
        return {m_list->minimumSizeHint().width() + Gap + panelLeast(),
                std::max(m_list->minimumSizeHint().height(), m_panel->minimumSizeHint().height())};
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        relayout();
    }

private:
    static constexpr int Gap = 6;
    int panelLeast() const { return std::max(m_panel->minimumSizeHint().width(), 120); }
    void relayout()
    {
        const int room = width() - Gap;
        const int panelWidth =
            std::clamp(room - m_listWidth, panelLeast(), std::max(panelLeast(), m_panel->sizeHint().width()));
        const int listWidth = std::max(0, room - panelWidth);
        m_list->setGeometry(0, 0, listWidth, height());
        m_panel->setGeometry(listWidth + Gap, 0, panelWidth, height());
    }

    QWidget* m_list;
    QWidget* m_panel;
    int m_listWidth = 0;
};

} // namespace

Form1::Form1(Ledger& ledger, Session& session, QWidget* parent)
    : QMainWindow(parent), m_book(ledger.reader()), m_session(session), m_ledger(ledger),
      m_ctx{m_book, session, m_ledger, this}, m_dispatch(m_ctx, this)
{
    setObjectName(QStringLiteral("Form1"));
    connect(&m_ledger, &Ledger::progressStep, this, &Form1::ShowProgress);
    connect(&m_ledger, &Ledger::progressHidden, this, &Form1::HideProgress);
    buildControls();
    buildMenus();
    connectControls();
    statusBar()->setObjectName(QStringLiteral("StatusBar")); // where a printout's path is shown
    setUpView();

    // Start-up, in order.
    setWindowTitle(QStringLiteral("Varnoth V3.3 Pro"));
    // As wide as the columns, the list with its widest line and the side panel need, and at least
    // the window's classic width.
    resize(std::max(twips(11400), sizeHint().width()), twips(7725));
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = s->availableGeometry();
        resize(std::min(width(), r.width()), std::min(height(), r.height()));
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
    mEdit->setEnabled(false);
    mDelete->setEnabled(false);
    clText();
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text5->clear();
    Text6->clear();
    Text7->setText(QStringLiteral("0"));
    Text8->setText(QStringLiteral("0.00"));
    clMouse();
    Shape7->hide();
    Shape8->hide();
    List1->clear();
    Combo3->clear();
    Combo4->clear();
    for (const PickerEntry& entry : pickerEntries())
        Combo3->addItem(entry.entry);
    Combo3->setCurrentIndex(-1);
    Combo4->addItems({QStringLiteral("คีย์บอร์ด"), QStringLiteral("เมาส์"), QStringLiteral("กลุ่ม"), QStringLiteral("ไฟล์")});
    Combo4->setCurrentIndex(0);
    Label6->hide();
    Label8->clear();
    Menu();

    // The drop-downs: the twelve types, and the customers of the customer list.
    m_filling = true;
    Combo1->addItems(typeNames());
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    Combo2->addItems(m_book.customers());
    Combo2->setCurrentIndex(-1);
    Combo2->setEditText(QString());
    m_filling = false;
    // What the ledger found at start of a new draw that was cut off, after the list is cleared.
    if (!m_ledger.startLines().isEmpty()) {
        addLines(m_ledger.startLines());
        showStatus(m_ledger.startLines().first());
    }

    Timer3.setInterval(1);
    connect(&Timer3, &QTimer::timeout, this, &Form1::startTick);
}

Form1::~Form1()
{
    // The boxes are destroyed after this window's own members: their last text changes must not
    // reach handlers that read those members.
    for (QObject* control :
         {static_cast<QObject*>(Combo1), static_cast<QObject*>(Combo2), static_cast<QObject*>(Combo1->lineEdit()),
          static_cast<QObject*>(Combo2->lineEdit()), static_cast<QObject*>(Text1)})
        control->disconnect(this);
}

void Form1::buildControls()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);
    createFields(central);
    createKeypads(central);
    createButtons(central);
    createProgressBar(central);

    // Layout: entry column on the left, the list in the middle, totals and buttons on the right.
    QVBoxLayout* left = entryColumnLayout();
    createListAndPanel(central);
    QVBoxLayout* right = totalsColumnLayout();

    // The side columns keep their width; the list takes whatever room the window has.
    auto* leftColumn = m_leftColumn = new QWidget(central);
    leftColumn->setObjectName(QStringLiteral("leftColumn"));
    leftColumn->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    auto* rightColumn = m_rightColumn = new QWidget(central);
    rightColumn->setObjectName(QStringLiteral("rightColumn"));
    rightColumn->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);
    auto* main = new QHBoxLayout(central);
    main->addWidget(leftColumn, 0);
    main->addWidget(m_middle, 1);
    main->addWidget(rightColumn, 0);
}

// The drop-downs, the entry fields, the total boxes, their labels and the main list.
void Form1::createFields(QWidget* central)
{
    Combo1 = new QComboBox(central);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setMaxVisibleItems(12);
    Combo2 = new QComboBox(central);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    Combo3 = new QComboBox(central);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    Combo4 = new QComboBox(central);
    Combo4->setObjectName(QStringLiteral("Combo4"));
    Text1 = box(QStringLiteral("Text1"), central);
    Text2 = box(QStringLiteral("Text2"), central);
    Text3 = new QPlainTextEdit(central);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->hide();
    Text5 = box(QStringLiteral("Text5"), central, true);
    Text6 = box(QStringLiteral("Text6"), central, true);
    Text7 = box(QStringLiteral("Text7"), central, true);
    Text8 = box(QStringLiteral("Text8"), central, true);
    for (QLineEdit* e : {Text5, Text6, Text7, Text8})
        e->setAlignment(Qt::AlignRight);
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("ใส่เลขหวย"), central);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("ใส่จำนวนเงิน"), central);
    Label23 = label(QStringLiteral("Label23"), QStringLiteral("เลือกชนิดหวย"), central);
    Label7 = label(QStringLiteral("Label7"), QStringLiteral("เลือกหรือใส่ชื่อลูกค้า"), central);
    Label6 = label(QStringLiteral("Label6"), QString(), central);
    Label6->setStyleSheet(QStringLiteral("color: #800000;"));
    Label9 = label(QStringLiteral("Label9"), QStringLiteral("เลข - เงิน"), central);
    Label16 = label(QStringLiteral("Label16"), QStringLiteral(" ยอดรวม "), central);
    Label15 = label(QStringLiteral("Label15"), QStringLiteral(" ยอดสุทธิ "), central);
    Label14 = label(QStringLiteral("Label14"), QStringLiteral(" เลข"), central);
    Label13 = label(QStringLiteral("Label13"), QStringLiteral(" เงิน"), central);
    Label11 = label(QStringLiteral("Label11"), QStringLiteral(" ตั้งค่า "), central);
    Label12 = label(QStringLiteral("Label12"), QStringLiteral(" เลือกคีย์ข้อมูล "), central);
    Label8 = label(QStringLiteral("Label8"), QString(), central);
    List1 = new QListWidget(central);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setUniformItemSizes(true);
}

// The number and amount keypads of keying by mouse, with their clear and Enter keys.
void Form1::createKeypads(QWidget* central)
{
    const QStringList keys = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                              QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
                              QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("+")};
    for (int i = 0; i < 11; ++i) {
        Command7[i] = button(QStringLiteral("Command7_%1").arg(i), keys[i], central);
        Command1[i] = button(QStringLiteral("Command1_%1").arg(i), keys[i], central);
        for (QPushButton* b : {Command7[i], Command1[i]}) {
            b->setFocusPolicy(Qt::NoFocus);
            b->setFixedWidth(28);
        }
    }
    Command5 = button(QStringLiteral("Command5"), QStringLiteral("C"), central);
    Command10 = button(QStringLiteral("Command10"), QStringLiteral("C"), central);
    Command9 = button(QStringLiteral("Command9"), QStringLiteral("Enter"), central);
    Command11 = button(QStringLiteral("Command11"), QStringLiteral("Enter"), central);
    for (QPushButton* b : {Command5, Command10, Command9, Command11})
        b->setFocusPolicy(Qt::NoFocus);
}

// The report and settlement buttons and the picture buttons.
void Form1::createButtons(QWidget* central)
{
    Command2 = button(QStringLiteral("Command2"), QStringLiteral("ดูข้อมูล (&V)"), central);
    Command4 = button(QStringLiteral("Command4"), QStringLiteral("คัดเกินอั้น (&O)"), central);
    Command3 = button(QStringLiteral("Command3"), QStringLiteral("คัดเลข (&C)"), central);
    Command6 = button(QStringLiteral("Command6"), QStringLiteral("ตรวจรางวัล (&P)"), central);
    Command12 = button(QStringLiteral("Command12"), QStringLiteral("วิเคราะห์ (&A)"), central);
    Command8 = button(QStringLiteral("Command8"), QStringLiteral("สถิติ (&S)"), central);
    Command13 = button(QStringLiteral("Command13"), QStringLiteral("ประวัติส่งออก"), central);
    Command14 = button(QStringLiteral("Command14"), QStringLiteral("ผังยอดเลข (&X)"), central);

    Image1 = picture(QStringLiteral("Image1"), QStringLiteral(" เปิดดูข้อมูลในฐานข้อมูลทั้งหมด "), openIcon(), central);
    Image8 = picture(QStringLiteral("Image8"), QStringLiteral(" ค้นหาข้อมูล "),
                     themedIcon("edit-find", QStyle::SP_FileDialogContentsView), central);
    Image5 = picture(QStringLiteral("Image5"), QStringLiteral(" พิมพ์รายการที่แสดง "),
                     themedIcon("document-print", QStyle::SP_DialogSaveButton), central);
    Image3 = picture(QStringLiteral("Image3"), QStringLiteral(" เริ่มต้นงวดใหม่ "),
                     themedIcon("document-new", QStyle::SP_FileIcon), central);
    Image4 = picture(QStringLiteral("Image4"), QStringLiteral(" เปลี่ยนสีตัวอักษร ในการแสดงผล "),
                     themedIcon("preferences-desktop-color", QStyle::SP_DesktopIcon), central);
    Image7 = picture(QStringLiteral("Image7"), QStringLiteral(" ปิดโปรแกรม เพื่อเลิกใช้งาน "),
                     themedIcon("application-exit", QStyle::SP_DialogCloseButton), central);
}

// The progress bar of long loops: a box with a bar that grows in it.
void Form1::createProgressBar(QWidget* central)
{
    Shape7 = new QFrame(central);
    Shape7->setObjectName(QStringLiteral("Shape7"));
    Shape7->setFrameShape(QFrame::Box);
    Shape7->setFixedSize(twips(1200) + 2, 14);
    Shape8 = new QFrame(Shape7);
    Shape8->setObjectName(QStringLiteral("Shape8"));
    Shape8->setStyleSheet(QStringLiteral("background: #000080;"));
    Shape8->setGeometry(1, 1, 0, 12);
}

// The entry column: type, customer, number and amount with their keypads, and the progress bar.
QVBoxLayout* Form1::entryColumnLayout()
{
    auto* left = new QVBoxLayout;
    left->addWidget(Label23);
    left->addWidget(Combo1);
    left->addWidget(Label7);
    left->addWidget(Combo2);
    left->addWidget(Label1);
    left->addWidget(Text1);
    auto* pad1 = new QGridLayout;
    pad1->setSpacing(1);
    for (int i = 0; i < 11; ++i)
        pad1->addWidget(Command7[i], i / 6, i % 6);
    pad1->addWidget(Command5, 1, 5);
    pad1->addWidget(Command9, 2, 0, 1, 6);
    left->addLayout(pad1);
    left->addWidget(Label2);
    left->addWidget(Text2);
    auto* pad2 = new QGridLayout;
    pad2->setSpacing(1);
    for (int i = 0; i < 11; ++i)
        pad2->addWidget(Command1[i], i / 6, i % 6);
    pad2->addWidget(Command10, 1, 5);
    pad2->addWidget(Command11, 2, 0, 1, 6);
    left->addLayout(pad2);
    left->addWidget(Label6);
    left->addWidget(Text3, 1);
    left->addStretch();
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(Label8);
    progressRow->addWidget(Shape7);
    progressRow->addStretch();
    left->addLayout(progressRow);
    return left;
}

// The list under its caption, with the side panel beside it.
void Form1::createListAndPanel(QWidget* central)
{
    auto* listColumn = new QWidget(central);
    listColumn->setObjectName(QStringLiteral("listColumn"));
    auto* middle = new QVBoxLayout(listColumn);
    middle->setContentsMargins(0, 0, 0, 0);
    middle->addWidget(Label9);
    middle->addWidget(List1, 1);
    m_panel = new PairPanel(central);
    m_middle = new ListAndPanel(listColumn, m_panel, central);
    m_middle->setObjectName(QStringLiteral("listAndPanel"));
}

// The totals column: the total boxes, the settings and keying pickers, the buttons and pictures.
QVBoxLayout* Form1::totalsColumnLayout()
{
    auto* right = new QVBoxLayout;
    auto* totals = new QGridLayout;
    totals->addWidget(Label14, 0, 1);
    totals->addWidget(Label13, 0, 2);
    totals->addWidget(Label16, 1, 0, 1, 3);
    totals->addWidget(Text5, 2, 1);
    totals->addWidget(Text6, 2, 2);
    totals->addWidget(Label15, 3, 0, 1, 3);
    totals->addWidget(Text7, 4, 1);
    totals->addWidget(Text8, 4, 2);
    right->addLayout(totals);
    right->addWidget(Label11);
    right->addWidget(Combo3);
    right->addWidget(Label12);
    right->addWidget(Combo4);
    auto* commands = new QGridLayout;
    commands->addWidget(Command2, 0, 0);
    commands->addWidget(Command4, 0, 1);
    commands->addWidget(Command3, 1, 0);
    commands->addWidget(Command6, 1, 1);
    commands->addWidget(Command12, 2, 0);
    commands->addWidget(Command8, 2, 1);
    commands->addWidget(Command13, 3, 0, 1, 2);
    commands->addWidget(Command14, 4, 0, 1, 2);
    right->addLayout(commands);
    right->addStretch();
    auto* pictures = new QGridLayout;
    pictures->addWidget(Image1, 0, 0);
    pictures->addWidget(Image8, 0, 1);
    pictures->addWidget(Image5, 0, 2);
    pictures->addWidget(Image3, 1, 0);
    pictures->addWidget(Image4, 1, 1);
    pictures->addWidget(Image7, 1, 2);
    right->addLayout(pictures);
    return right;
}

void Form1::buildMenus()
{
    menuFile = menuBar()->addMenu(QStringLiteral("&File"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    auto add = [](QMenu* menu, const char* name, const QString& text, const QIcon& icon) {
        QAction* a = menu->addAction(icon, text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mOpendatabase = add(menuFile, "mOpendatabase", QStringLiteral("Open Database"), Image1->icon());
    menuOpen = add(menuFile, "menuOpen", QStringLiteral("Start"), Image3->icon());
    mDownload =
        add(menuFile, "mDownload", TransferRestoreMenuText, themedIcon("document-import", QStyle::SP_ArrowDown));
    mBackup = add(menuFile, "mBackup", TransferBackupMenuText, themedIcon("document-save", QStyle::SP_DriveHDIcon));
    QAction* fullBackup =
        add(menuFile, "mFullBackup", FullBackupMenuText, themedIcon("document-save-all", QStyle::SP_DriveHDIcon));
    QAction* fullRestore =
        add(menuFile, "mFullRestore", FullRestoreMenuText, themedIcon("document-revert", QStyle::SP_DialogResetButton));
    connect(fullBackup, &QAction::triggered, this, [this] { openDriveWindow(FullBackupMenuText, ChooseDriveText); });
    connect(fullRestore, &QAction::triggered, this, [this] { openDriveWindow(FullRestoreMenuText, ChooseDriveText); });
    menuPrinter = menuFile->addMenu(Image5->icon(), QStringLiteral("Printer"));
    menuPrinter->setObjectName(QStringLiteral("menuPrinter"));
    subPrint1 = add(menuPrinter, "subPrint1", QStringLiteral("Print"), Image5->icon());
    subPrint2 = add(menuPrinter, "subPrint2", QStringLiteral("Notepad"),
                    themedIcon("accessories-text-editor", QStyle::SP_FileIcon));
    menuClose = add(menuFile, "menuClose", QStringLiteral("Close"), Image7->icon());

    mMore = menuBar()->addMenu(QStringLiteral("&More"));
    mMore->setObjectName(QStringLiteral("mMore"));
    mEdit = add(mMore, "mEdit", QStringLiteral("Edit"), themedIcon("document-edit", QStyle::SP_FileDialogDetailedView));
    mDelete = add(mMore, "mDelete", QStringLiteral("Delete"), deleteIcon());
    mSearch = add(mMore, "mSearch", QStringLiteral("Search"), Image8->icon());
    mCalculator = add(mMore, "mCalculator", QStringLiteral("Calculator"),
                      themedIcon("accessories-calculator", QStyle::SP_ComputerIcon));
    mMap = add(mMore, "mMap", MapMenuText, themedIcon("view-grid", QStyle::SP_FileDialogListView));
    mMap->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    mChatPaste = add(mMore, "mChatPaste", ChatWindowTitle, themedIcon("edit-paste", QStyle::SP_FileDialogContentsView));
    mChatPaste->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    mChatPaste->setShortcutContext(Qt::WindowShortcut);
    mAudit =
        add(mMore, "mAudit", AuditWindowTitle, themedIcon("document-open-recent", QStyle::SP_FileDialogContentsView));
    mAudit->setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));
    mUsers = add(mMore, "mUsers", UsersTitle, themedIcon("system-users", QStyle::SP_DirHomeIcon));
    mUsers->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+M")));
    mRules = add(mMore, "mRules", RulesMenuText, themedIcon("view-filter", QStyle::SP_FileDialogInfoView));
    mBill = add(mMore, "mBill", BillsMenuText, themedIcon("x-office-document", QStyle::SP_FileIcon));
    mBill->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    mOwed = add(mMore, "mOwed", OwedMenuText, themedIcon("view-list-text", QStyle::SP_FileDialogInfoView));
    mDraws = add(mMore, "mDraws", PastDrawsMenuText, themedIcon("document-open-recent", QStyle::SP_DirClosedIcon));
    // The upstream dealers: their order, terms and accounts.
    QAction* dealers = add(mMore, "mDealers", DealersMenuText, themedIcon("system-users", QStyle::SP_DirHomeIcon));
    connect(dealers, &QAction::triggered, this, [this] { OpenWindow(WindowId::Dealers); });
    // The list as it stands, for a spreadsheet.
    QAction* excel = add(mMore, "subExcel", ExcelCaption, themedIcon("x-office-spreadsheet", QStyle::SP_FileIcon));
    connect(excel, &QAction::triggered, this, &Form1::saveListAsSpreadsheet);
    mUndo = add(mMore, "mUndo", UndoMenuCaption, themedIcon("edit-undo", QStyle::SP_ArrowBack));
    mUndo->setShortcut(QKeySequence::Undo);
    mUndo->setShortcutContext(Qt::WindowShortcut);
    mRedo = add(mMore, "mRedo", RedoMenuCaption, themedIcon("edit-redo", QStyle::SP_ArrowForward));
    mRedo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    mRedo->setShortcutContext(Qt::WindowShortcut);
    // The items say which step they take back or do again.
    const QString undoCaption = mUndo->text(), redoCaption = mRedo->text();
    QUndoStack& steps = m_ledger.undoStack();
    connect(&steps, &QUndoStack::undoTextChanged, this, [this, undoCaption](const QString& step) {
        mUndo->setText(step.isEmpty() ? undoCaption : UndoMenuText + step);
    });
    connect(&steps, &QUndoStack::redoTextChanged, this, [this, redoCaption](const QString& step) {
        mRedo->setText(step.isEmpty() ? redoCaption : RedoMenuText + step);
    });

    menuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    mReadme =
        add(menuHelp, "mReadme", QStringLiteral("Read Me"), themedIcon("help-contents", QStyle::SP_DialogHelpButton));
}

void Form1::Menu()
{
    // The menu pictures are set when the menus are built; Qt shows icons beside menu items itself.
    for (QAction* a : menuBar()->actions())
        a->setIconVisibleInMenu(true);
}

void Form1::connectControls()
{
    for (int i = 0; i < 11; ++i) {
        connect(Command7[i], &QPushButton::clicked, this,
                [this, i] { Text1->setText(Text1->text() + Command7[i]->text()); });
        connect(Command1[i], &QPushButton::clicked, this,
                [this, i] { Text2->setText(Text2->text() + Command1[i]->text()); });
    }
    connect(Command5, &QPushButton::clicked, this, &Form1::Tc1);
    connect(Command10, &QPushButton::clicked, this, &Form1::Tc2);
    connect(Command9, &QPushButton::clicked, this, &Form1::Inp2);
    connect(Command11, &QPushButton::clicked, this, &Form1::Inp2);

    connect(Text1, &QLineEdit::textChanged, this, &Form1::onText1Changed);
    for (QWidget* w : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Text2), static_cast<QWidget*>(Text3),
                       static_cast<QWidget*>(Combo1), static_cast<QWidget*>(Combo2)})
        w->installEventFilter(this);
    Combo1->lineEdit()->installEventFilter(this);
    Combo2->lineEdit()->installEventFilter(this);

    // Typing into Combo1 empties it: only a pick from its list sets a type.
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo1->setEditText(QString()); });
    connect(Combo1, &QComboBox::editTextChanged, this, &Form1::onPairTextChanged);
    connect(Combo2, &QComboBox::editTextChanged, this, &Form1::onPairTextChanged);
    connect(Combo1, &QComboBox::activated, this, [this] { SelectTypeCustomer(false); });
    connect(Combo2, &QComboBox::activated, this, [this] { SelectTypeCustomer(true); });
    connect(Combo3, &QComboBox::activated, this, [this] { onCombo3Activated(Combo3->currentText()); });
    connect(Combo4, &QComboBox::activated, this, [this] { onCombo4Activated(Combo4->currentText()); });

    connect(Command2, &QPushButton::clicked, this, [this] { openReport(WindowId::View, std::nullopt, std::nullopt); });
    connect(Image8, &QToolButton::clicked, this, [this] { openReport(WindowId::View, std::nullopt, std::nullopt); });
    connect(mSearch, &QAction::triggered, this, [this] { openReport(WindowId::View, std::nullopt, std::nullopt); });
    connect(Command4, &QPushButton::clicked, this,
            [this] { openReport(WindowId::OverLimit, std::nullopt, WindowMode::Over); });
    connect(Command3, &QPushButton::clicked, this,
            [this] { openReport(WindowId::Cutting, std::nullopt, WindowMode::Over); });
    connect(Command6, &QPushButton::clicked, this,
            [this] { openReport(WindowId::Prize, WindowMode::PrizeCheck, std::nullopt); });
    connect(Command12, &QPushButton::clicked, this,
            [this] { openReport(WindowId::Prize, WindowMode::Analysis, std::nullopt); });
    connect(Command8, &QPushButton::clicked, this,
            [this] { openReport(WindowId::Prize, WindowMode::Statistics, std::nullopt); });
    connect(Command13, &QPushButton::clicked, this, [this] {
        m_session.WindowMode = WindowMode::SendOutLists;
        OpenWindow(WindowId::Customers);
    });

    connect(Image1, &QToolButton::clicked, this, &Form1::viewAllData);
    connect(mOpendatabase, &QAction::triggered, this, &Form1::viewAllData);
    auto print = [this] {
        m_session.WindowMode = WindowMode::PrintList;
        OpenWindow(WindowId::Print);
    };
    connect(Image5, &QToolButton::clicked, this, print);
    connect(subPrint1, &QAction::triggered, this, print);
    connect(subPrint2, &QAction::triggered, this, &Form1::notepadOutput);
    connect(mBackup, &QAction::triggered, this,
            [this] { openDriveWindow(QStringLiteral("Backup"), QStringLiteral("เลือกไดร์ฟ")); });
    connect(mDownload, &QAction::triggered, this,
            [this] { openDriveWindow(QStringLiteral("Restore"), QStringLiteral("เลือกไดร์ฟ")); });
    connect(Image3, &QToolButton::clicked, this, &Form1::Begin);
    connect(menuOpen, &QAction::triggered, this, &Form1::Begin);
    connect(Image4, &QToolButton::clicked, this, &Form1::colourChange);
    connect(mEdit, &QAction::triggered, this, [this] { openRecordDialog(QStringLiteral("Edit")); });
    connect(mDelete, &QAction::triggered, this, [this] { openRecordDialog(QStringLiteral("Delete")); });
    connect(mCalculator, &QAction::triggered, this, [this] { OpenWindow(WindowId::Calculator); });
    connect(Command14, &QPushButton::clicked, this, [this] { OpenWindow(WindowId::ExposureMap); });
    connect(mMap, &QAction::triggered, this, [this] { OpenWindow(WindowId::ExposureMap); });
    connect(mChatPaste, &QAction::triggered, this, [this] { openWindow(WindowId::ChatPaste); });
    connect(mAudit, &QAction::triggered, this, [this] { openWindow(WindowId::Audit); });
    connect(mUsers, &QAction::triggered, this, [this] { openWindow(WindowId::Users); });
    connect(&m_ledger, &Ledger::auditFailed, this, [this](const QString& line) { addLines({line}); });
    if (m_ledger.auditDamagedAtOpen()) addLines({AuditDamagedText + QDir::toNativeSeparators(m_ledger.auditLogPath())});
    connect(mRules, &QAction::triggered, this, [this] { OpenWindow(WindowId::NumberRules); });
    connect(mBill, &QAction::triggered, this, [this] { OpenWindow(WindowId::Bill); });
    connect(mDraws, &QAction::triggered, this, [this] { OpenWindow(WindowId::DrawHistory); });
    connect(mOwed, &QAction::triggered, this, [this] {
        clearList();
        addLines(owedLines(m_book.owed()));
    });
    connect(mUndo, &QAction::triggered, this, &Form1::undoLastEntry);
    connect(mRedo, &QAction::triggered, this, &Form1::redoLastEntry);
    // A change made in another window brings the totals and the pick lists up to date.
    connect(&m_ledger, &Ledger::bookChanged, this, [this] {
        if (!m_ownChange) refreshTotals();
    });
    // So does a change by another program (a hand edit, a restore by another copy): only the stakes
    // it touched are read again.
    m_ledger.followBook();
    connect(&m_ledger, &Ledger::bookTouched, this, [this](const Changes& what) {
        if (what.types.isEmpty() && !what.everything && !what.customerList) return;
        showOverall(m_book.overallTotalsAfter(what));
        const auto [type, customer] = keyedPair();
        if (what.everything || what.customerList || (what.hasType(type) && what.hasCustomer(customer)))
            UpdateTotals(type, customer);
    });
    connect(&m_ledger, &Ledger::newDrawStarted, this, [this] {
        // The draw's customers are gone, and with them the pair being keyed.
        m_filling = true;
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(QString());
        Combo2->setCurrentIndex(-1);
        Combo2->setEditText(QString());
        m_filling = false;
        RefreshPickLists();
        showEmptyTotals();
    });
    connect(mReadme, &QAction::triggered, this, [this] { OpenWindow(WindowId::Readme); });
    connect(Image7, &QToolButton::clicked, this, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    connect(menuClose, &QAction::triggered, this, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });

    connect(m_panel, &PairPanel::stakeActivated, this, &Form1::editPanelStake);

    List1->viewport()->installEventFilter(this);
    // The keying order: type, customer, number, amount.
    setTabOrder(Combo1, Combo2);
    setTabOrder(Combo2, Text1);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Combo3);
}

// --- start-up ------------------------------------------------------------------------------------

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_ready && !Timer3.isActive()) Timer3.start();
}

void Form1::startTick()
{
    if (++m_tickCounter < 10) return;
    buildNumberSetCaches();
    refreshTotals();
    disText();
    m_tickCounter = 0;
    Timer3.stop();
    m_ready = true;
    Combo1->setFocus();
}

void Form1::finishStartup()
{
    if (m_ready) return;
    if (!Timer3.isActive()) Timer3.start();
    while (!m_ready)
        startTick();
}

// --- list and progress ---------------------------------------------------------------------------

void Form1::ListAddLine(const QString& text)
{
    List1->addItem(text);
}

void Form1::listAddLines(const QStringList& lines)
{
    if (lines.isEmpty()) return;
    List1->setUpdatesEnabled(false);
    const int firstRow = List1->count();
    List1->addItems(lines);
    colourMarkedRows(List1, firstRow);
    List1->setUpdatesEnabled(true);
    List1->scrollToBottom();
}

void Form1::clearList()
{
    List1->clear();
}

void Form1::ShowProgress(int step)
{
    Shape7->show();
    Shape8->show();
    Label8->show();
    Label8->setText(QStringLiteral("Loading ") + QString::number(step * 5) + QStringLiteral("% "));
    Shape8->setFixedWidth(std::min(twips(step * 60), Shape7->width() - 2));
}

void Form1::HideProgress()
{
    Shape7->hide();
    Shape8->hide();
    Label8->clear();
    if (SecondaryWindow* w = m_dispatch.window(WindowId::GroupEntry)) w->hideProgress();
}

// --- totals --------------------------------------------------------------------------------------

void Form1::ShowCustomerBets(const QString& type, const QString& customer)
{
    m_ledger.progress().reset();
    List1->clear();
    ListAddLine(headerLine(type, customer));
    if (!m_book.keepsPair(type, customer)) return;
    UpdateTotals(type, customer);
    ListAddLine(ReadyForBetsText);
}

void Form1::UpdateTotals(const QString& type, const QString& customer)
{
    if (type.isEmpty() || customer.isEmpty()) {
        Label16->setText(QStringLiteral(" ยอดรวม "));
        m_session.customerCount = 0;
        m_session.customerTotal = 0;
        Text5->clear();
        Text6->clear();
        showPairPanel(type, customer);
        return;
    }
    // A name not yet in the customer list has no file and nothing staked: 0 under its own name.
    const StakeTotals t = m_book.customerTotals(type, customer);
    Label16->setText(QStringLiteral("ยอดรวม ") + type + QStringLiteral(" ") + customer);
    m_session.customerCount = t.count;
    m_session.customerTotal = t.total;
    Text5->setText(formatCount(t.count));
    Text6->setText(formatAmount(t.total));
    showUnreadable(t);
    showPairPanel(type, customer);
}

void Form1::showUnreadable(const StakeTotals& t)
{
    // A total missing a file is no total: each such file is named in the list, once.
    QStringList lines;
    for (const QString& path : t.unreadable)
        if (const QString line = ReadFailedText + BookReader::shownFileName(path);
            !lines.contains(line) && List1->findItems(line, Qt::MatchExactly).isEmpty())
            lines << line;
    if (!lines.isEmpty()) listAddLines(lines);
}

void Form1::showPairPanel(const QString& type, const QString& customer)
{
    if (type.isEmpty() || customer.isEmpty()) {
        m_panel->showPair(type, customer, {});
        return;
    }
    m_panel->showPair(type, customer, m_book.pairSummary(type, customer));
}

void Form1::editPanelStake(const QString& number, const QString& amount)
{
    // The record dialog edits the stake as if its row had been picked in the list; no row of the
    // list stands for it, so the list is left as it is.
    m_session.selectedType = m_panel->type();
    m_session.selectedCustomer = m_panel->customer();
    m_session.selectedLine = number + QLatin1Char('-') + amount;
    m_session.selectedIndex = -1;
    openRecordDialog(QStringLiteral("Edit"));
}

bool Form1::customerAccepted(const QString& customer)
{
    if (const QString refusal = customerNameRefusal(customer); !refusal.isEmpty()) {
        listAddLines({refusal});
        return false;
    }
    if (m_book.customers().contains(customer)) return true;
    if (confirmNewCustomer) return confirmNewCustomer(customer);
    QMessageBox box(QMessageBox::Question, NewCustomerTitle,
                    NewCustomerQuestion + QStringLiteral("\"") + customer + QStringLiteral("\" ?"),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("NewCustomerBox"));
    QPushButton* add = box.addButton(AddCustomerText, QMessageBox::YesRole);
    QPushButton* no = box.addButton(DoNotAddCustomerText, QMessageBox::NoRole);
    add->setObjectName(QStringLiteral("AddCustomer"));
    no->setObjectName(QStringLiteral("DoNotAddCustomer"));
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == add;
}

void Form1::showEmptyTotals()
{
    // The pair whose figures the boxes held is gone with the draw.
    m_session.customerCount = 0;
    m_session.customerTotal = 0;
    Label16->setText(QStringLiteral(" ยอดรวม "));
    Text5->setText(QStringLiteral("0"));
    Text6->setText(QStringLiteral("0.00"));
    showOverall({});
}

void Form1::GrandTotals()
{
    showOverall(m_book.overallTotals());
}

void Form1::showOverall(const StakeTotals& t)
{
    showUnreadable(t);
    m_session.overallCount = t.count;
    m_session.overallTotal = t.total;
    Text7->setText(formatCount(t.count));
    Text8->setText(formatAmount(t.total));
}

QPair<QString, QString> Form1::keyedPair() const
{
    if (SecondaryWindow* w = m_dispatch.window(WindowId::GroupEntry); w && w->isVisible())
        if (const auto pair = w->keyedPair()) return {pair->first, pair->second};
    return {Combo1->currentText(), customerName(Combo2->currentText())};
}

void Form1::refreshTotals(const QString& changedType, const QString& changedCustomer)
{
    refreshTotalsAfter(changedType.isEmpty() ? QStringList() : QStringList{changedType}, changedCustomer);
}

void Form1::refreshTotalsAfter(const QStringList& changedTypes, const QString& changedCustomer)
{
    showOverall(m_book.overallTotalsAfter(changedTypes, changedCustomer));
    const auto [type, customer] = keyedPair();
    UpdateTotals(type, customer);
}

void Form1::SelectTypeCustomer(bool fromCustomerList)
{
    List1->clear();
    const QString type = Combo1->currentText();
    if (type.isEmpty()) {
        Combo1->setFocus();
        return;
    }
    const QString customer = customerName(Combo2->currentText());
    if (customer.isEmpty()) {
        Combo2->setFocus();
        return;
    }
    if (!customerAccepted(customer)) {
        Combo2->setFocus();
        Combo2->lineEdit()->selectAll();
        return;
    }
    m_session.HeaderFlag = true;
    const QStringList failures = m_ledger.prepareCustomer(customer).lines;
    ShowCustomerBets(type, customer);
    listAddLines(failures);
    refreshTotals();
    if (Text1->isEnabled())
        Text1->setFocus();
    else
        Combo4->setFocus();
    if (fromCustomerList) m_session.HeaderFlag = false;
}

void Form1::onPairTextChanged()
{
    if (m_filling) return;
    List1->clear();
    m_session.HeaderFlag = false;
    // The label and the boxes follow the pair as it is typed, never the one picked before.
    const auto [type, customer] = keyedPair();
    UpdateTotals(type, customer);
}

// --- pick lists ----------------------------------------------------------------------------------

void Form1::RefreshPickLists()
{
    Command13->setText(QStringLiteral("ประวัติส่งออก"));
    const QStringList types = typeNames();
    const QStringList customers = m_book.customers();
    // The operator goes on keying the pair he was keying: the lists are filled again, the boxes
    // keep what they show.
    const QString type = Combo1->currentText();
    const QString customer = Combo2->currentText();
    m_filling = true;
    SecondaryWindow::fillPicker(Combo1, types, false);
    SecondaryWindow::fillPicker(Combo2, customers, false);
    Combo1->setCurrentIndex(Combo1->findText(type));
    const int known = Combo2->findText(customer, Qt::MatchExactly | Qt::MatchCaseSensitive);
    Combo2->setCurrentIndex(known);
    if (known < 0) Combo2->setEditText(customer);
    m_filling = false;

    for (SecondaryWindow* w : m_dispatch.loadedWindows())
        w->refillPickLists(types, customers);
    // The book's figures are read again.
    refreshTotals();
}

// --- windows -------------------------------------------------------------------------------------

SecondaryWindow* Form1::OpenWindow(WindowId id)
{
    SecondaryWindow* w = m_dispatch.OpenWindow(id);
    if (w && id == WindowId::GroupEntry)
        connect(w, &SecondaryWindow::closed, this, &Form1::onWindowClosed, Qt::UniqueConnection);
    return w;
}

void Form1::onWindowClosed(WindowId id)
{
    // Group entry is over: keying goes on in the main window's own fields, from the keyboard. A pick
    // of another way of keying closes the window too, and then sets the fields itself.
    if (id != WindowId::GroupEntry) return;
    // The boxes belong to the main window's pair again (the closing window still stands on the screen).
    UpdateTotals(Combo1->currentText(), customerName(Combo2->currentText()));
    const QString picked = Combo4->currentText();
    if (picked != QStringLiteral("กลุ่ม") && picked != QStringLiteral("ไฟล์")) return;
    Combo4->setCurrentIndex(Combo4->findText(QStringLiteral("คีย์บอร์ด")));
    disText();
    clMouse();
    QPalette p = Combo4->palette();
    p.setColor(QPalette::Button, QColor(255, 192, 128));
    p.setColor(QPalette::Base, QColor(255, 192, 128));
    Combo4->setPalette(p);
    Text1->setFocus();
}

void Form1::CloseSecondaryWindows()
{
    m_dispatch.CloseSecondaryWindows();
}

void Form1::openReport(WindowId id, std::optional<WindowMode> modeBefore, std::optional<WindowMode> modeAfter)
{
    CloseSecondaryWindows();
    if (modeBefore) m_session.WindowMode = *modeBefore;
    OpenWindow(id);
    RefreshPickLists();
    if (modeAfter) m_session.WindowMode = *modeAfter;
}

void Form1::openDriveWindow(const QString& caption, const QString& text)
{
    CloseSecondaryWindows();
    if (SecondaryWindow* w = openWindow(WindowId::Backup)) w->prepare(caption, text);
}

void Form1::Begin()
{
    openDriveWindow(QStringLiteral("Start"), QStringLiteral("คำเตือน !!!\r\nจะเป็นการเริ่มต้นใหม่\r\n"
                                                            "ข้อมูลตัวเลขในฐานข้อมูล\r\nจะถูกลบทั้งหมด"));
}

void Form1::onCombo4Activated(const QString& entry)
{
    CloseSecondaryWindows();
    QColor colour;
    if (entry == QStringLiteral("คีย์บอร์ด")) {
        disText();
        clMouse();
        Text1->setFocus();
        colour = QColor(255, 192, 128);
    } else if (entry == QStringLiteral("เมาส์")) {
        disText();
        disMouse();
        Text1->setFocus();
        colour = QColor(255, 192, 192);
    } else if (entry == QStringLiteral("ไฟล์")) {
        m_session.WindowMode = WindowMode::GroupFile;
        clText();
        OpenWindow(WindowId::FilePicker);
        clMouse();
        colour = QColor(255, 192, 255);
    } else if (entry == QStringLiteral("กลุ่ม")) {
        m_session.WindowMode = WindowMode::GroupPackage;
        clText();
        OpenWindow(WindowId::GroupEntry);
        clMouse();
        RefreshPickLists();
        HideProgress();
        colour = QColor(192, 192, 255);
    } else {
        return;
    }
    QPalette p = Combo4->palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Base, colour);
    Combo4->setPalette(p);
}

// --- fields --------------------------------------------------------------------------------------

// Enabled entry fields are white; disabled ones take the button face.
void Form1::setEntryFieldsEnabled(bool enabled)
{
    const QList<QWidget*> fields{Text1, Text2, Combo1, Combo2};
    for (QWidget* w : fields + QList<QWidget*>{Label1, Label2, Label23, Label7})
        w->setEnabled(enabled);
    const QColor base = enabled ? QColor(Qt::white) : QApplication::palette().color(QPalette::Button);
    for (QWidget* w : fields) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, base);
        w->setPalette(p);
    }
}

void Form1::disText()
{
    setEntryFieldsEnabled(true);
}

void Form1::clText()
{
    setEntryFieldsEnabled(false);
}

void Form1::disMouse()
{
    for (int i = 0; i < 11; ++i) {
        Command7[i]->show();
        Command1[i]->show();
    }
    for (QPushButton* b : {Command5, Command9, Command10, Command11})
        b->show();
}

void Form1::clMouse()
{
    for (int i = 0; i < 11; ++i) {
        Command7[i]->hide();
        Command1[i]->hide();
    }
    for (QPushButton* b : {Command5, Command9, Command10, Command11})
        b->hide();
}

void Form1::Tc1()
{
    QString t = Text1->text();
    t.chop(1);
    Text1->setText(t);
}

void Form1::Tc2()
{
    QString t = Text2->text();
    t.chop(1);
    Text2->setText(t);
}

QColor Form1::classicColour(int index)
{
    static const QColor palette[16] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
                                       {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
                                       {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                       {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    return palette[index & 15];
}

void Form1::colourChange()
{
    m_session.ColourIndex = m_session.ColourIndex >= 15 ? 0 : m_session.ColourIndex + 1;
    const int i = m_session.ColourIndex;
    const bool light = i == 7 || i == 10 || i == 11 || i == 14 || i == 15;
    QPalette p = List1->palette();
    p.setColor(QPalette::Text, classicColour(i));
    p.setColor(QPalette::Base, light ? Qt::black : Qt::white);
    List1->setPalette(p);
}

// --- taking back entries ------------------------------------------------------------------------

void Form1::undoLastEntry()
{
    listAddLines(m_ledger.undo().lines);
}

void Form1::redoLastEntry()
{
    listAddLines(m_ledger.redo().lines);
}

// --- what the other windows see ------------------------------------------------------------------

QStringList Form1::listRows() const
{
    QStringList rows;
    for (int i = 0; i < List1->count(); ++i)
        rows << List1->item(i)->text();
    return rows;
}

QString Form1::listRow(int index) const
{
    const QListWidgetItem* item = List1->item(index);
    return item ? item->text() : QString();
}

void Form1::replaceListRow(int index, const QString& text)
{
    if (QListWidgetItem* item = List1->item(index)) {
        List1->setCurrentRow(index);
        item->setText(text);
    }
}

void Form1::removeListRow(int index)
{
    delete List1->takeItem(index);
}

void Form1::showStatus(const QString& text)
{
    statusBar()->showMessage(text);
}

SecondaryWindow* Form1::loadedWindow(WindowId id) const
{
    return m_dispatch.window(id);
}

void Form1::closeWindow(WindowId id)
{
    m_dispatch.closeWindow(id);
}

void Form1::layOutMiddle()
{
    const int scrollBar = List1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, List1);
    const int wanted = List1->fontMetrics().horizontalAdvance(WidestReportLine) + 2 * List1->frameWidth() + scrollBar +
                       12; // the item's own margins
    static_cast<ListAndPanel*>(m_middle)->setListWidth(wanted);
}

QRect Form1::mainListArea() const
{
    return QRect(List1->mapToGlobal(QPoint(0, 0)), List1->size());
}

QString Form1::keyedType() const
{
    return Combo1->currentText();
}

QString Form1::keyedCustomer() const
{
    return customerName(Combo2->currentText());
}

QString Form1::sendOutCaption() const
{
    return Command13->text();
}

void Form1::setSendOutCaption(const QString& caption)
{
    Command13->setText(caption);
}

void Form1::disableRecordActions()
{
    mEdit->setEnabled(false);
    mDelete->setEnabled(false);
}

// --- events --------------------------------------------------------------------------------------

void Form1::contextMenuEvent(QContextMenuEvent* event)
{
    // A right click on the window's background opens the File menu.
    QWidget* under = childAt(event->pos());
    if (!under || under == centralWidget() || qobject_cast<QLabel*>(under)) {
        menuFile->popup(event->globalPos());
        event->accept();
        return;
    }
    QMainWindow::contextMenuEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) onList1MousePress(static_cast<QMouseEvent*>(event));
        if (event->type() == QEvent::MouseButtonRelease) onList1MouseRelease(static_cast<QMouseEvent*>(event));
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Inp2();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace varnoth
