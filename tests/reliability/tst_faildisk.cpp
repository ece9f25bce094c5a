// Entries on a data folder that turns read-only and on a disk that fills up: every failure is shown,
// nothing that was not written is listed as stored, and no file is truncated or emptied.
#include "core/model/types.h"
#include "entry/entry.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <unistd.h>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

EntryResult enter(Store& store, const QString& customer, const QStringList& lines, const QString& type)
{
    EntryBatch batch(store, customer);
    for (const QString& l : lines)
        batch.addLine(l, type);
    return batch.commit();
}

} // namespace

class TestFailDisk : public QObject
{
    Q_OBJECT
    QTemporaryDir base;
    QString mountPoint;

private slots:
    void init()
    {
        if (geteuid() != 0) QSKIP("mounting a small file system needs root");
        mountPoint = base.path() + "/disk";
        QDir().mkpath(mountPoint);
        if (!run("mount", {"-t", "tmpfs", "-o", "size=400k", "tmpfs", mountPoint}))
            QSKIP("this machine does not allow mounting a file system");
    }
    void cleanup()
    {
        if (!mountPoint.isEmpty()) run("umount", {mountPoint});
    }

    void folderTurnsReadOnlyBetweenEntries()
    {
        Store store(mountPoint);
        QVERIFY(store.creationSequence("x").isEmpty());
        QCOMPARE(enter(store, "x", {"123-100"}, "3ตัวตรง").lines, QStringList({"123-100"}));
        QVERIFY(run("mount", {"-o", "remount,ro", mountPoint}));
        const auto before = folderBytes(mountPoint);

        const EntryResult r = enter(store, "x", {"123-50", "5+19-10"}, "3ตัวตรง");
        for (const QString& line : r.lines)
            QVERIFY2(line.endsWith(" บันทึกข้อมูลไม่สำเร็จ") || line.endsWith(" ข้อมูลผิดพลาด ให้คีย์ใหม่"), qPrintable(line));
        QVERIFY(r.changes.isEmpty());
        QStringList failures = store.creationSequence("somchai");
        QCOMPARE(failures, QStringList({WriteFailedText + "custom.gif"}));
        QCOMPARE(folderBytes(mountPoint), before);

        QVERIFY(run("mount", {"-o", "remount,rw", mountPoint}));
        QCOMPARE(enter(store, "x", {"123-50"}, "3ตัวตรง").lines, QStringList({"123-50"}));
        QVERIFY(store.ReadWholeFile(store.StakeFilePath("3ตัวตรง", "x")).contains("\r\n123-150\r\n"));
    }

    void diskFillsUp()
    {
        Store store(mountPoint);
        QVERIFY(store.creationSequence("x").isEmpty());
        // Fill what is left of the disk.
        QFile filler(mountPoint + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        for (int size : {65536, 4096, 64, 1}) {
            const QByteArray block(size, 'x');
            while (filler.write(block) == block.size()) {
            }
        }
        filler.close();
        const auto before = folderBytes(mountPoint);

        const EntryResult r = enter(store, "x", {"123-100", "5-40"}, "3ตัวตรง");
        QVERIFY(r.changes.isEmpty());
        QVERIFY(r.lines.first().endsWith(" บันทึกข้อมูลไม่สำเร็จ"));
        // A new customer's files cannot be made either, and say so.
        const QStringList failures = store.creationSequence("somchai");
        QVERIFY(!failures.isEmpty());
        for (const QString& f : failures)
            QVERIFY(f.startsWith(WriteFailedText));
        // Nothing that was there is truncated or emptied (the customer list may have gained the
        // name only if it could be written whole).
        const auto after = folderBytes(mountPoint);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (it.key() != "custom.gif") QCOMPARE(after.value(it.key()), it.value());
        QVERIFY(after.value("custom.gif") == "#x#\r\n" || after.value("custom.gif") == "#x#somchai#\r\n");

        QFile::remove(mountPoint + "/filler");
        QCOMPARE(enter(store, "x", {"123-100"}, "3ตัวตรง").lines, QStringList({"123-100"}));
    }
};

QTEST_GUILESS_MAIN(TestFailDisk)
#include "tst_faildisk.moc"
