#include "gui/main/Form1.h"
#include "gui/main/Form13.h"
#include "gui/main/session.h"
#include "mainui.h"
#include "testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{
} // namespace

class TestUndoGui : public QObject
{
    Q_OBJECT
private slots:
    // Ctrl+Z takes back a sheet and then a keyed entry, each whole, newest first.
    void ctrlZTakesBackSheetsAndEntries()
    {
        TempBook book;
        book.store->creationSequence("x");
        Session session;
        MainWindow main(*book.store, session);
        main.show();
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
        const auto empty = folderBytes(book.folder());

        ui(main).Combo1->setCurrentText("3ตัวตรง");
        ui(main).Combo2->setEditText("x");
        QTest::keyClicks(ui(main).Text1, "123");
        QTest::keyClicks(ui(main).Text2, "100+50");
        QTest::keyClick(ui(main).Text2, Qt::Key_Return);
        const auto afterEntry = folderBytes(book.folder());
        QVERIFY(afterEntry != empty);

        session.WindowMode = WindowMode::GroupPackage;
        auto* sheet = qobject_cast<Form13*>(main.OpenWindow(WindowId::GroupEntry));
        QVERIFY(sheet);
        main.RefreshPickLists();
        sheet->Combo1->setCurrentText("3ตัวตรง");
        sheet->Combo2->setEditText("x");
        sheet->Text1->setPlainText("554-100\n358+6-10\n771+2-30");
        sheet->Command1->click();
        QVERIFY(folderBytes(book.folder()) != afterEntry);

        ui(main).mUndo->trigger();
        QCOMPARE(folderBytes(book.folder()), afterEntry);
        QVERIFY(ui(main).List1->item(ui(main).List1->count() - 1)->text().endsWith(" ยกเลิกแล้ว"));
        ui(main).mUndo->trigger();
        QCOMPARE(folderBytes(book.folder()), empty);
        ui(main).mUndo->trigger();
        QCOMPARE(ui(main).List1->item(ui(main).List1->count() - 1)->text(), QString("ไม่มีรายการให้ยกเลิก"));
        QCOMPARE(ui(main).mUndo->shortcut(), QKeySequence(QKeySequence::Undo));
    }
};

QTEST_MAIN(TestUndoGui)
#include "tst_undo_gui.moc"
