// The amount ceiling in the windows: the main window asks before it stores a bet above it (the
// default answer stores nothing), and the settings window changes it.
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/settings/Form11.h"
#include "guisupport.h"
#include "mainui.h"
#include "settings/options.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

struct Fixture {
    TempBook book;
    Session session;
    MainWindow main{*book.store, session};
    Fixture()
    {
        acceptNewCustomers(main);
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
        ui(main).Combo2->setEditText("x");
        const int i = ui(main).Combo1->findText("3ตัวตรง");
        ui(main).Combo1->setCurrentIndex(i);
        emit ui(main).Combo1->activated(i);
    }
    // Keys the entry and answers the question, when one comes, with the named button ("" for the
    // Enter key, which presses the default one). Returns whether a question was asked.
    bool enter(const QString& number, const QString& amount, const QString& answer)
    {
        ui(main).Text1->setText(number);
        ui(main).Text2->setText(amount);
        return answerQuestion([&] { QTest::keyClick(ui(main).Text2, Qt::Key_Return); },
                              [&](QWidget* box) {
                                  if (answer.isEmpty())
                                      QTest::keyClick(box, Qt::Key_Return);
                                  else
                                      box->findChild<QPushButton*>(answer)->click();
                              });
    }
    QString line123() const
    {
        for (const QString& line : book.text("0_1.gif").split("\r\n"))
            if (line.startsWith("123-")) return line;
        return {};
    }
};

void clickItem(QListWidget* list, int row)
{
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

} // namespace

class TestCeilingGui : public QObject
{
    Q_OBJECT
private slots:
    void aboveTheCeilingAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("stored");
        QTest::newRow("Enter keeps the default: not stored") << "" << false;
        QTest::newRow("no") << "DoNotStore" << false;
        QTest::newRow("yes") << "StoreAnyway" << true;
    }
    void aboveTheCeilingAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(bool, stored);
        Fixture f;
        const QByteArray counts = f.book.bytes("a-_0.gif");
        QVERIFY(f.enter("123", "100001", answer));
        QCOMPARE(f.line123(), QString(stored ? "123-100001" : "123-0"));
        QCOMPARE(f.book.bytes("a-_0.gif") != counts, stored);
        if (stored) {
            QVERIFY(ui(f.main).Text2->text().isEmpty());
            QCOMPARE(ui(f.main).List1->item(ui(f.main).List1->count() - 1)->text(), QString("123-100001"));
        } else {
            QCOMPARE(ui(f.main).Text2->text(), QString("100001")); // left to be corrected
            QVERIFY(ui(f.main).Text2->hasFocus() || !f.main.isActiveWindow());
        }
        // At the ceiling nothing is asked.
        QVERIFY(!f.enter("123", "100000", "DoNotStore"));
        QCOMPARE(f.line123(), QString(stored ? "123-200001" : "123-100000"));
    }

    // The draw's date is typed as the operator writes it, kept in ISO form, and shown in Thai.
    void drawDateInTheSettingsWindow()
    {
        Fixture f;
        const int index = ui(f.main).Combo3->findText(OptionsPickerEntry);
        ui(f.main).Combo3->setCurrentIndex(index);
        emit ui(f.main).Combo3->activated(index);
        auto* w = f.main.dispatch().get<Form11>(WindowId::Settings);
        QVERIFY(w);
        int row = -1;
        for (int i = 0; i < bookOptions().size(); ++i)
            if (bookOptions()[i].key == option::DrawDate) row = i;
        QVERIFY(row >= 0);
        clickItem(w->List1, row);
        w->Text2->setText("16/12/2569");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(f.book.bytes("option.gif"), QByteArray("drawdate#2026-12-16\r\n"));
        w = f.main.dispatch().get<Form11>(WindowId::Settings);
        QCOMPARE(w->List1->item(row)->text(), QStringLiteral("งวดวันที่ - 16 ธันวาคม 2569"));
        clickItem(w->List1, row);
        QCOMPARE(w->Text2->text(), QStringLiteral("16/12/2569"));
        // A day that does not exist is refused and the date stays.
        w->Text2->setText("31/02/2569");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(f.book.bytes("option.gif"), QByteArray("drawdate#2026-12-16\r\n"));
    }

    void ceilingChangedInTheSettingsWindow()
    {
        Fixture f;
        const int index = ui(f.main).Combo3->findText(OptionsPickerEntry);
        QVERIFY(index >= 0);
        ui(f.main).Combo3->setCurrentIndex(index);
        emit ui(f.main).Combo3->activated(index);
        auto* w = f.main.dispatch().get<Form11>(WindowId::Settings);
        QVERIFY(w);
        QCOMPARE(w->List1->count(), bookOptions().size());
        QVERIFY(w->List1->item(0)->text().endsWith(" - 100000"));
        clickItem(w->List1, 0);
        QCOMPARE(w->Text2->text(), QString("100000"));
        QVERIFY(w->Text1->isReadOnly());
        w->Text2->setText("5000");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(f.book.bytes("option.gif"), QByteArray("ceiling#5000\r\n"));
        w = f.main.dispatch().get<Form11>(WindowId::Settings);
        QVERIFY(w->List1->item(0)->text().endsWith(" - 5000"));

        // A value that is not a whole amount is refused and said so; the ceiling stays.
        clickItem(w->List1, 0);
        w->Text2->setText("5,5");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(f.book.bytes("option.gif"), QByteArray("ceiling#5000\r\n"));
        QVERIFY(!ui(f.main).List1->findItems(OptionValueInvalidText, Qt::MatchExactly).isEmpty());

        // The shop name is kept beside it.
        w = f.main.dispatch().get<Form11>(WindowId::Settings);
        clickItem(w->List1, 1);
        w->Text2->setText("ร้านดี");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(optionValue(*f.book.store, option::ShopName), QString("ร้านดี"));

        // The new ceiling holds at once in the main window.
        f.main.CloseSecondaryWindows();
        QVERIFY(f.enter("123", "5001", "DoNotStore"));
        QCOMPARE(f.line123(), QString("123-0"));
        QVERIFY(!f.enter("123", "5000", ""));
        QCOMPARE(f.line123(), QString("123-5000"));
    }
};

QTEST_MAIN(TestCeilingGui)
#include "tst_ceiling_gui.moc"
