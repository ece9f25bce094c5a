// The audit log as the ledger writes it: every change of the book leaves its lines, taking back and
// doing again are logged under the entry they belong to, the new draw's copy keeps the old log, and
// the checking pass compares a slip keyed again with what its entry stored, storing nothing.
#include "accounts/customerrates.h"
#include "accounts/drawhistory.h"
#include "accounts/payments.h"
#include "app/Ledger.h"
#include "app/batch.h"
#include "audit/auditread.h"
#include "audit/audittexts.h"
#include "audit/recheck.h"
#include "audit/replay.h"
#include "core/model/text.h"
#include "entry/chat.h"
#include "entry/gates.h"
#include "entry/sheet.h"
#include "gui/main/session.h"
#include "reports/overlimit.h"
#include "settings/numberrules.h"
#include "settings/options.h"
#include "storage/folder/store.h"
#include "testsupport.h"
#include "tools/backup.h"
#include "tools/newdraw.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Two = QStringLiteral("2ตัวบน");
const QString Three = QStringLiteral("3ตัวตรง");
const QString Somchai = QStringLiteral("somchai");

AuditReplay replayOf(Ledger& ledger)
{
    AuditIndex index;
    if (!index.load(ledger.auditLogPath())) return {};
    return replayAudit(index, ledger.store());
}

AuditVerification verifyOf(Ledger& ledger)
{
    AuditIndex index;
    if (!index.load(ledger.auditLogPath())) return {};
    AuditVerification v = verifyAudit(index, nullptr, ledger.auditKey());
    checkAuditAnchor(v, index, ledger.auditAnchorFile());
    return v;
}

void replaceIn(const QString& path, const QByteArray& from, const QByteArray& to)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    QVERIFY2(bytes.contains(from), from.constData());
    bytes.replace(from, to);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void appendTo(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(bytes);
}

QList<AuditRecord> recordsOf(const QString& path)
{
    AuditIndex index;
    QList<AuditRecord> records;
    if (!index.load(path)) return records;
    for (qint64 i = 0; i < index.lineCount(); ++i) {
        AuditRecord r;
        index.record(i, r);
        records << r;
    }
    return records;
}

struct Fixture {
    TempBook book;
    Session session;
    Ledger ledger{*book.store, session};
    qsizetype seen = 0;

    Fixture() { ledger.prepareCustomer(Somchai); }
    QString stakeFile(const QString& type = Two) const
    {
        return Store::fileName(book.store->StakeFilePath(type, Somchai));
    }
    // The lines written since the last call.
    QList<AuditRecord> fresh()
    {
        const QList<AuditRecord> all = recordsOf(ledger.auditLogPath());
        const QList<AuditRecord> added = all.mid(seen);
        seen = all.size();
        return added;
    }
};

} // namespace

class TestAuditLedger : public QObject
{
    Q_OBJECT
    QTemporaryDir m_settings; // the user's settings folder: the key and the anchors

private slots:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid());
        setAuditSettingsFolder(m_settings.path());
    }

    // Every kind of change the program makes, taken back and done again, across a new draw: the log
    // says exactly what the files hold.
    void theReplayOfTheProgramsOwnChangesMatchesTheBook()
    {
        Fixture f;
        f.ledger.prepareCustomer("somsak");
        f.ledger.enterSheet("12-100\r\n34-5\r\n", Two, Somchai);
        f.ledger.enterSheet("12-70\r\n123-20\r\n", Three, "somsak");
        f.ledger.enterSheet("12-40\r\n", Two, Somchai);
        f.ledger.undo(); // the last sheet
        f.ledger.redo();
        f.ledger.undo();
        QVERIFY(f.ledger.editRecord({"12", "250", Two, Somchai, "12", "100"}).written);
        QVERIFY(f.ledger.deleteRecord({"34", "5", Two, Somchai, "34", "5"}).written);
        f.ledger.undo(); // the delete
        f.ledger.setNumberRule({Three, "123", RuleKind::Limit, 500, false});
        f.ledger.setNumberRule({Three, "456", RuleKind::Closed, 0, false});
        f.ledger.clearNumberRule(Three, "456");
        f.ledger.setCustomerRate(Somchai, Two, "70", "10");
        QVERIFY(f.ledger.recordPayment(Somchai, "30").recorded());
        QVERIFY(f.ledger.recordPayment("somsak", "20").recorded());
        f.ledger.undo(); // somsak's payment: a line that reverses it
        AuditReplay replay = replayOf(f.ledger);
        QVERIFY2(!replay.failed(), qPrintable(replay.differences.join('\n')));
        QCOMPARE(replay.notChecked, QStringList());
        QVERIFY(!verifyOf(f.ledger).failed());

        QVERIFY(f.ledger.newDraw().done);
        f.ledger.prepareCustomer(Somchai);
        f.ledger.enterSheet("56-10\r\n", Two, Somchai);
        f.ledger.setCustomerRate(Somchai, Three, "500", "");
        replay = replayOf(f.ledger);
        QVERIFY2(!replay.failed(), qPrintable(replay.differences.join('\n')));
        // The first draw's log began with the book, not with a new draw: its stakes are not played.
        QCOMPARE(replayLines(replay), (QStringList{ReplaySameText, ReplayDrawNotReplayedText.arg(1)}));
        QVERIFY(!verifyOf(f.ledger).failed());
    }

    // A file changed by hand is named: the number, the customer and both amounts.
    void theReplayNamesWhatWasChangedByHand_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected");
        QTest::newRow("stake edited") << "stake" << ReplayStakeText.arg(Two, Somchai, "12", "150", "100");
        QTest::newRow("stake added") << "new stake" << ReplayStakeText.arg(Two, Somchai, "77", "500", "0");
        QTest::newRow("count edited") << "count" << ReplayCountText.arg(Two, "12", "5", "1");
        QTest::newRow("payment added") << "payment"
                                       << ReplayPaymentText.arg(Somchai).arg(2).arg("1530").arg(1).arg("30");
        QTest::newRow("rule added") << "rule"
                                    << ReplayRuleText.arg(Two, "34",
                                                          describeRule({Two, "34", RuleKind::Closed, 0, false}), "-");
        QTest::newRow("own rate edited") << "rate" << ReplayRateText.arg(Somchai, Two, "90/10", "70/10");
        QTest::newRow("past draw put in") << "draw" << QString();
    }
    void theReplayNamesWhatWasChangedByHand()
    {
        QFETCH(QString, change);
        QFETCH(QString, expected);
        Fixture f;
        f.ledger.enterSheet("12-100\r\n", Two, Somchai);
        f.ledger.setCustomerRate(Somchai, Two, "70", "10");
        QVERIFY(f.ledger.recordPayment(Somchai, "30").recorded());
        QVERIFY(!replayOf(f.ledger).failed());

        Store& store = *f.book.store;
        if (change == "stake") replaceIn(store.StakeFilePath(Two, Somchai), "12-100", "12-150");
        if (change == "new stake") replaceIn(store.StakeFilePath(Two, Somchai), "77-0", "77-500");
        if (change == "count") replaceIn(store.TypeFilePath(Two, Store::CountPrefix), "12-1\r", "12-5\r");
        if (change == "payment") appendTo(store.path(PaymentsFileName), "somchai#1500#2026-12-09 14:30:05\r\n");
        if (change == "rule")
            appendTo(store.path(NumberRulesFileName),
                     cp874(ruleLine({Two, "34", RuleKind::Closed, 0, false}) + "\r\n"));
        if (change == "rate") replaceIn(store.path(CustomerRatesFileName), "#70#10", "#90#10");
        QString drawLabel;
        if (change == "draw") {
            // Dated after the log began, as a copy of a later draw would be.
            const QDateTime when = QDateTime::currentDateTime().addSecs(3600);
            const QString name = "picture_1_" + when.toString("yyyy-MM-dd_HHmm");
            QVERIFY(QDir(f.book.dir.path()).mkpath("draws/" + name));
            QFile::copy(store.customerFile(), f.book.dir.path() + "/draws/" + name + "/" + Store::CustomerFileName);
            const QList<PastDraw> draws = listPastDraws(store);
            QCOMPARE(draws.size(), 1);
            expected = ReplayFakeDrawText.arg(draws[0].label);
        }
        const AuditReplay replay = replayOf(f.ledger);
        QVERIFY(replay.failed());
        QCOMPARE(replay.differences, QStringList{expected});
        // The chain itself is whole: only the replay sees a file changed outside the program.
        QVERIFY(!verifyOf(f.ledger).failed());
    }

    // What the log cannot tell is said, not guessed: a merged backup brings records the log holds as a
    // sum only, and a record moved to another number.
    void theReplaySaysWhatItCannotCheck()
    {
        Fixture f;
        f.ledger.enterSheet("12-100\r\n", Two, Somchai);
        QVERIFY(f.ledger.editRecord({"21", "100", Two, Somchai, "12", "100"}).written);
        AuditReplay replay = replayOf(f.ledger);
        QVERIFY(!replay.failed());
        QCOMPARE(replay.notChecked.size(), 2);
        QVERIFY(replay.notChecked[0].contains(" 12 ") || replay.notChecked[1].contains(" 12 "));

        Fixture other;
        other.ledger.enterSheet("34-60\r\n", Two, Somchai);
        QTemporaryDir drive;
        QVERIFY(other.ledger.backup(drive.path()).outcome.ok());
        QCOMPARE(f.ledger.restore(drive.path()).outcome.status, Status::Ok);
        replay = replayOf(f.ledger);
        QVERIFY2(!replay.failed(), qPrintable(replay.differences.join('\n')));
        QVERIFY(replay.notChecked.first().startsWith(ReplayMergedText.section("%1", 0, 0)));
        // The sum still holds the book to the log: a stake raised by hand shows there.
        replaceIn(f.book.store->StakeFilePath(Two, Somchai), "34-60", "34-90");
        replay = replayOf(f.ledger);
        QCOMPARE(replay.differences, QStringList{ReplayTotalText.arg("190", "160")});
    }

    // This computer's anchor catches a log cut short, emptied or written anew, even with a whole chain;
    // a program opening such a log records it in a keyed line before its next one.
    void theAnchorCatchesACutOrReplacedLog_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("match");
        QTest::newRow("cut") << "cut" << int(AnchorMatch::Shorter);
        QTest::newRow("emptied") << "empty" << int(AnchorMatch::Shorter);
        QTest::newRow("removed") << "remove" << int(AnchorMatch::Shorter);
        QTest::newRow("written anew") << "anew" << int(AnchorMatch::Different);
    }
    void theAnchorCatchesACutOrReplacedLog()
    {
        QFETCH(QString, damage);
        QFETCH(int, match);
        TempBook book;
        Session session;
        QByteArray other;
        {
            // Another book's log of the same length, chained with this computer's key.
            TempBook second;
            Ledger ledger(*second.store, session);
            ledger.prepareCustomer(Somchai);
            ledger.enterSheet("12-100\r\n", Two, Somchai);
            ledger.enterSheet("34-6\r\n", Two, Somchai);
            other = second.bytes(AuditLogFileName);
        }
        {
            Ledger ledger(*book.store, session);
            ledger.prepareCustomer(Somchai);
            ledger.enterSheet("12-100\r\n", Two, Somchai);
            ledger.enterSheet("34-5\r\n", Two, Somchai);
            QVERIFY(!verifyOf(ledger).failed());
        }
        const QString path = book.file(AuditLogFileName);
        const QList<QByteArray> lines = book.bytes(AuditLogFileName).split('\n');
        QFile log(path);
        if (damage == "remove") {
            QVERIFY(log.remove());
        } else {
            QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
            if (damage == "cut") log.write(lines[0] + '\n' + lines[1] + '\n');
            if (damage == "anew") log.write(other);
            log.close();
        }
        Ledger ledger(*book.store, session);
        AuditVerification v = verifyOf(ledger);
        QVERIFY(v.anchor.has_value());
        QCOMPARE(int(v.anchorMatch), match);
        QVERIFY(v.failed());
        QVERIFY(verificationLines(v).first().startsWith(match == int(AnchorMatch::Shorter)
                                                            ? AuditAnchorShorterText.section("(", 0, 0)
                                                            : AuditAnchorDifferentText.section("%1", 0, 0)));

        // The next change writes the break first; the anchor then follows the log, and the break stays.
        ledger.enterSheet("56-1\r\n", Two, Somchai);
        v = verifyOf(ledger);
        QCOMPARE(int(v.anchorMatch), int(AnchorMatch::Same));
        QCOMPARE(v.anchorBreaks.size(), size_t(1));
        QVERIFY(v.failed());
        AuditRecord brk;
        AuditIndex index;
        QVERIFY(index.load(path));
        QVERIFY(index.record(v.anchorBreaks[0] - 1, brk));
        QVERIFY(!brk.keyId.isEmpty());
    }

    // A new draw stopped once it had moved the log into its copy, before this computer's anchor was
    // begun anew: the log is not taken for a cut one.
    void aNewDrawStoppedAfterItsCopyIsNoCut()
    {
        TempBook book;
        Session session;
        {
            Ledger ledger(*book.store, session);
            ledger.prepareCustomer(Somchai);
            ledger.enterSheet("12-100\r\n", Two, Somchai);
        }
        QVERIFY(startNewDraw(*book.store).done); // the draw's own work, without the ledger's after it
        Ledger ledger(*book.store, session);
        ledger.prepareCustomer(Somchai);
        const AuditVerification v = verifyOf(ledger);
        QVERIFY(v.anchorBreaks.empty());
        QCOMPARE(int(v.anchorMatch), int(AnchorMatch::Same));
        QVERIFY(!v.failed());
    }

    // The head of the log goes into each draw's copy and each backup; a copy's log cut later is named.
    void copiesAndBackupsCarryTheAnchor()
    {
        Fixture f;
        f.ledger.enterSheet("12-100\r\n", Two, Somchai);
        const AuditAnchor head = currentAuditHead(f.ledger.auditLogPath());
        QCOMPARE(head.lines, qint64(2)); // the customer and the bet
        QTemporaryDir drive;
        QVERIFY(f.ledger.backup(drive.path()).outcome.ok());
        QCOMPARE(readAuditAnchor(QDir(backupFolderPath(drive.path())).filePath(AuditAnchorFileName)), head);

        const NewDrawResult draw = f.ledger.newDraw();
        QVERIFY(draw.done);
        const QString copyAnchor = QDir(draw.copyFolder).filePath(AuditAnchorFileName);
        QCOMPARE(readAuditAnchor(copyAnchor), head);
        QVERIFY(!replayOf(f.ledger).failed());
        // The copy's log cut by one line.
        const QString copyLog = QDir(draw.copyFolder).filePath(AuditLogFileName);
        QFile log(copyLog);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = log.readAll().split('\n');
        log.close();
        lines.removeAt(lines.size() - 2);
        QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
        log.write(lines.join('\n'));
        log.close();
        AuditReplay replay = replayOf(f.ledger);
        QCOMPARE(replay.differences, QStringList{ReplayDrawAnchorText.arg(listPastDraws(*f.book.store)[0].label)});

        // A draw whose log began with it is played against its copy too: a stake edited there is named.
        f.ledger.prepareCustomer(Somchai);
        f.ledger.enterSheet("34-60\r\n", Two, Somchai);
        const NewDrawResult second = f.ledger.newDraw();
        QVERIFY(second.done);
        Store copy(second.copyFolder);
        replaceIn(copy.StakeFilePath(Two, Somchai), "34-60", "34-10");
        replay = replayOf(f.ledger);
        const QList<PastDraw> draws = listPastDraws(*f.book.store);
        QCOMPARE(draws.size(), 2);
        QCOMPARE(
            replay.differences,
            (QStringList{ReplayDrawAnchorText.arg(draws[0].label),
                         ReplayInDrawText.arg(draws[1].label, ReplayStakeText.arg(Two, Somchai, "34", "10", "60"))}));
    }

    void entriesAreLoggedBetByBet()
    {
        Fixture f;
        QList<AuditRecord> lines = f.fresh();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].action, AuditAction::CustomerAdded);
        QCOMPARE(lines[0].customer, Somchai);
        QCOMPARE(lines[0].user, systemUserName());
        QCOMPARE(lines[0].operatorName, systemUserName());

        // A gate list: one line per bet, all under one entry number.
        const EntryResult gates =
            f.ledger.enterPlan(planFieldEntry(GatesContaining("5", 3), "5+271", "10", Three, Somchai).plan, Somchai);
        QVERIFY(gates.changes.size() > 1);
        lines = f.fresh();
        QCOMPARE(lines.size(), gates.changes.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].action, AuditAction::Bet);
            QCOMPARE(lines[i].type, Three);
            QCOMPARE(lines[i].number, gates.changes[i].number);
            QCOMPARE(lines[i].before, QString());
            QCOMPARE(lines[i].after, QString("10"));
            QCOMPARE(lines[i].entry, lines[0].entry);
        }
        const qint64 gateEntry = lines[0].entry;

        f.ledger.enterSheet("12-100\r\n34-50\r\n", Two, Somchai);
        lines = f.fresh();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].action, AuditAction::Sheet);
        QCOMPARE(lines[1].number, QString("34"));
        QVERIFY(lines[0].entry > gateEntry);
        QCOMPARE(lines[1].entry, lines[0].entry);

        // A rejected line stores nothing and logs nothing.
        f.ledger.enterSheet("12-abc\r\n", Two, Somchai);
        QVERIFY(f.fresh().isEmpty());

        // Taking the sheet back and doing it again: under the sheet's own entry number.
        f.ledger.undo();
        lines = f.fresh();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].action, AuditAction::TakeBack);
        QCOMPARE(lines[0].before, QString("100"));
        QCOMPARE(lines[0].after, QString());
        f.ledger.redo();
        const QList<AuditRecord> again = f.fresh();
        QCOMPARE(again.size(), 2);
        QCOMPARE(again[1].action, AuditAction::DoAgain);
        QCOMPARE(again[1].after, QString("50"));
        QCOMPARE(again[1].entry, lines[0].entry);
    }

    // A pasted message is one entry: a line per bet, whatever types it went to, marked as pasted.
    void aChatPasteIsOneEntry()
    {
        Fixture f;
        f.fresh();
        const QList<ChatBet> bets = {{Two, "12", "50"}, {Three, "123", "20"}, {Two, "21", "50"}};
        const EntryResult pasted = f.ledger.enterChat(bets, Somchai);
        QCOMPARE(pasted.changes.size(), 3);
        const QList<AuditRecord> lines = f.fresh();
        QCOMPARE(lines.size(), 3);
        for (const AuditRecord& line : lines) {
            QCOMPARE(line.action, AuditAction::ChatPaste);
            QCOMPARE(line.entry, lines[0].entry);
        }
        QCOMPARE(lines[1].type, Three);
        QCOMPARE(lines[1].number, QString("123"));
        QCOMPARE(lines[1].after, QString("20"));
        f.ledger.undo();
        QCOMPARE(f.fresh().size(), 3);
    }

    // A number rule set, changed and cleared: its value before and after, as the rules window says it.
    void numberRulesAreLogged()
    {
        Fixture f;
        f.fresh();
        f.ledger.setNumberRule({Three, "123", RuleKind::Limit, 500, false});
        f.ledger.setNumberRule({Three, "123", RuleKind::Closed, 0, false});
        f.ledger.clearNumberRule(Three, "123");
        f.ledger.clearNumberRule(Three, "123"); // nothing left to clear: no line
        const QList<AuditRecord> lines = f.fresh();
        QCOMPARE(lines.size(), 3);
        for (const AuditRecord& line : lines) {
            QCOMPARE(line.action, AuditAction::Rule);
            QCOMPARE(line.type, Three);
            QCOMPARE(line.number, QString("123"));
        }
        QCOMPARE(lines[0].before, QString());
        QCOMPARE(lines[0].after, describeRule({Three, "123", RuleKind::Limit, 500, false}));
        QCOMPARE(lines[1].before, lines[0].after);
        QCOMPARE(lines[2].after, QString());
        f.ledger.setNumberRule({Two, "45", RuleKind::Pay, 50, false});
        f.ledger.setNumberRule({Two, "46", RuleKind::Closed, 0, false});
        f.fresh();
        f.ledger.clearNumberRules();
        QCOMPARE(f.fresh().size(), 2);
    }

    // A customer's own figures are a setting with their value before and after; a payment says what
    // was due before and after it.
    void ratesAndPaymentsAreLogged()
    {
        Fixture f;
        f.ledger.enterSheet("12-100\r\n", Two, Somchai);
        f.fresh();
        f.ledger.setCustomerRate(Somchai, Two, "70", "10");
        f.ledger.setCustomerRate(Somchai, Two, "70", "10"); // the same figures: no change, no line
        f.ledger.setCustomerRate(Somchai, Two, "", "");
        QList<AuditRecord> lines = f.fresh();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].action, AuditAction::Setting);
        QCOMPARE(lines[0].customer, Somchai);
        QCOMPARE(lines[0].type, Two);
        QCOMPARE(lines[0].before, QString());
        QCOMPARE(lines[0].after, QString("70/10"));
        QCOMPARE(lines[1].before, QString("70/10"));
        QCOMPARE(lines[1].after, QString());

        const PaymentResult paid = f.ledger.recordPayment(Somchai, "30");
        QVERIFY(paid.recorded());
        lines = f.fresh();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].action, AuditAction::Payment);
        QCOMPARE(lines[0].customer, Somchai);
        QCOMPARE(Val(lines[0].before) - Val(lines[0].after), paid.payment.amount);
    }

    void recordChangesCarryTheAmountBeforeAndAfter()
    {
        Fixture f;
        f.ledger.enterSheet("12-100\r\n", Two, Somchai);
        f.fresh();
        QVERIFY(f.ledger.editRecord({"12", "250", Two, Somchai, "12", "100"}).written);
        QList<AuditRecord> lines = f.fresh();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].action, AuditAction::Edit);
        QCOMPARE(lines[0].number, QString("12"));
        QCOMPARE(lines[0].before, QString("100"));
        QCOMPARE(lines[0].after, QString("250"));
        const qint64 editEntry = lines[0].entry;

        QVERIFY(f.ledger.deleteRecord({"12", "250", Two, Somchai, "12", "250"}).written);
        lines = f.fresh();
        QCOMPARE(lines[0].action, AuditAction::Delete);
        QCOMPARE(lines[0].before, QString("250"));
        QCOMPARE(lines[0].after, QString("0"));

        f.ledger.undo(); // the delete
        f.ledger.undo(); // the edit
        lines = f.fresh();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[1].action, AuditAction::TakeBack);
        QCOMPARE(lines[1].entry, editEntry);
        QCOMPARE(lines[1].before, QString("250"));
        QCOMPARE(lines[1].after, QString("100"));

        // A refused edit changes nothing and logs nothing.
        QVERIFY(!f.ledger.editRecord({"12", "1.5", Two, Somchai, "12", "100"}).written);
        QVERIFY(f.fresh().isEmpty());

        // The running stake of the number follows every change.
        AuditIndex index;
        QVERIFY(index.load(f.ledger.auditLogPath()));
        AuditFilter filter;
        filter.customer = Somchai;
        filter.number = "12";
        QCOMPARE(selectAudit(index, filter).running.front(), 100.0);
    }

    void settingsCustomersAndListsAreLogged()
    {
        Fixture f;
        f.fresh();
        QVERIFY(f.ledger.setOption(option::ShopName, "ร้านดี").ok());
        QList<AuditRecord> lines = f.fresh();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].action, AuditAction::Setting);
        QCOMPARE(lines[0].before, QString());
        QCOMPARE(lines[0].after, QString("ร้านดี"));
        QCOMPARE(lines[0].detail, option::ShopName);
        QCOMPARE(f.ledger.setOption(option::AmountCeiling, "lots").outcome.status, Status::Refused); // no line
        f.ledger.setOption(option::ShopName, "ร้านดี");                          // no change: no line
        QVERIFY(f.fresh().isEmpty());

        const QStringList items = FillSettingsList(*f.book.store, SettingKind::Limit);
        const int index = items.indexOf(QRegularExpression("^" + Two + ".*"));
        SettingEdit edit = beginEdit(items.value(index));
        edit.value = "300";
        f.ledger.saveSetting(SettingKind::Limit, items, index, edit);
        lines = f.fresh();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].type, Two);
        QCOMPARE(lines[0].after, QString("300"));

        f.ledger.saveResult({"123456", "", "", "", "", "12"});
        lines = f.fresh();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].detail, AuditResultSetting);
        QVERIFY(lines[0].after.contains("123456"));

        f.ledger.addCustomerName("somsak");
        f.ledger.removeCustomer("somsak");
        f.ledger.removeCustomer("nobody");
        lines = f.fresh();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].action, AuditAction::CustomerAdded);
        QCOMPARE(lines[1].action, AuditAction::CustomerRemoved);
        QCOMPARE(lines[1].customer, QString("somsak"));

        f.ledger.enterSheet("12-500\r\n", Two, Somchai, true); // keyed after the result saved above
        OverLimit(*f.book.store, f.session, Two, false);
        f.fresh();
        QVERIFY(f.ledger.saveSendOutList("evening").saved);
        f.ledger.deleteSavedList("evening");
        lines = f.fresh();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].action, AuditAction::SaveList);
        QCOMPARE(lines[0].detail, QString("evening"));
        QCOMPARE(lines[1].action, AuditAction::DeleteList);
    }

    void theOperatorIsTheBooksSettingOrTheRuns()
    {
        Fixture f;
        f.ledger.setOption(option::OperatorName, "นิด");
        f.ledger.enterSheet("12-1\r\n", Two, Somchai);
        QCOMPARE(f.fresh().last().operatorName, QString("นิด"));
        f.ledger.setOperatorName("หน่อย");
        f.ledger.enterSheet("12-1\r\n", Two, Somchai);
        const AuditRecord last = f.fresh().last();
        QCOMPARE(last.operatorName, QString("หน่อย"));
        QCOMPARE(last.user, systemUserName());
        // The next run of the program on this book takes the book's setting.
        Ledger again(*f.book.store, f.session);
        QCOMPARE(again.operatorName(), QString("นิด"));
    }

    void restoreNamesItsBackup()
    {
        Fixture f;
        TempBook other;
        QTemporaryDir drive;
        other.stake(Two, "somsak", "07", 20);
        QCOMPARE(writeBackup(*other.store, drive.path()).outcome.status, Status::Ok);
        f.fresh();
        QCOMPARE(f.ledger.restore(drive.path()).outcome.status, Status::Ok);
        const QList<AuditRecord> lines = f.fresh();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].action, AuditAction::Restore);
        QCOMPARE(lines[0].detail, QDir::toNativeSeparators(backupFilePath(drive.path())));
        QCOMPARE(lines[0].after, QString("20"));
        QCOMPARE(lines[1].action, AuditAction::CustomerAdded);
        QCOMPARE(lines[1].customer, QString("somsak"));
        // A refused restore (already merged) logs nothing.
        f.ledger.restore(drive.path());
        QVERIFY(f.fresh().isEmpty());
    }

    void theNewDrawsCopyKeepsTheOldLog()
    {
        Fixture f;
        f.ledger.enterSheet("12-100\r\n", Two, Somchai);
        const QByteArray oldLog = f.book.bytes(AuditLogFileName);
        const NewDrawResult draw = f.ledger.newDraw();
        QVERIFY(draw.done);
        QFile copy(QDir(draw.copyFolder).filePath(AuditLogFileName));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), oldLog);

        const QList<AuditRecord> lines = recordsOf(f.ledger.auditLogPath());
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].action, AuditAction::NewDraw);
        QCOMPARE(lines[0].detail, QDir::toNativeSeparators(draw.copyFolder));
        f.ledger.prepareCustomer("somsak");
        AuditIndex index;
        QVERIFY(index.load(f.ledger.auditLogPath()));
        QCOMPARE(index.lineCount(), qint64(2));
        QCOMPARE(verifyAudit(index).firstBroken, qint64(0));
    }

    void aDamagedLogIsReportedAndWrittenAfter()
    {
        TempBook book;
        Session session;
        {
            Ledger ledger(*book.store, session);
            ledger.prepareCustomer(Somchai);
            ledger.enterSheet("12-100\r\n", Two, Somchai);
        }
        const QString path = book.file(AuditLogFileName);
        QFile log(path);
        QVERIFY(log.open(QIODevice::Append));
        log.write("2026-12-09 10:00:00\tcut off");
        log.close();
        const QByteArray damaged = book.bytes(AuditLogFileName);

        Ledger ledger(*book.store, session);
        QVERIFY(ledger.auditDamagedAtOpen());
        ledger.enterSheet("34-5\r\n", Two, Somchai);
        QVERIFY(book.bytes(AuditLogFileName).startsWith(damaged));
        const QList<AuditRecord> lines = recordsOf(path);
        QCOMPARE(lines[lines.size() - 2].action, AuditAction::Break);
        QCOMPARE(lines.last().number, QString("34"));
        AuditIndex index;
        QVERIFY(index.load(path));
        const AuditVerification v = verifyAudit(index);
        QCOMPARE(v.firstBroken, qint64(3));
        QCOMPARE(v.breaks.size(), size_t(1));
    }

    void theBatchJobListsNarrowsAndVerifies()
    {
        Fixture f;
        f.ledger.prepareCustomer("somsak");
        f.ledger.enterSheet("12-100\r\n34-5\r\n", Two, Somchai);
        f.ledger.enterSheet("12-70\r\n", Two, "somsak");
        f.ledger.enterSheet("12-40\r\n", Two, Somchai);

        auto request = [](QStringList args) {
            QCommandLineParser parser;
            addBatchOptions(parser);
            args.prepend("varnoth");
            return parser.parse(args) ? batchRequest(parser)
                                      : BatchRequest{.batch = true, .usageError = parser.errorText()};
        };
        BatchRequest r = request({"--audit", "--customer", Somchai, "--number", "12"});
        QVERIFY2(r.usageError.isEmpty(), qPrintable(r.usageError));
        BatchResult out = runBatch(f.ledger, r.options);
        QCOMPARE(out.exitCode, BatchRan);
        QCOMPARE(out.out.size(), 2);
        QVERIFY(out.out[0].contains("\t12\t\t40\t")); // newest first
        QVERIFY(out.out[1].contains("\t12\t\t100\t"));

        r = request({"--audit", "--since", "2999-01-01"});
        QCOMPARE(runBatch(f.ledger, r.options).out, QStringList());
        QVERIFY(!request({"--audit", "--since", "yesterday"}).usageError.isEmpty());
        QVERIFY(!request({"--audit", "--verify", "--number", "12"}).usageError.isEmpty());
        QVERIFY(!request({"--view", "--since", "2026-01-01"}).usageError.isEmpty());

        r = request({"--audit", "--verify"});
        QVERIFY(r.usageError.isEmpty());
        QCOMPARE(runBatch(f.ledger, r.options).out, (QStringList{AuditChainOkText, ReplaySameText}));
        // A line deleted by hand: the job says where and fails.
        QList<QByteArray> lines = f.book.bytes(AuditLogFileName).split('\n');
        lines.removeAt(2);
        QFile log(f.ledger.auditLogPath());
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(lines.join('\n'));
        log.close();
        out = runBatch(f.ledger, r.options);
        QCOMPARE(out.exitCode, BatchRefused);
        QVERIFY(out.out.first().startsWith(AuditChainBrokenText + "3"));
    }

    // Every bet stored once the result is saved carries the mark on its line, whichever way it came in;
    // the chain holds, and the choice of such bets (the window's and --audit --after-result) finds them.
    void betsAfterTheResultAreMarked()
    {
        Fixture f;
        f.ledger.enterSheet("12-100\r\n", Two, Somchai);
        QVERIFY(f.ledger.saveResult({"123456", "", "", "", "", "56"}).ok());
        f.fresh();
        f.ledger.enterPlan(planFieldEntry({}, "56", "10+20", Two, Somchai).plan, Somchai, false, true);
        f.ledger.enterSheet("34-5\r\n", Two, Somchai, true);
        f.ledger.enterChat({ChatBet{Three, "456", "20"}}, Somchai, true);
        QList<AuditRecord> lines = f.fresh();
        QCOMPARE(lines.size(), 4); // the paired amount is two bets
        const QList<AuditAction> actions{AuditAction::Bet, AuditAction::Bet, AuditAction::Sheet,
                                         AuditAction::ChatPaste};
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].action, actions[i]);
            QCOMPARE(lines[i].detail, AuditAfterResultText);
            QVERIFY(keyedAfterResult(lines[i]));
        }
        QVERIFY(!keyedAfterResult(recordsOf(f.ledger.auditLogPath()).at(1))); // 12-100, before the result

        // Taking one back is no bet keyed after the result.
        f.ledger.undo();
        lines = f.fresh();
        QCOMPARE(lines.first().action, AuditAction::TakeBack);
        QVERIFY(!keyedAfterResult(lines.first()));

        AuditIndex index;
        QVERIFY(index.load(f.ledger.auditLogPath()));
        QCOMPARE(verifyAudit(index).firstBroken, qint64(0));
        AuditFilter late;
        late.afterResult = true;
        QCOMPARE(selectAudit(index, late).rows.size(), size_t(4));
        late.action = int(AuditAction::Bet);
        QCOMPARE(selectAudit(index, late).rows.size(), size_t(2));
    }

    void checkingPassFindsMissingExtraAndChangedBets()
    {
        Fixture f;
        f.ledger.enterSheet("123-500\r\n456-100\r\n789-50\r\n111-10\r\n", Three, Somchai);
        f.ledger.enterSheet("999-1\r\n", Three, Somchai); // a later slip of the same customer
        const auto before = folderBytes(f.book.folder());
        const QByteArray logBefore = f.book.bytes(AuditLogFileName);

        AuditIndex index;
        QVERIFY(index.load(f.ledger.auditLogPath()));
        const qint64 slip = newestEntryOf(index, Somchai, Three) - 1;
        const QString sheet = "111-10 123-50\r\n789-50\r\n222-20\r\n";
        const SheetCheck check = checkSheet(*f.book.store, f.ledger.auditLogPath(), sheet, Three, Somchai, slip);
        QCOMPARE(check.entry, slip);
        QCOMPARE(check.stored, 4);
        const QList<CheckDifference>& d = check.differences;
        QCOMPARE(d.size(), 3);
        QCOMPARE(d[0].kind, CheckDifference::Kind::Amount);
        QCOMPARE(d[0].number, QString("123"));
        QCOMPARE(d[1].kind, CheckDifference::Kind::Missing);
        QCOMPARE(d[1].number, QString("456"));
        QCOMPARE(d[2].kind, CheckDifference::Kind::Extra);
        QCOMPARE(d[2].number, QString("222"));
        QCOMPARE(check.lines.size(), 5);
        QCOMPARE(check.lines.last(), CheckDifferencesText.arg(3));

        // Without an entry number the newest slip of the customer is the one compared.
        const SheetCheck newest = checkSheet(*f.book.store, f.ledger.auditLogPath(), "999-1", Three, Somchai);
        QCOMPARE(newest.entry, slip + 1);
        QVERIFY(newest.differences.isEmpty());
        QCOMPARE(newest.lines.last(), CheckSameText.arg(1));
        QCOMPARE(checkSheet(*f.book.store, f.ledger.auditLogPath(), "999-1", Three, "nobody").lines,
                 QStringList{CheckNoEntryText});

        // Nothing was stored, and nothing was logged.
        QCOMPARE(folderBytes(f.book.folder()), before);
        QCOMPARE(f.book.bytes(AuditLogFileName), logBefore);
    }
};

QTEST_GUILESS_MAIN(TestAuditLedger)
#include "tst_auditledger.moc"
