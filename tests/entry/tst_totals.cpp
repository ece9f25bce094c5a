#include "audit/auditlog.h"
#include "audit/auditread.h"
#include "entry/totals.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

// The stakes as "number-amount" texts, in the order given.
QStringList shown(const QList<PairStake>& stakes)
{
    QStringList rows;
    for (const PairStake& s : stakes)
        rows << s.number + "-" + s.amount;
    return rows;
}

} // namespace

class TestTotals : public QObject
{
    Q_OBJECT
private slots:
    // The byte scanner must read every line as the text scanner does, hand-edited junk included.
    void bytesAndTextAgree_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("count");
        QTest::addColumn<double>("total");
        QTest::newRow("fresh") << "000-0\r\n001-0\r\n\r\n" << 0.0 << 0.0;
        QTest::newRow("stakes") << "000-150\r\n001-0\r\n002-25\r\n\r\n" << 2.0 << 175.0;
        QTest::newRow("negative and junk") << "000--5\r\njunk\r\n001-abc\r\n002-12.5x\r\n" << 1.0 << 12.5;
        QTest::newRow("blanks and sign") << "000- +40\r\n001-  7 \r\n" << 2.0 << 47.0;
        QTest::newRow("thai and third field") << "ก-10-99\r\n001-ข\r\n" << 1.0 << 10.0;
        QTest::newRow("no line end") << "000-3" << 1.0 << 3.0;
        QTest::newRow("lone point") << "000-.\r\n001-.5\r\n" << 1.0 << 0.5;
        QTest::newRow("15 and 16 digits") << "000-999999999999999\r\n001-0000000000000001\r\n" << 2.0 << 1e15;
        QTest::newRow("stray CR and bare LF") << "000-5\r5\r\n001-7\r\r\n002-2\n" << 3.0 << 14.0;
    }
    void bytesAndTextAgree()
    {
        QFETCH(QString, text);
        QFETCH(double, count);
        QFETCH(double, total);
        const StakeTotals a = totalsOfText(text);
        const StakeTotals b = totalsOfBytes(encodeWindows874(text));
        QCOMPARE(a.count, count);
        QCOMPARE(a.total, total);
        QCOMPARE(b.count, count);
        QCOMPARE(b.total, total);
    }

    // The panel's stakes: only amounts above 0, the numbers the log changed last in front.
    void stakesNewestFirst_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("lastChangedFirst");
        QTest::addColumn<QStringList>("expected");
        const QString file = "00-0\r\n12-100\r\n34-50\r\n56-0\r\n78-20\r\n\r\n";
        QTest::newRow("no log: the file's order") << file << QStringList{} << QStringList{"12-100", "34-50", "78-20"};
        QTest::newRow("log order leads") << file << QStringList{"78", "12", "34"}
                                         << QStringList{"78-20", "12-100", "34-50"};
        QTest::newRow("numbers the log does not name follow")
            << file << QStringList{"34"} << QStringList{"34-50", "12-100", "78-20"};
        QTest::newRow("taken back to nothing is no stake")
            << file << QStringList{"56", "78"} << QStringList{"78-20", "12-100", "34-50"};
        QTest::newRow("blanks around the number") << " 12 -5\r\n34- 7\r\n"
                                                  << QStringList{"34", "12"} << QStringList{"34-7", "12-5"};
        QTest::newRow("junk and thai lines") << "junk\r\nก-10\r\n12-x\r\n" << QStringList{} << QStringList{"ก-10"};
    }
    void stakesNewestFirst()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, lastChangedFirst);
        QFETCH(QStringList, expected);
        QCOMPARE(shown(varnoth::stakesNewestFirst(encodeWindows874(file), lastChangedFirst)), expected);
    }

    // The order comes from the log lines of the pair alone: other types and customers, and lines
    // that do not change a stake, leave it alone; a take-back counts as the newest change.
    void summaryOfAPair()
    {
        TempBook book;
        book.stake("2ตัวบน", "somchai", "12", 100);
        book.stake("2ตัวบน", "somchai", "34", 50);
        book.stake("2ตัวบน", "somchai", "56", 30);
        book.stake("3ตัวตรง", "somchai", "123", 25);
        book.stake("2ตัวบน", "malee", "99", 10);
        const QString log = book.file(AuditLogFileName);
        {
            AuditWriter w;
            QVERIFY(w.open(log, "tester", "tester"));
            qint64 entry = 0;
            auto line = [&](AuditAction a, const QString& type, const QString& customer, const QString& number) {
                QVERIFY(w.append({a, type, customer, number, "", "1", ""}, ++entry));
            };
            line(AuditAction::Bet, "2ตัวบน", "somchai", "56");
            line(AuditAction::Bet, "2ตัวบน", "somchai", "12");
            line(AuditAction::Sheet, "2ตัวบน", "somchai", "34");
            line(AuditAction::Bet, "2ตัวบน", "malee", "12");
            line(AuditAction::Bet, "3ตัวตรง", "somchai", "56");
            line(AuditAction::TakeBack, "2ตัวบน", "somchai", "12");
            line(AuditAction::Setting, "2ตัวบน", "somchai", "34");
        }
        const PairSummary s = pairSummary(*book.store, log, "2ตัวบน", "somchai");
        QCOMPARE(shown(s.stakes), (QStringList{"12-100", "34-50", "56-30"}));

        // Every type the customer holds a stake on, in the types' order, and the sum of them.
        QCOMPARE(s.types.size(), 2);
        QCOMPARE(s.types[0].type + " " + s.types[1].type, QString("3ตัวตรง 2ตัวบน"));
        QCOMPARE(s.types[0].totals.total, 25.0);
        QCOMPARE(s.types[1].totals.count, 3.0);
        QCOMPARE(s.types[1].totals.total, 180.0);
        QCOMPARE(s.all.count, 4.0);
        QCOMPARE(s.all.total, 205.0);

        // Without a log the file's order stands; a name that is not a customer has nothing.
        QCOMPARE(shown(pairSummary(*book.store, book.file("none.log"), "2ตัวบน", "somchai").stakes),
                 (QStringList{"12-100", "34-50", "56-30"}));
        const PairSummary stranger = pairSummary(*book.store, log, "2ตัวบน", "nobody");
        QVERIFY(stranger.stakes.isEmpty());
        QVERIFY(stranger.types.isEmpty());
        QCOMPARE(stranger.all.total, 0.0);
    }
};

QTEST_GUILESS_MAIN(TestTotals)
#include "tst_totals.moc"
