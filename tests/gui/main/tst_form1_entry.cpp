#include "audit/auditlog.h"
#include "audit/audittexts.h"
#include "gui/main/ChatPasteWindow.h"
#include "gui/main/Form1.h"
#include "gui/main/Form13.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/main/session.h"
#include "guisupport.h"
#include "mainui.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString DrawnResult = QStringLiteral("123456#111#222#333#444#56#\r\n3ตัวตรง#456-\r\n2ตัวบน#56-\r\n");

double luminance(const QColor& c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The contrast of two colours as screen readability is measured (1 to 21).
double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Answers the after-result question with the named button; whether it was asked.
bool answerAfterResult(const std::function<void()>& run, const QString& button)
{
    return answerQuestion(run, [&](QWidget* box) {
        QCOMPARE(box->objectName(), QString("AfterResultBox"));
        box->findChild<QPushButton*>(button)->click();
    });
}

QString lastAuditDetail(const TempBook& book)
{
    const QList<QByteArray> lines = book.bytes(AuditLogFileName).trimmed().split('\n');
    AuditRecord r;
    return parseAuditLine(lines.last().trimmed(), r) ? r.detail : QString("<unreadable>");
}

} // namespace

class TestForm1Entry : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempBook> book;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> form;

    QStringList listLines() const
    {
        QStringList out;
        for (int i = 0; i < ui(*form).List1->count(); ++i)
            out << ui(*form).List1->item(i)->text();
        return out;
    }
    QString lineOf(const QString& file, const QString& number) const
    {
        for (const QString& line : book->text(file).split("\r\n"))
            if (line.startsWith(number + "-")) return line;
        return {};
    }
    void startWith(const QString& customers = {})
    {
        for (const QString& c : customers.split(' ', Qt::SkipEmptyParts))
            book->store->creationSequence(c);
        form = std::make_unique<MainWindow>(*book->store, *session);
        acceptNewCustomers(*form);
        form->finishStartup();
    }
    void pick(const QString& type, const QString& customer)
    {
        ui(*form).Combo2->setEditText(customer);
        const int i = ui(*form).Combo1->findText(type);
        ui(*form).Combo1->setCurrentIndex(i);
        emit ui(*form).Combo1->activated(i);
    }
    void enter(const QString& number, const QString& amount)
    {
        QTest::keyClicks(ui(*form).Text1, number);
        QTest::keyClicks(ui(*form).Text2, amount);
        QTest::keyClick(ui(*form).Text2, Qt::Key_Return);
    }

private slots:
    void init()
    {
        book = std::make_unique<TempBook>();
        session = std::make_unique<Session>();
    }
    void cleanup() { form.reset(); }

    // The main window: a name the book cannot take is refused with its line before anything is
    // asked or stored, and a zero-width space in a name finds the customer the name shows.
    void customerNameRule()
    {
        startWith("x");
        const auto before = folderBytes(book->folder());
        pick("3ตัวตรง", "李");
        enter("123", "100");
        QVERIFY(!listLines().isEmpty());
        QVERIFY2(listLines().last().startsWith("ชื่อลูกค้าใช้ไม่ได้"), qPrintable(listLines().join('|')));
        QCOMPARE(folderBytes(book->folder()), before);
        QCOMPARE(book->store->customers(), QStringList{"x"});
        pick("3ตัวตรง", "x\u200B");
        ui(*form).Text1->clear();
        ui(*form).Text2->clear();
        enter("123", "100");
        QCOMPARE(book->store->customers(), QStringList{"x"});
        QCOMPARE(lineOf("0_1.gif", "123"), QString("123-100"));
    }

    void pickThenEnterTwice()
    {
        form = std::make_unique<MainWindow>(*book->store, *session);
        acceptNewCustomers(*form);
        QCOMPARE(ui(*form).Text7->text() + ui(*form).Text8->text(), QString("00.00"));
        QVERIFY(!ui(*form).Text1->isEnabled());
        form->finishStartup();
        QVERIFY(ui(*form).Text1->isEnabled() && ui(*form).Text2->isEnabled());
        pick("3ตัวตรง", "x");
        QCOMPARE(listLines(), QStringList({"<3ตัวตรง> <x>", "พร้อมรับข้อมูล"}));
        QCOMPARE(ui(*form).Label16->text(), QString("ยอดรวม 3ตัวตรง x"));
        enter("123", "100");
        enter("123", "100");
        QCOMPARE(listLines(), QStringList({"<3ตัวตรง> <x>", "พร้อมรับข้อมูล", "123-100", "123-100"}));
        QCOMPARE(lineOf("0_1.gif", "123"), QString("123-200"));
        QCOMPARE(lineOf("a-_0.gif", "123"), QString("123-2"));
        QCOMPARE(ui(*form).Text5->text() + " " + ui(*form).Text6->text(), QString("1 200.00"));
        QVERIFY(ui(*form).Text1->text().isEmpty() && ui(*form).Text2->text().isEmpty());
        form->undoLastEntry(); // every entry is remembered for taking back
        QCOMPARE(lineOf("0_1.gif", "123"), QString("123-100"));
    }

    void gateBoxShowsTheWholeListAndStoresIt()
    {
        startWith();
        form->show();
        pick("2ตัวบน", "x");
        QTest::keyClicks(ui(*form).Text1, "5+19");
        QVERIFY(ui(*form).Text3->isVisible() && ui(*form).Label6->isVisible());
        QCOMPARE(ui(*form).Label6->text(), QString(" ทำวิ่งเป็น2ตัว19 ประตู "));
        const int shortHeight = ui(*form).Text3->height();
        ui(*form).Text1->setText("5+271");
        QCOMPARE(ui(*form).Text3->toPlainText().count(' '), 271);
        QTRY_VERIFY(ui(*form).Text3->height() > shortHeight);
        // The long list keeps the column's width and scrolls where the column has no more room.
        QVERIFY(ui(*form).Text3->width() <= ui(*form).Text1->width() + 2);
        QTest::keyClicks(ui(*form).Text1, "+");
        QVERIFY(ui(*form).Text3->isHidden() && ui(*form).Label6->isHidden() &&
                ui(*form).Text3->toPlainText().isEmpty());

        ui(*form).Text1->clear();
        enter("5+19", "40");
        QCOMPARE(listLines().size(), 2 + 19);
        QCOMPARE(listLines().last(), QString("95-40"));
        QCOMPARE(ui(*form).Text6->text(), QString("760.00"));
        QVERIFY(ui(*form).Text3->isHidden());
    }

    // A name that cleans to nothing names nobody: the entry waits for a customer.
    void customerThatCleansToNothingStoresNothing()
    {
        startWith();
        pick("3ตัวตรง", " - ");
        const auto before = folderBytes(book->folder());
        enter("123", "100");
        QCOMPARE(folderBytes(book->folder()), before);
        QCOMPARE(ui(*form).Combo2->currentText(), QString(" - "));
    }

    void newCustomerJoinsTheDropDown()
    {
        startWith("a");
        pick("2ตัวบน", "");
        QTest::keyClicks(ui(*form).Combo2->lineEdit(), "Som Chai");
        enter("12", "5");
        QCOMPARE(ui(*form).Combo2->findText("somchai"), 1);
        QCOMPARE(ui(*form).Combo2->currentText(), QString("somchai"));
        QCOMPARE(listLines(), QStringList({"<2ตัวบน> <somchai>", "พร้อมรับข้อมูล", "12-5"}));
        QCOMPARE(lineOf("3_2.gif", "12"), QString("12-5"));
    }

    // Once the result is saved, Enter asks first; the question's default stores nothing and keeps the
    // fields, and a bet the operator lets through is marked in the audit log.
    void betAfterTheResultAsksFirst()
    {
        book->put("lotto3.gif", DrawnResult);
        startWith("x");
        pick("3ตัวตรง", "x");
        QTest::keyClicks(ui(*form).Text1, "456");
        QTest::keyClicks(ui(*form).Text2, "100");
        QString defaultButton;
        QVERIFY(answerQuestion([&] { QTest::keyClick(ui(*form).Text2, Qt::Key_Return); },
                               [&](QWidget* box) {
                                   defaultButton = qobject_cast<QMessageBox*>(box)->defaultButton()->objectName();
                                   QTest::keyClick(box, Qt::Key_Return);
                               }));
        QCOMPARE(defaultButton, QString("DoNotStore"));
        QCOMPARE(lineOf("0_1.gif", "456"), QString("456-0"));
        QCOMPARE(ui(*form).Text1->text() + "-" + ui(*form).Text2->text(), QString("456-100"));

        QVERIFY(answerAfterResult([&] { QTest::keyClick(ui(*form).Text2, Qt::Key_Return); }, "StoreAnyway"));
        QCOMPARE(lineOf("0_1.gif", "456"), QString("456-100"));
        QCOMPARE(lastAuditDetail(*book), AuditAfterResultText);
    }

    // Group entry and chat paste ask the same before they store anything.
    void otherEntryWindowsAskAfterTheResult_data()
    {
        QTest::addColumn<bool>("chat");
        QTest::newRow("group entry") << false;
        QTest::newRow("chat paste") << true;
    }
    void otherEntryWindowsAskAfterTheResult()
    {
        QFETCH(bool, chat);
        book->put("lotto3.gif", DrawnResult);
        startWith("x");
        form->dispatch().setInstantGrowIn(true);
        pick("2ตัวบน", "x");
        std::function<void()> store;
        if (chat) {
            form->findChild<QAction*>("mChatPaste")->trigger();
            auto* w = qobject_cast<ChatPasteWindow*>(form->loadedWindow(WindowId::ChatPaste));
            QVERIFY(w);
            store = [w] {
                // Read at once, as a pause in typing has it read.
                w->Text1->setPlainText("12=30");
                QTRY_VERIFY(w->Command1->isEnabled());
                w->Command1->click();
            };
        } else {
            ui(*form).Combo4->setCurrentIndex(ui(*form).Combo4->findText("กลุ่ม"));
            emit ui(*form).Combo4->activated(ui(*form).Combo4->currentIndex());
            auto* w = form->dispatch().get<Form13>(WindowId::GroupEntry);
            QVERIFY(w);
            w->setSheet("12-30");
            w->Combo1->setCurrentIndex(w->Combo1->findText("2ตัวบน"));
            w->Combo2->setEditText("x");
            store = [w] {
                w->setSheet("12-30");
                w->Command1->click();
            };
        }
        QVERIFY(answerAfterResult(store, "DoNotStore"));
        QCOMPARE(lineOf("3_1.gif", "12"), QString("12-0"));
        QVERIFY(answerAfterResult(store, "StoreAnyway"));
        QCOMPARE(lineOf("3_1.gif", "12"), QString("12-30"));
        QCOMPARE(lastAuditDetail(*book), AuditAfterResultText);
    }

    // The marks of the main list each have their own colours, readable whatever colour the list is
    // set to; the words stay in the line.
    void marksAreColouredEachItsOwnWay()
    {
        book->put("lotto2.gif", "2ตัวบน#1000\r\n");
        QVERIFY(setNumberRule(*book->store, {"2ตัวบน", "12", RuleKind::Closed, 0, false}).outcome.ok());
        QVERIFY(setNumberRule(*book->store, {"2ตัวบน", "99", RuleKind::Pay, 50, false}).outcome.ok());
        book->stake("2ตัวบน", "y", "45", 410);
        startWith("x");
        pick("2ตัวบน", "x");
        enter("45", "1000");
        enter("12", "50");
        enter("99", "10");
        enter("34", "10");
        const QStringList rows{"45-1000" + OverOwnLimitText, "12-50" + ClosedNumberText,
                               "99-10" + PayPercentText.arg(50), "34-10"};
        QCOMPARE(listLines().mid(2), rows);
        QListWidget* list = ui(*form).List1;
        QSet<QRgb> grounds;
        for (int row = 2; row < 5; ++row) {
            const QListWidgetItem* item = list->item(row);
            QVERIFY2(contrast(item->foreground().color(), item->background().color()) >= 4.5,
                     qPrintable(rows[row - 2]));
            grounds.insert(item->background().color().rgb());
        }
        QCOMPARE(grounds.size(), 3);
        QCOMPARE(list->item(5)->background().style(), Qt::NoBrush);
        // Report lines that only look alike are not bets with a mark.
        for (const QString& line : {QString("เกินอั้นส่งออก"), QString("รวม 12-50 เลขปิด"), QString("12-50 เลขปิดแล้ว")})
            QVERIFY2(!markColours(line), qPrintable(line));
    }

    // Whatever is typed, nothing crashes and the stake file keeps only well-formed lines.
    void anyTextIsSafe_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("amount");
        QTest::newRow("letters") << "abc"
                                 << "xyz";

        QTest::newRow("thai") << "กขค+2"
                              << "ร้อย";

        QTest::newRow("three amounts") << "12"
                                       << "1+2+3";
        QTest::newRow("huge amount") << "123" << QString(40, '9');
        QTest::newRow("long paste") << QString("5+19 ").repeated(400) << QString("100 ").repeated(400);
        QTest::newRow("hash and line ends") << "1#2\r\n3"
                                            << "1#0";
    }
    void anyTextIsSafe()
    {
        QFETCH(QString, number);
        QFETCH(QString, amount);
        startWith();
        pick("3ตัวตรง", "x");
        ui(*form).Text1->setText(number);
        ui(*form).Text2->setText(amount);
        // An amount above the ceiling is asked about first; Enter gives the default answer, which stores nothing.
        answerQuestion([&] { form->Inp2(); }, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
        for (const QString& line : book->text("0_1.gif").split("\r\n"))
            QVERIFY2(line.isEmpty() || QRegularExpression("^\\d{3}-\\d+$").match(line).hasMatch(), qPrintable(line));
    }
};

QTEST_MAIN(TestForm1Entry)
#include "tst_form1_entry.moc"
