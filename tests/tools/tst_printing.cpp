#include "core/model/text.h"
#include "tools/printing.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
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

const PageHeader Header{"ร้านโชคดี", QDateTime(QDate(2026, 12, 9), QTime(2, 15)), "3ตัวตรง สมชาย"};
const QString StampLine = "ร้านโชคดี    09/12/2569 02:15";

QList<PrintedLine> onPage(const PrintJob& job, int page)
{
    QList<PrintedLine> lines;
    for (const PrintedLine& l : job.lines)
        if (l.page == page) lines << l;
    return lines;
}

// Every page, however it was started, opens with the three header lines numbered "n/count" (the
// first page below its `opening` lines), and nothing runs past the bottom.
void verifyHeadedPages(const PrintJob& job, const PageGeometry& geometry, int opening = 0)
{
    for (int page = 1; page <= job.pageCount; ++page) {
        const QList<PrintedLine> lines = onPage(job, page);
        const int top = page == 1 ? opening : 0;
        QVERIFY2(lines.size() > top + HeaderLines, qPrintable(QString::number(page)));
        QCOMPARE(lines[top].text, StampLine);
        QCOMPARE(lines[top].y, PageTop + top * geometry.lineHeight);
        QCOMPARE(lines[top + 1].text, Header.subject + "    " + pageNumberText(page, job.pageCount));
        QCOMPARE(lines[top + 2].text, Separator);
        for (const PrintedLine& l : lines)
            QVERIFY(l.y + geometry.lineHeight <= geometry.pageHeight);
    }
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT
private slots:
    void emptyListIsOnePageWithItsHeader()
    {
        const PrintJob job = PrintMainList({}, 12, 3, Endless, Header);
        QCOMPARE(job.pageCount, 1);
        QCOMPARE(job.copies, 3);
        const QList<PrintedLine> expected = {{1, HeadingIndent, PageTop, StampLine, 12},
                                             {1, HeadingIndent, PageTop + 240, "3ตัวตรง สมชาย    หน้า 1/1", 12},
                                             {1, HeadingIndent, PageTop + 480, Separator, 12}};
        QCOMPARE(job.lines, expected);
        // Without a shop name or a subject the header keeps the rest.
        const PrintJob bare = PrintMainList({}, 12, 1, Endless, {{}, Header.printedAt, {}});
        QCOMPARE(bare.lines[0].text, QString("09/12/2569 02:15"));
        QCOMPARE(bare.lines[1].text, QString("หน้า 1/1"));
    }

    void recordsPackThreeToALineAndHeadingsStandAlone()
    {
        const QString cell = blanks(20);
        const PrintJob job = PrintMainList({"1-1", "2-2", "3-3", "4-4", "<head>", "5-5"}, 10, 1, Endless, Header);
        const QList<PrintedLine> expected = {
            {1, RecordIndent, PageTop + 720, cell + "1-1" + cell + "2-2" + cell + "3-3", 10},
            {1, RecordIndent, PageTop + 960, cell + "4-4", 10},
            {1, HeadingIndent, PageTop + 1200, "<head>", 10},
            {1, RecordIndent, PageTop + 1440, cell + "5-5", 10}};
        QCOMPARE(job.lines.mid(HeaderLines), expected);
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
        const PrintJob job = PrintMainList(rows, 10, 1, Endless, Header);
        QCOMPARE(job.pageCount, 2);
        verifyHeadedPages(job, Endless);
        const QList<PrintedLine> page2 = onPage(job, 2);
        QCOMPARE(page2[HeaderLines].text, firstOnPage2);
        QCOMPARE(page2[HeaderLines].y, PageTop + HeaderLines * 240);
    }

    // A page that a long line list overflows onto is headed and numbered like any other, and the
    // numbers count the paper: the row counter and the bottom edge both start pages.
    void everyPageIsHeaded_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("pages");
        QTest::newRow("headings past the bottom") << headings(30) << 5;
        QTest::newRow("records past the bottom") << records(60) << 3;
        QTest::newRow("bottom and row counter") << headings(20) + records(150) << 10;
    }
    void everyPageIsHeaded()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, pages);
        // Room for 10 lines below the top offset: 3 of header, 7 of list.
        const PageGeometry small{100, PageTop + 1000};
        const PrintJob job = PrintMainList(rows, 10, 1, small, Header);
        QCOMPARE(job.pageCount, pages);
        verifyHeadedPages(job, small);
        // Nothing lost: every list line is on the paper once, in order.
        QStringList printed;
        for (const PrintedLine& l : job.lines)
            if (l.y >= PageTop + HeaderLines * 100) printed << l.text.trimmed();
        QCOMPARE(printed.join(' ').remove(QRegularExpression("\\s+")), rows.join("").remove(' '));
    }

    // The read-me printout opens with its name, the date and time of printing and the separator;
    // the page header follows them, and heads every further page.
    void readmeOpensWithItsNameAndTime()
    {
        const QString text = QStringList{"-หัวข้อ", " 1. ขั้นแรก", ""}.join(CRLF);
        const PageGeometry geometry{200, PageTop + 1400}; // seven lines a page
        const PrintJob job = PrintReadme(text, 9, 2, geometry, Header);
        QCOMPARE(job.pageCount, 2);
        verifyHeadedPages(job, geometry, 3);
        const QLocale locale;
        const QString when = "Date: " + locale.toString(QDate(2026, 12, 9), QLocale::ShortFormat) +
                             " Time: " + locale.toString(Header.printedAt, locale.timeFormat(QLocale::LongFormat));
        const QList<PrintedLine> first = onPage(job, 1);
        QCOMPARE(first.mid(0, 3), (QList<PrintedLine>{{1, RecordIndent, PageTop, "Readme", 9},
                                                      {1, RecordIndent, PageTop + 200, when, 9},
                                                      {1, RecordIndent, PageTop + 400, Separator, 9}}));
        QStringList body;
        for (const PrintedLine& l : job.lines) {
            QCOMPARE(l.x, RecordIndent);
            const int top = PageTop + (l.page == 1 ? 6 : HeaderLines) * 200;
            if (l.y >= top) body << l.text;
        }
        QCOMPARE(body, (QStringList{"-หัวข้อ", " 1. ขั้นแรก", ""}));
    }

    void subjectIsTheFirstTypeAndCustomer_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("subject");
        QTest::newRow("records heading") << QStringList{"=====", "<3ตัวตรง> <สมชาย>", "<2ตัวบน> <x>"} << "3ตัวตรง สมชาย";
        QTest::newRow("after a prefix") << QStringList{"ถูก 12 <2ตัวบน> <มานี>"} << "2ตัวบน มานี";
        QTest::newRow("not a type") << QStringList{"<abc> <x>", "12-50"} << "";
        QTest::newRow("no heading") << QStringList{"12-50", "<ยอดรวม>"} << "";
    }
    void subjectIsTheFirstTypeAndCustomer()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, subject);
        QCOMPARE(listSubject(rows), subject);
    }

    void printoutsGoBesideTheDataFolderUnderADatedName()
    {
        QTemporaryDir root;
        const QString data = root.filePath("picture_1") + "/";
        const QDateTime at(QDate(2026, 12, 9), QTime(2, 15, 40));
        const QString first = printoutPath(data, at, "list");
        QCOMPARE(first, root.filePath("printouts/2026-12-09_0215_list.pdf"));
        QVERIFY(QDir(root.filePath("printouts")).exists());
        // A second print in the same minute keeps the first.
        QFile taken(first);
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.close();
        QCOMPARE(printoutPath(data, at, "list"), root.filePath("printouts/2026-12-09_0215_list_2.pdf"));
        // A folder that cannot be made gives no path.
        QFile blocker(root.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(printoutPath(root.filePath("file/picture_1"), at, "list"), QString());
    }

    void listTextFileThatCannotBeWrittenSaysSo()
    {
        QTemporaryDir dir;
        QVERIFY(writeListTextFile("x", dir.path()).written);
        QVERIFY(!writeListTextFile("x", dir.path() + "/missing/folder").written);
    }

    // The Thai of the list reaches the editor whole: UTF-8, marked as such on Windows.
    void listTextFileHoldsTheThaiText()
    {
        QTemporaryDir dir;
        const QString text = QString::fromUtf8("<2ตัวบน>\r\n12-100  21-50\r\nรวมเงิน= 150.00 บาท\r\n");
        const ListTextFile file = writeListTextFile(text, dir.path());
        QVERIFY(file.written);
        QFile f(file.path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
#ifdef Q_OS_WIN
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        bytes.remove(0, 3);
#endif
        QCOMPARE(QString::fromUtf8(bytes), text);
    }
};

QTEST_GUILESS_MAIN(TestPrinting)
#include "tst_printing.moc"
