#include "accounts/accounttexts.h"
#include "accounts/dealers.h"
#include "accounts/dealersent.h"
#include "accounts/dealertexts.h"
#include "accounts/payments.h"
#include "accountsbook.h"
#include "app/BillPainter.h"
#include "app/Ledger.h"
#include "gui/accounts/DealersWindow.h"
#include "gui/main/WindowDispatch.h"
#include "gui/main/session.h"
#include "guisupport.h"
#include "mainui.h"
#include "reports/overlimit.h"
#include "reports/reportresult.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

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
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
    }
    DealersWindow* open()
    {
        QAction* menu = main.findChild<QAction*>(QStringLiteral("mDealers"));
        if (!menu) return nullptr;
        menu->trigger();
        return main.dispatch().get<DealersWindow>(WindowId::Dealers);
    }
};

void setTerms(DealersWindow* w, const QString& name, const QString& payout, const QString& discount, const QString& cap)
{
    w->Name1->setText(name);
    pick(w->Type1, Straight3);
    w->Payout1->setText(payout);
    w->Discount1->setText(discount);
    w->Cap1->setText(cap);
    w->Save1->click();
}

QStringList names(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->data(Qt::UserRole).toString();
    return out;
}

void select(QListWidget* list, const QString& name)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toString() == name) list->setCurrentRow(i);
}

// Clicks the button and answers the payment question with yes; whether it was asked.
bool payAnswering(QPushButton* button)
{
    return answerQuestion([&] { button->click(); },
                          [](QWidget* box) { box->findChild<QPushButton*>(QStringLiteral("StoreAnyway"))->click(); });
}

} // namespace

class TestDealersGui : public QObject
{
    Q_OBJECT

private slots:
    // The window opens from the menu; terms are added through the ledger and a figure that is not
    // digits is refused with nothing written; the order of preference moves up and refuses to pass
    // the top.
    void termsAndOrder()
    {
        Fixture f;
        DealersWindow* w = f.open();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        setTerms(w, "boss", "600", "10", "150");
        QCOMPARE(f.book.text(DealersFileName), QStringLiteral("boss#3ตัวตรง#600#10#150\r\n"));

        setTerms(w, "noi", "", "5", "1,000");
        QCOMPARE(w->Message1->text(), DealerCapNotDigitsText);
        QCOMPARE(f.book.text(DealersFileName), QStringLiteral("boss#3ตัวตรง#600#10#150\r\n"));
        setTerms(w, "noi", "", "5", "100");
        QCOMPARE(names(w->List1), (QStringList{"boss", "noi"}));

        // Picking a dealer shows his terms of the type.
        select(w->List1, "boss");
        QCOMPARE(w->Name1->text(), QStringLiteral("boss"));
        QCOMPARE(w->Payout1->text(), QStringLiteral("600"));
        QCOMPARE(w->Cap1->text(), QStringLiteral("150"));

        select(w->List1, "noi");
        w->Up1->click();
        QCOMPARE(names(w->List1), (QStringList{"noi", "boss"}));
        QCOMPARE(loadDealers(*f.book.store).items.first().name, QStringLiteral("noi"));
        QCOMPARE(w->List1->selectedItems().value(0)->data(Qt::UserRole).toString(), QStringLiteral("noi"));
        const QByteArray before = f.book.bytes(DealersFileName);
        w->Up1->click();
        QCOMPARE(w->Message1->text(), DealerNotMovedText + "noi");
        QCOMPARE(f.book.bytes(DealersFileName), before);
        w->Down1->click();
        QCOMPARE(names(w->List1), (QStringList{"boss", "noi"}));
    }

    // The picked dealer's statement; a payment asked about and recorded, shown in the statement at
    // once; the chat text on the clipboard.
    void statementPaymentAndChat()
    {
        Fixture f;
        f.book.put(QStringLiteral("lotto2.gif"), QStringLiteral("3ตัวตรง#500\r\n"));
        f.book.stake(Straight3, QStringLiteral("somchai"), QStringLiteral("456"), 600);
        drawnAndPriced(f.book); // 456 wins, the type pays 500
        Ledger& ledger = f.main.ledger();
        QVERIFY(ledger.addDealer("boss", {{Straight3, "600", "10", ""}}).ok());
        OverLimit(*f.book.store, f.session, AllChoice, false);
        QVERIFY(ledger.splitSend("mon").ok()); // boss: 456-100, wins 60,000 at his rate

        DealersWindow* w = f.open();
        QVERIFY(w);
        select(w->List1, "boss");
        QVERIFY(w->Text1->toPlainText().contains(StatementHePaysText + "59,910.00 บาท"));

        w->Amount1->setText("910");
        QVERIFY(payAnswering(w->Pay1));
        QVERIFY(f.book.text(DealerPaymentsFileName).startsWith("boss#910#"));
        QVERIFY(w->Text1->toPlainText().contains(DealerPaidInText + "910.00 บาท"));
        QVERIFY(w->Text1->toPlainText().endsWith(StatementTotalText + StatementHeOwesHead + "59,000.00 บาท"));
        QVERIFY(w->Amount1->text().isEmpty());

        // More than is due: asked, and the answer no records nothing.
        w->Amount1->setText("70000");
        QString asked;
        answerQuestion([&] { w->Pay1->click(); },
                       [&](QWidget* box) {
                           asked = static_cast<QMessageBox*>(box)->text();
                           box->findChild<QPushButton*>(QStringLiteral("DoNotStore"))->click();
                       });
        QVERIFY(asked.contains(MoreThanDueText + StatementHeOwesHead + "59,000.00 บาท"));
        QCOMPARE(loadPayments(*f.book.store, DealerPaymentsFileName).items.size(), 1);

        w->Chat1->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), w->chatText());
        QVERIFY(w->chatText().startsWith(StatementHead + "boss\n"));
        QVERIFY(w->chatText().endsWith(ChatTotalText + StatementHeOwesHead + "59,000\n"));
        w->Picture1->click();
        const QImage picture = QGuiApplication::clipboard()->image();
        QCOMPARE(picture.width(), BillImageWidth);
        QVERIFY(picture.height() > 400);

        if (const QString shot = qEnvironmentVariable("VARNOTH_SHOT"); !shot.isEmpty()) {
            f.main.resize(1366, 768);
            f.main.show();
            w->show();
            w->raise();
            QTest::qWait(500);
            w->grab().save(shot);
            picture.save(QString(shot).replace(QStringLiteral(".png"), QStringLiteral("-picture.png")));
        }
    }
};

QTEST_MAIN(TestDealersGui)
#include "tst_dealers_gui.moc"
