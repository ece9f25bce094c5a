// Bets read from a picture by the batch job: the same JSON as a pasted message with the box of every
// bet and line, and each stored bet's audit line naming the picture by its digest.
#include "app/Ledger.h"
#include "app/batch.h"
#include "audit/auditread.h"
#include "chatpictures.h"
#include "gui/main/session.h"
#include "testsupport.h"

#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

BatchResult runJob(TempBook& book, const QStringList& args)
{
    QCommandLineParser parser;
    addBatchOptions(parser);
    if (!parser.parse(QStringList{"varnoth"} + args)) return {{}, {parser.errorText()}, BatchUsageError};
    const BatchRequest request = batchRequest(parser);
    if (!request.usageError.isEmpty()) return {{}, {request.usageError}, BatchUsageError};
    Session session;
    Ledger ledger(*book.store, session);
    return runBatch(ledger, request.options);
}

QString picture(const TempBook& book)
{
    const QString path = book.dir.path() + "/slip.png";
    chatPicture({"ลูกค้า แดง", "12=100", "34=50", "รวม 150"}, {}).save(path);
    return path;
}

QByteArray digestOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex()
                                       : QByteArray();
}

QString auditText(const TempBook& book)
{
    QFile f(book.file("audit.log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TestPictureEntry : public QObject
{
    Q_OBJECT
private slots:
    void jsonWithBoxes()
    {
        TempBook book;
        QVERIFY(book.store->creationSequence("แดง").isEmpty());
        const QString path = picture(book);
        const auto before = folderBytes(book.folder());
        const BatchResult r = runJob(book, {"--enter-image", path, "--type", "2ตัวบน", "--dry-run", "--json"});
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(folderBytes(book.folder()), before);
        const QJsonObject o = QJsonDocument::fromJson(r.out.value(0).toUtf8()).object();
        QCOMPARE(o["customer"].toString(), QString("แดง"));
        QCOMPARE(o["stated_total"].toDouble(), 150.0);
        QCOMPARE(o["total_mismatch"].toBool(), false);
        QCOMPARE(o["not_understood"].toArray().size(), 0);
        QCOMPARE(o["picture"].toObject()["sha256"].toString().toLatin1(), digestOf(path));
        const QRect whole(0, 0, o["picture"].toObject()["width"].toInt(), o["picture"].toObject()["height"].toInt());
        const QJsonArray bets = o["bets"].toArray();
        QCOMPARE(bets.size(), 2);
        int lastTop = -1;
        for (const QJsonValue& v : bets) {
            const QJsonObject box = v.toObject()["box"].toObject();
            const QRect rect(box["x"].toInt(), box["y"].toInt(), box["width"].toInt(), box["height"].toInt());
            QVERIFY(!rect.isEmpty());
            QVERIFY(whole.contains(rect));
            QVERIFY(rect.top() > lastTop); // the bets of two lines, top to bottom
            lastTop = rect.top();
        }
        QCOMPARE(bets[0].toObject()["number"].toString(), QString("12"));
        QCOMPARE(o["lines"].toArray().size(), 4);
    }

    // Stored bets name the picture in their audit line, after the mark of a bet keyed after the
    // result, which the log's readers still see.
    void auditNamesThePicture()
    {
        TempBook book;
        QVERIFY(book.store->creationSequence("แดง").isEmpty());
        const QString path = picture(book);
        BatchResult r = runJob(book, {"--enter-image", path, "--type", "2ตัวบน"});
        QCOMPARE(r.exitCode, BatchRan);
        QVERIFY(book.text("3_1.gif").contains("12-100"));
        QVERIFY(auditText(book).contains("\tchat\t"));
        QVERIFY(auditText(book).contains("จากรูป sha256:" + digestOf(path)));

        {
            Session session;
            Ledger ledger(*book.store, session);
            QVERIFY(ledger.saveResult({"123456", "", "", "", "", "12"}).ok());
        }
        r = runJob(book, {"--enter-image", path, "--type", "2ตัวบน"});
        QCOMPARE(r.exitCode, BatchRefused); // after the result, only with --after-result
        r = runJob(book, {"--enter-image", path, "--type", "2ตัวบน", "--after-result"});
        QCOMPARE(r.exitCode, BatchRan);
        QVERIFY(auditText(book).contains("คีย์หลังออกผล จากรูป sha256:" + digestOf(path)));
        r = runJob(book, {"--audit", "--after-result"});
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(r.out.size(), 2);
        QVERIFY(runJob(book, {"--audit", "--verify"}).exitCode == BatchRan);
    }

    void refusals()
    {
        TempBook book;
        const QString text = book.dir.path() + "/slip.png";
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("12=100\n");
        f.close();
        const BatchResult r = runJob(book, {"--enter-image", text, "--type", "2ตัวบน", "--customer", "แดง"});
        QCOMPARE(r.exitCode, BatchRefused);
        QVERIFY(r.err.join(' ').contains("slip.png"));
        QCOMPARE(runJob(book, {"--enter-image", book.dir.path() + "/none.png"}).exitCode, BatchRefused);
        QCOMPARE(runJob(book, {"--enter-image", text, "--type", "บน"}).exitCode, BatchUsageError);
    }
};

QTEST_MAIN(TestPictureEntry)
#include "tst_pictureentry.moc"
