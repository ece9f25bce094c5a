// The main window as the operator works in it: no bet without a named customer, totals that follow
// the pair being keyed and the whole book, Ctrl+Z from any field, a resizable layout that holds
// still, the type hotkeys and the list zoom.
#include "mainui.h"
#include "entry/totals.h"
#include "guisupport.h"
#include "model/text.h"
#include "store/session.h"
#include "testsupport.h"
#include "ui/main/Form1.h"
#include "ui/main/Form13.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace varnoth;
using namespace varnoth::test;

class TestForm1Window : public QObject
{
    Q_OBJECT
    QTemporaryDir settingsDir;
    std::unique_ptr<TempBook> book;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> form;

    void open(const QStringList& customers = {})
    {
        for (const QString& c : customers)
            book->store->creationSequence(c);
        form = std::make_unique<Form1>(*book->store, *session);
        form->dispatch().setInstantGrowIn(true);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->finishStartup();
    }
    void pickType(const QString& type)
    {
        const int i = ui(*form).Combo1->findText(type);
        ui(*form).Combo1->setCurrentIndex(i);
        emit ui(*form).Combo1->activated(i);
    }
    void enter(const QString& number, const QString& amount)
    {
        QTest::keyClicks(ui(*form).Text1, number);
        QTest::keyClicks(ui(*form).Text2, amount);
        QTest::keyClick(ui(*form).Text2, Qt::Key_Return);
    }
    QString stakeLine(const QString& type, const QString& customer, const QString& number) const
    {
        const QString path = book->store->StakeFilePath(type, customer);
        if (path.isEmpty()) return {};
        for (const QString& line : book->text(QFileInfo(path).fileName()).split("\r\n"))
            if (line.startsWith(number + "-")) return line;
        return {};
    }
    // The figures the boxes must show, counted again from the files.
    QString pairFigures(const QString& type, const QString& customer) const
    {
        const StakeTotals t = customerTotals(*book->store, type, customer);
        return "ยอดรวม " + type + " " + customer + " " + formatCount(t.count) + " " + formatAmount(t.total);
    }
    QString shownPair() const { return ui(*form).Label16->text() + " " + ui(*form).Text5->text() + " " + ui(*form).Text6->text(); }
    QString shownBook() const { return ui(*form).Text7->text() + " " + ui(*form).Text8->text(); }
    QString bookFigures() const
    {
        const StakeTotals t = bookTotals(*book->store);
        return formatCount(t.count) + " " + formatAmount(t.total);
    }

private slots:
    void initTestCase() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path()); }
    void init()
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Varnoth", "view").clear();
        book = std::make_unique<TempBook>();
        session = std::make_unique<Session>();
    }
    void cleanup() { form.reset(); }

    // Enter with no customer named stores nothing and asks for the name; "x" works when typed.
    void enterWithoutCustomerAsksForOne_data()
    {
        QTest::addColumn<QString>("customer");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks only") << "   ";
    }
    void enterWithoutCustomerAsksForOne()
    {
        QFETCH(QString, customer);
        open();
        pickType("3ตัวตรง");
        ui(*form).Combo2->setEditText(customer);
        const auto before = folderBytes(book->folder());
        enter("123", "100");
        QCOMPARE(folderBytes(book->folder()), before);
        QVERIFY(book->store->customers().isEmpty());
        QCOMPARE(ui(*form).Combo2->count(), 0);
        QTRY_VERIFY(ui(*form).Combo2->hasFocus());
        // The keyed figures wait in their fields for the name.
        QCOMPARE(ui(*form).Text1->text() + "-" + ui(*form).Text2->text(), QString("123-100"));

        QTest::keyClicks(ui(*form).Combo2->lineEdit(), "x");
        QTest::keyClick(ui(*form).Text2, Qt::Key_Return);
        QCOMPARE(stakeLine("3ตัวตรง", "x", "123"), QString("123-100"));
        QCOMPARE(book->store->customers(), QStringList{"x"});
    }

    // The label and both pairs of boxes follow a newly typed name, every entry, sheet, take-back,
    // record edit and report.
    void totalsFollowThePairAndTheBook()
    {
        open({"somchai", "manee"});
        ui(*form).Combo2->setEditText("somchai");
        pickType("3ตัวตรง");
        enter("123", "100");
        QCOMPARE(shownPair(), pairFigures("3ตัวตรง", "somchai"));
        QCOMPARE(shownBook(), QString("1 100.00"));

        // A new name typed: its own (empty) figures under its own name at once, then its bets.
        ui(*form).Combo2->setEditText("");
        QTest::keyClicks(ui(*form).Combo2->lineEdit(), "manee");
        QCOMPARE(shownPair(), QString("ยอดรวม 3ตัวตรง manee 0 0.00"));
        enter("456", "250");
        enter("789", "300");
        QCOMPARE(shownPair(), QString("ยอดรวม 3ตัวตรง manee 2 550.00"));
        QCOMPARE(shownBook(), QString("3 650.00"));

        // Taking back, with the focus in the number field.
        QTest::keyClick(ui(*form).Text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shownPair(), QString("ยอดรวม 3ตัวตรง manee 1 250.00"));
        QCOMPARE(shownBook(), QString("2 350.00"));

        // A sheet in group entry: the boxes are those of the sheet's pair.
        session->WindowMode = WindowMode::GroupPackage;
        auto* sheet = qobject_cast<Form13*>(form->OpenWindow(WindowId::GroupEntry));
        QVERIFY(sheet);
        form->RefreshPickLists();
        pick(sheet->Combo1, "2ตัวบน");
        sheet->Combo2->setEditText("somchai");
        sheet->Text1->setPlainText("12-40\n34-60");
        sheet->Command1->click();
        QCOMPARE(shownPair(), pairFigures("2ตัวบน", "somchai"));
        QCOMPARE(shownBook(), QString("4 450.00"));
        QCOMPARE(shownBook(), bookFigures());
        form->CloseSecondaryWindows();

        // A report empties the pair boxes; the book's figures stay.
        ui(*form).Command2->click();
        QCOMPARE(shownPair(), QString(" ยอดรวม ") + "  ");
        QCOMPARE(shownBook(), QString("4 450.00"));
        form->CloseSecondaryWindows();

        // A change elsewhere in the book (as an edited record): the boxes keep the pair being keyed.
        ui(*form).Combo2->setEditText("manee");
        pickType("3ตัวตรง");
        book->put(QFileInfo(book->store->StakeFilePath("2ตัวบน", "somchai")).fileName(),
                  book->text(QFileInfo(book->store->StakeFilePath("2ตัวบน", "somchai")).fileName())
                      .replace("12-40\r\n", "12-90\r\n"));
        form->refreshTotals();
        QCOMPARE(shownPair(), QString("ยอดรวม 3ตัวตรง manee 1 250.00"));
        QCOMPARE(shownBook(), QString("4 500.00"));
        // Single entries keep the book's figures without reading it again, and they still agree.
        enter("111", "5");
        QCOMPARE(shownBook(), bookFigures());
    }

    // Ctrl+Z takes back the last entry from every control of the window, and a line edit's own undo
    // never runs instead.
    void ctrlZTakesBackFromAnyControl_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::newRow("number field") << "Text1";
        QTest::newRow("amount field") << "Text2";
        QTest::newRow("customer box") << "Combo2";
        QTest::newRow("list") << "List1";
    }
    void ctrlZTakesBackFromAnyControl()
    {
        QFETCH(QString, focus);
        open({"x"});
        ui(*form).Combo2->setEditText("x");
        pickType("3ตัวตรง");
        enter("123", "100");
        enter("123", "50");
        QCOMPARE(stakeLine("3ตัวตรง", "x", "123"), QString("123-150"));
        QTest::keyClicks(ui(*form).Text1, "45"); // something the field itself could undo

        QWidget* target = form->findChild<QWidget*>(focus);
        QVERIFY(target);
        if (auto* combo = qobject_cast<QComboBox*>(target)) target = combo->lineEdit();
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(stakeLine("3ตัวตรง", "x", "123"), QString("123-100"));
        QCOMPARE(ui(*form).Text1->text(), QString("45"));
        QCOMPARE(ui(*form).Combo2->currentText(), QString("x"));
    }

    // The list takes the room of a larger window, and a long gate list does not move anything.
    void layoutGrowsTheListAndHoldsStill()
    {
        open({"x"});
        QApplication::processEvents();
        const QRect list = ui(*form).List1->geometry();
        const QRect number = ui(*form).Text1->geometry();
        form->resize(1366, 740);
        QTRY_VERIFY(ui(*form).List1->width() > list.width() + 500);
        QVERIFY(ui(*form).List1->height() > list.height() + 150);
        QCOMPARE(ui(*form).Text1->width(), number.width());

        const QRect wideList = ui(*form).List1->geometry();
        ui(*form).Combo2->setEditText("x");
        pickType("2ตัวบน");
        QTest::keyClicks(ui(*form).Text1, "5+271");
        QVERIFY(ui(*form).Text3->isVisible());
        QCOMPARE(ui(*form).Text3->toPlainText().count(' '), 271);
        QApplication::processEvents();
        QCOMPARE(ui(*form).List1->geometry(), wideList);
        QCOMPARE(ui(*form).Text1->width(), number.width());
        QVERIFY(ui(*form).Text3->width() <= number.width() + 2);
        // A long customer name in the total label does not widen its column either.
        ui(*form).Text1->clear();
        ui(*form).Combo2->setEditText("a-customer with quite a long name indeed");
        QApplication::processEvents();
        QCOMPARE(ui(*form).List1->geometry(), wideList);

        // Thai lines and digit lines are rows of one height in one font.
        ui(*form).List1->clear();
        ui(*form).List1->addItems({"พร้อมรับข้อมูล", "123-100"});
        QCOMPARE(ui(*form).List1->visualItemRect(ui(*form).List1->item(0)).height(),
                 ui(*form).List1->visualItemRect(ui(*form).List1->item(1)).height());
        QVERIFY(ui(*form).List1->item(0)->font() == ui(*form).List1->item(1)->font());
    }

    // F1 ... F12 pick the twelve types from whichever control has the focus.
    void functionKeysPickTypes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("type");
        QTest::newRow("F1 in the number field") << int(Qt::Key_F1) << "Text1"
                                                << "3ตัวตรง";
        QTest::newRow("F4 in the type box") << int(Qt::Key_F4) << "Combo1"
                                            << "2ตัวบน";
        QTest::newRow("F12 in the list") << int(Qt::Key_F12) << "List1"
                                         << "5ตัวโต๊ด";
    }
    void functionKeysPickTypes()
    {
        QFETCH(int, key);
        QFETCH(QString, focus);
        QFETCH(QString, type);
        open({"somchai"});
        QCOMPARE(ui(*form).Combo1->itemText(key - Qt::Key_F1), type);
        ui(*form).Combo2->setEditText("somchai");
        QWidget* target = form->findChild<QWidget*>(focus);
        if (auto* combo = qobject_cast<QComboBox*>(target)) target = combo->lineEdit();
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(ui(*form).Combo1->currentText(), type);
        QCOMPARE(listLines(ui(*form).List1).value(0), "<" + type + "> <somchai>");
        QVERIFY(ui(*form).Text1->hasFocus());
    }

    void zoomChangesTheListAndIsRemembered()
    {
        open();
        const qreal normal = ui(*form).List1->font().pointSizeF();
        ui(*form).List1->addItem("123-100");
        const int normalRow = ui(*form).List1->visualItemRect(ui(*form).List1->item(0)).height();
        QTest::keyClick(ui(*form).Text1, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(ui(*form).Text1, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(ui(*form).List1->font().pointSizeF(), normal + 2);
        QTRY_VERIFY(ui(*form).List1->visualItemRect(ui(*form).List1->item(0)).height() > normalRow);

        form.reset();
        open();
        QCOMPARE(ui(*form).List1->font().pointSizeF(), normal + 2);
        QTest::keyClick(ui(*form).List1, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(ui(*form).List1->font().pointSizeF(), normal + 1);
        QTest::keyClick(ui(*form).List1, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(ui(*form).List1->font().pointSizeF(), normal);
        for (int i = 0; i < 40; ++i)
            form->zoomList(-1);
        QVERIFY(ui(*form).List1->font().pointSizeF() > 4);
        form.reset();
        open();
        QCOMPARE(ui(*form).List1->font().pointSizeF(), normal - 4);
    }

    // The report buttons have Alt letters of their own, none taken by the menu bar.
    void reportButtonsHaveTheirOwnAltKeys()
    {
        open();
        QStringList taken;
        for (QAction* menu : form->menuBar()->actions())
            taken << QKeySequence::mnemonic(menu->text()).toString();
        for (const char* name :
             {"Command2", "Command4", "Command3", "Command6", "Command12", "Command8", "Command14"}) {
            auto* b = form->findChild<QPushButton*>(name);
            const QString key = b->shortcut().toString();
            QVERIFY2(key.startsWith("Alt+"), name);
            QVERIFY2(!taken.contains(key), qPrintable(key));
            taken << key;
        }
        QTest::keyClick(ui(*form).Text1, Qt::Key_V, Qt::AltModifier);
        QTRY_VERIFY(form->dispatch().window(WindowId::View)); // the button flashes, then acts
    }
};

QTEST_MAIN(TestForm1Window)
#include "tst_form1_window_gui.moc"
