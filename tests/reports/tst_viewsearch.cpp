// View data, search and the selectors and section writer under them.
#include "core/model/text.h"
#include "gui/main/session.h"
#include "reports/prize.h"
#include "reports/selectors.h"
#include "reports/view.h"
#include "storage/folder/numberfile.h"
#include "testsupport.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");
const QString Perm = QStringLiteral("3ตัวโต๊ด");
const QString Top2 = QStringLiteral("2ตัวบน");
const QString All = QStringLiteral("ทั้งหมด");

struct Book : TempBook {
    Session session;
    void setting(const QString& path, const QString& lines) { QVERIFY(store->WriteWholeFile(path, lines)); }
};

QStringList section(const QStringList& items, const QString& count, const QString& amount)
{
    return items + QStringList{"รวมเลข= " + count + " รายการ", "รวมเงิน= " + amount + " บาท", Separator};
}

} // namespace

class TestViewSearch : public QObject
{
    Q_OBJECT
private slots:
    void viewAddsCustomersPerNumber()
    {
        Book book;
        book.stake(Straight, "a", "123", 40);
        book.stake(Straight, "b", "123", 10);
        book.stake(Straight, "b", "007", 5);
        book.stake(Top2, "a", "45", 20);
        const ReportResult r = ViewAllData(*book.store, book.session);
        QVERIFY(r.clearList);
        const QStringList expected = QStringList{"<3ตัวตรง>"} + section({"007-5", "123-50"}, "2", "55.00") +
                                     QStringList{"<2ตัวบน>"} + section({"45-20"}, "1", "20.00");
        QCOMPARE(r.lines, expected);
    }

    void viewOnlyZeroStakesWritesNothing()
    {
        Book book;
        QVERIFY(book.store->creationSequence("a").isEmpty());
        QVERIFY(ViewAllData(*book.store, book.session).lines.isEmpty());
    }

    void discountLines_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("10 percent") << "10" << QStringList{"ส่วนลด 10%= 125.00 บาท", "รวมเงินคงเหลือ= 1,125.00 บาท"};
        QTest::newRow("rate as stored") << "2.5" << QStringList{"ส่วนลด 2.5%= 31.25 บาท", "รวมเงินคงเหลือ= 1,218.75 บาท"};
        QTest::newRow("not numeric") << "abc" << QStringList{"ส่วนลด abc%= 0.00 บาท", "รวมเงินคงเหลือ= 1,250.00 บาท"};
        QTest::newRow("no rate") << "" << QStringList{};
    }
    void discountLines()
    {
        QFETCH(QString, rate);
        QFETCH(QStringList, tail);
        Book book;
        if (!rate.isEmpty()) book.setting(book.store->discountFile(), "2ตัวบน#1\r\n3ตัวตรง#" + rate + "\r\n");
        GrandAccumulators grand;
        const QStringList lines = ShowSection(*book.store, grand, "123-1000#456-250#", Straight);
        const QStringList head{"123-1000", "456-250", "รวมเลข= 2 รายการ", "รวมเงิน= 1,250.00 บาท"};
        QCOMPARE(lines, head + tail + QStringList{Separator});
        QCOMPARE(grand.count, 2.0);
        QCOMPARE(grand.amount, 1250.0);
        QCOMPARE(grand.discount, Val(rate) * 12.5);
    }

    void sectionOfItemsWithoutDash()
    {
        Book book;
        GrandAccumulators grand;
        QCOMPARE(ShowSection(*book.store, grand, "", Straight), QStringList());
        QCOMPARE(ShowSection(*book.store, grand, "junk#", Straight), (QStringList{"junk", Separator}));
        QCOMPARE(grand.count, 0.0);
    }

    void groupingSumsInSetOrder()
    {
        Book book;
        QCOMPARE(GroupByNumber(*book.store, "500-1#123-40#007-2.5#123-10#500-0.5#", Straight),
                 QString("007-2.5#123-50#500-1.5#"));
        // Numbers that the type cannot hold belong to no number of it.
        QCOMPARE(GroupByNumber(*book.store, "1234-50#23-5#abc-7#123-1#", Straight), QString("123-1#"));
        QCOMPARE(GroupByNumber(*book.store, "12-5#", "หวยลาว"), QString());
        QCOMPARE(FilterByNumber("012-5#12-6#012-7#junk#", "012"), QString("012-5#012-7#"));
    }

    // Stake files edited by hand: only lines with a number, "-" and an amount above 0 are stakes.
    void handEditedStakeFiles_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("lines");
        QTest::newRow("junk lines") << "hello\r\n\r\n123-50\r\n-\r\n--\r\n"
                                    << "123-50#";
        QTest::newRow("missing dash") << "12350\r\n124-7\r\n"
                                      << "124-7#";
        QTest::newRow("negative and text") << "123--5\r\n124-abc\r\n125-0\r\n126-3x\r\n"
                                           << "126-3x#";
        QTest::newRow("decimal") << "123-12.5\r\n"
                                 << "123-12.5#";
        QTest::newRow("hash inside") << "12#3-50\r\n124-1#\r\n125-2\r\n"
                                     << "125-2#";
        QTest::newRow("wrong widths") << "1234-50\r\n23-5\r\n123-1\r\n"
                                      << "1234-50#23-5#123-1#";
        QTest::newRow("bare LF") << "123-5\n124-6\n"
                                 << "123-5#124-6#";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("thai text") << "ก123-50\r\n123-50บาท\r\n124-๕\r\n125-2\r\n"
                                   << "ก123-50#123-50บาท#125-2#";
        QTest::newRow("second dash") << "123-5-7\r\n124-1.5-x\r\n"
                                     << "123-5-7#124-1.5-x#";
        QTest::newRow("long amount") << "123-0000000000000012\r\n124-99999999999999999\r\n"
                                     << "123-0000000000000012#124-99999999999999999#";
        QTest::newRow("no last line end") << "123-5\r\n124-6"
                                          << "123-5#124-6#";
        QTest::newRow("blanks") << " 123-5\r\n124- 6\r\n125-6 \r\n"
                                << "123-5#124- 6#125-6 #"; // the number without the blank before it
    }
    void handEditedStakeFiles()
    {
        QFETCH(QString, content);
        QFETCH(QString, lines);
        Book book;
        QVERIFY(book.store->creationSequence("a").isEmpty());
        book.put("0_1.gif", content);
        QCOMPARE(LinesOfTypeCustomer(*book.store, Straight, "a"), lines);
        QCOMPARE(LinesOfType(*book.store, Straight), lines);
        // The reports read the files straight into per-number sums: the same as grouping the lines.
        const GroupedStakes grouped = GroupedLinesOfType(*book.store, Straight);
        QCOMPARE(grouped.list, GroupByNumber(*book.store, lines, Straight));
        QCOMPARE(grouped.staked, !lines.isEmpty());
        QCOMPARE(grouped.total, sumOfAmounts(lines));
        // The reports over such a file run through.
        ViewAllData(*book.store, book.session);
        SearchReport(*book.store, book.session, "", All, All);
        SearchReport(*book.store, book.session, "123", Straight, "a");
    }

    void selectorsFollowCustomerOrder()
    {
        Book book;
        book.stake(Straight, "b", "123", 1);
        book.stake(Straight, "a", "123", 2);
        book.stake(Straight, "a", "124", 3);
        QCOMPARE(LinesOfType(*book.store, Straight), QString("123-1#123-2#124-3#"));
        QCOMPARE(LinesOfTypeNumber(*book.store, Straight, "123"), QString("123-1#123-2#"));
        QCOMPARE(LinesOfTypeCustomerNumber(*book.store, Straight, "a", "124"), QString("124-3#"));
        QCOMPARE(LinesOfTypeCustomer(*book.store, Straight, "nobody"), QString());
        QCOMPARE(LinesOfType(*book.store, "หวยลาว"), QString());
        const GroupedStakes grouped = GroupedLinesOfType(*book.store, Straight);
        QCOMPARE(grouped.list, QString("123-3#124-3#"));
        QCOMPARE(grouped.total, 6.0);
        QVERIFY(!GroupedLinesOfType(*book.store, "หวยลาว").staked);
    }

    void searchHeading_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("heading");
        QTest::newRow("two spaces") << "25"
                                    << "2ตัวล่าง" << All << "ข้อมูล  <25> <2ตัวล่าง> <ทั้งหมด>";
        QTest::newRow("no number") << "" << All << All << "ข้อมูล  <ทั้งหมด> <ทั้งหมด>";
        QTest::newRow("cleaned") << " 1-2 3" << Straight << "Som Chai"
                                 << "ข้อมูล  <123> <3ตัวตรง> <somchai>";
        QTest::newRow("blank type") << ""
                                    << " "
                                    << "x"
                                    << "ข้อมูล  <x>";
    }
    void searchHeading()
    {
        QFETCH(QString, number);
        QFETCH(QString, type);
        QFETCH(QString, customer);
        QFETCH(QString, heading);
        Book book;
        const ReportResult r = SearchReport(*book.store, book.session, number, type, customer);
        QVERIFY(r.clearList);
        QVERIFY(r.closeWindows);
        QCOMPARE(r.lines.value(0), heading);
    }

    void searchNeedsTypeAndCustomer()
    {
        Book book;
        book.session.SendOutData = "kept";
        ReportResult r = SearchReport(*book.store, book.session, "1", "", All);
        QCOMPARE(r.focus, QString("Combo1"));
        QVERIFY(!r.clearList && !r.closeWindows && r.lines.isEmpty());
        r = SearchReport(*book.store, book.session, "1", All, "");
        QCOMPARE(r.focus, QString("Combo2"));
    }

    void searchCases_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QStringList>("body");
        QTest::newRow("type, customer") << "" << Straight << "a"
                                        << QStringList{"<3ตัวตรง> <a>"} + section({"123-40", "456-5"}, "2", "45.00");
        QTest::newRow("type, all customers") << "" << Straight << All << section({"123-50", "456-5"}, "2", "55.00");
        QTest::newRow("blanks and dash in the number")
            << " 1-2 3" << Straight << All << section({"123-40", "123-10"}, "2", "50.00");
        QTest::newRow("number, customer") << "456" << Straight << "a" << section({"456-5"}, "1", "5.00");
        QTest::newRow("number nobody bought") << "999" << Straight << All << QStringList{"ไม่มีข้อมูล"};
        QTest::newRow("permutation as stored") << "123" << Perm << All << section({"123-7"}, "1", "7.00");
        QTest::newRow("permutation as keyed") << "321" << Perm << All << QStringList{"ไม่มีข้อมูล"};
        QTest::newRow("all types, customer")
            << "" << All << "a"
            << QStringList{"<3ตัวตรง> <a>"} + section({"123-40", "456-5"}, "2", "45.00") + QStringList{"<3ตัวโต๊ด> <a>"} +
                   section({"123-7"}, "1", "7.00");
        QTest::newRow("all types, number, customer")
            << "123" << All << "b" << QStringList{"<3ตัวตรง>"} + section({"123-10"}, "1", "10.00");
        QTest::newRow("all types, number, all") << "123" << All << All
                                                << QStringList{"<3ตัวตรง>"} + section({"123-50"}, "1", "50.00") +
                                                       QStringList{"<3ตัวโต๊ด>"} + section({"123-7"}, "1", "7.00");
        QTest::newRow("all types, number nobody bought") << "999" << All << All << QStringList{};
        QTest::newRow("all, grand totals") << "" << All << All
                                           << QStringList{"<3ตัวตรง>"} + section({"123-50", "456-5"}, "2", "55.00") +
                                                  QStringList{"<3ตัวโต๊ด>"} + section({"123-7"}, "1", "7.00") +
                                                  QStringList{"ยอดรวมเลข= 3 รายการ", "ยอดรวมเงิน= 62.00 บาท", Separator};
    }
    void searchCases()
    {
        QFETCH(QString, number);
        QFETCH(QString, type);
        QFETCH(QString, customer);
        QFETCH(QStringList, body);
        Book book;
        book.stake(Straight, "a", "123", 40);
        book.stake(Straight, "a", "456", 5);
        book.stake(Straight, "b", "123", 10);
        book.stake(Perm, "a", "123", 7);
        const ReportResult r = SearchReport(*book.store, book.session, number, type, customer);
        QCOMPARE(r.lines.mid(1), body);
    }

    void searchGrandTotalsWithDiscount()
    {
        Book book;
        book.stake(Straight, "a", "123", 1000);
        book.stake(Top2, "a", "12", 250);
        book.setting(book.store->discountFile(), "3ตัวตรง#10\r\n");
        const QStringList lines = SearchReport(*book.store, book.session, "", All, All).lines;
        QCOMPARE(lines.mid(lines.size() - 5),
                 (QStringList{"ยอดรวมเลข= 2 รายการ", "ยอดรวมเงิน= 1,250.00 บาท", "ยอดรวมส่วนลด= 100.00 บาท",
                              "ยอดรวมคงเหลือ= 1,150.00 บาท", Separator}));
        QCOMPARE(book.session.grand.count, 0.0);
        // An empty book shows the heading alone.
        Book empty;
        QCOMPARE(SearchReport(*empty.store, empty.session, "", All, All).lines.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestViewSearch)
#include "tst_viewsearch.moc"
