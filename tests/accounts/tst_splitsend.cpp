#include "accounts/dealersent.h"
#include "accounts/splitsend.h"
#include "accountsbook.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

NumberAmount a(const QString& type, const char* number, qint64 baht)
{
    return {type, QString::fromLatin1(number), baht * 100};
}

Dealer dealer(const char* name, QList<DealerTerms> terms)
{
    return {QString::fromLatin1(name), terms};
}

} // namespace

class TestSplitSend : public QObject
{
    Q_OBJECT

private slots:
    // The first dealer fills up to his cap, the next takes the rest up to his, a dealer without the
    // type takes nothing, and what is left over is listed; nothing is made or lost.
    void capsAndOrder()
    {
        const QList<Dealer> dealers{dealer("first", {{Straight3, "500", "", "300"}}),
                                    dealer("twoonly", {{Top2, "70", "", ""}}),
                                    dealer("second", {{Straight3, "550", "", "200"}, {Top2, "", "", "50"}})};
        const QList<NumberAmount> excess{a(Straight3, "123", 450), a(Straight3, "456", 700), a(Top2, "12", 80)};
        const Split s = splitExcess(excess, dealers);
        QCOMPARE(s.shares.size(), 3);
        QCOMPARE(s.shares[0].items, (QList<NumberAmount>{a(Straight3, "123", 300), a(Straight3, "456", 300)}));
        QCOMPARE(s.shares[1].items, (QList<NumberAmount>{a(Top2, "12", 80)}));
        QCOMPARE(s.shares[2].items, (QList<NumberAmount>{a(Straight3, "123", 150), a(Straight3, "456", 200)}));
        QCOMPARE(s.unplaced, (QList<NumberAmount>{a(Straight3, "456", 200)}));
    }

    // What a dealer already holds of the draw counts against his cap; satang are split exactly.
    void earlierSharesCountAgainstTheCap()
    {
        const QList<Dealer> dealers{dealer("first", {{Straight3, "", "", "100"}})};
        const Split s = splitExcess({{Straight3, "123", 9050}, {Straight3, "999", 5}}, dealers,
                                    {DealerShare{"first", {a(Straight3, "123", 60)}}});
        QCOMPARE(s.shares[0].items, (QList<NumberAmount>{a(Straight3, "123", 40), {Straight3, "999", 5}}));
        QCOMPARE(s.unplaced, (QList<NumberAmount>{{Straight3, "123", 5050}}));
    }

    void noDealersPlacesNothing()
    {
        const Split s = splitExcess({a(Straight3, "123", 10)}, {});
        QVERIFY(s.shares.isEmpty());
        QCOMPARE(s.unplaced, (QList<NumberAmount>{a(Straight3, "123", 10)}));
    }

    // A list read into items and written back is the same text, satang and all, across types.
    void listTextRoundTrip()
    {
        const QString data = QStringLiteral("<3ตัวตรง>#123-200#456-12.5##<2ตัวบน>#07-0.05##");
        const QList<NumberAmount> items = sendOutItems(data);
        QCOMPARE(items, (QList<NumberAmount>{a(Straight3, "123", 200), {Straight3, "456", 1250}, {Top2, "07", 5}}));
        QCOMPARE(sendOutText(items), data);
        QVERIFY(sendOutText({}).isEmpty());
    }

    // A line that names no list makes the record damaged; the good lines still count, the later
    // line of a list wins.
    void dealerListRecord()
    {
        TempBook book;
        QVERIFY(loadDealerLists(*book.store).outcome.ok());
        book.put(DealerListsFileName, QStringLiteral("boss#mon\r\nnoi#mon\r\nboss#tue\r\n"));
        DealerLists lists = loadDealerLists(*book.store);
        QVERIFY(lists.outcome.ok());
        QCOMPARE(lists.dealerOf("mon"), QStringLiteral("noi"));
        QCOMPARE(lists.items.size(), 2);
        book.put(DealerListsFileName, QStringLiteral("boss#mon\r\nbroken\r\n#tue\r\n"));
        lists = loadDealerLists(*book.store);
        QVERIFY(!lists.outcome.ok());
        QVERIFY(lists.problem.contains(QStringLiteral("2")));
        QCOMPARE(lists.dealerOf("mon"), QStringLiteral("boss"));
    }
};

QTEST_GUILESS_MAIN(TestSplitSend)
#include "tst_splitsend.moc"
