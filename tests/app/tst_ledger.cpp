// The application layer: every step it keeps can be taken back and done again to the byte, a step
// that can no longer be taken back changes nothing and stays, and the signals follow the changes.
#include "app/Ledger.h"
#include "app/ledgertexts.h"
#include "core/model/customername.h"
#include "entry/chat.h"
#include "entry/gates.h"
#include "entry/undo.h"
#include "gui/main/session.h"
#include "reports/overlimit.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "settings/options.h"
#include "settings/resulttexts.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
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

        QVERIFY(f.ledger.undo().lines.last().endsWith(TakenBackText));
        QVERIFY(f.ledger.undo().lines.last().endsWith(TakenBackText));
        QCOMPARE(folderBytes(f.book.folder()), empty);
        QCOMPARE(f.ledger.undo().lines, QStringList{NothingToTakeBackText});

        QVERIFY(f.ledger.redo().lines.last().endsWith(PutBackText));
        QVERIFY(f.ledger.redo().lines.last().endsWith(PutBackText));
        QCOMPARE(folderBytes(f.book.folder()), entered);
        QCOMPARE(f.ledger.redo().lines, QStringList{NothingToDoAgainText});
        QCOMPARE(changed.count(), 6);
    }

    // Every step of the ledger that takes a customer name refuses one the book cannot take, with the
    // same line, and changes nothing: no customer, no bet, no own rate, no payment.
    void refusedNamesChangeNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Chinese") << QStringLiteral("李");
        QTest::newRow("control character") << QStringLiteral("a\u0001");
        QTest::newRow("all customers") << QStringLiteral("ทั้งหมด");
    }
    void refusedNamesChangeNothing()
    {
        QFETCH(QString, name);
        Fixture f;
        f.enter("12", "100");
        const auto before = folderBytes(f.book.folder());
        const QString refusal = customerNameRefusal(name);
        QVERIFY(!refusal.isEmpty());
        QCOMPARE(f.ledger.prepareCustomer(name).lines, QStringList{refusal});
        QCOMPARE(f.ledger.enterPlan(planFieldEntry({}, "12", "100", Two, name).plan, name).lines, QStringList{refusal});
        QCOMPARE(f.ledger.enterSheet("12-100", Two, name).lines, QStringList{refusal});
        QCOMPARE(f.ledger.enterChat({ChatBet{Two, "12", "100"}}, name).lines, QStringList{refusal});
        QCOMPARE(f.ledger.setCustomerRate(name, Two, "80", {}).refusal, refusal);
        QCOMPARE(f.ledger.recordPayment(name, "10", QDateTime::currentDateTime()).refusal, refusal);
        QCOMPARE(f.ledger.addCustomerName(name).lines, QStringList{refusal});
        QCOMPARE(folderBytes(f.book.folder()), before);
        QCOMPARE(f.book.store->customers(), QStringList{Somchai});
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

        const QStringList lines = f.ledger.undo().lines;
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
        QVERIFY(f.ledger.undo().lines.first().startsWith(ChangedSinceText));
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

    // The calls that tell only lines say what came of them as a status, and a status that is not Ok
    // changed nothing.
    void outcomesSayWhatHappened()
    {
        Fixture f;
        QCOMPARE(f.ledger.undo().outcome.status, Status::Refused);
        QCOMPARE(f.ledger.redo().outcome.status, Status::Refused);
        // "#" parts the names of the customer list: such a name would have listed two customers.
        QCOMPARE(f.ledger.prepareCustomer(QStringLiteral("a#b")).outcome.status, Status::UnsafeName);
        QCOMPARE(f.book.store->customers(), QStringList{Somchai});
        QCOMPARE(f.ledger.setOption(option::AmountCeiling, QStringLiteral("lots")).outcome.status, Status::Refused);
        QVERIFY(f.ledger.setOption(option::AmountCeiling, QStringLiteral("500")).ok());

        f.enter("12", "300");
        const auto entered = folderBytes(f.book.folder());
        const ChangeResult kept = f.ledger.removeCustomer(Somchai);
        QCOMPARE(kept.outcome.status, Status::HasStakes);
        QCOMPARE(kept.lines, QStringList{CustomerHasStakesText});
        QCOMPARE(folderBytes(f.book.folder()), entered);
        const ChangeResult back = f.ledger.undo();
        QVERIFY(back.ok());
        QVERIFY(back.lines.last().endsWith(TakenBackText));
        QVERIFY(f.ledger.redo().ok());

        // A send-out file that cannot be read: what was sent of its type cannot be taken back, so
        // the list, its name and the other types stay as they were.
        f.book.put("lotto2.gif", Two + "#100\r\n");
        OverLimit(*f.book.store, f.session, Two, false);
        QVERIFY(f.ledger.saveSendOutList("evening").saved);
        const QString sendOut = f.book.store->TypeFilePath(Two, Store::SendOutPrefix);
        const QByteArray sent = f.book.bytes(Store::fileName(sendOut));
        QVERIFY(QFile::remove(sendOut));
        QVERIFY(QDir().mkdir(sendOut));
        const auto listed = folderBytes(f.book.folder());
        const ChangeResult refused = f.ledger.deleteSavedList("evening");
        QCOMPARE(refused.outcome.status, Status::ReadFailed);
        QCOMPARE(refused.lines, QStringList{ReadFailedText + Store::fileName(sendOut)});
        QCOMPARE(folderBytes(f.book.folder()), listed);
        QVERIFY(QDir().rmdir(sendOut));
        QFile restored(sendOut);
        QVERIFY(restored.open(QIODevice::WriteOnly));
        QCOMPARE(restored.write(sent), sent.size());
        restored.close();
        QVERIFY(f.ledger.deleteSavedList("evening").ok());
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

    // A number keyed into the wrong box, or a box of the wrong width, is refused with the box named,
    // and the result saved before stays as it was.
    void drawnNumbersTakeOnlyTheirBoxesWidth_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QList<int>>("wrong"); // the boxes refused, none when the numbers are saved
        QTest::newRow("the whole draw") << QStringList{"123456", "111", "222", "333", "444", "56"} << QList<int>{};
        QTest::newRow("cleared") << QStringList{"", "", "", "", "", ""} << QList<int>{};
        QTest::newRow("first prize alone") << QStringList{"123456", "", "", "", "", ""} << QList<int>{};
        QTest::newRow("blanks and dashes cleaned")
            << QStringList{" 123 456", "1-11", "222", "333", "444", "5 6"} << QList<int>{};
        QTest::newRow("two-digit and three-digit boxes swapped")
            << QStringList{"123456", "78", "222", "333", "444", "123"} << QList<int>{1, 5};
        QTest::newRow("short first prize") << QStringList{"12345", "", "", "", "", "56"} << QList<int>{0};
        QTest::newRow("letter") << QStringList{"12345o", "", "", "", "", ""} << QList<int>{0};
        QTest::newRow("Thai digits") << QStringList{"123456", "", "", "", "", "๕๖"} << QList<int>{5};
        QTest::newRow("a lower number left out")
            << QStringList{"123456", "111", "", "333", "444", "56"} << QList<int>{2};
    }
    void drawnNumbersTakeOnlyTheirBoxesWidth()
    {
        QFETCH(QStringList, fields);
        QFETCH(QList<int>, wrong);
        Fixture f;
        f.book.put("lotto3.gif", "654321#555#666#777#888#21#\r\n3ตัวตรง#321-\r\n");
        const QByteArray before = f.book.bytes("lotto3.gif");
        DrawnNumbers drawn;
        for (int i = 0; i < 6; ++i)
            drawn[i] = fields[i];
        const QStringList lines = f.ledger.saveResult(drawn).lines;
        const ResultCheck check = checkDrawnNumbers(drawn);
        QCOMPARE(check.boxes, wrong);
        if (wrong.isEmpty()) {
            QCOMPARE(lines, QStringList());
            QCOMPARE(f.book.bytes("lotto3.gif"), cp874(resultFileText(drawn) + "\r\n"));
            return;
        }
        QCOMPARE(lines, check.lines);
        QCOMPARE(lines.size(), wrong.size() + 1);
        QCOMPARE(lines.last(), ResultNotSavedText);
        for (int i = 0; i < wrong.size(); ++i) {
            const int box = wrong[i];
            const QString name = box == 0 ? FirstPrizeBoxText : box == 5 ? LowerTwoBoxText : LowerThreeBoxText.arg(box);
            QVERIFY2(lines[i].startsWith(name), qPrintable(lines[i]));
        }
        QCOMPARE(f.book.bytes("lotto3.gif"), before);
    }

    // Once the drawn numbers are saved, no way in stores a bet unless the operator allowed it: a
    // refused entry leaves the whole folder as it was (not even a new customer is made).
    void betsAfterTheResultNeedTheOperatorsWord_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("main window") << "plan";
        QTest::newRow("sheet") << "sheet";
        QTest::newRow("chat paste, new customer") << "chat";
    }
    void betsAfterTheResultNeedTheOperatorsWord()
    {
        QFETCH(QString, path);
        Fixture f;
        const auto enter = [&](bool allowed) {
            if (path == "plan")
                return f.ledger.enterPlan(planFieldEntry({}, "56", "10", Two, Somchai).plan, Somchai, false, allowed);
            if (path == "sheet") return f.ledger.enterSheet("56-10\r\n", Two, Somchai, allowed);
            return f.ledger.enterChat({ChatBet{Two, "56", "10"}}, "somsak", allowed);
        };
        QCOMPARE(f.ledger.afterResultQuestion(), QString());
        QCOMPARE(enter(false).changes.size(), 1);
        QVERIFY(f.ledger.saveResult({"123456", "", "", "", "", "78"}).ok());
        QVERIFY(f.ledger.afterResultQuestion().contains("123456"));

        const auto before = folderBytes(f.book.folder());
        const int steps = f.ledger.undoStack().count();
        const EntryResult refused = enter(false);
        QCOMPARE(refused.lines, QStringList{AfterResultRefusedText});
        QVERIFY(refused.changes.isEmpty());
        QCOMPARE(folderBytes(f.book.folder()), before);
        QCOMPARE(f.ledger.undoStack().count(), steps);

        QCOMPARE(enter(true).changes.size(), 1);
        QCOMPARE(f.ledger.undoStack().count(), steps + 1);
        // A result cleared again takes bets as before the draw.
        QVERIFY(f.ledger.saveResult({}).ok());
        QCOMPARE(f.ledger.afterResultQuestion(), QString());
        QCOMPARE(enter(false).changes.size(), 1);
    }

    // A bet that takes its number above the type's limit is marked as one above its own limit is; a
    // number's own limit wins over the type's. The book holds 410 on 45 (another customer's).
    void betsAboveTheTypesLimitAreMarked_data()
    {
        QTest::addColumn<QString>("typeLimit");
        QTest::addColumn<int>("rule"); // -1 none, else a RuleKind
        QTest::addColumn<int>("ruleValue");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("shown");
        const int none = -1, limit = int(RuleKind::Limit), pay = int(RuleKind::Pay);
        QTest::newRow("over the type's limit") << "1000" << none << 0 << "1000"
                                               << "45-1000" + OverOwnLimitText;
        QTest::newRow("up to it") << "1000" << none << 0 << "590"
                                  << "45-590";
        QTest::newRow("no limit set") << "" << none << 0 << "5000"
                                      << "45-5000";
        QTest::newRow("own limit above the type's") << "1000" << limit << 2000 << "1000"
                                                    << "45-1000";
        QTest::newRow("own limit below the type's") << "1000" << limit << 300 << "100"
                                                    << "45-100" + OverOwnLimitText;
        QTest::newRow("reduced pay and over the type's limit") << "1000" << pay << 50 << "1000"
                                                               << "45-1000" + PayPercentText.arg(50) + OverOwnLimitText;
        QTest::newRow("reduced pay within it") << "1000" << pay << 50 << "10"
                                               << "45-10" + PayPercentText.arg(50);
    }
    void betsAboveTheTypesLimitAreMarked()
    {
        QFETCH(QString, typeLimit);
        QFETCH(int, rule);
        QFETCH(int, ruleValue);
        QFETCH(QString, amount);
        QFETCH(QString, shown);
        Fixture f;
        f.book.stake(Two, "daeng", "45", 410);
        if (!typeLimit.isEmpty()) f.book.put("lotto2.gif", "3ตัวตรง#50\r\n" + Two + "#" + typeLimit + "\r\n");
        if (rule >= 0)
            QVERIFY(setNumberRule(*f.book.store, {Two, "45", RuleKind(rule), ruleValue, false}).outcome.ok());
        QCOMPARE(f.enter("45", amount).lines, QStringList{shown});
    }

    void newDrawLeavesNothingToTakeBack()
    {
        Fixture f;
        f.enter("12", "100");
        f.ledger.newDraw();
        QVERIFY(!f.ledger.undoStack().canUndo());
        QCOMPARE(f.ledger.undo().lines, QStringList{NothingToTakeBackText});
    }
};

QTEST_GUILESS_MAIN(TestLedger)
#include "tst_ledger.moc"
