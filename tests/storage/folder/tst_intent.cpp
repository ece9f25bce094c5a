// The intent record of a save of several files: what the next open does with each file it names, a
// record that cannot be trusted, and a failed save whose files cannot be put back at once.
#include "core/model/types.h"
#include "storage/folder/committexts.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/intent.h"
#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <unistd.h>

using namespace varnoth;
using namespace varnoth::test;

namespace
{
const QString Straight3 = QStringLiteral("3ตัวตรง");

// What a file holds when the book is opened again: its bytes before the save, after it, or
// something else wrote it since.
enum class At { Before, After, Other };

QByteArray fileAt(At at, const QByteArray& before, const QByteArray& after)
{
    switch (at) {
    case At::Before:
        return before;
    case At::After:
        return after;
    default:
        return "999-1\r\n";
    }
}

FolderTransaction::StepHook onStep = nullptr;
std::function<void(int)> stepAction;
void callStep(int n)
{
    if (stepAction) stepAction(n);
}
} // namespace

class TestIntent : public QObject
{
    Q_OBJECT
private slots:
    void nextOpenCompletesTheSave_data()
    {
        QTest::addColumn<At>("stake");
        QTest::addColumn<At>("count");
        QTest::addColumn<QStringList>("completed");
        QTest::addColumn<QStringList>("leftAlone");
        QTest::newRow("cut before the first file")
            << At::Before << At::Before << QStringList{"0_1.gif", "a-_0.gif"} << QStringList{};
        QTest::newRow("cut between the two files")
            << At::After << At::Before << QStringList{"a-_0.gif"} << QStringList{};
        QTest::newRow("cut after the last file") << At::After << At::After << QStringList{} << QStringList{};
        QTest::newRow("count changed since")
            << At::Before << At::Other << QStringList{"0_1.gif"} << QStringList{"a-_0.gif"};
    }
    void nextOpenCompletesTheSave()
    {
        QFETCH(At, stake);
        QFETCH(At, count);
        QFETCH(QStringList, completed);
        QFETCH(QStringList, leftAlone);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        const QByteArray stakeBefore = book.bytes("0_1.gif"), countBefore = book.bytes("a-_0.gif");
        const QByteArray stakeAfter = QByteArray(stakeBefore).replace("\r\n123-0\r\n", "\r\n123-50\r\n");
        const QByteArray countAfter = QByteArray(countBefore).replace("\r\n123-0\r\n", "\r\n123-1\r\n");
        QVERIFY(stakeAfter != stakeBefore);
        QFile record(book.file(IntentFileName));
        QVERIFY(record.open(QIODevice::WriteOnly));
        record.write(intentRecord(intentBytes({{"0_1.gif", intentFingerprint(stakeBefore), stakeAfter, false},
                                               {"a-_0.gif", intentFingerprint(countBefore), countAfter, false}})));
        record.close();
        const QByteArray otherCount = fileAt(count, countBefore, countAfter);
        QFile(book.file("0_1.gif")).remove();
        book.put("0_1.gif", QString::fromLatin1(fileAt(stake, stakeBefore, stakeAfter)));
        QFile(book.file("a-_0.gif")).remove();
        book.put("a-_0.gif", QString::fromLatin1(otherCount));

        const IntentRecovery r = completeInterruptedSave(*book.store);
        QVERIFY(r.found && !r.damaged && r.failed.isEmpty());
        QCOMPARE(r.completed, completed);
        QCOMPARE(r.leftAlone, leftAlone);
        QCOMPARE(book.bytes("0_1.gif"), stakeAfter);
        QCOMPARE(book.bytes("a-_0.gif"), count == At::Other ? otherCount : countAfter);
        if (!leftAlone.isEmpty())
            QCOMPARE(r.lines(), QStringList{CommitLeftAloneText + leftAlone.join(' ')});
        else
            QCOMPARE(r.lines(), completed.isEmpty() ? QStringList{} : QStringList{CommitCompletedText});
        QVERIFY(!saveInterrupted(*book.store));
        // Nothing left: the next open finds nothing and says nothing.
        QVERIFY(completeInterruptedSave(*book.store).lines().isEmpty());
    }

    // A whole record whose body is cut short, names a file outside the book, or holds bytes that are
    // not Base64 is never acted on: the book's files stay as they are and the record is kept for
    // someone to look at.
    void untrustedRecordTouchesNothing_data()
    {
        QTest::addColumn<QByteArray>("body");
        const QByteArray whole = intentBytes({{"0_1.gif", {}, "1-1\r\n", false}, {"a-_0.gif", {}, "2-2\r\n", false}});
        QTest::newRow("no end line") << whole.left(whole.indexOf("end#"));
        QTest::newRow("end line counts other files") << QByteArray(whole).replace("end#2", "end#3");
        QTest::newRow("file outside the book") << intentBytes({{"../escape.gif", {}, "1-1\r\n", false}});
        QTest::newRow("the record itself") << intentBytes({{IntentFileName, {}, "1-1\r\n", false}});
        QTest::newRow("bytes not Base64") << QByteArray("file#0_1.gif\r\nbefore#-\r\nafter#!!\r\nend#1\r\n");
    }
    void untrustedRecordTouchesNothing()
    {
        QFETCH(QByteArray, body);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        QFile f(book.file(IntentFileName));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(intentRecord(body));
        f.close();
        const auto before = folderBytes(book.folder());
        const IntentRecovery r = completeInterruptedSave(*book.store);
        QVERIFY(r.damaged);
        QCOMPARE(r.lines(), QStringList{CommitRecordDamagedText + IntentFileName});
        QCOMPARE(folderBytes(book.folder()), before);
        QVERIFY(!QFile::exists(book.folder() + "../escape.gif"));
        QVERIFY(saveInterrupted(*book.store));
        // Nothing is written over it: a commit waits until someone has looked.
        FolderTransaction tx(*book.store);
        tx.addStake(Straight3, "x", "123", 5);
        tx.addCount(Straight3, "123", 1);
        QVERIFY(!tx.commit().ok());
        QCOMPARE(folderBytes(book.folder()), before);
    }

    // A record cut off while it was written (a power cut) was written before any file of the book:
    // it has nothing to complete, and the open says nothing.
    void recordCutWhileWrittenIsDropped_data()
    {
        QTest::addColumn<QByteArray>("record");
        const QByteArray whole = intentRecord(intentBytes({{"0_1.gif", {}, "1-1\r\n", false}}));
        QTest::newRow("first line only") << whole.left(whole.indexOf("\r\n") + 2);
        QTest::newRow("body cut short") << whole.left(whole.size() - 3);
        QTest::newRow("first line cut") << whole.left(10);
        QTest::newRow("body changed") << QByteArray(whole).replace("file#0_1", "file#0_2");
        QTest::newRow("empty") << QByteArray();
    }
    void recordCutWhileWrittenIsDropped()
    {
        QFETCH(QByteArray, record);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        book.put(IntentFileName, QString::fromLatin1(record));
        const auto before = folderBytes(book.folder());
        const IntentRecovery r = completeInterruptedSave(*book.store);
        QVERIFY(!r.found);
        QVERIFY(r.lines().isEmpty());
        QCOMPARE(folderBytes(book.folder()), before);
        QVERIFY(!saveInterrupted(*book.store));
    }

    // The record is no file of the book: the creation sequence neither reads, changes nor reports it,
    // and a save of several files leaves it closed.
    void recordIsNoBookFile()
    {
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        FolderTransaction tx(*book.store);
        tx.addStake(Straight3, "x", "123", 5);
        tx.addCount(Straight3, "123", 1);
        QVERIFY(tx.commit().ok());
        const QByteArray record = book.bytes(IntentFileName);
        QVERIFY(record.startsWith("done\r\n"));
        QVERIFY(!saveInterrupted(*book.store));
        QVERIFY(book.store->creationSequence("y").isEmpty());
        QCOMPARE(book.bytes(IntentFileName), record);
        QCOMPARE(book.store->customers(), QStringList({"x", "y"}));
    }

    // The count write fails and the stake file cannot be put back at once either: the record is
    // turned around, so that the next open puts the stake back instead of completing the save.
    void failedPutBackIsFinishedAtNextOpen()
    {
        if (geteuid() != 0) QSKIP("making one file unwritable needs root (chattr)");
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        const QByteArray stakeBefore = book.bytes("0_1.gif"), countBefore = book.bytes("a-_0.gif");
        const QString stake = book.file("0_1.gif"), count = book.file("a-_0.gif");
        if (QProcess::execute("chattr", {"+i", count}) != 0) QSKIP("chattr is not available here");
        stepAction = [&](int n) {
            if (n == 1) QProcess::execute("chattr", {"+i", stake});
        };
        FolderTransaction::setStepHookForTesting(callStep);
        FolderTransaction tx(*book.store);
        tx.addStake(Straight3, "x", "123", 50);
        tx.addCount(Straight3, "123", 1);
        const CommitResult r = tx.commit();
        FolderTransaction::setStepHookForTesting(onStep);
        stepAction = nullptr;
        QProcess::execute("chattr", {"-i", stake});
        QProcess::execute("chattr", {"-i", count});

        QVERIFY(!r.ok());
        QCOMPARE(r.outcome.status, Status::WriteFailed);
        QCOMPARE(r.outcome.file, count);
        QVERIFY(book.bytes("0_1.gif") != stakeBefore); // still holding the stake, for now
        QVERIFY(saveInterrupted(*book.store));

        const IntentRecovery back = completeInterruptedSave(*book.store);
        QCOMPARE(back.completed, QStringList{"0_1.gif"});
        QCOMPARE(book.bytes("0_1.gif"), stakeBefore);
        QCOMPARE(book.bytes("a-_0.gif"), countBefore);
        QVERIFY(!saveInterrupted(*book.store));
    }
};

QTEST_GUILESS_MAIN(TestIntent)
#include "tst_intent.moc"
