#include "core/model/types.h"
#include "entry/entry.h"
#include "entry/gates.h"
#include "entry/sheet.h"
#include "storage/folder/intent.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTest>
#include <algorithm>
#include <functional>
#include <unistd.h>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString S3 = "3ตัวตรง";
const QString Rejected = " ข้อมูลผิดพลาด ให้คีย์ใหม่";

// The bytes of a fresh number file of the type after the given "number:value" lines were changed.
QByteArray expectedFile(const QString& type, const QStringList& changes)
{
    QString text = InitialContent(type);
    for (const QString& c : changes)
        text.replace("\r\n" + c.section(':', 0, 0) + "-0\r\n",
                     "\r\n" + c.section(':', 0, 0) + "-" + c.section(':', 1) + "\r\n");
    return cp874(text + "\r\n");
}

// One entry of the main window's fields, committed as the window commits it.
EntryResult enter(Store& store, const QString& number, const QString& amount, const QString& type,
                  const QString& customer = "x")
{
    const std::optional<GateExpansion> gates = expandNumberField(number);
    EntryBatch batch(store, customer);
    batch.addPlan(planFieldEntry(gates ? gates->gates : QString(), number, amount, type, customer).plan);
    return batch.commit();
}

// A file that cannot be replaced: immutable for root, in a read-only folder for anyone else.
bool lockAgainstWrites(const TempBook& book, const QString& name, bool lock)
{
    if (geteuid() == 0) return QProcess::execute("chattr", {lock ? "+i" : "-i", book.file(name)}) == 0;
    return QFile::setPermissions(book.folder(), QFile::ReadOwner | QFile::ExeOwner |
                                                    (lock ? QFile::Permissions() : QFile::WriteOwner));
}

} // namespace

class TestEntry : public QObject
{
    Q_OBJECT
private slots:
    void sameEntryTwiceAddsUp()
    {
        TempBook book;
        book.store->creationSequence("x");
        QCOMPARE(enter(*book.store, "123", "100", S3).lines, QStringList({"123-100"}));
        const EntryResult again = enter(*book.store, "123", "100", S3);
        QCOMPARE(again.lines, QStringList({"123-100"}));
        QCOMPARE(book.bytes("0_1.gif"), expectedFile(S3, {"123:200"}));
        QCOMPARE(book.bytes("a-_0.gif"), expectedFile(S3, {"123:2"}));
        QCOMPARE(again.changes.size(), 1);
        QCOMPARE(again.changes[0].number + again.changes[0].type + again.changes[0].amount, "123" + S3 + "100");
    }

    // What was keyed; the list lines joined by "|"; every changed line as "file:number:value". Every stake
    // file of the customer is compared whole; a count file where the row names it.
    void fieldEntries_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("stored");
        const QString P3 = "3ตัวโต๊ด", T2 = "2ตัวบน";
        auto add = [](const char* name, const QStringList& f) {
            QTest::newRow(name) << f[0] << f[1] << f[2] << f[3] << f[4];
        };
        add("permutation sorts", {"321", "50", P3, "123-50", "1_1.gif:123:50 a-_1.gif:123:1"});
        add("straight and permuted", {"123", "100+50", S3, "123-100|<3ตัวโต๊ด> <x>|123-50|<3ตัวตรง> <x>|พร้อมรับข้อมูล",
                                      "0_1.gif:123:100 1_1.gif:123:50 a-_1.gif:123:1"});
        add("top and bottom", {"57", "100+100", T2, "57-100|<2ตัวล่าง> <x>|57-100|<2ตัวบน> <x>|พร้อมรับข้อมูล",
                               "3_1.gif:57:100 5_1.gif:57:100"});
        add("runners", {"5", "100+100", "วิ่งบน", "5-100|<วิ่งล่าง> <x>|5-100|<วิ่งบน> <x>|พร้อมรับข้อมูล",
                        "6_1.gif:5:100 7_1.gif:5:100 a-_7.gif:5:1"});
        add("four digits paired: nothing", {"1234", "100+100", "4ตัวโต๊ด", "", ""});
        add("wrong width", {"12", "100", S3, "12-100" + Rejected, ""});
        add("decimal amount", {"123", "1.5", S3, "123-1.5" + Rejected, ""});
        add("no digit in the amount", {"123", "--", S3, "123-" + Rejected, ""});
        add("leading zero", {"123", "0100", S3, "123-0100", "0_1.gif:123:100"});
        add("no gate row: digits only", {"12+3", "100", S3, "123-100", "0_1.gif:123:100"});
        add("palindrome twice", {"121+2", "10", S3, "121-10|121-10", "0_1.gif:121:20 a-_0.gif:121:2"});
        add("gates take the first amount", {"57+2", "10+20", T2, "57-10|75-10", "3_1.gif:57:10 3_1.gif:75:10"});
        add("no line for digits out of order",
            {"751+2", "10", P3, "751-10" + Rejected + "|157-10", "1_1.gif:157:10 a-_1.gif:157:1"});
        QStringList gates = GatesContaining("5", 2).split(' ', Qt::SkipEmptyParts);
        for (QString& g : gates)
            g += "-40" + Rejected;
        add("each gate of the wrong width", {"5+19", "40", S3, gates.join('|'), ""});
    }
    void fieldEntries()
    {
        QFETCH(QString, number);
        QFETCH(QString, amount);
        QFETCH(QString, type);
        QFETCH(QString, lines);
        QFETCH(QString, stored);
        TempBook book;
        book.store->creationSequence("x");
        QCOMPARE(enter(*book.store, number, amount, type).lines.join('|'), lines);
        QHash<QString, QStringList> changes;
        for (const QString& s : stored.split(' ', Qt::SkipEmptyParts))
            changes[s.section(':', 0, 0)] << s.section(':', 1);
        for (int t = 0; t < 12; ++t) {
            const QString stake = QString("%1_1.gif").arg(t), count = QString("a-_%1.gif").arg(t);
            QVERIFY2(book.bytes(stake) == expectedFile(typeNames()[t], changes.value(stake)), qPrintable(stake));
            if (changes.contains(count)) QCOMPARE(book.bytes(count), expectedFile(typeNames()[t], changes[count]));
        }
    }

    void failedWritesAreNeverListedAsStored()
    {
        TempBook book;
        book.store->creationSequence("x");
        const QByteArray fresh = book.bytes("a-_0.gif");
        if (!lockAgainstWrites(book, "0_1.gif", true)) QSKIP("cannot make a file unwritable here");
        const EntryResult r = enter(*book.store, "57+10", "5", S3);
        lockAgainstWrites(book, "0_1.gif", false);
        QCOMPARE(r.lines.size(), 10);
        QCOMPARE(r.lines.first(), QString("057-5 บันทึกข้อมูลไม่สำเร็จ"));
        QVERIFY(r.changes.isEmpty());
        QCOMPARE(book.bytes("a-_0.gif"), fresh); // not counted
        if (geteuid() != 0) return;              // a read-only folder cannot single out the count file

        lockAgainstWrites(book, "a-_0.gif", true);
        const EntryResult counted = enter(*book.store, "123", "5", S3);
        lockAgainstWrites(book, "a-_0.gif", false);
        // A stake is never stored without its count: the bet is not stored and says so.
        QCOMPARE(counted.lines, QStringList({"123-5 บันทึกข้อมูลไม่สำเร็จ", "บันทึกข้อมูลไม่สำเร็จ a-_0.gif"}));
        QVERIFY(counted.changes.isEmpty());
        QCOMPARE(book.bytes("0_1.gif"), expectedFile(S3, {}));
        QVERIFY(!saveInterrupted(*book.store));
    }

    void batchEqualsBetByBet()
    {
        TempBook batchBook, singleBook;
        batchBook.store->creationSequence("x");
        singleBook.store->creationSequence("x");
        EntryBatch batch(*batchBook.store, "x");
        QStringList one;
        for (const char* line : {"5+19-40", "57-10+20", "05-3", "554-1", "777+3-2", "12+19-1", "50-1.5"}) {
            batch.addLine(line, "2ตัวบน");
            EntryBatch single(*singleBook.store, "x");
            single.addLine(line, "2ตัวบน");
            one += single.commit().lines;
        }
        QCOMPARE(batch.commit().lines, one);
        for (const char* name : {"3_1.gif", "5_1.gif", "a-_3.gif", "a-_5.gif"})
            QCOMPARE(batchBook.bytes(name), singleBook.bytes(name));
        QCOMPARE(batchBook.text("3_1.gif").count("\r\n"), 101); // still one empty line at the end
    }

    void sheets_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("lines");
        QTest::newRow("empty lines dropped") << "554-100\r\n\r\n\r\n12-50"
                                             << "554-100|12-50" + Rejected;
        QTest::newRow("two tokens") << "554-100 358+6-10\r\n"
                                    << "554-100|358-10|385-10|538-10|583-10|835-10|853-10";
        QTest::newRow("doubled dash") << "554--100"
                                      << "554-100";

        QTest::newRow("bare line feeds") << "554-1\n555-2\n"
                                         << "554-1|555-2";
        QTest::newRow("paired") << "345-100+100"
                                << "345-100|<3ตัวโต๊ด> <x>|345-100|<3ตัวตรง> <x>|พร้อมรับข้อมูล";
        QTest::newRow("no amount") << "554-"
                                   << "554-" + Rejected;
    }
    void sheets()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, lines);
        TempBook book;
        book.store->creationSequence("x");
        QCOMPARE(SplitSheet(*book.store, sheet, S3, "x").join('|'), lines);
    }

    void loadSheetFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("windows-874") << QByteArray("\xCA\xC1 554-100\r\n\r\n12-50") << "สม 554-100\r\n12-50\r\n";
        QTest::newRow("utf-8 with a mark") << QByteArray("\xEF\xBB\xBF"
                                                         "สม  1-2\n\n3-4\n")
                                           << "สม 1-2\r\n3-4\r\n";
        QTest::newRow("utf-8 without a mark") << QByteArray("ก-1\r\n") << "ก-1\r\n";
    }
    void loadSheetFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        TempBook book;
        QFile f(book.file("sheet.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        QCOMPARE(LoadSheetFile(book.file("sheet.txt")), text);
        QCOMPARE(LoadSheetFile(book.file("missing.txt")), QString());
    }

    void speedOnABookOf200Customers()
    {
        TempBook book;
        // Plain writes make the 2400 stake files quickly; the creation sequence adds the per-type files.
        QString customers = "#";
        for (int c = 1; c <= 200; ++c) {
            customers += QString("c%1#").arg(c);
            for (int t = 0; t < 12; ++t)
                book.put(QString("%1_%2.gif").arg(t).arg(c), InitialContent(typeNames()[t]) + "\r\n");
        }
        book.put("custom.gif", customers + "\r\n");
        book.store->creationSequence("c1");
        // The I/O floor of one bet: read the stake and count files, write both atomically. Each round times
        // the floor and the operations back to back, so a burst of disk activity hits them alike.
        auto floorRun = [&] {
            for (const char* name : {"0_100.gif", "a-_0.gif"}) {
                QFile in(book.file(name));
                in.open(QIODevice::ReadOnly);
                QSaveFile out(book.file(name));
                out.open(QIODevice::WriteOnly);
                out.write(in.readAll());
                out.commit();
            }
        };
        const std::function<void()> runs[] = {floorRun, [&] { enter(*book.store, "123", "100", S3, "c100"); },
                                              [&] { enter(*book.store, "5+271", "10", S3, "c100"); },
                                              [&] { book.store->creationSequence("c100"); }};
        QList<qint64> times[4];
        for (int round = 0; round < 9; ++round)
            for (int k = 0; k < 4; ++k) {
                QElapsedTimer t;
                t.start();
                runs[k]();
                times[k] << t.nsecsElapsed();
            }
        double ms[4];
        for (int k = 0; k < 4; ++k) {
            std::sort(times[k].begin(), times[k].end());
            ms[k] = times[k][4] / 1e6;
        }
        const double floor = ms[0], single = ms[1], gates = ms[2], creation = ms[3];
        QString sheet;
        for (int i = 0; i < 10000; ++i) {
            const QString n = QString("%1").arg(i % 1000, 3, 10, QChar('0'));
            const QString forms[] = {n + "-10", n + "+6-5", n + "-10+20", QString::number(i % 10) + "+19-5",
                                     n + "+2-1 " + n + "-3"};
            sheet += forms[i % 5] + "\r\n";
        }
        QElapsedTimer t;
        t.start();
        SplitSheet(*book.store, sheet, S3, "c150");
        const double sheetMs = t.nsecsElapsed() / 1e6;
        qInfo("I/O floor %.2f ms; single bet %.2f ms; 271 gates %.2f ms; creation sequence %.2f ms; 10000-line sheet "
              "%.0f ms",
              floor, single, gates, creation, sheetMs);
        // Loose enough for a busy machine, tight enough to catch one write per bet.
        QVERIFY(single < 5 * floor + 20);
        QVERIFY(gates < 5 * floor + 40);
        QVERIFY(sheetMs < 8000);
    }
};

QTEST_GUILESS_MAIN(TestEntry)
#include "tst_entry.moc"
