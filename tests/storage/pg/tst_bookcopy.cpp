// Moving a book between a data folder and the server: a generated book goes in and comes out with
// the same bytes in every file moved, the files not moved are named, and every refusal (a damaged
// or unreadable file, a server book that holds something, a folder to export into that holds
// something) moves nothing and writes over nothing. The batch options run the same moves.
#include "bookmaker.h"
#include "core/model/types.h"
#include "pgcluster.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/intent.h"
#include "storage/folder/store.h"
#include "storage/pg/bookcopy.h"
#include "storage/pg/bookcopytexts.h"
#include "storage/pg/pgbookstore.h"
#include "storage/pg/pgtexts.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <libpq-fe.h>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

PgCluster* cluster = nullptr;

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// Every file of a folder with its bytes, but for the record of the folder's last save (done), which
// tells how that save went rather than what the book holds.
QMap<QString, QByteArray> filesOf(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        if (name != IntentFileName) files.insert(name, bytesOf(QDir(folder).filePath(name)));
    return files;
}

} // namespace

class TestBookCopy : public QObject
{
    Q_OBJECT

    // A fresh server book in a database of its own.
    std::unique_ptr<PgBookStore> freshServerBook(QString* conninfo = nullptr)
    {
        static int made = 0;
        const QString db = QStringLiteral("copy%1").arg(++made);
        if (!cluster->createDatabase(db)) return nullptr;
        QString error;
        auto book = PgBookStore::open(cluster->conninfo(db), &error);
        if (!book) qWarning("%s", qPrintable(error));
        if (conninfo) *conninfo = cluster->conninfo(db);
        return book;
    }

    // The benchmark's book of three customers, with something sent out and an option of the book's
    // own, so that every kind of record the server keeps is in it.
    static void makeFolderBook(const QString& folder)
    {
        bench::makeBook(folder, {3});
        Store store(folder);
        FolderTransaction tx(store);
        tx.addSendOut(QStringLiteral("3ตัวตรง"), QStringLiteral("123"), 250);
        tx.addSendOut(QStringLiteral("2ตัวบน"), QStringLiteral("07"), 12.5);
        tx.setSettingLines(BookSetting::Options, {QStringLiteral("ceiling#5000"), QStringLiteral("ร้านเจริญ")});
        QVERIFY(tx.commit().ok());
    }

private slots:
    void roundTripIsByteForByte()
    {
        QTemporaryDir original, exported, again;
        makeFolderBook(original.path());
        const QMap<QString, QByteArray> before = filesOf(original.path());

        auto server = freshServerBook();
        QVERIFY(server);
        const BookCopyResult in = importFolderBook(original.path(), *server);
        QVERIFY2(in.ok(), qPrintable(in.lines.join('\n')));
        // The saved send-out list is not kept on the server yet: named, and left in the folder.
        QCOMPARE(in.leftBehind, QStringList({QStringLiteral("monday_b.gif")}));
        QVERIFY(in.lines.contains(BookLeftBehindText + "monday_b.gif"));
        QCOMPARE(filesOf(original.path()), before); // the folder is only read

        QCOMPARE(server->customers(), QStringList({"c1", "c2", "c3"}));
        // The kept sums were made with the rows: per number, the sum of every customer's stake.
        for (const QString& type : typeNames()) {
            QHash<QString, double> sums;
            for (const QString& c : server->customers())
                for (const auto& [n, v] : server->stakeSums(type, c).asKeyValueRange())
                    sums[n] += v;
            QCOMPARE(server->keptSums(type), sums);
        }

        const QString out = exported.path() + "/book";
        const BookCopyResult back = exportServerBook(*server, out);
        QVERIFY2(back.ok(), qPrintable(back.lines.join('\n')));
        QMap<QString, QByteArray> expected = before;
        expected.remove("monday_b.gif");
        const QMap<QString, QByteArray> after = filesOf(out);
        QCOMPARE(after.keys(), expected.keys());
        for (const QString& name : expected.keys())
            QVERIFY2(after[name] == expected[name], qPrintable(name));
        // Nothing of the export's making is left beside it.
        QCOMPARE(QDir(exported.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"book"}));

        // The exported folder goes in again and comes out the same once more, into an empty folder
        // that is there already.
        auto second = freshServerBook();
        QVERIFY(second);
        const BookCopyResult in2 = importFolderBook(out, *second);
        QVERIFY2(in2.ok(), qPrintable(in2.lines.join('\n')));
        QVERIFY(in2.leftBehind.isEmpty());
        QVERIFY(exportServerBook(*second, again.path()).ok());
        QCOMPARE(filesOf(again.path()), after);
    }

    // A file the server could not give back as it stands, or cannot read at all, refuses the whole
    // import: the server book stays empty and the file keeps its bytes.
    void damagedFolderFileIsRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("damage");
        QTest::addColumn<QString>("line");
        QTest::newRow("junk line in a stake file") << "2_3.gif" << 0 << NotMovableFileText;
        QTest::newRow("amount written otherwise") << "a-_0.gif" << 1 << NotMovableFileText;
        QTest::newRow("setting without its last line end") << "lotto2.gif" << 2 << NotMovableFileText;
        QTest::newRow("customer listed twice") << "custom.gif" << 3 << NotMovableFileText;
        QTest::newRow("a folder in a stake file's place") << "0_2.gif" << 4 << QString("อ่านข้อมูลไม่ได้");
    }
    void damagedFolderFileIsRefused()
    {
        QFETCH(QString, file);
        QFETCH(int, damage);
        QFETCH(QString, line);
        QTemporaryDir folder;
        makeFolderBook(folder.path());
        const QString path = QDir(folder.path()).filePath(file);
        QByteArray bytes = bytesOf(path);
        QFile f(path);
        switch (damage) {
        case 0:
            bytes.insert(0, "ไม่ใช่ตัวเลข\r\n");
            break;
        case 1:
            bytes.replace("000-3\r\n", "000-3.0\r\n");
            break;
        case 2:
            bytes.append("2ตัวบน#1");
            break;
        case 3:
            bytes = "#c1#c2#c3#c2#\r\n";
            break;
        case 4:
            QVERIFY(QFile::remove(path));
            QVERIFY(QDir().mkdir(path));
            bytes = bytesOf(path);
            break;
        }
        if (damage != 4) {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
            f.close();
        }
        const QMap<QString, QByteArray> before = filesOf(folder.path());

        auto server = freshServerBook();
        QVERIFY(server);
        const BookCopyResult r = importFolderBook(folder.path(), *server);
        QVERIFY(!r.ok());
        QVERIFY2(r.lines.first().startsWith(line) && r.lines.first().endsWith(file), qPrintable(r.lines.join('\n')));
        QCOMPARE(r.lines.last(), NothingMovedText);
        QVERIFY(server->customers().isEmpty());
        QVERIFY(!server->settingLines(BookSetting::Limit).exists);
        QCOMPARE(filesOf(folder.path()), before);
    }

    // A server book that holds something is never mixed with a folder: the second import is refused
    // and the book is as the first left it. A folder with a save cut off is not moved either.
    void importIntoAFilledBookIsRefused()
    {
        QTemporaryDir first, other;
        makeFolderBook(first.path());
        bench::makeBook(other.path(), {2});
        auto server = freshServerBook();
        QVERIFY(server);
        QVERIFY(importFolderBook(first.path(), *server).ok());
        const auto sums = server->keptSums("3ตัวตรง");
        const auto limit = server->settingLines(BookSetting::Limit).lines;

        const BookCopyResult r = importFolderBook(other.path(), *server);
        QVERIFY(!r.ok());
        QCOMPARE(r.outcome.status, Status::Refused);
        QCOMPARE(r.lines, QStringList({PgBookNotEmptyText, NothingMovedText}));
        QCOMPARE(server->customers(), QStringList({"c1", "c2", "c3"}));
        QCOMPARE(server->keptSums("3ตัวตรง"), sums);
        QCOMPARE(server->settingLines(BookSetting::Limit).lines, limit);

        // A book that holds only a setting holds something too.
        auto settingOnly = freshServerBook();
        QVERIFY(settingOnly);
        auto tx = settingOnly->begin();
        tx->setSettingLines(BookSetting::History, {"#monday#"});
        QVERIFY(tx->commit().ok());
        QVERIFY(!importFolderBook(other.path(), *settingOnly).ok());
        QVERIFY(settingOnly->customers().isEmpty());

        // An open record of a save that was cut off: the folder is opened with the program first.
        {
            Store store(other.path());
            QVERIFY(writeIntent(store, intentBytes({{"0_1.gif", {}, "000-5\r\n", false}})));
        }
        auto fresh = freshServerBook();
        QVERIFY(fresh);
        const BookCopyResult cut = importFolderBook(other.path(), *fresh);
        QVERIFY(!cut.ok());
        QVERIFY(cut.lines.first().startsWith(UnfinishedSaveText));
        QVERIFY(fresh->customers().isEmpty());

        // No book in the folder at all, and a folder another copy of the program has open.
        QTemporaryDir empty;
        QVERIFY(importFolderBook(empty.path(), *fresh).lines.first().startsWith(NoFolderBookText));
        QLockFile open(QDir(first.path()).filePath(LockFileName));
        QVERIFY(open.tryLock(0));
        QVERIFY(importFolderBook(first.path(), *fresh).lines.first().startsWith(AlreadyRunningText));
        QVERIFY(fresh->customers().isEmpty());
    }

    // Export writes only into a missing or empty folder, and leaves one that holds anything as it is.
    void exportIntoAFilledFolderIsRefused()
    {
        QTemporaryDir source, target;
        makeFolderBook(source.path());
        auto server = freshServerBook();
        QVERIFY(server);
        QVERIFY(importFolderBook(source.path(), *server).ok());
        QFile keep(QDir(target.path()).filePath("custom.gif"));
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.write("#somchai#\r\n");
        keep.close();

        const BookCopyResult r = exportServerBook(*server, target.path());
        QVERIFY(!r.ok());
        QVERIFY(r.lines.first().startsWith(ExportFolderNotEmptyText));
        QCOMPARE(filesOf(target.path()), (QMap<QString, QByteArray>{{"custom.gif", "#somchai#\r\n"}}));
    }

    // A server book that cannot be read whole is not exported in part: no folder, nothing left beside.
    void unreadableServerBookIsNotExported()
    {
        QTemporaryDir source, target;
        makeFolderBook(source.path());
        QString conninfo;
        auto server = freshServerBook(&conninfo);
        QVERIFY(server);
        QVERIFY(importFolderBook(source.path(), *server).ok());
        // The stake rows of one customer fail to read (a division by zero), as a damaged record would.
        PGconn* admin = PQconnectdb(conninfo.toUtf8().constData());
        PGresult* r = PQexec(admin, "ALTER TABLE stakes RENAME TO stake_rows;"
                                    "CREATE VIEW stakes AS SELECT type, customer, number, CASE WHEN customer = 'c2' "
                                    "THEN amount / 0 ELSE amount END AS amount FROM stake_rows");
        const bool damaged = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        PQfinish(admin);
        QVERIFY(damaged);

        const BookCopyResult out = exportServerBook(*server, target.path() + "/book");
        QVERIFY(!out.ok());
        QCOMPARE(out.lines.last(), NothingMovedText);
        QVERIFY(QDir(target.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    // The batch options: the same moves from the command line, and the refusals' exit status.
    void batchOptionsMoveTheBook()
    {
#ifndef VARNOTH_PROGRAM
        QSKIP("the program is not built beside this test");
#else
        QTemporaryDir own, source, target;
        makeFolderBook(source.path());
        QString conninfo;
        QVERIFY(freshServerBook(&conninfo));
        const auto run = [&](const QStringList& args, QString* err = nullptr) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove("DISPLAY");
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(VARNOTH_PROGRAM), QStringList{"--data-folder", own.path()} + args);
            if (!p.waitForFinished(120000)) return -1;
            if (err) *err = QString::fromUtf8(p.readAllStandardError());
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        QString err;
        QCOMPARE(run({"--import-book", source.path(), "--book", conninfo}, &err), 0);
        QCOMPARE(run({"--import-book", source.path(), "--book", conninfo}, &err), 1);
        QVERIFY2(err.contains(PgBookNotEmptyText), qPrintable(err));
        QCOMPARE(run({"--export-book", target.path() + "/out", "--book", conninfo}), 0);
        QCOMPARE(bytesOf(target.path() + "/out/0_1.gif"), bytesOf(source.path() + "/0_1.gif"));
        QCOMPARE(run({"--export-book", target.path() + "/out"}), 2); // no server book named
        QCOMPARE(run({"--view", "--book", conninfo}), 2);
#endif
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PgCluster pg;
    if (!pg.available()) {
        qInfo("SKIP  : %s", qPrintable(pg.why()));
        return 77;
    }
    if (!pg.started()) {
        qCritical("the test cluster did not start: %s", qPrintable(pg.why()));
        return 1;
    }
    cluster = &pg;
    TestBookCopy test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_bookcopy.moc"
