#pragma once
// The main window's controls as a test reaches them: by object name, the way a person finds them on
// the screen, never through the window's own members. `ui(window).Text1` is the number box.

#include "gui/main/Form1.h"
#include "gui/main/session.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <array>

namespace varnoth
{

// The ledger a book's main window is handed, made before the window and ended after it.
struct BookLedger {
    BookLedger(Store& store, Session& session) : bookLedger(store, session) {}
    Ledger bookLedger;
};

// A main window on a book, as the program opens one: the ledger first, then the window on it.
class MainWindow : private BookLedger, public Form1
{
public:
    MainWindow(Store& store, Session& session) : BookLedger(store, session), Form1(bookLedger, session) {}
};

} // namespace varnoth

namespace varnoth::test
{

class MainUi
{
public:
    explicit MainUi(Form1& w)
    {
        Combo1 = find<QComboBox>(w, QStringLiteral("Combo1"));
        Combo2 = find<QComboBox>(w, QStringLiteral("Combo2"));
        Combo3 = find<QComboBox>(w, QStringLiteral("Combo3"));
        Combo4 = find<QComboBox>(w, QStringLiteral("Combo4"));
        Text1 = find<QLineEdit>(w, QStringLiteral("Text1"));
        Text2 = find<QLineEdit>(w, QStringLiteral("Text2"));
        Text3 = find<QPlainTextEdit>(w, QStringLiteral("Text3"));
        Text5 = find<QLineEdit>(w, QStringLiteral("Text5"));
        Text6 = find<QLineEdit>(w, QStringLiteral("Text6"));
        Text7 = find<QLineEdit>(w, QStringLiteral("Text7"));
        Text8 = find<QLineEdit>(w, QStringLiteral("Text8"));
        Label1 = find<QLabel>(w, QStringLiteral("Label1"));
        Label2 = find<QLabel>(w, QStringLiteral("Label2"));
        Label23 = find<QLabel>(w, QStringLiteral("Label23"));
        Label7 = find<QLabel>(w, QStringLiteral("Label7"));
        Label6 = find<QLabel>(w, QStringLiteral("Label6"));
        Label8 = find<QLabel>(w, QStringLiteral("Label8"));
        Label9 = find<QLabel>(w, QStringLiteral("Label9"));
        Label11 = find<QLabel>(w, QStringLiteral("Label11"));
        Label12 = find<QLabel>(w, QStringLiteral("Label12"));
        Label13 = find<QLabel>(w, QStringLiteral("Label13"));
        Label14 = find<QLabel>(w, QStringLiteral("Label14"));
        Label15 = find<QLabel>(w, QStringLiteral("Label15"));
        Label16 = find<QLabel>(w, QStringLiteral("Label16"));
        List1 = find<QListWidget>(w, QStringLiteral("List1"));
        for (int i = 0; i < 11; ++i)
            Command7[i] = find<QPushButton>(w, QStringLiteral("Command7_%1").arg(i));
        for (int i = 0; i < 11; ++i)
            Command1[i] = find<QPushButton>(w, QStringLiteral("Command1_%1").arg(i));
        Command5 = find<QPushButton>(w, QStringLiteral("Command5"));
        Command10 = find<QPushButton>(w, QStringLiteral("Command10"));
        Command9 = find<QPushButton>(w, QStringLiteral("Command9"));
        Command11 = find<QPushButton>(w, QStringLiteral("Command11"));
        Command2 = find<QPushButton>(w, QStringLiteral("Command2"));
        Command4 = find<QPushButton>(w, QStringLiteral("Command4"));
        Command3 = find<QPushButton>(w, QStringLiteral("Command3"));
        Command6 = find<QPushButton>(w, QStringLiteral("Command6"));
        Command12 = find<QPushButton>(w, QStringLiteral("Command12"));
        Command8 = find<QPushButton>(w, QStringLiteral("Command8"));
        Command13 = find<QPushButton>(w, QStringLiteral("Command13"));
        Command14 = find<QPushButton>(w, QStringLiteral("Command14"));
        Image1 = find<QToolButton>(w, QStringLiteral("Image1"));
        Image3 = find<QToolButton>(w, QStringLiteral("Image3"));
        Image4 = find<QToolButton>(w, QStringLiteral("Image4"));
        Image5 = find<QToolButton>(w, QStringLiteral("Image5"));
        Image7 = find<QToolButton>(w, QStringLiteral("Image7"));
        Image8 = find<QToolButton>(w, QStringLiteral("Image8"));
        Shape7 = find<QFrame>(w, QStringLiteral("Shape7"));
        Shape8 = find<QFrame>(w, QStringLiteral("Shape8"));
        menuFile = find<QMenu>(w, QStringLiteral("menuFile"));
        menuPrinter = find<QMenu>(w, QStringLiteral("menuPrinter"));
        mMore = find<QMenu>(w, QStringLiteral("mMore"));
        menuHelp = find<QMenu>(w, QStringLiteral("menuHelp"));
        mOpendatabase = find<QAction>(w, QStringLiteral("mOpendatabase"));
        menuOpen = find<QAction>(w, QStringLiteral("menuOpen"));
        mDownload = find<QAction>(w, QStringLiteral("mDownload"));
        mBackup = find<QAction>(w, QStringLiteral("mBackup"));
        subPrint1 = find<QAction>(w, QStringLiteral("subPrint1"));
        subPrint2 = find<QAction>(w, QStringLiteral("subPrint2"));
        menuClose = find<QAction>(w, QStringLiteral("menuClose"));
        mEdit = find<QAction>(w, QStringLiteral("mEdit"));
        mDelete = find<QAction>(w, QStringLiteral("mDelete"));
        mSearch = find<QAction>(w, QStringLiteral("mSearch"));
        mCalculator = find<QAction>(w, QStringLiteral("mCalculator"));
        mMap = find<QAction>(w, QStringLiteral("mMap"));
        mUndo = find<QAction>(w, QStringLiteral("mUndo"));
        mRedo = find<QAction>(w, QStringLiteral("mRedo"));
        mReadme = find<QAction>(w, QStringLiteral("mReadme"));
    }

    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo4 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QListWidget* List1 = nullptr;
    std::array<QPushButton*, 11> Command7{};
    std::array<QPushButton*, 11> Command1{};
    QPushButton* Command5 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command14 = nullptr;
    QToolButton* Image1 = nullptr;
    QToolButton* Image3 = nullptr;
    QToolButton* Image4 = nullptr;
    QToolButton* Image5 = nullptr;
    QToolButton* Image7 = nullptr;
    QToolButton* Image8 = nullptr;
    QFrame* Shape7 = nullptr;
    QFrame* Shape8 = nullptr;
    QMenu* menuFile = nullptr;
    QMenu* menuPrinter = nullptr;
    QMenu* mMore = nullptr;
    QMenu* menuHelp = nullptr;
    QAction* mOpendatabase = nullptr;
    QAction* menuOpen = nullptr;
    QAction* mDownload = nullptr;
    QAction* mBackup = nullptr;
    QAction* subPrint1 = nullptr;
    QAction* subPrint2 = nullptr;
    QAction* menuClose = nullptr;
    QAction* mEdit = nullptr;
    QAction* mDelete = nullptr;
    QAction* mSearch = nullptr;
    QAction* mCalculator = nullptr;
    QAction* mMap = nullptr;
    QAction* mUndo = nullptr;
    QAction* mRedo = nullptr;
    QAction* mReadme = nullptr;

private:
    template <typename T> static T* find(Form1& w, const QString& name)
    {
        T* found = w.findChild<T*>(name);
        if (!found) qFatal("the main window has no control named %s", qPrintable(name));
        return found;
    }
};

inline MainUi ui(Form1& w)
{
    return MainUi(w);
}

// Every name keyed becomes a customer without the question (tests of other things than the question).
inline void acceptNewCustomers(Form1& w)
{
    w.confirmNewCustomer = [](const QString&) { return true; };
}

} // namespace varnoth::test
