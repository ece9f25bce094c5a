#include "bookmaker.h"
#include "core/model/customername.h"
#include "core/model/nametexts.h"
#include "core/model/types.h"
#include "entry/entry.h"
#include "settings/customers.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/folderwatch.h"
#include "storage/folder/numberfile.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <limits>
#include <unistd.h>

using namespace varnoth;
using namespace varnoth::test;
using namespace Qt::StringLiterals;

class TestStore : public QObject
{
    Q_OBJECT
private slots:
    void firstEntryCreatesThe36NumberFiles()
    {
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        QCOMPARE(book.bytes("custom.gif"), QByteArray("#x#\r\n"));
        for (int t = 0; t < 12; ++t) {
            const QString type = typeNames()[t];
            const QByteArray fresh = cp874(InitialContent(type) + "\r\n");
            QCOMPARE(book.bytes(QString("%1_1.gif").arg(t)), fresh);
            QCOMPARE(book.bytes(QString("a-_%1.gif").arg(t)), fresh);
            QCOMPARE(book.bytes(QString("b_%1.gif").arg(t)), fresh);
        }
        QCOMPARE(QDir(book.folder()).entryList(QDir::Files).size(), 37);
        QCOMPARE(book.bytes("6_1.gif"),
                 QByteArray("0-0\r\n1-0\r\n2-0\r\n3-0\r\n4-0\r\n5-0\r\n6-0\r\n7-0\r\n8-0\r\n9-0\r\n\r\n"));
    }

    void secondCustomerLeavesExistingFilesAlone()
    {
        TempBook book;
        book.store->creationSequence("x");
        book.put("0_1.gif", "000-5\r\n");
        book.store->creationSequence("Somchai"); // the caller cleans names; this one is taken as given
        book.store->creationSequence("somchai");
        QCOMPARE(book.text("custom.gif"), QString("#x#Somchai#somchai#\r\n"));
        QCOMPARE(book.bytes("0_1.gif"), QByteArray("000-5\r\n"));
        QVERIFY(QFile::exists(book.file("11_3.gif")));
    }

    void emptiedOrDeletedFilesAreRecreated()
    {
        TempBook book;
        book.store->creationSequence("x");
        QFile::remove(book.file("3_1.gif"));
        book.put("4_1.gif", "");
        book.store->creationSequence("x");
        QCOMPARE(book.text("3_1.gif"), InitialContent("2ตัวบน") + "\r\n");
        QCOMPARE(book.text("4_1.gif"), InitialContent("คู่โต๊ด") + "\r\n");
    }

    // The store learns what the folder holds from one listing and the kernel's notices after it;
    // whatever another program does in between must be seen as a fresh listing would see it.
    void folderWatchSeesOtherWriters()
    {
        QTemporaryDir dir;
        const QString folder = dir.path();
        auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile f(folder + "/" + name);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(f.write(bytes), bytes.size());
        };
        auto listed = [&] {
            QHash<QString, qint64> files;
            for (const QFileInfo& fi : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
                files.insert(fi.fileName(), fi.size());
            return files;
        };
        FolderWatch watch(folder);
        write("a.gif", "12345");
        QCOMPARE(watch.files(), listed());
#ifdef Q_OS_LINUX
        QCOMPARE(watch.files(), listed());
        QVERIFY(watch.lastFromNotices());
#endif
        write("a.gif", ""); // cut short in place
        QCOMPARE(watch.files().value("a.gif", -1), 0);
        QVERIFY(QFile::rename(folder + "/a.gif", folder + "/b.gif"));
        QDir(folder).mkdir("sub");
        QSaveFile save(folder + "/c.gif");
        QVERIFY(save.open(QIODevice::WriteOnly));
        save.write("xyz");
        QVERIFY(save.commit());
        QCOMPARE(watch.files(), listed());
        for (int i = 0; i < 600; ++i) // more notices than one read takes
            write(QString("%1_1.gif").arg(i), QByteArray(i % 7, 'x'));
        QCOMPARE(watch.files(), listed());
        for (int i = 0; i < 600; i += 2)
            QFile::remove(folder + QString("/%1_1.gif").arg(i));
        QCOMPARE(watch.files(), listed());
        // The folder itself removed and made again: nothing known about it holds.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(QDir().mkpath(folder));
        write("d.gif", "1");
        QCOMPARE(watch.files(), listed());
        QCOMPARE(watch.files().size(), 1);
    }

    // A stamped number file knows the stamp of the version it read and of the one it wrote, the same
    // stamps a later look at the file gives; the lines it changed are kept as they were read.
    void numberFileStampsAreTheFilesOwn()
    {
#ifndef Q_OS_UNIX
        QSKIP("stamps of open files are not taken on this system");
#else
        QTemporaryDir dir;
        Store store(dir.path());
        const QString path = dir.filePath("0_1.gif");
        QVERIFY(store.WriteWholeFile(path, "000-5\r\n001-0\r\n002-7"));
        NumberFile file(store, path, true);
        QCOMPARE(file.readStamp(), fileStamp(path));
        QVERIFY(!file.readStamp().isEmpty());
        QVERIFY(file.add("001", 40));
        QVERIFY(file.add("001", 2));
        QVERIFY(file.add("002", 1));
        QVERIFY(file.save(store));
        QCOMPARE(file.savedStamp(), fileStamp(path));
        QVERIFY(file.savedStamp() != file.readStamp());
        QCOMPARE(file.linesAsRead(), (QHash<int, QString>{{1, "001-0"}, {2, "002-7"}}));
        QCOMPARE(store.ReadWholeFile(path), QString("000-5\r\n001-42\r\n002-8\r\n\r\n"));
        // Unstamped reads and writes give none.
        NumberFile plain(store, path);
        QVERIFY(plain.readStamp().isEmpty());
        QVERIFY(plain.add("000", 1));
        QVERIFY(plain.save(store));
        QVERIFY(plain.savedStamp().isEmpty());
        QVERIFY(plain.linesAsRead().isEmpty());
        // A failed write gives no stamp.
        QByteArray stamp = "x";
        QVERIFY(!store.writeExact(dir.filePath("no/such/folder.gif"), "1", &stamp));
        QVERIFY(stamp.isEmpty());
#endif
    }

    // The journal of the watch names what changed since a position, or says it cannot tell.
    void watchJournalTellsWhatChanged()
    {
#ifndef Q_OS_LINUX
        QSKIP("this system gives no notices of changes");
#else
        QTemporaryDir dir;
        const QString folder = dir.path() + "/book";
        QVERIFY(QDir().mkpath(folder));
        auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile f(folder + "/" + name);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        };
        FolderWatch watch(folder);
        const quint64 start = watch.journalEnd();
        write("1_1.gif", "a");
        write("2_1.gif", "b");
        const std::optional<QStringList> both = watch.changedSince(start);
        QVERIFY(both);
        QCOMPARE(QSet<QString>(both->begin(), both->end()), QSet<QString>({"1_1.gif", "2_1.gif"}));
        const quint64 mid = watch.journalEnd();
        QCOMPARE(watch.changedSince(mid), QStringList());
        write("1_1.gif", "c");
        QCOMPARE(watch.changedSince(mid), QStringList({"1_1.gif"}));
        QVERIFY(!watch.changedSince(watch.journalEnd() + 1)); // a position not yet handed out
        QVERIFY(FolderWatch(folder).id() != watch.id());

        // A reader too far behind: the oldest names are gone, so everything must be looked at.
        for (int i = 0; i < 5000; ++i) {
            write("x.gif", QByteArray::number(i));
            watch.journalEnd();
        }
        QVERIFY(!watch.changedSince(mid));
        // The folder removed and made again: the watch lists it afresh, and no earlier position tells.
        const quint64 before = watch.journalEnd();
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(QDir().mkpath(folder));
        write("d.gif", "1");
        QVERIFY(!watch.changedSince(before));
        const quint64 after = watch.journalEnd();
        write("d.gif", "2");
        QCOMPARE(watch.changedSince(after), QStringList({"d.gif"}));
#endif
    }

    // Before every entry the creation sequence makes sure every file of the book holds content. It
    // looks at them all only when something may have gone: a file removed or emptied, another
    // customer list, a folder listed anew. An entry's own writes take nothing away.
    void creationSequenceLooksAgainOnlyAfterALoss()
    {
        TempBook book;
        Store& store = *book.store;
        QVERIFY(store.creationSequence("x").isEmpty());
        const quint64 first = store.fullChecks();
        auto check = [&](const QString& customer, quint64 more) {
            QVERIFY(store.creationSequence(customer).isEmpty());
#ifdef Q_OS_LINUX
            QCOMPARE(store.fullChecks(), first + more);
#else
            Q_UNUSED(more);
#endif
        };
        check("x", 0);
        {
            EntryBatch batch(store, "x");
            batch.addBet("123", "50", "3ตัวตรง");
            QCOMPARE(batch.commit().changes.size(), 1);
        }
        check("x", 0);
        book.put("4_1.gif", ""); // emptied in place by another program
        check("x", 1);
        QCOMPARE(book.text("4_1.gif"), InitialContent("คู่โต๊ด") + "\r\n");
        QVERIFY(QFile::remove(book.file("a-_3.gif")));
        check("x", 2);
        QVERIFY(QFile::exists(book.file("a-_3.gif")));
        check("y", 3);
        QVERIFY(QFile::exists(book.file("11_2.gif")));
        book.put("custom.gif", "#x#y#z#\r\n");
        check("x", 4);
        QVERIFY(QFile::exists(book.file("11_3.gif")));
        check("z", 4);
        QCOMPARE(book.text("0_1.gif").section("\r\n", 123, 123), QString("123-50"));
    }

    // What a typed or pasted name becomes, and whether the book takes it.
    void customerNameRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal"); // how the refusal line begins, "" when the name is taken
        const QString taken;
        QTest::newRow("plain Thai name") << u"สมชาย"_s << u"สมชาย"_s << taken;
        QTest::newRow("zero-width space") << u"somchai\u200B"_s << u"somchai"_s << taken;
        QTest::newRow("bidi override") << u"\u202Esomchai\u202C"_s << u"somchai"_s << taken;
        QTest::newRow("byte-order mark and soft hyphen") << u"\uFEFFsom\u00ADchai"_s << u"somchai"_s << taken;
        QTest::newRow("tag character beyond the BMP") << u"somchai\U000E0041"_s << u"somchai"_s << taken;
        // Sara u before mai tho: the order every keyboard gives, however the marks were typed.
        QTest::newRow("Thai marks out of order") << u"ก\u0E49\u0E38"_s << u"ก\u0E38\u0E49"_s << taken;
        QTest::newRow("singleton that composes to ASCII") << u"a\u037Eb"_s << u"a;b"_s << taken;
        QTest::newRow("decomposed Latin") << u"cafe\u0301"_s << u"caf\u00E9"_s << NameUnwritableText + u"\u00E9"_s;
        QTest::newRow("Chinese") << u"李四"_s << u"李四"_s << NameUnwritableText + u"李 四"_s;
        QTest::newRow("emoji") << u"a\U0001F600"_s << u"a\U0001F600"_s << NameUnwritableText + u"\U0001F600"_s;
        QTest::newRow("full-width letters") << u"ｓｏｍ"_s << u"ｓｏｍ"_s << NameUnwritableText + u"ｓ ｏ ｍ"_s;
        QTest::newRow("bell") << u"a\u0007b"_s << u"a\u0007b"_s << NameControlText + u"U+0007"_s;
        QTest::newRow("lone line feed") << u"som\nchai"_s << u"som\nchai"_s << NameControlText + u"U+000A"_s;
        QTest::newRow("all-customers choice") << u"ทั้งหมด"_s << u"ทั้งหมด"_s << NameAllChoiceText;
        QTest::newRow("all-customers choice in disguise") << u"ทั้ง \u200Bหมด"_s << u"ทั้งหมด"_s << NameAllChoiceText;
    }
    void customerNameRule()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QCOMPARE(customerName(typed), name);
        QCOMPARE(customerName(name), name);
        QCOMPARE(customerNameRefusal(name), refusal);
        // Every way a customer is added stores nothing under a refused name, and says so.
        TempBook book;
        QVERIFY(book.store->creationSequence("x").isEmpty());
        const QStringList before = QDir(book.folder()).entryList(QDir::Files);
        const QByteArray list = book.bytes("custom.gif");
        const QStringList created = book.store->creationSequence(name);
        const NameEntry entered = AddCustomerName(*book.store, typed);
        if (refusal.isEmpty()) {
            QVERIFY(created.isEmpty());
            QVERIFY(book.store->customers().contains(name));
            QCOMPARE(entered.text1, DuplicateNameText);
            return;
        }
        QCOMPARE(created, QStringList{refusal});
        QCOMPARE(book.store->AddCustomer(name), QStringList{refusal});
        QCOMPARE(entered.lines, QStringList{refusal});
        QCOMPARE(book.bytes("custom.gif"), list);
        QCOMPARE(QDir(book.folder()).entryList(QDir::Files), before);
    }

    void thaiBytesAreWindows874()
    {
        TempBook book;
        QVERIFY(Store::codecAvailable());
        book.store->AddCustomer("สมชาย");
        QCOMPARE(book.bytes("custom.gif"), QByteArray("#\xCA\xC1\xAA\xD2\xC2#\r\n"));
        QCOMPARE(book.store->customers(), QStringList({"สมชาย"}));
    }

    void paths()
    {
        TempBook book;
        book.store->AddCustomer("x");
        book.store->AddCustomer("somchai");
        QCOMPARE(Store::fileName(book.store->StakeFilePath("4ตัวโต๊ด", "somchai")), QString("10_2.gif"));
        QCOMPARE(book.store->StakeFilePath("ทั้งหมด", "x"), QString());
        QCOMPARE(book.store->StakeFilePath("3ตัวตรง", "nobody"), QString());
        QCOMPARE(Store::fileName(book.store->TypeFilePath("3ตัวตรง", "a-")), QString("a-_0.gif"));
        QCOMPARE(Store::fileName(book.store->TypeFilePath("5ตัวโต๊ด", "b")), QString("b_11.gif"));
        QCOMPARE(book.store->TypeFilePath("", "b"), QString());
        QCOMPARE(book.store->TypeFilePath("3ตัวตรง", ""), QString());
        QCOMPARE(book.store->TypeFilePath("junk", "b"), QString());
        // An emptied place in the customer list keeps the later customers' indexes.
        book.put("custom.gif", "#a##c#\r\n");
        QCOMPARE(Store::fileName(book.store->StakeFilePath("3ตัวตรง", "c")), QString("0_3.gif"));
        QCOMPARE(Store::customerIndexes("#a##c#"), QList<int>({1, 3}));
    }

    // A list edited by hand may name a customer twice: every place of his is his, new stakes go to
    // his last place, and the list says which names stand twice. Blanks and case do not make
    // another name, as they do not in the file names.
    void placesOfANameListedTwice_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QList<int>>("everyPlace");
        QTest::addColumn<QList<int>>("entryPlaces");
        QTest::addColumn<QList<int>>("placesOfA");
        QTest::addColumn<QStringList>("customers");
        QTest::addColumn<QStringList>("listedTwice");
        using L = QList<int>;
        using N = QStringList;
        QTest::newRow("each once") << "#a#b#c#" << L{1, 2, 3} << L{1, 2, 3} << L{1} << N{"a", "b", "c"} << N{};
        QTest::newRow("a twice") << "#a#b#a#" << L{1, 2, 3} << L{2, 3} << L{1, 3} << N{"a", "b"} << N{"a"};
        QTest::newRow("three times, a gap")
            << "#a##a#b#a#" << L{1, 3, 4, 5} << L{4, 5} << L{1, 3, 5} << N{"a", "b"} << N{"a"};
        QTest::newRow("case and blanks") << "#a#b# A #B#" << L{1, 2, 3, 4} << L{3, 4} << L{1, 3} << N{"a", "b"}
                                         << N{"a", "b"};
        QTest::newRow("unclosed last piece") << "#b#a" << L{1} << L{1} << L{} << N{"b", "a"} << N{};
        QTest::newRow("empty") << "" << L{} << L{} << L{} << N{} << N{};
    }
    void placesOfANameListedTwice()
    {
        QFETCH(QString, list);
        QFETCH(QList<int>, everyPlace);
        QFETCH(QList<int>, entryPlaces);
        QFETCH(QList<int>, placesOfA);
        QFETCH(QStringList, customers);
        QFETCH(QStringList, listedTwice);
        TempBook book;
        book.put("custom.gif", list + "\r\n");
        QCOMPARE(Store::customerIndexes(list), everyPlace);
        QCOMPARE(Store::entryIndexes(list), entryPlaces);
        QCOMPARE(book.store->customerPlaces("a"), placesOfA);
        QCOMPARE(book.store->customers(), customers);
        QCOMPARE(book.store->customersListedTwice(), listedTwice);
        // The place a new stake goes to is the one the file names use.
        const QString entry = book.store->customerIndex("a");
        QCOMPARE(entry.isEmpty() ? -1 : entry.toInt(), placesOfA.isEmpty() ? -1 : placesOfA.last());
        QStringList paths;
        for (int c : placesOfA)
            paths << book.store->stakeFilePathAt(3, c);
        QCOMPARE(book.store->stakeFilePaths("2ตัวบน", "a"), paths);
        QVERIFY(book.store->stakeFilePaths("ทั้งหมด", "a").isEmpty());
        // Names and places come in the order the names first stand.
        QStringList named;
        QList<int> all;
        for (const auto& [name, places] : Store::customerPlacesByName(list)) {
            named << name;
            all += places;
        }
        std::sort(all.begin(), all.end());
        QCOMPARE(all, everyPlace);
        QCOMPARE(QSet<QString>(named.cbegin(), named.cend()).size(), named.size());
    }

    void lookupKeyed()
    {
        TempBook book;
        book.put("lotto2.gif", "3ตัวตรง#500\r\njunk line\r\n2ตัวบน#1000"); // the last line has no line end
        QCOMPARE(book.store->LookupKeyed(book.file("lotto2.gif"), "3ตัวตรง"), QString("500"));
        QCOMPARE(book.store->LookupKeyed(book.file("lotto2.gif"), "2ตัวบน"), QString("1000"));
        QCOMPARE(book.store->LookupKeyed(book.file("lotto2.gif"), "วิ่งบน"), QString());
        QCOMPARE(book.store->LookupKeyed(book.file("missing.gif"), "3ตัวตรง"), QString());
        QCOMPARE(book.store->LookupKeyed(QString(), "3ตัวตรง"), QString());
    }

    void failedWritesAreReportedAndNothingIsReplaced()
    {
        if (geteuid() == 0) QSKIP("root ignores file permissions");
        TempBook book;
        book.store->creationSequence("x");
        QFile::setPermissions(book.folder(), QFile::ReadOwner | QFile::ExeOwner);
        const QStringList failures = book.store->creationSequence("somchai");
        QFile::setPermissions(book.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!failures.isEmpty());
        QVERIFY(failures.first().startsWith(WriteFailedText));
        QCOMPARE(book.text("custom.gif"), QString("#x#\r\n"));
    }

    void aWriteThatCannotHappenIsNeverSuccess()
    {
        TempBook book;
        QDir(book.folder()).mkdir("0_1.gif"); // a folder where the file should be: no write can succeed
        QVERIFY(!book.store->WriteWholeFile(book.file("0_1.gif"), "000-0"));
        book.store->AddCustomer("x");
        const QStringList failures = book.store->EnsureStakeFiles();
        QVERIFY(failures.contains(WriteFailedText + "0_1.gif") || failures.contains(ReadFailedText + "0_1.gif"));
    }

    void unreadableStakeFileIsNeverReplaced()
    {
        if (geteuid() == 0) QSKIP("root ignores file permissions");
        TempBook book;
        book.store->creationSequence("x");
        book.put("0_1.gif", "000-7\r\n");
        QFile::setPermissions(book.file("0_1.gif"), QFileDevice::Permissions());
        const QStringList failures = book.store->creationSequence("x");
        QFile::setPermissions(book.file("0_1.gif"), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(failures, QStringList({ReadFailedText + "0_1.gif"}));
        QCOMPARE(book.bytes("0_1.gif"), QByteArray("000-7\r\n"));
    }

    void numberFileKeepsItsForm()
    {
        TempBook book;
        book.store->creationSequence("x");
        NumberFile f(*book.store, book.file("0_1.gif"));
        QCOMPARE(f.width(), 3);
        QVERIFY(f.add("123", 100));
        QVERIFY(f.add("123", 50));
        QVERIFY(!f.add("12", 5));
        QVERIFY(f.save(*book.store));
        NumberFile again(*book.store, book.file("0_1.gif"));
        again.add("999", 1);
        again.save(*book.store);
        const QByteArray bytes = book.bytes("0_1.gif");
        QVERIFY(bytes.contains("\r\n123-150\r\n"));
        QVERIFY(bytes.endsWith("999-1\r\n\r\n"));
        QCOMPARE(bytes.size(), cp874(InitialContent("3ตัวตรง") + "\r\n").size() + 2);
    }

    // The width is that of the first line holding a number, blanks around it left aside.
    void numberFileWidthIsThatOfItsFirstNumberLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("plain") << "000-0\r\n001-0\r\n\r\n" << 3;
        QTest::newRow("blanks around the number") << " \t00 -0\r\n01-0\r\n" << 2;
        QTest::newRow("empty lines first") << "\r\n\n\r\n00000-0\r\n" << 5;
        QTest::newRow("a line of blanks first") << "   \r\n00-0\r\n" << 2;
        QTest::newRow("a word first") << "ยอดรวม\r\n000-0\r\n" << 3;
        QTest::newRow("a word with a dash first") << "total-5\r\n-7\r\n1 2-0\r\n00-0\r\n" << 2;
        QTest::newRow("no number line") << "junk\r\n-5\r\n" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void numberFileWidthIsThatOfItsFirstNumberLine()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QCOMPARE(NumberFile::fromText(text).width(), width);
    }

    void creationSequenceIsCheapOnceFilesExist()
    {
        TempBook book;
        bench::makeBook(book.folder(), bench::BookSize{200});
        book.store->creationSequence("c1");
        // The fastest of ten runs: what the code costs, not what a busy machine adds.
        qint64 best = std::numeric_limits<qint64>::max();
        for (int i = 0; i < 10; ++i) {
            QElapsedTimer timer;
            timer.start();
            book.store->creationSequence("c1");
            best = std::min(best, timer.elapsed());
        }
        qInfo("creation sequence with 200 customers: %lld ms", best);
        QVERIFY2(best < timeLimit(30), "the creation sequence reads files it only needs to list");
    }

    void dataFolderChoice()
    {
        QTemporaryDir program, user;
        QCOMPARE(chooseDataFolder(program.path(), QString(), user.path()), QDir(program.path()).filePath("picture_1"));
        QCOMPARE(chooseDataFolder(program.path(), "/some/where", user.path()), QString("/some/where"));
        // A program folder at a root with a trailing separator gives one level below it.
        QCOMPARE(chooseDataFolder(program.path() + "/", QString(), user.path()),
                 QDir(program.path()).filePath("picture_1"));
        if (geteuid() != 0) {
            QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
            QCOMPARE(chooseDataFolder(program.path(), QString(), user.path()), QDir(user.path()).filePath("picture_1"));
            QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
#ifdef Q_OS_UNIX
        // The installed program keeps the data per user, even for root; nothing is made in /usr/bin.
        QCOMPARE(chooseDataFolder("/usr/bin", QString(), user.path()), QDir(user.path()).filePath("picture_1"));
        QVERIFY(!QFileInfo::exists("/usr/bin/picture_1"));
#endif
    }

    void oneRunningCopyPerFolder()
    {
        QTemporaryDir dir;
        QLockFile first(QDir(dir.path()).filePath(LockFileName));
        QVERIFY(first.tryLock(0));
        QLockFile second(QDir(dir.path()).filePath(LockFileName));
        QVERIFY(!second.tryLock(0));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
