#include "reports/statistics.h"
#include "testsupport.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

class TestStatistics : public QObject
{
    Q_OBJECT
private slots:
    void mostFrequentFirst_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QStringList>("entries");
        auto row = [](const char* name, const QString& type, const QString& file, const QString& content,
                      const QStringList& entries) { QTest::newRow(name) << type << file << content << entries; };
        row("equal counts in file order", "3ตัวตรง", "a-_0.gif", "000-0\r\n007-3\r\n045-1\r\n123-3\r\n999-0\r\n\r\n",
            {"007-3", "123-3", "045-1"});
        row("a count ending in another count's text", "2ตัวบน", "a-_3.gif", "01-2\r\n02-12\r\n03-0\r\n\r\n",
            {"02-12", "01-2"});
        row("counts compare by value", "วิ่งบน", "a-_6.gif", "0-9\r\n1-10\r\n2-9\r\n\r\n", {"1-10", "0-9", "2-9"});
        row("no count above 0", "วิ่งล่าง", "a-_7.gif", "0-0\r\n1-0\r\n\r\n", {});
        row("missing file", "5ตัวโต๊ด", "other.gif", "", {});
        row("not a type", "ทั้งหมด", "a-_0.gif", "123-3\r\n", {});
        row("hand-edited junk", "วิ่งบน", "a-_6.gif",
            "junk\r\n\r\n1-x\r\n2--3\r\n3-4-9\r\n4-4\r\n4-4\r\n-5\r\n5- 2\r\n6-03\r\n",
            {"-5", "3-4-9", "4-4", "6-03", "5- 2"});
    }
    void mostFrequentFirst()
    {
        QFETCH(QString, type);
        QFETCH(QString, file);
        QFETCH(QString, content);
        QFETCH(QStringList, entries);
        TempBook book;
        book.put(file, content);
        const ReportResult r = NumberStatistics(*book.store, type);
        QVERIFY(r.clearList);
        QVERIFY(!r.closeWindows);
        QCOMPARE(r.lines, QStringList{"สถิติตัวเลข <" + type + ">"} + entries);
    }

    void emptyTypeDoesNothing()
    {
        TempBook book;
        const ReportResult none = NumberStatistics(*book.store, "");
        QVERIFY(none.lines.isEmpty());
        QVERIFY(!none.clearList);
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
