// The paste window driven as the operator drives it: opened from the main window with the pair being
// keyed, a message pasted, a red line corrected in place, and everything stored with one click.
#include "entry/chattexts.h"
#include "gui/main/ChatPasteWindow.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "mainui.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

QString lineOf(const TempBook& book, const QString& file, const QString& number)
{
    for (const QString& line : book.text(file).split("\r\n"))
        if (line.startsWith(number + '-')) return line.section('-', 1);
    return {};
}

// The rows of the table shown in red, by their text.
QStringList redRows(const QTableView* grid)
{
    QStringList rows;
    const QAbstractItemModel* model = grid->model();
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, 0).data(Qt::ForegroundRole).value<QColor>() == QColor(200, 0, 0))
            rows << model->index(r, 0).data().toString();
    return rows;
}

struct Fixture {
    TempBook book;
    Session session;
    MainWindow main{*book.store, session};
    Fixture()
    {
        book.store->creationSequence("somchai");
        main.show();
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
        main.RefreshPickLists();
    }
    ChatPasteWindow* open(const QString& type, const QString& customer)
    {
        auto* combo1 = main.findChild<QComboBox*>("Combo1");
        auto* combo2 = main.findChild<QComboBox*>("Combo2");
        combo1->setCurrentIndex(combo1->findText(type));
        combo2->setEditText(customer);
        main.findChild<QAction*>("mChatPaste")->trigger();
        return qobject_cast<ChatPasteWindow*>(main.loadedWindow(WindowId::ChatPaste));
    }
    QStringList mainList() const
    {
        QStringList lines;
        const auto* list = main.findChild<QListWidget*>("List1");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
};

// Answers the next message box with the named button.
void answer(const QString& button, bool* asked)
{
    QTimer::singleShot(0, [button, asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        *asked = true;
        box->findChild<QPushButton*>(button)->click();
    });
}

} // namespace

class TestChatPasteGui : public QObject
{
    Q_OBJECT
private slots:
    void pasteCorrectAndCommit()
    {
        Fixture f;
        const auto before = folderBytes(f.book.folder());
        ChatPasteWindow* w = f.open("2ตัวบน", "somchai");
        QVERIFY(w);
        QCOMPARE(w->findChild<QComboBox*>("Combo1")->currentText(), QString("2ตัวบน"));
        QCOMPARE(w->findChild<QComboBox*>("Combo2")->currentText(), QString("somchai"));

        auto* text = w->findChild<QPlainTextEdit*>("Text1");
        auto* grid = w->findChild<QTableView*>("Grid1");
        auto* label = w->findChild<QLabel*>("Label1");
        // Pasted as the operator pastes: from the clipboard, with Ctrl+V in the message box.
        QApplication::clipboard()->setText("45=100\r\n67 ล่าง50\r\n89=\r\nรวม 200");
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
        QTRY_COMPARE(redRows(grid), QStringList{"89="});
        QVERIFY(label->text().contains("ไม่ตรง"));

        // The operator corrects the red line in the table; the message and the bets follow.
        QAbstractItemModel* model = grid->model();
        int row = 0;
        while (model->index(row, 0).data().toString() != "89=")
            ++row;
        QVERIFY(model->flags(model->index(row, 0)) & Qt::ItemIsEditable);
        QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable)); // an understood line stays
        QVERIFY(model->setData(model->index(row, 0), "89=50"));
        QTRY_COMPARE(text->toPlainText(), QString("45=100\n67 ล่าง50\n89=50\nรวม 200"));
        QTRY_COMPARE(redRows(grid), QStringList());
        QCOMPARE(w->parse().bets().size(), 3);
        QVERIFY(!label->text().contains("ไม่ตรง"));

        w->findChild<QPushButton*>("Command1")->click();
        QCOMPARE(lineOf(f.book, "3_1.gif", "45"), QString("100"));
        QCOMPARE(lineOf(f.book, "3_1.gif", "89"), QString("50"));
        QCOMPARE(lineOf(f.book, "5_1.gif", "67"), QString("50"));
        QCOMPARE(f.mainList(), (QStringList{"<2ตัวบน> <somchai>", "45-100", "<2ตัวล่าง> <somchai>", "67-50",
                                            "<2ตัวบน> <somchai>", "89-50"}));
        QVERIFY(text->toPlainText().isEmpty());

        // The whole paste is one step to take back.
        f.main.findChild<QAction*>("mUndo")->trigger();
        QCOMPARE(folderBytes(f.book.folder()), before);
    }

    void mismatchAsksFirst()
    {
        Fixture f;
        ChatPasteWindow* w = f.open("2ตัวบน", "somchai");
        w->findChild<QPlainTextEdit*>("Text1")->setPlainText("45=100\nรวม 500");
        w->reread();
        const auto before = folderBytes(f.book.folder());
        bool asked = false;
        answer("DoNotStore", &asked);
        w->findChild<QPushButton*>("Command1")->click();
        QVERIFY(asked);
        QCOMPARE(folderBytes(f.book.folder()), before);

        asked = false;
        answer("StoreAnyway", &asked);
        w->findChild<QPushButton*>("Command1")->click();
        QVERIFY(asked);
        QCOMPARE(lineOf(f.book, "3_1.gif", "45"), QString("100"));
    }

    // No customer in the box: the name on the first line, and without one nothing is stored.
    void customerFromTheMessage()
    {
        Fixture f;
        ChatPasteWindow* w = f.open("2ตัวบน", "");
        auto* text = w->findChild<QPlainTextEdit*>("Text1");
        const auto before = folderBytes(f.book.folder());
        auto* store = w->findChild<QPushButton*>("Command1");
        text->setPlainText("45=100");
        QTRY_VERIFY(store->isEnabled());
        store->click();
        QCOMPARE(w->findChild<QLabel*>("Label1")->text(), ChatNoCustomerText);
        QCOMPARE(folderBytes(f.book.folder()), before);
        QCOMPARE(text->toPlainText(), QString("45=100")); // kept for the operator to finish

        text->setPlainText("@แดง\n45=100");
        store->click();
        QVERIFY(f.book.store->customers().contains("แดง"));
        QCOMPARE(lineOf(f.book, "3_2.gif", "45"), QString("100"));
    }

    void shortcutOpensTheWindow()
    {
        Fixture f;
        f.main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.main));
        QTest::keyClick(&f.main, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(f.main.loadedWindow(WindowId::ChatPaste));
    }
};

QTEST_MAIN(TestChatPasteGui)
#include "tst_chatpaste_gui.moc"
