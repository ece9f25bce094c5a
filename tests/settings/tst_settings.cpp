// The keyed settings files and the result file.
#include "accounts/accounttexts.h"
#include "accounts/customerrates.h"
#include "core/model/types.h"
#include "settings/keyed.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "settings/result.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

// The list the settings window shows, with the item of `type` edited to `value`, saved.
QStringList saveEdit(TempBook& book, SettingKind mode, const QString& type, const QString& value,
                     std::array<bool, 3> digits = {})
{
    const QStringList items = FillSettingsList(*book.store, mode);
    const int index = items.indexOf(QRegularExpression("^" + QRegularExpression::escape(type) + "( - .*)?$"));
    SettingEdit edit = beginEdit(items.value(index));
    edit.value = value;
    edit.digits = digits;
    return SaveSetting(*book.store, mode, items, index, edit);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void saveValue_data()
    {
        QTest::addColumn<SettingKind>("mode");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored"); // "" when the type's line goes
        auto row = [](const char* name, SettingKind mode, const char* file, const char* value, const char* stored) {
            QTest::newRow(name) << mode << QString(file) << QString(value) << QString(stored);
        };
        row("limit 0 clears", SettingKind::Limit, "lotto2.gif", "0", "");
        row("discount 0 clears", SettingKind::Discount, "lotto7.gif", "0", "");
        row("number cut 0 kept", SettingKind::NumberCut, "lotto6.gif", "0", "0");
        row("blanks removed", SettingKind::Limit, "lotto2.gif", "1 000", "1000");
        row("hash and dash removed", SettingKind::Rate, "lotto4.gif", "5#0-0", "500");
    }
    void saveValue()
    {
        QFETCH(SettingKind, mode);
        QFETCH(QString, file);
        QFETCH(QString, value);
        QFETCH(QString, stored);
        TempBook book;
        book.put(file, "3ตัวตรง#500\r\n2ตัวบน#7\r\n\r\n");
        QVERIFY(saveEdit(book, mode, "3ตัวตรง", value).isEmpty());
        const QString first = stored.isEmpty() ? QString() : "3ตัวตรง#" + stored + "\r\n";
        QCOMPARE(book.bytes(file), cp874(first + "2ตัวบน#7\r\n\r\n"));
    }

    // A rate of more than 6 digits, a limit of more than 12 and a discount above 100 % would make
    // figures that no longer add up exactly: refused, and the file keeps its value.
    void valuesBeyondTheirBounds_data()
    {
        QTest::addColumn<SettingKind>("mode");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("refusal"); // "" when the value is stored
        auto row = [](const char* name, SettingKind mode, const char* file, const char* value, const QString& refusal) {
            QTest::newRow(name) << mode << QString(file) << QString(value) << refusal;
        };
        row("rate of 6 digits", SettingKind::Rate, "lotto4.gif", "999999", {});
        row("rate of 7 digits", SettingKind::Rate, "lotto4.gif", "1000000", RateTooLongText);
        row("rate of 20 digits", SettingKind::Rate, "lotto4.gif", "99999999999999999999", RateTooLongText);
        row("rate of 7 digits with a point", SettingKind::Rate, "lotto4.gif", "123456.5", RateTooLongText);
        row("limit of 12 digits", SettingKind::Limit, "lotto2.gif", "999999999999", {});
        row("limit of 13 digits", SettingKind::Limit, "lotto2.gif", "1000000000000", LimitTooLongText);
        row("discount of 100", SettingKind::Discount, "lotto7.gif", "100", {});
        row("discount above 100", SettingKind::Discount, "lotto7.gif", "100.5", PercentOutOfRangeText);
        row("number cut of every digit", SettingKind::NumberCut, "lotto6.gif", "0123456789", {});
    }
    void valuesBeyondTheirBounds()
    {
        QFETCH(SettingKind, mode);
        QFETCH(QString, file);
        QFETCH(QString, value);
        QFETCH(QString, refusal);
        TempBook book;
        book.put(file, "3ตัวตรง#500\r\n\r\n");
        const QStringList lines = saveEdit(book, mode, "3ตัวตรง", value);
        QCOMPARE(lines, refusal.isEmpty() ? QStringList() : QStringList{refusal});
        QCOMPARE(book.text(file), "3ตัวตรง#" + (refusal.isEmpty() ? value : QString("500")) + "\r\n\r\n");
    }

    // The same bounds where a customer's own rate or a number's own limit is typed; what was stored
    // beyond them is still read, so that it can be seen and set anew.
    void ownRatesAndRuleLimitsHaveTheSameBounds()
    {
        QCOMPARE(checkPayout("999999"), QString());
        QCOMPARE(checkPayout("1000000"), RateTooLongText);
        QCOMPARE(checkPayout("12a"), RateNotDigitsText);
        QCOMPARE(makeRule("3ตัวตรง", "123", RuleKind::Limit, "999999999999", false).error, QString());
        QCOMPARE(makeRule("3ตัวตรง", "123", RuleKind::Limit, "1000000000000", false).error, LimitTooLongText);

        TempBook book;
        book.store->AddCustomer("x");
        book.put("custrate.gif", "x#3ตัวตรง#99999999#5\r\n");
        const CustomerRates rates = loadCustomerRates(*book.store);
        QVERIFY(rates.outcome.ok());
        QCOMPARE(rates.items.value(0).payout, QString("99999999"));
        book.put(NumberRulesFileName, "3ตัวตรง#123#limit#100000000000000\r\n");
        QVERIFY(listNumberRules(*book.store, "3ตัวตรง").contains("123 อั้น 100,000,000,000,000"));
    }

    void digitCut_data()
    {
        QTest::addColumn<bool>("hundreds");
        QTest::addColumn<bool>("tens");
        QTest::addColumn<bool>("units");
        QTest::addColumn<QString>("content");
        QTest::newRow("no box removes the line") << false << false << false << "\r\n";
        QTest::newRow("units only") << false << false << true << "2ตัวบน#001\r\n\r\n";
        QTest::newRow("hundreds and units") << true << false << true << "2ตัวบน#101\r\n\r\n";
    }
    void digitCut()
    {
        QFETCH(bool, hundreds);
        QFETCH(bool, tens);
        QFETCH(bool, units);
        QFETCH(QString, content);
        TempBook book;
        book.put("lotto8.gif", "2ตัวบน#110\r\n\r\n");
        // The typed value is ignored: only the boxes count.
        QVERIFY(saveEdit(book, SettingKind::DigitCut, "2ตัวบน", "999", {hundreds, tens, units}).isEmpty());
        QCOMPARE(book.bytes("lotto8.gif"), cp874(content));
    }

    void newValueGoesAfterExisting()
    {
        TempBook book;
        book.put("lotto2.gif", "2ตัวบน#1000\r\n\r\n");
        QVERIFY(saveEdit(book, SettingKind::Limit, "3ตัวตรง", "500").isEmpty());
        QCOMPARE(book.bytes("lotto2.gif"), cp874("2ตัวบน#1000\r\n3ตัวตรง#500\r\n\r\n"));
        const QStringList items = FillSettingsList(*book.store, SettingKind::Limit);
        QCOMPARE(items.mid(0, 3), (QStringList{"2ตัวบน - 1000", "3ตัวตรง - 500", "3ตัวโต๊ด"}));
        QCOMPARE(items.size(), 12);
    }

    void junkLinesShownAndKept()
    {
        TempBook book;
        book.put("lotto4.gif", "xyz#5\r\n\r\n3ตัวตรง#900\r\nnohash\r\ntail without line end");
        const QStringList items = FillSettingsList(*book.store, SettingKind::Rate);
        QCOMPARE(items.mid(0, 3), (QStringList{"xyz - 5", "3ตัวตรง - 900", "nohash"}));
        QCOMPARE(items.size(), 3 + 11);
        QCOMPARE(settingOf(*book.store, SettingKind::Rate, "3ตัวตรง"), QString("900"));
        // Another type is saved: the line with an unknown key stays, a line with no value does not.
        QVERIFY(saveEdit(book, SettingKind::Rate, "วิ่งบน", "3").isEmpty());
        QCOMPARE(book.text("lotto4.gif"), QString("xyz#5\r\n3ตัวตรง#900\r\nวิ่งบน#3\r\n\r\n"));
    }

    void missingFileHasNoValues()
    {
        TempBook book;
        QCOMPARE(FillSettingsList(*book.store, SettingKind::Discount), typeNames());
        for (SettingKind kind : {SettingKind::Rate, SettingKind::Limit, SettingKind::NumberCut, SettingKind::DigitCut,
                                 SettingKind::Discount})
            QVERIFY(settingOf(*book.store, kind, "3ตัวตรง").isEmpty());
    }

    void unreadableFileIsNotOverwritten()
    {
        TempBook book;
        QVERIFY(QDir(book.folder()).mkdir("lotto2.gif")); // exists, cannot be read or replaced
        QCOMPARE(saveEdit(book, SettingKind::Limit, "3ตัวตรง", "500"), QStringList{"อ่านข้อมูลไม่ได้ lotto2.gif"});
        QVERIFY(QFileInfo(book.file("lotto2.gif")).isDir());
    }

    void digitPermutations_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("orderings");
        QTest::newRow("distinct") << "456" << QStringList{"456", "465", "546", "564", "645", "654"};
        QTest::newRow("pair") << "112" << QStringList{"112", "121", "211"};
        QTest::newRow("letter") << "1a2" << QStringList{};
    }
    void digitPermutations()
    {
        QFETCH(QString, number);
        QFETCH(QStringList, orderings);
        QCOMPARE(DigitPermutations(number), orderings);
    }

    void resultFile_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("lines"); // the file without its closing empty line
        QTest::newRow("full draw") << QStringList{"123456", "111", "222", "333", "444", "56"}
                                   << QStringList{"123456#111#222#333#444#56#",
                                                  "3ตัวตรง#456-",
                                                  "3ตัวโต๊ด#456-465-546-564-645-654-",
                                                  "2ตัวบน#56-",
                                                  "คู่โต๊ด#56-65-46-64-45-54-",
                                                  "4ตัวโต๊ด#4-5-6-",
                                                  "วิ่งบน#4-5-6-",
                                                  "5ตัวโต๊ด#4-5-6-",
                                                  "3ตัวตรงหัว#123-",
                                                  "3ตัวโต๊ดหัว#123-132-213-231-312-321-",
                                                  "3ตัวตรงหัวท้าย#123-456-",
                                                  "3ตัวโต๊ดหัวท้าย#123-132-213-231-312-321-456-465-546-564-645-654-",
                                                  "3ตัวล่าง#111-222-333-444-",
                                                  "2ตัวล่าง#56-",
                                                  "วิ่งล่าง#5-6-"};
        QTest::newRow("short first prize, uneven lower numbers")
            << QStringList{"12345", "12", "3456", "789", "111", ""}
            << QStringList{"12345#12#3456#789#111##", "3ตัวล่าง#12-3456-789-111-"};
        QTest::newRow("cleaned fields") << QStringList{"", "", "", "", "", " 5-6 "}
                                        << QStringList{"#####56#", "2ตัวล่าง#56-", "วิ่งล่าง#5-6-"};
    }
    void resultFile()
    {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, lines);
        TempBook book;
        DrawnNumbers drawn;
        for (int i = 0; i < 6; ++i)
            drawn[i] = fields[i];
        QVERIFY(SaveResult(*book.store, drawn).isEmpty());
        QCOMPARE(book.bytes("lotto3.gif"), cp874(lines.join("\r\n") + "\r\n\r\n"));
        // The window reads back the header fields as they were stored.
        const DrawnNumbers loaded = LoadResult(*book.store);
        const QStringList header = lines.first().split('#');
        for (int i = 0; i < 6; ++i)
            QCOMPARE(loaded[i], header[i]);
    }

    void emptyResult()
    {
        TempBook book;
        QVERIFY(SaveResult(*book.store, DrawnNumbers{}).isEmpty());
        QCOMPARE(book.bytes("lotto3.gif"), QByteArray("\r\n"));
        for (const QString& f : LoadResult(*book.store))
            QVERIFY(f.isEmpty());
    }

    void resultWriteFailureReported()
    {
        TempBook book;
        QVERIFY(QDir(book.folder()).mkdir("lotto3.gif"));
        QCOMPARE(SaveResult(*book.store, DrawnNumbers{"123456"}), QStringList{"บันทึกข้อมูลไม่สำเร็จ lotto3.gif"});
    }

    void loadIgnoresFileWithoutHeader()
    {
        TempBook book;
        book.put("lotto3.gif", "\r\nno header here\r\n3ตัวตรง#456-\r\n");
        for (const QString& f : LoadResult(*book.store))
            QVERIFY(f.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
