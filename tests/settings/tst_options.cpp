// The book's own options file: defaults, stored values, refusals and the bytes on disk.
#include "settings/options.h"
#include "testsupport.h"
#include "tools/newdraw.h"

#include <QDir>

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

    // The operator's name goes into every audit line: no control character may come with it.
    void operatorNamesWithControlCharactersAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("inFile"); // the code page of the file can hold it
        QTest::newRow("tab and line end") << QStringLiteral("ev\til\r\nx") << false;
        QTest::newRow("tab") << QStringLiteral("ev\til") << true;
        QTest::newRow("escape") << QStringLiteral("a\x1b[2Jb") << true;
        QTest::newRow("delete") << QStringLiteral("a\x7f") << true;
        QTest::newRow("next line") << QStringLiteral("a\u0085b") << false;
        QTest::newRow("line separator") << QStringLiteral("a\u2028b") << false;
    }
    void operatorNamesWithControlCharactersAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, inFile);
        TempBook book;
        QCOMPARE(setOptionValue(*book.store, option::OperatorName, name), QStringList{OperatorNameInvalidText});
        QVERIFY(!QFile::exists(book.file("option.gif")));
        QCOMPARE(operatorNameRefusal(name), OperatorNameInvalidText);

        // The same name put into the file by hand is not used, and the caller is told.
        if (!inFile) return;
        book.put("option.gif", "shop#x\r\noperator#" + name + "\r\n");
        bool refused = false;
        QCOMPARE(storedOperatorName(*book.store, &refused), QString());
        QVERIFY(refused);
    }

    void operatorNamesThatAreKept()
    {
        TempBook book;
        bool refused = true;
        QCOMPARE(storedOperatorName(*book.store, &refused), QString());
        QVERIFY(!refused);
        // A backslash is a plain character; the log escapes it.
        QVERIFY(setOptionValue(*book.store, option::OperatorName, QStringLiteral("แดง\\tb")).isEmpty());
        QCOMPARE(storedOperatorName(*book.store, &refused), QStringLiteral("แดง\\tb"));
        QVERIFY(!refused);
    }

    void handEditedCeilingFallsBackToTheDefault()
    {
        TempBook book;
        book.put("option.gif", QStringLiteral("ceiling#abc\r\n"));
        QCOMPARE(amountCeiling(*book.store), 100000);
    }

    // The draw's date and the yes/no options are stored in one form whatever the operator types,
    // and shown to him in his own.
    void datesAndYesNo_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // "" for refused
        QTest::newRow("draw date, buddhist") << option::DrawDate << "16/12/2569"
                                             << "2026-12-16";
        QTest::newRow("draw date, gregorian") << option::DrawDate << "16/12/2026"
                                              << "2026-12-16";
        QTest::newRow("draw date, iso") << option::DrawDate << "2027-01-01"
                                        << "2027-01-01";
        QTest::newRow("draw date, no such day") << option::DrawDate << "30/02/2570"
                                                << "";
        QTest::newRow("draw date, words") << option::DrawDate << "วันนี้"
                                          << "";
        QTest::newRow("gregorian yes") << option::GregorianYear << "ใช่"
                                       << "1";
        QTest::newRow("gregorian 0") << option::GregorianYear << "0"
                                     << "0";
        QTest::newRow("gregorian 2") << option::GregorianYear << "2"
                                     << "";
        QTest::newRow("totals only no") << option::BillTotalsOnly << "ไม่ใช่"
                                        << "0";
    }
    void datesAndYesNo()
    {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        TempBook book;
        const QStringList lines = setOptionValue(*book.store, key, typed);
        if (stored.isEmpty()) {
            QCOMPARE(lines, QStringList{OptionValueInvalidText});
            QVERIFY(!QFile::exists(book.file("option.gif")));
            return;
        }
        QVERIFY(lines.isEmpty());
        QCOMPARE(book.bytes("option.gif"), cp874(key + "#" + stored + "\r\n"));
    }

    // A book without the new lines reads as before: Buddhist years, the bets on the bill, no date.
    void newOptionsAndTheirEffect()
    {
        TempBook book;
        Store& store = *book.store;
        QCOMPARE(yearStyle(store), YearStyle::Buddhist);
        QVERIFY(!billTotalsOnly(store));
        QVERIFY(!drawDate(store).isValid());

        QVERIFY(setOptionValue(store, option::DrawDate, "16/12/2569").isEmpty());
        QCOMPARE(drawDate(store), QDate(2026, 12, 16));
        QCOMPARE(optionEditText(store, option::DrawDate), QStringLiteral("16/12/2569"));
        QVERIFY(optionItems(store).contains(QStringLiteral("งวดวันที่ - 16 ธันวาคม 2569")));
        QVERIFY(setOptionValue(store, option::GregorianYear, "1").isEmpty());
        QCOMPARE(yearStyle(store), YearStyle::Gregorian);
        QCOMPARE(optionEditText(store, option::DrawDate), QStringLiteral("16/12/2026"));
        // What is typed back into the box is the same date again.
        QVERIFY(setOptionValue(store, option::DrawDate, optionEditText(store, option::DrawDate)).isEmpty());
        QCOMPARE(drawDate(store), QDate(2026, 12, 16));
        // An empty value clears the date.
        QVERIFY(setOptionValue(store, option::DrawDate, "").isEmpty());
        QVERIFY(!drawDate(store).isValid());
    }

    // The day the drawn numbers were saved names the draw while they are; a day kept from an
    // earlier draw does not outlive its result.
    void resultDateNamesTheDraw()
    {
        TempBook book;
        Store& store = *book.store;
        QVERIFY(setOptionValue(store, option::DrawDate, "16/12/2569").isEmpty());
        QVERIFY(setResultDate(store, QDate(2026, 12, 17)).isEmpty());
        QCOMPARE(drawDate(store), QDate(2026, 12, 16));
        book.put("lotto3.gif", QStringLiteral("123456#111#222#333#444#56#\r\n3ตัวตรง#456-\r\n"));
        QCOMPARE(drawDate(store), QDate(2026, 12, 17));
        // The settings window never lists it.
        QVERIFY(optionItems(store).filter(QStringLiteral("2026-12-17")).isEmpty());
        QCOMPARE(setOptionValue(store, option::ResultDate, "2026-12-18"), QStringList{OptionValueInvalidText});
    }

    // A new draw does not head its bills with the last draw's date; the dated copy keeps it, and the
    // other options stay with the book.
    void newDrawForgetsTheDrawDate()
    {
        TempBook book;
        Store& store = *book.store;
        QVERIFY(setOptionValue(store, option::ShopName, "ร้านรวย").isEmpty());
        QVERIFY(setOptionValue(store, option::DrawDate, "16/12/2569").isEmpty());
        QVERIFY(setResultDate(store, QDate(2026, 12, 16)).isEmpty());
        const NewDrawResult draw = startNewDraw(store, QDateTime(QDate(2026, 12, 16), QTime(21, 0)));
        QVERIFY(draw.done);
        QCOMPARE(book.bytes("option.gif"), cp874(QStringLiteral("shop#ร้านรวย\r\n")));
        QVERIFY(!drawDate(store).isValid());
        Store copy(draw.copyFolder);
        QCOMPARE(optionValue(copy, option::DrawDate), QStringLiteral("2026-12-16"));

        // A book without the options file still has none after its new draw.
        TempBook bare;
        QVERIFY(startNewDraw(*bare.store, QDateTime(QDate(2026, 12, 16), QTime(21, 0))).done);
        QVERIFY(!QFile::exists(bare.file("option.gif")));
    }
};

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
