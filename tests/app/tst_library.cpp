// Opening a book by its id, one copy of the program at a time, and what the windows read of it: the
// book's totals kept per file stay those of a full read after each change.
#include "app/Ledger.h"
#include "app/bookreader.h"
#include "app/library.h"
#include "entry/entry.h"
#include "gui/main/session.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Two = QStringLiteral("2ตัวบน");
const QString Three = QStringLiteral("3ตัวตรง");

void enter(Ledger& ledger, const QString& type, const QString& customer, const QString& number,
           const QString& amount)
{
    QVERIFY(ledger.prepareCustomer(customer).ok());
    const EntryResult r = ledger.enterPlan(planFieldEntry({}, number, amount, type, customer).plan, customer);
    QVERIFY(!r.changes.isEmpty());
}

} // namespace

class TestLibrary : public QObject
{
    Q_OBJECT
private slots:
    void idsNameFolders()
    {
        QCOMPARE(Library::folderOf(QStringLiteral("folder:/srv/book")), QStringLiteral("/srv/book"));
        QCOMPARE(Library::folderOf(QStringLiteral("/srv/book")), QStringLiteral("/srv/book"));
        QCOMPARE(Library::folderOf(QStringLiteral("C:/Varnoth/picture_1")), QStringLiteral("C:/Varnoth/picture_1"));
        QCOMPARE(Library::folderOf(Library::folderId(QStringLiteral("/a b/ก"))), QStringLiteral("/a b/ก"));
        // Another kind of book is never taken for a folder of that name.
        QVERIFY(Library::folderOf(QStringLiteral("postgresql://seat@shop/book")).isEmpty());
        QVERIFY(Library::folderOf(QString()).isEmpty());
        QCOMPARE(Library::open(QStringLiteral("postgresql://seat@shop/book")).status, OpenStatus::UnknownKind);
    }

    void oneCopyOpensABook()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("picture_1"));
        {
            OpenedBook first = Library::open(Library::folderId(folder));
            QCOMPARE(first.status, OpenStatus::Opened);
            QVERIFY(QFileInfo(folder).isDir());
            QVERIFY(first.book->folder().endsWith(QLatin1Char('/')));
            QVERIFY(!first.book->started());
            OpenedBook second = Library::open(folder);
            QCOMPARE(second.status, OpenStatus::AlreadyOpen);
            QVERIFY(!second.book);
            ReportState state;
            Ledger& ledger = first.book->start(state);
            QCOMPARE(&first.book->start(state), &ledger); // started once
        }
        // The lock goes with the book.
        QCOMPARE(Library::open(folder).status, OpenStatus::Opened);
    }

    void aFileWhereTheFolderShouldBeIsRefused()
    {
        QTemporaryDir dir;
        const QString place = dir.filePath(QStringLiteral("picture_1"));
        QFile file(place);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
        file.close();
        const OpenedBook opened = Library::open(Library::folderId(place));
        QCOMPARE(opened.status, OpenStatus::FolderUnusable);
        QCOMPARE(opened.where, place);
        QVERIFY(!opened.book);
        QFile kept(place);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("not a folder"));
    }

    // The totals the main window shows are kept per file and read again only where a change was
    // made: after every change they must be those of a full read.
    void keptTotalsFollowEachChange()
    {
        QTemporaryDir dir;
        OpenedBook opened = Library::open(dir.filePath(QStringLiteral("picture_1")));
        QCOMPARE(opened.status, OpenStatus::Opened);
        Session session;
        Ledger& ledger = opened.book->start(session);
        BookReader& book = ledger.reader();
        enter(ledger, Two, QStringLiteral("somchai"), QStringLiteral("12"), QStringLiteral("100"));
        enter(ledger, Three, QStringLiteral("malee"), QStringLiteral("123"), QStringLiteral("40"));
        const StakeTotals before = book.overallTotals();
        QCOMPARE(before.total, 140.0);

        struct Step {
            QString type, customer, number, amount;
        };
        const QList<Step> steps{{Two, QStringLiteral("somchai"), QStringLiteral("34"), QStringLiteral("60")},
                                {Three, QStringLiteral("somchai"), QStringLiteral("555"), QStringLiteral("5")},
                                {Three, QStringLiteral("malee"), QStringLiteral("124"), QStringLiteral("15")},
                                {Two, QStringLiteral("wichai"), QStringLiteral("99"), QStringLiteral("7")}};
        for (const Step& s : steps) {
            enter(ledger, s.type, s.customer, s.number, s.amount);
            const StakeTotals kept = book.overallTotalsAfter({s.type}, s.customer);
            // A full read, by a reader that knows nothing yet.
            BookReader fresh(opened.book->store(), ledger.auditLogPath(), ledger.auditKey());
            const StakeTotals full = fresh.overallTotals();
            QCOMPARE(kept.count, full.count);
            QCOMPARE(kept.total, full.total);
        }
        QCOMPARE(book.overallTotals().total, 140.0 + 60 + 5 + 15 + 7);
        // A change the reader was not told of in full (a customer it cannot place) reads everything.
        QCOMPARE(book.overallTotalsAfter({Two}, QStringLiteral("nobody")).total, 227.0);
    }

    // What shows the book follows a change made by another program.
    void anOutsideChangeIsTold()
    {
        TempBook b;
        Session session;
        Ledger ledger(*b.store, session);
        ledger.followBook();
        ledger.followBook(); // once is enough, twice does no harm
        QSignalSpy touched(&ledger, &Ledger::bookTouched);
        b.stake(Two, QStringLiteral("somchai"), QStringLiteral("12"), 100);
        QVERIFY(touched.wait(2000));
    }
};

QTEST_GUILESS_MAIN(TestLibrary)
#include "tst_library.moc"
