// The customer's own figures in the customer window, the bill window and the past draws, driven as
// the operator drives them.
#include "accounts/accounttexts.h"
#include "accounts/drawhistory.h"
#include "accounts/exporttexts.h"
#include "accountsbook.h"
#include "app/BillPainter.h"
#include "app/spreadsheet.h"
#include "audit/auditlog.h"
#include "audit/auditread.h"
#include "core/model/outcome.h"
#include "gui/accounts/BillWindow.h"
#include "gui/accounts/DrawHistoryWindow.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/settings/Form18.h"
#include "guisupport.h"
#include "mainui.h"
#include "reports/reportresult.h"
#include "settings/options.h"
#include "tools/newdraw.h"
#include "tools/printing.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
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
        accountsBook(book);
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
    }
    QStringList list() const { return listLines(main.findChild<QListWidget*>(QStringLiteral("List1"))); }
    void trigger(const char* action) { main.findChild<QAction*>(QString::fromLatin1(action))->trigger(); }
    template <class T> T* window(WindowId id) { return main.dispatch().get<T>(id); }
};

// Stands in for the file and folder pickers of a window: notes where each started and gives the
// answer set ("" is a cancelled picker).
struct Pickers {
    QString answer;
    QStringList started;
    void attach(SecondaryWindow* w)
    {
        w->pickSaveFile = [this](const QString&, const QString& proposed, const QString&) {
            started << proposed;
            return answer;
        };
        w->pickFolder = [this](const QString&, const QString& start) {
            started << start;
            return answer;
        };
    }
};

// Clicks the button and answers the payment question; the question's text, "" when none was asked.
QString payAnswering(QPushButton* button, bool yes)
{
    QString asked;
    answerQuestion(
        [&] { button->click(); },
        [&](QWidget* box) {
            asked = static_cast<QMessageBox*>(box)->text();
            box->findChild<QPushButton*>(yes ? QStringLiteral("StoreAnyway") : QStringLiteral("DoNotStore"))->click();
        });
    return asked;
}

QByteArray head(const QString& path, int size)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(size) : QByteArray();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

} // namespace

class TestAccountsGui : public QObject
{
    Q_OBJECT
private slots:
    void customerWindowSetsOwnFigures()
    {
        Fixture f;
        f.session.WindowMode = WindowMode::CustomerNames;
        f.main.OpenWindow(WindowId::Customers);
        auto* w = f.window<Form18>(WindowId::Customers);
        QVERIFY(w && w->Frame1->isVisible());
        w->Text1->setText(QStringLiteral("daeng"));
        pick(w->Combo1, Top2);
        QTest::keyClicks(w->Text2, QStringLiteral("8O")); // a letter O for a zero
        QTest::keyClicks(w->Text3, QStringLiteral("5"));
        w->Command2->click();
        QVERIFY(f.list().contains(RateNotDigitsText));
        QCOMPARE(w->focusWidget(), w->Text2);
        QCOMPARE(f.book.bytes(CustomerRatesFileName), cp874("somchai#3ตัวตรง#550#15\r\n"));

        w->Text2->setText(QStringLiteral("80"));
        w->Command2->click();
        QCOMPARE(f.book.bytes(CustomerRatesFileName), cp874("somchai#3ตัวตรง#550#15\r\ndaeng#2ตัวบน#80#5\r\n"));
        // Picking a customer in the list shows his own figures for the type.
        pick(w->Combo1, Straight3);
        w->List1->setCurrentRow(
            w->List1->row(w->List1->findItems(QStringLiteral("somchai"), Qt::MatchExactly).first()));
        QCOMPARE(w->Text2->text(), QString("550"));
        QCOMPARE(w->Text3->text(), QString("15"));

        // In the send-out modes the part is not there.
        w->close();
        f.session.WindowMode = WindowMode::SendOutLists;
        f.main.OpenWindow(WindowId::Customers);
        QVERIFY(!f.window<Form18>(WindowId::Customers)->Frame1->isVisible());
    }

    void billWindow()
    {
        Fixture f;
        f.trigger("mBill");
        auto* w = f.window<BillWindow>(WindowId::Bill);
        QVERIFY(w);
        w->Combo1->setEditText(QStringLiteral("somchai"));
        w->Text1->setText(QStringLiteral("5000"));
        // The question names the customer and the amount; "no" records nothing.
        const QString asked = payAnswering(w->Command5, false);
        QVERIFY2(asked.contains(QStringLiteral("จ่ายให้ somchai 5,000.00 บาท")), qPrintable(asked));
        QVERIFY(!asked.contains(MoreThanDueText));
        QVERIFY(!QFile::exists(f.book.file(PaymentsFileName)));
        QVERIFY(!payAnswering(w->Command5, true).isEmpty());
        // The bill as it now stands with the payment, dated now, and the line that took it under it.
        const QStringList shown = f.list();
        QStringList expected = SomchaiBill + QStringList{QStringLiteral("จ่ายให้ somchai 5,000.00 บาท")};
        // Under the bill its seal.
        QVERIFY(shown.value(SomchaiBill.size()).startsWith(SealLineText));
        expected.insert(SomchaiBill.size(), shown[SomchaiBill.size()]);
        const qsizetype dated = expected.indexOf(QRegularExpression(QStringLiteral("จ่ายให้ลูกค้า \\d.*")));
        QVERIFY(dated > 0 && dated < shown.size());
        QVERIFY(shown[dated].startsWith(PaidOutLineText) && shown[dated].endsWith(QStringLiteral(" 5,000.00 บาท")));
        expected[dated] = shown[dated];
        QCOMPARE(shown, expected);

        w->Combo1->setEditText(QStringLiteral("daeng"));
        w->Text1->setText(QStringLiteral("1,000"));
        QCOMPARE(payAnswering(w->Command5, true), QString()); // refused before any question
        QVERIFY(f.list().endsWith(AmountNotDigitsText));
        QVERIFY(!f.book.text(PaymentsFileName).contains(QStringLiteral("daeng")));

        w->Command7->click();
        QCOMPARE(f.list().mid(0, 3),
                 QStringList({OwedTitle, QStringLiteral("<somchai> เจ้ามือต้องจ่าย 6,541.00 บาท ตั้งแต่ งวดนี้"),
                              QStringLiteral("<daeng> ลูกค้าต้องจ่าย 900.00 บาท ตั้งแต่ งวดนี้")}));
    }

    // The bill's picture goes to the clipboard from the button and from Ctrl+C, one bill at a time;
    // the seal field says whether the bill still holds, and that a payment since changed it.
    void copyAndSeal()
    {
        Fixture f;
        f.trigger("mBill");
        auto* w = f.window<BillWindow>(WindowId::Bill);
        QVERIFY(w);
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        w->Combo1->setEditText(QStringLiteral("somchai"));
        w->Command8->click();
        QCOMPARE(clipboard->image().width(), BillImageWidth);
        clipboard->clear();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->Command1->setFocus();
        QTest::keyClick(w->Command1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->image().width(), BillImageWidth);
        clipboard->clear();
        w->Combo1->setEditText(AllChoice);
        w->Command8->click();
        QVERIFY(clipboard->image().isNull());
        QVERIFY(f.list().endsWith(OneCustomerForCopyText));

        w->Combo1->setEditText(QStringLiteral("somchai"));
        w->Command1->click();
        const QString seal = f.list().last().mid(SealLineText.size());
        QVERIFY(!seal.isEmpty());
        QTest::keyClicks(w->Text2, seal);
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QVERIFY2(w->Label4->text().startsWith(SealUnchangedText), qPrintable(w->Label4->text()));
        QVERIFY(!payAnswering(w->Command6, true).isEmpty());
        w->Command9->click();
        QVERIFY2(w->Label4->text().startsWith(SealChangedText), qPrintable(w->Label4->text()));
        QVERIFY(f.list().last().contains(auditActionName(AuditAction::Payment)));

        // The slip of his newest entry: the book was made by hand, so he has none in the log.
        w->Command10->click();
        QCOMPARE(f.list(), QStringList({SlipHeadingText + QStringLiteral("<somchai>"), NoEntryText}));
        // With an entry keyed, its bets and his bill's seal go on the slip; with no printer the slips
        // go into a PDF among the printouts, on a 58 mm page as the setting says.
        QVERIFY(f.main.ledger().setOption(option::PaperWidth, QStringLiteral("58")).ok());
        QVERIFY(f.main.ledger().enterSheet(QStringLiteral("12-5"), Top2, QStringLiteral("somchai"), true).notSaved ==
                0);
        w->Command10->click();
        const QStringList slip = f.list();
        QVERIFY(slip.contains(QStringLiteral("12-5")));
        QVERIFY(slip.last().startsWith(SealLineText));
        if (QPrinterInfo::defaultPrinter().isNull()) {
            const QStringList pdfs = QDir(printoutsFolder(f.book.store->dataFolder())).entryList({"*slip*.pdf"});
            QCOMPARE(pdfs.size(), 1);
        }
    }

    // The main list goes to a workbook (the ending added when left out) or to CSV, as it stands.
    void listToSpreadsheet()
    {
        Fixture f;
        QTemporaryDir out;
        QString answer = out.filePath(QStringLiteral("view"));
        f.main.pickListFile = [&answer](const QString&, const QString&, const QString&) { return answer; };
        f.trigger("subExcel");
        QVERIFY(f.list().endsWith(NothingToExportText));
        f.trigger("mOpendatabase");
        const QStringList shown = f.list();
        f.trigger("subExcel");
        QFile book(out.filePath(QStringLiteral("view.xlsx")));
        if (workbooksAvailable()) {
            QVERIFY(book.open(QIODevice::ReadOnly));
            QCOMPARE(book.read(2), QByteArray("PK"));
            QCOMPARE(f.list(), shown);
        } else {
            QVERIFY(f.list().endsWith(NoWorkbooksText));
            QVERIFY(!book.exists());
        }
        f.trigger("mOpendatabase");
        answer = out.filePath(QStringLiteral("view.csv"));
        f.trigger("subExcel");
        QFile csv(answer);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray bytes = csv.readAll();
        QVERIFY(bytes.contains("456,20\r\n"));
        QVERIFY(bytes.contains(QStringLiteral("<3ตัวตรง>\r\n").toUtf8()));
        QCOMPARE(f.list(), shown);
    }

    // A payment is one step of the ledger: taking it back adds the line that reverses it, with an
    // audit line, and doing it again adds the payment anew. More than is due is asked about first.
    void paymentTakenBackAndDoneAgain()
    {
        Fixture f;
        f.trigger("mBill");
        auto* w = f.window<BillWindow>(WindowId::Bill);
        QVERIFY(w);
        w->Combo1->setEditText(QStringLiteral("daeng"));
        QVERIFY(payAnswering(w->Command6, true).contains(QStringLiteral("รับชำระจาก daeng 900.00 บาท")));
        QCOMPARE(f.book.text(PaymentsFileName).count(QStringLiteral("\r\n")), 1);

        f.trigger("mUndo");
        QVERIFY(f.list().contains(PaymentTakenBackText + QStringLiteral("รับชำระจาก daeng 900.00 บาท")));
        const QStringList lines = f.book.text(PaymentsFileName).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("daeng#900#")));
        QVERIFY(lines[1].startsWith(QStringLiteral("daeng#-900#")));
        QCOMPARE(lines[1].section(QLatin1Char('#'), 3), lines[0].section(QLatin1Char('#'), 2));
        const QString log = QString::fromUtf8(head(f.book.file(AuditLogFileName), 1 << 20));
        QCOMPARE(log.count(QLatin1Char('\t') + auditActionKey(AuditAction::Payment) + QLatin1Char('\t')), 1);
        QCOMPARE(log.count(QLatin1Char('\t') + auditActionKey(AuditAction::TakeBack) + QLatin1Char('\t')), 1);

        f.trigger("mRedo");
        QCOMPARE(f.book.text(PaymentsFileName).count(QStringLiteral("daeng#900#")), 2);
        QCOMPARE(statementOf(*f.book.store, QStringLiteral("daeng"), {}).due(), 0.0);

        // Nothing is due: nothing is asked. Taken back again, 900 is due, and 1,000 is asked about
        // as more than that, recorded only on "yes".
        QVERIFY(payAnswering(w->Command6, true).isEmpty());
        f.trigger("mUndo");
        w->Text1->setText(QStringLiteral("1000"));
        const QString asked = payAnswering(w->Command5, false);
        QVERIFY2(asked.contains(MoreThanDueText + QStringLiteral("ลูกค้าต้องจ่าย 900.00 บาท")), qPrintable(asked));
        QCOMPARE(statementOf(*f.book.store, QStringLiteral("daeng"), {}).due(), 900.0);
        QVERIFY(payAnswering(w->Command5, true).contains(MoreThanDueText));
        QCOMPARE(statementOf(*f.book.store, QStringLiteral("daeng"), {}).due(), -100.0);
    }

    // The customer box offers the book's names and "ทั้งหมด" from the start; a name typed in part
    // and Enter shows that customer's bill; the PDF asked for with no customer says what is needed.
    void billWindowCustomerPicker()
    {
        Fixture f;
        f.trigger("mBill");
        auto* w = f.window<BillWindow>(WindowId::Bill);
        QVERIFY(w);
        QStringList offered;
        for (int i = 0; i < w->Combo1->count(); ++i)
            offered << w->Combo1->itemText(i);
        QCOMPARE(offered, f.book.store->customers() << AllChoice);
        QVERIFY(w->Combo1->currentText().isEmpty());

        Pickers pickers;
        pickers.attach(w);
        w->Command3->click();
        QCOMPARE(f.list().last(), ChooseCustomerText);
        QVERIFY(pickers.started.isEmpty());

        w->Combo1->setFocus();
        QTest::keyClicks(w->Combo1->lineEdit(), QStringLiteral("somc"));
        QTest::keyClick(w->Combo1->lineEdit(), Qt::Key_Return);
        QCOMPARE(w->Combo1->currentText(), QString("somchai"));
        const QStringList typed = f.list();
        QVERIFY(typed.first().startsWith(BillHeadingText) && typed.first().contains("somchai"));
        w->Combo1->setEditText("somchai");
        w->Command1->click();
        QCOMPARE(typed, f.list());
    }

    // The PDF and the pictures go where the operator picks, starting among the printouts; a
    // cancelled picker saves nothing and says nothing.
    void billFilesGoWhereThePickerSays()
    {
        Fixture f;
        f.trigger("mBill");
        auto* w = f.window<BillWindow>(WindowId::Bill);
        QVERIFY(w);
        Pickers pickers;
        pickers.attach(w);
        const QString printouts = printoutsFolder(f.book.store->dataFolder());
        w->Combo1->setEditText(QStringLiteral("somchai"));
        const QStringList before = f.list();
        w->Command3->click();
        w->Command4->click();
        QCOMPARE(f.list(), before);
        QCOMPARE(entries(printouts), QStringList());
        QCOMPARE(pickers.started.size(), 2);
        QVERIFY(pickers.started[0].startsWith(printouts + QLatin1Char('/')));
        QVERIFY(pickers.started[0].endsWith(QStringLiteral("_bill.pdf")));
        QVERIFY(pickers.started[1].endsWith(QStringLiteral("_somchai.png")));

        QTemporaryDir out;
        pickers.answer = out.filePath(QStringLiteral("somchai")); // the suffix is added
        w->Command3->click();
        QCOMPARE(head(out.filePath(QStringLiteral("somchai.pdf")), 5), QByteArray("%PDF-"));
        pickers.answer = out.filePath(QStringLiteral("phone.PNG"));
        w->Command4->click();
        QCOMPARE(head(out.filePath(QStringLiteral("phone.PNG")), 4), QByteArray("\x89PNG"));
        QCOMPARE(f.list(), before);

        // Everyone's pictures go into a new folder inside the one picked.
        w->Combo1->setEditText(AllChoice);
        pickers.answer.clear();
        w->Command4->click();
        QCOMPARE(pickers.started.last(), printouts);
        pickers.answer = out.path();
        w->Command4->click();
        const QStringList made = QDir(out.path()).entryList({QStringLiteral("*_bills")}, QDir::Dirs);
        QCOMPARE(made.size(), 1);
        QCOMPARE(entries(out.filePath(made.first())), QStringList({"daeng.png", "somchai.png"}));

        // A file that cannot be written is named in the list.
        pickers.answer = out.filePath(QStringLiteral("no/such/folder/bill.pdf"));
        w->Command3->click();
        QCOMPARE(f.list().last(), WriteFailedText + QDir::toNativeSeparators(pickers.answer));
        QCOMPARE(entries(printouts), QStringList());
    }

    void pastDrawsWindow()
    {
        Fixture f;
        QVERIFY(startNewDraw(*f.book.store, at("2026-12-01 21:00")).done);
        const QString folder = listPastDraws(*f.book.store).first().folder;
        const auto before = folderBytes(folder);
        f.trigger("mDraws");
        auto* w = f.window<DrawHistoryWindow>(WindowId::DrawHistory);
        QVERIFY(w);
        QCOMPARE(w->List1->rowCount(), 1);
        QCOMPARE(w->List1->item(0, 0)->text(), QString("01/12/2569 21:00"));
        QCOMPARE(w->List1->item(0, 2)->text(), QString("1,180.00"));
        w->Command3->click();
        const QStringList bills = f.list();
        QCOMPARE(bills.first(), PastDrawReadOnlyText + "01/12/2569 21:00");
        QVERIFY(bills.contains(QStringLiteral("บิลลูกค้า <daeng> งวด 01/12/2569 21:00")));
        w->Command1->click();
        w->Command2->click();
        QVERIFY(f.list().size() > 3);
        // The bills of the past draw as a PDF, where the picker says, never into the copy.
        Pickers pickers;
        pickers.attach(w);
        w->Command4->click();
        QCOMPARE(pickers.started.size(), 1);
        QTemporaryDir out;
        pickers.answer = out.filePath(QStringLiteral("draw.pdf"));
        w->Command4->click();
        QCOMPARE(head(pickers.answer, 5), QByteArray("%PDF-"));
        QCOMPARE(folderBytes(folder), before);
    }
};

QTEST_MAIN(TestAccountsGui)
#include "tst_accounts_gui.moc"
