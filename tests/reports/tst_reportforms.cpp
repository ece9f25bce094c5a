// The search, over-limit and number-cut windows and view data, driven through the main window.
#include "mainui.h"
#include "model/text.h"
#include "reports/Form15.h"
#include "reports/Form6.h"
#include "reports/Form9.h"
#include "store/numberfile.h"
#include "store/session.h"
#include "guisupport.h"
#include "testsupport.h"
#include "ui/main/Form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");
const QString All = QStringLiteral("ทั้งหมด");


} // namespace

class TestReportForms : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempBook> book;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> main;

    void stake(const QString& customer, const QString& number, double amount)
    {
        QVERIFY(book->store->creationSequence(customer).isEmpty());
        NumberFile file(*book->store, book->store->StakeFilePath(Straight, customer));
        QVERIFY(file.add(number, amount));
        QVERIFY(file.save(*book->store));
    }

private slots:
    void init()
    {
        book = std::make_unique<TempBook>();
        session = std::make_unique<Session>();
        stake("a", "123", 300);
        stake("b", "123", 400);
        QVERIFY(book->store->WriteWholeFile(book->store->limitFile(), "3ตัวตรง#500\r\n"));
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

    void searchWindow()
    {
        ui(*main).Command2->click();
        auto* form = main->dispatch().get<Form6>(WindowId::View);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QString("Search"));
        QCOMPARE(form->Combo1->count(), 13);
        QCOMPARE(form->Combo1->itemText(12), All);
        QCOMPARE(form->Combo2->count(), 3);
        QCOMPARE(form->Combo2->itemText(2), All);

        // Without a customer nothing runs and the window stays.
        form->Combo1->setCurrentIndex(0);
        QTest::keyClick(form->Text1, Qt::Key_Return);
        QVERIFY(main->dispatch().window(WindowId::View));

        form->Combo2->setCurrentIndex(2);
        QTest::keyClicks(form->Text1, " 1-2 3");
        QTest::keyClick(form->Text1, Qt::Key_Return);
        QCOMPARE(listLines(ui(*main).List1), (QStringList{"ข้อมูล  <123> <3ตัวตรง> <ทั้งหมด>", "123-300", "123-400",
                                                      "รวมเลข= 2 รายการ", "รวมเงิน= 700.00 บาท", Separator}));
        QTRY_VERIFY(!main->dispatch().window(WindowId::View));
    }

    void overLimitWindow()
    {
        session->WindowMode = WindowMode::CheckLimit;
        ui(*main).Command4->click();
        auto* form = main->dispatch().get<Form9>(WindowId::OverLimit);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QString("Check Limit"));
        QCOMPARE(session->WindowMode, WindowMode::Over);
        QCOMPARE(form->Combo1->itemText(form->Combo1->count() - 1), All);

        form->Check1->click();
        QCOMPARE(form->Command1->text(), QString("คัดเก็บไว้"));
        form->Check1->click();
        QCOMPARE(form->Command1->text(), QString("คัดส่งออก"));

        form->Combo1->setCurrentIndex(0);
        QTest::keyClick(form->Combo1, Qt::Key_Return);
        QCOMPARE(listLines(ui(*main).List1), (QStringList{"เกินอั้นส่งออก", "<3ตัวตรง>", "123-200", "รวมเลข= 1 รายการ",
                                                      "รวมเงิน= 200.00 บาท", Separator}));
        QCOMPARE(ui(*main).Command13->text(), QString("บันทึกส่งออก"));
        QCOMPARE(session->SendOutData, QString("<3ตัวตรง>#123-200##"));
        QTRY_VERIFY(!main->dispatch().window(WindowId::OverLimit));

        // Opened after an action that left "2", the window has its own caption.
        ui(*main).Command4->click();
        QCOMPARE(main->dispatch().window(WindowId::OverLimit)->windowTitle(), QString("Over"));
        QCOMPARE(ui(*main).Command13->text(), QString("ประวัติส่งออก"));
    }

    void overLimitWithoutLimitKeepsTheWindow()
    {
        ui(*main).Command4->click();
        auto* form = main->dispatch().get<Form9>(WindowId::OverLimit);
        form->Combo1->setCurrentIndex(3);
        form->Command1->click();
        QCOMPARE(listLines(ui(*main).List1), (QStringList{"เกินอั้นส่งออก", "<2ตัวบน>", "ยังไม่ได้ตั้งค่าวงเงินอั้น"}));
        QVERIFY(main->dispatch().window(WindowId::OverLimit));
    }

    void numberCutWindow()
    {
        QVERIFY(book->store->WriteWholeFile(book->store->numberCutFile(), "3ตัวตรง#3\r\n"));
        QVERIFY(book->store->WriteWholeFile(book->store->digitCutFile(), "3ตัวตรง#001\r\n"));
        ui(*main).Command3->click();
        auto* form = main->dispatch().get<Form15>(WindowId::Cutting);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QString("Cutting"));
        form->Combo1->setEditText(All);
        QTest::keyClick(form->Combo1, Qt::Key_Return);
        QCOMPARE(listLines(ui(*main).List1),
                 (QStringList{"คัดเลขส่งออก", "<3ตัวตรง>", "123-700", "รวมเลข= 1 รายการ", "รวมเงิน= 700.00 บาท", Separator,
                              "ยอดรวมเลข= 1 รายการ", "ยอดรวมเงิน= 700.00 บาท", Separator}));
        QCOMPARE(ui(*main).Command13->text(), QString("บันทึกส่งออก"));
        QTRY_VERIFY(!main->dispatch().window(WindowId::Cutting));
    }

    void viewDataFromThePicture()
    {
        main->ListAddLine("old");
        ui(*main).Image1->click();
        QCOMPARE(listLines(ui(*main).List1),
                 (QStringList{"<3ตัวตรง>", "123-700", "รวมเลข= 1 รายการ", "รวมเงิน= 700.00 บาท", Separator}));
    }
};

QTEST_MAIN(TestReportForms)
#include "tst_reportforms.moc"
