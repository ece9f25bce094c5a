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
};

QTEST_GUILESS_MAIN(TestSplitSend)
#include "tst_splitsend.moc"
