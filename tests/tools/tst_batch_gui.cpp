// Batch jobs against the windows: the same job on two identical books, one through the real windows and
// one through the built program, must show the same lines and leave the same bytes behind.
#include "app/batch.h"
#include "audit/auditlog.h"
#include "audit/audittexts.h"
#include "entry/sheet.h"
#include "guisupport.h"
#include "mainui.h"
#include "reports/Form14.h"
#include "reports/Form15.h"
#include "reports/Form6.h"
#include "reports/Form9.h"
#include "settings/Form18.h"
#include "settings/history.h"
#include "store/datafolder.h"
#include "store/session.h"
#include "testsupport.h"
#include "tools/Form3.h"
#include "tools/backup.h"
#include "ui/main/Form1.h"
#include "ui/main/Form13.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace varnoth;
using namespace varnoth::test;

static_assert(BatchSheetLimit == Form13::SheetLimit, "a batch sheet must fit the group-entry window");

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");
const QString TwoTop = QStringLiteral("2ตัวบน");

using Files = QMap<QString, QByteArray>;

// The book as a window or a job leaves it: every file but the lock of the running program.
Files bookBytes(const QString& folder)
{
    Files files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        // Each book's audit log has its own times: the books are compared without it.
        if (name == LockFileName || name == AuditLogFileName) continue;
        QFile f(dir.filePath(name));
        files[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    return files;
}

void copyFolder(const QString& from, const QString& to)
{
    const Files files = bookBytes(from);
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile f(QDir(to).filePath(it.key()));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(it.value()) == it.value().size());
    }
}

// Two customers on two types, every kind of setting, a drawn result and one saved list.
void fillBook(Store& store)
{
    const auto sheet = [&](const QString& customer, const QString& type, const QString& text) {
        QVERIFY(store.creationSequence(customer).isEmpty());
        SplitSheet(store, text, type, customer);
    };
    sheet("a", Straight, "123-300\r\n456-50\r\n789-600");
    sheet("b", Straight, "123-400 781-70");
    sheet("a", TwoTop, "56-100 12-40");
    const auto settings = [&](const QString& path, const QString& text) { QVERIFY(store.WriteWholeFile(path, text)); };
    settings(store.limitFile(), "3ตัวตรง#500\r\n2ตัวบน#60\r\n");
    settings(store.numberCutFile(), "3ตัวตรง#7\r\n");
    settings(store.digitCutFile(), "3ตัวตรง#111\r\n");
    settings(store.rateFile(), "3ตัวตรง#500\r\n2ตัวบน#70\r\n");
    settings(store.discountFile(), "3ตัวตรง#10\r\n");
    settings(store.resultFile(), "123456#111#222#333#444#56#\r\n3ตัวตรง#456-\r\n2ตัวบน#56-\r\n");
    QVERIFY(saveSendOutList(store, "<3ตัวตรง>#123-10##", "monday").saved);
}

struct Run {
    int code = -1;
    QStringList out;
    QString err;
};

Run runProgram(const QString& folder, const QStringList& args)
{
    QProcess p;
    // No display at all: a batch job must not need one.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VARNOTH_PROGRAM), QStringList{"--data-folder", folder} + args);
    Run r;
    if (!p.waitForFinished(120000)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (!out.isEmpty()) r.out = out.chopped(out.endsWith('\n') ? 1 : 0).split('\n');
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

class TestBatchGui : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempBook> windowBook;
    std::unique_ptr<TempBook> batchBook;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form1> main;
    std::unique_ptr<QTemporaryDir> drive;      // what the window backs up to or restores from
    std::unique_ptr<QTemporaryDir> batchDrive; // what the program backs up to
    QString sheetFile;

    template <typename F> F* window(WindowId id) { return main->dispatch().get<F>(id); }

    void chooseDrive()
    {
        auto* form = window<Form3>(WindowId::Backup);
        QVERIFY(form);
        form->Drive1->addItem(drive->path(), drive->path());
        form->Drive1->setCurrentIndex(form->Drive1->count() - 1);
        form->Command1->click();
    }

    void saveSendOut(const QString& name)
    {
        ui(*main).Command13->click();
        auto* form = window<Form18>(WindowId::Customers);
        QVERIFY(form);
        QTest::keyClicks(form->Text1, name);
        QTest::keyClick(form->Text1, Qt::Key_Return);
    }

    // The job as the operator does it in the windows.
    void runInWindows(const QString& job)
    {
        if (job == "sheet") {
            pick(ui(*main).Combo4, "กลุ่ม");
            emit ui(*main).Combo4->activated(ui(*main).Combo4->currentIndex());
            auto* form = window<Form13>(WindowId::GroupEntry);
            QVERIFY(form);
            form->setSheet(LoadSheetFile(sheetFile)); // what file entry hands on
            pick(form->Combo1, TwoTop);
            form->Combo2->setEditText("c");
            // The book holds a drawn result: the operator says the sheet comes after it.
            QVERIFY(answerQuestion([&] { form->Command1->click(); },
                                   [](QWidget* box) { box->findChild<QPushButton*>("StoreAnyway")->click(); }));
        } else if (job == "view") {
            ui(*main).Image1->click();
        } else if (job == "search") {
            ui(*main).Command2->click();
            auto* form = window<Form6>(WindowId::View);
            QVERIFY(form);
            form->Combo1->setEditText("ทั้งหมด");
            form->Text1->setText("123");
            form->Combo2->setEditText("b");
            form->Command3->click();
        } else if (job.startsWith("overlimit")) {
            ui(*main).Command4->click();
            auto* form = window<Form9>(WindowId::OverLimit);
            QVERIFY(form);
            form->Combo1->setEditText(job.contains("all") ? "ทั้งหมด" : Straight);
            if (job.contains("keep")) form->Check1->click();
            form->Command1->click();
            if (job.contains("save")) saveSendOut("evening");
        } else if (job.startsWith("numbercut")) {
            ui(*main).Command3->click();
            auto* form = window<Form15>(WindowId::Cutting);
            QVERIFY(form);
            form->Combo1->setEditText(Straight);
            form->Command1->click();
            if (job.contains("save")) saveSendOut("cut");
        } else if (job == "prize" || job == "analysis" || job == "statistics") {
            (job == "prize" ? ui(*main).Command6 : job == "analysis" ? ui(*main).Command12 : ui(*main).Command8)->click();
            auto* form = window<Form14>(WindowId::Prize);
            QVERIFY(form);
            pick(form->Combo1, job == "statistics" ? Straight : "ทั้งหมด");
            if (job == "prize") pick(form->Combo2, "a");
            form->Command1->click();
        } else if (job == "openlist") {
            ui(*main).Command13->click();
            auto* form = window<Form18>(WindowId::Customers);
            QVERIFY(form);
            form->List1->setCurrentRow(0);
            form->Command1->click();
        } else if (job == "backup") {
            ui(*main).mBackup->trigger();
            chooseDrive();
        } else if (job == "restore") {
            ui(*main).mDownload->trigger();
            chooseDrive();
        } else if (job == "newdraw") {
            ui(*main).Image3->click();
            window<Form3>(WindowId::Backup)->Command1->click();
        } else {
            QFAIL(qPrintable("no window path for " + job));
        }
    }

private slots:
    void init()
    {
        windowBook = std::make_unique<TempBook>();
        fillBook(*windowBook->store);
        batchBook = std::make_unique<TempBook>();
        copyFolder(windowBook->folder(), batchBook->folder());
        drive = std::make_unique<QTemporaryDir>();
        batchDrive = std::make_unique<QTemporaryDir>();
        sheetFile = drive->filePath("line.txt");
        QFile sheet(sheetFile);
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.write("56-20\n12-5 99-x\n\n31+13-10\n");
        session = std::make_unique<Session>();
        main = std::make_unique<Form1>(*windowBook->store, *session);
        main->finishStartup();
        main->dispatch().setInstantGrowIn(true);
    }
    void cleanup()
    {
        main.reset();
        session.reset();
        windowBook.reset();
        batchBook.reset();
    }

    void sameAsTheWindows_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("file entry") << "sheet" << QStringList{"--enter-sheet", "SHEET", "--type",        TwoTop,
                                                              "--customer",    " C ",   "--after-result"};
        QTest::newRow("view data") << "view" << QStringList{"--view"};
        QTest::newRow("search") << "search" << QStringList{"--search", "--number", "123", "--customer", "b"};
        QTest::newRow("over-limit, one type") << "overlimit" << QStringList{"--over-limit", "--type", Straight};
        QTest::newRow("over-limit, every type, saved")
            << "overlimit all save" << QStringList{"--over-limit", "--save-list", "evening"};
        QTest::newRow("keep list") << "overlimit keep all" << QStringList{"--over-limit", "--keep"};
        QTest::newRow("number cut, saved")
            << "numbercut save" << QStringList{"--number-cut", "--type", Straight, "--save-list", "cut"};
        QTest::newRow("prize check") << "prize" << QStringList{"--prize-check", "--customer", "a"};
        QTest::newRow("analysis") << "analysis" << QStringList{"--analysis"};
        QTest::newRow("statistics") << "statistics" << QStringList{"--statistics", "--type", Straight};
        QTest::newRow("open a saved list") << "openlist" << QStringList{"--open-list", "monday"};
        QTest::newRow("backup") << "backup" << QStringList{"--backup", "BATCHDRIVE"};
        QTest::newRow("restore") << "restore" << QStringList{"--restore", "DRIVE"};
        QTest::newRow("new draw") << "newdraw" << QStringList{"--new-draw", "--confirm-new-draw"};
    }
    void sameAsTheWindows()
    {
        QFETCH(QString, job);
        QFETCH(QStringList, args);
        if (job == "restore") {
            TempBook client;
            QVERIFY(client.store->creationSequence("d").isEmpty());
            SplitSheet(*client.store, "123-5 456-7", Straight, "d");
            QCOMPARE(runBackup(*client.store, drive->path()).value(0), QString("การสำรองข้อมูลเสร็จสิ้นแล้ว"));
        }
        args.replaceInStrings("BATCHDRIVE", batchDrive->path()).replaceInStrings("DRIVE", drive->path());
        args.replaceInStrings("SHEET", sheetFile);

        runInWindows(job);
        QStringList shown = listLines(ui(*main).List1);
        const Run run = runProgram(batchBook->folder(), args);

        QCOMPARE(run.code, BatchRan);
        QCOMPARE(run.err, QString());
        if (job == "newdraw") {
            // Each book's copy is beside its own data folder.
            QVERIFY(!shown.isEmpty() && !run.out.isEmpty());
            QVERIFY(shown.first().startsWith(DrawCopiedText + QDir::toNativeSeparators(windowBook->dir.path())));
            QVERIFY(run.out.first().startsWith(DrawCopiedText + QDir::toNativeSeparators(batchBook->dir.path())));
            QCOMPARE(bookBytes(run.out.first().mid(DrawCopiedText.size())),
                     bookBytes(shown.first().mid(DrawCopiedText.size())));
            shown.first() = run.out.first();
        }
        QCOMPARE(run.out, shown);
        QVERIFY(!shown.isEmpty());
        QCOMPARE(bookBytes(batchBook->folder()), bookBytes(windowBook->folder()));
        if (job == "backup")
            QCOMPARE(bookBytes(batchDrive->filePath(BackupFolderName)), bookBytes(drive->filePath(BackupFolderName)));
    }

    // Every one of these leaves the book as it was.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shown"); // a line standard output holds, or "" for none at all
        QTest::newRow("unknown type") << QStringList{"--over-limit", "--type", "9ตัว"} << BatchUsageError << "";
        QTest::newRow("two jobs") << QStringList{"--view", "--analysis"} << BatchUsageError << "";
        QTest::newRow("option the job does not take") << QStringList{"--view", "--keep"} << BatchUsageError << "";
        QTest::newRow("no job") << QStringList{"--type", Straight} << BatchUsageError << "";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << BatchUsageError << "";
        QTest::newRow("all is no customer")
            << QStringList{"--enter-sheet", "x.txt", "--type", Straight, "--customer", "ทั้งหมด"} << BatchUsageError
            << "";
        QTest::newRow("missing sheet file")
            << QStringList{"--enter-sheet", "/nonexistent/x.txt", "--type", Straight, "--customer", "a"} << BatchRefused
            << "";
        QTest::newRow("sheet too long for group entry")
            << QStringList{"--enter-sheet", "LONGSHEET", "--type", Straight, "--customer", "a"} << BatchRefused << "";
        QTest::newRow("new draw unconfirmed") << QStringList{"--new-draw"} << BatchRefused << "";
        QTest::newRow("nothing to save") << QStringList{"--number-cut", "--type", TwoTop, "--save-list", "x"}
                                         << BatchRefused << "ยังไม่ได้ตั้งค่าคัดเลข";
        QTest::newRow("name saved already")
            << QStringList{"--over-limit", "--save-list", "monday"} << BatchRefused << "เกินอั้นส่งออก";
        QTest::newRow("unsafe name") << QStringList{"--over-limit", "--save-list", "../x"} << BatchRefused
                                     << UnsafeNameText;
        QTest::newRow("no such saved list") << QStringList{"--open-list", "sunday"} << BatchRefused << "";
        QTest::newRow("no backup on the drive") << QStringList{"--restore", "DRIVE"} << BatchRefused << NoBackupText;
        // The book holds a drawn result: a bet now needs --after-result, and not even the customer is added.
        QTest::newRow("sheet after the result")
            << QStringList{"--enter-sheet", "SHEET", "--type", TwoTop, "--customer", "newman"} << BatchRefused << "";
        QTest::newRow("chat after the result")
            << QStringList{"--enter-chat", "CHAT", "--type", TwoTop, "--customer", "newman"} << BatchRefused << "";
        QTest::newRow("after-result on another job")
            << QStringList{"--view", "--after-result"} << BatchUsageError << "";
    }
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, shown);
        args.replaceInStrings("DRIVE", batchDrive->path()).replaceInStrings("SHEET", sheetFile);
        if (args.contains("CHAT")) {
            QFile chat(batchDrive->filePath("chat.txt"));
            QVERIFY(chat.open(QIODevice::WriteOnly));
            chat.write("45=100\n");
            args.replaceInStrings("CHAT", chat.fileName());
        }
        if (args.contains("LONGSHEET")) {
            QFile sheet(batchDrive->filePath("long.txt"));
            QVERIFY(sheet.open(QIODevice::WriteOnly));
            sheet.write(QByteArray("123-1\r\n").repeated(BatchSheetLimit / 7 + 1));
            args.replaceInStrings("LONGSHEET", sheet.fileName());
        }
        const Files before = bookBytes(batchBook->folder());
        const Run run = runProgram(batchBook->folder(), args);
        QCOMPARE(run.code, code);
        QVERIFY(!run.err.isEmpty());
        if (shown.isEmpty())
            QCOMPARE(run.out, QStringList());
        else
            QVERIFY2(run.out.join('\n').contains(shown), qPrintable(run.out.join('|')));
        QCOMPARE(bookBytes(batchBook->folder()), before);
    }

    void secondRestoreOfTheSameBackupIsRefused()
    {
        QCOMPARE(runProgram(batchBook->folder(), {"--backup", drive->path()}).code, BatchRan);
        QTemporaryDir other;
        QCOMPARE(runProgram(other.path(), {"--restore", drive->path()}).code, BatchRan);
        const Files once = bookBytes(other.path());
        const Run again = runProgram(other.path(), {"--restore", drive->path()});
        QCOMPARE(again.code, BatchRefused);
        QVERIFY(again.out.contains(AlreadyMergedText));
        QCOMPARE(bookBytes(other.path()), once);
    }

    // The book's own backup doubles it while it holds stakes; after a new draw it brings it back.
    void ownBackupIsRestoredOnlyIntoAnEmptyBook()
    {
        QCOMPARE(runProgram(batchBook->folder(), {"--backup", drive->path()}).code, BatchRan);
        const Files kept = bookBytes(batchBook->folder());
        const Run refused = runProgram(batchBook->folder(), {"--restore", drive->path()});
        QCOMPARE(refused.code, BatchRefused);
        QVERIFY(refused.out.contains(OwnBackupText));
        QVERIFY(!refused.err.isEmpty());
        QCOMPARE(bookBytes(batchBook->folder()), kept);

        const Run draw = runProgram(batchBook->folder(), {"--new-draw", "--confirm-new-draw"});
        QCOMPARE(draw.code, BatchRan);
        QCOMPARE(bookBytes(draw.out.value(0).mid(DrawCopiedText.size())), kept);
        QCOMPARE(runProgram(batchBook->folder(), {"--restore", drive->path()}).code, BatchRan);
        static const QRegularExpression stakesAndCounts("^(\\d+_\\d+|a-_\\d+|custom)\\.gif$");
        const Files back = bookBytes(batchBook->folder());
        for (auto it = kept.cbegin(); it != kept.cend(); ++it)
            if (stakesAndCounts.match(it.key()).hasMatch()) QCOMPARE(back.value(it.key()), it.value());
    }

    void newDrawWithoutACopyDeletesNothing()
    {
        QFile inTheWay(batchBook->dir.path() + "/draws");
        QVERIFY(inTheWay.open(QIODevice::WriteOnly));
        inTheWay.close();
        const Files before = bookBytes(batchBook->folder());
        const Run run = runProgram(batchBook->folder(), {"--new-draw", "--confirm-new-draw"});
        QCOMPARE(run.code, BatchRefused);
        QCOMPARE(run.out, QStringList{DrawCopyFailedText + QDir::toNativeSeparators(inTheWay.fileName())});
        QCOMPARE(bookBytes(batchBook->folder()), before);
    }

    void unreadableFileFailsTheJob()
    {
        // The stake file that customer "c" (the third) gets on the first type is in the way.
        QVERIFY(QDir(batchBook->folder()).mkdir("0_3.gif"));
        const Run run = runProgram(
            batchBook->folder(), {"--enter-sheet", sheetFile, "--type", Straight, "--customer", "c", "--after-result"});
        QCOMPARE(run.code, BatchRefused);
        const QStringList failures = run.out.filter("0_3.gif");
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures.first() == WriteFailedText + "0_3.gif" || failures.first() == ReadFailedText + "0_3.gif");
        QVERIFY(run.err.contains(failures.first()));
    }

    // A bet above the ceiling waits for the operator: the job stores the rest and fails; a line that
    // lost its line breaks is rejected whole, as the windows reject it.
    void sheetWithRunOnAndOverCeilingLines()
    {
        QFile sheet(drive->filePath("runon.txt"));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.write("554-100358+6-10\r\n123-100001\r\n456-100000\r\n");
        sheet.close();
        const Run run = runProgram(batchBook->folder(), {"--enter-sheet", sheet.fileName(), "--type", Straight,
                                                         "--customer", "c", "--after-result"});
        QCOMPARE(run.code, BatchRefused);
        // 456 is then above the type's limit of 500.
        QCOMPARE(run.out, (QStringList{"<3ตัวตรง> <c>", "พร้อมรับข้อมูล", "554-100358+6-10 ข้อมูลผิดพลาด ให้คีย์ใหม่",
                                       "123-100001 เกินยอดสูงสุด", "456-100000 เกินอั้น"}));
        QVERIFY2(run.err.contains("1 bet(s) above the amount ceiling of 100000"), qPrintable(run.err));
        const QString stakes = QString::fromLatin1(bookBytes(batchBook->folder()).value("0_3.gif"));
        QVERIFY(stakes.contains("\r\n456-100000\r\n"));
        QVERIFY(stakes.contains("\r\n123-0\r\n") && stakes.contains("\r\n554-0\r\n"));
    }

    // With --after-result the job stores the sheet (without it, see refusals), and each of its bets is
    // marked in the audit log, which `--audit --after-result` lists.
    void betsAfterTheResultAreStoredWhenAsked()
    {
        Run run = runProgram(batchBook->folder(),
                             {"--enter-sheet", sheetFile, "--type", TwoTop, "--customer", "c", "--after-result"});
        QCOMPARE(run.code, BatchRan);
        const qsizetype stored = run.out.filter(QRegularExpression("^\\d+-\\d+( |$)")).size();
        QVERIFY(stored > 0);
        run = runProgram(batchBook->folder(), {"--audit", "--after-result"});
        QCOMPARE(run.code, BatchRan);
        QCOMPARE(run.out.size(), stored);
        QCOMPARE(run.out.filter("\t" + AuditAfterResultText).size(), stored);
    }

    void folderInUseIsRefused()
    {
        QLockFile lock(QDir(batchBook->folder()).filePath(LockFileName));
        QVERIFY(lock.tryLock(0));
        const Files before = bookBytes(batchBook->folder());
        const Run run = runProgram(batchBook->folder(), {"--new-draw", "--confirm-new-draw"});
        QCOMPARE(run.code, BatchRefused);
        QCOMPARE(run.out, QStringList());
        QVERIFY(run.err.contains(AlreadyRunningText));
        QCOMPARE(bookBytes(batchBook->folder()), before);
    }
};

QTEST_MAIN(TestBatchGui)
#include "tst_batch_gui.moc"
