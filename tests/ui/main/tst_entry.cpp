#include "model/types.h"
#include "store/store.h"
#include "testsupport.h"
#include "ui/main/entry.h"
#include "ui/main/gates.h"
#include "ui/main/sheet.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTest>
#include <algorithm>
#include <unistd.h>

using namespace varnoth;
using namespace varnoth::test;

namespace {

const QString S3 = "3ตัวตรง";
const QString P3 = "3ตัวโต๊ด";
const QString Rejected = " ข้อมูลผิดพลาด ให้คีย์ใหม่";

// The bytes a fresh number file of the type has after the given lines were changed.
QByteArray expectedFile(const QString& type, const QList<QPair<QString, QString>>& changes)
{
    QString text = InitialContent(type);
    for (const auto& [number, value] : changes)
        text.replace("\r\n" + number + "-0\r\n", "\r\n" + number + "-" + value + "\r\n");
    return cp874(text + "\r\n");
}

// The lines of one main-window entry, committed as the window commits it.
EntryResult enter(Store& store, const QString& number, const QString& amount, const QString& type,
                  const QString& customer = "x")
{
    const std::optional<GateExpansion> gates = expandNumberField(number);
    const FieldEntry entry = planFieldEntry(gates ? gates->gates : QString(), number, amount, type, customer);
    EntryBatch batch(store, customer);
    batch.addPlan(entry.plan);
    return batch.commit();
}

// Makes a file impossible to replace: immutable for root, a read-only folder for anyone else.
bool lockAgainstWrites(const TempBook& book, const QString& name)
{
    if (geteuid() != 0) return QFile::setPermissions(book.folder(), QFile::ReadOwner | QFile::ExeOwner);
    return QProcess::execute("chattr", {"+i", book.file(name)}) == 0;
}

void unlock(const TempBook& book, const QString& name)
{
    if (geteuid() == 0) QProcess::execute("chattr", {"-i", book.file(name)});
    QFile::setPermissions(book.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class TestEntry : public QObject {
    Q_OBJECT
private slots:
    void sameEntryTwiceAddsUp()
    {
        TempBook book;
        book.store->creationSequence("x");
        QCOMPARE(enter(*book.store, "123", "100", S3).lines, QStringList({"123-100"}));
        QCOMPARE(book.bytes("0_1.gif"), expectedFile(S3, {{"123", "100"}}));
        QCOMPARE(book.bytes("a-_0.gif"), expectedFile(S3, {{"123", "1"}}));
        const EntryResult again = enter(*book.store, "123", "100", S3);
        QCOMPARE(again.lines, QStringList({"123-100"}));
        QCOMPARE(book.bytes("0_1.gif"), expectedFile(S3, {{"123", "200"}}));
        QCOMPARE(book.bytes("a-_0.gif"), expectedFile(S3, {{"123", "2"}}));
        QCOMPARE(again.changes.size(), 1);
        QCOMPARE(again.changes[0].type, S3);
        QCOMPARE(again.changes[0].number, QString("123"));
        QCOMPARE(again.changes[0].value, 100.0);
        QCOMPARE(again.customer, QString("x"));
    }

    // Each row: what was keyed, the list lines, and the lines of which files changed to what.
    void fieldEntries_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("stored"); // "file:number:value"
        QTest::newRow("permutation sorts") << "321" << "50" << P3 << QStringList{"123-50"}
                                           << QStringList{"1_1.gif:123:50", "a-_1.gif:123:1"};
        QTest::newRow("straight and permuted")
            << "123" << "100+50" << S3
            << QStringList{"123-100", "<3ตัวโต๊ด> <x>", "123-50", "<3ตัวตรง> <x>", "พร้อมรับข้อมูล"}
            << QStringList{"0_1.gif:123:100", "1_1.gif:123:50", "a-_0.gif:123:1", "a-_1.gif:123:1"};
        QTest::newRow("top and bottom") << "57" << "100+100" << "2ตัวบน"
                                        << QStringList{"57-100", "<2ตัวล่าง> <x>", "57-100", "<2ตัวบน> <x>",
                                                       "พร้อมรับข้อมูล"}
                                        << QStringList{"3_1.gif:57:100", "5_1.gif:57:100"};
        QTest::newRow("runners") << "5" << "100+100" << "วิ่งบน"
                                 << QStringList{"5-100", "<วิ่งล่าง> <x>", "5-100", "<วิ่งบน> <x>", "พร้อมรับข้อมูล"}
                                 << QStringList{"6_1.gif:5:100", "7_1.gif:5:100", "a-_7.gif:5:1"};
        QTest::newRow("four digits with a pair stores nothing") << "1234" << "100+100" << "4ตัวโต๊ด" << QStringList{}
                                                                << QStringList{};
        QTest::newRow("wrong width") << "12" << "100" << S3 << QStringList{"12-100" + Rejected} << QStringList{};
        QTest::newRow("decimal amount") << "123" << "1.5" << S3 << QStringList{"123-1.5" + Rejected} << QStringList{};
        QTest::newRow("grouped amount") << "123" << "1,000" << S3 << QStringList{"123-1,000" + Rejected}
                                        << QStringList{};
        QTest::newRow("amount of signs only") << "123" << "--" << S3 << QStringList{"123-" + Rejected}
                                              << QStringList{};
        QTest::newRow("leading zero kept in the list") << "123" << "0100" << S3 << QStringList{"123-0100"}
                                                       << QStringList{"0_1.gif:123:100"};
        QTest::newRow("no gate row: digits only") << "12+3" << "100" << S3 << QStringList{"123-100"}
                                                  << QStringList{"0_1.gif:123:100"};
        QTest::newRow("palindrome reverse twice") << "121+2" << "10" << S3 << QStringList{"121-10", "121-10"}
                                                  << QStringList{"0_1.gif:121:20", "a-_0.gif:121:2"};
        QTest::newRow("gate list takes the first amount") << "57+2" << "10+20" << "2ตัวบน"
                                                          << QStringList{"57-10", "75-10"}
                                                          << QStringList{"3_1.gif:57:10", "3_1.gif:75:10"};
        QTest::newRow("reverse not ascending is rejected")
            << "751+2" << "10" << P3 << QStringList{"751-10" + Rejected, "157-10"}
            << QStringList{"1_1.gif:157:10", "a-_1.gif:157:1"};
        QTest::newRow("paired on a permutation type keeps the first as keyed")
            << "321" << "10+20" << P3
            << QStringList{"321-10" + Rejected, "<3ตัวโต๊ด> <x>", "123-20", "<3ตัวโต๊ด> <x>", "พร้อมรับข้อมูล"}
            << QStringList{"1_1.gif:123:20"};
        QTest::newRow("name cleaning of the number") << "1 2-3" << "5" << S3 << QStringList{"123-5"}
                                                     << QStringList{"0_1.gif:123:5"};
    }
    void fieldEntries()
    {
        QFETCH(QString, number);
        QFETCH(QString, amount);
        QFETCH(QString, type);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, stored);
        TempBook book;
        book.store->creationSequence("x");
        QCOMPARE(enter(*book.store, number, amount, type).lines, lines);

        QHash<QString, QList<QPair<QString, QString>>> changes;
        for (const QString& s : stored) {
            const QStringList f = s.split(':');
            changes[f[0]] << qMakePair(f[1], f[2]);
        }
        // Every stake file is checked whole; count files where the row names them.
        for (int t = 0; t < 12; ++t) {
            const QString stake = QString("%1_1.gif").arg(t), count = QString("a-_%1.gif").arg(t);
            QVERIFY2(book.bytes(stake) == expectedFile(typeNames()[t], changes.value(stake)), qPrintable(stake));
            if (changes.contains(count))
                QVERIFY2(book.bytes(count) == expectedFile(typeNames()[t], changes.value(count)), qPrintable(count));
        }
    }

    void gateListOnTheWrongWidthRejectsEachGate()
    {
        TempBook book;
        book.store->creationSequence("x");
        const QByteArray before = book.bytes("0_1.gif");
        const EntryResult r = enter(*book.store, "5+19", "40", S3);
        QCOMPARE(r.lines.size(), 19);
        QCOMPARE(r.lines.first(), "05-40" + Rejected);
        QCOMPARE(r.lines.last(), "95-40" + Rejected);
        QVERIFY(r.changes.isEmpty());
        QCOMPARE(book.bytes("0_1.gif"), before);
        QCOMPARE(book.bytes("a-_0.gif"), before);
    }

    void gateListWithoutAmountLeavesTheFields()
    {
        const FieldEntry e = planFieldEntry("57 75 ", "57+2", " -", "2ตัวบน", "x");
        QVERIFY(!e.clearFields);
        QVERIFY(e.plan.bets.isEmpty());
        QVERIFY(planFieldEntry("", "1234", "1+1", S3, "x").clearFields);
    }

    void unknownTypeOrCustomerListsNothing()
    {
        TempBook book;
        book.store->creationSequence("x");
        QVERIFY(enter(*book.store, "123", "100", "ทั้งหมด").lines.isEmpty());
        QVERIFY(enter(*book.store, "123", "100", S3, "nobody").lines.isEmpty());
    }

    void failedStakeWriteIsNotReportedAsStored()
    {
        TempBook book;
        book.store->creationSequence("x");
        const QByteArray before = book.bytes("a-_0.gif");
        if (!lockAgainstWrites(book, "0_1.gif")) QSKIP("cannot make a file unwritable here");
        const EntryResult r = enter(*book.store, "57+10", "5", S3);
        unlock(book, "0_1.gif");
        QCOMPARE(r.lines.size(), 10);
        QCOMPARE(r.lines.first(), QString("057-5 บันทึกข้อมูลไม่สำเร็จ"));
        QVERIFY(r.changes.isEmpty());
        QCOMPARE(book.bytes("a-_0.gif"), before); // not counted
    }

    void failedCountWriteIsReported()
    {
        TempBook book;
        book.store->creationSequence("x");
        if (!lockAgainstWrites(book, "a-_0.gif")) QSKIP("cannot make a file unwritable here");
        const EntryResult r = enter(*book.store, "123", "5", S3);
        unlock(book, "a-_0.gif");
        if (geteuid() != 0) return; // a read-only folder fails the stake file first
        QCOMPARE(r.lines, QStringList({"123-5", "บันทึกข้อมูลไม่สำเร็จ a-_0.gif"}));
        QCOMPARE(book.bytes("0_1.gif"), expectedFile(S3, {{"123", "5"}}));
    }

    void manyBetsOneFileEqualBetByBet()
    {
        // A batch writes each file once; the bytes equal committing the bets one at a time.
        TempBook batchBook, singleBook;
        batchBook.store->creationSequence("x");
        singleBook.store->creationSequence("x");
        const QStringList lines = {"5+19-40", "57-10+20", "05-3", "554-1", "777+3-2", "12+19-1", "50-1.5"};
        EntryBatch batch(*batchBook.store, "x");
        QStringList one;
        for (const QString& line : lines) {
            batch.addLine(line, "2ตัวบน");
            EntryBatch single(*singleBook.store, "x");
            single.addLine(line, "2ตัวบน");
            one += single.commit().lines;
        }
        QCOMPARE(batch.commit().lines, one);
        for (const QString& name : {"3_1.gif", "5_1.gif", "a-_3.gif", "a-_5.gif"})
            QCOMPARE(batchBook.bytes(name), singleBook.bytes(name));
        QCOMPARE(batchBook.text("3_1.gif").count("\r\n"), 101); // one empty line at the end, still
    }

    void sheets_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty line dropped") << "554-100\r\n\r\n\r\n12-50" << QStringList{"554-100", "12-50" + Rejected};
        QTest::newRow("two tokens on a line") << "554-100 358+6-10\r\n"
                                              << QStringList{"554-100", "358-10", "385-10", "538-10", "583-10",
                                                             "835-10", "853-10"};
        QTest::newRow("doubled dash") << "554--100" << QStringList{"554-100"};
        QTest::newRow("words only") << "hello world\r\nno bets here" << QStringList{};
        QTest::newRow("one line of tokens") << "554-1   555-2 junk" << QStringList{"554-1", "555-2"};
        QTest::newRow("bare line feeds") << "554-1\n555-2\n" << QStringList{"554-1", "555-2"};
        QTest::newRow("paired in a sheet") << "345-100+100"
                                           << QStringList{"345-100", "<3ตัวโต๊ด> <x>", "345-100", "<3ตัวตรง> <x>",
                                                          "พร้อมรับข้อมูล"};
        QTest::newRow("no amount") << "554-" << QStringList{"554-" + Rejected};
    }
    void sheets()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, lines);
        TempBook book;
        book.store->creationSequence("x");
        QCOMPARE(SplitSheet(*book.store, sheet, S3, "x"), lines);
    }

    void collapseRuns()
    {
        QCOMPARE(CollapseRuns("a    b", " "), QString("a b"));
        QCOMPARE(CollapseRuns("a\r\n\r\n\r\nb", "\r\n"), QString("a\r\nb"));
        QCOMPARE(CollapseRuns("554---100", "-"), QString("554-100"));
        QCOMPARE(CollapseRuns("abc", ""), QString("abc"));
    }

    void loadSheetFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("windows-874 with blank lines") << QByteArray("\xCA\xC1 554-100\r\n\r\n12-50") << "สม 554-100\r\n12-50\r\n";
        QTest::newRow("utf-8 with a mark and line feeds") << QByteArray("\xEF\xBB\xBF" "สม  1-2\n\n3-4\n")
                                                          << "สม 1-2\r\n3-4\r\n";
        QTest::newRow("utf-8 without a mark") << QByteArray("ก-1\r\n") << "ก-1\r\n";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void loadSheetFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        TempBook book;
        QFile f(book.file("sheet.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QCOMPARE(LoadSheetFile(book.file("sheet.txt")), text);
        QCOMPARE(LoadSheetFile(book.file("missing.txt")), QString());
    }

    void speedOnABookOf200Customers()
    {
        TempBook book;
        for (int c = 1; c <= 200; ++c) book.store->AddCustomer(QString("c%1").arg(c));
        book.store->creationSequence("c1");
        QElapsedTimer t;
        auto median = [&](auto&& run) {
            QList<qint64> times;
            for (int i = 0; i < 7; ++i) {
                t.start();
                run();
                times << t.nsecsElapsed();
            }
            std::sort(times.begin(), times.end());
            return times[3] / 1e6;
        };
        const double single = median([&] { enter(*book.store, "123", "100", S3, "c100"); });
        const double gates = median([&] { enter(*book.store, "5+271", "10", S3, "c100"); });
        const double entryWithCreation = median([&] {
            book.store->creationSequence("c100");
            enter(*book.store, "123", "100", S3, "c100");
        });
        // The I/O floor of one bet: read the stake and count files, write both atomically.
        const double floor = median([&] {
            for (const QString& name : {"0_100.gif", "a-_0.gif"}) {
                QFile in(book.file(name));
                in.open(QIODevice::ReadOnly);
                const QByteArray bytes = in.readAll();
                in.close();
                QSaveFile out(book.file(name));
                out.open(QIODevice::WriteOnly);
                out.write(bytes);
                out.commit();
            }
        });
        QString sheet;
        for (int i = 0; i < 10000; ++i) {
            const QString n = QString("%1").arg(i % 1000, 3, 10, QChar('0'));
            const QString forms[] = {n + "-10", n + "+6-5", n + "-10+20", QString::number(i % 10) + "+19-5",
                                     n + "+2-1 " + n + "-3"};
            sheet += forms[i % 5] + "\r\n";
        }
        t.start();
        const QStringList lines = SplitSheet(*book.store, sheet, S3, "c150");
        const double sheetMs = t.nsecsElapsed() / 1e6;
        qInfo("I/O floor of one bet %.2f ms, single bet %.2f ms, with creation sequence %.2f ms, 271 gates %.2f ms, sheet of 10000 lines "
              "(%lld list lines) %.0f ms",
              floor, single, entryWithCreation, gates, static_cast<long long>(lines.size()), sheetMs);
        // Bounds loose enough for a busy machine, tight enough to catch one write per bet.
        QVERIFY(single < 3 * floor + 10);
        QVERIFY(gates < 3 * floor + 40);
        QVERIFY(sheetMs < 8000);
    }
};

QTEST_GUILESS_MAIN(TestEntry)
#include "tst_entry.moc"
