// The drive dialog driven through the main window's menus: Backup, Restore and Start.
#include "audit/auditlog.h"
#include "core/model/types.h"
#include "entry/entry.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/tools/Form3.h"
#include "guisupport.h"
#include "mainui.h"
#include "storage/folder/numberfile.h"
#include "testsupport.h"
#include "tools/backup.h"
#include "tools/backuptexts.h"
#include "tools/fullbackup.h"
#include "tools/newdraw.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace varnoth;
using namespace varnoth::test;

class TestForm3 : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempBook> book;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> main;
    QTemporaryDir drive;

    void bet(const QString& customer, const QString& number, const QString& amount)
    {
        book->store->creationSequence(customer);
        EntryBatch batch(*book->store, customer);
        batch.addBet(number, amount, QStringLiteral("3ตัวตรง"));
        batch.commit();
    }
    Form3* dialog() { return main->dispatch().get<Form3>(WindowId::Backup); }
    void chooseOurDrive()
    {
        dialog()->Drive1->addItem(drive.path(), drive.path());
        dialog()->Drive1->setCurrentIndex(dialog()->Drive1->count() - 1);
    }
    QStringList listLines() const
    {
        QStringList lines;
        for (int i = 0; i < ui(*main).List1->count(); ++i)
            lines << ui(*main).List1->item(i)->text();
        return lines;
    }

private slots:
    void init()
    {
        book = std::make_unique<TempBook>();
        session = std::make_unique<Session>();
        main = std::make_unique<MainWindow>(*book->store, *session);
        main->finishStartup();
        main->dispatch().setInstantGrowIn(true);
    }
    void cleanup()
    {
        main.reset();
        session.reset();
        book.reset();
    }

    void backupAndRestoreThroughTheMenus()
    {
        bet("x", "123", "150");
        ui(*main).mBackup->trigger();
        QCOMPARE(dialog()->windowTitle(), QString("Backup"));
        QCOMPARE(dialog()->Label1->text(), QString("เลือกไดร์ฟ"));
        QVERIFY(dialog()->Drive1->isVisible());
        QVERIFY(dialog()->Drive1->findData(QDir::cleanPath(QDir::homePath())) >= 0);
        chooseOurDrive();
        QTest::keyClick(dialog()->Drive1, Qt::Key_Return);
        QCOMPARE(listLines().first(), QString("การสำรองข้อมูลเสร็จสิ้นแล้ว"));
        QTRY_VERIFY(!dialog());
        QVERIFY(QFile::exists(backupFilePath(drive.path())));

        // This book's own backup while it holds the stakes: refused, nothing written.
        const auto kept = folderBytes(book->folder());
        ui(*main).mDownload->trigger();
        chooseOurDrive();
        QTest::mouseClick(dialog()->Command1, Qt::LeftButton);
        QCOMPARE(listLines().first(), OwnBackupText);
        QCOMPARE(folderBytes(book->folder()), kept);
        QCOMPARE(ui(*main).Text8->text(), QString("150.00"));

        // Another computer's backup: its customer appears in the pick list.
        TempBook client;
        QVERIFY(client.store->creationSequence("z").isEmpty());
        EntryBatch batch(*client.store, "z");
        batch.addBet("555", "5", "3ตัวตรง");
        batch.commit();
        QCOMPARE(runBackup(*client.store, drive.path()).size(), 3);
        ui(*main).mDownload->trigger();
        QCOMPARE(dialog()->windowTitle(), QString("Restore"));
        chooseOurDrive();
        QTest::mouseClick(dialog()->Command1, Qt::LeftButton);
        QVERIFY(listLines().contains("555-5"));
        QVERIFY(listLines().contains("รวมจำนวน= 1 รายการ"));
        QCOMPARE(ui(*main).Combo2->findText("z"), 1);
        QCOMPARE(ui(*main).Text7->text(), QString("2"));
        QCOMPARE(ui(*main).Text8->text(), QString("155.00"));
    }

    // The full backup through the menu, and back on another computer's empty book: its window shows
    // the customers and totals of the book that was backed up. Into a book with data it is refused.
    void fullBackupAndRestoreThroughTheMenus()
    {
        bet("x", "123", "150");
        main->findChild<QAction*>("mFullBackup")->trigger();
        QCOMPARE(dialog()->windowTitle(), FullBackupMenuText);
        QVERIFY(dialog()->Drive1->isVisible());
        chooseOurDrive();
        QTest::keyClick(dialog()->Drive1, Qt::Key_Return);
        QCOMPARE(listLines().first(), FullBackupDoneText);
        QTRY_VERIFY(!dialog());

        const auto kept = folderBytes(book->folder());
        main->findChild<QAction*>("mFullRestore")->trigger();
        QCOMPARE(dialog()->windowTitle(), FullRestoreMenuText);
        chooseOurDrive();
        QTest::mouseClick(dialog()->Command1, Qt::LeftButton);
        QCOMPARE(listLines(), QStringList{BookNotEmptyText});
        QCOMPARE(folderBytes(book->folder()), kept);

        TempBook fresh;
        Session freshSession;
        MainWindow other(*fresh.store, freshSession);
        other.finishStartup();
        other.dispatch().setInstantGrowIn(true);
        other.findChild<QAction*>("mFullRestore")->trigger();
        auto* form = other.dispatch().get<Form3>(WindowId::Backup);
        QVERIFY(form);
        form->Drive1->addItem(drive.path(), drive.path());
        form->Drive1->setCurrentIndex(form->Drive1->count() - 1);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(ui(other).List1->item(0)->text(), FullRestoreDoneText);
        QCOMPARE(folderBytes(fresh.folder()), kept);
        QCOMPARE(ui(other).Combo2->findText("x"), 0);
        QCOMPARE(ui(other).Text8->text(), QString("150.00"));
    }

    // Enter is what operators press all day: in the Start dialog it keeps the book, wherever it lands.
    void enterInTheStartDialogKeepsTheBook_data()
    {
        QTest::addColumn<bool>("onTheWindow");
        QTest::newRow("the focused button") << false;
        QTest::newRow("the window") << true;
    }
    void enterInTheStartDialogKeepsTheBook()
    {
        QFETCH(bool, onTheWindow);
        bet("x", "123", "150");
        const auto kept = folderBytes(book->folder());
        main->Begin();
        QVERIFY(dialog()->Command2->isDefault() && !dialog()->Command1->isDefault());
        QWidget* target = onTheWindow ? static_cast<QWidget*>(dialog()) : dialog()->focusWidget();
        QCOMPARE(dialog()->focusWidget(), dialog()->Command2);
        QTest::keyClick(target, Qt::Key_Return);
        QTRY_VERIFY(!dialog());
        QCOMPARE(folderBytes(book->folder()), kept);
        QVERIFY(!QDir(book->dir.path() + "/draws").exists());
    }

    void startClearsTheDraw()
    {
        bet("x", "123", "150");
        main->Begin();
        QCOMPARE(dialog()->windowTitle(), QString("Start"));
        QCOMPARE(dialog()->Label1->text(),
                 QString("คำเตือน !!!\r\nจะเป็นการเริ่มต้นใหม่\r\nข้อมูลตัวเลขในฐานข้อมูล\r\nจะถูกลบทั้งหมด"));
        QVERIFY(!dialog()->Drive1->isVisible());
        QTest::mouseClick(dialog()->Command2, Qt::LeftButton);
        QTRY_VERIFY(!dialog());
        QVERIFY(QFile::exists(book->file("0_1.gif")));

        // The boxes show the pair being keyed before the draw, and nothing of it after.
        pick(ui(*main).Combo1, "3ตัวตรง");
        ui(*main).Combo2->setEditText("x");
        main->SelectTypeCustomer();
        QCOMPARE(ui(*main).Text6->text(), QString("150.00"));
        const auto kept = folderBytes(book->folder());
        main->Begin();
        main->OpenWindow(WindowId::Calculator);
        QTest::mouseClick(dialog()->Command1, Qt::LeftButton);
        QTRY_VERIFY(!dialog());
        QVERIFY(!main->dispatch().window(WindowId::Calculator));
        QVERIFY(!QFile::exists(book->file("0_1.gif")));
        QVERIFY(!QFile::exists(book->file("custom.gif")));
        QVERIFY(QFile::exists(book->file("a-_11.gif")));
        const QStringList drawn = QDir(book->dir.path() + "/draws").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(drawn.size(), 1);
        const QString copy = book->dir.path() + "/draws/" + drawn.first();
        QCOMPARE(listLines(), QStringList{DrawCopiedText + QDir::toNativeSeparators(copy)});
        // The copy holds the book, and the head of its log beside it.
        auto copied = folderBytes(copy);
        QCOMPARE(copied.remove(AuditAnchorFileName), 1);
        QCOMPARE(copied, kept);
        for (QLineEdit* box : {ui(*main).Text5, ui(*main).Text7})
            QCOMPARE(box->text(), QString("0"));
        for (QLineEdit* box : {ui(*main).Text6, ui(*main).Text8})
            QCOMPARE(box->text(), QString("0.00"));
        QCOMPARE(ui(*main).Combo2->count(), 0);
    }

    void failedCopyKeepsTheBook()
    {
        bet("x", "123", "150");
        const auto kept = folderBytes(book->folder());
        QFile inTheWay(book->dir.path() + "/draws");
        QVERIFY(inTheWay.open(QIODevice::WriteOnly));
        inTheWay.close();
        main->Begin();
        QTest::mouseClick(dialog()->Command1, Qt::LeftButton);
        QTRY_VERIFY(!dialog());
        QCOMPARE(listLines(), QStringList{DrawCopyFailedText + QDir::toNativeSeparators(inTheWay.fileName())});
        QCOMPARE(folderBytes(book->folder()), kept);
    }
};

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
