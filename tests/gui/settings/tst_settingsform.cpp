// The settings picker, the settings window, the result window and the history and customer window,
// driven through the real main window.
#include "accounts/accounttexts.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/settings/Form11.h"
#include "gui/settings/Form18.h"
#include "accounts/dealersent.h"
#include "gui/settings/Form8.h"
#include "guisupport.h"
#include "mainui.h"
#include "settings/resulttexts.h"
#include "storage/folder/numberfile.h"
#include "testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void clickItem(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

struct Fixture {
    TempBook book;
    Session session;
    MainWindow main{*book.store, session};
    Fixture()
    {
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
    }
    void pick(const QString& entry)
    {
        const int index = ui(main).Combo3->findText(entry);
        ui(main).Combo3->setCurrentIndex(index);
        emit ui(main).Combo3->activated(index);
    }
    template <class T> T* window(WindowId id) { return main.dispatch().get<T>(id); }
    void stake(const QString& customer, const QString& number, double amount)
    {
        QVERIFY(book.store->creationSequence(customer).isEmpty());
        NumberFile file(*book.store, book.store->StakeFilePath("3ตัวตรง", customer));
        QVERIFY(file.add(number, amount));
        QVERIFY(file.save(*book.store));
    }
};

} // namespace

class TestSettingsForm : public QObject
{
    Q_OBJECT
private slots:
    void pickerOpensSettingsWindow_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<WindowMode>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("rate") << "อัตราจ่าย" << WindowMode::Rates << "Promotion"
                              << "ประเภทหวย + อัตราจ่าย/บาท" << QColor(255, 192, 128);
        QTest::newRow("limit") << "วงเงินอั้น" << WindowMode::Limits << "Limiter"
                               << "ประเภทหวย + เงินอั้น" << QColor(255, 192, 192);
        QTest::newRow("number cut") << "คัดเลข" << WindowMode::NumberCuts << "Cutting"
                                    << "ประเภทหวย + เลขที่คัดออก" << QColor(192, 192, 255);
        QTest::newRow("digit cut") << "คัดหลัก" << WindowMode::DigitCuts << "Digit Cutting"
                                   << "ประเภทหวย + หลักที่คัดออก" << QColor(192, 192, 255);
        QTest::newRow("discount") << "ส่วนลด" << WindowMode::Discounts << "Promotion"
                                  << "ประเภทหวย + ส่วนลด %" << QColor(255, 255, 192);
    }
    void pickerOpensSettingsWindow()
    {
        QFETCH(QString, entry);
        QFETCH(WindowMode, mode);
        QFETCH(QString, caption);
        QFETCH(QString, heading);
        QFETCH(QColor, colour);
        Fixture f;
        f.pick("ชื่อลูกค้า"); // another window first: the picker closes it
        f.pick(entry);
        QVERIFY(!f.window<Form18>(WindowId::Customers));
        auto* w = f.window<Form11>(WindowId::Settings);
        QVERIFY(w);
        QCOMPARE(f.session.WindowMode, mode);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->Label4->text(), heading);
        QCOMPARE(items(w->List1).size(), 12);
        QCOMPARE(w->List1->size(), QSize(twips(3255), twips(2940)));
        QVERIFY(!w->Label3->isHidden());
        QVERIFY(w->Text2->isHidden());
        QCOMPARE(ui(f.main).Combo3->palette().color(QPalette::Button), colour);
    }

    void pickerIgnoresUnknownEntry()
    {
        Fixture f;
        f.pick("วงเงินอั้น");
        // No entry: the open window stays and nothing changes.
        ui(f.main).Combo3->setCurrentIndex(-1);
        const auto unknown = static_cast<WindowMode>(9); // no picker entry sets it
        f.session.WindowMode = unknown;
        emit ui(f.main).Combo3->activated(-1);
        QVERIFY(f.window<Form11>(WindowId::Settings));
        QCOMPARE(f.session.WindowMode, unknown);
    }

    void editAndSaveLimit()
    {
        Fixture f;
        f.book.put("lotto2.gif", "2ตัวบน#1000\r\n\r\n");
        f.pick("วงเงินอั้น");
        auto* w = f.window<Form11>(WindowId::Settings);
        clickItem(w->List1, "3ตัวตรง");
        QVERIFY(!w->Text2->isHidden());
        QCOMPARE(w->List1->height(), twips(1530));
        QCOMPARE(w->Label2->text(), QString("เงินอั้น"));
        QCOMPARE(w->Text1->text(), QString("3ตัวตรง"));
        QTest::keyClicks(w->Text2, "1 500");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(f.book.bytes("lotto2.gif"), cp874("2ตัวบน#1000\r\n3ตัวตรง#1500\r\n\r\n"));
        w = f.window<Form11>(WindowId::Settings);
        QCOMPARE(items(w->List1).mid(0, 2), (QStringList{"2ตัวบน - 1000", "3ตัวตรง - 1500"}));
        QVERIFY(w->Text2->isHidden());

        // Cancel leaves the file as it was.
        clickItem(w->List1, "2ตัวบน - 1000");
        QCOMPARE(w->Text2->text(), QString("1000"));
        w->Text2->setText("0");
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QVERIFY(w->Text2->isHidden());
        QCOMPARE(w->List1->size(), QSize(twips(3255), twips(2940)));
        QCOMPARE(f.book.bytes("lotto2.gif"), cp874("2ตัวบน#1000\r\n3ตัวตรง#1500\r\n\r\n"));
    }

    void editDigitCut()
    {
        Fixture f;
        f.pick("คัดหลัก");
        auto* w = f.window<Form11>(WindowId::Settings);
        clickItem(w->List1, "2ตัวบน");
        QVERIFY(w->Text2->isHidden());
        QVERIFY(w->Label3->isHidden());
        QCOMPARE(w->List1->width(), twips(1575));
        auto* units = w->findChild<QCheckBox*>("Check1_2");
        QCOMPARE(units->text(), QString("หลักหน่วย"));
        units->setChecked(true);
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        QCOMPARE(f.book.bytes("lotto8.gif"), cp874("2ตัวบน#001\r\n\r\n"));
        w = f.window<Form11>(WindowId::Settings);
        clickItem(w->List1, "2ตัวบน - 001");
        QVERIFY(!w->Check1[0]->isChecked() && !w->Check1[1]->isChecked() && w->Check1[2]->isChecked());
    }

    void resultWindow()
    {
        Fixture f;
        f.pick("เลขรางวัล");
        auto* w = f.window<Form8>(WindowId::Result);
        QCOMPARE(w->windowTitle(), QString("Lottery Result"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // Enter walks the first prize, the two-digit number, then the four lower numbers.
        const QList<QLineEdit*> chain{w->Text1, w->Text6, w->Text2, w->Text3, w->Text4, w->Text5};
        const QStringList typed{"123456", "56", "111", "222", "333", "444"};
        chain.first()->setFocus();
        for (int i = 0; i < chain.size(); ++i) {
            QVERIFY2(chain[i]->hasFocus(), qPrintable(chain[i]->objectName()));
            QTest::keyClicks(chain[i], typed[i]);
            QTest::keyClick(chain[i], Qt::Key_Return);
        }
        QVERIFY(!f.window<Form8>(WindowId::Result));
        QVERIFY(f.book.text("lotto3.gif").startsWith("123456#111#222#333#444#56#\r\n3ตัวตรง#456-\r\n"));

        // The fields come back from the file; cancel writes nothing.
        f.pick("เลขรางวัล");
        w = f.window<Form8>(WindowId::Result);
        QCOMPARE(w->Text6->text(), QString("56"));
        w->Text1->setText("999999");
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        QVERIFY(!f.window<Form8>(WindowId::Result));
        QVERIFY(f.book.text("lotto3.gif").startsWith("123456#"));
    }

    // While the window stays open a save leaves every row where it was, with the highlight on the row
    // just saved; the file keeps its own order (types with a value first, a new one after them).
    void saveKeepsTheRowsAndTheHighlight()
    {
        Fixture f;
        f.book.put("lotto2.gif", "2ตัวบน#1000\r\n\r\n");
        f.pick("วงเงินอั้น");
        auto* w = f.window<Form11>(WindowId::Settings);
        const QStringList rows = items(w->List1);
        auto save = [&](const QString& item, const QString& value) {
            clickItem(w->List1, item);
            w->Text2->setText(value);
            QTest::keyClick(w->Text2, Qt::Key_Return);
        };
        auto expect = [&](int row, const QString& text) {
            QStringList now = rows;
            now[row] = text;
            return now;
        };
        const int pair = int(rows.indexOf("คู่โต๊ด"));
        QVERIFY(pair > 1);
        save("คู่โต๊ด", "500");
        QCOMPARE(items(w->List1), expect(pair, "คู่โต๊ด - 500"));
        QCOMPARE(w->List1->currentRow(), pair);
        QCOMPARE(f.book.bytes("lotto2.gif"), cp874("2ตัวบน#1000\r\nคู่โต๊ด#500\r\n\r\n"));

        save("2ตัวบน - 1000", "0"); // cleared: the row stays first
        QCOMPARE(w->List1->item(0)->text(), QString("2ตัวบน"));
        QCOMPARE(w->List1->currentRow(), 0);
        save("2ตัวบน", "800");
        QStringList now = expect(pair, "คู่โต๊ด - 500");
        now[0] = "2ตัวบน - 800";
        QCOMPARE(items(w->List1), now);
        QCOMPARE(f.book.bytes("lotto2.gif"), cp874("คู่โต๊ด#500\r\n2ตัวบน#800\r\n\r\n"));

        // Opened again, the list follows the file.
        w->close();
        f.pick("วงเงินอั้น");
        w = f.window<Form11>(WindowId::Settings);
        QCOMPARE(items(w->List1).mid(0, 2), (QStringList{"คู่โต๊ด - 500", "2ตัวบน - 800"}));
    }

    // Esc leaves the edit view first and the window only then; back in the main window an arrow key
    // opens no other setting.
    void escLeavesTheEditorThenTheWindow()
    {
        Fixture f;
        f.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.main));
        ui(f.main).Combo3->setFocus();
        f.pick("วงเงินอั้น");
        QPointer<Form11> w = f.window<Form11>(WindowId::Settings);
        clickItem(w->List1, "3ตัวตรง");
        QVERIFY(!w->Text2->isHidden());
        w->Text2->setText("700");
        QTest::keyClick(w->Text2, Qt::Key_Escape);
        QVERIFY(w && w->isVisible());
        QVERIFY(w->Text2->isHidden());
        QCOMPARE(w->List1->currentItem()->text(), QString("3ตัวตรง"));
        QCOMPARE(f.book.bytes("lotto2.gif"), QByteArray());
        QTest::keyClick(w->List1, Qt::Key_Escape);
        QTRY_VERIFY(!w || !w->isVisible());

        QWidget* focus = f.main.focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_Down);
        QTest::keyClick(focus, Qt::Key_Up);
        for (SecondaryWindow* open : f.main.dispatch().loadedWindows())
            QVERIFY2(!open->isVisible(), qPrintable(open->objectName()));
    }

    // The customer's own part shows the type's figures beside his; Esc there drops what was typed
    // and leaves the part, and only a second Esc closes the window.
    void ownRatesBesideTheTypes()
    {
        Fixture f;
        f.book.put("lotto4.gif", "2ตัวบน#90\r\n\r\n");
        f.book.put("custom.gif", "#somchai#");
        f.pick("ชื่อลูกค้า");
        QPointer<Form18> w = f.window<Form18>(WindowId::Customers);
        QVERIFY(w);
        clickItem(w->List1, "somchai");
        pick(w->Combo1, "2ตัวบน");
        QCOMPARE(w->Label5->text(), TypeFigureText + "90");
        QCOMPARE(w->Label6->text(), TypeFigureNotSetText);
        pick(w->Combo1, "3ตัวตรง");
        QCOMPARE(w->Label5->text(), TypeFigureNotSetText);

        w->Text2->setFocus();
        w->Text2->setText("77");
        QTest::keyClick(w->Text2, Qt::Key_Escape);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->Text2->text(), QString());
        QTest::keyClick(w->List1, Qt::Key_Escape);
        QTRY_VERIFY(!w || !w->isVisible());
    }

    // Tab walks the boxes in the order of the screen. A number keyed into a box of another width is
    // refused: the window stays, names the box and gives it the focus, and the saved result stays.
    void resultBoxesFollowTheScreenAndTakeTheirWidth()
    {
        Fixture f;
        f.book.put("lotto3.gif", "654321#555#666#777#888#21#\r\n");
        const QByteArray before = f.book.bytes("lotto3.gif");
        f.pick("เลขรางวัล");
        auto* w = f.window<Form8>(WindowId::Result);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const QList<QLineEdit*> screen{w->Text1, w->Text2, w->Text3, w->Text4, w->Text5, w->Text6};
        // Keyed by the screen: the two lower-number boxes swapped places.
        const QStringList typed{"123456", "78", "222", "333", "444", "123"};
        QTRY_VERIFY(w->Text1->hasFocus());
        for (int i = 0; i < screen.size(); ++i) {
            QVERIFY2(screen[i]->hasFocus(), qPrintable(screen[i]->objectName()));
            screen[i]->selectAll();
            QTest::keyClicks(screen[i], typed[i]);
            QTest::keyClick(screen[i], Qt::Key_Tab);
        }
        QVERIFY(w->Command1->hasFocus());

        QTest::keyClick(w->Command1, Qt::Key_Space);
        QCOMPARE(f.window<Form8>(WindowId::Result), w);
        QCOMPARE(f.book.bytes("lotto3.gif"), before);
        const QStringList shown = items(ui(f.main).List1);
        QCOMPARE(shown.filter(LowerThreeBoxText.arg(1)).size(), 1);
        QCOMPARE(shown.filter(LowerTwoBoxText).size(), 1);
        QCOMPARE(shown.last(), ResultNotSavedText);
        QVERIFY(w->Label4->text().startsWith(LowerThreeBoxText.arg(1)));
        QVERIFY(w->Text2->hasFocus());
        QCOMPARE(w->Text2->selectedText(), QString("78"));

        // Keyed again where they belong: saved, and the window closes.
        QTest::keyClicks(w->Text2, "111");
        w->Text6->setText("78");
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QVERIFY(!f.window<Form8>(WindowId::Result));
        QVERIFY(f.book.text("lotto3.gif").startsWith("123456#111#222#333#444#78#\r\n"));
    }

    void customerNames()
    {
        Fixture f;
        f.pick("ชื่อลูกค้า");
        auto* w = f.window<Form18>(WindowId::Customers);
        QCOMPARE(f.session.WindowMode, WindowMode::CustomerNames);
        QCOMPARE(w->windowTitle(), QString("Customer"));
        QCOMPARE(w->Command1->text(), QString("บันทึก"));
        QCOMPARE(ui(f.main).Combo3->palette().color(QPalette::Button), QColor(192, 255, 255));
        QTest::keyClicks(w->Text1, "Som Chai");
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QCOMPARE(f.book.bytes("custom.gif"), QByteArray("#somchai#\r\n"));
        QVERIFY(w->Text1->text().isEmpty());
        QCOMPARE(items(w->List1), QStringList{"somchai"});
    }

    void removeCustomer()
    {
        Fixture f;
        QVERIFY(f.book.store->creationSequence("a").isEmpty());
        f.stake("b", "123", 40);
        f.stake("c", "456", 50);
        f.pick("ชื่อลูกค้า");
        auto* w = f.window<Form18>(WindowId::Customers);
        QCOMPARE(items(w->List1), (QStringList{"a", "b", "c"}));

        clickItem(w->List1, "a");
        w->mDelete->trigger();
        QCOMPARE(items(w->List1), (QStringList{"b", "c"}));
        QCOMPARE(f.book.store->customerListText(), QString("##b#c#"));

        // c's bets are still c's: its header and total come from its own stake file.
        ui(f.main).Combo1->setCurrentIndex(0);
        ui(f.main).Combo2->setEditText("c");
        f.main.SelectTypeCustomer(true);
        QCOMPARE(ui(f.main).Text6->text(), QString("50.00"));

        clickItem(w->List1, "b");
        w->mDelete->trigger();
        QCOMPARE(items(w->List1), (QStringList{"b", "c"}));
        QCOMPARE(items(ui(f.main).List1).last(), QString("ลูกค้านี้ยังมีข้อมูลอยู่ ลบไม่ได้"));
        QCOMPARE(f.book.store->customerListText(), QString("##b#c#"));
    }

    void saveOpenDeleteHistory()
    {
        Fixture f;
        QVERIFY(f.book.store->creationSequence("a").isEmpty());
        f.session.SendOutData = "<3ตัวตรง>#123-200##";
        ui(f.main).Command13->setText("บันทึกส่งออก");
        QTest::mouseClick(ui(f.main).Command13, Qt::LeftButton);
        auto* w = f.window<Form18>(WindowId::Customers);
        QCOMPARE(w->windowTitle(), QString("Save"));
        QCOMPARE(w->Command1->text(), QString("บันทีก"));
        // Not armed until a character is typed.
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QVERIFY(!QFile::exists(f.book.file("his.gif")));
        QTest::keyClicks(w->Text1, "Mon Day");
        QCOMPARE(w->Command1->text(), QString("บันทึก"));
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QVERIFY(QFile::exists(f.book.file("monday_b.gif")));
        QCOMPARE(items(w->List1), QStringList{"monday"});
        QVERIFY(f.session.SendOutData.isEmpty());
        QCOMPARE(ui(f.main).Command13->text(), QString("ประวัติส่งออก"));
        QVERIFY(!w->Command1->isEnabled());

        // Open mode: the button waits for a name to be clicked; opening writes into the main list.
        QTest::mouseClick(ui(f.main).Command13, Qt::LeftButton);
        QCOMPARE(w->windowTitle(), QString("Open"));
        QCOMPARE(w->Command1->text(), QString("เปิดอ่าน"));
        QVERIFY(!w->Command1->isEnabled());
        clickItem(w->List1, "monday");
        QVERIFY(w->Command1->isEnabled());
        QCOMPARE(w->Text1->text(), QString("monday"));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QVERIFY(!f.window<Form18>(WindowId::Customers));
        QCOMPARE(items(ui(f.main).List1), (QStringList{"<monday>", "<3ตัวตรง>", "123-200", "จำนวนเลข 1 รายการ",
                                                       "จำนวนเงิน 200.00 บาท", "====================="}));

        // A right click shows the menu without moving the selection; Delete takes the list back.
        QTest::mouseClick(ui(f.main).Command13, Qt::LeftButton);
        w = f.window<Form18>(WindowId::Customers);
        clickItem(w->List1, "monday");
        const QPoint at = w->List1->visualItemRect(w->List1->item(0)).center();
        QTest::mouseRelease(w->List1->viewport(), Qt::RightButton, {}, at);
        QTRY_VERIFY(w->mMore->isVisible());
        w->mMore->hide();
        w->mDelete->trigger();
        QVERIFY(!QFile::exists(f.book.file("monday_b.gif")));
        QVERIFY(items(w->List1).isEmpty());
        QVERIFY(f.book.text("b_0.gif").contains("\r\n123-0\r\n"));
    }

    // The print button opens its dialog beside an open window and sets its own mode; the open
    // window goes on with the job it was opened for.
    void openWindowKeepsItsJobWhenThePrintButtonSetsAnother()
    {
        Fixture f;
        QVERIFY(f.book.store->creationSequence("a").isEmpty());
        f.book.put("lotto2.gif", "2ตัวบน#1000\r\n\r\n");
        f.pick("วงเงินอั้น");
        auto* w = f.window<Form11>(WindowId::Settings);
        ui(f.main).Image5->click();
        QCOMPARE(f.session.WindowMode, WindowMode::PrintList);
        clickItem(w->List1, "3ตัวตรง");
        QCOMPARE(w->Label2->text(), QString("เงินอั้น"));
        QTest::keyClicks(w->Text2, "500");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(f.book.bytes("lotto2.gif"), cp874("2ตัวบน#1000\r\n3ตัวตรง#500\r\n\r\n"));
        w = f.window<Form11>(WindowId::Settings);
        QCOMPARE(w->windowTitle(), QString("Limiter"));
        QCOMPARE(items(w->List1).mid(0, 2), (QStringList{"2ตัวบน - 1000", "3ตัวตรง - 500"}));

        // A send-out list being named is saved as a list, not added as a customer.
        f.session.SendOutData = "<3ตัวตรง>#123-200##";
        ui(f.main).Command13->setText("บันทึกส่งออก");
        QTest::mouseClick(ui(f.main).Command13, Qt::LeftButton);
        auto* history = f.window<Form18>(WindowId::Customers);
        QTest::keyClicks(history->Text1, "monday");
        ui(f.main).Image5->click();
        QTest::keyClick(history->Text1, Qt::Key_Return);
        QVERIFY(QFile::exists(f.book.file("monday_b.gif")));
        QCOMPARE(f.book.store->customerListText(), QString("#a#"));
        QCOMPARE(items(history->List1), QStringList{"monday"});
    }

    // With dealers in the book, the save window names the dealer a list goes to, and splits a list
    // over the dealers up to their caps.
    void listSavedForADealer()
    {
        Fixture f;
        QVERIFY(f.main.ledger().addDealer("boss", {{"3ตัวตรง", "500", "10", "150"}}).outcome.ok());
        QVERIFY(f.main.ledger().addDealer("ake", {{"3ตัวตรง", "450", "", ""}}).outcome.ok());
        f.session.SendOutData = "<3ตัวตรง>#123-200##";
        ui(f.main).Command13->setText("บันทึกส่งออก");
        QTest::mouseClick(ui(f.main).Command13, Qt::LeftButton);
        auto* w = f.window<Form18>(WindowId::Customers);
        QVERIFY(!w->Frame2->isHidden());
        QStringList dealers;
        for (int i = 0; i < w->Combo2->count(); ++i)
            dealers << w->Combo2->itemText(i);
        QCOMPARE(dealers, (QStringList{"", "boss", "ake"}));
        if (const QString shot = qEnvironmentVariable("VARNOTH_SHOT"); !shot.isEmpty()) {
            f.main.resize(1366, 768);
            f.main.show();
            w->show();
            w->raise();
            QTest::qWait(500);
            w->grab().save(shot);
        }
        w->Combo2->setCurrentIndex(1);
        QTest::keyClicks(w->Text1, "monday");
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QVERIFY(QFile::exists(f.book.file("monday_b.gif")));
        QCOMPARE(f.book.text(DealerListsFileName), QString("boss#monday\r\n"));

        // Split: boss takes up to his cap of 150 on 456, ake the rest.
        f.session.SendOutData = "<3ตัวตรง>#456-200##";
        ui(f.main).Command13->setText("บันทึกส่งออก");
        QTest::mouseClick(ui(f.main).Command13, Qt::LeftButton);
        w = f.window<Form18>(WindowId::Customers);
        QTest::keyClicks(w->Text1, "tuesday");
        w->Command3->click();
        const QString lists = f.book.text(DealerListsFileName);
        QVERIFY2(lists.contains(splitListName("tuesday", "boss")) && lists.contains(splitListName("tuesday", "ake")),
                 qPrintable(lists));
    }

    void unsafeNameRefused()
    {
        Fixture f;
        f.session.SendOutData = "<3ตัวตรง>#123-200##";
        ui(f.main).Command13->setText("บันทึกส่งออก");
        QTest::mouseClick(ui(f.main).Command13, Qt::LeftButton);
        auto* w = f.window<Form18>(WindowId::Customers);
        QTest::keyClicks(w->Text1, "../up");
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QCOMPARE(items(ui(f.main).List1).last(), QString("ชื่อนี้ใช้ไม่ได้"));
        QVERIFY(!QFile::exists(f.book.file("his.gif")));
        QCOMPARE(f.session.SendOutData, QString("<3ตัวตรง>#123-200##"));
    }
};

QTEST_MAIN(TestSettingsForm)
#include "tst_settingsform.moc"
