// The number rules in the windows: the rules window sets, refuses and clears; the exposure map's menu
// sets a limit, closes, halves the pay and clears; the main window shows a refused bet in red.
#include "gui/main/Form1.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/main/session.h"
#include "gui/reports/ExposureMapWindow.h"
#include "gui/settings/NumberRulesWindow.h"
#include "guisupport.h"
#include "mainui.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");
const QString TwoTop = QStringLiteral("2ตัวบน");

// Whether the line of what the last action came to reads in red.
bool inRed(QLabel* label)
{
    label->ensurePolished();
    const QColor c = label->palette().color(QPalette::WindowText);
    return c.red() > 120 && c.green() < 60 && c.blue() < 60;
}

} // namespace

class TestNumberRulesGui : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempBook> book;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> main;

    NumberRulesWindow* rulesWindow()
    {
        main->findChild<QAction*>("mRules")->trigger();
        return main->dispatch().get<NumberRulesWindow>(WindowId::NumberRules);
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
    void cleanup() { main.reset(); }

    // A rule on every order of the digits that opens closed numbers says so under the fields, with the
    // rule that holds on each number it covers.
    void windowNamesReopenedNumbers()
    {
        NumberRulesWindow* w = rulesWindow();
        QVERIFY(w);
        pick(w->Combo1, TwoTop);
        w->Text1->setText("12");
        w->Combo2->setCurrentIndex(1); // closed
        w->Check1->setChecked(true);
        w->Command1->click();
        QVERIFY(!w->Label1->text().contains(ReopenedNumbersText));
        w->Text1->setText("21");
        w->Combo2->setCurrentIndex(0); // a limit
        w->Text2->setText("300");
        w->Command1->click();
        QCOMPARE(w->Label1->text().split('\n').mid(1),
                 QStringList({ReopenedNumbersText + "21", "21: 21 อั้น 300 กลับ", "12: 12 ปิด กลับ"}));
    }

    void windowSetsRefusesAndClears()
    {
        NumberRulesWindow* w = rulesWindow();
        QVERIFY(w);
        pick(w->Combo1, Straight);
        w->Text1->setText("123");
        w->Combo2->setCurrentIndex(2); // pay
        w->Text2->setText("1.5");
        w->Command1->click();
        QCOMPARE(w->Label1->text(), RulePercentInvalidText);
        QVERIFY(inRed(w->Label1));
        QVERIFY(!book->store->exists(book->file(NumberRulesFileName)));

        w->Text2->setText("50");
        w->Check1->setChecked(true);
        w->Command1->click();
        QCOMPARE(book->text(NumberRulesFileName), QString("3ตัวตรง#123#pay#50#perm\r\n"));
        QCOMPARE(listLines(w->List1), QStringList({"123 จ่าย 50% กลับ"}));
        QVERIFY(w->Label1->text().startsWith(RuleSetText));
        QVERIFY(!inRed(w->Label1)); // done, not refused

        // Picking a listed rule fills the fields for a change.
        w->Text1->clear();
        w->Check1->setChecked(false);
        w->List1->setCurrentRow(0);
        QCOMPARE(w->Text1->text(), QString("123"));
        QVERIFY(w->Check1->isChecked());

        // Closed takes no value; another type lists its own rules.
        w->Combo2->setCurrentIndex(1);
        QVERIFY(!w->Text2->isEnabled());
        pick(w->Combo1, TwoTop);
        QCOMPARE(listLines(w->List1), QStringList({NoRulesText}));
        w->Text1->setText("5");
        w->Command1->click();
        QVERIFY(w->Label1->text().startsWith("เลขไม่ถูกต้อง"));

        pick(w->Combo1, Straight);
        w->Text1->setText("123");
        w->Command2->click();
        QVERIFY(!book->store->exists(book->file(NumberRulesFileName)));
        QCOMPARE(listLines(w->List1), QStringList({NoRulesText}));
    }

    // The settings picker of the main window opens the rules window too.
    void settingsPickerOpensTheRules()
    {
        auto* picker = main->findChild<QComboBox*>("Combo3");
        const int index = picker->findText(RulesPickerEntry);
        QVERIFY(index >= 0);
        picker->setCurrentIndex(index);
        emit picker->activated(index);
        QVERIFY(main->dispatch().get<NumberRulesWindow>(WindowId::NumberRules));
    }

    void damagedFileShowsInTheWindow()
    {
        book->put(NumberRulesFileName, "3ตัวตรง#123#closed\r\nbroken\r\n");
        NumberRulesWindow* w = rulesWindow();
        pick(w->Combo1, Straight);
        const QStringList lines = listLines(w->List1);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(RuleFileDamagedText));
        QCOMPARE(lines[1], QString("123 ปิด"));
    }

    void mapMenuSetsRules()
    {
        main->findChild<QAction*>("mMap")->trigger();
        auto* map = main->dispatch().get<ExposureMapWindow>(WindowId::ExposureMap);
        QVERIFY(map);
        map->Combo1->setCurrentText(TwoTop);
        const QModelIndex cell = map->model()->index(1, 2); // 12
        auto act = [&](const char* name) {
            std::unique_ptr<QMenu> menu(map->ruleMenu(cell));
            QVERIFY(menu);
            QAction* a = menu->findChild<QAction*>(name);
            QVERIFY2(a, name);
            a->trigger();
        };
        act("mapClose");
        QCOMPARE(book->text(NumberRulesFileName), QString("2ตัวบน#12#closed\r\n"));
        QTRY_VERIFY(map->model()->data(cell, ExposureModel::ClosedRole).toBool());

        act("mapHalfPay");
        QTRY_COMPARE(map->model()->data(cell, ExposureModel::PayPercentRole).toInt(), 50);
        QVERIFY(map->model()->data(cell, Qt::DisplayRole).toString().startsWith("12 50%"));

        // The limit is asked for; a wrong one is refused in the map's list and changes nothing.
        auto answer = [](const QString& text) {
            QTimer::singleShot(0, [text] {
                auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->setTextValue(text);
                dialog->accept();
            });
        };
        answer("abc");
        act("mapSetLimit");
        QCOMPARE(listLines(map->List1), QStringList({RuleLimitInvalidText}));
        QCOMPARE(book->text(NumberRulesFileName), QString("2ตัวบน#12#pay#50\r\n"));
        answer("300");
        act("mapSetLimit");
        QCOMPARE(book->text(NumberRulesFileName), QString("2ตัวบน#12#limit#300\r\n"));

        act("mapClear");
        QVERIFY(!book->store->exists(book->file(NumberRulesFileName)));
        QVERIFY(!map->ruleMenu(QModelIndex()));
    }

    void closedBetIsRedInTheMainList()
    {
        QVERIFY(setNumberRule(*book->store, NumberRule{TwoTop, "12", RuleKind::Closed, 0, false}).outcome.ok());
        book->store->creationSequence("a");
        main.reset();
        main = std::make_unique<MainWindow>(*book->store, *session);
        main->finishStartup();
        auto* combo1 = main->findChild<QComboBox*>("Combo1");
        auto* combo2 = main->findChild<QComboBox*>("Combo2");
        combo2->setEditText("a");
        const int i = combo1->findText(TwoTop);
        combo1->setCurrentIndex(i);
        emit combo1->activated(i);
        auto* number = main->findChild<QLineEdit*>("Text1");
        auto* amount = main->findChild<QLineEdit*>("Text2");
        QTRY_VERIFY(number->isEnabled());
        QTest::keyClicks(number, "12");
        QTest::keyClicks(amount, "50");
        QTest::keyClick(amount, Qt::Key_Return);
        auto* list = main->findChild<QListWidget*>("List1");
        const QStringList lines = listLines(list);
        QVERIFY(lines.contains("12-50" + ClosedNumberText));
        const int row = static_cast<int>(lines.indexOf("12-50" + ClosedNumberText));
        QCOMPARE(list->item(row)->foreground().color(), markColours(lines[row])->ink);
        QTest::keyClicks(number, "13");
        QTest::keyClicks(amount, "50");
        QTest::keyClick(amount, Qt::Key_Return);
        const int stored = static_cast<int>(listLines(list).indexOf("13-50"));
        QVERIFY(stored > row);
        QVERIFY(list->item(stored)->foreground().color() != markColours(lines[row])->ink);
    }
};

QTEST_MAIN(TestNumberRulesGui)
#include "tst_numberrules_gui.moc"
