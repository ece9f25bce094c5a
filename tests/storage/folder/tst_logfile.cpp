// The support log: failures of the store reach it, and it is rotated, never truncated in place.
#include "storage/folder/logfile.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

class TestLogFile : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteIsLoggedAndTyped()
    {
        TempBook book;
        const QString logs = book.dir.path();
        installLog(logs);
        QVERIFY(QDir(book.folder()).mkdir("lotto2.gif")); // a folder in the way of the file
        QVERIFY(!book.store->WriteWholeFile(book.store->limitFile(), "x"));
        const QList<Outcome> failures = book.store->takeFailures();
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures.first().status, Status::WriteFailed);
        QCOMPARE(outcomeLine(failures.first()), WriteFailedText + "lotto2.gif");
        QVERIFY(book.store->takeFailures().isEmpty());
        qInstallMessageHandler(nullptr);

        QFile log(QDir(logs).filePath(LogFileName));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray text = log.readAll();
        QVERIFY(text.contains("warning: write failed:"));
        QVERIFY(text.contains("lotto2.gif"));
    }

    void rotationKeepsTheNewestLogs()
    {
        QTemporaryDir dir;
        const LogLimits limits{10, 2};
        for (int i = 0; i < 4; ++i) {
            QFile f(dir.filePath(LogFileName));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(20, char('a' + i)));
            f.close();
            QVERIFY(rotateLog(dir.path(), limits));
        }
        QVERIFY(!QFile::exists(dir.filePath(LogFileName)));
        auto content = [&](const char* name) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        QCOMPARE(content("varnoth.log.1"), QByteArray(20, 'd'));
        QCOMPARE(content("varnoth.log.2"), QByteArray(20, 'c'));
        QVERIFY(!QFile::exists(dir.filePath("varnoth.log.3")));
    }

    void smallLogIsLeftAlone()
    {
        QTemporaryDir dir;
        QVERIFY(appendLog(dir.path(), "warning", "one"));
        QVERIFY(appendLog(dir.path(), "warning", "two"));
        QVERIFY(rotateLog(dir.path()));
        QFile f(dir.filePath(LogFileName));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count("\r\n"), 2);
    }
};

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
