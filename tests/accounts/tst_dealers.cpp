#include "accounts/accounttexts.h"
#include "accounts/dealers.h"
#include "accounts/dealertexts.h"
#include "accountsbook.h"
#include "storage/folder/store.h"
#include "tools/newdraw.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

DealerTerms terms(const QString& type, const char* payout, const char* discount, const char* cap)
{
    return {type, QString::fromLatin1(payout), QString::fromLatin1(discount), QString::fromLatin1(cap)};
}

} // namespace

class TestDealers : public QObject
{
    Q_OBJECT

private slots:
    // A book without the file has no dealers, and reading it leaves no file behind.
    void noFileNoDealers()
    {
        TempBook book;
        const Dealers dealers = loadDealers(*book.store);
        QVERIFY(dealers.outcome.ok());
        QVERIFY(dealers.items.isEmpty());
        QVERIFY(!QFile::exists(book.file(DealersFileName)));
    }

    // Dealers keep the order they were added in; setting a type anew replaces only that type, and
    // the file holds exactly one CR LF line per dealer and type.
    void addKeepsOrderAndOtherTypes()
    {
        TempBook book;
        QVERIFY(addDealer(*book.store, QStringLiteral("Boss"), {terms(Straight3, "500", "30", "2000")}).ok());
        QVERIFY(addDealer(*book.store, QStringLiteral("เฮียเล็ก"), {}).ok());
        const DealerChange change =
            addDealer(*book.store, QStringLiteral("boss"), {terms(Top2, "70", "", ""), terms(Straight3, "550", "25", "")});
        QVERIFY(change.ok());
        QCOMPARE(change.before.terms.size(), 1);
        QCOMPARE(change.after.terms.size(), 2);

        QCOMPARE(book.text(DealersFileName), QStringLiteral("boss#3ตัวตรง#550#25#\r\nboss#2ตัวบน#70##\r\n"
                                                            "เฮียเล็ก####\r\n"));
        const Dealers dealers = loadDealers(*book.store);
        QVERIFY(dealers.outcome.ok());
        QCOMPARE(dealers.items.size(), 2);
        QCOMPARE(dealers.items[0].name, QStringLiteral("boss"));
        QCOMPARE(dealers.items[0].termsFor(Straight3)->payout, QStringLiteral("550"));
        QVERIFY(dealers.items[0].termsFor(Straight3)->cap.isEmpty());
        QVERIFY(dealers.items[1].terms.isEmpty());
    }

    // Figures that are not digits, out of bounds, an unknown type or a name the code page cannot hold
    // are refused in Thai, and nothing is written.
    void badFiguresRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("payout");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QString>("cap");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("cap not digits") << "boss" << Straight3 << "500" << "" << "1,000" << DealerCapNotDigitsText;
        QTest::newRow("cap negative") << "boss" << Straight3 << "" << "" << "-5" << DealerCapNotDigitsText;
        QTest::newRow("cap too long") << "boss" << Straight3 << "" << "" << "1234567890" << DealerCapTooLongText;
        QTest::newRow("payout not digits") << "boss" << Straight3 << "5o0" << "" << "" << RateNotDigitsText;
        QTest::newRow("payout too long") << "boss" << Straight3 << "1234567" << "" << "" << RateTooLongText;
        QTest::newRow("discount over 100") << "boss" << Straight3 << "" << "101" << "" << PercentOutOfRangeText;
        QTest::newRow("no such type") << "boss" << "4ตัว" << "" << "" << "" << NoSuchTypeText + QStringLiteral("4ตัว");
        QTest::newRow("empty name") << "  " << Straight3 << "" << "" << "" << DealerNoNameText;
    }
    void badFiguresRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(QString, payout);
        QFETCH(QString, discount);
        QFETCH(QString, cap);
        QFETCH(QString, refusal);
        TempBook book;
        const DealerChange change = addDealer(*book.store, name, {{type, payout, discount, cap}});
        QVERIFY(!change.ok());
        QCOMPARE(change.refusal, refusal);
        QVERIFY(!QFile::exists(book.file(DealersFileName)));
    }

    void nameOutsideCodePageRefused()
    {
        TempBook book;
        const DealerChange change = addDealer(*book.store, QStringLiteral("老板"), {});
        QVERIFY(!change.ok());
        QVERIFY(!change.refusal.isEmpty());
        QVERIFY(!QFile::exists(book.file(DealersFileName)));
    }

    // A damaged file is reported with its bad line, its good lines still count, and no change is
    // ever written over it.
    void damagedFileNeverWrittenOver()
    {
        TempBook book;
        const QString damaged = QStringLiteral("boss#3ตัวตรง#500#30#2000\r\nboss#3ตัวตรง#5x0\r\nnoi#2ตัวบน#70##abc\r\n");
        book.put(DealersFileName, damaged);
        const QByteArray before = book.bytes(DealersFileName);

        const Dealers dealers = loadDealers(*book.store);
        QCOMPARE(dealers.outcome.status, Status::ReadFailed);
        QCOMPARE(dealers.damaged, (QList<int>{2, 3}));
        QVERIFY(!dealers.problem.isEmpty());
        QCOMPARE(dealers.items.size(), 1);
        QCOMPARE(dealers.items[0].termsFor(Straight3)->cap, QStringLiteral("2000"));
        QCOMPARE(dealerLines(dealers).value(0), dealers.problem);

        const DealerChange change = addDealer(*book.store, QStringLiteral("daeng"), {terms(Straight3, "500", "", "")});
        QVERIFY(!change.ok());
        QCOMPARE(change.refusal, dealers.problem);
        QCOMPARE(book.bytes(DealersFileName), before);
    }

    // A dealer moves one place at a time with his terms; a move past either end, of a dealer who is
    // not there, or over a damaged file is refused and writes nothing.
    void moveInTheOrder()
    {
        TempBook book;
        QVERIFY(addDealer(*book.store, QStringLiteral("a"), {terms(Straight3, "500", "30", "2000"), terms(Top2, "70", "", "")}).ok());
        QVERIFY(addDealer(*book.store, QStringLiteral("b"), {}).ok());
        QVERIFY(addDealer(*book.store, QStringLiteral("c"), {terms(Top2, "", "5", "")}).ok());
        DealerChange moved = moveDealer(*book.store, QStringLiteral("a"), 1);
        QVERIFY(moved.ok());
        QCOMPARE(moved.from, 0);
        QCOMPARE(moved.to, 1);
        QCOMPARE(book.text(DealersFileName), QStringLiteral("b####\r\na#3ตัวตรง#500#30#2000\r\na#2ตัวบน#70##\r\n"
                                                            "c#2ตัวบน##5#\r\n"));
        QVERIFY(moveDealer(*book.store, QStringLiteral("c"), -2).ok());
        QStringList order;
        for (const Dealer& d : loadDealers(*book.store).items)
            order << d.name;
        QCOMPARE(order, (QStringList{"c", "b", "a"}));

        const QByteArray before = book.bytes(DealersFileName);
        for (const auto& [name, by] : {std::pair{"c", -1}, std::pair{"a", 1}, std::pair{"b", 0}, std::pair{"nobody", 1}}) {
            moved = moveDealer(*book.store, QString::fromUtf8(name), by);
            QVERIFY(!moved.ok());
            QVERIFY(!moved.refusal.isEmpty());
        }
        QCOMPARE(book.bytes(DealersFileName), before);

        book.put(DealersFileName, book.text(DealersFileName) + QStringLiteral("d#3ตัวตรง#x\r\n"));
        const QByteArray damaged = book.bytes(DealersFileName);
        moved = moveDealer(*book.store, QStringLiteral("a"), -1);
        QCOMPARE(moved.refusal, loadDealers(*book.store).problem);
        QCOMPARE(book.bytes(DealersFileName), damaged);
    }

    // The dealers stay with the book through a new draw, byte for byte.
    void keptThroughNewDraw()
    {
        TempBook book;
        book.stake(Straight3, QStringLiteral("somchai"), QStringLiteral("123"), 100);
        QVERIFY(addDealer(*book.store, QStringLiteral("boss"), {terms(Straight3, "500", "30", "2000")}).ok());
        const QByteArray before = book.bytes(DealersFileName);
        QVERIFY(startNewDraw(*book.store, at("2026-12-16 21:00")).done);
        QCOMPARE(book.bytes(DealersFileName), before);
        QCOMPARE(loadDealers(*book.store).items.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDealers)
#include "tst_dealers.moc"
