#include "accounts/dealers.h"
#include "accountsbook.h"
#include "app/Ledger.h"
#include "app/batch.h"
#include "gui/main/session.h"
#include "storage/folder/store.h"

#include <QCommandLineParser>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

BatchRequest parse(const QStringList& args)
{
    QCommandLineParser parser;
    addBatchOptions(parser);
    if (!parser.parse(QStringList{"varnoth"} + args)) return {.batch = true, .usageError = parser.errorText()};
    return batchRequest(parser);
}

struct Book {
    TempBook book;
    Session session;
    Ledger ledger{*book.store, session};
};

} // namespace

class TestDealersBatch : public QObject
{
    Q_OBJECT

private slots:
    // Each --type starts a group; the figures after it are that type's, whatever their order.
    void groupsFollowTheirType()
    {
        const BatchRequest r = parse({"--add-dealer", "boss", "--type", Straight3, "--cap", "2000", "--payout", "500",
                                      "--type", Top2, "--discount", "28"});
        QVERIFY2(r.usageError.isEmpty(), qPrintable(r.usageError));
        QCOMPARE(r.options.dealer, QStringLiteral("boss"));
        QCOMPARE(r.options.dealerTerms,
                 (QList<DealerTerms>{{Straight3, "500", "", "2000"}, {Top2, "", "28", ""}}));
    }

    void badGroupsRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("figure before any type") << QStringList{"--add-dealer", "boss", "--payout", "500", "--type", Straight3};
        QTest::newRow("figure twice for a type")
            << QStringList{"--add-dealer", "boss", "--type", Straight3, "--cap", "1", "--cap", "2"};
        QTest::newRow("type twice") << QStringList{"--add-dealer", "boss", "--type", Straight3, "--type", Straight3};
        QTest::newRow("unknown type") << QStringList{"--add-dealer", "boss", "--type", "9ตัว"};
        QTest::newRow("cap with another job") << QStringList{"--view", "--cap", "100"};
    }
    void badGroupsRefused()
    {
        QFETCH(QStringList, args);
        QVERIFY(!parse(args).usageError.isEmpty());
    }

    // Adding through the batch writes the file and lists it; a non-digit cap exits 1 and writes nothing;
    // a damaged file makes --dealers exit 1 and stays as it was.
    void addListAndRefuse()
    {
        Book b;
        BatchRequest r = parse({"--add-dealer", "boss", "--type", Straight3, "--payout", "500", "--cap", "2000"});
        QCOMPARE(runBatch(b.ledger, r.options).exitCode, BatchRan);
        const QByteArray saved = b.book.bytes(DealersFileName);
        QVERIFY(!saved.isEmpty());

        r = parse({"--add-dealer", "noi", "--type", Straight3, "--cap", "๒๐๐๐"});
        QVERIFY(r.usageError.isEmpty());
        BatchResult refused = runBatch(b.ledger, r.options);
        QCOMPARE(refused.exitCode, BatchRefused);
        QCOMPARE(b.book.bytes(DealersFileName), saved);

        r = parse({"--dealers"});
        BatchResult listed = runBatch(b.ledger, r.options);
        QCOMPARE(listed.exitCode, BatchRan);
        QCOMPARE(listed.out.size(), 1);
        QVERIFY(listed.out[0].startsWith(QStringLiteral("boss ") + Straight3));

        b.book.put(DealersFileName, QStringLiteral("boss#3ตัวตรง#abc##\r\n"));
        const QByteArray damaged = b.book.bytes(DealersFileName);
        QCOMPARE(runBatch(b.ledger, parse({"--dealers"}).options).exitCode, BatchRefused);
        QCOMPARE(runBatch(b.ledger, parse({"--add-dealer", "noi"}).options).exitCode, BatchRefused);
        QCOMPARE(b.book.bytes(DealersFileName), damaged);
    }
};

QTEST_MAIN(TestDealersBatch)
#include "tst_dealers_batch.moc"
