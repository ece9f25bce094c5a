#include "guisupport.h"
#include "mainui.h"
#include "store/session.h"
#include "store/store.h"
#include "testsupport.h"
#include "ui/main/Form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace varnoth;
using namespace varnoth::test;

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
        form = std::make_unique<Form1>(*book->store, *session);
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

    void pickThenEnterTwice()
    {
        form = std::make_unique<Form1>(*book->store, *session);
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
