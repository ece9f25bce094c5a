#include "core/model/types.h"
#include "gui/main/Form1.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/main/session.h"
#include "mainui.h"
#include "storage/folder/store.h"
#include "testsupport.h"
#include "tools/backuptexts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace varnoth;
using namespace varnoth::test;

class TestForm1 : public QObject
{
    Q_OBJECT
private slots:
    void freshStart()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        QCOMPARE(form.windowTitle(), QString("Varnoth V3.3 Pro"));
        QCOMPARE(ui(form).Text7->text(), QString("0"));
        QCOMPARE(ui(form).Text8->text(), QString("0.00"));
        QVERIFY(ui(form).Text5->text().isEmpty());
        QVERIFY(ui(form).Text6->text().isEmpty());
        QCOMPARE(ui(form).Label16->text(), QString(" ยอดรวม "));
        QVERIFY(!ui(form).mEdit->isEnabled());
        QVERIFY(!ui(form).mDelete->isEnabled());
        QVERIFY(ui(form).Label6->isHidden());
        QCOMPARE(ui(form).Combo1->count(), 12);
        QCOMPARE(ui(form).Combo1->itemText(11), QString("5ตัวโต๊ด"));
        QCOMPARE(ui(form).Combo4->currentText(), QString("คีย์บอร์ด"));
        QStringList settings;
        for (int i = 0; i < ui(form).Combo3->count(); ++i)
            settings << ui(form).Combo3->itemText(i);
        QCOMPARE(settings, QStringList({"อัตราจ่าย", "วงเงินอั้น", "เลขรางวัล", "คัดเลข", "คัดหลัก", "ส่วนลด", "ชื่อลูกค้า", "ตั้งค่าอื่น",
                                        "เลขอั้น/เลขปิด"}));
        QVERIFY(ui(form).Command7[10]->isHidden());
        QCOMPARE(form.findChild<QPushButton*>("Command7_10")->text(), QString("+"));
        QCOMPARE(form.findChild<QPushButton*>("Command1_3")->text(), QString("3"));
    }

    void fieldsWaitForTheTenthTick()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        form.show();
        QVERIFY(!ui(form).Text1->isEnabled());
        QVERIFY(!ui(form).Combo1->isEnabled());
        QTRY_VERIFY(form.ready());
        QVERIFY(ui(form).Text1->isEnabled());
        QVERIFY(ui(form).Combo2->isEnabled());
        QVERIFY(!form.startTimerRunning());
    }

    void menusInOrder()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        QStringList menus;
        for (QAction* a : form.menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, QStringList({"&File", "&More", "&Help"}));
        QStringList file;
        for (QAction* a : ui(form).menuFile->actions())
            file << a->text();
        QCOMPARE(file, QStringList({"Open Database", "Start", TransferRestoreMenuText, TransferBackupMenuText,
                                    FullBackupMenuText, FullRestoreMenuText, "Printer", "Close"}));
        QStringList more;
        for (QAction* a : ui(form).mMore->actions())
            more << a->text();
        QCOMPARE(more.mid(0, 4), QStringList({"Edit", "Delete", "Search", "Calculator"}));
        QCOMPARE(ui(form).menuPrinter->actions().size(), 2);
        QVERIFY(!ui(form).mOpendatabase->icon().isNull());
        QCOMPARE(ui(form).Image7->toolTip(), QString(" ปิดโปรแกรม เพื่อเลิกใช้งาน "));
    }

    void pickingTypeAndCustomer()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        form.finishStartup();
        ui(form).Combo1->setCurrentIndex(0);
        ui(form).Combo2->setEditText("X");
        form.SelectTypeCustomer(false);
        QCOMPARE(ui(form).List1->count(), 2);
        QCOMPARE(ui(form).List1->item(0)->text(), QString("<3ตัวตรง> <x>"));
        QCOMPARE(ui(form).List1->item(1)->text(), QString("พร้อมรับข้อมูล"));
        QCOMPARE(ui(form).Label16->text(), QString("ยอดรวม 3ตัวตรง x"));
        QCOMPARE(ui(form).Text5->text(), QString("0"));
        QCOMPARE(ui(form).Text6->text(), QString("0.00"));
        QVERIFY(session.HeaderFlag);
        QCOMPARE(book.text("custom.gif"), QString("#x#\r\n"));
        // Typing into the customer box clears the list and the header flag.
        QTest::keyClicks(ui(form).Combo2->lineEdit(), "y");
        QCOMPARE(ui(form).List1->count(), 0);
        QVERIFY(!session.HeaderFlag);
    }

    void totalsCountOnlyPositiveLines()
    {
        TempBook book;
        book.store->creationSequence("x");
        book.store->creationSequence("y");
        QString stake = InitialContent("2ตัวบน");
        stake.replace("12-0\r\n", "12-150\r\n").replace("99-0\r\n", "99-50\r\n").replace("00-0\r\n", "00--5\r\n");
        book.put("3_1.gif", stake + "\r\n");
        book.put("0_2.gif", "000-1000\r\n\r\n");
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        form.UpdateTotals("2ตัวบน", "x");
        QCOMPARE(ui(form).Text5->text(), QString("2"));
        QCOMPARE(ui(form).Text6->text(), QString("200.00"));
        form.GrandTotals();
        QCOMPARE(ui(form).Text7->text(), QString("3"));
        QCOMPARE(ui(form).Text8->text(), QString("1,200.00"));
        QCOMPARE(session.overallTotal, 1200.0);
    }

    void sixteenColourClicksReturnToBlackOnWhite()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        ui(form).Image4->click();
        QCOMPARE(ui(form).List1->palette().color(QPalette::Text), QColor(0, 0, 128));
        for (int i = 0; i < 6; ++i)
            ui(form).Image4->click();
        QCOMPARE(session.ColourIndex, 7);
        QCOMPARE(ui(form).List1->palette().color(QPalette::Base), QColor(Qt::black));
        for (int i = 0; i < 9; ++i)
            ui(form).Image4->click();
        QCOMPARE(session.ColourIndex, 0);
        QCOMPARE(ui(form).List1->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(ui(form).List1->palette().color(QPalette::Base), QColor(Qt::white));
    }

    void progressTickOverTwelveItems()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        form.show();
        form.progress().reset();
        for (int i = 0; i < 12; ++i)
            form.progress().tick(12);
        QCOMPARE(ui(form).Label8->text(), QString("Loading 60% "));
        QVERIFY(ui(form).Shape8->isVisible());
        // A loop over 100 items steps every 5 items and wraps to nothing after step 20.
        form.progress().reset();
        for (int i = 0; i < 105; ++i)
            form.progress().tick(100);
        QCOMPARE(ui(form).Label8->text(), QString("Loading 100% "));
        form.progress().hide();
        QVERIFY(!ui(form).Shape8->isVisible());
    }

    void secondaryWindowGrowsToItsFinalSize()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        SecondaryWindow* w = form.OpenWindow(WindowId::Calculator);
        QVERIFY(w);
        QVERIFY(w->isGrowing());
        QTRY_VERIFY(!w->isGrowing());
        QCOMPARE(w->size(), QSize(twips(3400), twips(3000)));
        // The file window steps 316.5 twips a tick, rounded halves to even, to 5865 by 3705.
        SecondaryWindow* file = form.OpenWindow(WindowId::FilePicker);
        QVERIFY(file->growIn().roundWidthToEven);
        QCOMPARE(file->growIn().widthStep, 316.5);
        file->finishGrowIn();
        QCOMPARE(file->height(), twips(3705));
        // Opening through a picker closes the others but leaves the read-me open.
        form.OpenWindow(WindowId::Readme)->finishGrowIn();
        form.CloseSecondaryWindows();
        QVERIFY(!form.dispatch().window(WindowId::Calculator));
        QVERIFY(form.dispatch().window(WindowId::Readme));
    }

    void rightClickOnTheBackgroundOpensTheFileMenu()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint background = ui(form).Label9->geometry().bottomRight() + QPoint(2, 1);
        QContextMenuEvent event(QContextMenuEvent::Mouse, background, form.mapToGlobal(background));
        QApplication::sendEvent(&form, &event);
        QTRY_VERIFY(ui(form).menuFile->isVisible());
        ui(form).menuFile->hide();
    }

    void openingTheSameWindowTwiceShowsItOnce()
    {
        TempBook book;
        Session session;
        MainWindow form(*book.store, session);
        acceptNewCustomers(form);
        SecondaryWindow* a = form.OpenWindow(WindowId::View);
        SecondaryWindow* b = form.OpenWindow(WindowId::View);
        QCOMPARE(a, b);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1_gui.moc"
