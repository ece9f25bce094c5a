#include "core/model/text.h"
#include "core/model/types.h"
#include "testsupport.h"
#include "tools/records.h"

#include <QDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString TwoTop = QStringLiteral("2ตัวบน");
const QString StakeFile = QStringLiteral("3_1.gif"); // 2ตัวบน of the first customer

// A 2ตัวบน stake file as the ledger writes it, with the line of 12 holding `amount`.
QString stakeText(const QString& amount)
{
    QString text = InitialContent(TwoTop);
    text.replace(QStringLiteral("\r\n12-0\r\n"), QStringLiteral("\r\n12-") + amount + QStringLiteral("\r\n"));
    return text + CRLF;
}

RecordRequest request(const QString& amount, const QString& oldAmount = QStringLiteral("50"))
{
    return {QStringLiteral("12"), amount, TwoTop, QStringLiteral("x"), QStringLiteral("12"), oldAmount};
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        book = std::make_unique<TempBook>();
        QVERIFY(book->store->creationSequence(QStringLiteral("x")).isEmpty());
    }

    void heading_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("customer");
        const QString head = QStringLiteral("<2ตัวบน> <x>");
        QTest::newRow("record under heading") << QStringList{head, "12 - 50"} << 1 << TwoTop << "x";
        QTest::newRow("first row") << QStringList{head, "12-50"} << 0 << ""
                                   << "";
        QTest::newRow("nearest heading wins")
            << QStringList{"<3ตัวตรง> <x>", "123-5", head, "พร้อมรับข้อมูล", "12-50"} << 4 << TwoTop << "x";
        QTest::newRow("heading below does not count") << QStringList{"12-50", head} << 1 << ""
                                                      << "";
        QTest::newRow("unknown customer") << QStringList{"<2ตัวบน> <nobody>", "12-50"} << 1 << ""
                                          << "";
        QTest::newRow("unknown type") << QStringList{"<9ตัวบน> <x>", "12-50"} << 1 << ""
                                      << "";
        QTest::newRow("no heading") << QStringList{"พร้อมรับข้อมูล", "12-50"} << 1 << ""
                                    << "";
    }
    void heading()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, index);
        QFETCH(QString, type);
        QFETCH(QString, customer);
        const RecordHeading h = headingAbove(rows, index, book->store->customerListText());
        QCOMPARE(h.type, type);
        QCOMPARE(h.customer, customer);
    }

    // The listed amount and the file may disagree when the file changed after the list was drawn.
    void rewrite_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("inFile");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("edit, file as listed") << true << "50"
                                              << "80"
                                              << "80";
        QTest::newRow("edit, file grew since") << true << "70"
                                               << "80"
                                               << "100";
        QTest::newRow("edit, unchanged amount") << true << "50"
                                                << "50"
                                                << "50";
        QTest::newRow("edit, leading zeros") << true << "50"
                                             << "0080"
                                             << "80";
        QTest::newRow("delete, file as listed") << false << "50"
                                                << "50"
                                                << "0";
        QTest::newRow("delete, file grew since") << false << "70"
                                                 << "50"
                                                 << "20";
    }
    void rewrite()
    {
        QFETCH(bool, edit);
        QFETCH(QString, inFile);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        book->put(StakeFile, stakeText(inFile));
        const RecordResult r =
            edit ? editRecord(*book->store, request(typed)) : deleteRecord(*book->store, request(typed));
        QVERIFY(r.written);
        QVERIFY(r.lines.isEmpty());
        QCOMPARE(r.row, edit ? RecordResult::Row::Replace : RecordResult::Row::Remove);
        // The row shows the amount as the operator keyed it, whatever the file held.
        if (edit) QCOMPARE(r.rowText, QStringLiteral("12-") + QString::number(typed.toInt()));
        QCOMPARE(book->bytes(StakeFile), cp874(stakeText(written)));
    }

    // A line with blanks around its number (a hand-edited file) is the record of that number.
    void blanksAroundTheNumber_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("before") << " 12-50";
        QTest::newRow("after") << "12 -50";
        QTest::newRow("tab") << "\t12-50";
    }
    void blanksAroundTheNumber()
    {
        QFETCH(QString, line);
        book->put(StakeFile,
                  stakeText(QStringLiteral("50")).replace(QStringLiteral("\r\n12-50\r\n"), "\r\n" + line + "\r\n"));
        QVERIFY(editRecord(*book->store, request(QStringLiteral("80"))).written);
        QCOMPARE(book->bytes(StakeFile), cp874(stakeText(QStringLiteral("80"))));
    }

    void blankLinesDroppedAndOneLineEndAdded()
    {
        // Blank lines in the middle and a pile of them at the end, as an old program version left them.
        QString text = stakeText(QStringLiteral("50"));
        text.replace(QStringLiteral("\r\n11-0\r\n"), QStringLiteral("\r\n\r\n11-0\r\n\r\n"));
        book->put(StakeFile, text + CRLF + CRLF);
        QVERIFY(editRecord(*book->store, request(QStringLiteral("80"))).written);
        QCOMPARE(book->bytes(StakeFile), cp874(stakeText(QStringLiteral("80"))));
        // A second change does not grow the file.
        QVERIFY(editRecord(*book->store, request(QStringLiteral("90"), QStringLiteral("80"))).written);
        QCOMPARE(book->bytes(StakeFile), cp874(stakeText(QStringLiteral("90"))));
    }

    void noLineRewrittenIsAnError_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("number");
        QTest::newRow("edit, number not in file") << true << TwoTop << "123";
        QTest::newRow("delete, number not in file") << false << TwoTop << "123";
        QTest::newRow("edit, unknown type") << true << "9ตัวบน"
                                            << "12";
    }
    void noLineRewrittenIsAnError()
    {
        QFETCH(bool, edit);
        QFETCH(QString, type);
        QFETCH(QString, number);
        book->put(StakeFile, stakeText(QStringLiteral("50")) + CRLF);
        const QByteArray before = book->bytes(StakeFile);
        RecordRequest r{number, QStringLiteral("80"), type, QStringLiteral("x"), number, QStringLiteral("50")};
        const RecordResult result = edit ? editRecord(*book->store, r) : deleteRecord(*book->store, r);
        QCOMPARE(result.lines, QStringList{QStringLiteral("Error")});
        QCOMPARE(result.row, RecordResult::Row::Keep);
        QVERIFY(!result.written);
        QCOMPARE(book->bytes(StakeFile), before);
    }

    void typedAmountMustBeWholeDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << "";
        QTest::newRow("sign only") << "-";
        QTest::newRow("decimal") << "1.5";
        QTest::newRow("grouping") << "1,000";
        QTest::newRow("thai digits") << "๕๐";
        QTest::newRow("two amounts") << "100+50";
    }
    void typedAmountMustBeWholeDigits()
    {
        QFETCH(QString, typed);
        book->put(StakeFile, stakeText(QStringLiteral("50")));
        const QByteArray before = book->bytes(StakeFile);
        const RecordResult r = editRecord(*book->store, request(typed));
        QVERIFY(r.refused);
        QVERIFY(!r.written);
        QCOMPARE(r.lines, QStringList{QStringLiteral("12-") + typed + QStringLiteral(" ข้อมูลผิดพลาด ให้คีย์ใหม่")});
        QCOMPARE(book->bytes(StakeFile), before);
    }

    void unreadableFileIsNotReplaced()
    {
        QVERIFY(QFile::remove(book->file(StakeFile)));
        QVERIFY(QDir().mkdir(book->file(StakeFile))); // exists, cannot be read as a file
        const RecordResult r = editRecord(*book->store, request(QStringLiteral("80")));
        QVERIFY(!r.written);
        QCOMPARE(r.lines, QStringList{QStringLiteral("อ่านข้อมูลไม่ได้ ") + StakeFile});
        QVERIFY(QFileInfo(book->file(StakeFile)).isDir());
    }

private:
    std::unique_ptr<TempBook> book;
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
