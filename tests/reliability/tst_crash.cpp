// Kills a process that keeps committing entries and restoring backups through the ledger, at random moments, and
// checks after every kill that every number file is whole and that the stakes and counts on disk are exactly the
// entries reported as committed, plus at most the one entry in flight, applied whole or not at all per file; and that
// the audit log ends on a whole line, holds an unbroken chain and has the lines of every committed change.
// Kills a new draw in its copy and in its delete phase, and checks after each that the next start leaves either the
// whole old book or the fresh one, with the old draw among the past draws once, whole, or not at all.
#include "accounts/drawhistory.h"
#include "app/Ledger.h"
#include "audit/auditread.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/entry.h"
#include "gui/main/session.h"
#include "storage/folder/committexts.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/intent.h"
#include "storage/folder/store.h"
#include "testsupport.h"
#include "tools/backup.h"
#include "tools/backuptexts.h"
#include "tools/restore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <cstdlib>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QStringList Customers = {"a", "b", "c"};

// One random entry in the line form of group entry: singles, gates, paired amounts, sheets.
QList<QPair<QString, QString>> randomEntry(QRandomGenerator& rng)
{
    auto num = [&](int w) { return QString::number(rng.bounded(1, 1000)).rightJustified(3, '0').right(w); };
    auto amt = [&] { return QString::number(rng.bounded(1, 500)); };
    switch (rng.bounded(5)) {
    case 0:
        return {{num(3) + "-" + amt(), "3ตัวตรง"}};
    case 1:
        return {{QString::number(rng.bounded(10)) + "+19-" + amt(), "2ตัวบน"}};
    case 2:
        return {{num(3) + "-" + amt() + "+" + amt(), "3ตัวตรง"}};
    case 3:
        return {{num(3) + "+6-" + amt(), "3ตัวตรง"}};
    default: {
        QList<QPair<QString, QString>> sheet;
        for (int i = 0; i < 40; ++i)
            sheet.append({num(2) + "-" + amt(), "2ตัวล่าง"});
        return sheet;
    }
    }
}

EntryResult commitEntry(Store& store, const QString& customer, const QList<QPair<QString, QString>>& entry)
{
    EntryBatch batch(store, customer);
    for (const auto& [line, type] : entry)
        batch.addLine(line, type, false);
    return batch.commit();
}

void copyFolder(const QString& from, const QString& to)
{
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files | QDir::Hidden))
        QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
}

using Values = QHash<QString, double>; // number -> value

// The values of every number file of a folder (count and send-out files and stake files).
QHash<QString, Values> numberFiles(const QString& folder)
{
    QHash<QString, Values> files;
    const QRegularExpression name(QStringLiteral("^(\\d+_\\d+|a-_\\d+|b_\\d+)\\.gif$"));
    for (const QString& f : QDir(folder).entryList(QDir::Files)) {
        if (!name.match(f).hasMatch()) continue;
        QFile file(QDir(folder).filePath(f));
        if (!file.open(QIODevice::ReadOnly)) continue;
        Values v;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> parts = line.trimmed().split('-');
            if (parts.size() == 2 && parts[1] != "0") v.insert(QString::fromLatin1(parts[0]), parts[1].toDouble());
        }
        files.insert(f, v);
    }
    return files;
}

// A backup of one customer's few bets, made on a book of its own and written into `drive`, to restore into the
// ledger.
void smallBackup(QRandomGenerator& rng, const QString& folder, const QString& drive)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QDir(drive).removeRecursively();
    QDir().mkpath(drive);
    Store other(folder);
    const QString customer = Customers[rng.bounded(Customers.size())];
    other.creationSequence(customer);
    QList<QPair<QString, QString>> lines;
    for (int i = 0; i < 3; ++i)
        lines.append({QString::number(rng.bounded(100, 1000)) + "-" + QString::number(rng.bounded(1, 900)), "3ตัวตรง"});
    commitEntry(other, customer, lines);
    writeBackup(other, drive);
}

// An entry as group entry hands it to the ledger: every line of one type, one sheet.
QString sheetOf(const QList<QPair<QString, QString>>& entry)
{
    QString sheet;
    for (const auto& [line, type] : entry)
        sheet += line + "\r\n";
    return sheet;
}

// The child: applies each entry to a shadow copy first and announces what that changed, file by
// file, then applies it to the real folder and reports it done.
int runChild(const QString& folder, quint32 seed)
{
    const QString shadowFolder = folder + ".shadow";
    copyFolder(folder, shadowFolder);
    Store store(folder), shadow(shadowFolder);
    Session session;
    Ledger ledger(store, session);
    const QString drive = folder + ".drive";
    QRandomGenerator rng(seed);
    // Started: from here on every moment is one where a kill can cut an entry.
    std::printf("READY\n");
    std::fflush(stdout);
    for (int i = 0;; ++i) {
        const QString customer = Customers[rng.bounded(Customers.size())];
        const bool restore = rng.bounded(6) == 0;
        if (restore) smallBackup(rng, folder + ".other", drive);
        const auto entry = restore ? QList<QPair<QString, QString>>() : randomEntry(rng);
        const auto before = numberFiles(shadowFolder);
        if (restore)
            runRestore(shadow, drive);
        else
            commitEntry(shadow, customer, entry);
        const auto after = numberFiles(shadowFolder);
        QString line = QString("PLAN %1").arg(i);
        for (auto f = after.cbegin(); f != after.cend(); ++f) {
            const Values& was = before.value(f.key());
            QSet<QString> numbers(f.value().keyBegin(), f.value().keyEnd());
            for (auto n = was.keyBegin(); n != was.keyEnd(); ++n)
                numbers.insert(*n);
            for (const QString& n : numbers) {
                const double delta = f.value().value(n) - was.value(n);
                if (delta != 0) line += QString(" %1|%2|%3").arg(f.key(), n).arg(delta);
            }
        }
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
        // What the ledger stored: the bets of the entry, or one restore.
        qsizetype stored = 0;
        if (restore)
            stored = ledger.restore(drive).outcome.ok() ? 1 : 0;
        else
            stored = ledger.enterSheet(sheetOf(entry), entry.first().second, customer).changes.size();
        std::printf("DONE %d %s %lld\n", i, restore ? "restore" : "bets", static_cast<long long>(stored));
        std::fflush(stdout);
    }
}

// The child of the kills inside one commit: enters one sheet through the ledger and dies the moment
// the commit has written `files` of its files (0: only the intent record).
int killAfter = -1;
void dieAt(int filesWritten)
{
    if (filesWritten != killAfter) return;
#ifdef Q_OS_UNIX
    ::raise(SIGKILL);
#endif
    std::_Exit(9);
}

int runCommitChild(const QString& folder, int files)
{
    Store store(folder);
    Session session;
    Ledger ledger(store, session);
    killAfter = files;
    FolderTransaction::setStepHookForTesting(dieAt);
    ledger.enterSheet(QStringLiteral("123-50\r\n045-20\r\n123-5"), QStringLiteral("3ตัวตรง"), QStringLiteral("b"));
    return 0; // never reached: the commit writes at least two files
}

// The child of the new-draw kills: opens the book as the program does and starts a new draw, saying
// when its copy is made (the first loop of the draw that ends) and when the draw is done.
int runDrawChild(const QString& folder)
{
    Store store(folder);
    Session session;
    Ledger ledger(store, session);
    QElapsedTimer clock;
    bool copied = false;
    QObject::connect(&ledger, &Ledger::progressHidden, [&] {
        if (copied) return;
        copied = true;
        std::printf("COPIED %lld\n", static_cast<long long>(clock.elapsed()));
        std::fflush(stdout);
    });
    std::printf("READY\n");
    std::fflush(stdout);
    clock.start();
    const bool done = ledger.newDraw().done;
    std::printf("DONE %lld %d\n", static_cast<long long>(clock.elapsed()), done ? 1 : 0);
    std::fflush(stdout);
    return 0;
}

// The files of a book as the next start compares them: its audit log (opened by every ledger) and the
// lock aside.
QHash<QString, QByteArray> bookFiles(const QString& folder)
{
    QHash<QString, QByteArray> files = folderBytes(folder);
    files.remove(AuditLogFileName);
    files.remove(AuditAnchorFileName); // the log's anchor, kept with a draw's copy
    files.remove(LockFileName);
    return files;
}

} // namespace

class TestCrash : public QObject
{
    Q_OBJECT
public:
    QString self;

private:
    // Expected content per file name.
    QHash<QString, Values> expected;
    // What the ledger reported as stored: bets, and restores.
    qint64 loggedBets = 0;
    qint64 loggedRestores = 0;

    // The audit log after a kill: it ends on a whole line, its chain holds, and every committed change
    // has its lines (the entry in flight may have them too).
    void checkLog(const TempBook& book)
    {
        const QByteArray bytes = book.bytes(AuditLogFileName);
        QVERIFY2(bytes.isEmpty() || bytes.endsWith("\r\n"), "the audit log ends inside a line");
        AuditIndex index;
        QVERIFY(index.load(book.file(AuditLogFileName)));
        const AuditVerification v = verifyAudit(index);
        QVERIFY2(v.firstBroken == 0, qPrintable(verificationLines(v).join(' ')));
        qint64 bets = 0, restores = 0;
        for (qint64 i = 0; i < index.lineCount(); ++i) {
            AuditRecord r;
            QVERIFY(index.record(i, r));
            if (r.action == AuditAction::Sheet) ++bets;
            if (r.action == AuditAction::Restore) ++restores;
        }
        QVERIFY2(bets >= loggedBets, qPrintable(QString("%1 bets logged, %2 committed").arg(bets).arg(loggedBets)));
        QVERIFY2(restores >= loggedRestores,
                 qPrintable(QString("%1 restores logged, %2 committed").arg(restores).arg(loggedRestores)));
    }

    static void apply(QHash<QString, Values>& into, const QStringList& changes)
    {
        for (const QString& c : changes) {
            const QStringList f = c.split('|');
            into[f[0]][f[1]] += f[2].toDouble();
        }
    }

    // Checks the form of every number file and returns its values.
    Values readChecked(const TempBook& book, const QString& name, const QString& type)
    {
        const QString text = book.text(name);
        const QStringList& set = NumberSet(type);
        const QStringList lines = text.split("\r\n");
        if (lines.size() != set.size() + 2 || !lines[set.size()].isEmpty() || !lines.last().isEmpty())
            qFatal("%s is not whole: %lld lines", qPrintable(name), static_cast<long long>(lines.size()));
        Values v;
        for (int i = 0; i < set.size(); ++i) {
            const QStringList parts = lines[i].split('-');
            if (parts.size() != 2 || parts[0] != set[i] || DigitsOnly(parts[1]) != parts[1] || parts[1].isEmpty())
                qFatal("%s line %d is malformed: %s", qPrintable(name), i, qPrintable(lines[i]));
            if (parts[1] != "0") v.insert(parts[0], parts[1].toDouble());
        }
        return v;
    }

private slots:
    // A kill once the intent record is written and before any file, and one between the stake file
    // and the count file: the next open completes the entry, so every stake has its count.
    void killBetweenStakeAndCount_data()
    {
        QTest::addColumn<int>("files");
        QTest::newRow("before the stake file") << 0;
        QTest::newRow("between the stake and the count file") << 1;
    }
    void killBetweenStakeAndCount()
    {
        QFETCH(int, files);
        TempBook book;
        for (const QString& c : Customers)
            QVERIFY(book.store->creationSequence(c).isEmpty());
        const QByteArray stakeBefore = book.bytes("0_2.gif"), countBefore = book.bytes("a-_0.gif");
        QProcess child;
        child.start(self, {"--commit-child", book.folder(), QString::number(files)});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::CrashExit || child.exitCode() == 9, "the child was not cut off");
        // As the kill left it: the record is there, and the count file is not written yet.
        QVERIFY(saveInterrupted(*book.store));
        QCOMPARE(book.bytes("0_2.gif") == stakeBefore, files == 0);
        QCOMPARE(book.bytes("a-_0.gif"), countBefore);

        Store store(book.folder());
        Session session;
        Ledger ledger(store, session);
        QVERIFY(ledger.startLines().contains(CommitCompletedText));
        QVERIFY(!saveInterrupted(*book.store));
        const Values stakes = readChecked(book, "0_2.gif", "3ตัวตรง");
        const Values counts = readChecked(book, "a-_0.gif", "3ตัวตรง");
        QCOMPARE(stakes, (Values{{"123", 55}, {"045", 20}}));
        QCOMPARE(counts, (Values{{"123", 2}, {"045", 1}}));
        // Opened once more, nothing is left to do and nothing is said.
        Store again(book.folder());
        Ledger reopened(again, session);
        QVERIFY(!reopened.startLines().contains(CommitCompletedText));
    }

    void fiftyKills()
    {
        TempBook book;
        for (const QString& c : Customers)
            book.store->creationSequence(c);
        QRandomGenerator rng(20261208);
        int kills = 0, committed = 0, inflightApplied = 0;
        QElapsedTimer clock;
        clock.start();
        // At least fifty kills, and enough of them while the child is committing rather than starting.
        while ((kills < 50 || committed < 25) && clock.elapsed() < 200000) {
            QProcess child;
            child.start(self, {"--child", book.folder(), QString::number(rng.generate())});
            QVERIFY(child.waitForStarted());
            // Every fourth kill may fall while the child is still starting (copying its shadow,
            // opening the book and its log); the others while it enters. A slow start (a new process
            // under wine takes the better part of a second) would otherwise leave no kill inside an
            // entry at all.
            QByteArray said;
            if (kills % 4 != 0) {
                QElapsedTimer starting;
                starting.start();
                while (!said.contains("READY") && starting.elapsed() < 60000 && child.waitForReadyRead(1000))
                    said += child.readAllStandardOutput();
                QVERIFY2(said.contains("READY"), "the child did not start within a minute");
            }
            QTest::qWait(rng.bounded(80, 600));
            child.kill(); // SIGKILL, or TerminateProcess on Windows
            child.waitForFinished();
            ++kills;

            // What the child said: every PLAN followed by DONE is committed; a last PLAN without DONE
            // is the entry in flight.
            // A Windows console program ends its lines with CR LF.
            const QStringList out = QString::fromUtf8(said + child.readAllStandardOutput()).remove('\r').split('\n');
            QStringList pending;
            for (const QString& l : out) {
                if (l.startsWith("PLAN ")) {
                    pending = l.split(' ', Qt::SkipEmptyParts).mid(2);
                    // The last piece has no line end: the kill cut it before the child finished
                    // announcing the entry, so it never started committing it.
                    if (&l == &out.last()) pending.clear();
                } else if (l.startsWith("DONE ")) {
                    apply(expected, pending);
                    pending.clear();
                    ++committed;
                    const QStringList done = l.split(' ');
                    (done.value(2) == "restore" ? loggedRestores : loggedBets) += done.value(3).toLongLong();
                }
            }
            QHash<QString, Values> inflight;
            if (!pending.isEmpty()) apply(inflight, pending);
            // Opened again, as the next start does: an entry cut off between two files is completed.
            completeInterruptedSave(*book.store);
            QVERIFY(!saveInterrupted(*book.store));
            int inflightFiles = 0, inflightFilesApplied = 0;

            // Every number file: whole, and either without or with the entry in flight.
            for (int t = 0; t < typeNames().size(); ++t) {
                const QString type = typeNames()[t];
                QStringList names{Store::fileName(book.store->TypeFilePath(type, Store::CountPrefix)),
                                  Store::fileName(book.store->TypeFilePath(type, Store::SendOutPrefix))};
                for (int c = 1; c <= Customers.size(); ++c)
                    names << QString("%1_%2.gif").arg(t).arg(c);
                for (const QString& name : names) {
                    const Values actual = readChecked(book, name, type);
                    Values before = expected.value(name);
                    for (auto it = before.begin(); it != before.end();)
                        it = it.value() == 0 ? before.erase(it) : ++it;
                    if (actual == before) continue;
                    Values after = expected.value(name);
                    for (auto it = inflight.value(name).cbegin(); it != inflight.value(name).cend(); ++it)
                        after[it.key()] += it.value();
                    for (auto it = after.begin(); it != after.end();)
                        it = it.value() == 0 ? after.erase(it) : ++it;
                    QVERIFY2(actual == after, qPrintable(name + " holds what was never committed"));
                    expected[name] = after;
                    ++inflightApplied;
                    ++inflightFilesApplied;
                }
                for (const QString& name : names)
                    if (inflight.contains(name)) ++inflightFiles;
            }
            // An entry or a restore is one commit: after the open, its stakes and counts are all there
            // or none is.
            if (inflightFilesApplied > 0)
                QVERIFY2(inflightFilesApplied == inflightFiles,
                         qPrintable(QString("%1 of the %2 files of the entry in flight were applied")
                                        .arg(inflightFilesApplied)
                                        .arg(inflightFiles)));
            checkLog(book);
        }
        qInfo("%d kills, %d entries committed, %d files with the entry in flight applied, %lld bets and %lld restores "
              "in the audit log, %lld ms",
              kills, committed, inflightApplied, static_cast<long long>(loggedBets),
              static_cast<long long>(loggedRestores), clock.elapsed());
        QVERIFY(kills >= 50);
        QVERIFY(committed >= 25);
    }
    // A new draw killed at random moments of its copy and of its delete phase. Before the next start the past
    // draws list no copy but a whole one and never count the old draw twice; after it, the book is the whole old
    // book with no past draw, or the fresh book with the old draw listed once with its true customers and stakes.
    void killedNewDraws()
    {
        QTemporaryDir dir;
        const QString book = dir.path() + "/picture_1";
        const QString draws = dir.path() + "/draws";
        const QString old = dir.path() + "/old";
        const QString fresh = dir.path() + "/fresh/picture_1";
        {
            // Enough customers that both phases last long enough to be cut.
            Store store(old);
            QDir().mkpath(old);
            QRandomGenerator rng(20261209);
            for (int c = 0; c < 10; ++c) {
                const QString customer = QString("c%1").arg(c);
                store.creationSequence(customer);
                commitEntry(store, customer, randomEntry(rng));
            }
        }
        const DrawSummary whole = summariseDraw(PastDraw{old, {}, {}});
        QVERIFY(whole.customers == 10 && whole.stake > 0);
        const auto oldFiles = bookFiles(old);
        auto owedTotal = [](Store& store) {
            double total = 0;
            for (const Owed& o : owedReport(store).rows)
                total += o.amount;
            return total;
        };
        Store oldStore(old);
        const double wholeOwed = owedTotal(oldStore);
        QVERIFY(wholeOwed > 0);
        copyFolder(old, fresh);
        {
            Store store(fresh);
            QVERIFY(startNewDraw(store).done);
        }
        const auto freshFiles = bookFiles(fresh);

        auto start = [&](QProcess& child) {
            QDir(draws).removeRecursively();
            copyFolder(old, book);
            child.start(self, {"--draw-child", book});
            QByteArray said;
            while (!said.contains("READY\n") && child.waitForReadyRead(60000))
                said += child.readAllStandardOutput();
            return said.contains("READY\n");
        };
        auto figure = [](const QByteArray& said, const char* word) {
            const qsizetype at = said.indexOf(word);
            return at < 0 ? -1
                          : said.mid(at + qstrlen(word)).split('\n').first().trimmed().split(' ').first().toLongLong();
        };

        // One uncut draw gives the length of each phase.
        qint64 copyMs = 0, deleteMs = 0;
        {
            QProcess child;
            QVERIFY(start(child));
            QVERIFY(child.waitForFinished(120000));
            const QByteArray said = child.readAllStandardOutput();
            copyMs = figure(said, "COPIED ");
            deleteMs = figure(said, "DONE ") - copyMs;
            QVERIFY2(copyMs >= 0 && deleteMs >= 0, said.constData());
        }

        QRandomGenerator rng(20261210);
        int kills = 0, inCopy = 0, inDelete = 0, completed = 0;
        QElapsedTimer clock;
        clock.start();
        while ((kills < 24 || inCopy < 6 || inDelete < 6) && clock.elapsed() < 200000) {
            QProcess child;
            QVERIFY2(start(child), "the child did not start within a minute");
            // Half the kills aimed at the copy, half at the deletes, the moment each said it began.
            if (kills % 2 == 0) {
                QTest::qWait(rng.bounded(int(copyMs) + 1));
            } else {
                QByteArray said;
                while (!said.contains("COPIED") && child.waitForReadyRead(60000))
                    said += child.readAllStandardOutput();
                QThread::usleep(rng.bounded(quint32(deleteMs * 1000 + 1)));
            }
            child.kill();
            child.waitForFinished();
            ++kills;

            // As the kill left it.
            const QStringList copies = QDir(draws).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            QString copy;
            bool copying = false, unfinished = false;
            for (const QString& c : copies) {
                if (c.endsWith(CopyInProgressSuffix))
                    copying = true;
                else
                    copy = draws + "/" + c;
                if (isUnfinishedDraw(draws + "/" + c)) unfinished = true;
            }
            QVERIFY(copies.size() <= 1);
            {
                Store store(book);
                const QList<PastDraw> past = listPastDraws(store);
                QCOMPARE(past.size(), copy.isEmpty() || unfinished ? 0 : 1);
                const double left = summariseDraw(PastDraw{book, {}, {}}).stake;
                if (!past.isEmpty()) {
                    QCOMPARE(summariseDraw(past.first()).stake, whole.stake);
                    QCOMPARE(left, 0.0);
                }
                QVERIFY2(left <= whole.stake, "the old draw is counted twice");
            }
            inCopy += copying;
            inDelete += unfinished;

            // The next start.
            Store store(book);
            Session session;
            const Ledger ledger(store, session);
            QVERIFY(QDir(draws).entryList({"*" + CopyInProgressSuffix}, QDir::Dirs).isEmpty());
            const QList<PastDraw> past = listPastDraws(store);
            if (copy.isEmpty()) {
                QCOMPARE(ledger.startLines(), copying ? QStringList{DrawNotStartedText} : QStringList());
                QVERIFY(past.isEmpty());
                QCOMPARE(owedTotal(store), wholeOwed);
                QVERIFY2(bookFiles(book) == oldFiles, "the old book is not whole");
                continue;
            }
            QCOMPARE(ledger.startLines(),
                     unfinished ? QStringList{DrawCompletedText + QDir::toNativeSeparators(copy)} : QStringList());
            completed += unfinished;
            QCOMPARE(past.size(), 1);
            QVERIFY(!isUnfinishedDraw(copy));
            const DrawSummary s = summariseDraw(past.first());
            QCOMPARE(s.customers, whole.customers);
            QCOMPARE(s.stake, whole.stake);
            QVERIFY2(bookFiles(copy) == oldFiles, "the copy is not the old book");
            QVERIFY2(bookFiles(book) == freshFiles, "the book is not the fresh one");
            QCOMPARE(owedTotal(store), wholeOwed);

            // The fresh log names the copy once, unless the kill fell between the last delete and that line.
            AuditIndex index;
            QVERIFY(index.load(store.path(AuditLogFileName)));
            int named = 0;
            for (qint64 i = 0; i < index.lineCount(); ++i) {
                AuditRecord r;
                QVERIFY(index.record(i, r));
                if (r.action == AuditAction::NewDraw) {
                    QCOMPARE(r.detail, QDir::toNativeSeparators(copy));
                    ++named;
                }
            }
            QVERIFY(named <= 1);
            if (unfinished) QCOMPARE(named, 1);
        }
        qInfo("%d kills of a new draw (copy %lld ms, deletes %lld ms): %d in the copy (half copy removed), %d in "
              "the deletes, completed at the next start, %lld ms",
              kills, static_cast<long long>(copyMs), static_cast<long long>(deleteMs), inCopy, inDelete,
              static_cast<long long>(clock.elapsed()));
        QCOMPARE(completed, inDelete);
        QVERIFY(inCopy >= 6);
        QVERIFY(inDelete >= 6);
    }
};

int main(int argc, char* argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--commit-child") {
        QCoreApplication app(argc, argv);
        return runCommitChild(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    }
    if (argc == 3 && QByteArray(argv[1]) == "--draw-child") {
        QCoreApplication app(argc, argv);
        return runDrawChild(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 4 && QByteArray(argv[1]) == "--child") {
        QCoreApplication app(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toUInt());
    }
    QCoreApplication app(argc, argv);
    TestCrash test;
    test.self = QCoreApplication::applicationFilePath();
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crash.moc"
