// Number rules through the application layer and batch mode: one ledger call per change with the
// rule before and after, the signal the windows follow, the batch options, and the new draw.
#include "app/Ledger.h"
#include "app/batch.h"
#include "entry/gates.h"
#include "gui/main/session.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QCommandLineParser>
#include <QSignalSpy>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");

struct Fixture {
    TempBook book;
    Session session;
    Ledger ledger{*book.store, session};

    // Parses the arguments as the program does and runs the job; a usage error comes back as such.
    BatchResult run(const QStringList& args)
    {
        QCommandLineParser parser;
        addBatchOptions(parser);
        if (!parser.parse(QStringList{"varnoth"} + args)) return {{}, {parser.errorText()}, BatchUsageError};
        const BatchRequest request = batchRequest(parser);
        if (!request.usageError.isEmpty()) return {{}, {request.usageError}, BatchUsageError};
        if (!request.argumentsTaken && !parser.positionalArguments().isEmpty())
            return {{}, {"unexpected argument"}, BatchUsageError};
        return runBatch(ledger, request.options);
    }
};

} // namespace

class TestNumberRulesApp : public QObject
{
    Q_OBJECT

private slots:
    void changesCarryBeforeAndAfter()
    {
        Fixture f;
        QSignalSpy changed(&f.ledger, &Ledger::numberRulesChanged);
        const NumberRule limit{Straight, "123", RuleKind::Limit, 500, false};
        const RuleChange set = f.ledger.setNumberRule(limit);
        QVERIFY(!set.before);
        QCOMPARE(set.after, std::optional<NumberRule>(limit));
        QCOMPARE(changed.count(), 1);

        // The same rule again changes nothing and says nothing.
        QVERIFY(!f.ledger.setNumberRule(limit).changed());
        QCOMPARE(changed.count(), 1);

        const NumberRule closed{Straight, "123", RuleKind::Closed, 0, true};
        const RuleChange replaced = f.ledger.setNumberRule(closed);
        QCOMPARE(replaced.before, std::optional<NumberRule>(limit));
        QCOMPARE(replaced.after, std::optional<NumberRule>(closed));
        const RuleChange cleared = f.ledger.clearNumberRule(Straight, "123");
        QCOMPARE(cleared.before, std::optional<NumberRule>(closed));
        QVERIFY(!cleared.after);
        QCOMPARE(changed.count(), 3);
    }

    void batchSetsListsAndClears_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("fileAfter");
        QTest::newRow("limit") << QStringList{"--set-rule", Straight, "123", "limit", "500"} << BatchRan
                               << "3ตัวตรง#123#limit#500\r\n";
        QTest::newRow("closed, every order") << QStringList{"--set-rule", Straight, "123", "closed", "--permutations"}
                                             << BatchRan << "3ตัวตรง#123#closed##perm\r\n";
        QTest::newRow("pay") << QStringList{"--set-rule", Straight, "123", "pay", "50"} << BatchRan
                             << "3ตัวตรง#123#pay#50\r\n";
        QTest::newRow("pay above 100") << QStringList{"--set-rule", Straight, "123", "pay", "150"} << BatchRefused
                                       << "";
        QTest::newRow("number too short") << QStringList{"--set-rule", Straight, "12", "closed"} << BatchRefused << "";
        QTest::newRow("closed with a value")
            << QStringList{"--set-rule", Straight, "123", "closed", "5"} << BatchUsageError << "";
        QTest::newRow("unknown kind") << QStringList{"--set-rule", Straight, "123", "half"} << BatchUsageError << "";
        QTest::newRow("unknown type") << QStringList{"--set-rule", "3ตัว", "123", "closed"} << BatchUsageError << "";
        QTest::newRow("clear without rule") << QStringList{"--clear-rule", Straight, "123"} << BatchRefused << "";
        QTest::newRow("permutations elsewhere") << QStringList{"--view", "--permutations"} << BatchUsageError << "";
    }
    void batchSetsListsAndClears()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, fileAfter);
        Fixture f;
        const BatchResult r = f.run(args);
        QCOMPARE(r.exitCode, code);
        QCOMPARE(f.book.text(NumberRulesFileName), fileAfter);
        if (code != BatchRan) return;
        const BatchResult listed = f.run({"--rules"});
        QCOMPARE(listed.exitCode, BatchRan);
        QCOMPARE(listed.out.value(0), "<" + Straight + ">");
        QVERIFY(listed.out.value(1).startsWith("123 "));
        QCOMPARE(f.run({"--clear-rule", Straight, "123"}).exitCode, BatchRan);
        QVERIFY(!f.book.store->exists(f.book.file(NumberRulesFileName)));
        QCOMPARE(f.run({"--rules"}).out, QStringList({NoRulesText}));
    }

    void batchSheetLeavesClosedNumbersOut()
    {
        Fixture f;
        QCOMPARE(f.run({"--set-rule", Straight, "123", "closed", "--permutations"}).exitCode, BatchRan);
        const QString sheet = f.book.dir.filePath("sheet.txt");
        QFile file(sheet);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("321-50\r\n456-20\r\n") > 0);
        file.close();
        const BatchResult r = f.run({"--enter-sheet", sheet, "--type", Straight, "--customer", "a"});
        QCOMPARE(r.exitCode, BatchRefused);
        QVERIFY(r.out.contains("321-50" + ClosedNumberText));
        QVERIFY(r.out.contains("456-20"));
        QCOMPARE(r.err.size(), 1);
    }

    void newDrawKeepsRulesUnlessAsked()
    {
        Fixture f;
        const NumberRule closed{Straight, "123", RuleKind::Closed, 0, false};
        f.ledger.setNumberRule(closed);
        QVERIFY(f.ledger.newDraw().done);
        QCOMPARE(bookRules(*f.book.store)->all(), QList<NumberRule>({closed}));

        QSignalSpy changed(&f.ledger, &Ledger::numberRulesChanged);
        QCOMPARE(f.run({"--new-draw", "--confirm-new-draw", "--clear-rules"}).exitCode, BatchRan);
        QVERIFY(bookRules(*f.book.store)->isEmpty());
        QCOMPARE(changed.count(), 1);
        // The copy of the old draw holds the rules it had.
        const QDir draws(f.book.dir.filePath("draws"));
        bool copied = false;
        for (const QString& d : draws.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            copied = copied || QFile::exists(draws.filePath(d + "/" + NumberRulesFileName));
        QVERIFY(copied);
    }
};

QTEST_GUILESS_MAIN(TestNumberRulesApp)
#include "tst_numberrules_app.moc"
