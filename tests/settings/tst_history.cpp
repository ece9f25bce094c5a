// Customer names entered in advance and the history of saved send-out lists.
#include "settings/customers.h"
#include "settings/history.h"
#include "storage/folder/numberfile.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <unistd.h>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");
const QString Duplicate = QStringLiteral("ซื่อช้ำกัน");

struct Book : TempBook {
    void stake(const QString& customer, const QString& number, double amount)
    {
        QVERIFY(store->creationSequence(customer).isEmpty());
        NumberFile file(*store, store->StakeFilePath(Straight, customer));
        QVERIFY(file.add(number, amount));
        QVERIFY(file.save(*store));
    }
    double sentOut(const QString& number) const
    {
        Store& s = *store;
        return NumberFile(s, s.TypeFilePath(Straight, Store::SendOutPrefix)).value(number);
    }
};

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT
private slots:
    void addCustomerName()
    {
        TempBook book;
        NameEntry r = AddCustomerName(*book.store, "Som Chai");
        QVERIFY(r.text1.isEmpty() && r.lines.isEmpty());
        QCOMPARE(book.bytes("custom.gif"), QByteArray("#somchai#\r\n"));
        r = AddCustomerName(*book.store, "somchai");
        QCOMPARE(r.text1, Duplicate);
        QCOMPARE(book.bytes("custom.gif"), QByteArray("#somchai#\r\n"));
        // The notice itself and "_" never become part of a name.
        r = AddCustomerName(*book.store, Duplicate + "a_b");
        QVERIFY(r.text1.isEmpty());
        QCOMPARE(book.bytes("custom.gif"), QByteArray("#somchai#ab#\r\n"));
        r = AddCustomerName(*book.store, " _ ");
        QCOMPARE(r.text1, QString(" _ "));
        QCOMPARE(book.bytes("custom.gif"), QByteArray("#somchai#ab#\r\n"));
    }

    void removeCustomerKeepsLaterStakes()
    {
        Book book;
        QVERIFY(book.store->creationSequence("a").isEmpty());
        book.stake("b", "123", 50);
        QVERIFY(book.store->creationSequence("c").isEmpty());
        QVERIFY(removeCustomer(*book.store, "a").ok());
        QCOMPARE(book.store->customerListText(), QString("##b#c#"));
        QCOMPARE(book.store->customers(), (QStringList{"b", "c"}));
        // b still finds its own stake file, and a new customer takes a new place.
        QCOMPARE(NumberFile(*book.store, book.store->StakeFilePath(Straight, "b")).value("123"), 50.0);
        QVERIFY(book.store->creationSequence("d").isEmpty());
        QCOMPARE(book.store->customerIndex("d"), QString("4"));
        // Removing the last name leaves its place too.
        QVERIFY(removeCustomer(*book.store, "d").ok());
        QCOMPARE(book.store->customerListText(), QString("##b#c##"));
        QVERIFY(removeCustomer(*book.store, "nobody").ok());
        QCOMPARE(book.store->customerListText(), QString("##b#c##"));
    }

    void customerWithStakesIsKept()
    {
        Book book;
        book.stake("a", "999", 1);
        QCOMPARE(removeCustomer(*book.store, "a").lines, QStringList{CustomerHasStakesText});
        QCOMPARE(book.store->customerListText(), QString("#a#"));
        // Stakes taken back to 0 no longer hold the name.
        book.stake("a", "999", -1);
        QVERIFY(removeCustomer(*book.store, "a").ok());
        QCOMPARE(book.store->customerListText(), QString("##"));
    }

    void saveOpenDelete()
    {
        Book book;
        QVERIFY(book.store->creationSequence("a").isEmpty());
        NumberFile sent(*book.store, book.store->TypeFilePath(Straight, Store::SendOutPrefix));
        QVERIFY(sent.add("123", 75));
        QVERIFY(sent.save(*book.store));
        const QString data = "<3ตัวตรง>#123-200#456-50##";

        HistorySave r = saveSendOutList(*book.store, data, "Mon Day");
        QVERIFY(r.saved);
        QVERIFY(r.text1.isEmpty() && r.lines.isEmpty());
        QCOMPARE(book.bytes("monday_b.gif"), cp874(data + "\r\n"));
        QCOMPARE(book.bytes("his.gif"), QByteArray("#monday#\r\n"));
        QCOMPARE(book.sentOut("123"), 275.0);
        QCOMPARE(book.sentOut("456"), 50.0);
        QCOMPARE(ListHistory(*book.store), QStringList{"monday"});

        QCOMPARE(openSavedList(*book.store, "monday"),
                 (QStringList{"<monday>", "<3ตัวตรง>", "123-200", "456-50", "จำนวนเลข 2 รายการ", "จำนวนเงิน 250.00 บาท",
                              "====================="}));

        QVERIFY(deleteSavedList(*book.store, "monday").ok());
        QCOMPARE(book.sentOut("123"), 75.0);
        QCOMPARE(book.sentOut("456"), 0.0);
        QVERIFY(!QFile::exists(book.file("monday_b.gif")));
        QCOMPARE(book.bytes("his.gif"), QByteArray("#\r\n"));
        QVERIFY(ListHistory(*book.store).isEmpty());
        // The send-out file keeps its form: one line per number and one empty line.
        QVERIFY(book.text(Store::SendOutPrefix + "_0.gif").endsWith("999-0\r\n\r\n"));
    }

    void saveRefused_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("inside a longer name") << "<3ตัวตรง>#1-1##"
                                              << "mon" << Duplicate << QStringList{};
        QTest::newRow("same name") << "<3ตัวตรง>#1-1##"
                                   << "MONDAY" << Duplicate << QStringList{};
        QTest::newRow("nothing pending") << ""
                                         << "friday"
                                         << "friday" << QStringList{};
        QTest::newRow("no name") << "<3ตัวตรง>#1-1##"
                                 << " _"
                                 << " _" << QStringList{};
        const QString unsafe = UnsafeNameText;
        const QList<QPair<const char*, QString>> unsafeNames = {{"slash", "a/b"},
                                                                {"backslash", "a\\b"},
                                                                {"colon", "c:x"},
                                                                {"star", "a*"},
                                                                {"question", "a?"},
                                                                {"quote", "a\"b"},
                                                                {"less", "a<b"},
                                                                {"greater", "a>b"},
                                                                {"bar", "a|b"},
                                                                {"dot first", ".hidden"},
                                                                {"dot dot", ".."},
                                                                {"tab", "a\tb"},
                                                                {"lone line feed", "a\nb"}};
        for (const auto& [row, name] : unsafeNames)
            QTest::newRow(row) << "<3ตัวตรง>#1-1##" << name << name << QStringList{unsafe};
        QTest::newRow("not in the file code page") << "<3ตัวตรง>#1-1##"
                                                   << "名前"
                                                   << "名前" << QStringList{unsafe};
    }
    void saveRefused()
    {
        QFETCH(QString, data);
        QFETCH(QString, name);
        QFETCH(QString, text1);
        QFETCH(QStringList, lines);
        Book book;
        book.put("his.gif", "#monday#\r\n");
        const QStringList before = QDir(book.folder()).entryList(QDir::Files);
        const HistorySave r = saveSendOutList(*book.store, data, name);
        QVERIFY(!r.saved);
        QCOMPARE(r.text1, text1);
        QCOMPARE(r.lines, lines);
        QCOMPARE(QDir(book.folder()).entryList(QDir::Files), before);
        QCOMPARE(book.bytes("his.gif"), QByteArray("#monday#\r\n"));
    }

    void deleteKeepsOtherNames_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("after");
        QTest::newRow("last") << "#ab#b#"
                              << "b"
                              << "#ab#";
        QTest::newRow("middle") << "#a#s#b#"
                                << "s"
                                << "#a#b#";
        QTest::newRow("not listed") << "#ab#"
                                    << "b"
                                    << "#ab#";
    }
    void deleteKeepsOtherNames()
    {
        QFETCH(QString, history);
        QFETCH(QString, name);
        QFETCH(QString, after);
        TempBook book;
        book.put("his.gif", history + "\r\n");
        QVERIFY(deleteSavedList(*book.store, name).ok());
        QCOMPARE(book.text("his.gif"), after + "\r\n");
    }

    void openMissingList()
    {
        TempBook book;
        QCOMPARE(openSavedList(*book.store, "gone"),
                 (QStringList{"<gone>", "จำนวนเลข 0 รายการ", "จำนวนเงิน 0.00 บาท", "====================="}));
    }

    void unsafeHistoryNameNotFollowed()
    {
        TempBook book;
        book.put("his.gif", "#../x#\r\n");
        QCOMPARE(ListHistory(*book.store), QStringList{"../x"});
        QCOMPARE(deleteSavedList(*book.store, "../x").lines, QStringList{UnsafeNameText});
        QCOMPARE(book.text("his.gif"), QString("#../x#\r\n"));
        QCOMPARE(openSavedList(*book.store, "../x").size(), 4);
    }

    // Saving and deleting a send-out list change the list, its name in the history and the amounts
    // sent out together: when the send-out file cannot be written, the delete leaves all three.
    void sendOutListIsOneCommit()
    {
        if (geteuid() != 0) QSKIP("making one file unwritable needs root (chattr)");
        Book book;
        QVERIFY(book.store->creationSequence("a").isEmpty());
        QVERIFY(saveSendOutList(*book.store, "<3ตัวตรง>#123-200##", "monday").saved);
        QCOMPARE(book.sentOut("123"), 200.0);
        const auto before = folderBytes(book.folder());
        const QString sendOut = book.store->TypeFilePath(Straight, Store::SendOutPrefix);
        if (QProcess::execute("chattr", {"+i", sendOut}) != 0) QSKIP("chattr is not available here");
        const QStringList failed = deleteSavedList(*book.store, "monday").lines;
        HistorySave second = saveSendOutList(*book.store, "<3ตัวตรง>#123-50##", "tuesday");
        QProcess::execute("chattr", {"-i", sendOut});
        QCOMPARE(failed, QStringList{WriteFailedText + Store::fileName(sendOut)});
        QVERIFY(!second.saved);
        QCOMPARE(folderBytes(book.folder()), before);

        QVERIFY(deleteSavedList(*book.store, "monday").ok());
        QCOMPARE(book.sentOut("123"), 0.0);
        QVERIFY(!QFile::exists(book.file("monday_b.gif")));
    }

    void failedWritesReported()
    {
        Book book;
        QVERIFY(book.store->creationSequence("a").isEmpty());
        // A folder where the list file should go: the write fails, and nothing else is written.
        QVERIFY(QDir(book.folder()).mkdir("monday_b.gif"));
        HistorySave r = saveSendOutList(*book.store, "<3ตัวตรง>#123-200##", "monday");
        QVERIFY(!r.saved);
        QCOMPARE(r.lines, QStringList{"บันทึกข้อมูลไม่สำเร็จ monday_b.gif"});
        QVERIFY(!QFile::exists(book.file("his.gif")));
        QCOMPARE(book.sentOut("123"), 0.0);

        // An unreadable saved list is neither taken back nor forgotten.
        book.put("his.gif", "#monday#\r\n");
        QCOMPARE(deleteSavedList(*book.store, "monday").lines, QStringList{"อ่านข้อมูลไม่ได้ monday_b.gif"});
        QCOMPARE(book.text("his.gif"), QString("#monday#\r\n"));

        // An unreadable customer list is never replaced.
        QVERIFY(QFile::remove(book.file("custom.gif")));
        QVERIFY(QDir(book.folder()).mkdir("custom.gif"));
        QCOMPARE(AddCustomerName(*book.store, "b").lines, QStringList{"อ่านข้อมูลไม่ได้ custom.gif"});
        QCOMPARE(removeCustomer(*book.store, "a").lines, QStringList{"อ่านข้อมูลไม่ได้ custom.gif"});
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
