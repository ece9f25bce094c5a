// Entry lines with pieces left over after their number and amount are rejected whole, and amounts
// above the book's ceiling are never stored by a sheet.
#include "core/model/types.h"
#include "entry/entry.h"
#include "entry/gates.h"
#include "entry/sheet.h"
#include "settings/options.h"
#include "storage/folder/store.h"
#include "testsupport.h"
#include "tools/backup.h"
#include "tools/restore.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString S3 = QStringLiteral("3ตัวตรง");
const QString Rejected = QStringLiteral(" ข้อมูลผิดพลาด ให้คีย์ใหม่");
const QString Above = QStringLiteral(" เกินยอดสูงสุด");

// The bytes of a fresh number file of the type with the given "number:value" lines changed.
QByteArray fileWith(const QString& type, const QStringList& changes)
{
    QString text = InitialContent(type);
    for (const QString& c : changes)
        text.replace("\r\n" + c.section(':', 0, 0) + "-0\r\n",
                     "\r\n" + c.section(':', 0, 0) + "-" + c.section(':', 1) + "\r\n");
    return cp874(text + "\r\n");
}

} // namespace

class TestEntryLines : public QObject
{
    Q_OBJECT
private slots:
    // The sheet, the ceiling ("" for the default), the list lines joined by "|", and the stake lines of
    // 3ตัวตรง (0_1.gif) and 3ตัวโต๊ด (1_1.gif) after it, as "file:number:value".
    void sheets_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("ceiling");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("stored");
        QTest::newRow("lost line breaks") << "554-100358+6-10"
                                          << ""
                                          << "554-100358+6-10" + Rejected << "";
        QTest::newRow("second dash") << "123-50-7\r\n456-10"
                                     << ""
                                     << "123-50-7" + Rejected + "|456-10"
                                     << "0_1.gif:456:10";
        QTest::newRow("third amount") << "123-1+2+3"
                                      << ""
                                      << "123-1+2+3" + Rejected << "";
        QTest::newRow("second gate code") << "123+6+3-10"
                                          << ""
                                          << "123+6+3-10" + Rejected << "";
        QTest::newRow("run-on among good tokens") << "111-5 222-6-333-7 444-8"
                                                  << ""
                                                  << "111-5|222-6-333-7" + Rejected + "|444-8"
                                                  << "0_1.gif:111:5 0_1.gif:444:8";
        // A NUL comes from a damaged file: "1<NUL>23" is not the number 123.
        QTest::newRow("NUL inside the number")
            << QString("1") + QChar(0) + "23-50\r\n456-10"
            << "" << QString("1") + QChar::ReplacementCharacter + "23-50" + Rejected + "|456-10"
            << "0_1.gif:456:10";
        QTest::newRow("NUL in a gate line")
            << QString("12") + QChar(0) + "3+2-10"
            << "" << QString("12") + QChar::ReplacementCharacter + "3+2-10" + Rejected << "";
        QTest::newRow("ceiling reached") << "123-100000"
                                         << ""
                                         << "123-100000"
                                         << "0_1.gif:123:100000";
        QTest::newRow("ceiling passed") << "123-100001\r\n456-1"
                                        << ""
                                        << "123-100001" + Above + "|456-1"
                                        << "0_1.gif:456:1";
        QTest::newRow("ceiling passed after leading zeros") << "123-0100001"
                                                            << ""
                                                            << "123-0100001" + Above << "";
        QTest::newRow("ceiling of the book") << "123-5000 456-5001"
                                             << "5000"
                                             << "123-5000|456-5001" + Above << "0_1.gif:123:5000";
        QTest::newRow("paired, second above") << "123-10+5001"
                                              << "5000"
                                              << "123-10|<3ตัวโต๊ด> <x>|123-5001" + Above + "|<3ตัวตรง> <x>|พร้อมรับข้อมูล"
                                              << "0_1.gif:123:10";
        QTest::newRow("every gate above") << "123+2-6000"
                                          << "5000"
                                          << "123-6000" + Above + "|321-6000" + Above << "";
    }
    void sheets()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, ceiling);
        QFETCH(QString, lines);
        QFETCH(QString, stored);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        if (!ceiling.isEmpty()) QVERIFY(setOptionValue(*book.store, option::AmountCeiling, ceiling).isEmpty());
        const QByteArray counts = book.bytes("a-_0.gif");
        const EntryResult r = enterSheet(*book.store, sheet, S3, "x");
        QCOMPARE(r.lines.join('|'), lines);
        QStringList straight, permuted;
        for (const QString& s : stored.split(' ', Qt::SkipEmptyParts))
            (s.startsWith("0_1") ? straight : permuted) << s.section(':', 1);
        QCOMPARE(book.bytes("0_1.gif"), fileWith(S3, straight));
        QCOMPARE(book.bytes("1_1.gif"), fileWith("3ตัวโต๊ด", permuted));
        if (stored.isEmpty()) QCOMPARE(book.bytes("a-_0.gif"), counts); // nothing counted either
        QCOMPARE(r.changes.size(), stored.split(' ', Qt::SkipEmptyParts).size());
    }

    // What a batch job needs to know to fail: every rejected line or bet is counted once.
    void rejectionsAreCounted_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<int>("rejected");
        QTest::addColumn<int>("stored");
        QTest::newRow("all good") << "123-5 456-6" << 0 << 2;
        QTest::newRow("a word for an amount") << "123-5\r\n456-x" << 1 << 1;
        QTest::newRow("wrong width") << "12-5 1234-5 123-5" << 2 << 1;
        QTest::newRow("run-on line") << "123-5-6 456-7" << 1 << 1;
        QTest::newRow("each gate of a bad amount") << "123+2-1.5" << 2 << 0;
        QTest::newRow("NUL") << QString("12") + QChar(0) + "3-5" << 1 << 0;
        QTest::newRow("above the ceiling is not a rejection") << "123-100001" << 0 << 0;
    }
    void rejectionsAreCounted()
    {
        QFETCH(QString, sheet);
        QFETCH(int, rejected);
        QFETCH(int, stored);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        const EntryResult r = enterSheet(*book.store, sheet, S3, "x");
        QCOMPARE(r.rejected, rejected);
        QCOMPARE(r.changes.size(), stored);
        QCOMPARE(r.notSaved, 0);
    }

    // The main window's fields: a third amount rejects the entry whole; the question is asked for
    // an amount above the ceiling only.
    void fields_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("stored"); // 3ตัวตรง lines as "number:value"
        QTest::newRow("three amounts") << "123"
                                       << "1+2+3"
                                       << "123-1+2+3" + Rejected << false << "";
        QTest::newRow("ceiling reached") << "123"
                                         << "100000"
                                         << "123-100000" << false << "123:100000";
        QTest::newRow("above") << "123"
                               << "100001"
                               << "123-100001" + Above << true << "";
        QTest::newRow("paired, one above")
            << "123"
            << "5+200000"
            << "123-5|<3ตัวโต๊ด> <x>|123-200000" + Above + "|<3ตัวตรง> <x>|พร้อมรับข้อมูล" << true << "123:5";
        QTest::newRow("above but rejected anyway") << "12"
                                                   << "200000"
                                                   << "12-200000" + Rejected << false << "";
        QTest::newRow("run-on amount") << "554"
                                       << "100358+6-10"
                                       << "554-100358+610" + Rejected << false << "";
        QTest::newRow("negative amount") << "123"
                                         << "-50"
                                         << "123-50" + Rejected << false << "";
    }
    // Without the operator's word (as in a sheet) the bets above are listed and not stored.
    void fields()
    {
        QFETCH(QString, number);
        QFETCH(QString, amount);
        QFETCH(QString, lines);
        QFETCH(bool, asks);
        QFETCH(QString, stored);
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        const FieldEntry entry = planFieldEntry({}, number, amount, S3, "x");
        EntryBatch batch(*book.store, "x");
        QCOMPARE(batch.ceiling(), 100000);
        const QString question = batch.aboveCeilingQuestion(entry.plan);
        QCOMPARE(!question.isEmpty(), asks);
        if (asks) QVERIFY(question.contains("100,000"));
        batch.addPlan(entry.plan);
        QCOMPARE(batch.commit().lines.join('|'), lines);
        QCOMPARE(book.bytes("0_1.gif"), fileWith(S3, stored.split(' ', Qt::SkipEmptyParts)));
    }

    void confirmedAmountIsStored()
    {
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        const FieldEntry entry = planFieldEntry(GatesReverse("12"), "12+2", "150000", "2ตัวบน", "x");
        EntryBatch batch(*book.store, "x");
        QVERIFY(batch.aboveCeilingQuestion(entry.plan).contains("(2 รายการ)"));
        batch.allowAboveCeiling();
        batch.addPlan(entry.plan);
        QCOMPARE(batch.commit().lines, QStringList({"12-150000", "21-150000"}));
        QCOMPARE(book.bytes("3_1.gif"), fileWith("2ตัวบน", {"12:150000", "21:150000"}));
    }

    // A restored record with a piece after its amount is rejected, not cut short.
    void restoreRejectsRunOnRecords()
    {
        TempBook from, to;
        from.stake(S3, "x", "123", 50);
        from.stake(S3, "x", "456", 7);
        QTemporaryDir drive;
        QCOMPARE(runBackup(*from.store, drive.path()).value(0), QString("การสำรองข้อมูลเสร็จสิ้นแล้ว"));
        QFile file(backupFilePath(drive.path()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        QVERIFY(bytes.contains("\r\n123-50\r\n"));
        bytes.replace("\r\n123-50\r\n", "\r\n123-50-9\r\n");
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        file.close();
        const MergeResult r = runRestore(*to.store, drive.path());
        QVERIFY2(r.lines.contains("123-50-9" + Rejected), qPrintable(r.lines.join('|')));
        QVERIFY(r.lines.contains("456-7"));
        QCOMPARE(r.count, 1.0);
        QCOMPARE(r.amount, 7.0);
        QVERIFY(!to.text("0_1.gif").contains("\r\n123-5"));
    }
};

QTEST_MAIN(TestEntryLines)
#include "tst_entrylines.moc"
