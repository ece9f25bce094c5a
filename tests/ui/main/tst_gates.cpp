#include "ui/main/gates.h"

#include <QTest>

using namespace varnoth;

namespace {

QStringList listOf(const QString& gates)
{
    return gates.split(' ', Qt::SkipEmptyParts);
}

QStringList betNumbers(const EntryPlan& plan)
{
    QStringList out;
    for (const PlannedBet& b : plan.bets) out << b.number;
    return out;
}

} // namespace

class TestGates : public QObject {
    Q_OBJECT
private slots:
    // Every row of the number field's table, in the order the rows are tried.
    void numberFieldRows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("members"); // the whole list when short, else its first members
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("longList");
        QTest::newRow("1: runner to 2 digits") << "5+19" << 19
            << "05 15 25 35 45 50 51 52 53 54 55 56 57 58 59 65 75 85 95 " << " ทำวิ่งเป็น2ตัว19 ประตู " << false;
        QTest::newRow("2: reverse of a pair") << "57+2" << 2 << "57 75 " << " กลับเลข " << false;
        QTest::newRow("2: doubled pair once") << "55+2" << 1 << "55 " << " กลับเลข " << false;
        QTest::newRow("3: runner to ascending pairs") << "5+10" << 10 << "05 15 25 35 45 55 56 57 58 59 "
                                                      << " ทำวิ่งเป็นคู่โต๊ด 10 ประตู " << false;
        QTest::newRow("4: runner to 3 digits") << "5+271" << 271 << "005 015 025 035 045 050 051 "
                                               << " ทำวิ่งเป็น3ตัวตรง 271 ประตู " << true;
        QTest::newRow("5: runner to ascending triples") << "5+55" << 55 << "005 015 025 "
                                                        << " ทำวิ่งเป็น3ตัวโต๊ด 55 ประตู " << false;
        QTest::newRow("6: pair to 3 digits") << "12+54" << 54 << "012 021 102 112 120 121 122 "
                                             << " ทำคู่โต๊ดเป็น3ตัวตรง 54 ประตู " << true;
        QTest::newRow("6: doubled pair shows its own text") << "11+54" << 28 << "011 101 110 111 112 "
                                                            << " ทำคู่โต๊ดเป็น3ตัวตรง 54 ประตู " << true;
        QTest::newRow("7: doubled pair") << "11+28" << 28 << "011 101 110 111 112 "
                                         << " ทำคู่โต๊ดเป็น3ตัวตรง 28 ประตู " << false;
        QTest::newRow("7: distinct pair") << "12+28" << 54 << "012 021 102 "
                                          << " ทำคู่โต๊ดเป็น3ตัวตรง 28 ประตู " << false;
        QTest::newRow("8: pair to ascending triples") << "57+10-" << 10 << "057 157 257 357 457 557 567 577 578 579 "
                                                      << " ทำคู่โต๊ดเป็น3ตัวโต๊ด 10 ประตู " << false;
        QTest::newRow("9: front digit") << "57+10" << 10 << "057 157 257 357 457 557 657 757 857 957 "
                                        << " ทำ2ตัวเป็น3ตัวตรง 10 ประตู " << false;
        QTest::newRow("10: orderings") << "123+6" << 6 << "123 132 213 231 312 321 "
                                       << " ทำ3ตัวโต๊ดเป็น3ตัวตรง 6 ประตู " << false;
        QTest::newRow("10: repeated digit") << "112+6" << 3 << "112 121 211 "
                                            << " ทำ3ตัวโต๊ดเป็น3ตัวตรง 6 ประตู " << false;
        QTest::newRow("11: triple") << "777+3" << 1 << "777 " << " ทำ3ตัวโต๊ดเป็น3ตัวตรง 3 ประตู " << false;
        QTest::newRow("11: distinct digits") << "123+3" << 6 << "123 132 213 "
                                             << " ทำ3ตัวโต๊ดเป็น3ตัวตรง 3 ประตู " << false;
        QTest::newRow("12: reverse of three") << "571+2" << 2 << "571 175 " << " กลับเลข " << false;
        QTest::newRow("12: palindrome twice") << "121+2" << 2 << "121 121 " << " กลับเลข " << false;
        QTest::newRow("outer blanks ignored") << "  5+19 " << 19 << "05 15 " << " ทำวิ่งเป็น2ตัว19 ประตู " << false;
    }
    void numberFieldRows()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QString, members);
        QFETCH(QString, status);
        QFETCH(bool, longList);
        const std::optional<GateExpansion> e = expandNumberField(text);
        QVERIFY(e.has_value());
        QCOMPARE(listOf(e->gates).size(), count);
        QVERIFY2(e->gates.startsWith(members), qPrintable(e->gates.left(80)));
        QVERIFY(e->gates.endsWith(' ') && !e->gates.contains("  "));
        QCOMPARE(e->status, status);
        QCOMPARE(e->longList, longList);
    }

    void noRowMatches_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing after the plus") << "5+";
        QTest::newRow("two plus signs") << "5+1+9";
        QTest::newRow("unknown code") << "5+7";
        QTest::newRow("two-digit number with the runner code") << "05+19";
        QTest::newRow("no code at all") << "123";
        QTest::newRow("code not tried for three digits") << "12+3";
        QTest::newRow("nothing before the plus") << "+19";
        QTest::newRow("empty") << "";
    }
    void noRowMatches()
    {
        QFETCH(QString, text);
        QVERIFY(!expandNumberField(text).has_value());
    }

    void generatorsOnOddInput()
    {
        // Letters, Thai and signs never crash and never match a digit.
        QCOMPARE(GatesContaining("a", 2), QString());
        QCOMPARE(GatesContaining("ก", 3), QString());
        QCOMPARE(GatesContaining("", 2).count(' '), 100); // no digit to hold: every number
        QCOMPARE(expandNumberField("ab+2")->gates, QString()); // the row matches, its list is empty
        QCOMPARE(expandNumberField("abc+2")->gates, QString("abc cba "));
        QCOMPARE(listOf(GatesContaining("111", 3)), QStringList({"111"}));
        QCOMPARE(listOf(GatesContainingAscending("99", 3)).size(), 10);
        QCOMPARE(GatesContaining("5", 3).count(' '), 271);
    }

    void entryLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QStringList>("types");
        const QString s3 = "3ตัวตรง", p3 = "3ตัวโต๊ด", t2 = "2ตัวบน";
        QTest::newRow("single") << "554-100" << s3 << QStringList{"554"} << QStringList{"100"} << QStringList{s3};
        QTest::newRow("six orderings") << "358+6-10" << s3 << QStringList{"358", "385", "538", "583", "835", "853"}
                                       << QStringList(6, "10") << QStringList(6, s3);
        QTest::newRow("three code gives the same set") << "358+3-10" << s3
                                                       << QStringList{"358", "385", "538", "583", "835", "853"}
                                                       << QStringList(6, "10") << QStringList(6, s3);
        QTest::newRow("reverse") << "771+2-30" << s3 << QStringList{"771", "177"} << QStringList(2, "30")
                                 << QStringList(2, s3);
        QTest::newRow("reverse of a doubled pair") << "11+2-30" << t2 << QStringList{"11", "11"}
                                                   << QStringList(2, "30") << QStringList(2, t2);
        QTest::newRow("reverse is not sorted") << "321+2-5" << p3 << QStringList{"321", "123"}
                                               << QStringList(2, "5") << QStringList(2, p3);
        QTest::newRow("gate takes the whole paired amount") << "57+2-10+20" << t2 << QStringList{"57", "75"}
                                                            << QStringList(2, "10+20") << QStringList(2, t2);
        QTest::newRow("paired straight") << "345-100+50" << s3 << QStringList{"345", "345"}
                                         << QStringList{"100", "50"} << QStringList{s3, p3};
        QTest::newRow("paired sorts the second") << "543-100+50" << s3 << QStringList{"543", "345"}
                                                 << QStringList{"100", "50"} << QStringList{s3, p3};
        QTest::newRow("paired top and bottom") << "57-100+100" << t2 << QStringList{"57", "57"}
                                               << QStringList{"100", "100"} << QStringList{t2, "2ตัวล่าง"};
        QTest::newRow("paired runners") << "5-100+100" << "วิ่งบน" << QStringList{"5", "5"}
                                        << QStringList{"100", "100"} << QStringList{"วิ่งบน", "วิ่งล่าง"};
        QTest::newRow("paired on another type keeps it") << "123-1+2" << "3ตัวล่าง" << QStringList{"123", "123"}
                                                         << QStringList{"1", "2"}
                                                         << QStringList{"3ตัวล่าง", "3ตัวล่าง"};
        QTest::newRow("long number takes the whole amount") << "1234-100+100" << "4ตัวโต๊ด" << QStringList{"1234"}
                                                            << QStringList{"100+100"} << QStringList{"4ตัวโต๊ด"};
        QTest::newRow("permutation type sorts") << "321-50" << p3 << QStringList{"123"} << QStringList{"50"}
                                                << QStringList{p3};
        QTest::newRow("wrong length for the code") << "12+19-40" << t2 << QStringList{} << QStringList{}
                                                   << QStringList{};
        QTest::newRow("code of the number field only") << "5+271-40" << s3 << QStringList{} << QStringList{}
                                                       << QStringList{};
        QTest::newRow("no amount part") << "554" << s3 << QStringList{"554"} << QStringList{""} << QStringList{s3};
    }
    void entryLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, type);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, amounts);
        QFETCH(QStringList, types);
        const EntryPlan plan = parseEntryLine(line, type, "x");
        QCOMPARE(betNumbers(plan), numbers);
        QStringList a, t;
        for (const PlannedBet& b : plan.bets) a << b.amount, t << b.type;
        QCOMPARE(a, amounts);
        QCOMPARE(t, types);
    }

    void runnerLineHasNineteenGates()
    {
        const EntryPlan plan = parseEntryLine("5+19-40", "2ตัวบน", "x");
        QVERIFY(plan.gates);
        QCOMPARE(betNumbers(plan), listOf(GatesContaining("5", 2)));
    }

    void pairedAmountHeaders()
    {
        const EntryPlan plan = parseEntryLine("123-100+50", "3ตัวตรง", "somchai");
        QCOMPARE(plan.bets.size(), 2);
        QCOMPARE(plan.bets[0].linesAfter, QStringList({"<3ตัวโต๊ด> <somchai>"}));
        QCOMPARE(plan.bets[1].linesAfter, QStringList({"<3ตัวตรง> <somchai>", "พร้อมรับข้อมูล"}));
        QVERIFY(!plan.gates);
    }
};

QTEST_APPLESS_MAIN(TestGates)
#include "tst_gates.moc"
