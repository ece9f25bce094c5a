// A stake line with blanks around its number (" 13-20" from a hand-edited or foreign file) is that
// number: the totals and every report read the book exactly as they read the same book written
// plainly, and reading it changes no byte.
#include "core/model/text.h"
#include "entry/entry.h"
#include "entry/totals.h"
#include "gui/main/session.h"
#include "reports/analysis.h"
#include "reports/cutting.h"
#include "reports/exposure.h"
#include "reports/overlimit.h"
#include "reports/prize.h"
#include "reports/reportresult.h"
#include "reports/sendout.h"
#include "reports/view.h"
#include "settings/numberruletexts.h"
#include "testsupport.h"
#include "tools/backup.h"
#include "tools/restore.h"

#include <QRegularExpression>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Top2 = QStringLiteral("2ตัวบน");

// Customer a holds `line13` for the number 13 and 57-10; customer b holds 13-5. Settings that make
// every report show the number: a limit below its stake, a cut on it, a drawn result on it.
void makeBook(TempBook& book, const QString& line13)
{
    book.stake(Top2, "a", "57", 10);
    book.stake(Top2, "b", "13", 5);
    QString text = book.text("3_1.gif");
    QVERIFY(text.contains("\r\n13-0\r\n"));
    text.replace("\r\n13-0\r\n", "\r\n" + line13 + "\r\n");
    book.put("3_1.gif", text);
    book.put("lotto2.gif", "2ตัวบน#15\r\n");
    book.put("lotto6.gif", "2ตัวบน#13\r\n");
    book.put("lotto4.gif", "2ตัวบน#70\r\n");
    book.put("lotto3.gif", "123456#111#222#333#444#13#\r\n2ตัวบน#13-\r\n");
}

// Every report of the book, each as its lines (or its figures) joined under a heading.
QStringList everyReport(Store& store)
{
    QStringList out;
    const auto add = [&](const QString& name, const QStringList& lines) { out << "[" + name + "]" << lines; };
    Session s;
    add("view", ViewAllData(store, s).lines);
    add("search a 13", SearchReport(store, s, "13", Top2, "a").lines);
    add("search all 13", SearchReport(store, s, "13", Top2, AllChoice).lines);
    add("search a", SearchReport(store, s, "", Top2, "a").lines);
    add("search all types a", SearchReport(store, s, "", AllChoice, "a").lines);
    add("over-limit", OverLimit(store, s, Top2, false).lines);
    add("keep", OverLimit(store, s, Top2, true).lines);
    add("cuts", NumberCutReport(store, s, Top2).lines);
    add("prize a", PrizeCheck(store, s, Top2, "a").lines);
    add("prize all", PrizeCheck(store, s, AllChoice, AllChoice).lines);
    add("analysis", Analysis(store, Top2).lines);
    add("total stake a", {TotalStake(store, Top2, "a")});
    const Exposure e = buildExposure(store, Top2);
    QStringList cells;
    for (const ExposureCell& c : e.cells)
        if (c.stake != 0) cells << c.number + "-" + shortestDecimal(c.stake) + "-" + shortestDecimal(c.excess);
    add("exposure", cells << shortestDecimal(e.total));
    add("customer stakes", customerStakes(store, Top2, "13"));
    const StakeTotals all = bookTotals(store), a = customerTotals(store, Top2, "a");
    add("totals",
        {shortestDecimal(all.count), shortestDecimal(all.total), shortestDecimal(a.count), shortestDecimal(a.total)});
    return out;
}

// Customers a (13-50, 14-50) and b (13-5) on 2ตัวบน, a limit of 10, the units digit 3 cut.
void makeWidthBook(TempBook& book)
{
    book.stake(Top2, "a", "13", 50);
    book.stake(Top2, "a", "14", 50);
    book.stake(Top2, "b", "13", 5);
    QVERIFY(book.store->WriteWholeFile(book.store->limitFile(), "2ตัวบน#10\r\n"));
    QVERIFY(book.store->WriteWholeFile(book.store->numberCutFile(), "2ตัวบน#3\r\n"));
    QVERIFY(book.store->WriteWholeFile(book.store->digitCutFile(), "2ตัวบน#001\r\n"));
}

// Every reader of a number file, one after the other on the same book: the reports, the send-out
// lists saved from them, a bet, and a restore of customer a's records; what each shows, under a
// heading.
QStringList everyReader(Store& store, const QString& backupDrive)
{
    QStringList out;
    const auto add = [&](const QString& name, const QStringList& lines) { out << "[" + name + "]" << lines; };
    Session s;
    add("over-limit", OverLimit(store, s, Top2, false).lines);
    add("over-limit all", OverLimit(store, s, AllChoice, false).lines);
    add("saved", RecordSendOut(store, s.SendOutData));
    add("cut", NumberCutReport(store, s, Top2).lines);
    add("cut all", NumberCutReport(store, s, AllChoice).lines);
    add("saved", RecordSendOut(store, s.SendOutData));
    add("over-limit after", OverLimit(store, s, AllChoice, false).lines);
    EntryBatch batch(store, "a");
    batch.addBet("13", "5", Top2);
    batch.addBet("57", "7", Top2);
    add("entry", batch.commit().lines);
    add("restore", runRestore(store, backupDrive).lines);
    add("view", ViewAllData(store, s).lines);
    add("over-limit last", OverLimit(store, s, Top2, false).lines);
    const StakeTotals a = customerTotals(store, Top2, "a");
    add("totals", {shortestDecimal(a.count), shortestDecimal(a.total)});
    return out;
}

} // namespace

class TestBlankNumbers : public QObject
{
    Q_OBJECT
private slots:
    void readAsTheNumber_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("blank before") << " 13-20";
        QTest::newRow("blank after") << "13 -20";
        QTest::newRow("blanks both sides") << "  13  -20";
        QTest::newRow("tab before") << "\t13-20";
    }
    void readAsTheNumber()
    {
        QFETCH(QString, line);
        TempBook plain, edited;
        makeBook(plain, "13-20");
        makeBook(edited, line);
        const QStringList expected = everyReport(*plain.store);
        QVERIFY(expected.contains("13-25")); // the two customers' stakes on 13 add up
        const QHash<QString, QByteArray> before = folderBytes(edited.folder());
        const QStringList reports = everyReport(*edited.store);
        for (qsizetype i = 0; i < std::max(expected.size(), reports.size()); ++i)
            QCOMPARE(reports.value(i), expected.value(i));
        QCOMPARE(folderBytes(edited.folder()), before); // reading never rewrites the hand-edited line

        // A backup of the edited book brings back the same book.
        QTemporaryDir drive;
        QCOMPARE(runBackup(*edited.store, drive.path()).value(0), QString("การสำรองข้อมูลเสร็จสิ้นแล้ว"));
        TempBook restoredPlain, restoredEdited;
        QCOMPARE(runBackup(*plain.store, drive.path() + "/p").value(0), QString("การสำรองข้อมูลเสร็จสิ้นแล้ว"));
        runRestore(*restoredEdited.store, drive.path());
        runRestore(*restoredPlain.store, drive.path() + "/p");
        Session s1, s2;
        QCOMPARE(ViewAllData(*restoredEdited.store, s1).lines, ViewAllData(*restoredPlain.store, s2).lines);
    }

    // A stake, count or send-out file whose first line is not a plain number line (blanks around its
    // number, or an empty line, blanks or a word above it) is read with the width of its first
    // number line by every reader, exactly as the plain file; changing it rewrites only the lines of
    // the numbers changed.
    void widthComesFromTheFirstNumberLine_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("head"); // what stands in place of the first line "00-0"
        const QStringList heads = {" 00-0",       "00 -0",       "\t00-0",         "\r\n00-0",
                                   "   \r\n00-0", "ยอด\r\n00-0", "total-0\r\n00-0"};
        const QStringList names = {"blank before",          "blank after",       "tab",
                                   "empty line first",      "blanks line first", "word line first",
                                   "word with a dash first"};
        for (const char* file : {"b_3.gif", "3_1.gif", "a-_3.gif"})
            for (qsizetype i = 0; i < heads.size(); ++i)
                QTest::addRow("%s, %s", file, qPrintable(names[i])) << QString(file) << heads[i];
    }
    void widthComesFromTheFirstNumberLine()
    {
        QFETCH(QString, file);
        QFETCH(QString, head);
        QTemporaryDir drive;
        {
            TempBook client;
            client.stake(Top2, "a", "13", 7);
            client.stake(Top2, "a", "57", 3);
            QCOMPARE(runBackup(*client.store, drive.path()).value(0), QString("การสำรองข้อมูลเสร็จสิ้นแล้ว"));
        }
        TempBook plain, edited;
        makeWidthBook(plain);
        makeWidthBook(edited);
        const QString text = edited.text(file);
        QVERIFY(text.startsWith("00-0\r\n"));
        edited.put(file, head + text.mid(4));

        const QStringList expected = everyReader(*plain.store, drive.path());
        QVERIFY2(expected.contains("14-40") && expected.contains("13-55"), qPrintable(expected.join('|')));
        // The bet and the restored record, each with the mark of a number over its type's limit.
        QVERIFY2(!expected.filter(QRegularExpression("^13-5( |$)")).isEmpty() &&
                     !expected.filter(QRegularExpression("^13-7( |$)")).isEmpty(),
                 qPrintable(expected.join('|')));
        const QStringList read = everyReader(*edited.store, drive.path());
        for (qsizetype i = 0; i < std::max(expected.size(), read.size()); ++i)
            QCOMPARE(read.value(i), expected.value(i));
        // The hand-edited head stays as it was; every other line is what the plain book holds.
        QCOMPARE(edited.text(file), head + plain.text(file).mid(4));
    }

    // A bet finds the number's hand-edited line and rewrites it in the stored form.
    void changesFindTheLine()
    {
        TempBook book;
        makeBook(book, " 13-20");
        EntryBatch batch(*book.store, "a");
        batch.addBet("13", "1", Top2);
        const EntryResult r = batch.commit();
        // The book then holds 26 on 13 (the edited line's 20 counted) against the type's limit of 15.
        QCOMPARE(r.lines, QStringList({"13-1" + OverOwnLimitText}));
        const QString text = book.text("3_1.gif");
        QVERIFY(text.contains("\r\n13-21\r\n"));
        QVERIFY(!text.contains(" 13"));
        QCOMPARE(text.count("\r\n"), 101); // the line was changed in place, no line added
        QCOMPARE(customerTotals(*book.store, Top2, "a").total, 31.0);
    }
};

QTEST_MAIN(TestBlankNumbers)
#include "tst_blanknumbers.moc"
