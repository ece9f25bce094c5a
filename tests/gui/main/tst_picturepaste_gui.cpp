// The paste window reading a picture: the picture on the left, its lines on the right, a row picked
// in either, a red row typed in place, everything stored with one click as one step to take back, and
// a reading that can be stopped or left behind by closing the window.
#include "chatpictures.h"
#include "gui/main/ChatPasteWindow.h"
#include "gui/main/Form1.h"
#include "mainui.h"
#include "gui/main/session.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QGraphicsView>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

// "67 ห้าสิบ" gives its amount as a word, which is never read: a red row in any reading.
const QStringList Slip{"บน", "12=100", "34=50", "67 ห้าสิบ", "ล่าง", "56=20"};
const QStringList Meant{"2ตัวบน 12 100", "2ตัวบน 34 50", "2ตัวล่าง 56 20", "2ตัวบน 67 50"};

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
    ChatPasteWindow* open()
    {
        auto* combo1 = main.findChild<QComboBox*>("Combo1");
        combo1->setCurrentIndex(combo1->findText("2ตัวบน"));
        main.findChild<QComboBox*>("Combo2")->setEditText("somchai");
        main.findChild<QAction*>("mChatPaste")->trigger();
        auto* w = qobject_cast<ChatPasteWindow*>(main.loadedWindow(WindowId::ChatPaste));
        if (w) w->resize(1200, 700);
        return w;
    }
    QString picture(const ChatLook& look = {}) const
    {
        const QString path = book.dir.path() + "/slip.png";
        chatPicture(Slip, look).save(path);
        return path;
    }
};

QStringList written(const QList<ChatBet>& bets)
{
    QStringList out;
    for (const ChatBet& b : bets)
        out << b.type + ' ' + b.number + ' ' + b.amount;
    return out;
}

bool readIn(ChatPasteWindow* w)
{
    QSignalSpy read(w, &ChatPasteWindow::pictureRead);
    return !w->reading() || read.wait(60000);
}

} // namespace

class TestPicturePasteGui : public QObject
{
    Q_OBJECT
private slots:
    void readPickCorrectAndCommit()
    {
        Fixture f;
        ChatPasteWindow* w = f.open();
        QVERIFY(w);
        const QString path = f.picture();
        QVERIFY(w->openPicture(path));
        QVERIFY(w->reading());
        QVERIFY(!w->findChild<QPushButton*>("Command1")->isEnabled()); // nothing to store while it reads
        QVERIFY(readIn(w));
        QVERIFY(w->showsPicture());

        // No bet nobody placed; the amount in words is a red row with its piece of the picture.
        QStringList meant = Meant;
        for (const QString& bet : written(w->parse().bets()))
            QVERIFY2(meant.removeOne(bet), qPrintable(bet));
        const PictureParse& read = w->pictureParse();
        int red = -1;
        for (qsizetype i = 0; i < read.chat.lines.size(); ++i)
            if (read.chat.lines[i].kind == ChatLineKind::NotUnderstood && read.lines[i].text.startsWith("67"))
                red = int(i);
        QVERIFY2(red >= 0, "the amount in words is not read");
        auto* grid = w->findChild<QTableView*>("Grid1");
        const auto* model = static_cast<const ChatModel*>(grid->model());
        const int redRow = model->firstRowOf(red);
        QVERIFY(!model->index(redRow, 0).data(Qt::DecorationRole).value<QPixmap>().isNull());

        // Picking a row frames its words; a click in the picture picks the row read there.
        grid->selectRow(redRow);
        const QRect box = read.lines[red].box;
        QVERIFY(!w->framedBoxes().isEmpty());
        for (const QRectF& framed : w->framedBoxes())
            QVERIFY(QRectF(box).adjusted(-4, -4, 4, 4).intersects(framed));
        grid->selectRow(0);
        w->pickAt(box.center());
        QCOMPARE(model->lineOf(grid->currentIndex().row()), red);

        if (const QString shot = qEnvironmentVariable("VARNOTH_SHOT"); !shot.isEmpty()) w->grab().save(shot);

        // The red row typed in place is read as typed.
        QVERIFY(grid->model()->setData(grid->model()->index(redRow, 0), "67=50"));
        QTRY_VERIFY(written(w->parse().bets()).contains("2ตัวบน 67 50"));

        const QByteArray before = f.book.bytes("3_1.gif");
        w->findChild<QPushButton*>("Command1")->click();
        QVERIFY(!w->showsPicture());
        QCOMPARE(f.book.text("3_1.gif").contains("67-50"), true);

        // The log says where the bets came from, with the digest of the file's bytes.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray digest = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        QFile log(f.main.ledger().auditLogPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray lines = log.readAll();
        QVERIFY(lines.contains("จากรูป sha256:" + digest));
        QVERIFY(lines.contains("\tchat\t"));

        // One step to take back.
        f.main.findChild<QAction*>("mUndo")->trigger();
        QCOMPARE(f.book.bytes("3_1.gif"), before);
    }

    void stopAndClose()
    {
        Fixture f;
        ChatPasteWindow* w = f.open();
        QVERIFY(w->openPicture(f.picture()));
        w->findChild<QPushButton*>("Command4")->click();
        QVERIFY(!w->reading());
        QVERIFY(w->parse().bets().isEmpty());
        QVERIFY(!w->findChild<QLabel*>("Label1")->text().isEmpty());

        // A second picture still being read when the program closes: the reading is stopped and waited for.
        QVERIFY(w->openPicture(f.picture({36, true})));
        QVERIFY(w->reading());
    }

    void pasteAndRefuse()
    {
        Fixture f;
        ChatPasteWindow* w = f.open();
        // Ctrl+V in the message box with a picture on the clipboard reads the picture.
        QApplication::clipboard()->setImage(chatPicture(Slip, {}));
        auto* text = w->findChild<QPlainTextEdit*>("Text1");
        text->setFocus();
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(w->showsPicture());
        QVERIFY(text->toPlainText().isEmpty());
        QVERIFY(readIn(w));
        QVERIFY(!w->parse().bets().isEmpty());

        // A file that is no picture changes nothing and says why.
        const QString path = f.book.dir.path() + "/notes.png";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("12=100\n");
        file.close();
        const qsizetype bets = w->parse().bets().size();
        QVERIFY(!w->openPicture(path));
        QVERIFY(w->findChild<QLabel*>("Label1")->text().contains("notes.png"));
        QCOMPARE(w->parse().bets().size(), bets);

        // A picture file copied in a file manager is read from its file.
        auto* files = new QMimeData;
        files->setUrls({QUrl::fromLocalFile(f.picture({40, true}))});
        QApplication::clipboard()->setMimeData(files);
        w->paste();
        QVERIFY(w->reading());
        QVERIFY(readIn(w));

        // Text on the clipboard goes back to the message box.
        QApplication::clipboard()->setText("45=100");
        w->paste();
        QVERIFY(!w->showsPicture());
        QTRY_COMPARE(written(w->parse().bets()), QStringList{"2ตัวบน 45 100"});
    }
};

QTEST_MAIN(TestPicturePasteGui)
#include "tst_picturepaste_gui.moc"
