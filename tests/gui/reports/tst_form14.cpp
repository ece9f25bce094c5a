#include "gui/main/Form1.h"
#include "gui/main/WindowDispatch.h"
#include "gui/main/session.h"
#include "gui/reports/Form14.h"
#include "guisupport.h"
#include "mainui.h"
#include "settlementbook.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

} // namespace

class TestForm14 : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_book = std::make_unique<SettlementBook>();
        m_book->settings(m_book->store->resultFile(), {"123456#111#222#333#444#56#", "3ตัวตรง#456-"});
        m_book->settings(m_book->store->rateFile(), {"3ตัวตรง#500"});
        m_book->stake("3ตัวตรง", "x", "456", 10);
        QVERIFY(m_book->store->creationSequence("y").isEmpty());
        m_book->put("a-_0.gif", "456-2\r\n457-5\r\n");
        m_session = std::make_unique<Session>();
        m_main = std::make_unique<MainWindow>(*m_book->store, *m_session);
        m_main->finishStartup();
        m_main->dispatch().setInstantGrowIn(true);
    }
    void cleanup()
    {
        m_main.reset();
        m_session.reset();
        m_book.reset();
    }

    void modes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("run");
        QTest::addColumn<bool>("customerShown");
        QTest::newRow("prize check") << QString("Command6") << QString("Result") << QString("ตรวจรางวัล") << true;
        QTest::newRow("analysis") << QString("Command12") << QString("Operating") << QString("วิเคราะห์") << false;
        QTest::newRow("statistics") << QString("Command8") << QString("Scoring") << QString("ดูสถิติ") << false;
    }
    void modes()
    {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(QString, run);
        QFETCH(bool, customerShown);
        // A statistics window opened first must not leave its set-up behind.
        ui(*m_main).Command8->click();
        m_main->findChild<QPushButton*>(button)->click();
        Form14* w = m_main->dispatch().get<Form14>(WindowId::Prize);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->Command1->text(), run);
        QCOMPARE(!w->Combo2->isHidden(), customerShown);
        QCOMPARE(!w->Label2->isHidden(), customerShown);
        QCOMPARE(w->Combo1->count(), 13);
        QCOMPARE(w->Combo1->itemText(12), QString("ทั้งหมด"));
        QCOMPARE(w->Combo2->count(), 3);
    }

    // Only a name of the list is taken: a typed text that names none is emptied by Enter, and
    // nothing runs until both boxes hold one.
    void typingNoListedNameRunsNothing()
    {
        ui(*m_main).Command6->click();
        Form14* w = m_main->dispatch().get<Form14>(WindowId::Prize);
        m_main->ListAddLine("before");
        QTest::keyClicks(w->Combo1->lineEdit(), "3abc");
        QTest::keyClick(w->Combo1->lineEdit(), Qt::Key_Return);
        QVERIFY(w->Combo1->currentText().isEmpty());
        pick(w->Combo1, "3ตัวตรง");
        QTest::keyClicks(w->Combo2->lineEdit(), "z");
        QTest::keyClick(w->Combo2->lineEdit(), Qt::Key_Return);
        QVERIFY(w->Combo2->currentText().isEmpty());
        QCOMPARE(listLines(ui(*m_main).List1), QStringList{"before"});
        QCOMPARE(m_main->dispatch().get<Form14>(WindowId::Prize), w);
    }

    void prizeCheckClosesUnlessTheCustomerHasNoStake()
    {
        ui(*m_main).Command6->click();
        Form14* w = m_main->dispatch().get<Form14>(WindowId::Prize);
        pick(w->Combo1, "3ตัวตรง");
        pick(w->Combo2, "y");
        w->Command1->click();
        QCOMPARE(listLines(ui(*m_main).List1), QStringList({"เลขที่ถูกรางวัล<3ตัวตรง> <y>", "ยังไม่มีข้อมูล"}));
        QCoreApplication::processEvents();
        QCOMPARE(m_main->dispatch().get<Form14>(WindowId::Prize), w);

        pick(w->Combo2, "x");
        QTest::keyClick(w->Combo2, Qt::Key_Return);
        const QStringList lines = listLines(ui(*m_main).List1);
        QCOMPARE(lines.mid(0, 3), QStringList({"เลขที่ถูกรางวัล<3ตัวตรง> <x>", "456-10", "รวมเลข= 1 รายการ"}));
        QTRY_VERIFY(!m_main->dispatch().window(WindowId::Prize));
    }

    void analysisAndStatisticsKeepTheWindowOpen()
    {
        ui(*m_main).Command12->click();
        Form14* w = m_main->dispatch().get<Form14>(WindowId::Prize);
        pick(w->Combo1, "ทั้งหมด");
        QTest::keyClick(w->Combo1, Qt::Key_Return);
        QCOMPARE(listLines(ui(*m_main).List1).filter("ผลการวิเคราะห์ ").size(), 12);

        ui(*m_main).Command8->click();
        w = m_main->dispatch().get<Form14>(WindowId::Prize);
        pick(w->Combo1, "3ตัวตรง");
        QTest::keyClick(w->Combo1, Qt::Key_Return);
        QCOMPARE(listLines(ui(*m_main).List1), QStringList({"สถิติตัวเลข <3ตัวตรง>", "457-5", "456-2"}));
        QCoreApplication::processEvents();
        QCOMPARE(m_main->dispatch().get<Form14>(WindowId::Prize), w);
    }

private:
    std::unique_ptr<SettlementBook> m_book;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<Form1> m_main;
};

QTEST_MAIN(TestForm14)
#include "tst_form14.moc"
