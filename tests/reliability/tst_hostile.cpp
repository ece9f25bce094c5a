// Files of the data folder as a hand edit, a damaged disk or another program may leave them: every
// reader copes, reading never writes, the main window's totals and the reports agree on what a
// damaged stake file holds, and nothing a file names leads outside the data folder.
#include "audit/auditlog.h"
#include "audit/auditread.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/entry.h"
#include "entry/totals.h"
#include "gui/main/session.h"
#include "reports/analysis.h"
#include "reports/cutting.h"
#include "reports/overlimit.h"
#include "reports/prize.h"
#include "reports/statistics.h"
#include "reports/view.h"
#include "settings/customers.h"
#include "settings/keyed.h"
#include "settings/result.h"
#include "storage/folder/logfile.h"
#include "storage/folder/store.h"
#include "testsupport.h"
#include "tools/backup.h"
#include "tools/fullbackup.h"
#include "tools/newdraw.h"
#include "tools/records.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");

QByteArray randomBytes(int size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator rng(seed);
    for (char& c : bytes)
        c = static_cast<char>(rng.bounded(256));
    return bytes;
}

void putBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Every report of the settlement, on one type and on all of them.
void runEveryReport(Store& store, const QString& type)
{
    Session session;
    for (const QString& t : {type, AllChoice}) {
        ViewAllData(store, session);
        SearchReport(store, session, QStringLiteral("123"), t, AllChoice);
        OverLimit(store, session, t, false);
        OverLimit(store, session, t, true);
        NumberCutReport(store, session, t);
        PrizeCheck(store, session, t, AllChoice);
        Analysis(store, t);
        NumberStatistics(store, t);
    }
}

QString amountLine(const QStringList& lines)
{
    for (const QString& line : lines)
        if (line.startsWith(QStringLiteral("รวมเงิน= "))) return line;
    return {};
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    // A stake file damaged in every way we could think of: the sound lines in it still count, the
    // main window's totals (which read the bytes) and the reports (which read the text) agree on
    // them, and reading it changes no file.
    void damagedStakeFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("count");
        QTest::addColumn<double>("total");
        QTest::addColumn<double>("listed"); // the amount the search report lists
        QTest::newRow("junk between sound lines")
            << QByteArray("123-150\r\n\x00\xff\x01junk\r\n456-50\r\n", 24) << 2.0 << 200.0 << 200.0;
        QTest::newRow("amounts that are no numbers")
            << QByteArray("123-abc\r\n124-\r\n125-x5\r\n126- 7\r\n127-12.5\r\n-\r\n--\r\n") << 2.0 << 19.5 << 19.5;
        QTest::newRow("exponent and overflow") << "123-1e400\r\n124-" + QByteArray(400, '9') + "\r\n"
                                               << 1.0 << 1.0 << 1.0;
        QTest::newRow("no line end at all") << QByteArray("123-150") << 1.0 << 150.0 << 150.0;
        QTest::newRow("unix line ends") << QByteArray("123-150\n456-50\n") << 2.0 << 200.0 << 200.0;
        QTest::newRow("utf-8 with thai digits") << QString("\uFEFF๑๒๓-๑๐๐\r\n124-5\r\n").toUtf8() << 1.0 << 5.0 << 5.0;
        QTest::newRow("binary") << randomBytes(64 * 1024, 11).replace('-', '+') << 0.0 << 0.0 << 0.0;
        QTest::newRow("one huge line") << "123-1 " + QByteArray(4 * 1024 * 1024, 'x') + "\r\n" << 1.0 << 1.0 << 1.0;
        // The totals count every amount of the file; the reports list the numbers of the type.
        QTest::newRow("numbers not of the type") << QByteArray("1234-50\r\n12-7\r\n123-5\r\n") << 3.0 << 62.0 << 5.0;
    }
    void damagedStakeFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(double, count);
        QFETCH(double, total);
        QFETCH(double, listed);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        book.store->WriteWholeFile(book.store->limitFile(), Straight + "#100");
        book.store->WriteWholeFile(book.store->resultFile(), "123456#111#222#333#444#56#\r\n" + Straight + "#456-");
        putBytes(book.file("0_1.gif"), content);
        const auto before = folderBytes(book.folder());

        const StakeTotals totals = customerTotals(*book.store, Straight, "x");
        QCOMPARE(totals.count, count);
        QCOMPARE(totals.total, total);
        Session session;
        const QString shown = amountLine(SearchReport(*book.store, session, "", Straight, "x").lines);
        QCOMPARE(shown, listed > 0 ? "รวมเงิน= " + formatAmount(listed) + " บาท" : QString());
        runEveryReport(*book.store, Straight);
        QVERIFY(folderBytes(book.folder()) == before);
    }

    // Count, send-out, settings and result files holding rubbish: the reports run through and
    // reading them writes nothing.
    void damagedFilesAroundTheStakes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        const QByteArray binary = randomBytes(16 * 1024, 5);
        for (const char* file : {"a-_0.gif", "b_0.gif", "lotto2.gif", "lotto4.gif", "lotto6.gif", "lotto7.gif",
                                 "lotto8.gif", "lotto3.gif"})
            QTest::newRow(QByteArray(file) + " binary") << QString(file) << binary;
        QTest::newRow("negative and huge limits")
            << "lotto2.gif" << cp874(Straight + "#-50\r\n" + Straight + "#1e308\r\n2ตัวบน#" + QString(500, '9'));
        QTest::newRow("digit cut of every length")
            << "lotto8.gif" << cp874(Straight + "#1\r\n" + Straight + "#11111111\r\n" + Straight + "#\r\n");
        QTest::newRow("result with no header") << "lotto3.gif" << cp874(Straight + "#123-\r\n");
        QTest::newRow("result with thousands of fields") << "lotto3.gif" << QByteArray(10000, '#');
        QTest::newRow("send-out above the stakes") << "b_0.gif" << QByteArray("123-99999999\r\n456--5\r\n");
    }
    void damagedFilesAroundTheStakes()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        book.put("0_1.gif", "123-500\r\n456-50\r\n");
        putBytes(book.file(file), content);
        const auto before = folderBytes(book.folder());

        runEveryReport(*book.store, Straight);
        LoadResult(*book.store);
        for (const SettingKind mode : {SettingKind::Rate, SettingKind::NumberCut, SettingKind::Discount,
                                       SettingKind::Limit, SettingKind::DigitCut})
            FillSettingsList(*book.store, mode);
        QVERIFY(folderBytes(book.folder()) == before);
    }

    // A stake file whose line ends an editor turned into bare LF: a bet or an edit on its first
    // number changes that line and keeps every other, and the file comes back with CR LF.
    void bareLineFeedsKeepEveryNumber_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::newRow("bet") << false;
        QTest::newRow("record edit") << true;
    }
    void bareLineFeedsKeepEveryNumber()
    {
        QFETCH(bool, edit);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        const QString fresh = InitialContent("2ตัวบน");
        QString lineFeeds = fresh;
        lineFeeds.replace("\r\n", "\n").replace("00-0\n", "00-150\n").replace("45-0\n", "45-50\n");
        const QString file = Store::fileName(book.store->StakeFilePath("2ตัวบน", "x"));
        book.put(file, lineFeeds + "\n");

        if (edit) {
            const RecordResult r = editRecord(*book.store, {"00", "200", "2ตัวบน", "x", "00", "150"});
            QVERIFY(r.written);
        } else {
            EntryBatch batch(*book.store, "x");
            batch.addLine("00-50", "2ตัวบน", false);
            QCOMPARE(batch.commit().lines, QStringList{"00-50"});
        }
        QString expected = fresh;
        expected.replace("00-0\r\n", "00-200\r\n").replace("45-0\r\n", "45-50\r\n");
        QCOMPARE(book.text(file), expected + "\r\n");
    }

    // A customer list that names paths, holds control characters or is no list at all: adding a
    // customer keeps every name that was there, and every file made is a number file of the folder.
    void hostileCustomerList_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("findable"); // whether the added name can be found again
        QTest::newRow("names that look like paths") << QByteArray("#../x#a/b#..\\..\\c:#/etc/passwd#") << true;
        QTest::newRow("control characters") << QByteArray("#a\x01"
                                                          "b#\t#\r\n#c#")
                                            << true;
        // The name is appended to the one piece there is, as the list has always been extended.
        QTest::newRow("no separator") << QByteArray("somebody") << false;
        QTest::newRow("duplicates and gaps") << QByteArray("#x##x#x###") << true;
        QTest::newRow("huge name") << "#" + QByteArray(200 * 1024, 'a') + "#" << true;
        QTest::newRow("binary") << randomBytes(4 * 1024, 3).replace('#', '!') + "#" << true;
    }
    void hostileCustomerList()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, findable);
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.path() + "/book"));
        Store store(root.path() + "/book");
        putBytes(store.customerFile(), content);
        const QString listBefore = store.customerListText();

        store.creationSequence("somchai");
        QVERIFY(store.customerListText().startsWith(listBefore));
        QCOMPARE(store.customers().contains("somchai"), findable);
        for (const QString& name : store.customers()) {
            const QString path = store.StakeFilePath(Straight, name);
            QVERIFY(path.isEmpty() ||
                    QFileInfo(path).absolutePath() == QFileInfo(store.dataFolder() + "x").absolutePath());
        }
        removeCustomer(store, store.customers().first());

        QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"book"});
        static const QRegularExpression known("^(\\d+_\\d+|a-_\\d+|b_\\d+|custom)\\.gif$");
        for (const QString& name : QDir(store.dataFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            QVERIFY2(known.match(name).hasMatch(), qPrintable(name));
    }
    // A pipe, a folder or a link in the place of a data file: every job reads it as a file that is
    // there but cannot be read, never waits on it (a pipe with no writer would block a plain open
    // for ever), and never writes through it to the file a link points at.
    void specialFilesInTheBook_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("file");
        for (const char* kind : {"pipe", "folder", "link", "dangling link"}) {
            QTest::newRow(QByteArray(kind) + " for a stake file") << QString(kind) << QStringLiteral("0_1.gif");
            QTest::newRow(QByteArray(kind) + " for the limits") << QString(kind) << QStringLiteral("lotto2.gif");
            QTest::newRow(QByteArray(kind) + " for the customers") << QString(kind) << QStringLiteral("custom.gif");
        }
    }
    void specialFilesInTheBook()
    {
#ifndef Q_OS_UNIX
        QSKIP("pipes and links are made here with POSIX calls");
#else
        QFETCH(QString, kind);
        QFETCH(QString, file);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        book.store->WriteWholeFile(book.store->limitFile(), Straight + "#100");
        const QString inside = book.file(file);
        const QByteArray insideBytes = book.bytes(file);
        QTemporaryDir outsideDir;
        const QString outside = outsideDir.filePath("target.gif");
        putBytes(outside, insideBytes);
        QVERIFY(QFile::remove(inside));
        const QByteArray name = QFile::encodeName(inside);
        if (kind == "pipe")
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(inside));
        else if (kind == "link")
            QCOMPARE(::symlink(QFile::encodeName(outside).constData(), name.constData()), 0);
        else
            QCOMPARE(::symlink(QFile::encodeName(outsideDir.filePath("gone")).constData(), name.constData()), 0);
        book.store->takeFailures();

        const FileText read = book.store->readFile(inside);
        QVERIFY(read.exists);
        QVERIFY(!read.readable);
        QVERIFY(read.text.isEmpty());
        QVERIFY(!book.store->takeFailures().isEmpty());

        // Every reader, the totals and the creation sequence run through; the entry stores nothing
        // through the special file, and the file a link points at keeps its bytes.
        runEveryReport(*book.store, Straight);
        // The totals name a stake file they could not read instead of counting it as nothing.
        const QStringList unreadable = file == "0_1.gif" ? QStringList{inside} : QStringList{};
        QCOMPARE(customerTotals(*book.store, Straight, "x").unreadable, unreadable);
        QCOMPARE(bookTotals(*book.store).unreadable, unreadable);
        QCOMPARE(sumOf(stakeTotalsByFile(*book.store)).unreadable, unreadable);
        QCOMPARE(pairSummary(*book.store, QString(), Straight, "x").all.unreadable, unreadable);
        book.store->creationSequence("x");
        EntryBatch batch(*book.store, "x");
        batch.addLine("123-50", Straight, false);
        const QStringList lines = batch.commit().lines;
        if (file == "0_1.gif") QVERIFY2(lines != QStringList{"123-50"}, qPrintable(lines.join('|')));
        QVERIFY(!book.store->WriteWholeFile(inside, "123-1"));

        struct stat st {
        };
        QCOMPARE(::lstat(name.constData(), &st), 0);
        if (kind == "pipe") QVERIFY(S_ISFIFO(st.st_mode));
        if (kind == "folder") QVERIFY(S_ISDIR(st.st_mode));
        if (kind.contains("link")) QVERIFY(S_ISLNK(st.st_mode));
        QFile target(outside);
        QVERIFY(target.open(QIODevice::ReadOnly));
        QCOMPARE(target.readAll(), insideBytes);
        QVERIFY(!QFile::exists(outsideDir.filePath("gone")));
#endif
    }

    // A link planted on the backup drive is never written through or emptied: in the place of the
    // backup, of the audit lines beside it, of the drive's backup folder, or of the full backup's own
    // folders. What it points at keeps every byte, the link stays, and the backup that would have
    // gone through it fails (the other one, where it does not, is written as ever).
    void linksOnTheBackupDrive_data()
    {
        QTest::addColumn<QString>("place"); // below the drive
        QTest::addColumn<bool>("toFolder");
        QTest::addColumn<bool>("backupWritten");
        QTest::addColumn<bool>("fullBackupWritten");
        QTest::newRow("the backup") << "image_2/cat.gif" << false << false << true;
        QTest::newRow("the audit lines") << "image_2/audit.log" << false << true << true;
        QTest::newRow("the backup folder") << "image_2" << true << false << false;
        QTest::newRow("the full backup") << "image_2/full" << true << true << false;
        QTest::newRow("the last full backup set aside") << "image_2/full.old" << true << true << false;
        QTest::newRow("a full backup being made") << "image_2/full.new" << true << true << false;
    }
    void linksOnTheBackupDrive()
    {
#ifndef Q_OS_UNIX
        QSKIP("links are made here with POSIX calls");
#else
        QFETCH(QString, place);
        QFETCH(bool, toFolder);
        QFETCH(bool, backupWritten);
        QFETCH(bool, fullBackupWritten);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        EntryBatch batch(*book.store, "x");
        batch.addLine("123-50", Straight, false);
        QCOMPARE(batch.commit().lines, QStringList{"123-50"});
        QTemporaryDir drive, outsideDir;
        putBytes(outsideDir.filePath("cat.gif"), "keep me\r\n");
        putBytes(outsideDir.filePath("book.txt"), "mine\r\n");
        const auto outside = folderBytes(outsideDir.path());
        const QString link = QDir(drive.path()).filePath(place);
        QVERIFY(QDir().mkpath(QFileInfo(link).absolutePath()));
        const QString target = toFolder ? outsideDir.path() : outsideDir.filePath("cat.gif");
        QCOMPARE(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);

        const BackupResult backup = writeBackup(*book.store, drive.path());
        const FullBackupResult full = writeFullBackup(*book.store, drive.path());

        QCOMPARE(folderBytes(outsideDir.path()), outside);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(backup.outcome.status != Status::BackupFailed, backupWritten);
        QCOMPARE(full.outcome.ok(), fullBackupWritten);
        if (backupWritten) QVERIFY(QFileInfo(backupFilePath(drive.path())).isFile());
        // The audit lines that could not be written are named; the backup itself stands.
        if (place.endsWith("audit.log")) {
            QCOMPARE(backup.outcome.status, Status::WriteFailed);
            QVERIFY(backup.lines.contains(outcomeLine({Status::WriteFailed, link})));
        }
#endif
    }

    // Beside the book: a link in the place of the past draws' folder, or of a half-made copy of the
    // book, is never written into or emptied; a link in the book is not copied into a past draw; a
    // link in the place of the audit log is a log that cannot be read.
    void linksBesideTheBook()
    {
#ifndef Q_OS_UNIX
        QSKIP("links are made here with POSIX calls");
#else
        QTemporaryDir root, outsideDir;
        const QString data = QDir(root.path()).filePath("book");
        QVERIFY(QDir().mkpath(data));
        Store store(data);
        QVERIFY(store.creationSequence("x").isEmpty());
        EntryBatch batch(store, "x");
        batch.addLine("123-50", Straight, false);
        QCOMPARE(batch.commit().lines, QStringList{"123-50"});
        putBytes(outsideDir.filePath("keep.gif"), "keep me\r\n");
        const auto outside = folderBytes(outsideDir.path());
        const auto book = folderBytes(data);
        const QDateTime when(QDate(2026, 12, 16), QTime(21, 0));
        auto link = [](const QString& target, const QString& place) {
            return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(place).constData()) == 0;
        };

        // The past draws' folder is a link: the new draw copies nothing there and deletes nothing.
        const QString draws = drawsFolderPath(store);
        QVERIFY(link(outsideDir.path(), draws));
        NewDrawResult r = startNewDraw(store, when);
        QVERIFY(!r.done);
        QCOMPARE(r.outcome.status, Status::CopyFailed);
        QCOMPARE(folderBytes(outsideDir.path()), outside);
        QCOMPARE(folderBytes(data), book);
        QVERIFY(QFile::remove(draws));

        // A copy cut off while it was made is taken away at the next start; one that is a link is
        // taken away itself, never emptied.
        QVERIFY(QDir().mkpath(draws));
        const QString making = QDir(draws).filePath(drawCopyPrefix(store) + "2026-12-01_2100" + CopyInProgressSuffix);
        QVERIFY(link(outsideDir.path(), making));
        completeInterruptedDraws(store);
        QCOMPARE(folderBytes(outsideDir.path()), outside);
        QVERIFY(!QFileInfo::exists(making) && !QFileInfo(making).isSymLink());

        // A link in the book is not a file of the book: the new draw does not carry what it points
        // at into the past draw, and stops before it deletes anything.
        const QString planted = store.path("lotto9.gif");
        QVERIFY(link(outsideDir.filePath("keep.gif"), planted));
        r = startNewDraw(store, when);
        QVERIFY(!r.done);
        QCOMPARE(folderBytes(outsideDir.path()), outside);
        QVERIFY(QDir(draws).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        QVERIFY(QFile::remove(planted));
        QCOMPARE(folderBytes(data), book);

        // The audit log is read as it stands, never through a link.
        AuditIndex index;
        QVERIFY(index.load(store.path(AuditLogFileName)));
        QVERIFY(!index.exists());
        QVERIFY(link(outsideDir.filePath("keep.gif"), store.path(AuditLogFileName)));
        QVERIFY(!index.load(store.path(AuditLogFileName)));
        QVERIFY(QFileInfo(store.path(AuditLogFileName)).isSymLink());
#endif
    }

    // The support log beside the book is not written through a link put in its place.
    void supportLogLinkIsNotFollowed()
    {
#ifndef Q_OS_UNIX
        QSKIP("links are made here with POSIX calls");
#else
        QTemporaryDir folder;
        QTemporaryDir outsideDir;
        const QString outside = outsideDir.filePath("elsewhere.txt");
        putBytes(outside, "keep me\r\n");
        const QString log = QDir(folder.path()).filePath(LogFileName);
        QCOMPARE(::symlink(QFile::encodeName(outside).constData(), QFile::encodeName(log).constData()), 0);
        QVERIFY(!appendLog(folder.path(), "warning", "a line"));
        QFile target(outside);
        QVERIFY(target.open(QIODevice::ReadOnly));
        QCOMPARE(target.readAll(), QByteArray("keep me\r\n"));
        // Without the link the log is written as ever.
        QVERIFY(QFile::remove(log));
        QVERIFY(appendLog(folder.path(), "warning", "a line"));
        QVERIFY(QFileInfo(log).isFile() && !QFileInfo(log).isSymLink());
#endif
    }
};

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
