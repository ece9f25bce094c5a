#include "core/model/text.h"
#include "core/model/types.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/tools/Form7.h"
#include "guisupport.h"
#include "mainui.h"
#include "testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString TwoTop = QStringLiteral("2ตัวบน");
const QString StakeFile = QStringLiteral("3_1.gif");

QString stakeText(const QString& amount)
{
    QString text = InitialContent(TwoTop);
    text.replace(QStringLiteral("\r\n12-0\r\n"), QStringLiteral("\r\n12-") + amount + QStringLiteral("\r\n"));
    return text + CRLF;
}

} // namespace

class TestForm7 : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        book = std::make_unique<TempBook>();
        session = std::make_unique<Session>();
        main = std::make_unique<MainWindow>(*book->store, *session);
        main->finishStartup();
        main->dispatch().setInstantGrowIn(true);
        main->show();
        QVERIFY(book->store->creationSequence(QStringLiteral("x")).isEmpty());
    }
    void cleanup()
    {
        main->CloseSecondaryWindows();
        main.reset();
    }

    void menuItemsOnlyOnRecordsUnderAHeading()
    {
        showRecord(QStringLiteral("50"));
        main->ListAddLine(QStringLiteral("12-1.5 ข้อมูลผิดพลาด ให้คีย์ใหม่"));
        click(1); // "พร้อมรับข้อมูล"
        QVERIFY(!ui(*main).mEdit->isEnabled());
        click(3); // a rejected bet stands for no stored amount
        QVERIFY(!ui(*main).mEdit->isEnabled());
        click(2);
        QVERIFY(ui(*main).mEdit->isEnabled());
        QVERIFY(ui(*main).mDelete->isEnabled());
        QCOMPARE(session->selectedType, TwoTop);
        QCOMPARE(session->selectedCustomer, QStringLiteral("x"));
        QCOMPARE(session->selectedLine, QStringLiteral("12-50"));
        QCOMPARE(session->selectedIndex, 2);
        // The first row is a heading: nothing to edit there, and no menu.
        click(0, Qt::RightButton);
        QVERIFY(!ui(*main).mMore->isVisible());
        QVERIFY(!ui(*main).mEdit->isEnabled());
        QVERIFY(!ui(*main).mDelete->isEnabled());
    }

    void rightButtonSelectsTheRowUnderTheMouse()
    {
        showRecord(QStringLiteral("50"));
        click(2, Qt::RightButton);
        QCOMPARE(ui(*main).List1->currentRow(), 2);
        QCOMPARE(session->selectedLine, QStringLiteral("12-50"));
        QVERIFY(ui(*main).mMore->isVisible());
        QVERIFY(ui(*main).mEdit->isEnabled());
        ui(*main).mMore->hide();
    }

    void dialogModes()
    {
        showRecord(QStringLiteral("50"));
        click(2);
        Form7* dialog = open(QStringLiteral("Delete"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Delete"));
        QCOMPARE(dialog->Command1->text(), QStringLiteral("ลบทิ้ง"));
        for (QLineEdit* e : {dialog->Text1, dialog->Text2, dialog->Text3, dialog->Text4})
            QVERIFY(!e->isEnabled());
        // The same window, opened again for the other job, starts from its loaded state.
        QCOMPARE(open(QStringLiteral("Edit")), dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit"));
        QCOMPARE(dialog->Command1->text(), QStringLiteral("แก้ไข"));
        QCOMPARE(dialog->Text1->text(), QStringLiteral("12"));
        QCOMPARE(dialog->Text2->text(), QStringLiteral("50"));
        QCOMPARE(dialog->Text3->text(), TwoTop);
        QCOMPARE(dialog->Text4->text(), QStringLiteral("x"));
        QVERIFY(dialog->Text2->isEnabled());
        QCOMPARE(dialog->Text2->palette().color(QPalette::Base), QColor(255, 192, 192));
        for (QLineEdit* e : {dialog->Text1, dialog->Text3, dialog->Text4})
            QVERIFY(!e->isEnabled());
    }

    void confirm_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("inFile");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("row"); // "" when the row is removed
        QTest::addColumn<QString>("total");
        QTest::newRow("edit 12-50 to 80, file 12-70") << "Edit"
                                                      << "70"
                                                      << "100"
                                                      << "12-80"
                                                      << "100.00";
        QTest::newRow("delete 12-50, file 12-50") << "Delete"
                                                  << "50"
                                                  << "0"
                                                  << ""
                                                  << "0.00";
    }
    void confirm()
    {
        QFETCH(QString, caption);
        QFETCH(QString, inFile);
        QFETCH(QString, written);
        QFETCH(QString, row);
        QFETCH(QString, total);
        showRecord(QStringLiteral("50"));
        book->put(StakeFile, stakeText(inFile)); // the file moved on after the list was drawn
        click(2);
        Form7* dialog = open(caption);
        if (caption == QStringLiteral("Edit")) {
            dialog->Text2->clear();
            QTest::keyClicks(dialog->Text2, QStringLiteral("80"));
            QTest::keyClick(dialog->Text2, Qt::Key_Return);
        } else {
            dialog->Command1->click();
        }
        QCOMPARE(book->bytes(StakeFile), cp874(stakeText(written)));
        QCOMPARE(rows().size(), row.isEmpty() ? 2 : 3);
        if (!row.isEmpty()) QCOMPARE(rows().at(2), row);
        QCOMPARE(ui(*main).Text6->text(), total);
        QCOMPARE(ui(*main).Text8->text(), total);
        QVERIFY(!main->dispatch().window(WindowId::Record));
        QVERIFY(session->selectedLine.isEmpty());
        QCOMPARE(session->selectedIndex, -1);
    }

    void anyTextInTheEditDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("nothing") << "";
        QTest::newRow("letters") << "abc";
        QTest::newRow("thai") << "ห้าสิบ";
    }
    void anyTextInTheEditDialog()
    {
        QFETCH(QString, typed);
        showRecord(QStringLiteral("50"));
        const QByteArray before = book->bytes(StakeFile);
        click(2);
        Form7* dialog = open(QStringLiteral("Edit"));
        dialog->Text2->clear();
        dialog->Text2->insert(typed); // as pasted: key clicks carry Latin letters only
        QTest::keyClick(dialog->Text2, Qt::Key_Return);
        QCOMPARE(rows().last(), QStringLiteral("12-") + typed + QStringLiteral(" ข้อมูลผิดพลาด ให้คีย์ใหม่"));
        QCOMPARE(rows().at(2), QStringLiteral("12 - 50"));
        QCOMPARE(book->bytes(StakeFile), before);
        // The dialog stays for the amount to be keyed again.
        QCOMPARE(main->dispatch().window(WindowId::Record), dialog);
        dialog->Text2->setText(QStringLiteral("60"));
        dialog->Command1->click();
        QCOMPARE(book->bytes(StakeFile), cp874(stakeText(QStringLiteral("60"))));
        QCOMPARE(rows().at(2), QStringLiteral("12-60"));
    }

    void clickingElsewhereBeforeConfirmingKeepsTheRecord()
    {
        showRecord(QStringLiteral("50"));
        main->ListAddLine(QStringLiteral("34-10"));
        QString text = stakeText(QStringLiteral("50"));
        text.replace(QStringLiteral("\r\n34-0\r\n"), QStringLiteral("\r\n34-10\r\n"));
        book->put(StakeFile, text);
        click(2);
        Form7* dialog = open(QStringLiteral("Edit"));
        click(3); // the dialog is modeless: the operator clicks another row meanwhile
        dialog->Text2->setText(QStringLiteral("80"));
        dialog->Command1->click();
        text.replace(QStringLiteral("\r\n12-50\r\n"), QStringLiteral("\r\n12-80\r\n"));
        QCOMPARE(book->text(StakeFile), text);
        QCOMPARE(rows().mid(2), (QStringList{QStringLiteral("12-80"), QStringLiteral("34-10")}));
    }

private:
    // The main list of customer x on 2ตัวบน with the record 12 - 50 in row 2.
    void showRecord(const QString& amount)
    {
        book->put(StakeFile, stakeText(amount));
        // The operator picked the pair, so the total boxes are this pair's.
        ui(*main).Combo1->setCurrentIndex(ui(*main).Combo1->findText(TwoTop));
        ui(*main).Combo2->setEditText(QStringLiteral("x"));
        main->ShowCustomerBets(TwoTop, QStringLiteral("x"));
        main->ListAddLine(QStringLiteral("12 - ") + amount);
    }
    void click(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QListWidget* list = ui(*main).List1;
        QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(list->item(row)).center());
    }
    Form7* open(const QString& caption)
    {
        (caption == QStringLiteral("Edit") ? ui(*main).mEdit : ui(*main).mDelete)->trigger();
        auto* dialog = main->dispatch().get<Form7>(WindowId::Record);
        if (!dialog) qFatal("the record dialog did not open");
        return dialog;
    }
    QStringList rows() const { return listLines(ui(*main).List1); }

    std::unique_ptr<TempBook> book;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> main;
};

QTEST_MAIN(TestForm7)
#include "tst_form7.moc"
