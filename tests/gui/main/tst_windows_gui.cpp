// Where the secondary windows open and how they are closed, the focus of the result window, and the
// settings window worked twice in a row and from the keyboard alone.
#include "gui/main/Form1.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/main/placement.h"
#include "gui/main/session.h"
#include "gui/settings/Form11.h"
#include "gui/settings/Form8.h"
#include "mainui.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

struct Fixture {
    TempBook book;
    Session session;
    MainWindow main{*book.store, session};
    Fixture(QPoint at = {20, 30})
    {
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
        main.move(at);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
    }
    void pick(const QString& entry)
    {
        const int index = ui(main).Combo3->findText(entry);
        QVERIFY(index >= 0);
        ui(main).Combo3->setCurrentIndex(index);
        emit ui(main).Combo3->activated(index);
    }
    template <class T> T* window(WindowId id) { return main.dispatch().get<T>(id); }
};

QRect screenArea(const QWidget* w)
{
    return w->screen()->availableGeometry();
}

// The window is centred on `anchor` along an axis, or pushed against the screen's edge there
// because centred it would not fit.
bool centredOrAtEdge(int centre, int anchorCentre, int start, int end, int screenStart, int screenEnd)
{
    return std::abs(centre - anchorCentre) <= 2 || start == screenStart || end == screenEnd;
}

void activate(QWidget* w)
{
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class TestWindowsGui : public QObject
{
    Q_OBJECT
private slots:
    void placementKeepsTheTitleBarOnTheScreen_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("centred") << QSize(200, 100) << QRect(100, 100, 760, 560) << QRect(380, 343, 200, 100);
        // A main window up in the corner would put the title bar above the screen.
        QTest::newRow("main at the top left")
            << QSize(500, 360) << QRect(-200, -100, 400, 200) << QRect(4, 30, 500, 360);
        QTest::newRow("main past the bottom right")
            << QSize(500, 360) << QRect(1200, 700, 400, 200) << QRect(862, 404, 500, 360);
        QTest::newRow("larger than the screen")
            << QSize(2000, 1000) << QRect(0, 0, 100, 100) << QRect(4, 30, 1358, 734);
    }
    void placementKeepsTheTitleBarOnTheScreen()
    {
        QFETCH(QSize, client);
        QFETCH(QRect, anchor);
        QFETCH(QRect, expected);
        QCOMPARE(placeCentred(client, QMargins(4, 30, 4, 4), anchor, QRect(0, 0, 1366, 768)), expected);
    }

    // Group entry stands beside the main list, left of it where the screen has room, else right of it,
    // else where it covers the least.
    void groupEntryStandsBesideTheList_data()
    {
        QTest::addColumn<QRect>("list");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("room on the left") << QRect(400, 150, 380, 480) << QRect(96, 243, 300, 300);
        QTest::newRow("room on the right only") << QRect(200, 150, 380, 480) << QRect(584, 243, 300, 300);
        QTest::newRow("no room: the left, at the edge") << QRect(250, 150, 900, 480) << QRect(4, 243, 300, 300);
        QTest::newRow("no room: the right, at the edge") << QRect(120, 150, 1000, 480) << QRect(1062, 243, 300, 300);
    }
    void groupEntryStandsBesideTheList()
    {
        QFETCH(QRect, list);
        QFETCH(QRect, expected);
        const QRect anchor(100, 100, 1100, 560);
        QCOMPARE(placeBeside(QSize(300, 300), QMargins(4, 30, 4, 4), list, anchor, QRect(0, 0, 1366, 768)), expected);
    }

    // On the screen, the window leaves every line of the list in sight when the screen has room.
    void groupEntryLeavesTheListInSight()
    {
        Fixture f({180, 30});
        f.main.resize(f.main.minimumSizeHint().width(), 560);
        SecondaryWindow* w = f.main.OpenWindow(WindowId::GroupEntry);
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(screenArea(w).contains(w->frameGeometry()));
        const QRect list(ui(f.main).List1->mapToGlobal(QPoint(0, 0)), ui(f.main).List1->size());
        QVERIFY2(!w->frameGeometry().intersects(list),
                 qPrintable(QString("%1 %2").arg(w->frameGeometry().right()).arg(list.left())));
    }

    // Every secondary window opens centred on the main window, wholly on the screen, with a title
    // bar and a close button, and Esc in the field that has the focus closes it.
    void secondaryWindowsOpenOverTheMainWindow_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QPoint>("mainAt");
        for (WindowId id :
             {WindowId::Backup, WindowId::Print, WindowId::FilePicker, WindowId::View, WindowId::Record,
              WindowId::Result, WindowId::OverLimit, WindowId::Readme, WindowId::Settings, WindowId::Calculator,
              WindowId::Prize, WindowId::Cutting, WindowId::Customers, WindowId::ExposureMap}) {
            const int n = static_cast<int>(id);
            QTest::addRow("window %d", n) << id << QPoint(20, 30);
            QTest::addRow("window %d, main far right", n) << id << QPoint(600, 400);
        }
    }
    void secondaryWindowsOpenOverTheMainWindow()
    {
        QFETCH(WindowId, id);
        QFETCH(QPoint, mainAt);
        Fixture f(mainAt);
        SecondaryWindow* w = f.main.OpenWindow(id);
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QRect frame = w->frameGeometry(), screen = screenArea(w), anchor = f.main.frameGeometry();
        QVERIFY2(
            screen.contains(frame),
            qPrintable(
                QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
        QVERIFY(centredOrAtEdge(frame.center().x(), anchor.center().x(), frame.left(), frame.right(), screen.left(),
                                screen.right()));
        QVERIFY(centredOrAtEdge(frame.center().y(), anchor.center().y(), frame.top(), frame.bottom(), screen.top(),
                                screen.bottom()));
        QVERIFY(w->windowFlags() & Qt::WindowTitleHint);
        QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(w->windowFlags() & Qt::FramelessWindowHint));

        activate(w);
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : w, Qt::Key_Escape);
        QTRY_VERIFY(!f.main.dispatch().window(id));
    }

    void resultWindowStartsInTheFirstPrize()
    {
        Fixture f;
        f.book.put("lotto3.gif", "123456#111#222#333#444#56#\r\n\r\n");
        f.pick("เลขรางวัล");
        auto* w = f.window<Form8>(WindowId::Result);
        QVERIFY(w);
        activate(w);
        QCOMPARE(QApplication::focusWidget(), w->Text1);
        // What is typed replaces the stored number.
        QTest::keyClicks(w->Text1, "654321");
        QCOMPARE(w->Text1->text(), QString("654321"));
    }

    // The rate of two types changed one after the other with the keyboard alone: Enter edits the
    // picked row, what is typed replaces the value, Enter saves, an arrow key edits the next row.
    // The window does not move, so the next click lands where the operator aims.
    void settingsTwiceInARowFromTheKeyboard()
    {
        Fixture f;
        f.book.put("lotto4.gif", "3ตัวตรง#500\r\n3ตัวโต๊ด#100\r\n\r\n");
        f.pick("อัตราจ่าย");
        auto* w = f.window<Form11>(WindowId::Settings);
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        activate(w);
        w->move(w->pos() + QPoint(37, 21)); // where the operator dragged it
        const QRect before = w->geometry();
        QCOMPARE(QApplication::focusWidget(), w->List1);
        QCOMPARE(w->List1->currentRow(), 0);
        const QString firstType = w->List1->item(0)->text().section(' ', 0, 0);
        const QString secondType = w->List1->item(1)->text().section(' ', 0, 0);

        QTest::keyClick(w->List1, Qt::Key_Return);
        QCOMPARE(w->Text1->text(), firstType);
        QTRY_COMPARE(QApplication::focusWidget(), w->Text2);
        QTest::keyClicks(w->Text2, "700");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), w->List1);
        QCOMPARE(w->geometry(), before);
        QCOMPARE(w->List1->item(0)->text(), firstType + " - 700");

        QTest::keyClick(w->List1, Qt::Key_Down);
        QCOMPARE(w->Text1->text(), secondType);
        QTRY_COMPARE(QApplication::focusWidget(), w->Text2);
        QTest::keyClicks(w->Text2, "90");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(w->geometry(), before);
        QCOMPARE(w->List1->item(1)->text(), secondType + " - 90");
        QCOMPARE(f.window<Form11>(WindowId::Settings), w);
    }

    // The operator clicks a row that holds a value and types the new one: it replaces the old,
    // also when the value field is clicked into after another field had the focus.
    void typedValueReplacesTheOldOne()
    {
        Fixture f;
        f.book.put("lotto4.gif", "3ตัวตรง#500\r\n\r\n");
        f.pick("อัตราจ่าย");
        auto* w = f.window<Form11>(WindowId::Settings);
        activate(w);
        const QList<QListWidgetItem*> found = w->List1->findItems("3ตัวตรง - 500", Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mouseClick(w->List1->viewport(), Qt::LeftButton, {}, w->List1->visualItemRect(found.first()).center());
        QTRY_COMPARE(QApplication::focusWidget(), w->Text2);
        QTest::keyClicks(w->Text2, "100");
        QCOMPARE(w->Text2->text(), QString("100"));

        w->Text1->setFocus();
        QTest::mouseClick(w->Text2, Qt::LeftButton);
        QTRY_COMPARE(w->Text2->selectedText(), QString("100"));
        QTest::keyClicks(w->Text2, "250");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(f.book.bytes("lotto4.gif").contains(cp874("3ตัวตรง#250\r\n")), true);
    }
};

QTEST_MAIN(TestWindowsGui)
#include "tst_windows_gui.moc"
