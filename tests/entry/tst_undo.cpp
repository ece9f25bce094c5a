#include "core/model/types.h"
#include "entry/entry.h"
#include "entry/sheet.h"
#include "entry/undo.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

EntryResult enter(Store& store, const QString& customer, const QStringList& lines, const QString& type)
{
    EntryBatch batch(store, customer);
    for (const QString& l : lines)
        batch.addLine(l, type, false);
    return batch.commit();
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT
private slots:
    // Each kind of entry, taken back, leaves every file byte for byte as it was before it.
    void takingBackRestoresTheFiles_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("bets");
        QTest::newRow("single") << QStringList{"123-100"} << "3ตัวตรง" << 1;
        QTest::newRow("271 gates") << QStringList{"5+271-10"} << "3ตัวตรง" << 0; // not a line code: nothing
        QTest::newRow("19 gates") << QStringList{"5+19-40"} << "2ตัวบน" << 19;
        QTest::newRow("paired") << QStringList{"123-100+50"} << "3ตัวตรง" << 2;
        QTest::newRow("palindrome twice") << QStringList{"121+2-30"} << "3ตัวตรง" << 2;
        QTest::newRow("sheet") << QStringList{"554-100", "358+6-10", "771+2-30", "12-50"} << "3ตัวตรง" << 9;
    }
    void takingBackRestoresTheFiles()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, type);
        QFETCH(int, bets);
        TempBook book;
        book.store->creationSequence("x");
        enter(*book.store, "x", {"123-7"}, "3ตัวตรง"); // something already there stays
        const auto before = folderBytes(book.folder());
        const EntryResult entry = enter(*book.store, "x", lines, type);
        QCOMPARE(entry.changes.size(), bets);
        EntryHistory history;
        history.record(entry);
        const UndoResult r = history.undoLast(*book.store);
        if (bets == 0) {
            QCOMPARE(r.lines, QStringList({NothingToTakeBackText}));
            return;
        }
        QVERIFY(r.done);
        QCOMPARE(r.lines.size(), bets);
        QVERIFY(r.lines.first().endsWith(TakenBackText));
        QCOMPARE(folderBytes(book.folder()), before);
        QVERIFY(history.isEmpty());
    }

    void theGateListOfTheNumberFieldIsTakenBackWhole()
    {
        TempBook book;
        book.store->creationSequence("x");
        const auto before = folderBytes(book.folder());
        const FieldEntry field = planFieldEntry(GatesContaining("5", 3), "5+271", "10", "3ตัวตรง", "x");
        EntryBatch batch(*book.store, "x");
        batch.addPlan(field.plan, false);
        const EntryResult entry = batch.commit();
        QCOMPARE(entry.changes.size(), 271);
        QVERIFY(takeBack(*book.store, entry).done);
        QCOMPARE(folderBytes(book.folder()), before);
    }

    void entriesGoBackNewestFirst()
    {
        TempBook book;
        book.store->creationSequence("x");
        const auto empty = folderBytes(book.folder());
        EntryHistory history;
        history.record(enter(*book.store, "x", {"123-100"}, "3ตัวตรง"));
        const auto afterFirst = folderBytes(book.folder());
        history.record(enter(*book.store, "x", {"123-50", "45-5"}, "3ตัวตรง"));
        QVERIFY(history.undoLast(*book.store).done);
        QCOMPARE(folderBytes(book.folder()), afterFirst);
        QVERIFY(history.undoLast(*book.store).done);
        QCOMPARE(folderBytes(book.folder()), empty);
        QCOMPARE(history.undoLast(*book.store).lines, QStringList({NothingToTakeBackText}));
    }

    void refusedWhenALineNowHoldsLess()
    {
        TempBook book;
        book.store->creationSequence("x");
        EntryHistory history;
        history.record(enter(*book.store, "x", {"123-100", "456-20"}, "3ตัวตรง"));
        // The operator edited 123 down to 60 since.
        QString stake = book.text("0_1.gif");
        stake.replace("\r\n123-100\r\n", "\r\n123-60\r\n");
        book.put("0_1.gif", stake);
        const auto before = folderBytes(book.folder());
        const UndoResult r = history.undoLast(*book.store);
        QVERIFY(!r.done);
        QCOMPARE(r.lines.size(), 1);
        QVERIFY(r.lines.first().startsWith(CannotTakeBackText + "123"));
        QCOMPARE(folderBytes(book.folder()), before);
        QCOMPARE(history.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUndo)
#include "tst_undo.moc"
