#include "accounts/accounttexts.h"
#include "accounts/dealers.h"
#include "accounts/dealerreply.h"
#include "accounts/dealersent.h"
#include "accounts/dealerstatement.h"
#include "accounts/dealertexts.h"
#include "accounts/payments.h"
#include "app/BillPainter.h"
#include "audit/audittexts.h"
#include "core/model/datetexts.h"
#include "settings/options.h"
#include "accountsbook.h"
#include "app/Ledger.h"
#include "app/batch.h"
#include "gui/main/session.h"
#include "storage/folder/store.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QImage>
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

BatchResult run(Book& b, const QStringList& args)
{
    const BatchRequest r = parse(args);
    if (!r.usageError.isEmpty()) return {{}, {r.usageError}, BatchUsageError};
    return runBatch(b.ledger, r.options);
}

// Limit 500 on 3ตัวตรง; 123 is 400 above it and 456 100 above. boss takes at most 150 a number,
// noi at most 100.
void overLimitBook(Book& b)
{
    b.book.put(QStringLiteral("lotto2.gif"), QStringLiteral("3ตัวตรง#500\r\n"));
    b.book.stake(Straight3, QStringLiteral("somchai"), QStringLiteral("123"), 900);
    b.book.stake(Straight3, QStringLiteral("somchai"), QStringLiteral("456"), 600);
    QCOMPARE(run(b, {"--add-dealer", "boss", "--type", Straight3, "--cap", "150"}).exitCode, BatchRan);
    QCOMPARE(run(b, {"--add-dealer", "noi", "--type", Straight3, "--cap", "100"}).exitCode, BatchRan);
}

// The statement's book: boss (payout 600, 10% discount) was sent 123-150 and 456-100 and 456 won; noi
// was sent 123-100. Boss owes the book 59,775, the book owes noi 100.
void bossAndNoiPriced(Book& b)
{
    overLimitBook(b);
    drawnAndPriced(b.book);
    QCOMPARE(run(b, {"--add-dealer", "boss", "--type", Straight3, "--payout", "600", "--discount", "10", "--cap", "150"})
                 .exitCode,
             BatchRan);
    QCOMPARE(run(b, {"--split-send", "mon"}).exitCode, BatchRan);
}

QString sendOutFile(Book& b)
{
    return QFileInfo(b.book.store->TypeFilePath(Straight3, Store::SendOutPrefix)).fileName();
}

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

    // The split saves one list per dealer who takes some, records it as sent and names the dealer
    // in the record; the next over-limit report sends only what no dealer took, and a second split
    // counts what each dealer already holds against his cap. The split is one step to take back.
    void splitSendRecordsAndSendsTheRestLater()
    {
        Book b;
        overLimitBook(b);
        const QByteArray sentBefore = b.book.bytes(sendOutFile(b));

        const BatchResult first = run(b, {"--split-send", "mon"});
        QCOMPARE(first.exitCode, BatchRan);
        QCOMPARE(b.book.text(QStringLiteral("his.gif")), QStringLiteral("#mon.boss#mon.noi#\r\n"));
        QCOMPARE(b.book.text(QStringLiteral("mon.boss_b.gif")), QStringLiteral("<3ตัวตรง>#123-150#456-100##\r\n"));
        QCOMPARE(b.book.text(QStringLiteral("mon.noi_b.gif")), QStringLiteral("<3ตัวตรง>#123-100##\r\n"));
        QCOMPARE(b.book.text(DealerListsFileName), QStringLiteral("boss#mon.boss\r\nnoi#mon.noi\r\n"));
        QVERIFY(first.out.contains(DealerUnplacedHead));
        QVERIFY(first.out.contains(Straight3 + QStringLiteral("\t123-150")));

        const BatchResult rest = run(b, {"--over-limit"});
        QVERIFY(rest.out.contains(QStringLiteral("123-150")));
        QVERIFY(!rest.out.contains(QStringLiteral("456-100")));

        // 50 more on 456: boss has room for 50 more there, the 150 left on 123 nobody takes.
        b.book.stake(Straight3, QStringLiteral("daeng"), QStringLiteral("456"), 50);
        const BatchResult second = run(b, {"--split-send", "tue"});
        QCOMPARE(second.exitCode, BatchRan);
        QCOMPARE(b.book.text(QStringLiteral("tue.boss_b.gif")), QStringLiteral("<3ตัวตรง>#456-50##\r\n"));
        QVERIFY(!QFileInfo::exists(b.book.store->path(QStringLiteral("tue.noi_b.gif"))));
        QCOMPARE(b.book.text(DealerListsFileName),
                 QStringLiteral("boss#mon.boss\r\nnoi#mon.noi\r\nboss#tue.boss\r\n"));

        // Nothing left that any dealer takes: refused, nothing written.
        const QByteArray record = b.book.bytes(DealerListsFileName);
        QCOMPARE(run(b, {"--split-send", "wed"}).exitCode, BatchRefused);
        QCOMPARE(b.book.bytes(DealerListsFileName), record);

        b.ledger.undoStack().undo();
        b.ledger.undoStack().undo();
        QVERIFY(!QFileInfo::exists(b.book.store->path(DealerListsFileName)));
        QVERIFY(!QFileInfo::exists(b.book.store->path(QStringLiteral("mon.boss_b.gif"))));
        QCOMPARE(b.book.bytes(sendOutFile(b)), sentBefore);
    }

    // A list saved for a dealer is byte for byte the list saved without one; only the record of
    // dealers learns of it, and deleting the list takes it out of the record again. An unknown
    // dealer writes nothing; a book that never names a dealer never gets the record.
    void saveListForADealer()
    {
        Book plain;
        overLimitBook(plain);
        QCOMPARE(run(plain, {"--over-limit", "--save-list", "mon"}).exitCode, BatchRan);
        QVERIFY(!QFileInfo::exists(plain.book.store->path(DealerListsFileName)));

        Book b;
        overLimitBook(b);
        const QByteArray history = b.book.bytes(QStringLiteral("his.gif"));
        QCOMPARE(run(b, {"--over-limit", "--save-list", "mon", "--dealer", "nobody"}).exitCode, BatchRefused);
        QCOMPARE(b.book.bytes(QStringLiteral("his.gif")), history);
        QVERIFY(!QFileInfo::exists(b.book.store->path(DealerListsFileName)));

        QCOMPARE(run(b, {"--over-limit", "--save-list", "mon", "--dealer", "boss"}).exitCode, BatchRan);
        QCOMPARE(b.book.bytes(QStringLiteral("mon_b.gif")), plain.book.bytes(QStringLiteral("mon_b.gif")));
        QCOMPARE(b.book.bytes(sendOutFile(b)), plain.book.bytes(sendOutFile(plain)));
        QCOMPARE(b.book.text(DealerListsFileName), QStringLiteral("boss#mon\r\n"));

        QVERIFY(b.ledger.deleteSavedList(QStringLiteral("mon")).ok());
        QVERIFY(!QFileInfo::exists(b.book.store->path(DealerListsFileName)));

        QCOMPARE(parse({"--over-limit", "--dealer", "boss"}).usageError.isEmpty(), false);
        QCOMPARE(run(b, {"--split-send", "x", "--dealer", "boss"}).exitCode, BatchUsageError);
    }

    // A damaged record of dealers is never written over: the split and a dealer's save refuse.
    void damagedRecordRefuses()
    {
        Book b;
        overLimitBook(b);
        b.book.put(DealerListsFileName, QStringLiteral("garbage\r\n"));
        QCOMPARE(run(b, {"--split-send", "mon"}).exitCode, BatchRefused);
        QCOMPARE(run(b, {"--over-limit", "--save-list", "mon", "--dealer", "boss"}).exitCode, BatchRefused);
        QCOMPARE(b.book.text(DealerListsFileName), QStringLiteral("garbage\r\n"));
        QVERIFY(!QFileInfo::exists(b.book.store->path(QStringLiteral("his.gif"))) ||
                b.book.text(QStringLiteral("his.gif")).isEmpty());
    }

    // The reply is checked against every list that went to the dealer: a number he left out, one he
    // added and one at another amount are each named; numbers written twice add up; a reply that
    // agrees exits 0.
    void replyCheckedNumberByNumber()
    {
        Book b;
        overLimitBook(b);
        QCOMPARE(run(b, {"--split-send", "mon"}).exitCode, BatchRan); // boss: 123-150, 456-100; noi: 123-100
        const QString reply = b.book.dir.filePath(QStringLiteral("reply.txt"));
        const auto write = [&](const char* text) {
            QFile f(reply);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(text);
        };

        write("123=100\n123=50\n456=80\n789=20\n");
        BatchResult r = run(b, {"--check-dealer", reply, "--dealer", "boss", "--type", Straight3});
        QCOMPARE(r.exitCode, BatchRefused);
        QCOMPARE(r.out, (QStringList{ReplyChangedText + Straight3 + " 456 " + ReplySentHead + "100 " + ReplyRepliedHead + "80",
                                     ReplyExtraText + Straight3 + " 789 " + ReplyRepliedHead + "20",
                                     ReplyDiffersText + "1"}));

        write("456=100\n");
        r = run(b, {"--check-dealer", reply, "--dealer", "noi", "--type", Straight3});
        QCOMPARE(r.exitCode, BatchRefused);
        QCOMPARE(r.out.first(), ReplyMissingText + Straight3 + " 123 " + ReplySentHead + "100");

        write("123=100\n");
        r = run(b, {"--check-dealer", reply, "--dealer", "noi", "--type", Straight3});
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(r.out, QStringList{ReplyAgreesText + "1"});

        QCOMPARE(run(b, {"--check-dealer", reply, "--dealer", "nobody"}).exitCode, BatchRefused);
        QCOMPARE(run(b, {"--check-dealer", reply}).exitCode, BatchUsageError);
    }

    // The statement prices the winning numbers among what was sent at the dealer's own rate, the
    // type's where he has none, takes his discount off what was sent, and says who pays whom.
    void statementOfTheDraw()
    {
        Book b;
        overLimitBook(b);
        drawnAndPriced(b.book); // 456 wins on 3ตัวตรง, the type pays 500
        QCOMPARE(run(b, {"--add-dealer", "boss", "--type", Straight3, "--payout", "600", "--discount", "10", "--cap",
                         "150"})
                     .exitCode,
                 BatchRan);
        QCOMPARE(run(b, {"--split-send", "mon"}).exitCode, BatchRan); // boss: 123-150, 456-100; noi: 123-100

        BatchResult r = run(b, {"--statement", "--dealer", "boss"});
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(r.out, (QStringList{StatementHead + "boss", "<" + Straight3 + ">", StatementSentText + "250.00 บาท",
                                     StatementDiscountText + "10%= 25.00 บาท", StatementNetText + "225.00 บาท",
                                     StatementWinText + "456 ส่ง 100.00 x 600 ได้ 60,000.00 บาท",
                                     StatementPrizeText + "60,000.00 บาท", StatementHePaysText + "59,775.00 บาท",
                                     StatementEarlierText + StatementHeOwesHead + "0.00 บาท",
                                     StatementTotalText + StatementHeOwesHead + "59,775.00 บาท"}));

        const QString csv = b.book.dir.filePath(QStringLiteral("noi.csv"));
        r = run(b, {"--statement", "--dealer", "noi", "--csv", csv});
        QCOMPARE(r.exitCode, BatchRan);
        QVERIFY(r.out.contains(StatementWePayText + "100.00 บาท"));
        QVERIFY(QFileInfo(csv).size() > 0);

        QCOMPARE(run(b, {"--statement"}).exitCode, BatchUsageError);
        QCOMPARE(run(b, {"--statement", "--dealer", "noi"}).exitCode, BatchRan);
        QCOMPARE(run(b, {"--statement", "--dealer", "nobody"}).exitCode, BatchRefused);

        // Through a new draw: the record of dealers goes with the lists, the dealers stay, and what
        // the last draw left is carried: noi, owed 100 then, is sent 100 more on 123 now (no win).
        QCOMPARE(run(b, {"--new-draw", "--confirm-new-draw"}).exitCode, BatchRan);
        QVERIFY(!QFileInfo::exists(b.book.store->path(DealerListsFileName)));
        overLimitBook(b);
        b.book.put(QStringLiteral("lotto4.gif"), QStringLiteral("3ตัวตรง#500\r\n"));
        QCOMPARE(run(b, {"--over-limit", "--save-list", "tue", "--dealer", "noi"}).exitCode, BatchRan);
        r = run(b, {"--statement", "--dealer", "noi"});
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(r.out.mid(r.out.size() - 3),
                 (QStringList{StatementWePayText + "500.00 บาท", StatementEarlierText + StatementWeOweHead + "100.00 บาท",
                              StatementTotalText + StatementWeOweHead + "600.00 บาท"}));
    }

    // Money paid to and by a dealer counts in his balance; taking a payment back adds its reversing
    // line; the next draw carries what the last one left after its payments.
    void paymentsCarriedOverTwoDraws()
    {
        Book b;
        bossAndNoiPriced(b); // boss owes the book 59,775; the book owes noi 100
        BatchResult r = run(b, {"--pay-dealer", "20000", "--dealer", "boss"});
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(r.out, QStringList{PaymentInText + "boss 20,000.00 บาท"});
        QVERIFY(b.book.text(DealerPaymentsFileName).startsWith("boss#20000#"));
        QVERIFY(!QFileInfo::exists(b.book.store->path(PaymentsFileName)));

        // More than is due is refused and writes nothing; the book pays noi what it owes him.
        const QByteArray paid = b.book.bytes(DealerPaymentsFileName);
        QCOMPARE(run(b, {"--pay-dealer", "50000", "--dealer", "boss"}).exitCode, BatchRefused);
        QCOMPARE(run(b, {"--pay-dealer", "all", "--dealer", "nobody"}).exitCode, BatchRefused);
        QCOMPARE(run(b, {"--pay-dealer", "5o", "--dealer", "boss"}).exitCode, BatchUsageError);
        QCOMPARE(run(b, {"--pay-dealer", "10"}).exitCode, BatchUsageError);
        QCOMPARE(b.book.bytes(DealerPaymentsFileName), paid);
        r = run(b, {"--pay-dealer", "all", "--dealer", "noi"});
        QCOMPARE(r.out, QStringList{PaymentOutText + "noi 100.00 บาท"});
        QVERIFY(b.book.text(DealerPaymentsFileName).contains("\r\nnoi#-100#"));
        QCOMPARE(run(b, {"--statement", "--dealer", "noi"}).out.last(), StatementTotalText + StatementHeOwesHead + "0.00 บาท");

        r = run(b, {"--statement", "--dealer", "boss"});
        QCOMPARE(r.exitCode, BatchRan);
        QVERIFY(r.out.contains(DealerPaidInText + "20,000.00 บาท"));
        QCOMPARE(r.out.last(), StatementTotalText + StatementHeOwesHead + "39,775.00 บาท");

        // Taken back (noi's, then boss's) and done again: lines are only ever added.
        QVERIFY(b.ledger.undo().ok());
        QVERIFY(b.ledger.undo().ok());
        QCOMPARE(run(b, {"--statement", "--dealer", "boss"}).out.last(),
                 StatementTotalText + StatementHeOwesHead + "59,775.00 บาท");
        QCOMPARE(loadPayments(*b.book.store, DealerPaymentsFileName).items.size(), 4);
        QVERIFY(b.ledger.redo().ok());
        QCOMPARE(run(b, {"--statement", "--dealer", "boss"}).out.last(),
                 StatementTotalText + StatementHeOwesHead + "39,775.00 บาท");
        // The audit log's replay does not count the dealers' payments as a customer's.
        r = run(b, {"--audit", "--verify"});
        const QString paymentsDiffer = ReplayPaymentText.section(QLatin1Char('%'), 0, 0);
        for (const QString& line : r.out + r.err)
            QVERIFY2(!line.contains(paymentsDiffer), qPrintable(line));
        QVERIFY(!(r.out + r.err).isEmpty());

        // The next draw: the payments went with the copy, and what boss still owes is carried.
        QCOMPARE(run(b, {"--new-draw", "--confirm-new-draw"}).exitCode, BatchRan);
        QVERIFY(!QFileInfo::exists(b.book.store->path(DealerPaymentsFileName)));
        r = run(b, {"--statement", "--dealer", "boss"});
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(r.out.mid(r.out.size() - 2), (QStringList{StatementEarlierText + StatementHeOwesHead + "39,775.00 บาท",
                                                          StatementTotalText + StatementHeOwesHead + "39,775.00 บาท"}));
        r = run(b, {"--pay-dealer", "all", "--dealer", "boss"});
        QCOMPARE(r.out, QStringList{PaymentInText + "boss 39,775.00 บาท"});
        QCOMPARE(run(b, {"--statement", "--dealer", "boss"}).out.last(),
                 StatementTotalText + StatementHeOwesHead + "0.00 บาท");
        QCOMPARE(run(b, {"--pay-dealer", "all", "--dealer", "boss"}).exitCode, BatchRefused);
    }

    // A damaged line in the dealers' payments: no payment is added to the file, and the statement
    // names the damage and says the total cannot be known, in this draw and in the next.
    void damagedPaymentFileRefused()
    {
        Book b;
        bossAndNoiPriced(b);
        b.book.put(DealerPaymentsFileName, "boss#500#2026-12-09 14:30:05\r\nboss#5x0#2026-12-09 14:31:00\r\n");
        const QByteArray before = b.book.bytes(DealerPaymentsFileName);
        BatchResult r = run(b, {"--pay-dealer", "100", "--dealer", "boss"});
        QCOMPARE(r.exitCode, BatchRefused);
        QVERIFY(r.out.value(0).startsWith(DamagedFileText));
        QCOMPARE(b.book.bytes(DealerPaymentsFileName), before);

        r = run(b, {"--statement", "--dealer", "boss"});
        QCOMPARE(r.exitCode, BatchRefused);
        QVERIFY(r.out.contains(damagedFileLine(QDir::toNativeSeparators(b.book.store->path(DealerPaymentsFileName)), {2})));
        QCOMPARE(r.out.last(), StatementTotalText + DealerTotalUnknownText);

        QCOMPARE(run(b, {"--new-draw", "--confirm-new-draw"}).exitCode, BatchRan);
        r = run(b, {"--statement", "--dealer", "boss"});
        QCOMPARE(r.exitCode, BatchRefused);
        QCOMPARE(r.out.last(), StatementTotalText + DealerTotalUnknownText);
        QCOMPARE(run(b, {"--pay-dealer", "100", "--dealer", "boss"}).exitCode, BatchRefused);
        QVERIFY(!QFileInfo::exists(b.book.store->path(DealerPaymentsFileName)));
    }

    // The statement as a chat message: the heading and the draw's date, a block per type between
    // rules, whole baht without decimals, the payments, and the total.
    void chatLayout()
    {
        Book b;
        bossAndNoiPriced(b);
        QVERIFY(b.ledger.setOption(option::DrawDate, "2026-12-16").ok());
        QVERIFY(b.ledger.recordDealerPayment("boss", "775.50", at("2026-12-09 18:05")).recorded());
        BatchResult r = run(b, {"--statement", "--dealer", "boss", "--chat"});
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(r.out, (QStringList{StatementHead + "boss", DrawDateText + "16 ธันวาคม 2569", ChatRule, Straight3,
                                     ChatSentText + "250", ChatDiscountText + "10% = 25", ChatNetText + "225",
                                     ChatWinText + "456 ส่ง 100 x 600 ได้ 60,000", ChatRule,
                                     StatementHePaysText + "59,775", DealerPaidInLineText + "09/12/2569 18:05 775.50",
                                     ChatTotalText + StatementHeOwesHead + "58,999.50"}));
        r = run(b, {"--statement", "--dealer", "noi", "--chat"});
        QCOMPARE(r.out.mid(r.out.size() - 2),
                 (QStringList{StatementWePayText + "100", ChatTotalText + StatementWeOweHead + "100"}));
        QCOMPARE(run(b, {"--view", "--chat"}).exitCode, BatchUsageError);

        // On paper and as a picture, drawn as a bill is.
        const QString pdf = b.book.dir.filePath(QStringLiteral("boss.pdf"));
        const QString png = b.book.dir.filePath(QStringLiteral("pictures"));
        r = run(b, {"--statement", "--dealer", "boss", "--pdf", pdf, "--png", png});
        QCOMPARE(r.exitCode, BatchRan);
        QVERIFY(QFileInfo(pdf).size() > 1000);
        const QImage picture(QDir(png).filePath(QStringLiteral("boss.png")));
        QCOMPARE(picture.width(), BillImageWidth);
        QVERIFY(picture.height() > 400);
    }
};

QTEST_MAIN(TestDealersBatch)
#include "tst_dealers_batch.moc"
