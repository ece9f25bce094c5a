// The main window as the operator works in it: no bet without a named customer, totals that follow
// the pair being keyed and the whole book, Ctrl+Z from any field, a resizable layout that holds
// still, the type hotkeys and the list zoom.
#include "core/model/text.h"
#include "entry/totals.h"
#include "gui/main/Form1.h"
#include "gui/main/Form13.h"
#include "gui/main/session.h"
#include "guisupport.h"
#include "mainui.h"
#include "storage/folder/numberfile.h"
#include "testsupport.h"

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
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTreeWidget>
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
        form = std::make_unique<MainWindow>(*book->store, *session);
        acceptNewCustomers(*form);
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
    QString shownPair() const
    {
        return ui(*form).Label16->text() + " " + ui(*form).Text5->text() + " " + ui(*form).Text6->text();
    }
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

        // A report keeps the pair being keyed in the boxes, and the book's figures.
        ui(*form).Command2->click();
        QCOMPARE(shownPair(), pairFigures("3ตัวตรง", "manee"));
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

    // A stake file that cannot be read is named in the list, once, instead of counting as nothing;
    // the totals of the files that read stand.
    void unreadableStakeFileIsNamed()
    {
        book->store->creationSequence("somchai");
        book->store->creationSequence("manee");
        const QString path = book->store->StakeFilePath("3ตัวตรง", "manee");
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
        open();
        const QString line = ReadFailedText + QFileInfo(path).fileName();
        QCOMPARE(listLines(ui(*form).List1).count(line), 1);
        ui(*form).Combo2->setEditText("somchai");
        pickType("3ตัวตรง");
        enter("123", "100");
        QCOMPARE(shownBook(), QString("1 100.00"));
        ui(*form).Combo2->setEditText("manee");
        pickType("3ตัวตรง");
        form->refreshTotals();
        QCOMPARE(listLines(ui(*form).List1).count(line), 1);
        QCOMPARE(shownBook(), QString("1 100.00"));
    }

    // What another program writes into the book shows in the totals without a touch of the window:
    // a stake file written whole by another copy, and one edited in place by hand; only the files
    // named by the change are read again.
    void anotherProgramsChangeShows()
    {
        book->store->creationSequence("somchai");
        book->store->creationSequence("manee");
        open();
        ui(*form).Combo2->setEditText("somchai");
        pickType("3ตัวตรง");
        enter("123", "100");
        QCOMPARE(shownBook(), QString("1 100.00"));
        Store other(book->folder());
        NumberFile theirs(other, other.StakeFilePath("3ตัวตรง", "manee"));
        QVERIFY(theirs.add("456", 250));
        QVERIFY(theirs.save(other));
        QTRY_COMPARE(shownBook(), QString("2 350.00"));
        const QString mine = QFileInfo(book->store->StakeFilePath("3ตัวตรง", "somchai")).fileName();
        book->put(mine, book->text(mine) + "777-5\r\n");
        QTRY_COMPARE(shownPair(), QString("ยอดรวม 3ตัวตรง somchai 2 105.00"));
        QCOMPARE(shownBook(), QString("3 355.00"));
        QCOMPARE(shownBook(), bookFigures());
        if (const QString shot = qEnvironmentVariable("VARNOTH_SHOT"); !shot.isEmpty()) {
            form->resize(1366, 768);
            form->grab().save(shot);
        }
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
        auto* panel = form->findChild<QWidget*>("PairPanel");
        const int before = list.width() + panel->width();
        const int grown = 1366 - form->width();
        form->resize(1366, 740);
        // The panel takes back its own width, the list all the rest.
        QTRY_COMPARE(ui(*form).List1->width() + panel->width(), before + grown);
        QCOMPARE(panel->width(), panel->sizeHint().width());
        QVERIFY(ui(*form).List1->width() > list.width() + grown / 2);
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

    // The default layout at 1366 x 768 shows the longest report lines whole; narrowing the window
    // takes the side panel's room first and the list's last.
    void listIsTheLastToShrink()
    {
        open();
        const int screenWidth = 1366;
        QVERIFY(form->sizeHint().width() <= screenWidth);
        form->resize(std::min(form->sizeHint().width(), screenWidth), 740);
        QApplication::processEvents();
        const QListWidget* list = ui(*form).List1;
        const int room = list->viewport()->width();
        for (const QString& line : {QStringLiteral("ส่วนลด 10%= 70.00 บาท (เฉพาะลูกค้า)"),
                                    QStringLiteral("ส่วนลด 12.5%= 12,345.00 บาท (รวมส่วนลดเฉพาะลูกค้า)"),
                                    QStringLiteral("จ่ายค่ารางวัล= 123,456.00 บาท (รวมอัตราจ่ายเฉพาะลูกค้า)")})
            QVERIFY2(list->fontMetrics().horizontalAdvance(line) + 8 <= room, qPrintable(line));

        auto* panel = form->findChild<QWidget*>("PairPanel");
        const int listWidth = list->width();
        const int panelWidth = panel->width();
        form->resize(form->width() - 40, 740);
        QTRY_COMPARE(panel->width(), panelWidth - 40);
        QCOMPARE(list->width(), listWidth);
        form->resize(form->minimumSizeHint().width(), 740);
        QTRY_VERIFY(list->width() < listWidth);
        QCOMPARE(panel->width(), panel->minimumSizeHint().width() > 120 ? panel->minimumSizeHint().width() : 120);
    }

    // A name the book does not know becomes a customer only when the operator says so: Enter on the
    // question adds no one and stores nothing; "add" adds him through the ledger.
    void newCustomerIsAskedFirst_data()
    {
        QTest::addColumn<bool>("byTypePick"); // the name typed, then a type picked (else Enter on a bet)
        QTest::newRow("enter on a bet") << false;
        QTest::newRow("type picked") << true;
    }
    void newCustomerIsAskedFirst()
    {
        QFETCH(bool, byTypePick);
        open({"somchai"});
        form->confirmNewCustomer = nullptr; // the real question box
        pickType("3ตัวตรง");
        ui(*form).Combo2->setEditText("10");
        auto keyIt = [&] {
            if (byTypePick)
                pickType("2ตัวบน");
            else
                enter("123", "10");
        };
        const auto before = folderBytes(book->folder());
        QString asked;
        QVERIFY(answerQuestion(keyIt, [&](QWidget* box) {
            asked = box->objectName();
            QTest::keyClick(box, Qt::Key_Return); // the default answer
        }));
        QCOMPARE(asked, QString("NewCustomerBox"));
        QCOMPARE(book->store->customers(), QStringList{"somchai"});
        QCOMPARE(folderBytes(book->folder()), before);
        // The window manager gives the window back its activation once the question is gone.
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTRY_VERIFY(ui(*form).Combo2->hasFocus());

        QSignalSpy customers(&form->ledger(), &Ledger::customersChanged);
        // Asked again: the keyed figures waited in their fields.
        auto again = [&] {
            if (byTypePick)
                pickType("2ตัวบน");
            else
                QTest::keyClick(ui(*form).Text2, Qt::Key_Return);
        };
        QVERIFY(answerQuestion(again, [](QWidget* box) { box->findChild<QPushButton*>("AddCustomer")->click(); }));
        QCOMPARE(book->store->customers(), (QStringList{"somchai", "10"}));
        QCOMPARE(customers.count(), 1);
        QCOMPARE(book->text("audit.log").count("\tcustomer-add\t\t10\t"), 1);
        // A known name is never asked about.
        if (!byTypePick) QCOMPARE(stakeLine("3ตัวตรง", "10", "123"), QString("123-10"));
        const QString number = byTypePick ? "45" : "456";
        QVERIFY(!answerQuestion([&] { enter(number, "20"); }, [](QWidget* box) { box->close(); }));
        QCOMPARE(stakeLine(byTypePick ? "2ตัวบน" : "3ตัวตรง", "10", number), number + "-20");
    }

    // After group entry, chat paste or a settings window the boxes still hold the pair being keyed,
    // and the next bet goes to it.
    void boxesKeepThePair_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("group entry") << "group";
        QTest::newRow("chat paste") << "chat";
        QTest::newRow("settings window") << "settings";
        QTest::newRow("report") << "report";
    }
    void boxesKeepThePair()
    {
        QFETCH(QString, window);
        open({"somchai", "malee"});
        pickType("2ตัวบน");
        ui(*form).Combo2->setCurrentIndex(ui(*form).Combo2->findText("somchai"));
        if (window == "group") {
            pick(ui(*form).Combo4, "กลุ่ม");
            emit ui(*form).Combo4->activated(ui(*form).Combo4->currentIndex());
            auto* sheet = qobject_cast<Form13*>(form->loadedWindow(WindowId::GroupEntry));
            QVERIFY(sheet);
            sheet->Combo2->setEditText("malee");
            sheet->Text1->setPlainText("12-40");
            sheet->Command1->click();
            sheet->close();
        } else if (window == "chat") {
            form->findChild<QAction*>("mChatPaste")->trigger();
            auto* chat = form->loadedWindow(WindowId::ChatPaste);
            QVERIFY(chat);
            chat->findChild<QComboBox*>("Combo2")->setEditText("malee");
            chat->findChild<QPlainTextEdit*>("Text1")->setPlainText("45=100");
            chat->findChild<QPushButton*>("Command1")->click();
            chat->close();
        } else if (window == "settings") {
            pick(ui(*form).Combo3, ui(*form).Combo3->itemText(0));
            emit ui(*form).Combo3->activated(0);
            QVERIFY(!form->dispatch().loadedWindows().isEmpty());
            form->CloseSecondaryWindows();
        } else {
            ui(*form).Command4->click();
            form->CloseSecondaryWindows();
        }
        QCOMPARE(ui(*form).Combo1->currentText() + " " + ui(*form).Combo2->currentText(), QString("2ตัวบน somchai"));
        QVERIFY(ui(*form).Text1->isEnabled());
        enter("77", "10");
        QCOMPARE(stakeLine("2ตัวบน", "somchai", "77"), QString("77-10"));
        QCOMPARE(book->store->customers(), (QStringList{"somchai", "malee"}));
        QCOMPARE(shownPair(), pairFigures("2ตัวบน", "somchai"));
    }

    // The total boxes agree with the files after every way of changing the book, at once.
    void totalsFollowEveryEntryPath_data()
    {
        QTest::addColumn<QString>("path");
        for (const char* path : {"paired amount", "gate", "sheet", "chat paste", "take-back", "redo"})
            QTest::newRow(path) << QString(path);
    }
    void totalsFollowEveryEntryPath()
    {
        QFETCH(QString, path);
        open({"somchai"});
        ui(*form).Combo2->setEditText("somchai");
        pickType("2ตัวบน");
        enter("12", "100");
        if (path == "paired amount") {
            enter("34", "100+50");
        } else if (path == "gate") {
            enter("5+19", "20");
        } else if (path == "sheet") {
            session->WindowMode = WindowMode::GroupPackage;
            auto* sheet = qobject_cast<Form13*>(form->OpenWindow(WindowId::GroupEntry));
            QVERIFY(sheet);
            pick(sheet->Combo1, "3ตัวตรง");
            sheet->Text1->setPlainText("123-40\n456-60");
            sheet->Command1->click();
            sheet->close();
        } else if (path == "chat paste") {
            form->findChild<QAction*>("mChatPaste")->trigger();
            auto* chat = form->loadedWindow(WindowId::ChatPaste);
            QVERIFY(chat);
            chat->findChild<QPlainTextEdit*>("Text1")->setPlainText("45=100\n67 ล่าง50");
            chat->findChild<QPushButton*>("Command1")->click();
            chat->close();
        } else {
            enter("34", "100+50");
            QTest::keyClick(ui(*form).Text1, Qt::Key_Z, Qt::ControlModifier);
            if (path == "redo") QTest::keyClick(ui(*form).Text1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        }
        QCOMPARE(shownBook(), bookFigures());
        QCOMPARE(shownPair(), pairFigures("2ตัวบน", "somchai"));
        // The side panel sums the same files.
        auto* types = form->findChild<QTreeWidget*>("PairTypes");
        QTreeWidgetItem* all = types->topLevelItem(types->topLevelItemCount() - 1);
        QCOMPARE(all->text(1) + " " + all->text(2), bookFigures());
    }

    // The side panel lists the pair's stakes, the last changed first, follows entries, edits and
    // take-backs, and a double-click opens the stake in the record dialog.
    void sidePanelFollowsThePair()
    {
        open({"somchai"});
        ui(*form).Combo2->setEditText("somchai");
        pickType("3ตัวตรง");
        auto* stakes = form->findChild<QTreeWidget*>("PairStakes");
        auto rows = [stakes] {
            QStringList r;
            for (int i = 0; i < stakes->topLevelItemCount(); ++i)
                r << stakes->topLevelItem(i)->text(0) + "-" + stakes->topLevelItem(i)->text(1);
            return r;
        };
        enter("123", "100");
        enter("456", "50");
        enter("789", "25");
        QCOMPARE(rows(), (QStringList{"789-25.00", "456-50.00", "123-100.00"}));
        enter("123", "10");
        QCOMPARE(rows(), (QStringList{"123-110.00", "789-25.00", "456-50.00"}));
        QTest::keyClick(ui(*form).Text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rows().value(0), QString("123-100.00"));

        // Another pair: its own stakes.
        pickType("2ตัวบน");
        QVERIFY(rows().isEmpty());
        QCOMPARE(form->findChild<QLabel*>("PairHeading")->text(), QString("<2ตัวบน> <somchai>"));
        pickType("3ตัวตรง");

        // Double-click on 456: the record dialog edits that stake, and the panel follows.
        QTreeWidgetItem* item = stakes->findItems("456", Qt::MatchExactly).value(0);
        QVERIFY(item);
        const QRect cell = stakes->visualItemRect(item);
        // As a person double-clicks: a click, and the second press that makes it a double one.
        QTest::mouseClick(stakes->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(stakes->viewport(), Qt::LeftButton, {}, cell.center());
        auto* dialog = form->loadedWindow(WindowId::Record);
        QVERIFY(dialog);
        auto* amount = dialog->findChild<QLineEdit*>("Text2");
        QCOMPARE(dialog->findChild<QLineEdit*>("Text1")->text() + "-" + amount->text(), QString("456-50"));
        amount->setText("80");
        dialog->findChild<QPushButton*>("Command1")->click();
        QCOMPARE(stakeLine("3ตัวตรง", "somchai", "456"), QString("456-80"));
        QCOMPARE(rows().value(0), QString("456-80.00"));
        QCOMPARE(shownPair(), pairFigures("3ตัวตรง", "somchai"));
    }
};

QTEST_MAIN(TestForm1Window)
#include "tst_form1_window_gui.moc"
