// The drive dialog driven through the main window's menus: Backup, Restore and Start.
#include "model/types.h"
#include "store/numberfile.h"
#include "store/session.h"
#include "testsupport.h"
#include "tools/Form3.h"
#include "tools/backup.h"
#include "ui/main/Form1.h"
#include "entry/entry.h"

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

class TestForm3 : public QObject {
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
    Form3* dialog() { return main->dispatch().get<Form3>(3); }
    void chooseOurDrive()
    {
        dialog()->Drive1->addItem(drive.path(), drive.path());
        dialog()->Drive1->setCurrentIndex(dialog()->Drive1->count() - 1);
    }
    QStringList listLines() const
    {
        QStringList lines;
        for (int i = 0; i < main->List1->count(); ++i) lines << main->List1->item(i)->text();
        return lines;
    }

private slots:
    void init()
    {
        book = std::make_unique<TempBook>();
        session = std::make_unique<Session>();
        main = std::make_unique<Form1>(*book->store, *session);
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
        main->mBackup->trigger();
        QCOMPARE(dialog()->windowTitle(), QString("Backup"));
        QCOMPARE(dialog()->Label1->text(), QString("เลือกไดร์ฟ"));
        QVERIFY(dialog()->Drive1->isVisible());
        QVERIFY(dialog()->Drive1->findData(QDir::cleanPath(QDir::homePath())) >= 0);
        chooseOurDrive();
        QTest::keyClick(dialog()->Drive1, Qt::Key_Return);
        QCOMPARE(listLines().first(), QString("การสำรองข้อมูลเสร็จสิ้นแล้ว"));
        QTRY_VERIFY(!dialog());
        QVERIFY(QFile::exists(backupFilePath(drive.path())));

        // Onto a second customer's empty book: the restored customer appears in the pick list.
        QFile::remove(book->file("custom.gif"));
        for (int t = 0; t < 12; ++t) QFile::remove(book->file(QString("%1_1.gif").arg(t)));
        bet("y", "555", "5");
        main->mDownload->trigger();
        QCOMPARE(dialog()->windowTitle(), QString("Restore"));
        chooseOurDrive();
        QTest::mouseClick(dialog()->Command1, Qt::LeftButton);
        QVERIFY(listLines().contains("123-150"));
        QVERIFY(listLines().contains("รวมจำนวน= 1 รายการ"));
        QCOMPARE(main->Combo2->findText("x"), 1);
        QCOMPARE(main->Text7->text(), QString("2"));
        QCOMPARE(main->Text8->text(), QString("155.00"));
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

        main->Begin();
        main->OpenWindow(12);
        QTest::mouseClick(dialog()->Command1, Qt::LeftButton);
        QTRY_VERIFY(!dialog());
        QVERIFY(!main->dispatch().window(12));
        QVERIFY(!QFile::exists(book->file("0_1.gif")));
        QVERIFY(!QFile::exists(book->file("custom.gif")));
        QVERIFY(QFile::exists(book->file("a-_11.gif")));
        QCOMPARE(main->List1->count(), 0);
        QCOMPARE(main->Text7->text(), QString("0"));
        QCOMPARE(main->Text8->text(), QString("0.00"));
        QCOMPARE(main->Combo2->count(), 0);
    }
};

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
