#include "model/text.h"
#include "tools/printing.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace varnoth;

namespace
{

// Tall enough that no line runs past the bottom: only the row counter breaks pages.
const PageGeometry Endless{240, 1000000};

QStringList records(int count)
{
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << QString::number(i) + QStringLiteral("-") + QString::number(i * 10);
    return rows;
}

QStringList headings(int count)
{
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringLiteral("<h") + QString::number(i) + QStringLiteral(">");
    return rows;
}

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

QList<PrintedLine> onPage(const PrintJob& job, int page)
{
    QList<PrintedLine> lines;
    for (const PrintedLine& l : job.lines)
        if (l.page == page) lines << l;
    return lines;
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT
private slots:
    void emptyListIsOnePageWithItsHeader()
    {
        const PrintJob job = PrintMainList({}, 12, 3, Endless);
        QCOMPARE(job.pageCount, 1);
        QCOMPARE(job.copies, 3);
        const QList<PrintedLine> expected = {{1, HeadingIndent, PageTop, QStringLiteral("Page 1"), 12},
                                             {1, HeadingIndent, PageTop + 240, Separator, 12}};
        QCOMPARE(job.lines, expected);
    }

    void recordsPackThreeToALineAndHeadingsStandAlone()
    {
        const QString cell = blanks(20);
        const PrintJob job = PrintMainList({"1-1", "2-2", "3-3", "4-4", "<head>", "5-5"}, 10, 1, Endless);
        const QList<PrintedLine> expected = {
            {1, RecordIndent, PageTop + 480, cell + "1-1" + cell + "2-2" + cell + "3-3", 10},
            {1, RecordIndent, PageTop + 720, cell + "4-4", 10},
            {1, HeadingIndent, PageTop + 960, "<head>", 10},
            {1, RecordIndent, PageTop + 1200, cell + "5-5", 10}};
        QCOMPARE(job.lines.mid(2), expected);
    }

    // The text-editor form follows the same rules, every line ended by CR LF.
    void listText_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("heading and two records")
            << QStringList{"<3ตัวตรง> <x>", "123-100", "45-7"}
            << QStringList{"<3ตัวตรง> <x>", blanks(20) + "123-100" + blanks(23) + "45-7"};
        QTest::newRow("widths 6 and 10 end together")
            << QStringList{"1 - 50", "123 - 1500"} << QStringList{blanks(24) + "1 - 50" + blanks(20) + "123 - 1500"};
        QTest::newRow("text after a second separator dropped")
            << QStringList{"1 - 50 - old", "2-7"} << QStringList{blanks(20) + "1 - 50" + blanks(29) + "2-7"};
    }
    void listText()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, lines);
        QString expected;
        for (const QString& line : lines)
            expected += line + CRLF;
        QCOMPARE(BuildListText(rows), expected);
    }

    // Where page 2 starts and what it begins with, for the ways the row counter reaches 150.
    void rowCounterStartsThePage_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("firstOnPage2");
        const QString cell = blanks(20);
        QTest::newRow("150th record, 148 and 149 waiting")
            << records(150) << cell + "148-1480" + cell + "149-1490" + cell + "150-1500";
        QTest::newRow("a heading counts two")
            << headings(74) + QStringList{"1-1", "2-2"} << cell + "1-1" + cell + "2-2";
        QTest::newRow("a flushing heading counts three")
            << QStringList{"9-9"} + headings(73) + QStringList{"1-1", "2-2"} << cell + "1-1" + cell + "2-2";
        QTest::newRow("counter passing 150 still breaks")
            << QStringList{"9-9"} + headings(74) + QStringList{"1-1"} << cell + "1-1";
    }
    void rowCounterStartsThePage()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, firstOnPage2);
        const PrintJob job = PrintMainList(rows, 10, 1, Endless);
        QCOMPARE(job.pageCount, 2);
        const QList<PrintedLine> page2 = onPage(job, 2);
        QVERIFY(page2.size() >= 3);
        QCOMPARE(page2[0].text, QString("Page 2"));
        QCOMPARE(page2[0].y, PageTop);
        QCOMPARE(page2[1].text, Separator);
        QCOMPARE(page2[2].text, firstOnPage2);
        QCOMPARE(page2[2].y, PageTop + 2 * 240);
    }

    void textPastTheBottomContinuesOnTheNextPage()
    {
        // Room for 10 lines below the top offset.
        const PageGeometry small{100, PageTop + 1000};
        const PrintJob job = PrintMainList(headings(30), 10, 1, small);
        QCOMPARE(job.pageCount, 4);
        for (const PrintedLine& l : job.lines)
            QVERIFY(l.y + small.lineHeight <= small.pageHeight);
        QCOMPARE(job.lines.size(), 32); // nothing lost, no extra header on an overflow page
        QCOMPARE(onPage(job, 2).first().text, QString("<h9>"));
        QCOMPARE(onPage(job, 2).first().y, PageTop);

        // A later header numbers the paper it is printed on, not the pages the counter started.
        const PrintJob mixed = PrintMainList(headings(20) + records(150), 10, 1, small);
        const auto header = std::find_if(mixed.lines.cbegin() + 1, mixed.lines.cend(),
                                         [](const PrintedLine& l) { return l.text.startsWith("Page "); });
        QVERIFY(header != mixed.lines.cend());
        QVERIFY(header->page > 2);
        QCOMPARE(header->text, "Page " + QString::number(header->page));
    }

    void readmeHasTitleDateAndEveryLine()
    {
        const QString text = QStringList{"-หัวข้อ", " 1. ขั้นแรก", ""}.join(CRLF);
        const PrintJob job = PrintReadme(text, 9, 2, {200, PageTop + 1000});
        QStringList printed;
        for (const PrintedLine& l : job.lines) {
            QCOMPARE(l.x, RecordIndent);
            printed << l.text;
        }
        QCOMPARE(printed.size(), 6);
        QVERIFY(printed[1].startsWith("Date: ") && printed[1].contains(" Time: "));
        printed.removeAt(1);
        QCOMPARE(printed, (QStringList{"Readme", Separator, "-หัวข้อ", " 1. ขั้นแรก", ""}));
        // Five lines of 200 twips fill the page; the sixth goes on at the top of the next, unheaded.
        QCOMPARE(job.pageCount, 2);
        QCOMPARE(job.lines.last().page, 2);
        QCOMPARE(job.lines.last().y, PageTop);
    }

    void listTextFileThatCannotBeWrittenSaysSo()
    {
        QTemporaryDir dir;
        QVERIFY(writeListTextFile("x", dir.path()).written);
        QVERIFY(!writeListTextFile("x", dir.path() + "/missing/folder").written);
    }
};

QTEST_GUILESS_MAIN(TestPrinting)
#include "tst_printing.moc"
