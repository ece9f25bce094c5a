#pragma once
// The main window: entry fields, the main list, the total boxes, the settlement buttons, the
// picture buttons and the menus. Feature handlers live in Form1_*.cpp beside this file.

#include "app/Ledger.h"
#include "core/model/progress.h"
#include "entry/totals.h"
#include "entry/undo.h"
#include "gui/main/AppContext.h"
#include "gui/main/Shell.h"
#include "gui/main/WindowDispatch.h"

#include <QHash>
#include <QMainWindow>
#include <QPair>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class QFrame;
class QMenu;
class QAction;

namespace varnoth
{

class BookReader;
struct Session;
class SecondaryWindow;
class Form1;
class PairPanel;

class Form1 : public QMainWindow, public Shell
{
    Q_OBJECT
public:
    // The main window of a book: the program opens the book and hands over its ledger, which
    // outlives the window.
    Form1(Ledger& ledger, Session& session, QWidget* parent = nullptr);
    ~Form1() override;

    AppContext& context() { return m_ctx; }
    Ledger& ledger() { return m_ledger; }
    Session& session() { return m_session; }
    WindowDispatch& dispatch() { return m_dispatch; }
    Progress& progress() { return m_ledger.progress(); }

    // --- routines other windows call -------------------------------------------------------------
    void ListAddLine(const QString& text);
    void listAddLines(const QStringList& lines);
    void clearList();
    void ShowProgress(int step);
    void HideProgress();
    void ShowCustomerBets(const QString& type, const QString& customer);
    void UpdateTotals(const QString& type, const QString& customer);
    void GrandTotals();
    // The boxes after a new draw: 0 for the pair and for the book.
    void showEmptyTotals();
    // The total label and boxes for the pair being keyed, and the boxes of the whole book. Every
    // change of the book ends here. A caller that changed one stake file only may name its pair:
    // the book's figures are then brought up to date from that file alone.
    void refreshTotals(const QString& changedType, const QString& changedCustomer);
    // The same after an entry that changed the customer's stake files of these types.
    void refreshTotalsAfter(const QStringList& changedTypes, const QString& changedCustomer);
    // The type and customer the operator is keying for: those of group or file entry while that
    // window is open, else the main window's boxes as they read now.
    QPair<QString, QString> keyedPair() const;
    void SelectTypeCustomer(bool fromCustomerList = false);
    void RefreshPickLists();
    SecondaryWindow* OpenWindow(WindowId id);
    void CloseSecondaryWindows();

    // --- what the other windows see of the main window ------------------------------------------
    void addLines(const QStringList& lines) override { listAddLines(lines); }
    QStringList listRows() const override;
    QString listRow(int index) const override;
    void replaceListRow(int index, const QString& text) override;
    void removeListRow(int index) override;
    void showStatus(const QString& text) override;
    void hideProgress() override { HideProgress(); }
    SecondaryWindow* openWindow(WindowId id) override { return OpenWindow(id); }
    SecondaryWindow* loadedWindow(WindowId id) const override;
    void closeWindow(WindowId id) override;
    void closeSecondaryWindows() override { CloseSecondaryWindows(); }
    void refreshPickLists() override { RefreshPickLists(); }
    QString keyedType() const override;
    QString keyedCustomer() const override;
    void showCustomerBets(const QString& type, const QString& customer) override { ShowCustomerBets(type, customer); }
    void refreshTotals() override { refreshTotals(QString(), QString()); }
    QString sendOutCaption() const override;
    void setSendOutCaption(const QString& caption) override;
    void disableRecordActions() override;
    const QWidget* anchorWidget() const override { return this; }
    QRect mainListArea() const override;

    // --- public methods of the main window ------------------------------------------------------
    void Inp1();
    void Inp2();
    void Begin();
    void disText();
    void clText();
    void disMouse();
    void clMouse();
    void Tc1();
    void Tc2();
    void Menu();
    void colourChange();
    // Takes back the newest step of the book (Ctrl+Z), or does again the last one taken back
    // (Ctrl+Shift+Z).
    void undoLastEntry();
    void redoLastEntry();
    // True once the start-up timer has built the caches and enabled the fields.
    bool ready() const { return m_ready; }
    // The start-up timer still ticks (it stops once the fields are enabled).
    bool startTimerRunning() const { return Timer3.isActive(); }
    // Runs the start-up timer to its tenth tick at once (tests).
    void finishStartup();

    // Asked before a name that is not in the book becomes a customer; the default answer adds no one.
    // The window tests answer in its place.
    std::function<bool(const QString& customer)> confirmNewCustomer;
    // Where the main list goes as a spreadsheet: (title, proposed path, filter) → the path, "" when
    // cancelled. A file dialog unless a test sets it.
    std::function<QString(const QString&, const QString&, const QString&)> pickListFile;

    // The list's text size: one step up (+1), down (-1) or back to normal (0); remembered per user.
    void zoomList(int step);
    int listZoom() const { return m_zoom; }

    // The 16 classic colours of the list text.
    static QColor classicColour(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void createFields(QWidget* central);
    void createKeypads(QWidget* central);
    void createButtons(QWidget* central);
    void createProgressBar(QWidget* central);
    QVBoxLayout* entryColumnLayout();
    void createListAndPanel(QWidget* central);
    QVBoxLayout* totalsColumnLayout();
    void setEntryFieldsEnabled(bool enabled);
    void buildMenus();
    void connectControls();
    void startTick();
    // The type or the customer box changed: the list and the boxes follow the pair they now name.
    void onPairTextChanged();
    void onCombo4Activated(const QString& entry);
    // Opens a report window alone; the mode is set before it opens, after it opens, or not at all.
    void openReport(WindowId id, std::optional<WindowMode> modeBefore, std::optional<WindowMode> modeAfter);
    void openDriveWindow(const QString& caption, const QString& text);
    // The view (Form1_view.cpp): the list's font and zoom, the column widths, the hotkeys.
    void setUpView();
    void applyListFont();
    void pickTypeByKey(int index);
    void showOverall(const StakeTotals& totals);
    // Names in the list each stake file the totals could not read, once.
    void showUnreadable(const StakeTotals& totals);
    // The side panel follows the pair the boxes show.
    void showPairPanel(const QString& type, const QString& customer);
    void editPanelStake(const QString& number, const QString& amount);
    // False when the customer is new to the book and the operator does not want him added.
    bool customerAccepted(const QString& customer);
    void onWindowClosed(WindowId id);
    // Lays out the list and the side panel: the panel gives up its room before the list does.
    void layOutMiddle();

    // Entry (Form1_entry.cpp): the live gate expansion of Text1.
    void onText1Changed(const QString& text);
    // Settings picker (Form1_settings.cpp).
    void onCombo3Activated(const QString& entry);
    // View data (Form1_reports.cpp).
    void viewAllData();
    // Printing and text-editor output (Form1_print.cpp).
    void notepadOutput();
    // The main list into an Excel workbook or a CSV file the operator names.
    void saveListAsSpreadsheet();
    // Selection in the main list and the record dialog (Form1_edit.cpp).
    void onList1MousePress(QMouseEvent* event);
    void onList1MouseRelease(QMouseEvent* event);
    void openRecordDialog(const QString& caption);

    BookReader& m_book;
    Session& m_session;
    Ledger& m_ledger;
    AppContext m_ctx;
    WindowDispatch m_dispatch;
    QWidget* m_leftColumn = nullptr;
    QWidget* m_rightColumn = nullptr;
    QWidget* m_middle = nullptr;
    PairPanel* m_panel = nullptr;
    bool m_ownChange = false; // the main window changes the book itself and brings its totals up to date
    int m_tickCounter = 0;
    bool m_ready = false;
    bool m_filling = false;                  // the program is refilling a drop-down: its text changes are not typing
    int m_zoom = 0;
    double m_listBaseSize = 0;

    // --- controls: private; from outside (the tests) they are found by object name ---------------
    QComboBox* Combo1;
    QComboBox* Combo2;
    QComboBox* Combo3;
    QComboBox* Combo4;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QPlainTextEdit* Text3;
    QLineEdit* Text5;
    QLineEdit* Text6;
    QLineEdit* Text7;
    QLineEdit* Text8;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label23;
    QLabel* Label7;
    QLabel* Label6;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QListWidget* List1;
    std::array<QPushButton*, 11> Command7{}; // number keypad
    std::array<QPushButton*, 11> Command1{}; // amount keypad
    QPushButton* Command5;
    QPushButton* Command10;
    QPushButton* Command9;
    QPushButton* Command11;
    QPushButton* Command2;
    QPushButton* Command4;
    QPushButton* Command3;
    QPushButton* Command6;
    QPushButton* Command12;
    QPushButton* Command8;
    QPushButton* Command13;
    QPushButton* Command14; // the exposure map
    QToolButton* Image1;
    QToolButton* Image3;
    QToolButton* Image4;
    QToolButton* Image5;
    QToolButton* Image7;
    QToolButton* Image8;
    QFrame* Shape7;
    QFrame* Shape8;
    QTimer Timer3;

    QMenu* menuFile;
    QMenu* menuPrinter;
    QMenu* mMore;
    QMenu* menuHelp;
    QAction* mOpendatabase;
    QAction* menuOpen;
    QAction* mDownload;
    QAction* mBackup;
    QAction* subPrint1;
    QAction* subPrint2;
    QAction* menuClose;
    QAction* mEdit;
    QAction* mDelete;
    QAction* mSearch;
    QAction* mCalculator;
    QAction* mMap;
    QAction* mChatPaste;
    QAction* mAudit;
    QAction* mUsers;
    QAction* mRules;
    QAction* mBill;
    QAction* mOwed;
    QAction* mDraws;
    QAction* mUndo;
    QAction* mRedo;
    QAction* mReadme;
};

} // namespace varnoth
