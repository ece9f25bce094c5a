// The search, over-limit and number-cut windows and view data, driven through the main window.
#include "core/model/text.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/reports/Form14.h"
#include "gui/reports/Form15.h"
#include "gui/reports/Form6.h"
#include "gui/reports/Form9.h"
#include "guisupport.h"
#include "mainui.h"
#include "storage/folder/numberfile.h"
#include "testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
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

// Types a text key by key, as the keyboard does (Thai letters have no key code of their own).
void typeInto(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

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

    // Every report window takes a type name the same way: typed in part, it completes to the type,
    // and Enter runs the report on the whole name.
    void typedTypeIsTakenByEnter_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<WindowId>("window");
        QTest::newRow("over limit") << "Command4" << WindowId::OverLimit;
        QTest::newRow("number cut") << "Command3" << WindowId::Cutting;
        QTest::newRow("search") << "Command2" << WindowId::View;
        QTest::newRow("analysis") << "Command12" << WindowId::Prize;
        QTest::newRow("statistics") << "Command8" << WindowId::Prize;
        QTest::newRow("prize check") << "Command6" << WindowId::Prize;
    }
    void typedTypeIsTakenByEnter()
    {
        QFETCH(QString, button);
        QFETCH(WindowId, window);
        main->findChild<QPushButton*>(button)->click();
        SecondaryWindow* w = main->dispatch().window(window);
        QVERIFY(w);
        auto* type = w->findChild<QComboBox*>(QStringLiteral("Combo1"));
        auto* customer = w->findChild<QComboBox*>(QStringLiteral("Combo2"));
        if (customer && customer->isVisible()) customer->setCurrentIndex(customer->findText(All));
        main->ListAddLine("before");
        type->setFocus();
        typeInto(type->lineEdit(), QStringLiteral("2ตัวบ"));
        QTest::keyClick(type->lineEdit(), Qt::Key_Return);
        QCOMPARE(type->currentText(), QString("2ตัวบน"));
        const QStringList shown = listLines(ui(*main).List1);
        QVERIFY2(shown != QStringList{"before"}, qPrintable(shown.join('|')));
    }

    // Where only a name of the list may be taken, Enter on a text that names none empties the box and
    // runs nothing; a name that begins several stays for the operator to go on typing.
    void prizeCheckTakesOnlyListedNames()
    {
        ui(*main).Command6->click();
        auto* w = main->dispatch().get<Form14>(WindowId::Prize);
        QVERIFY(w);
        w->Combo2->setCurrentIndex(w->Combo2->findText(All));
        main->ListAddLine("before");
        w->Combo1->setEditText(QStringLiteral("9ตัว"));
        QTest::keyClick(w->Combo1->lineEdit(), Qt::Key_Return);
        QCOMPARE(w->Combo1->currentText(), QString());
        QCOMPARE(listLines(ui(*main).List1), QStringList{"before"});
        QCOMPARE(namedItem({"3ตัวตรง", "3ตัวตรงหัว", "2ตัวบน"}, "3ตัวตร"), QString());
        QCOMPARE(namedItem({"3ตัวตรง", "3ตัวตรงหัว", "2ตัวบน"}, " 3ตัวตรง "), QString("3ตัวตรง"));
        QCOMPARE(namedItem({"3ตัวตรง", "3ตัวตรงหัว", "2ตัวบน"}, "3ตัวตรงห"), QString("3ตัวตรงหัว"));
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
