// The over-limit report, number cutting, and how both share the record of what was sent out.
#include "core/model/text.h"
#include "gui/main/session.h"
#include "reports/cutting.h"
#include "reports/overlimit.h"
#include "reports/sendout.h"
#include "storage/folder/numberfile.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");
const QString Top2 = QStringLiteral("2ตัวบน");
const QString All = QStringLiteral("ทั้งหมด");
const QString Over = QStringLiteral("เกินอั้นส่งออก");
const QString Cutting = QStringLiteral("คัดเลขส่งออก");

struct Book : TempBook {
    Session session;
    void setting(const QString& path, const QString& lines) { QVERIFY(store->WriteWholeFile(path, lines)); }
    ReportResult over(const QString& type, bool keep = false) { return OverLimit(*store, session, type, keep); }
    ReportResult cut(const QString& type) { return NumberCutReport(*store, session, type); }
    void save() { QVERIFY(RecordSendOut(*store, session.SendOutData).isEmpty()); }
};

QStringList section(const QStringList& items, const QString& count, const QString& amount)
{
    return items + QStringList{"รวมเลข= " + count + " รายการ", "รวมเงิน= " + amount + " บาท", Separator};
}

} // namespace

class TestOverLimitCut : public QObject
{
    Q_OBJECT
private slots:
    void sendOutShrinksBySaved()
    {
        Book book;
        book.setting(book.store->limitFile(), "3ตัวตรง#500\r\n");
        book.stake(Straight, "a", "123", 300);
        book.stake(Straight, "b", "123", 400);
        book.stake(Straight, "b", "456", 100);
        ReportResult r = book.over(Straight);
        QCOMPARE(r.lines, (QStringList{Over, "<3ตัวตรง>"} + section({"123-200"}, "1", "200.00")));
        QVERIFY(r.saveCaption && r.closeWindows);
        QCOMPARE(book.session.SendOutData, QString("<3ตัวตรง>#123-200##"));

        book.save();
        r = book.over(Straight);
        QCOMPARE(r.lines, (QStringList{Over, "<3ตัวตรง>", "ไม่มีข้อมูลเกินอั้น"}));
        QVERIFY(!r.saveCaption);
        QCOMPARE(book.session.SendOutData, QString());

        book.stake(Straight, "a", "123", 50);
        r = book.over(Straight);
        QCOMPARE(r.lines, (QStringList{Over, "<3ตัวตรง>"} + section({"123-50"}, "1", "50.00")));
    }

    void keepMode()
    {
        Book book;
        book.setting(book.store->limitFile(), "3ตัวตรง#500\r\n");
        book.stake(Straight, "a", "123", 700);
        book.stake(Straight, "a", "456", 100);
        book.stake(Straight, "a", "789", 500);
        const ReportResult r = book.over(Straight, true);
        QCOMPARE(r.lines,
                 (QStringList{"อั้นคัดไว้", "<3ตัวตรง>"} + section({"123-500", "456-100", "789-500"}, "3", "1,100.00")));
        QCOMPARE(book.session.SendOutData, QString("<3ตัวตรง>#123-500#456-100#789-500##"));
    }

    void listSteps_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QString>("excess");
        QTest::addColumn<QString>("kept");
        QTest::newRow("equal to the limit") << "123-500#"
                                            << "500"
                                            << ""
                                            << "123-500#";
        QTest::newRow("half above one") << "123-1.5#"
                                        << "1"
                                        << "123-0.5#"
                                        << "123-1#";
        QTest::newRow("single precision") << "123-100000000.3#"
                                          << "0"
                                          << "123-100000000#"
                                          << "123-0#";
        QTest::newRow("limit as stored") << "123-700#"
                                         << "0500"
                                         << "123-200#"
                                         << "123-0500#";
        QTest::newRow("limit not numeric") << "123-700#456-0#"
                                           << "many"
                                           << "123-700#"
                                           << "123-many#";
        QTest::newRow("junk items") << "abc#-#12-#"
                                    << "5"
                                    << ""
                                    << "-#12-#";
    }
    void listSteps()
    {
        QFETCH(QString, list);
        QFETCH(QString, limit);
        QFETCH(QString, excess);
        QFETCH(QString, kept);
        Book book;
        QCOMPARE(ExcessList(*book.store, list, limit), excess);
        QCOMPARE(KeepList(*book.store, list, limit), kept);
    }

    void missingLimitAndStakes()
    {
        Book book;
        QCOMPARE(book.over(Straight).lines, (QStringList{Over, "<3ตัวตรง>", "ยังไม่ได้ตั้งค่าวงเงินอั้น"}));
        book.setting(book.store->limitFile(), "3ตัวตรง#500\r\n");
        book.session.SendOutData = "<old>#1-1##";
        const ReportResult r = book.over(Straight);
        QCOMPARE(r.lines, (QStringList{Over, "<3ตัวตรง>", "ไม่มีข้อมูล"}));
        QVERIFY(!r.closeWindows);
        QCOMPARE(book.session.SendOutData, QString());
        QCOMPARE(book.over(All).lines, (QStringList{"ไม่มีข้อมูลเกินอั้นส่งออก"}));
    }

    void allTypesAddUp()
    {
        Book book;
        book.setting(book.store->limitFile(), "3ตัวตรง#500\r\n2ตัวบน#100\r\nวิ่งบน#10\r\n");
        book.stake(Straight, "a", "123", 700);
        book.stake(Top2, "a", "12", 150);
        book.stake(Top2, "b", "99", 50);
        book.stake("วิ่งบน", "a", "5", 10);
        const ReportResult r = book.over(All);
        QCOMPARE(r.lines, (QStringList{Over, "<3ตัวตรง>"} + section({"123-200"}, "1", "200.00") +
                           QStringList{"<2ตัวบน>"} + section({"12-50"}, "1", "50.00") +
                           QStringList{"ยอดรวมเลข= 2 รายการ", "ยอดรวมเงิน= 250.00 บาท", Separator}));
        QCOMPARE(book.session.SendOutData, QString("<3ตัวตรง>#123-200##<2ตัวบน>#12-50##"));
        QCOMPARE(book.session.grand.count, 0.0);
    }

    void cutTest_data()
    {
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("cut");
        QTest::addColumn<QString>("positions");
        QTest::addColumn<QString>("cutOnes");
        QTest::newRow("units") << "452 783 425"
                               << "23"
                               << "001"
                               << "452 783";
        QTest::newRow("first and last") << "245 453 425"
                                        << "23"
                                        << "101"
                                        << "245 453";
        QTest::newRow("zero on two digits") << "00 10 90 01 55"
                                            << "0"
                                            << "001"
                                            << "00 10 90";
        QTest::newRow("hundreds on two digits") << "12 21 22"
                                                << "2"
                                                << "100"
                                                << "";
        QTest::newRow("tens on two digits") << "12 21 22"
                                            << "2"
                                            << "010"
                                            << "21 22";
        QTest::newRow("whole run number") << "6 7 8"
                                          << "7"
                                          << "111"
                                          << "7";
        QTest::newRow("tens of four digits") << "0010 0001 0111"
                                             << "1"
                                             << "010"
                                             << "";
        QTest::newRow("units of four digits") << "0010 0001 0111"
                                              << "1"
                                              << "001"
                                              << "0001 0111";
        QTest::newRow("middle") << "123 213 321"
                                << "2"
                                << "010"
                                << "123 321";
        QTest::newRow("last two") << "123 213 321"
                                  << "1"
                                  << "011"
                                  << "213 321";
        QTest::newRow("first two") << "123 213 321"
                                   << "3"
                                   << "110"
                                   << "321";
        QTest::newRow("no cut digits") << "123"
                                       << ""
                                       << "111"
                                       << "";
        QTest::newRow("other flags") << "123"
                                     << "123"
                                     << "000"
                                     << "";
        QTest::newRow("too long") << "123456"
                                  << "1"
                                  << "111"
                                  << "";
    }
    void cutTest()
    {
        QFETCH(QString, numbers);
        QFETCH(QString, cut);
        QFETCH(QString, positions);
        QFETCH(QString, cutOnes);
        Book book;
        QString list, kept, out;
        for (const QString& n : numbers.split(' ')) {
            list += n + "-5#";
            (isCut(n, cut, positions) ? out : kept) += n + "-5#";
        }
        QCOMPARE(out, cutOnes.isEmpty() ? QString() : cutOnes.split(' ').join("-5#") + "-5#");
        QCOMPARE(CutOut(*book.store, list + "junk#", cut, positions), out);
        QCOMPARE(KeepUncut(*book.store, list + "junk#", cut, positions), kept);
    }

    void cutReportSharesTheSentRecord()
    {
        Book book;
        book.setting(book.store->numberCutFile(), "3ตัวตรง#2\r\n");
        book.setting(book.store->digitCutFile(), "3ตัวตรง#001\r\n");
        book.setting(book.store->limitFile(), "3ตัวตรง#100\r\n");
        book.stake(Straight, "a", "452", 300);
        book.stake(Straight, "a", "783", 300);
        book.stake(Straight, "b", "452", 20);

        // The over-limit report leaves the cut number to the number-cut report.
        QCOMPARE(book.over(Straight).lines, (QStringList{Over, "<3ตัวตรง>"} + section({"783-200"}, "1", "200.00")));

        ReportResult r = book.cut(Straight);
        QCOMPARE(r.lines, (QStringList{Cutting, "ข้อมูลคัดเลขส่งออก", "<3ตัวตรง>"} + section({"452-320"}, "1", "320.00")));
        QVERIFY(r.saveCaption && r.closeWindows);
        QCOMPARE(book.session.SendOutData, QString("<3ตัวตรง>#452-320##"));

        book.save();
        r = book.cut(Straight);
        QCOMPARE(r.lines, (QStringList{Cutting, "ข้อมูลคัดเลขส่งออก", "<3ตัวตรง>", "ไม่มีข้อมูลที่ถูกคัด"}));
        QCOMPARE(book.session.SendOutData, QString());
        QCOMPARE(book.cut(All).lines, (QStringList{Cutting, "ไม่มีข้อมูลที่ถูกคัด"}));
    }

    void cutReportMessages()
    {
        Book book;
        book.session.SendOutData = "<old>#1-1##";
        QCOMPARE(book.cut(Straight).lines, (QStringList{Cutting, "<3ตัวตรง>", "ไม่มีข้อมูล"}));
        QCOMPARE(book.session.SendOutData, QString("<old>#1-1##"));

        book.stake(Straight, "a", "452", 300);
        ReportResult r = book.cut(Straight);
        QCOMPARE(r.lines, (QStringList{Cutting, "ยังไม่ได้ตั้งค่าคัดเลข", "ยังไม่ได้ตั้งค่าคัดหลัก", "ไม่มีข้อมูลคัดเลขส่งออก"}));
        QVERIFY(r.closeWindows && !r.saveCaption);
        QCOMPARE(book.session.SendOutData, QString());

        book.setting(book.store->numberCutFile(), "3ตัวตรง#2\r\n");
        QCOMPARE(book.cut(Straight).lines, (QStringList{Cutting, "ยังไม่ได้ตั้งค่าคัดหลัก", "ไม่มีข้อมูลคัดเลขส่งออก"}));
    }

    void cutAllTypes()
    {
        Book book;
        book.setting(book.store->numberCutFile(), "3ตัวตรง#2\r\n2ตัวบน#0\r\nวิ่งบน#7\r\n");
        book.setting(book.store->digitCutFile(), "3ตัวตรง#001\r\n2ตัวบน#001\r\n");
        book.stake(Straight, "a", "452", 300);
        book.stake(Top2, "a", "10", 40);
        book.stake(Top2, "a", "11", 40);
        book.stake("วิ่งบน", "a", "7", 40);
        const ReportResult r = book.cut(All);
        QCOMPARE(r.lines, (QStringList{Cutting, "<3ตัวตรง>"} + section({"452-300"}, "1", "300.00") +
                           QStringList{"<2ตัวบน>"} + section({"10-40"}, "1", "40.00") +
                           QStringList{"ยอดรวมเลข= 2 รายการ", "ยอดรวมเงิน= 340.00 บาท", Separator}));
        QVERIFY(r.saveCaption);
        QCOMPARE(book.session.SendOutData, QString("<3ตัวตรง>#452-300##<2ตัวบน>#10-40##"));
    }

    // Hand-edited files: reports run through and read what can be read.
    void handEditedFiles()
    {
        Book book;
        book.setting(book.store->limitFile(), "3ตัวตรง#abc\r\n2ตัวบน\r\n#\r\n");
        book.setting(book.store->numberCutFile(), "3ตัวตรง#x\r\n");
        book.setting(book.store->digitCutFile(), "3ตัวตรง#1\r\n");
        book.stake(Straight, "a", "123", 5);
        book.put("0_1.gif", "123-5\r\nxyz\r\n12-9\r\n1234-7\r\n124--3\r\n125-2abc\r\n");
        book.put("b_0.gif", "000-0\r\njunk\r\n123-1\r\n125-x\r\n");
        const ReportResult r = book.over(All);
        // The limit "abc" counts as 0, so every stake is excess, less what was sent.
        QCOMPARE(r.lines.mid(0, 3), (QStringList{Over, "<3ตัวตรง>", "123-4"}));
        QVERIFY(r.lines.contains("125-2"));
        book.cut(All);
        book.over(Top2);
    }

    // The record of what was sent is read as every number file is: a bare LF ends a line, a blank
    // line is no line, and blanks around a number do not make it another number.
    void sentRecordReadLikeEveryNumberFile()
    {
        Book book;
        book.setting(book.store->limitFile(), "3ตัวตรง#100\r\n");
        book.stake(Straight, "a", "123", 300);
        book.stake(Straight, "a", "456", 300);
        book.put("b_0.gif", "\r\n123-150\n 456 -50\r\n");
        const ReportResult r = book.over(Straight);
        QCOMPARE(r.lines, (QStringList{Over, "<3ตัวตรง>"} + section({"123-50", "456-150"}, "2", "200.00")));
    }

    void unreadableSentRecordIsReported()
    {
        Book book;
        book.setting(book.store->limitFile(), "3ตัวตรง#100\r\n");
        book.stake(Straight, "a", "123", 300);
        QVERIFY(QFile::remove(book.file("b_0.gif")));
        QVERIFY(QDir(book.folder()).mkdir("b_0.gif"));
        const ReportResult r = book.over(Straight);
        QCOMPARE(r.lines, (QStringList{Over, "<3ตัวตรง>", "ไม่มีข้อมูลเกินอั้น", ReadFailedText + "b_0.gif"}));
        QVERIFY(!r.saveCaption);
    }
};

QTEST_GUILESS_MAIN(TestOverLimitCut)
#include "tst_overlimitcut.moc"
