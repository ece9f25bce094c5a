#include "core/model/text.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/tools/Form10.h"
#include "gui/tools/Form12.h"
#include "gui/tools/Form4.h"
#include "gui/tools/PagePainter.h"
#include "mainui.h"
#include "settings/options.h"
#include "storage/folder/store.h"
#include "testsupport.h"
#include "tools/printing.h"
#include "tools/readme.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <memory>

using namespace varnoth;
using varnoth::test::TempBook;
using varnoth::test::ui;

// Takes the files handed to the system's opener, so no editor starts during the tests.
class OpenedFiles : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

namespace
{

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int pdfPages(const QByteArray& pdf)
{
    return static_cast<int>(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

} // namespace

class TestToolWindows : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TempBook> book;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> main;
    OpenedFiles opened;

private slots:
    void initTestCase() { QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    void init()
    {
        book = std::make_unique<TempBook>();
        session = std::make_unique<Session>();
        main = std::make_unique<MainWindow>(*book->store, *session);
        main->finishStartup();
        main->dispatch().setInstantGrowIn(true);
        opened.urls.clear();
    }
    void cleanup()
    {
        main->dispatch().closeWindow(WindowId::Readme);
        main->CloseSecondaryWindows();
        main.reset();
    }

    void pagesGoIntoAPdf()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        PagePainter painter(printer, 10);
        const PageGeometry g = painter.geometry();
        QVERIFY(g.lineHeight > 0 && g.pageHeight > g.lineHeight);

        QStringList rows = {"<3ตัวตรง> <สมชาย>"};
        for (int i = 0; i < 200; ++i)
            rows << QString::number(i).rightJustified(3, '0') + "-100";
        const PrintJob job = PrintMainList(rows, 10, 1, g, {});
        QVERIFY(job.pageCount >= 2);
        QVERIFY(painter.paint(job));
        const QByteArray pdf = fileBytes(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPages(pdf), job.pageCount);

        // A PDF cannot make copies itself: each copy is drawn in full.
        const QString copiesPath = dir.filePath("copies.pdf");
        QPrinter again(QPrinter::HighResolution);
        again.setOutputFormat(QPrinter::PdfFormat);
        again.setOutputFileName(copiesPath);
        PagePainter twice(again, 10);
        QVERIFY(twice.paint(PrintMainList(rows, 10, 2, twice.geometry(), {})));
        QCOMPARE(pdfPages(fileBytes(copiesPath)), job.pageCount * (again.supportsMultipleCopies() ? 1 : 2));
    }

    void printDialogSendsTheMainListToAPdf()
    {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("a printer is set up here; nothing is printed on it");
        // A data folder of its own one level down, so that its "printouts" stays in the test's folder.
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkdir("picture_1"));
        Store store(root.filePath("picture_1"));
        QVERIFY(setOptionValue(store, option::ShopName, "ร้านโชคดี").isEmpty());
        Session s;
        MainWindow form(store, s);
        form.finishStartup();
        form.dispatch().setInstantGrowIn(true);
        form.listAddLines({"<2ตัวบน> <x>", "12-50", "34-70"});
        ui(form).Image5->click();
        QCOMPARE(s.WindowMode, WindowMode::PrintList);
        auto* dialog = form.dispatch().get<Form4>(WindowId::Print);
        QVERIFY(dialog);
        QCOMPARE(dialog->Combo1->currentText(), QString("10"));
        QCOMPARE(dialog->Combo2->currentText(), QString("1"));

        // The send-out history opened meanwhile sets its own mode; the dialog still prints the list.
        ui(form).Command13->click();
        QCOMPARE(s.WindowMode, WindowMode::SendOutLists);
        dialog->Combo1->setCurrentText("14");
        QTest::keyClick(dialog->Combo2, Qt::Key_Return); // Enter in the last field prints
        QTRY_VERIFY(!form.dispatch().window(WindowId::Print));

        // The path is shown in the status bar and kept out of the list, which would print it next time.
        QCOMPARE(ui(form).List1->count(), 3);
        const QString message = form.statusBar()->currentMessage();
        QVERIFY(message.startsWith(PrintedToPdfText));
        const QString path = QDir::fromNativeSeparators(message.mid(PrintedToPdfText.size()));
        QCOMPARE(QFileInfo(path).absolutePath(), root.filePath("printouts"));
        QVERIFY2(
            QRegularExpression("^\\d{4}-\\d\\d-\\d\\d_\\d{4}_list\\.pdf$").match(QFileInfo(path).fileName()).hasMatch(),
            qPrintable(path));
        QVERIFY(fileBytes(path).startsWith("%PDF"));
        QCOMPARE(pdfPages(fileBytes(path)), 1);

        // Where the printouts folder cannot be made, the list says so.
        QFile blocker(root.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const PrintOutcome failed =
            printOnDefault([](const PageGeometry& g) { return PrintMainList({}, 10, 1, g, {}); }, 10,
                           root.filePath("file/picture_1"), "list");
        QVERIFY(failed.pdfPath.isEmpty());
        QCOMPARE(failed.failures.size(), 1);
        QVERIFY(failed.failures.first().startsWith(WriteFailedText));
    }

    void listOpensInTheTextEditor()
    {
        const QStringList rows = {"<2ตัวบน> <x>", "12-50", "34-70"};
        main->listAddLines(rows);
        ui(*main).subPrint2->trigger();
        QCOMPARE(opened.urls.size(), 1);
        const QString path = opened.urls.first().toLocalFile();
        QVERIFY(path.endsWith(".txt"));
        QCOMPARE(QString::fromUtf8(fileBytes(path)), BuildListText(rows));
        QCOMPARE(ui(*main).List1->count(), rows.size()); // nothing added when the editor took it
        QFile::remove(path);
    }

    void readmeShowsTopicsAndSections()
    {
        ui(*main).mReadme->trigger();
        auto* viewer = main->dispatch().get<Form10>(WindowId::Readme);
        QVERIFY(viewer);
        QCOMPARE(viewer->List1->count(), readmeTopics(ReadmeLines()).size());
        QCOMPARE(viewer->text(), ReadmeLines().join(CRLF));
        // Taking the focus makes the first row current by itself; the whole guide must stay.
        viewer->List1->setCurrentRow(0);
        QCOMPARE(viewer->text(), ReadmeLines().join(CRLF));
        viewer->List1->setCurrentRow(1); // moving on with the arrow keys
        QCOMPARE(viewer->text(), readmeSection(ReadmeLines(), "-ระบบที่รองรับ"));

        const QString heading = "-การเก็บสำรองข้อมูล";
        const QList<QListWidgetItem*> items = viewer->List1->findItems(heading, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QTest::mouseClick(viewer->List1->viewport(), Qt::LeftButton, {},
                          viewer->List1->visualItemRect(items.first()).center());
        QCOMPARE(viewer->text(), readmeSection(ReadmeLines(), heading));

        // The viewer outlives the closing of the other windows; its Print opens the print dialog.
        main->CloseSecondaryWindows();
        QVERIFY(main->dispatch().window(WindowId::Readme));
        viewer->mPrint->trigger();
        QCOMPARE(session->WindowMode, WindowMode::PrintReadme);
        QVERIFY(main->dispatch().get<Form4>(WindowId::Print));
        viewer->mClose->trigger();
        QTRY_VERIFY(!main->dispatch().window(WindowId::Readme));
    }

    void calculatorFollowsEveryChange()
    {
        ui(*main).mCalculator->trigger();
        auto* calc = main->dispatch().get<Form12>(WindowId::Calculator);
        QVERIFY(calc);
        QTest::keyClicks(calc->Text1, "1500");
        QTest::keyClicks(calc->Text2, "1");
        QCOMPARE(calc->Text3->text(), QString()); // no operator yet
        calc->Command5->click();
        QCOMPARE(calc->Text3->text(), QString("15.00"));
        QCOMPARE(calc->Text4->y(), twips(960));
        QTest::keyClicks(calc->Text2, "2"); // each key counts at once
        QCOMPARE(calc->Text3->text(), QString("180.00"));
        calc->Command4->click();
        QCOMPARE(calc->Text3->text(), QString("125.00"));
        QCOMPARE(calc->Text4->y(), twips(720));
        calc->Command1->click();
        QCOMPARE(calc->Text4->y(), twips(721));
    }
};

QTEST_MAIN(TestToolWindows)
#include "tst_form4_form10_form12.moc"
