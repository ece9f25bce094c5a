#include "core/model/text.h"
#include "gui/main/Form1.h"
#include "gui/main/Form13.h"
#include "gui/main/Form5.h"
#include "gui/main/session.h"
#include "guisupport.h"
#include "mainui.h"
#include "storage/folder/numberfile.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");

// As the operator picks: the item is chosen from the list, which the window acts on.
void pickFromList(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

} // namespace

class TestForm13Sheets : public QObject
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
    }
    void cleanup()
    {
        main->CloseSecondaryWindows();
        main.reset();
    }

    void sheets_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QStringList>("stakes"); // the non-zero lines of 0_1.gif, in file order
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("empty line dropped")
            << "554-100\n\n123-50" << QStringList{"123-50", "554-100"} << QStringList{"554-100", "123-50"};
        QTest::newRow("two tokens on one line")
            << "554-100 358+6-10" << QStringList{"358-10", "385-10", "538-10", "554-100", "583-10", "835-10", "853-10"}
            << QStringList{"554-100", "358-10", "385-10", "538-10", "583-10", "835-10", "853-10"};
        QTest::newRow("doubled dash") << "554--100" << QStringList{"554-100"} << QStringList{"554-100"};
        QTest::newRow("words without a dash") << "hello world\nยอด รวม" << QStringList{} << QStringList{};
    }
    void sheets()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, stakes);
        QFETCH(QStringList, listed);
        Form13* form = openGroupEntry();
        pickFromList(form->Combo1, Straight);
        form->Combo2->setEditText(QStringLiteral("x"));
        form->Text1->setPlainText(sheet);
        form->Command1->click();

        QCOMPARE(stakeLines(QStringLiteral("0_1.gif")), stakes);
        const QStringList expectedList =
            QStringList{QStringLiteral("<3ตัวตรง> <x>"), QStringLiteral("พร้อมรับข้อมูล")} + listed;
        QCOMPARE(rows(), expectedList);
        QVERIFY(form->Text1->toPlainText().isEmpty());
        // The totals are those of the whole sheet.
        double total = 0;
        for (const QString& s : stakes)
            total += Val(s.section(QLatin1Char('-'), 1));
        QCOMPARE(ui(*main).Text5->text(), formatCount(stakes.size()));
        QCOMPARE(ui(*main).Text6->text(), formatAmount(total));
        QCOMPARE(ui(*main).Text8->text(), formatAmount(total));
    }

    void noCustomerGivenIsX()
    {
        Form13* form = openGroupEntry();
        pickFromList(form->Combo1, Straight);
        form->Text1->setPlainText(QStringLiteral("554-100"));
        QTest::keyClick(form->Combo1->lineEdit(), Qt::Key_Return); // Enter in a pair box enters the sheet
        QCOMPARE(form->Combo2->currentText(), QStringLiteral("X"));
        QCOMPARE(book->store->customers(), QStringList{QStringLiteral("x")});
        QCOMPARE(stakeLines(QStringLiteral("0_1.gif")), QStringList{QStringLiteral("554-100")});
        QVERIFY(form->Combo2->findText(QStringLiteral("x")) >= 0);
        QCOMPARE(rows().first(), QStringLiteral("<3ตัวตรง> <x>"));
    }

    // A name the book cannot take: the window says so, stores nothing and keeps the sheet for the
    // name to be put right; a zero-width space is no part of a name.
    void customerNameRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("taken");
        QTest::newRow("Chinese") << QStringLiteral("李") << false;
        QTest::newRow("all customers") << QStringLiteral("ทั้งหมด") << false;
        QTest::newRow("zero-width space") << QStringLiteral("x\u200B") << true;
    }
    void customerNameRule()
    {
        QFETCH(QString, typed);
        QFETCH(bool, taken);
        Form13* form = openGroupEntry();
        pickFromList(form->Combo1, Straight);
        form->Combo2->setEditText(typed);
        form->Text1->setPlainText(QStringLiteral("554-100"));
        form->Command1->click();
        if (taken) {
            QCOMPARE(book->store->customers(), QStringList{QStringLiteral("x")});
            QCOMPARE(stakeLines(QStringLiteral("0_1.gif")), QStringList{QStringLiteral("554-100")});
            return;
        }
        QCOMPARE(rows().size(), 1);
        QVERIFY2(rows().first().startsWith(QStringLiteral("ชื่อลูกค้าใช้ไม่ได้")), qPrintable(rows().first()));
        QCOMPARE(form->Text1->toPlainText(), QStringLiteral("554-100"));
        QVERIFY(book->store->customers().isEmpty());
        QVERIFY(!QFile::exists(QDir(book->folder()).filePath(QStringLiteral("0_1.gif"))));
    }

    void typingIntoTheTypeBoxErasesIt()
    {
        Form13* form = openGroupEntry();
        pickFromList(form->Combo1, Straight);
        QTest::keyClicks(form->Combo1->lineEdit(), QStringLiteral("abc"));
        QVERIFY(form->Combo1->currentText().isEmpty());
        QVERIFY(!session->HeaderFlag);
    }

    void sheetLength_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty") << ""
                               << "0" << true;
        QTest::newRow("just below") << QString(59999, QLatin1Char('1')) << "59999" << true;
        QTest::newRow("at the limit") << QString(60000, QLatin1Char('1')) << "Over" << false;
        QTest::newRow("line end counts two") << QString(59998, QLatin1Char('1')) + "\n"
                                             << "Over" << false;
    }
    void sheetLength()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, label);
        QFETCH(bool, enabled);
        Form13* form = openGroupEntry();
        form->Text1->setPlainText(sheet);
        QCOMPARE(form->Label3->text(), label);
        QCOMPARE(form->Command1->isEnabled(), enabled);
    }

    void fileInAFolderRoot_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << "/"
                              << "/bets.txt";
        QTest::newRow("drive root") << "C:/"
                                    << "C:/bets.txt";
        QTest::newRow("folder with separator") << "/home/a/"
                                               << "/home/a/bets.txt";
    }
    void fileInAFolderRoot()
    {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(Form5::filePathOf(folder, QStringLiteral("bets.txt")), path);
    }

    // A sheet saved on a phone (UTF-8) and one saved by an old Thai editor (windows-874) give the
    // same sheet and the same bets.
    void fileEntryReadsBothEncodings()
    {
        const QString sheet = QStringLiteral("สมชาย งวดนี้\r\n554-100 358+6-10\r\n\r\n\r\n123--50\r\n");
        QTemporaryDir files;
        QFile utf8(files.filePath(QStringLiteral("phone.txt")));
        QVERIFY(utf8.open(QIODevice::WriteOnly));
        utf8.write(sheet.toUtf8());
        utf8.close();
        QFile thai(files.filePath(QStringLiteral("thai.txt")));
        QVERIFY(thai.open(QIODevice::WriteOnly));
        thai.write(cp874(sheet));
        thai.close();

        const QStringList first = enterFile(files.path(), QStringLiteral("phone.txt"));
        QCOMPARE(first, (QStringList{"สมชาย งวดนี้", "554-100 358+6-10", "123--50", ""}));
        const QStringList firstStakes = stakeLines(QStringLiteral("0_1.gif"));
        cleanup();
        init();
        const QStringList second = enterFile(files.path(), QStringLiteral("thai.txt"));
        QCOMPARE(second, first);
        QCOMPARE(stakeLines(QStringLiteral("0_1.gif")), firstStakes);
        QCOMPARE(firstStakes,
                 (QStringList{"123-50", "358-10", "385-10", "538-10", "554-100", "583-10", "835-10", "853-10"}));
    }

    void pickerListsTextFilesOnly()
    {
        QTemporaryDir files;
        for (const char* name : {"a.txt", "b.csv", "c.txt.bak"}) {
            QFile f(files.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(files.path()).mkdir(QStringLiteral("sub")));
        pickFromList(ui(*main).Combo4, QStringLiteral("ไฟล์"));
        auto* picker = main->dispatch().get<Form5>(WindowId::FilePicker);
        QVERIFY(picker);
        QVERIFY(picker->Drive1->count() > 0);
        picker->showFolder(files.path());
        QCOMPARE(picker->folder(), files.path());
        QAbstractItemModel* model = picker->File1->model();
        QTRY_COMPARE(model->rowCount(picker->File1->rootIndex()), 1);
        const QModelIndex file = model->index(0, 0, picker->File1->rootIndex());
        QTest::mouseClick(picker->File1->viewport(), Qt::LeftButton, {}, picker->File1->visualRect(file).center());
        QCOMPARE(picker->Text1->text(), QStringLiteral("a.txt"));
        QVERIFY(picker->Command1->isEnabled());
    }

    void closingThePickerOpensGroupEntry()
    {
        pickFromList(ui(*main).Combo4, QStringLiteral("ไฟล์"));
        auto* picker = main->dispatch().get<Form5>(WindowId::FilePicker);
        QVERIFY(picker);
        QVERIFY(!picker->Command1->isEnabled());
        picker->Text1->setText(QStringLiteral("a.txt"));
        QVERIFY(picker->Command1->isEnabled());
        picker->close();
        auto* form = main->dispatch().get<Form13>(WindowId::GroupEntry);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("File"));
        QVERIFY(form->Text1->toPlainText().isEmpty());
        QCOMPARE(form->Combo1->count(), 12);
    }

    // Group entry takes the pair being keyed in the main window; F1 ... F12 pick a type in it as in
    // the main window; once it closes, the main window's fields take the keys again.
    void groupEntryWorksWithTheMainWindow()
    {
        book->store->creationSequence(QStringLiteral("somchai"));
        main->RefreshPickLists();
        pickFromList(ui(*main).Combo1, Straight);
        ui(*main).Combo2->setEditText(QStringLiteral("somchai"));
        Form13* form = openGroupEntry();
        QCOMPARE(form->Combo1->currentText() + " " + form->Combo2->currentText(), Straight + " somchai");
        QVERIFY(!ui(*main).Text1->isEnabled());

        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::keyClick(form->Text1, Qt::Key_F4);
        QCOMPARE(form->Combo1->currentText(), QStringLiteral("2ตัวบน"));
        QCOMPARE(rows().value(0), QStringLiteral("<2ตัวบน> <somchai>"));
        form->Text1->setPlainText(QStringLiteral("12-40\n34-60"));
        form->Command1->click();
        QCOMPARE(
            stakeLines(
                QFileInfo(book->store->StakeFilePath(QStringLiteral("2ตัวบน"), QStringLiteral("somchai"))).fileName()),
            (QStringList{"12-40", "34-60"}));

        // The sheet box shows a slip of more than five lines without scrolling.
        const QFontMetrics fm(form->Text1->font());
        QVERIFY(form->Text1->viewport()->height() / fm.lineSpacing() > 5);

        form->close();
        QVERIFY(ui(*main).Text1->isEnabled());
        QVERIFY(ui(*main).Combo1->isEnabled());
        QCOMPARE(ui(*main).Combo4->currentText(), QStringLiteral("คีย์บอร์ด"));
        QCOMPARE(ui(*main).Combo1->currentText() + " " + ui(*main).Combo2->currentText(), Straight + " somchai");
        QTest::keyClicks(ui(*main).Text1, QStringLiteral("123"));
        QTest::keyClicks(ui(*main).Text2, QStringLiteral("10"));
        QTest::keyClick(ui(*main).Text2, Qt::Key_Return);
        QCOMPARE(stakeLines(QFileInfo(book->store->StakeFilePath(Straight, QStringLiteral("somchai"))).fileName()),
                 QStringList{"123-10"});
    }

    // Picking another way of keying closes group entry and sets that way, not the keyboard.
    void anotherInputPickStands()
    {
        openGroupEntry();
        pickFromList(ui(*main).Combo4, QStringLiteral("เมาส์"));
        QVERIFY(!main->dispatch().window(WindowId::GroupEntry) ||
                !main->dispatch().window(WindowId::GroupEntry)->isVisible());
        QCOMPARE(ui(*main).Combo4->currentText(), QStringLiteral("เมาส์"));
        QVERIFY(ui(*main).Command7[0]->isVisible());
        QVERIFY(ui(*main).Text1->isEnabled());
    }

private:
    Form13* openGroupEntry()
    {
        pickFromList(ui(*main).Combo4, QStringLiteral("กลุ่ม"));
        auto* form = main->dispatch().get<Form13>(WindowId::GroupEntry);
        if (!form) qFatal("group entry did not open");
        if (form->windowTitle() != QStringLiteral("Package")) qFatal("group entry has the wrong caption");
        return form;
    }

    // File entry of one file for customer x on 3ตัวตรง; returns the sheet that group entry showed.
    QStringList enterFile(const QString& folder, const QString& name)
    {
        pickFromList(ui(*main).Combo4, QStringLiteral("ไฟล์"));
        auto* picker = main->dispatch().get<Form5>(WindowId::FilePicker);
        if (!picker) qFatal("the file picker did not open");
        picker->showFolder(folder);
        picker->Text1->setText(name);
        QTest::keyClick(picker->Text1, Qt::Key_Return);
        auto* form = main->dispatch().get<Form13>(WindowId::GroupEntry);
        if (!form || form->windowTitle() != QStringLiteral("File")) qFatal("file entry did not open");
        const QStringList shown = form->sheet().split(CRLF);
        pickFromList(form->Combo1, Straight);
        form->Combo2->setEditText(QStringLiteral("x"));
        form->Command1->click();
        return shown;
    }

    // The lines of a stake file whose amount is not 0.
    QStringList stakeLines(const QString& name) const
    {
        QStringList out;
        const NumberFile file = NumberFile::fromText(book->text(name));
        for (const QString& line : file.lines())
            if (!line.endsWith(QStringLiteral("-0"))) out << line;
        return out;
    }
    QStringList rows() const { return listLines(ui(*main).List1); }

    std::unique_ptr<TempBook> book;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> main;
};

QTEST_MAIN(TestForm13Sheets)
#include "tst_form13_sheets.moc"
