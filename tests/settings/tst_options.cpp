// The book's own options file: defaults, stored values, refusals and the bytes on disk.
#include "settings/options.h"
#include "testsupport.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

class TestOptions : public QObject
{
    Q_OBJECT
private slots:
    void defaultsWithoutTheFile()
    {
        TempBook book;
        QCOMPARE(optionValue(*book.store, option::AmountCeiling), QStringLiteral("100000"));
        QCOMPARE(amountCeiling(*book.store), 100000);
        QCOMPARE(optionValue(*book.store, option::ShopName), QString());
        QVERIFY(!QFile::exists(book.file("option.gif")));
    }

    void storedValuesKeepTheirOrderAndBytes()
    {
        TempBook book;
        QVERIFY(setOptionValue(*book.store, option::ShopName, QStringLiteral("ร้านโชคดี")).isEmpty());
        QVERIFY(setOptionValue(*book.store, option::AmountCeiling, QStringLiteral("5000")).isEmpty());
        QVERIFY(setOptionValue(*book.store, option::ShopName, QStringLiteral("ร้านรวย")).isEmpty());
        QCOMPARE(book.bytes("option.gif"), cp874(QStringLiteral("shop#ร้านรวย\r\nceiling#5000\r\n")));
        QCOMPARE(amountCeiling(*book.store), 5000);
        QCOMPARE(optionValue(*book.store, option::ShopName), QStringLiteral("ร้านรวย"));
    }

    void refusedValuesWriteNothing_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("ceiling with a point") << option::AmountCeiling << QStringLiteral("100.5");
        QTest::newRow("ceiling empty") << option::AmountCeiling << QString();
        QTest::newRow("ceiling negative") << option::AmountCeiling << QStringLiteral("-5");
        QTest::newRow("name with the separator") << option::ShopName << QStringLiteral("a#b");
        QTest::newRow("name with a line end") << option::ShopName << QStringLiteral("a\r\nceiling#1");
        QTest::newRow("unknown key") << QStringLiteral("colour") << QStringLiteral("1");
    }
    void refusedValuesWriteNothing()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        TempBook book;
        QCOMPARE(setOptionValue(*book.store, key, value), QStringList{OptionValueInvalidText});
        QVERIFY(!QFile::exists(book.file("option.gif")));
    }

    void handEditedCeilingFallsBackToTheDefault()
    {
        TempBook book;
        book.put("option.gif", QStringLiteral("ceiling#abc\r\n"));
        QCOMPARE(amountCeiling(*book.store), 100000);
    }
};

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
