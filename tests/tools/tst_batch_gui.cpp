// Batch jobs against the windows: the same job on two identical books, one through the real windows and
// one through the built program, must show the same lines and leave the same bytes behind.
#include "accounts/accounttexts.h"
#include "accounts/customerrates.h"
#include "accounts/drawhistory.h"
#include "accounts/payments.h"
#include "app/BillPainter.h"
#include "app/batch.h"
#include "audit/auditlog.h"
#include "audit/auditread.h"
#include "audit/audittexts.h"
#include "core/model/nametexts.h"
#include "entry/sheet.h"
#include "gui/main/Form1.h"
#include "gui/main/Form13.h"
#include "gui/main/session.h"
#include "gui/reports/Form14.h"
#include "gui/reports/Form15.h"
#include "gui/reports/Form6.h"
#include "gui/reports/Form9.h"
#include "gui/settings/Form18.h"
#include "gui/tools/Form3.h"
#include "guisupport.h"
#include "mainui.h"
#include "settings/history.h"
#include "settings/numberruletexts.h"
#include "settings/options.h"
#include "storage/folder/datafolder.h"
#include "testsupport.h"
#include "tools/backup.h"
#include "tools/backuptexts.h"
#include "tools/fullbackup.h"
#include "tools/newdraw.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace varnoth;
using namespace varnoth::test;
using namespace Qt::StringLiterals;

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

// What a listing of the folder shows of every entry, hidden ones included: name, size and the time
// it was last changed.
QStringList folderListing(const QString& folder)
{
    QStringList entries;
    const QDir dir(folder);
    for (const QFileInfo& f :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        entries << f.fileName() + ' ' + QString::number(f.size()) + ' ' +
                       QString::number(f.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch());
    return entries;
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
            (job == "prize"      ? ui(*main).Command6
             : job == "analysis" ? ui(*main).Command12
                                 : ui(*main).Command8)
                ->click();
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
        main = std::make_unique<MainWindow>(*windowBook->store, *session);
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

        // The sheet's "99-x" is rejected: the job stores the rest, says so and fails.
        if (job == "sheet") {
            QCOMPARE(run.code, BatchRefused);
            QVERIFY2(run.err.startsWith("varnoth: 1 line(s) or bet(s) were rejected") && run.err.count('\n') == 1,
                     qPrintable(run.err));
        } else {
            QCOMPARE(run.code, BatchRan);
            QCOMPARE(run.err, QString());
        }
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
        // b owes 423: more needs --overpay, which goes with --pay alone.
        QTest::newRow("pay more than is due") << QStringList{"--pay", "1000", "--customer", "b"} << BatchRefused
                                              << MoreThanDueText + "ลูกค้าต้องจ่าย 423.00 บาท";
        QTest::newRow("overpay without pay") << QStringList{"--view", "--overpay"} << BatchUsageError << "";
        QTest::newRow("no full backup on the drive")
            << QStringList{"--full-restore", "DRIVE"} << BatchRefused << NoFullBackupText;
        // The book holds a drawn result: a bet now needs --after-result, and not even the customer is added.
        QTest::newRow("sheet after the result")
            << QStringList{"--enter-sheet", "SHEET", "--type", TwoTop, "--customer", "newman"} << BatchRefused << "";
        QTest::newRow("chat after the result")
            << QStringList{"--enter-chat", "CHAT", "--type", TwoTop, "--customer", "newman"} << BatchRefused << "";
        QTest::newRow("after-result on another job")
            << QStringList{"--view", "--after-result"} << BatchUsageError << "";
        QTest::newRow("allow-large on another job") << QStringList{"--view", "--allow-large"} << BatchUsageError << "";
        QTest::newRow("allow-many-customers on another job")
            << QStringList{"--backup", "DRIVE", "--allow-many-customers"} << BatchUsageError << "";
        QTest::newRow("payout rate beyond 6 digits")
            << QStringList{"--set-rate", "--type", Straight, "--customer", "a", "--payout", "99999999999999999999"}
            << BatchUsageError << "";
        QTest::newRow("limit beyond 12 digits")
            << QStringList{"--set-rule", Straight, "123", "limit", "1000000000000"} << BatchRefused << "";
    }

    // A customer name the book cannot take stores nothing on any path: no customer, no bet, no
    // rate, no payment, no restored record; the job says why in Thai and fails.
    void refusedCustomerNamesStoreNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("shown");
        const auto sheet = [](const QString& customer) {
            return QStringList{"--enter-sheet", "SHEET", "--type", TwoTop, "--customer", customer, "--after-result"};
        };
        QTest::newRow("sheet, Chinese") << sheet(u"李"_s) << NameUnwritableText + u"李"_s;
        QTest::newRow("sheet, emoji behind a zero-width space")
            << sheet(u"a\u200B\U0001F600"_s) << NameUnwritableText + u"\U0001F600"_s;
        QTest::newRow("sheet, full-width letter") << sheet(u"ａ"_s) << NameUnwritableText + u"ａ"_s;
        QTest::newRow("sheet, control character") << sheet(u"a\u0007"_s) << NameControlText + u"U+0007"_s;
        QTest::newRow("chat, Chinese") << QStringList{"--enter-chat", "CHAT",  "--type",        TwoTop,
                                                      "--customer",   u"李"_s, "--after-result"}
                                       << NameUnwritableText + u"李"_s;
        QTest::newRow("own rate, Chinese")
            << QStringList{"--set-rate", "--customer", u"李"_s, "--type", Straight, "--payout", "600"}
            << NameUnwritableText + u"李"_s;
        QTest::newRow("payment, full-width letter")
            << QStringList{"--pay", "10", "--customer", u"ｂ"_s} << NameUnwritableText + u"ｂ"_s;
        QTest::newRow("restore, all-customers heading")
            << QStringList{"--restore", "BACKUP:3ตัวตรง#ทั้งหมด"} << NameAllChoiceText;
        QTest::newRow("restore, control character in a heading")
            << QStringList{"--restore", "BACKUP:2ตัวบน#a\tb"} << NameControlText + u"U+0009"_s;
    }
    void refusedCustomerNamesStoreNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, shown);
        QFile sheet(batchDrive->filePath("sheet.txt"));
        QVERIFY(sheet.open(QIODevice::WriteOnly) && sheet.write("12-5\r\n") > 0);
        sheet.close();
        QFile chat(batchDrive->filePath("chat.txt"));
        QVERIFY(chat.open(QIODevice::WriteOnly) && chat.write("45=100\n") > 0);
        chat.close();
        args.replaceInStrings("SHEET", sheet.fileName()).replaceInStrings("CHAT", chat.fileName());
        if (args.last().startsWith("BACKUP:")) {
            // A backup from another computer whose only heading names a customer the book cannot take.
            QVERIFY(QDir().mkpath(backupFolderPath(batchDrive->path())));
            QFile backup(backupFilePath(batchDrive->path()));
            QVERIFY(backup.open(QIODevice::WriteOnly));
            QVERIFY(backup.write(cp874(args.last().mid(7) + "\r\n12-100\r\n123-100\r\n")) > 0);
            backup.close();
            args.last() = batchDrive->path();
        }
        const Files before = bookBytes(batchBook->folder());
        const Run run = runProgram(batchBook->folder(), args);
        QCOMPARE(run.code, BatchRefused);
        QVERIFY2(run.out.contains(shown), qPrintable(run.out.join('|')));
        QCOMPARE(bookBytes(batchBook->folder()), before);
    }

    // Invisible characters in a name (pasted from a chat) are no part of it: the bet, the own rate
    // and the payment go to the customer the name shows, and the customer list stays as it was.
    void invisibleCharactersInANameFindTheCustomer()
    {
        const QString folder = batchBook->folder();
        const QByteArray list = bookBytes(folder).value("custom.gif");
        QFile sheet(batchDrive->filePath("sheet.txt"));
        QVERIFY(sheet.open(QIODevice::WriteOnly) && sheet.write("12-5\r\n") > 0);
        sheet.close();
        const Run bet = runProgram(folder, {"--enter-sheet", sheet.fileName(), "--type", TwoTop, "--customer",
                                            u"a\u200B"_s, "--after-result"});
        QCOMPARE(bet.code, BatchRan);
        // a is the first customer: his two-top stake file is 3_1.gif, where 12 held 40.
        QVERIFY(bookBytes(folder).value("3_1.gif").contains("\r\n12-45\r\n"));
        const Run rate =
            runProgram(folder, {"--set-rate", "--customer", u"\u202Ea\u202C"_s, "--type", Straight, "--payout", "600"});
        QCOMPARE(rate.code, BatchRan);
        QVERIFY(bookBytes(folder).value(CustomerRatesFileName).startsWith("a#" + cp874(Straight) + "#600#"));
        const Run paid = runProgram(folder, {"--pay", "10", "--customer", u"\uFEFFb\u00AD"_s});
        QCOMPARE(paid.code, BatchRan);
        QVERIFY(bookBytes(folder).value(PaymentsFileName).startsWith("b#10#"));
        QCOMPARE(bookBytes(folder).value("custom.gif"), list);
    }

    // A customer list edited by hand to name "a" again: his stakes still show, the job says which
    // name stands twice, and the list is left as it was.
    void aNameListedTwiceIsSaidAndKeepsItsStakes_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("said");
        QTest::newRow("each once") << QByteArray("#a#b#\r\n") << QString();
        QTest::newRow("a twice") << QByteArray("#a#b#a#\r\n") << NameListedTwiceText + "a";
    }
    void aNameListedTwiceIsSaidAndKeepsItsStakes()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, said);
        const QString folder = batchBook->folder();
        QFile file(QDir(folder).filePath("custom.gif"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(list) == list.size());
        file.close();
        for (const QStringList& job : {QStringList{"--view"}, QStringList{"--search", "--customer", "a"}}) {
            const Run run = runProgram(folder, job);
            QCOMPARE(run.code, BatchRan);
            QVERIFY2(run.out.contains("56-100") && run.out.contains("12-40"), qPrintable(run.out.join('\n')));
            QCOMPARE(run.err.contains(NameListedTwiceText), !said.isEmpty());
            if (!said.isEmpty()) QVERIFY(run.err.contains(said + '\n'));
        }
        QCOMPARE(bookBytes(folder).value("custom.gif"), list);
    }

    // With --overpay the same payment is recorded, and the account turns round.
    void overpayIsRecordedWhenAsked()
    {
        const Run run = runProgram(batchBook->folder(), {"--pay", "1000", "--customer", "b", "--overpay"});
        QCOMPARE(run.code, BatchRan);
        QCOMPARE(run.out, QStringList{"รับชำระจาก b 1,000.00 บาท"});
        QVERIFY(bookBytes(batchBook->folder()).value(PaymentsFileName).startsWith("b#1000#"));
        const Run owed = runProgram(batchBook->folder(), {"--owed"});
        QVERIFY(owed.out.contains("<b> เจ้ามือต้องจ่าย 577.00 บาท ตั้งแต่ งวดนี้"));
    }

    // One bad line in the payments or own-rates file: the other lines still count, the damage is
    // named with its line number, and a balance it leaves unknown is not printed. The owed list and
    // the bill fail alike.
    void damagedAccountsFileFailsOwedAndBill_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");
        QTest::newRow("payments") << PaymentsFileName << "b#100#2026-12-09 10:00:00\r\na#3O#2026-12-09 10:05:00\r\n";
        QTest::newRow("own rates") << CustomerRatesFileName << "b#3ตัวตรง##20\r\na#3ตัวตรง#5OO#\r\n";
    }
    void damagedAccountsFileFailsOwedAndBill()
    {
        QFETCH(QString, file);
        QFETCH(QString, content);
        QFile f(QDir(batchBook->folder()).filePath(file));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(cp874(content)) == cp874(content).size());
        f.close();
        const QString damaged =
            DamagedFileText + QDir::toNativeSeparators(f.fileName()) + DamagedLinesText + QStringLiteral("2");
        // b's good line counts: 423 less 100 paid, or 470 less his own 20%.
        const QString bOwes = file == PaymentsFileName ? "323.00" : "376.00";

        const Run owed = runProgram(batchBook->folder(), {"--owed"});
        QCOMPARE(owed.code, BatchRefused);
        QVERIFY2(owed.err.contains(damaged), qPrintable(owed.err));
        QCOMPARE(owed.out,
                 QStringList({OwedTitle, damaged, "<a> " + OwedTitle + " " + UnknownDueText,
                              "<b> ลูกค้าต้องจ่าย " + bOwes + " บาท ตั้งแต่ งวดนี้", UnknownTotalText + "a", Separator}));

        const Run a = runProgram(batchBook->folder(), {"--bill", "--customer", "a"});
        QCOMPARE(a.code, BatchRefused);
        QVERIFY(a.out.contains(damaged) && a.out.contains(TotalDueText + UnknownDueText));
        QVERIFY(a.out.filter("ต้องจ่าย").isEmpty());
        const Run b = runProgram(batchBook->folder(), {"--bill", "--customer", "b"});
        QCOMPARE(b.code, BatchRefused);
        QVERIFY(b.err.contains(damaged));
        QVERIFY(b.out.contains(TotalDueText + "ลูกค้าต้องจ่าย " + bOwes + " บาท"));

        // Kept in a past draw, the damage still leaves a's balance unknown, and fails the list of past
        // draws too, whose profit is unknown where the rates are damaged.
        QCOMPARE(runProgram(batchBook->folder(), {"--new-draw", "--confirm-new-draw"}).code, BatchRan);
        const Run later = runProgram(batchBook->folder(), {"--owed"});
        QCOMPARE(later.code, BatchRefused);
        QVERIFY(later.out.contains("<a> " + OwedTitle + " " + UnknownDueText));
        QCOMPARE(later.out.filter("<b> ลูกค้าต้องจ่าย " + bOwes + " บาท ตั้งแต่ ").size(), 1);
        const Run draws = runProgram(batchBook->folder(), {"--draws"});
        QCOMPARE(draws.code, BatchRefused);
        QCOMPARE(draws.out.first().endsWith(UnknownDueText), file == CustomerRatesFileName);
    }

    // Two books in one parent folder: each new draw keeps its copy under its own book's name, and
    // each book lists and owes over its own past only.
    void twoBooksInOneParentKeepTheirOwnPast()
    {
        const QString second = batchBook->dir.filePath("shop_2");
        QVERIFY(QDir().mkpath(second));
        copyFolder(batchBook->folder(), second);
        QCOMPARE(runProgram(batchBook->folder(), {"--new-draw", "--confirm-new-draw"}).code, BatchRan);
        QCOMPARE(runProgram(second, {"--pay", "all", "--customer", "b"}).code, BatchRan);
        QCOMPARE(runProgram(second, {"--new-draw", "--confirm-new-draw"}).code, BatchRan);

        const Run first = runProgram(batchBook->folder(), {"--draws"});
        const Run other = runProgram(second, {"--draws"});
        QCOMPARE(first.out.size(), 1);
        QCOMPARE(other.out.size(), 1);
        QVERIFY2(first.out.first().startsWith("picture_1_"), qPrintable(first.out.first()));
        QVERIFY2(other.out.first().startsWith("shop_2_"), qPrintable(other.out.first()));
        // b paid in the second book only: he owes in the first, not in the second.
        QVERIFY(runProgram(batchBook->folder(), {"--owed"})
                    .out.contains("<b> ลูกค้าต้องจ่าย 423.00 บาท ตั้งแต่ " + first.out.first().section("  ", 1, 1)));
        QVERIFY(runProgram(second, {"--owed"}).out.filter("<b>").isEmpty());
    }

    // A rule on every order of the digits that opens closed numbers says so, with the rule that now
    // holds on each number.
    void permutationRuleThatReopensSaysSo()
    {
        QCOMPARE(runProgram(batchBook->folder(), {"--set-rule", Straight, "123", "closed", "--permutations"}).code,
                 BatchRan);
        const Run run =
            runProgram(batchBook->folder(), {"--set-rule", Straight, "213", "limit", "500", "--permutations"});
        QCOMPARE(run.code, BatchRan);
        QVERIFY2(run.out.contains(ReopenedNumbersText + "213, 132, 231, 312, 321"), qPrintable(run.out.join('|')));
        QVERIFY(run.out.contains("123: 123 ปิด กลับ"));
        QVERIFY(run.out.contains("321: 213 อั้น 500 กลับ"));
        QVERIFY(run.err.contains("213, 132, 231, 312, 321"));
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

    // A job that only reads, or is refused, leaves the data folder as it was, also on a book that has
    // no audit log yet (this one was written without the program).
    void readingAndRefusedJobsChangeNoFile_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("view") << QStringList{"--view"} << BatchRan;
        QTest::newRow("search") << QStringList{"--search", "--number", "123"} << BatchRan;
        QTest::newRow("over-limit") << QStringList{"--over-limit"} << BatchRan;
        QTest::newRow("keep list") << QStringList{"--over-limit", "--keep", "--type", Straight} << BatchRan;
        QTest::newRow("number cut") << QStringList{"--number-cut"} << BatchRan;
        QTest::newRow("prize check") << QStringList{"--prize-check"} << BatchRan;
        QTest::newRow("analysis") << QStringList{"--analysis"} << BatchRan;
        QTest::newRow("statistics") << QStringList{"--statistics", "--type", TwoTop} << BatchRan;
        QTest::newRow("open a saved list") << QStringList{"--open-list", "monday"} << BatchRan;
        QTest::newRow("rules") << QStringList{"--rules"} << BatchRan;
        QTest::newRow("bills") << QStringList{"--bill"} << BatchRan;
        QTest::newRow("owed") << QStringList{"--owed"} << BatchRan;
        QTest::newRow("past draws") << QStringList{"--draws"} << BatchRan;
        QTest::newRow("audit log") << QStringList{"--audit"} << BatchRan;
        // The book holds stakes, so a log that is not there is reported.
        QTest::newRow("audit check") << QStringList{"--audit", "--verify"} << BatchRefused;
        QTest::newRow("new draw unconfirmed") << QStringList{"--new-draw"} << BatchRefused;
        QTest::newRow("no backup on the drive") << QStringList{"--restore", "DRIVE"} << BatchRefused;
        QTest::newRow("no such saved list") << QStringList{"--open-list", "sunday"} << BatchRefused;
    }
    void readingAndRefusedJobsChangeNoFile()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        args.replaceInStrings("DRIVE", batchDrive->path());
        QVERIFY(!QFile::exists(QDir(batchBook->folder()).filePath(AuditLogFileName)));
        const QStringList before = folderListing(batchBook->folder());
        QTest::qWait(20); // a file written now would show a later time
        const Run run = runProgram(batchBook->folder(), args);
        QCOMPARE(run.code, code);
        QCOMPARE(folderListing(batchBook->folder()), before);
    }

    void auditCheckOfABookWithoutItsLog()
    {
        const Run missing = runProgram(batchBook->folder(), {"--audit", "--verify"});
        QCOMPARE(missing.code, BatchRefused);
        // The verdict, then every stake the missing log does not account for.
        QCOMPARE(missing.out.value(0), AuditMissingLogText);
        QVERIFY(missing.out.contains(ReplayDifferencesText.arg(missing.out.size() - 2)));
        QVERIFY(missing.err.contains("missing"));
        // A new book has no history and nothing that needs one.
        QTemporaryDir fresh;
        const Run none = runProgram(fresh.path(), {"--audit", "--verify"});
        QCOMPARE(none.code, BatchRan);
        QCOMPARE(none.out, (QStringList{AuditNoLogText, ReplaySameText}));
        QCOMPARE(folderListing(fresh.path()), QStringList());
    }

    // The send-out record keeps its meaning when its first line is not a plain number line: what was
    // sent is still taken off, and a saved list adds to the numbers' own lines.
    void overLimitWithAHandEditedSendOutFile_data()
    {
        QTest::addColumn<QString>("head");
        QTest::newRow("blank before the number") << " 00-0";
        QTest::newRow("blank after the number") << "00 -0";
        QTest::newRow("tab") << "\t00-0";
        QTest::newRow("a line of blanks first") << "   \r\n00-0";
        QTest::newRow("a word first") << "ยอดส่ง\r\n00-0";
    }
    void overLimitWithAHandEditedSendOutFile()
    {
        QFETCH(QString, head);
        QTemporaryDir dir;
        const QString folder = dir.filePath("picture_1");
        const QString sheet = dir.filePath("bets.txt");
        QFile bets(sheet);
        QVERIFY(bets.open(QIODevice::WriteOnly));
        bets.write("13-50\r\n14-50\r\n");
        bets.close();
        QCOMPARE(runProgram(folder, {"--enter-sheet", sheet, "--type", TwoTop, "--customer", "a"}).code, BatchRan);
        Store store(folder);
        QVERIFY(store.WriteWholeFile(store.limitFile(), "2ตัวบน#10"));
        const QStringList over = {"เกินอั้นส่งออก",       "<2ตัวบน>",           "13-40",  "14-40",
                                  "รวมเลข= 2 รายการ", "รวมเงิน= 80.00 บาท", Separator};
        QCOMPARE(runProgram(folder, {"--over-limit", "--type", TwoTop}).out, over);

        const QString sent = store.path("b_3.gif");
        const QString text = store.ReadWholeFile(sent);
        QVERIFY(text.startsWith("00-0\r\n"));
        QVERIFY(store.WriteWholeFile(sent, head + text.mid(4).chopped(2)));
        QCOMPARE(runProgram(folder, {"--over-limit", "--type", TwoTop}).out, over);
        QCOMPARE(runProgram(folder, {"--over-limit", "--save-list", "evening"}).code, BatchRan);
        const QString saved = store.ReadWholeFile(sent);
        QVERIFY(saved.startsWith(head + "\r\n01-0\r\n"));
        QVERIFY(saved.contains("\r\n13-40\r\n14-40\r\n"));
        QCOMPARE(runProgram(folder, {"--over-limit", "--type", TwoTop}).out,
                 (QStringList{"เกินอั้นส่งออก", "<2ตัวบน>", "ไม่มีข้อมูลเกินอั้น"}));
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

    // A restored record above the ceiling times its number's count is stored when the window's
    // question is answered yes or the job has --allow-large, and listed and left out otherwise: the
    // window and the job leave the same book.
    void restoreAboveTheCeilingWaitsForTheOperator_data()
    {
        QTest::addColumn<bool>("allowed");
        QTest::newRow("stored when allowed") << true;
        QTest::newRow("left out otherwise") << false;
    }
    void restoreAboveTheCeilingWaitsForTheOperator()
    {
        QFETCH(bool, allowed);
        QDir().mkpath(backupFolderPath(drive->path()));
        QFile backup(backupFilePath(drive->path()));
        QVERIFY(backup.open(QIODevice::WriteOnly));
        backup.write(cp874("3ตัวตรง#c\r\n124-100001\r\n125-50\r\n3ตัวตรง#\r\n125-1\r\n"));
        backup.close();
        // The record's row: left out, it says so; stored, it may carry the marks of the book's limits.
        const auto rowOf = [&](const QStringList& lines) {
            const QStringList rows = lines.filter(QRegularExpression("^124-100001( |$)"));
            QCOMPARE(rows.size(), 1);
            QCOMPARE(rows[0].endsWith(AboveCeilingText), !allowed);
        };

        ui(*main).mDownload->trigger();
        const bool asked =
            answerQuestion([&] { chooseDrive(); },
                           [&](QWidget* box) {
                               QCOMPARE(box->objectName(), QString("AboveCeilingBox"));
                               box->findChild<QPushButton*>(allowed ? "StoreAnyway" : "DoNotStore")->click();
                           });
        QVERIFY(asked);
        rowOf(listLines(ui(*main).List1));

        QStringList args{"--restore", drive->path()};
        if (allowed) args << "--allow-large";
        const Run run = runProgram(batchBook->folder(), args);
        QCOMPARE(run.code, allowed ? BatchRan : BatchRefused);
        rowOf(run.out);
        QCOMPARE(run.err.contains("--allow-large"), !allowed);
        QCOMPARE(bookBytes(batchBook->folder()), bookBytes(windowBook->folder()));
        const QString stakes = QString::fromLatin1(bookBytes(batchBook->folder()).value("0_3.gif"));
        QVERIFY(stakes.contains(allowed ? "\r\n124-100001\r\n" : "\r\n124-0\r\n"));
        QVERIFY(stakes.contains("\r\n125-50\r\n"));
    }

    // A backup bringing more than a hundred new customers is added when the window's question is
    // answered yes or the job has --allow-many-customers; otherwise nothing of it is written, and the
    // window and the job leave the same book.
    void restoreOfManyCustomersWaitsForTheOperator_data()
    {
        QTest::addColumn<bool>("allowed");
        QTest::newRow("added when allowed") << true;
        QTest::newRow("nothing written otherwise") << false;
    }
    void restoreOfManyCustomersWaitsForTheOperator()
    {
        QFETCH(bool, allowed);
        QDir().mkpath(backupFolderPath(drive->path()));
        QFile backup(backupFilePath(drive->path()));
        QVERIFY(backup.open(QIODevice::WriteOnly));
        for (int c = 0; c < 101; ++c)
            backup.write(cp874(Straight + QString("#new%1\r\n125-50\r\n").arg(c)));
        backup.close();
        const Files before = bookBytes(batchBook->folder());

        ui(*main).mDownload->trigger();
        const bool asked =
            answerQuestion([&] { chooseDrive(); },
                           [&](QWidget* box) {
                               QCOMPARE(box->objectName(), QString("ManyCustomersBox"));
                               box->findChild<QPushButton*>(allowed ? "StoreAnyway" : "DoNotStore")->click();
                           });
        QVERIFY(asked);
        QCOMPARE(listLines(ui(*main).List1).contains(ManyCustomersRefusedText.arg("101", "100")), !allowed);

        QStringList args{"--restore", drive->path()};
        if (allowed) args << "--allow-many-customers";
        const Run run = runProgram(batchBook->folder(), args);
        QCOMPARE(run.code, allowed ? BatchRan : BatchRefused);
        QCOMPARE(run.err.contains("--allow-many-customers"), !allowed);
        QCOMPARE(bookBytes(batchBook->folder()), bookBytes(windowBook->folder()));
        if (allowed)
            QVERIFY(QString::fromUtf8(bookBytes(batchBook->folder()).value("custom.gif")).contains("#new100#"));
        else
            QCOMPARE(bookBytes(batchBook->folder()), before);
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
        // The copy holds the book, and the head of its log beside it.
        Files copy = bookBytes(draw.out.value(0).mid(DrawCopiedText.size()));
        QVERIFY(copy.remove(AuditAnchorFileName) == 1);
        QCOMPARE(copy, kept);
        QCOMPARE(runProgram(batchBook->folder(), {"--restore", drive->path()}).code, BatchRan);
        static const QRegularExpression stakesAndCounts("^(\\d+_\\d+|a-_\\d+|custom)\\.gif$");
        const Files back = bookBytes(batchBook->folder());
        for (auto it = kept.cbegin(); it != kept.cend(); ++it)
            if (stakesAndCounts.match(it.key()).hasMatch()) QCOMPARE(back.value(it.key()), it.value());
    }

    // A full backup brought back on another computer is the same book: the same accounts over every
    // draw, the same files, an audit log that still checks; and it never goes into a book with data.
    void fullBackupBringsTheAccountsBack()
    {
        const QString book = batchBook->folder();
        QCOMPARE(runProgram(book, {"--pay", "50", "--customer", "a"}).code, BatchRan);
        QCOMPARE(runProgram(book, {"--new-draw", "--confirm-new-draw"}).code, BatchRan);
        QVERIFY(batchBook->store->creationSequence("b").isEmpty());
        SplitSheet(*batchBook->store, "555-20", Straight, "b");
        QCOMPARE(runProgram(book, {"--pay", "10", "--customer", "b"}).code, BatchRan);
        const Run backup = runProgram(book, {"--full-backup", drive->path()});
        QCOMPARE(backup.code, BatchRan);
        QCOMPARE(backup.out.value(0), FullBackupDoneText);

        QTemporaryDir elsewhere;
        const QString other = elsewhere.filePath("picture_1");
        const Run restore = runProgram(other, {"--full-restore", drive->path()});
        QCOMPARE(restore.code, BatchRan);
        QCOMPARE(restore.out.value(0), FullRestoreDoneText);
        const Run owed = runProgram(book, {"--owed"});
        QVERIFY(owed.out.size() > 1);
        QCOMPARE(runProgram(other, {"--owed"}).out, owed.out);
        QCOMPARE(runProgram(other, {"--draws"}).out, runProgram(book, {"--draws"}).out);
        QCOMPARE(bookBytes(other), bookBytes(book));
        // The log came back whole; the stake this test put in without the program is named.
        const Run verified = runProgram(other, {"--audit", "--verify"});
        QCOMPARE(verified.out.value(0), AuditChainOkText);
        QCOMPARE(verified.out.value(1), ReplayStakeText.arg(Straight, "b", "555", "20", "0"));

        const Files kept = bookBytes(other);
        const Run again = runProgram(other, {"--full-restore", drive->path()});
        QCOMPARE(again.code, BatchRefused);
        QCOMPARE(again.out, QStringList{BookNotEmptyText});
        QCOMPARE(bookBytes(other), kept);
    }

    // The main computer's audit log says who keyed each bet that came from a client computer.
    void transferSaysWhoKeyedEachBet()
    {
        QTemporaryDir client;
        const QString folder = client.filePath("picture_1");
        QFile sheet(client.filePath("bets.txt"));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.write("321-15\r\n");
        sheet.close();
        QCOMPARE(runProgram(folder, {"--operator", "แดง", "--enter-sheet", sheet.fileName(), "--type", Straight,
                                     "--customer", "d"})
                     .code,
                 BatchRan);
        QCOMPARE(runProgram(folder, {"--backup", drive->path()}).code, BatchRan);
        QCOMPARE(runProgram(batchBook->folder(), {"--restore", drive->path()}).code, BatchRan);

        const QStringList lines =
            runProgram(batchBook->folder(), {"--audit", "--customer", "d", "--number", "321"}).out;
        QCOMPARE(lines.size(), 1);
        const QStringList fields = lines.first().split('\t');
        QCOMPARE(fields.value(3), auditActionName(AuditAction::Restore));
        QCOMPARE(fields.value(8), QString("15"));
        QVERIFY2(fields.value(10).contains("ผู้คีย์ แดง"), qPrintable(lines.first()));
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

    // A new draw cut off after its copy is completed by the next start before anything else, by the
    // window and by a job alike, and said so; what is owed is then counted once.
    void cutOffNewDrawIsCompletedAtStart()
    {
        main.reset();
        const auto owedAmounts = [](Store& store) {
            QMap<QString, double> amounts;
            for (const Owed& o : owedReport(store).rows)
                amounts[o.customer] = o.amount;
            return amounts;
        };
        const auto owedBefore = owedAmounts(*batchBook->store);
        QVERIFY(!owedBefore.isEmpty());
        QStringList copies;
        for (TempBook* book : {windowBook.get(), batchBook.get()}) {
            const QString copy = book->dir.path() + "/draws/picture_1_2026-12-08_2315";
            QVERIFY(QDir().mkpath(copy));
            QVERIFY(copyBook(*book->store, copy));
            QFile state(copy + "/" + DrawStateFileName);
            QVERIFY(state.open(QIODevice::WriteOnly) && state.write(UnfinishedDrawState) > 0);
            state.close();
            for (const char* name : {"0_1.gif", "0_2.gif", "custom.gif"})
                QVERIFY(QFile::remove(book->file(name)));
            copies << QDir::toNativeSeparators(copy);
        }

        const Run run = runProgram(batchBook->folder(), {"--owed"});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.err.contains("varnoth: " + DrawCompletedText + copies[1] + "\n"), qPrintable(run.err));
        Store batchStore(batchBook->folder());
        QCOMPARE(run.out, owedLines(owedReport(batchStore)));
        QCOMPARE(owedAmounts(batchStore), owedBefore);

        main = std::make_unique<MainWindow>(*windowBook->store, *session);
        main->finishStartup();
        QVERIFY(!ui(*main).List1->findItems(DrawCompletedText + copies[0], Qt::MatchExactly).isEmpty());
        QCOMPARE(main->statusBar()->currentMessage(), DrawCompletedText + copies[0]);
        QCOMPARE(bookBytes(windowBook->folder()), bookBytes(batchBook->folder()));
        QCOMPARE(listPastDraws(*windowBook->store).size(), 1);
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

    // A sheet with a rejected line stores its good lines and fails; a good sheet does not.
    void sheetRejectionsFailTheJob_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("rejected");
        QTest::addColumn<QString>("stored");
        QTest::newRow("all good") << QByteArray("12-5\r\n34-6\r\n") << int(BatchRan) << ""
                                  << "12-5 34-6";
        QTest::newRow("a word for an amount") << QByteArray("12-5 99-x\r\n") << int(BatchRefused) << "1"
                                              << "12-5";
        // Without the NUL the line reads 12-50: it must not be stored as that.
        QTest::newRow("NUL inside the number") << QByteArray("1\0"
                                                             "2-50\r\n34-20\r\n",
                                                             15)
                                               << int(BatchRefused) << "1"
                                               << "34-20";
    }
    void sheetRejectionsFailTheJob()
    {
        QFETCH(QByteArray, sheet);
        QFETCH(int, code);
        QFETCH(QString, rejected);
        QFETCH(QString, stored);
        QTemporaryDir dir;
        const QString folder = dir.filePath("picture_1");
        QFile file(dir.filePath("sheet.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheet) == sheet.size());
        file.close();
        const Run run = runProgram(folder, {"--enter-sheet", file.fileName(), "--type", TwoTop, "--customer", "a"});
        QCOMPARE(run.code, code);
        if (rejected.isEmpty())
            QCOMPARE(run.err, QString());
        else
            QVERIFY2(run.err.contains(rejected + " line(s) or bet(s) were rejected"), qPrintable(run.err));
        QStringList storedNow;
        Store store(folder);
        for (const QString& line : store.ReadWholeFile(store.StakeFilePath(TwoTop, "a")).split("\r\n"))
            if (!line.isEmpty() && !line.endsWith("-0")) storedNow << line;
        QCOMPARE(storedNow.join(' '), stored);
    }

    // One bill picture that cannot be written leaves the others written, and is named.
    void billPicturesGoOnPastOneNotWritten()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("picture_1");
        QFile file(dir.filePath("sheet.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("12-5\r\n") > 0);
        file.close();
        for (const char* customer : {"a", "b", "c"})
            QCOMPARE(
                runProgram(folder, {"--enter-sheet", file.fileName(), "--type", TwoTop, "--customer", customer}).code,
                BatchRan);
        const QString pictures = dir.filePath("bills");
        // A folder where the first picture should go: it cannot be written.
        QVERIFY(QDir().mkpath(QDir(pictures).filePath(billImageName("a"))));
        const Run run = runProgram(folder, {"--bill", "--png", pictures});
        QCOMPARE(run.code, BatchRefused);
        for (const char* customer : {"b", "c"}) {
            const QString path = QDir(pictures).filePath(billImageName(customer));
            QVERIFY(QFileInfo(path).isFile() && QFileInfo(path).size() > 0);
            QVERIFY(run.out.contains(SavedFileText + QDir::toNativeSeparators(path)));
        }
        QVERIFY2(run.err.contains("1 of 3 bill picture(s) were not written"), qPrintable(run.err));
        QVERIFY(
            run.err.contains(WriteFailedText + QDir::toNativeSeparators(QDir(pictures).filePath(billImageName("a")))));
    }

    // The operator's name goes into every audit line: one with a control character is refused
    // before the book is touched.
    void operatorNamesWithControlsAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("tab and CR LF") << QStringLiteral("ev\til\r\n2026-01-01 00:00:00");
        QTest::newRow("escape") << QStringLiteral("a\x1b[2Jb");
    }
    void operatorNamesWithControlsAreRefused()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString folder = dir.filePath("picture_1");
        const Run run = runProgram(folder, {"--operator", name, "--new-draw", "--confirm-new-draw"});
        QCOMPARE(run.code, BatchRefused);
        QVERIFY2(run.err.contains(OperatorNameInvalidText), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(folder));
    }

    // Whatever a name or a hand-written line holds, `--audit` prints one line per line of the log,
    // with no control byte, and a backslash and a t apart from a tab.
    void theAuditListingHasOneLinePerLogLine()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("picture_1");
        QFile file(dir.filePath("sheet.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("12-5\r\n") > 0);
        file.close();
        QCOMPARE(runProgram(folder, {"--operator", "a\\tb", "--enter-sheet", file.fileName(), "--type", TwoTop,
                                     "--customer", "a"})
                     .code,
                 BatchRan);
        // A line put in by hand: a tab and a line end escaped as the log writes them, and a raw escape.
        QFile log(QDir(folder).filePath(AuditLogFileName));
        QVERIFY(log.open(QIODevice::Append));
        log.write("2026-12-09 10:00:00\tro\x1bot\tx\\ty\tbet\t\tc\\r\\n2026\tfake\t\t\t9\t\t" + QByteArray(64, '0') +
                  "\r\n");
        log.close();
        // A hand-edited name with an escape in the settings is not used: the user name is.
        Store(folder).WriteWholeFile(Store(folder).path("option.gif"), QStringLiteral("operator#x\x1b[2Jy\r\n"));
        const Run second = runProgram(folder, {"--enter-sheet", file.fileName(), "--type", TwoTop, "--customer", "b"});
        QCOMPARE(second.code, BatchRan);
        QVERIFY2(second.err.contains(StoredOperatorRefusedText), qPrintable(second.err));

        const Run run = runProgram(folder, {"--audit"});
        QCOMPARE(run.code, BatchRan);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(run.out.size(), log.readAll().count('\n'));
        for (const QString& line : run.out) {
            QCOMPARE(line.count('\t'), 10);
            QVERIFY2(!line.contains(QChar(0x1b)) && !line.contains('\r'), qPrintable(line));
        }
        const QStringList newest = run.out.first().split('\t');
        QCOMPARE(newest[2], newest[1]); // the user name stands in for the refused one
        QCOMPARE(newest[5], QStringLiteral("b"));
        const QStringList forged = run.out.filter("fake").value(0).split('\t');
        QCOMPARE(forged[1], QStringLiteral("ro\\x1bot"));
        QCOMPARE(forged[2], QStringLiteral("x\\ty"));
        QCOMPARE(forged[5], QStringLiteral("c\\r\\n2026"));
        QCOMPARE(run.out.last().split('\t')[2], QStringLiteral("a\\\\tb"));
    }

    // With --after-result the job stores the sheet (without it, see refusals), and each of its bets is
    // marked in the audit log, which `--audit --after-result` lists.
    void betsAfterTheResultAreStoredWhenAsked()
    {
        Run run = runProgram(batchBook->folder(),
                             {"--enter-sheet", sheetFile, "--type", TwoTop, "--customer", "c", "--after-result"});
        QCOMPARE(run.code, BatchRefused); // its "99-x" is rejected
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
