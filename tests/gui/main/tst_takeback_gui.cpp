// Taking back in the main window: the menu items name the step, Ctrl+Shift+Z does it again from any
// field.
#include "app/ledgertexts.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "mainui.h"
#include "testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

class TestTakeBackGui : public QObject
{
    Q_OBJECT
private slots:
    void menuNamesTheStepAndRedoDoesItAgain()
    {
        TempBook book;
        book.store->creationSequence("x");
        Session session;
        MainWindow main(*book.store, session);
        main.show();
        main.finishStartup();
        const QString undoCaption = ui(main).mUndo->text();
        const auto empty = folderBytes(book.folder());

        ui(main).Combo1->setCurrentText("3ตัวตรง");
        ui(main).Combo2->setEditText("x");
        QTest::keyClicks(ui(main).Text1, "123");
        QTest::keyClicks(ui(main).Text2, "100");
        QTest::keyClick(ui(main).Text2, Qt::Key_Return);
        const auto entered = folderBytes(book.folder());
        QCOMPARE(ui(main).mUndo->text(), UndoMenuText + EntryStepText + "123-100");

        QTest::keyClick(ui(main).Text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(folderBytes(book.folder()), empty);
        QCOMPARE(ui(main).mUndo->text(), undoCaption);
        QCOMPARE(ui(main).mRedo->text(), RedoMenuText + EntryStepText + "123-100");
        QCOMPARE(ui(main).Text7->text(), QString("0"));

        // Ctrl+Shift+Z in the number field is the window's, not the field's own redo.
        QTest::keyClick(ui(main).Text1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(folderBytes(book.folder()), entered);
        QVERIFY(ui(main).List1->item(ui(main).List1->count() - 1)->text().endsWith(DoneAgainStepText));
        QCOMPARE(ui(main).Text7->text(), QString("1"));
    }
};

QTEST_MAIN(TestTakeBackGui)
#include "tst_takeback_gui.moc"
