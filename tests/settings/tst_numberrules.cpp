// Number rules: the file, the checks of what is typed, the lookup, and each path the rules act on
// (entry, sheets, restore, over-limit, prize check, analysis, the exposure map).
#include "core/model/types.h"
#include "entry/entry.h"
#include "entry/rulemarks.h"
#include "entry/sheet.h"
#include "gui/main/session.h"
#include "reports/analysis.h"
#include "reports/exposure.h"
#include "reports/overlimit.h"
#include "reports/prize.h"
#include "reports/selectors.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "settlementbook.h"
#include "storage/folder/numberfile.h"
#include "tools/restore.h"

#include <QRegularExpression>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");
const QString Tote = QStringLiteral("3ตัวโต๊ด");
const QString TwoTop = QStringLiteral("2ตัวบน");

NumberRule rule(const QString& type, const QString& number, RuleKind kind, qint64 value = 0, bool perms = false)
{
    const RuleInput in = makeRule(type, number, kind, QString::number(value), perms);
    if (!in.error.isEmpty()) qFatal("bad rule in test");
    return in.rule;
}

void setRules(Store& store, const QList<NumberRule>& rules)
{
    for (const NumberRule& r : rules)
        QVERIFY(setNumberRule(store, r).outcome.ok());
}

double staked(Store& store, const QString& type, const QString& customer, const QString& number)
{
    return NumberFile(store, store.StakeFilePath(type, customer)).value(number);
}

EntryResult enter(Store& store, const QString& customer, const QString& type, const QString& sheet)
{
    if (!store.creationSequence(customer).isEmpty()) qFatal("customer not made");
    return enterSheet(store, sheet, type, customer);
}

} // namespace

class TestNumberRules : public QObject
{
    Q_OBJECT

private slots:
    void fileLinesReadBack_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("perms");
        QTest::addColumn<QString>("line");
        QTest::newRow("limit") << Straight << "123" << int(RuleKind::Limit) << "500" << false << "3ตัวตรง#123#limit#500";
        QTest::newRow("closed") << TwoTop << "45" << int(RuleKind::Closed) << "" << false << "2ตัวบน#45#closed";
        QTest::newRow("pay, every order")
            << Straight << "789" << int(RuleKind::Pay) << "50" << true << "3ตัวตรง#789#pay#50#perm";
        QTest::newRow("closed, every order")
            << Straight << "112" << int(RuleKind::Closed) << "" << true << "3ตัวตรง#112#closed##perm";
        // A permutation type stores digits ascending: the rule is on the stored number, and every
        // order is that number already.
        QTest::newRow("sorted type") << Tote << "321" << int(RuleKind::Closed) << "" << true << "3ตัวโต๊ด#123#closed";
    }
    void fileLinesReadBack()
    {
        QFETCH(QString, type);
        QFETCH(QString, number);
        QFETCH(int, kind);
        QFETCH(QString, value);
        QFETCH(bool, perms);
        QFETCH(QString, line);
        const RuleInput in = makeRule(type, number, RuleKind(kind), value, perms);
        QCOMPARE(in.error, QString());
        QCOMPARE(ruleLine(in.rule), line);
        QCOMPARE(parseRuleLine(line), std::optional<NumberRule>(in.rule));

        TempBook book;
        QVERIFY(setNumberRule(*book.store, in.rule).outcome.ok());
        QCOMPARE(book.bytes(NumberRulesFileName), cp874(line + "\r\n"));
    }

    void typedRulesAreChecked_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("short number") << Straight << "12" << int(RuleKind::Closed) << "" << false;
        QTest::newRow("letters") << Straight << "12a" << int(RuleKind::Closed) << "" << false;
        QTest::newRow("decimal limit") << Straight << "123" << int(RuleKind::Limit) << "1.5" << false;
        QTest::newRow("negative limit") << Straight << "123" << int(RuleKind::Limit) << "-5" << false;
        QTest::newRow("empty limit") << Straight << "123" << int(RuleKind::Limit) << "" << false;
        QTest::newRow("limit 0") << Straight << "123" << int(RuleKind::Limit) << "0" << true;
        QTest::newRow("pay 101") << Straight << "123" << int(RuleKind::Pay) << "101" << false;
        QTest::newRow("pay 100") << Straight << "123" << int(RuleKind::Pay) << "100" << true;
        QTest::newRow("pay 0") << Straight << "123" << int(RuleKind::Pay) << "0" << true;
        QTest::newRow("pay with sign") << Straight << "123" << int(RuleKind::Pay) << "+50" << false;
        QTest::newRow("unknown type") << "4ตัวตรง"
                                      << "1234" << int(RuleKind::Closed) << "" << false;
    }
    void typedRulesAreChecked()
    {
        QFETCH(QString, type);
        QFETCH(QString, number);
        QFETCH(int, kind);
        QFETCH(QString, value);
        QFETCH(bool, accepted);
        const RuleInput in = makeRule(type, number, RuleKind(kind), value, false);
        QCOMPARE(in.error.isEmpty(), accepted);
    }

    void badRuleNeverReachesTheFile()
    {
        TempBook book;
        const RuleChange change = setNumberRule(*book.store, NumberRule{Straight, "12", RuleKind::Pay, 150, false});
        QVERIFY(!change.error.isEmpty());
        QVERIFY(!book.store->exists(book.file(NumberRulesFileName)));
        QVERIFY(!setNumberRule(*book.store, NumberRule{Straight, "123", RuleKind::Pay, 150, false}).error.isEmpty());
        QVERIFY(!book.store->exists(book.file(NumberRulesFileName)));
    }

    void lookupFollowsDigitOrders()
    {
        const NumberRules rules({rule(Straight, "123", RuleKind::Limit, 100, true),
                                 rule(Straight, "321", RuleKind::Closed), rule(TwoTop, "12", RuleKind::Pay, 50, true),
                                 rule(Straight, "455", RuleKind::Closed)});
        const int s = typeIndex(Straight), two = typeIndex(TwoTop);
        QCOMPARE(rules.find(s, "213")->kind, RuleKind::Limit);
        // A rule set on the number itself wins over one that reaches it through its digits.
        QCOMPARE(rules.find(s, "321")->kind, RuleKind::Closed);
        QCOMPARE(rules.find(two, "21")->value, 50);
        QVERIFY(!rules.find(s, "545")); // no "every order" on 455
        QVERIFY(!rules.find(typeIndex(Tote), "123"));
        QCOMPARE(digitOrders("112"), QStringList({"112", "121", "211"}));
        QCOMPARE(rules.limitOf(s, "132"), QString("100"));
        QCOMPARE(rules.payPercentOf(two, "12"), 50);
        QCOMPARE(rules.payPercentOf(two, "13"), 100);

        // The lookup tells numbers apart by their width as well as their value, and anything that is
        // not one to three digits finds nothing.
        const NumberRules widths({rule(TwoTop, "05", RuleKind::Closed), rule(Straight, "005", RuleKind::Pay, 50)});
        QVERIFY(widths.find(two, "05"));
        QVERIFY(!widths.find(two, "5"));
        QVERIFY(!widths.find(two, "005"));
        QCOMPARE(widths.payPercentOf(s, "005"), 50);
        QCOMPARE(widths.payPercentOf(s, "05"), 100);
        for (const char* odd : {"", "0005", "0x5", "5 ", "๐๕"})
            QVERIFY2(!widths.find(two, odd) && !widths.find(s, odd), odd);
        QCOMPARE(NumberRules::shortNumberSlot(u"999"), NumberRules::ShortNumberSlots - 1);
    }

    // A rule that reaches closed numbers and no longer keeps them closed says which numbers open, and
    // the rule that now holds on each number it covers; a rule that keeps every closed number closed
    // says nothing more than that it was set.
    void reopenedNumbersAreNamed_data()
    {
        QTest::addColumn<QList<NumberRule>>("before");
        QTest::addColumn<NumberRule>("set");
        QTest::addColumn<QStringList>("reopened");
        QTest::addColumn<QStringList>("holds");
        const NumberRule closedAll = rule(Straight, "123", RuleKind::Closed, 0, true);
        QTest::newRow("every order closed, a limit on another order")
            << QList<NumberRule>{closedAll}
            << rule(Straight, "321", RuleKind::Limit, 500, true)
            // 123 keeps its own rule; each other order takes the newer rule that reaches it.
            << QStringList{"321", "132", "213", "231", "312"}
            << QStringList{"321: 321 อั้น 500 กลับ", "123: 123 ปิด กลับ",     "132: 321 อั้น 500 กลับ",
                           "213: 321 อั้น 500 กลับ", "231: 321 อั้น 500 กลับ", "312: 321 อั้น 500 กลับ"};
        QTest::newRow("one closed number, reached through its digits")
            << QList<NumberRule>{rule(TwoTop, "21", RuleKind::Closed, 0, true)}
            << rule(TwoTop, "12", RuleKind::Pay, 50, true) << QStringList{"12"}
            << QStringList{"12: 12 จ่าย 50% กลับ", "21: 21 ปิด กลับ"};
        QTest::newRow("the closed number's own rule replaced")
            << QList<NumberRule>{rule(Straight, "132", RuleKind::Closed)} << rule(Straight, "132", RuleKind::Limit, 50)
            << QStringList{"132"} << QStringList{"132: 132 อั้น 50"};
        QTest::newRow("a closed number's own rule wins")
            << QList<NumberRule>{rule(Straight, "321", RuleKind::Closed)}
            << rule(Straight, "123", RuleKind::Pay, 50, true) << QStringList() << QStringList();
        QTest::newRow("closed again") << QList<NumberRule>{closedAll}
                                      << rule(Straight, "231", RuleKind::Closed, 0, true) << QStringList()
                                      << QStringList();
    }
    void reopenedNumbersAreNamed()
    {
        QFETCH(QList<NumberRule>, before);
        QFETCH(NumberRule, set);
        QFETCH(QStringList, reopened);
        QFETCH(QStringList, holds);
        SettlementBook book;
        setRules(*book.store, before);
        const RuleChange change = setNumberRule(*book.store, set);
        QVERIFY(change.changed());
        QCOMPARE(change.reopened, reopened);
        QStringList expected{RuleSetText + set.type + QLatin1Char(' ') + describeRule(set)};
        if (!reopened.isEmpty()) expected << ReopenedNumbersText + reopened.join(", ");
        for (const QString& h : holds)
            expected << h;
        QCOMPARE(change.lines, expected);
    }

    void damagedFileIsReportedOnceAndKept()
    {
        TempBook book;
        Store& store = *book.store;
        const QString damaged = "3ตัวตรง#123#closed\r\n"
                                "junk line\r\n"
                                "4ตัวตรง#1234#closed\r\n"
                                "2ตัวบน#123#closed\r\n"
                                "2ตัวบน#45#pay#150\r\n"
                                "2ตัวบน#46#pay#50\r\n";
        book.put(NumberRulesFileName, damaged);
        QCOMPARE(bookRules(store)->all().size(), 2);
        const QStringList problems = takeRuleFileProblems(store);
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems[0].contains(NumberRulesFileName));
        QVERIFY(problems[0].endsWith("2, 3, 4, 5"));
        QCOMPARE(takeRuleFileProblems(store), QStringList());

        // A change rewrites the good lines and keeps every damaged one where it stood.
        QVERIFY(setNumberRule(store, rule(Straight, "123", RuleKind::Limit, 700)).outcome.ok());
        QVERIFY(clearNumberRule(store, TwoTop, "46").outcome.ok());
        QCOMPARE(book.text(NumberRulesFileName), QString("3ตัวตรง#123#limit#700\r\n"
                                                         "junk line\r\n"
                                                         "4ตัวตรง#1234#closed\r\n"
                                                         "2ตัวบน#123#closed\r\n"
                                                         "2ตัวบน#45#pay#150\r\n"));
        // Entry still applies the good line.
        QVERIFY(bookRules(store)->find(Straight, "123"));
    }

    void lastRuleClearedRemovesTheFile()
    {
        TempBook book;
        setRules(*book.store, {rule(Straight, "123", RuleKind::Closed)});
        const RuleChange cleared = clearNumberRule(*book.store, Straight, "123");
        QCOMPARE(cleared.before, std::optional<NumberRule>(rule(Straight, "123", RuleKind::Closed)));
        QVERIFY(!cleared.after);
        QVERIFY(!book.store->exists(book.file(NumberRulesFileName)));
        QVERIFY(bookRules(*book.store)->isEmpty());
        QVERIFY(!clearNumberRule(*book.store, Straight, "123").changed());
    }

    void entryRefusesClosedAndMarksTheRest()
    {
        TempBook book;
        Store& store = *book.store;
        setRules(store, {rule(Straight, "123", RuleKind::Closed, 0, true), rule(Straight, "456", RuleKind::Pay, 50),
                         rule(Tote, "789", RuleKind::Closed)});
        const EntryResult r = enter(store, "a", Straight, "321-50\r\n456-20\r\n111-10");
        QCOMPARE(r.lines, QStringList({"321-50" + ClosedNumberText, "456-20 จ่าย 50%", "111-10"}));
        QCOMPARE(r.closed, 1);
        QCOMPARE(r.changes.size(), 2);
        QCOMPARE(staked(store, Straight, "a", "321"), 0.0);
        QCOMPARE(staked(store, Straight, "a", "456"), 20.0);
        // The count file counts only what was stored.
        QCOMPARE(NumberFile(store, store.TypeFilePath(Straight, Store::CountPrefix)).value("321"), 0.0);

        // A sorted type: the keyed digits in any order are the stored number.
        const EntryResult tote = enter(store, "a", Tote, "978-10");
        QCOMPARE(tote.lines, QStringList({"789-10" + ClosedNumberText}));

        // The main window's plan: paired amounts reach the closed number on the second type too.
        EntryBatch batch(store, "a");
        batch.addPlan(planFieldEntry({}, "987", "10+20", Straight, "a").plan);
        const EntryResult paired = batch.commit();
        QCOMPARE(paired.closed, 1);
        QVERIFY(paired.lines.contains("789-20" + ClosedNumberText));
    }

    void ownLimitCountsTheWholeBook()
    {
        TempBook book;
        Store& store = *book.store;
        setRules(store, {rule(Straight, "123", RuleKind::Limit, 100)});
        QCOMPARE(enter(store, "a", Straight, "123-60").lines, QStringList({"123-60"}));
        // Another customer takes the book's stake on 123 above its limit: stored, and marked.
        const EntryResult b = enter(store, "b", Straight, "123-30\r\n123-20\r\n456-500");
        QCOMPARE(b.lines, QStringList({"123-30", "123-20" + OverOwnLimitText, "456-500"}));
        QCOMPARE(staked(store, Straight, "b", "123"), 50.0);
    }

    // The book's stake on a number is kept between entries and brought up to date from what changed
    // in the folder: a file rewritten by another program, a customer added through another copy.
    void bookStakeFollowsChangesMadeElsewhere()
    {
        TempBook book;
        Store& store = *book.store;
        setRules(store, {rule(Straight, "123", RuleKind::Limit, 100)});
        QCOMPARE(enter(store, "a", Straight, "123-60").lines, QStringList({"123-60"}));
        QCOMPARE(enter(store, "a", Straight, "123-50").lines, QStringList({"123-50" + OverOwnLimitText}));
        const QString fileName = Store::fileName(store.StakeFilePath(Straight, "a"));
        QString text = book.text(fileName);
        QVERIFY(text.contains("123-110\r\n"));
        book.put(fileName, text.replace("123-110\r\n", "123-0\r\n")); // written over in place
        QCOMPARE(enter(store, "a", Straight, "123-50").lines, QStringList({"123-50"}));
        {
            Store other(book.folder());
            QCOMPARE(enter(other, "b", Straight, "123-40").lines, QStringList({"123-40"}));
        }
        QCOMPARE(enter(store, "a", Straight, "123-20").lines, QStringList({"123-20" + OverOwnLimitText}));
        QCOMPARE(staked(store, Straight, "a", "123"), 70.0);
    }

    // The book's stake kept between entries follows each entry's own bets without reading its file
    // again: after every entry it must equal the sums read afresh from every stake file, including
    // files with lines the entry cannot simply add to (a number on two lines, a fraction, a minus, a
    // "#" line), where the kept sums fall back to reading the file.
    void keptStakeEqualsTheFiles()
    {
        TempBook book;
        Store& store = *book.store;
        setRules(store, {rule(Straight, "123", RuleKind::Limit, 1000), rule(Tote, "123", RuleKind::Limit, 1000)});
        const QStringList customers{"a", "b", "c"};
        for (const QString& c : customers)
            QVERIFY(store.creationSequence(c).isEmpty());
        const QString odd = Store::fileName(store.StakeFilePath(Straight, "b"));
        QString text = book.text(odd);
        text.replace("123-0\r\n", "123-0.1\r\n").replace("456-0\r\n", "456--3\r\n").replace("789-0\r\n", "789-4#\r\n");
        book.put(odd, text + "555-7\r\n123-0.2\r\n");

        auto check = [&](const QString& type) {
            const int t = typeIndex(type);
            const QStringList& set = NumberSet(type);
            QList<double> fresh(set.size(), 0.0);
            for (const QString& c : customers) {
                const QList<double> one = stakeSumsOfBytes(store.readBytes(store.StakeFilePath(type, c)).bytes, set);
                for (qsizetype i = 0; i < set.size(); ++i)
                    fresh[i] += one[i];
            }
            QList<double> kept(set.size(), 0.0);
            for (const QList<double>& one : customerSumsOfType(store, t))
                for (qsizetype i = 0; i < set.size(); ++i)
                    kept[i] += one[i];
            return kept == fresh;
        };
        QVERIFY(check(Straight)); // the first look reads every file
        const QStringList numbers{"123", "456", "789", "555", "321", "000"};
        quint32 seed = 7;
        auto next = [&seed](quint32 n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % n;
        };
        for (int round = 0; round < 60; ++round) {
            const QString customer = customers[next(3)];
            const QString type = next(4) == 0 ? Tote : Straight;
            QString sheet;
            for (quint32 i = 0, n = 1 + next(3); i < n; ++i)
                sheet += numbers[next(numbers.size())] + "-" + QString::number(1 + next(90)) + "\r\n";
            enter(store, customer, type, sheet);
            QVERIFY2(check(type), qPrintable(QString("round %1: %2 %3 %4").arg(round).arg(customer, type, sheet)));
        }
    }

    void restoreHonoursClosedNumbers()
    {
        TempBook book;
        Store& store = *book.store;
        setRules(store, {rule(Straight, "123", RuleKind::Closed), rule(Straight, "456", RuleKind::Pay, 50)});
        const QString backup = "3ตัวตรง#x\r\n123-50\r\n456-20\r\n"
                               "3ตัวตรง#\r\n123-1\r\n456-1\r\n";
        const MergeResult r = MergeBackupText(store, backup);
        QVERIFY(r.lines.contains("123-50" + ClosedNumberText));
        QVERIFY(r.lines.contains("456-20 จ่าย 50%"));
        QCOMPARE(r.count, 1.0);
        QCOMPARE(r.amount, 20.0);
        QCOMPARE(staked(store, Straight, "x", "123"), 0.0);
        const NumberFile counts(store, store.TypeFilePath(Straight, Store::CountPrefix));
        QCOMPARE(counts.value("123"), 0.0);
        QCOMPARE(counts.value("456"), 1.0);
    }

    void overLimitUsesOwnLimits()
    {
        SettlementBook book;
        Store& store = *book.store;
        book.stake(Straight, "a", {{"123", 300}, {"456", 300}, {"789", 50}});
        book.stake(TwoTop, "a", "12", 80);
        book.settings(store.limitFile(), {Straight + "#200"});
        setRules(store, {rule(Straight, "123", RuleKind::Limit, 100), rule(Straight, "456", RuleKind::Limit, 400),
                         rule(TwoTop, "21", RuleKind::Limit, 50, true)});
        Session session;
        const QStringList sent = OverLimit(store, session, Straight, false).lines;
        QVERIFY(sent.contains("123-200"));
        // 456 is within its own 400, although above the type's 200.
        QCOMPARE(sent.filter(QRegularExpression("^\\d{3}-")), QStringList({"123-200"}));
        const QStringList kept = OverLimit(store, session, Straight, true).lines;
        QVERIFY(kept.contains("123-100"));
        QVERIFY(kept.contains("456-300"));
        QVERIFY(kept.contains("789-50"));
        // A type without a limit of its own still sends out what is above a number's limit.
        QVERIFY(OverLimit(store, session, TwoTop, false).lines.contains("12-30"));
    }

    void prizePaysThePercentage()
    {
        SettlementBook book;
        Store& store = *book.store;
        book.stake(Straight, "a", {{"123", 100}, {"456", 10}});
        book.settings(store.rateFile(), {Straight + "#500"});
        book.settings(store.resultFile(), {Straight + "#123-456-"});
        setRules(store, {rule(Straight, "321", RuleKind::Pay, 50, true)});
        Session session;
        const QStringList lines = PrizeCheck(store, session, Straight, "a").lines;
        QVERIFY(lines.contains("123-100 จ่าย 50%"));
        QVERIFY(lines.contains("456-10"));
        QVERIFY(lines.contains("รวมเงิน= 110.00 บาท"));
        QVERIFY(lines.contains("จ่ายค่ารางวัล= 30,000.00 บาท")); // 100 x 500 x 50% + 10 x 500
    }

    void analysisCapsAtOwnLimits()
    {
        SettlementBook book;
        Store& store = *book.store;
        book.stake(Straight, "a", {{"123", 300}, {"456", 300}});
        book.settings(store.limitFile(), {Straight + "#100"});
        book.settings(store.rateFile(), {Straight + "#500"});
        setRules(store, {rule(Straight, "456", RuleKind::Limit, 200)});
        const QStringList lines = Analysis(store, Straight).lines;
        QCOMPARE(lines.value(1), rulesSummary(*bookRules(store), Straight));
        QCOMPARE(lines.value(1), QString("เลขอั้นเฉพาะตัว 1 เลข  เลขปิด 0 เลข  จ่ายลด 0 เลข"));
        QVERIFY(lines.contains("ยอดรายรับ= 300.00 บาท"));             // 100 kept on 123, 200 on 456
        QVERIFY(lines.contains("จ่ายค่ารางวัลตามที่อั้น= 100,000.00 บาท")); // the most one number can cost
    }

    void exposureShowsRules()
    {
        SettlementBook book;
        Store& store = *book.store;
        book.stake(Straight, "a", {{"123", 80}, {"456", 80}});
        book.settings(store.limitFile(), {Straight + "#1000"});
        setRules(store, {rule(Straight, "123", RuleKind::Limit, 100), rule(Straight, "456", RuleKind::Closed),
                         rule(Straight, "789", RuleKind::Pay, 50)});
        const Exposure e = buildExposure(store, Straight);
        QCOMPARE(e.cells[123].level, ExposureLevel::UpToLimit); // above half of its own 100
        QCOMPARE(e.cells[123].ownLimit, QString("100"));
        QCOMPARE(e.cells[456].level, ExposureLevel::UpToHalf); // within half of the type's 1000
        QVERIFY(e.cells[456].closed);
        QCOMPARE(e.cells[789].payPercent, 50);
        QCOMPARE(e.cells[111].payPercent, 100);
    }

    void changedFileIsReadAgain()
    {
        // Two rewrites within one moment must not leave the older rules in use.
        TempBook book;
        Store& store = *book.store;
        for (int limit = 1; limit <= 20; ++limit) {
            setRules(store, {rule(Straight, "123", RuleKind::Limit, limit)});
            QCOMPARE(bookRules(store)->limitOf(typeIndex(Straight), "123"), QString::number(limit));
        }
        book.put(NumberRulesFileName, "3ตัวตรง#123#closed\r\n");
        QCOMPARE(bookRules(store)->find(Straight, "123")->kind, RuleKind::Closed);
    }
};

QTEST_GUILESS_MAIN(TestNumberRules)
#include "tst_numberrules.moc"
