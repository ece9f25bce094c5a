// The application layer: every step it keeps can be taken back and done again to the byte, a step
// that can no longer be taken back changes nothing and stays, and the signals follow the changes.
#include "app/Ledger.h"
#include "app/ledgertexts.h"
#include "entry/gates.h"
#include "entry/undo.h"
#include "reports/overlimit.h"
#include "store/session.h"
#include "store/store.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Two = QStringLiteral("2ตัวบน");
const QString Somchai = QStringLiteral("somchai");

struct Fixture {
    TempBook book;
    Session session;
    Ledger ledger{*book.store, session};

    Fixture() { ledger.prepareCustomer(Somchai); }
    EntryResult enter(const QString& number, const QString& amount)
    {
        return ledger.enterPlan(planFieldEntry({}, number, amount, Two, Somchai).plan, Somchai);
    }
    QString stakeFile() const { return Store::fileName(book.store->StakeFilePath(Two, Somchai)); }
};

} // namespace

class TestLedger : public QObject
{
    Q_OBJECT
private slots:
    void entryIsTakenBackAndDoneAgainToTheByte()
    {
        Fixture f;
        const auto empty = folderBytes(f.book.folder());
        QSignalSpy changed(&f.ledger, &Ledger::bookChanged);
        f.enter("12", "100");
        f.enter("34", "50+20"); // a paired amount: two bets, one step
        QCOMPARE(changed.count(), 2);
        const auto entered = folderBytes(f.book.folder());
        QCOMPARE(f.ledger.undoStack().undoText(), EntryStepText + "34-50" + MoreBetsText.arg(1));

        QVERIFY(f.ledger.undo().last().endsWith(TakenBackText));
        QVERIFY(f.ledger.undo().last().endsWith(TakenBackText));
        QCOMPARE(folderBytes(f.book.folder()), empty);
        QCOMPARE(f.ledger.undo(), QStringList{NothingToTakeBackText});

        QVERIFY(f.ledger.redo().last().endsWith(PutBackText));
        QVERIFY(f.ledger.redo().last().endsWith(PutBackText));
        QCOMPARE(folderBytes(f.book.folder()), entered);
        QCOMPARE(f.ledger.redo(), QStringList{NothingToDoAgainText});
        QCOMPARE(changed.count(), 6);
    }

    void aStepThatCannotBeTakenBackStays()
    {
        Fixture f;
        f.enter("12", "100");
        // The line was lowered by hand since: taking back 100 would leave it below 0.
        QByteArray bytes = f.book.bytes(f.stakeFile());
        bytes.replace("12-100", "12-40");
        QFile file(f.book.file(f.stakeFile()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const auto before = folderBytes(f.book.folder());

        const QStringList lines = f.ledger.undo();
        QVERIFY(lines.first().startsWith(CannotTakeBackText));
        QCOMPARE(folderBytes(f.book.folder()), before);
        QVERIFY(f.ledger.undoStack().canUndo());
        QVERIFY(!f.ledger.undoStack().canRedo());
        QCOMPARE(f.ledger.undoStack().index(), 1);
    }

    void recordEditAndDeleteComeBack()
    {
        Fixture f;
        f.enter("12", "100");
        const auto entered = folderBytes(f.book.folder());
        RecordRequest edit{"12", "250", Two, Somchai, "12", "100"};
        QVERIFY(f.ledger.editRecord(edit).written);
        const auto edited = folderBytes(f.book.folder());
        QCOMPARE(f.ledger.undoStack().undoText(), EditStepText + "12-250");
        RecordRequest remove{"12", "250", Two, Somchai, "12", "250"};
        QVERIFY(f.ledger.deleteRecord(remove).written);

        f.ledger.undo();
        QCOMPARE(folderBytes(f.book.folder()), edited);
        f.ledger.undo();
        QCOMPARE(folderBytes(f.book.folder()), entered);
        f.ledger.redo();
        QCOMPARE(folderBytes(f.book.folder()), edited);

        // A file changed behind the step's back: nothing is put over it.
        f.book.put(f.stakeFile(), f.book.text(f.stakeFile()).replace("12-250", "12-251"));
        const auto handEdited = folderBytes(f.book.folder());
        QVERIFY(f.ledger.undo().first().startsWith(ChangedSinceText));
        QCOMPARE(folderBytes(f.book.folder()), handEdited);
        QCOMPARE(f.ledger.undoStack().index(), 2);
    }

    void sendOutListSaveAndDeleteComeBack()
    {
        Fixture f;
        f.book.put("lotto2.gif", Two + "#100\r\n");
        f.enter("12", "300");
        OverLimit(*f.book.store, f.session, Two, false);
        QVERIFY(!f.session.SendOutData.isEmpty());
        const auto reported = folderBytes(f.book.folder());
        QSignalSpy history(&f.ledger, &Ledger::historyChanged);

        QVERIFY(f.ledger.saveSendOutList("evening").saved);
        const auto saved = folderBytes(f.book.folder());
        QVERIFY(saved != reported);
        f.ledger.deleteSavedList("evening");
        QCOMPARE(f.ledger.undoStack().undoText(), DeleteListStepText + "evening");

        f.ledger.undo();
        QCOMPARE(folderBytes(f.book.folder()), saved);
        f.ledger.undo();
        QCOMPARE(folderBytes(f.book.folder()), reported);
        f.ledger.redo();
        QCOMPARE(folderBytes(f.book.folder()), saved);
        QCOMPARE(history.count(), 5);
    }

    // The core's long loops report through the ledger: a backup moves the bar and then hides it,
    // and a ledger that is gone leaves the store with no progress of its own.
    void progressIsHeardThroughTheLedger()
    {
        TempBook book;
        Session session;
        const Progress* ledgers = nullptr;
        {
            Ledger ledger(*book.store, session);
            ledgers = &ledger.progress();
            ledger.prepareCustomer(Somchai);
            QSignalSpy steps(&ledger, &Ledger::progressStep);
            QSignalSpy hidden(&ledger, &Ledger::progressHidden);
            QTemporaryDir drive;
            QCOMPARE(ledger.backup(drive.path()).outcome.status, Status::Ok);
            QVERIFY(steps.count() > 0);
            for (const QList<QVariant>& step : steps)
                QVERIFY(step.at(0).toInt() >= 0 && step.at(0).toInt() <= 20);
            QVERIFY(hidden.count() > 0);
            QCOMPARE(&book.store->progress(), &ledger.progress());
        }
        QVERIFY(&book.store->progress() != ledgers);
        book.store->progress().tick(10); // the store's own silent progress: nothing left dangling
    }

    void newDrawLeavesNothingToTakeBack()
    {
        Fixture f;
        f.enter("12", "100");
        f.ledger.newDraw();
        QVERIFY(!f.ledger.undoStack().canUndo());
        QCOMPARE(f.ledger.undo(), QStringList{NothingToTakeBackText});
    }
};

QTEST_GUILESS_MAIN(TestLedger)
#include "tst_ledger.moc"
