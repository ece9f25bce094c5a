#include "reports/tableexport.h"

#include "core/model/text.h"

#include <QTest>

using namespace varnoth;

namespace
{

// A row written as the cells' texts, a number marked with "#": "12|#100".
QString shape(const TableRow& row)
{
    QStringList cells;
    for (const TableCell& c : row)
        cells << (c.isNumber ? QLatin1Char('#') + shortestDecimal(c.value) : c.text);
    return cells.join(QLatin1Char('|'));
}

} // namespace

class TestTableExport : public QObject
{
    Q_OBJECT
private slots:
    void rows_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("row");
        QTest::newRow("number and amount") << "12-100"
                                           << "12|#100";
        QTest::newRow("leading zero stays") << "05-20"
                                            << "05|#20";
        QTest::newRow("amount with decimals") << "123-12.5"
                                              << "123|#12.5";
        QTest::newRow("words after the amount") << "12-100 ข้อมูลผิดพลาด ให้คีย์ใหม่"
                                                << "12|#100|ข้อมูลผิดพลาด ให้คีย์ใหม่";
        QTest::newRow("total") << "รวมเงิน= 2,600.00 บาท"
                               << "รวมเงิน=|#2600|บาท";
        QTest::newRow("count after a label") << "รวมเลข= 2 รายการ"
                                             << "รวมเลข=|#2|รายการ";
        QTest::newRow("a win: the number stays text") << "ถูก 456 แทง 20.00 x 550 ได้ 11,000.00 บาท"
                                                      << "ถูก 456 แทง|#20|x 550 ได้|#11000|บาท";
        QTest::newRow("negative figure") << "กำไร= -1,200.50 บาท"
                                         << "กำไร=|#-1200.5|บาท";
        QTest::newRow("heading") << "<2ตัวบน>"
                                 << "<2ตัวบน>";
        QTest::newRow("a date is no figure") << "รับชำระ 09/12/2026 18:05 30.00 บาท"
                                             << "รับชำระ 09/12/2026 18:05|#30|บาท";
        QTest::newRow("dash but no amount") << "12-ab"
                                            << "12-ab";
    }
    void rows()
    {
        QFETCH(QString, line);
        QFETCH(QString, row);
        const QList<TableRow> rows = reportTable({line});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(shape(rows.first()), row);
    }

    // Separators become one empty row between sections and none at the end.
    void separators()
    {
        const QList<TableRow> rows = reportTable({"<2ตัวบน>", "12-100", Separator, Separator, "<3ตัวบน>", Separator});
        QCOMPARE(rows.size(), 4);
        QVERIFY(rows[2].isEmpty());
        QCOMPARE(shape(rows[3]), QStringLiteral("<3ตัวบน>"));
    }

    void csv_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain Thai") << "สมชาย" << QByteArray("สมชาย");
        QTest::newRow("comma") << "a,b" << QByteArray("\"a,b\"");
        QTest::newRow("quote") << "a\"b" << QByteArray("\"a\"\"b\"");
        QTest::newRow("line end") << "a\nb" << QByteArray("\"a\nb\"");
        QTest::newRow("formula") << "=1+2" << QByteArray("'=1+2");
        QTest::newRow("formula with comma") << "=SUM(A1,A2)" << QByteArray("\"'=SUM(A1,A2)\"");
        QTest::newRow("at sign") << "@x" << QByteArray("'@x");
    }
    // RFC 4180: a field with a comma, a quote or a line end is quoted, its quotes doubled.
    void csv()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, field);
        TableRow row{{text, false, 0, false}, {QStringLiteral("2,600.00"), true, 2600, true}};
        QCOMPARE(csvBytes({row}), QByteArray("\xEF\xBB\xBF") + field + ",2600\r\n");
    }

    // Every row ends in CR LF; an empty row is an empty line.
    void csvRows()
    {
        const QByteArray bytes = csvBytes(reportTable({"<2ตัวบน>", "05-20", Separator, "รวมเงิน= 20.00 บาท"}));
        QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF<2ตัวบน>\r\n05,20\r\n\r\nรวมเงิน=,20,บาท\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestTableExport)
#include "tst_tableexport.moc"
