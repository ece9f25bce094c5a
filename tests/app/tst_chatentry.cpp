// Committing a pasted message through the ledger and the batch job: every bet at once, one step to
// take back, the amount ceiling as on a sheet, and a job that says plainly what it did not store.
#include "app/Ledger.h"
#include "app/batch.h"
#include "gui/main/session.h"
#include "settings/options.h"
#include "testsupport.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Message = QStringLiteral("ลูกค้า สมชาย\n"
                                       "123=50*20\n"
                                       "45 บน100 ล่าง100\n"
                                       "67 กลับ บน10\n"
                                       "สวัสดี 12a=5\n"
                                       "รวม 290\n");

// The value on the number's line of a stake or count file.
QString lineOf(const TempBook& book, const QString& file, const QString& number)
{
    for (const QString& line : book.text(file).split("\r\n"))
        if (line.startsWith(number + '-')) return line.section('-', 1);
    return {};
}

struct Job {
    BatchRequest request;
    BatchResult result;
};

Job runJob(TempBook& book, const QStringList& args)
{
    QCommandLineParser parser;
    addBatchOptions(parser);
    Job job;
    if (!parser.parse(QStringList{"varnoth"} + args)) {
        job.request.usageError = parser.errorText();
        return job;
    }
    job.request = batchRequest(parser);
    if (!job.request.usageError.isEmpty()) return job;
    Session session;
    Ledger ledger(*book.store, session);
    job.result = runBatch(ledger, job.request.options);
    return job;
}

QString messageFile(const TempBook& book, const QString& text, const char* codec = "utf-8")
{
    const QString path = book.dir.path() + "/message.txt";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(QByteArray(codec) == "utf-8" ? text.toUtf8() : cp874(text));
    return path;
}

} // namespace

class TestChatEntry : public QObject
{
    Q_OBJECT
private slots:
    // Several types and files in one paste: all stored and counted, then taken back in one step.
    void commitIsOneStep()
    {
        TempBook book;
        QVERIFY(book.store->creationSequence("somchai").isEmpty());
        const auto before = folderBytes(book.folder());
        Session session;
        Ledger ledger(*book.store, session);
        const ChatParse parse = parseChat(Message, "3ตัวตรง");
        const EntryResult r = ledger.enterChat(parse.bets(), "somchai");
        QCOMPARE(r.changes.size(), 6);
        QCOMPARE(r.lines,
                 (QStringList{"<3ตัวตรง> <somchai>", "123-50", "<3ตัวโต๊ด> <somchai>", "123-20", "<2ตัวบน> <somchai>",
                              "45-100", "<2ตัวล่าง> <somchai>", "45-100", "<2ตัวบน> <somchai>", "67-10", "76-10"}));
        QCOMPARE(lineOf(book, "0_1.gif", "123"), QString("50"));
        QCOMPARE(lineOf(book, "1_1.gif", "123"), QString("20"));
        QCOMPARE(lineOf(book, "3_1.gif", "45"), QString("100"));
        QCOMPARE(lineOf(book, "3_1.gif", "76"), QString("10"));
        QCOMPARE(lineOf(book, "5_1.gif", "45"), QString("100"));
        QCOMPARE(lineOf(book, "a-_3.gif", "67"), QString("1"));
        QCOMPARE(ledger.undoStack().count(), 1);
        QVERIFY(ledger.undoStack().text(0).startsWith("วางข้อความ 6"));

        ledger.undo();
        QCOMPARE(folderBytes(book.folder()), before);
        ledger.redo();
        QCOMPARE(lineOf(book, "3_1.gif", "76"), QString("10"));
    }

    // A new customer is made with his files; a bet above the ceiling is listed, not stored, as on a sheet.
    void newCustomerAndCeiling()
    {
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        QVERIFY(setOptionValue(*book.store, option::AmountCeiling, "500").isEmpty());
        Session session;
        Ledger ledger(*book.store, session);
        const EntryResult r = ledger.enterChat(parseChat("123=600\n456=50", "3ตัวตรง").bets(), "แดง");
        QVERIFY(book.store->customers().contains("แดง"));
        QCOMPARE(r.changes.size(), 1);
        QCOMPARE(r.aboveCeiling, 1);
        QVERIFY(r.lines.contains("123-600" + AboveCeilingText));
        QCOMPARE(lineOf(book, "0_2.gif", "123"), QString("0"));
        QCOMPARE(lineOf(book, "0_2.gif", "456"), QString("50"));

        // Nothing stored: nothing to take back.
        ledger.enterChat(parseChat("123=600", "3ตัวตรง").bets(), "แดง");
        QCOMPARE(ledger.undoStack().count(), 1);
    }

    void jsonAndDryRun()
    {
        TempBook book;
        const auto before = folderBytes(book.folder());
        const Job job = runJob(
            book, {"--enter-chat", messageFile(book, Message, "cp874"), "--type", "3ตัวตรง", "--dry-run", "--json"});
        QVERIFY2(job.request.usageError.isEmpty(), qPrintable(job.request.usageError));
        QCOMPARE(job.result.out.size(), 1);
        const QJsonObject o = QJsonDocument::fromJson(job.result.out[0].toUtf8()).object();
        QCOMPARE(o["customer"].toString(), QString("สมชาย"));
        const QJsonArray bets = o["bets"].toArray();
        QCOMPARE(bets.size(), 6);
        QCOMPARE(bets[1].toObject(), (QJsonObject{{"type", "3ตัวโต๊ด"}, {"number", "123"}, {"amount", 20}}));
        QCOMPARE(o["not_understood"].toArray(), QJsonArray{"สวัสดี 12a=5"});
        QCOMPARE(o["stated_total"].toDouble(), 290.0);
        QCOMPARE(o["total_mismatch"].toBool(), false);
        QCOMPARE(job.result.exitCode, BatchRefused); // a line was not understood
        QCOMPARE(folderBytes(book.folder()), before);

        // No stated total, no customer: null, not "" or 0.
        const Job bare = runJob(book, {"--enter-chat", messageFile(book, "45 บน100"), "--json", "--dry-run"});
        const QJsonObject b = QJsonDocument::fromJson(bare.result.out.value(0).toUtf8()).object();
        QVERIFY(b["customer"].isNull());
        QVERIFY(b["stated_total"].isNull());
        QCOMPARE(bare.result.exitCode, BatchRan);
    }

    // The job stores what it understood, and says what it did not store; a total that does not
    // match, or no customer at all, stores nothing.
    void jobRefusals()
    {
        TempBook book;
        Job job = runJob(book, {"--enter-chat", messageFile(book, Message), "--type", "3ตัวตรง"});
        QCOMPARE(job.result.exitCode, BatchRefused);
        QVERIFY(job.result.err.join('\n').contains("สวัสดี 12a=5"));
        QCOMPARE(lineOf(book, "3_1.gif", "45"), QString("100"));

        TempBook second;
        const auto empty = folderBytes(second.folder());
        job = runJob(second, {"--enter-chat", messageFile(second, "ลูกค้า แดง\n45=100\nรวม 200"), "--type", "2ตัวบน"});
        QCOMPARE(job.result.exitCode, BatchRefused);
        QCOMPARE(folderBytes(second.folder()), empty);

        job = runJob(second, {"--enter-chat", messageFile(second, "45=100"), "--type", "2ตัวบน"});
        QCOMPARE(job.result.exitCode, BatchRefused);
        QCOMPARE(folderBytes(second.folder()), empty);

        // The customer given wins over the name in the message.
        job = runJob(second,
                     {"--enter-chat", messageFile(second, "ลูกค้า แดง\n45=100"), "--type", "2ตัวบน", "--customer", "Dum"});
        QCOMPARE(job.result.exitCode, BatchRan);
        QCOMPARE(second.store->customers(), QStringList{"dum"});
    }

    // Lines that can be read two ways are listed and store nothing; the certain ones are stored, and
    // an invisible direction override does not hide an amount.
    void twoMeaningsStoreNothing()
    {
        TempBook book;
        const QString message = QString::fromUtf16(u"ลูกค้า แดง\nรูด 5=10\n45=100\n123 ต.50\n67=\u202e20\n");
        const Job job = runJob(book, {"--enter-chat", messageFile(book, message), "--type", "2ตัวบน", "--json"});
        QCOMPARE(job.result.exitCode, BatchRefused);
        const QJsonObject o = QJsonDocument::fromJson(job.result.out.value(0).toUtf8()).object();
        QCOMPARE(o["not_understood"].toArray(), (QJsonArray{"รูด 5=10", "123 ต.50"}));
        QCOMPARE(o["bets"].toArray().size(), 2);
        QCOMPARE(lineOf(book, "3_1.gif", "45"), QString("100"));
        QCOMPARE(lineOf(book, "3_1.gif", "67"), QString("20"));
        for (const char* number : {"50", "59", "05", "95"})
            QCOMPARE(lineOf(book, "3_1.gif", number), QString("0"));
        QCOMPARE(lineOf(book, "0_1.gif", "123"), QString("0"));
        QCOMPARE(lineOf(book, "1_1.gif", "123"), QString("0"));
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("usageError");
        QTest::newRow("dry-run on another job") << QStringList{"--view", "--dry-run"} << true;
        QTest::newRow("json on another job") << QStringList{"--view", "--json"} << true;
        QTest::newRow("unknown type") << QStringList{"--enter-chat", "m.txt", "--type", "บน"} << true;
        QTest::newRow("all as customer") << QStringList{"--enter-chat", "m.txt", "--customer", "ทั้งหมด"} << true;
        QTest::newRow("no type, no customer") << QStringList{"--enter-chat", "m.txt"} << false;
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, usageError);
        QCommandLineParser parser;
        addBatchOptions(parser);
        QVERIFY(parser.parse(QStringList{"varnoth"} + args));
        QCOMPARE(!batchRequest(parser).usageError.isEmpty(), usageError);
    }

    // The built program prints exactly one JSON line on standard output.
    void programPrintsOneObject()
    {
        TempBook book;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VARNOTH_PROGRAM), {"--data-folder", book.folder(), "--enter-chat",
                                                  messageFile(book, "@แดง\n123=50*50\nยอด 100"), "--json"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray out = p.readAllStandardOutput();
        QCOMPARE(out.count('\n'), 1);
        const QJsonObject o = QJsonDocument::fromJson(out).object();
        QCOMPARE(o["bets"].toArray().size(), 2);
        QCOMPARE(o["customer"].toString(), QString("แดง"));
        QCOMPARE(lineOf(book, "1_1.gif", "123"), QString("50"));
    }
};

QTEST_GUILESS_MAIN(TestChatEntry)
#include "tst_chatentry.moc"
