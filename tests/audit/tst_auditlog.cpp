// The audit log on its own: lines read back as written, the chain finds a changed, removed or
// inserted line, a damaged end is recorded and never cut off, and the selection of the audit window.
#include "audit/auditlog.h"
#include "audit/auditread.h"
#include "audit/audittexts.h"
#include "audit/recheck.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Straight = QStringLiteral("3ตัวตรง");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

AuditEvent bet(const QString& customer, const QString& number, const QString& amount)
{
    return {AuditAction::Bet, Straight, customer, number, {}, amount, {}};
}

// A log of `lines` bets, each its own entry.
QString writeLog(const QTemporaryDir& dir, int lines)
{
    const QString path = dir.filePath(AuditLogFileName);
    AuditWriter w;
    if (!w.open(path, "user", "op")) return {};
    for (int i = 0; i < lines; ++i)
        w.append(bet("somchai", QString::number(100 + i), QString::number(10 * (i + 1))), w.nextEntry());
    return path;
}

AuditVerification verify(const QString& path, const AuditKey& key = {}, const QString& anchor = {})
{
    AuditIndex index;
    if (!index.load(path)) return {};
    AuditVerification v = verifyAudit(index, nullptr, key);
    checkAuditAnchor(v, index, anchor);
    return v;
}

AuditKey testKey(char fill)
{
    return auditKeyOf(QByteArray(32, fill));
}

// A log of `lines` bets chained with the key.
QString writeKeyedLog(const QTemporaryDir& dir, int lines, const AuditKey& key, AuditAnchor* anchor = nullptr)
{
    const QString path = dir.filePath(AuditLogFileName);
    AuditWriter w;
    if (!w.open(path, "user", "op", key)) return {};
    for (int i = 0; i < lines; ++i)
        w.append(bet("somchai", QString::number(100 + i), QString::number(10 * (i + 1))), w.nextEntry());
    if (anchor) *anchor = w.anchor();
    return path;
}

// Hashes the lines from `from` on again, as a script that knows the line format would: without a key,
// under the key's name without its secret, or with a key of its own.
enum class Rehash { Plain, UnderItsName, OtherKey };
void rehash(QList<QByteArray>& lines, int from, Rehash how, const AuditKey& key)
{
    const AuditKey other = testKey('x');
    for (int i = from; i < lines.size(); ++i) {
        const QByteArray previous = i == 0 ? AuditChainStart : lines[i - 1].trimmed().right(64);
        QByteArray& line = lines[i];
        if (line.endsWith('\r')) line.chop(1);
        const QByteArray content = line.left(line.lastIndexOf('\t'));
        QByteArray field = auditHash(previous, content);
        if (how == Rehash::UnderItsName) field = key.id + ':' + field;
        if (how == Rehash::OtherKey) field = auditHashField(other, previous, content);
        line = content + '\t' + field + '\r';
    }
}

QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QByteArray joined(const QList<QByteArray>& lines)
{
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + '\n';
    return out;
}

} // namespace

class TestAuditLog : public QObject
{
    Q_OBJECT
private slots:
    void fieldsComeBackAsWritten()
    {
        // Tabs, line ends and backslashes in a name must not move the fields of the line.
        const AuditEvent e{AuditAction::Edit, Straight, "นาย\tก\\ข\r\nค", "123", "500", "300", "a\\tb"};
        const QDateTime when(QDate(2026, 12, 9), QTime(14, 5, 33));
        const QByteArray content = auditLineContent(when, "user", "สมศรี", e, 42);
        QVERIFY(!content.contains('\n') && !content.contains('\r'));
        const QByteArray line = content + '\t' + auditHash(AuditChainStart, content);
        AuditRecord r;
        QVERIFY(parseAuditLine(line, r));
        QCOMPARE(r.time, QString("2026-12-09 14:05:33"));
        QCOMPARE(r.operatorName, QString("สมศรี"));
        QCOMPARE(r.action, AuditAction::Edit);
        QCOMPARE(r.customer, e.customer);
        QCOMPARE(r.before, QString("500"));
        QCOMPARE(r.after, QString("300"));
        QCOMPARE(r.entry, qint64(42));
        QCOMPARE(r.detail, e.detail);
        QVERIFY(!parseAuditLine(content, r)); // no hash
    }

    // What the listing and the window show of a field: one line of the log stays one shown line, a
    // tab can be told from a backslash and a t, and no control reaches the terminal.
    void shownFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain Thai") << QStringLiteral("สมชาย 12") << QStringLiteral("สมชาย 12");
        QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a\\tb");
        QTest::newRow("backslash and t") << QStringLiteral("a\\tb") << QStringLiteral("a\\\\tb");
        QTest::newRow("line ends") << QStringLiteral("x\r\ny") << QStringLiteral("x\\r\\ny");
        QTest::newRow("escape") << QStringLiteral("\x1b[2J") << QStringLiteral("\\x1b[2J");
        QTest::newRow("NUL and delete") << QString(QChar(0)) + QChar(0x7f) << QStringLiteral("\\x00\\x7f");
        QTest::newRow("C1 control") << QStringLiteral("a\u009bb") << QStringLiteral("a\\u009bb");
        QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QStringLiteral("a\\u2028b");
        QTest::newRow("direction override") << QStringLiteral("123=\u202e50") << QStringLiteral("123=\\u202e50");
    }
    void shownFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, shown);
        QCOMPARE(auditShownField(field), shown);
    }

    void aListedLineHoldsItsFieldsWhateverTheyHold()
    {
        // A name with a tab and CR LF, as the file stores it, read back and listed.
        const QString forged = QStringLiteral("x\t\t\r\n2026-12-09 00:00:00\tfake");
        const AuditEvent e{AuditAction::Bet, Straight, forged, "123", {}, "50", QStringLiteral("\x1b]0;t\x07")};
        const QByteArray content = auditLineContent(QDateTime::currentDateTime(), "u\\t", "a\tb", e, 7);
        AuditRecord r;
        QVERIFY(parseAuditLine(content + '\t' + auditHash(AuditChainStart, content), r));
        QCOMPARE(r.customer, forged);
        const QString line = auditDisplayLine(r);
        QCOMPARE(line.count('\t'), 10);
        for (QChar c : line)
            QVERIFY2(c == u'\t' || c.category() != QChar::Other_Control, qPrintable(line));
        const QStringList fields = line.split('\t');
        QCOMPARE(fields[1], QStringLiteral("u\\\\t"));
        QCOMPARE(fields[2], QStringLiteral("a\\tb"));
        QCOMPARE(fields[5], QStringLiteral("x\\t\\t\\r\\n2026-12-09 00:00:00\\tfake"));
    }

    void everyActionHasItsOwnKey()
    {
        QSet<QString> keys;
        for (int i = 0; i < AuditActionCount; ++i) {
            const auto a = static_cast<AuditAction>(i);
            AuditAction back;
            QVERIFY(auditActionFromKey(auditActionKey(a), back));
            QCOMPARE(back, a);
            keys.insert(auditActionKey(a));
            QVERIFY(!auditActionName(a).isEmpty());
        }
        QCOMPARE(keys.size(), AuditActionCount);
    }

    void chainFindsTheFirstBrokenLine_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<qint64>("firstBroken");
        QTest::newRow("amount changed") << "change" << qint64(3);
        QTest::newRow("line removed") << "remove" << qint64(3);
        QTest::newRow("line inserted") << "insert" << qint64(3);
        QTest::newRow("two lines swapped") << "swap" << qint64(3);
        QTest::newRow("first line changed") << "first" << qint64(1);
        QTest::newRow("untouched") << "none" << qint64(0);
    }
    void chainFindsTheFirstBrokenLine()
    {
        QFETCH(QString, change);
        QFETCH(qint64, firstBroken);
        QTemporaryDir dir;
        const QString path = writeLog(dir, 6);
        QList<QByteArray> lines = linesOf(readAll(path));
        QCOMPARE(lines.size(), 6);
        if (change == "change") lines[2].replace("\t30\t", "\t300\t");
        if (change == "remove") lines.removeAt(2);
        if (change == "insert") lines.insert(2, lines[1]);
        if (change == "swap") lines.swapItemsAt(2, 3);
        if (change == "first") lines[0].replace("somchai", "somsak");
        writeAll(path, joined(lines));
        const AuditVerification v = verify(path);
        QCOMPARE(v.firstBroken, firstBroken);
        QCOMPARE(verificationLines(v).first().startsWith(firstBroken ? AuditChainBrokenText : AuditChainOkText), true);
    }

    // A bet changed and the chain hashed again from there on: without the key no way of doing so
    // passes. A log hashed again from its first line is a whole chain again, but not the one this
    // computer's anchor holds.
    void aRehashedLogIsCaughtByTheKey_data()
    {
        QTest::addColumn<int>("from"); // -1: untouched
        QTest::addColumn<int>("how");
        QTest::addColumn<qint64>("firstBroken");
        QTest::addColumn<QString>("note"); // the line that says what the chain holds, "" for none
        QTest::newRow("untouched") << -1 << 0 << qint64(0) << QString();
        QTest::newRow("rehashed without a key") << 2 << int(Rehash::Plain) << qint64(3) << QString();
        QTest::newRow("rehashed under the key's name") << 2 << int(Rehash::UnderItsName) << qint64(3) << QString();
        QTest::newRow("rehashed with another key")
            << 2 << int(Rehash::OtherKey) << qint64(0) << AuditOtherKeyText.arg(4);
        QTest::newRow("whole log without a key") << 0 << int(Rehash::Plain) << qint64(0) << AuditUnkeyedAllText;
        QTest::newRow("whole log with another key")
            << 0 << int(Rehash::OtherKey) << qint64(0) << AuditOtherKeyText.arg(6);
    }
    void aRehashedLogIsCaughtByTheKey()
    {
        QFETCH(int, from);
        QFETCH(int, how);
        QFETCH(qint64, firstBroken);
        QFETCH(QString, note);
        QTemporaryDir dir;
        const AuditKey key = testKey('k');
        AuditAnchor anchor;
        const QString path = writeKeyedLog(dir, 6, key, &anchor);
        const QString anchorPath = dir.filePath(AuditAnchorFileName);
        QVERIFY(writeAuditAnchor(anchorPath, anchor));
        QCOMPARE(readAuditAnchor(anchorPath), anchor);
        QList<QByteArray> lines = linesOf(readAll(path));
        if (from >= 0) {
            lines[2].replace("\t30\t", "\t300\t");
            rehash(lines, from, static_cast<Rehash>(how), key);
            writeAll(path, joined(lines));
        }
        const AuditVerification v = verify(path, key, anchorPath);
        QCOMPARE(v.firstBroken, firstBroken);
        if (firstBroken > 0) QVERIFY(!v.reason.isEmpty());
        QCOMPARE(v.failed(), from >= 0);
        QCOMPARE(int(v.anchorMatch), int(from >= 0 ? AnchorMatch::Different : AnchorMatch::Same));
        const QStringList shown = verificationLines(v);
        if (!note.isEmpty()) QVERIFY2(shown.contains(note), qPrintable(shown.join('|')));
        if (from < 0) QCOMPARE(shown, QStringList{AuditChainOkText});
    }

    // A log written before the key keeps reading as whole; the keyed chain goes on from its last line,
    // and from then on a plain line (an older program, or a script) breaks it.
    void anOldUnkeyedLogStillVerifiesAndTheKeyedChainFollowsIt()
    {
        QTemporaryDir dir;
        const QString path = writeLog(dir, 3);
        const AuditKey key = testKey('k');
        AuditVerification v = verify(path, key);
        QCOMPARE(v.firstBroken, qint64(0));
        QCOMPARE(verificationLines(v), (QStringList{AuditChainOkText, AuditUnkeyedAllText}));

        AuditWriter w;
        QVERIFY(w.open(path, "user", "op", key));
        QVERIFY(!w.damagedAtOpen());
        QVERIFY(w.append(bet("somchai", "200", "5"), w.nextEntry()));
        w.close();
        QVERIFY(w.open(path, "user", "op", key));
        QVERIFY(!w.damagedAtOpen()); // its own keyed last line checks
        QVERIFY(w.append(bet("somchai", "201", "5"), w.nextEntry()));
        QCOMPARE(w.anchor(), currentAuditHead(path));
        QCOMPARE(w.anchor().lines, qint64(5));
        w.close();
        v = verify(path, key);
        QCOMPARE(v.firstBroken, qint64(0));
        QCOMPARE(v.unkeyedLines, qint64(3));
        QCOMPARE(verificationLines(v), (QStringList{AuditChainOkText, AuditUnkeyedPartText.arg(3)}));
        // Without the key the keyed lines are counted, not passed as checked.
        QCOMPARE(verify(path).otherKeyLines, qint64(2));

        AuditWriter plain;
        QVERIFY(plain.open(path, "user", "op"));
        QVERIFY(plain.append(bet("somchai", "202", "5"), plain.nextEntry()));
        plain.close();
        v = verify(path, key);
        QCOMPARE(v.firstBroken, qint64(6));
        QCOMPARE(v.reason, AuditUnkeyedAfterKeyedText);
    }

    // A link in the log's place is not written through: the file it points at stays as it was.
    void aLinkedLogIsNotWrittenThrough()
    {
#ifdef _WIN32
        QSKIP("links need privileges on Windows");
#endif
        QTemporaryDir dir;
        const QString outside = dir.filePath("outside.txt");
        writeAll(outside, "mine\r\n");
        const QString path = dir.filePath(AuditLogFileName);
        QVERIFY(QFile::link(outside, path));
        AuditWriter w;
        QVERIFY(!w.open(path, "user", "op", testKey('k')));
        QVERIFY(!w.append(bet("somchai", "1", "1"), w.nextEntry()));
        QCOMPARE(readAll(outside), QByteArray("mine\r\n"));
        // Nor is the log read through it, nor an anchor written through one.
        AuditIndex index;
        QVERIFY(!index.load(path));
        const QString anchor = dir.filePath("head.anchor");
        QVERIFY(QFile::link(outside, anchor));
        QVERIFY(!writeAuditAnchor(anchor, AuditAnchor{1, 10, "ab"}));
        QCOMPARE(readAll(outside), QByteArray("mine\r\n"));
        QVERIFY(QFileInfo(anchor).isSymLink());
    }

    // The key is made once per user, readable by him alone, and never made anew over a damaged one.
    void theKeyIsMadeOnceAndKeptPrivate()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("settings");
        const AuditKey key = loadAuditKey(folder);
        QVERIFY(key.isValid());
        QCOMPARE(key.secret.size(), 32);
        QCOMPARE(key.id, auditKeyOf(key.secret).id);
        QCOMPARE(loadAuditKey(folder).secret, key.secret);
        QVERIFY(loadAuditKey(dir.filePath("elsewhere")).secret != key.secret);
        const QString file = QDir(folder).filePath(AuditKeyFileName);
#ifndef _WIN32
        const QFileDevice::Permissions others =
            QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
        QCOMPARE(QFile::permissions(file) & others, QFileDevice::Permissions());
#endif
        writeAll(file, "not a key\r\n");
        QVERIFY(!loadAuditKey(folder).isValid());
        QCOMPARE(readAll(file), QByteArray("not a key\r\n"));
        QVERIFY(!loadAuditKey(QString()).isValid());
    }

    // The two readings of an anchor, over the file and over the index the window holds, agree.
    void anAnchorIsMatchedAlike_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("match");
        QTest::newRow("same") << "" << int(AnchorMatch::Same);
        QTest::newRow("lines added") << "add" << int(AnchorMatch::Longer);
        QTest::newRow("last line cut") << "cut" << int(AnchorMatch::Shorter);
        QTest::newRow("emptied") << "empty" << int(AnchorMatch::Shorter);
        // A line changed in its place is the chain's to find; one written anew has another hash.
        QTest::newRow("last line written anew") << "change" << int(AnchorMatch::Different);
        QTest::newRow("cut and added to") << "cut add" << int(AnchorMatch::Different);
    }
    void anAnchorIsMatchedAlike()
    {
        QFETCH(QString, change);
        QFETCH(int, match);
        QTemporaryDir dir;
        const AuditKey key = testKey('k');
        AuditAnchor anchor;
        const QString path = writeKeyedLog(dir, 4, key, &anchor);
        QList<QByteArray> lines = linesOf(readAll(path));
        if (change.contains("cut")) lines.removeLast();
        if (change == "change") {
            QByteArray& last = lines.last();
            const qsizetype at = last.trimmed().size() - 1;
            last[at] = last[at] == '0' ? '1' : '0';
        }
        if (change == "empty") lines.clear();
        writeAll(path, joined(lines));
        if (change.contains("add")) {
            AuditWriter w;
            QVERIFY(w.open(path, "user", "op", key));
            QVERIFY(w.append(bet("somsak", "999", "70"), w.nextEntry()));
            QVERIFY(w.append(bet("somsak", "998", "70"), w.nextEntry()));
        }
        QCOMPARE(int(matchAuditAnchor(path, anchor)), match);
        AuditIndex index;
        QVERIFY(index.load(path));
        QCOMPARE(int(matchAuditAnchor(index, anchor)), match);
    }

    void aDamagedEndIsRecordedAndNeverCut_data()
    {
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<QString>("detail");
        QTest::newRow("partial last line") << QByteArray("2026-12-09 10:00:00\tus") << AuditPartialEndText;
        QTest::newRow("last line edited") << QByteArray() << AuditBrokenEndText;
        QTest::newRow("garbage line") << QByteArray("hello\r\n") << AuditBrokenEndText;
    }
    void aDamagedEndIsRecordedAndNeverCut()
    {
        QFETCH(QByteArray, damage);
        QFETCH(QString, detail);
        QTemporaryDir dir;
        const QString path = writeLog(dir, 4);
        QByteArray bytes = readAll(path);
        if (damage.isEmpty())
            bytes.replace("\t40\t", "\t4000\t");
        else
            bytes += damage;
        writeAll(path, bytes);

        AuditWriter w;
        QVERIFY(w.open(path, "user", "op"));
        QVERIFY(w.damagedAtOpen());
        QVERIFY(w.append(bet("somchai", "999", "5"), w.nextEntry()));
        w.close();

        const QByteArray after = readAll(path);
        QVERIFY(after.startsWith(bytes)); // nothing before was changed or cut
        QVERIFY(after.endsWith("\r\n"));
        AuditIndex index;
        QVERIFY(index.load(path));
        AuditRecord brk, last;
        QVERIFY(index.record(index.lineCount() - 2, brk));
        QCOMPARE(brk.action, AuditAction::Break);
        QCOMPARE(brk.detail, detail);
        QVERIFY(index.record(index.lineCount() - 1, last));
        QCOMPARE(last.number, QString("999"));
        // The break is reported where it happened; the lines after it form a good chain again.
        const AuditVerification v = verifyAudit(index);
        QCOMPARE(v.firstBroken, damage.isEmpty() ? qint64(4) : qint64(5));
        QCOMPARE(v.breaks, std::vector<qint64>{index.lineCount() - 1});
        // Opened again, the end is whole and chained: no second break.
        QVERIFY(w.open(path, "user", "op"));
        QVERIFY(!w.damagedAtOpen());
    }

    // Opening the log writes nothing, so that a job that only reads leaves the folder as it was: a
    // missing log is made, and a damaged end recorded, with the first line written.
    void openingWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(AuditLogFileName);
        AuditWriter w;
        QVERIFY(w.open(path, "user", "op"));
        QCOMPARE(w.nextEntry(), qint64(1));
        w.close();
        QVERIFY(!QFile::exists(path));

        QVERIFY(!writeLog(dir, 2).isEmpty());
        const QByteArray damaged = readAll(path) + "2026-12-09 10:00:00\tus";
        writeAll(path, damaged);
        QVERIFY(w.open(path, "user", "op"));
        QVERIFY(w.damagedAtOpen());
        w.close();
        QCOMPARE(readAll(path), damaged);

        // The break goes in before the next line, and the entry numbers keep the order of the lines.
        QVERIFY(w.open(path, "user", "op"));
        const qint64 entry = w.nextEntry();
        QVERIFY(w.append(bet("somchai", "999", "5"), entry));
        w.close();
        AuditIndex index;
        QVERIFY(index.load(path));
        QCOMPARE(index.lineCount(), qint64(5));
        AuditRecord brk, last;
        QVERIFY(index.record(3, brk));
        QVERIFY(index.record(4, last));
        QCOMPARE(brk.action, AuditAction::Break);
        QCOMPARE(brk.detail, AuditPartialEndText);
        QVERIFY(brk.entry < last.entry);
        QCOMPARE(last.entry, entry);
        QCOMPARE(verifyAudit(index).breaks, std::vector<qint64>{4});
    }

    // Stakes and past draws come only from changes that are logged: a book holding either with no
    // line in its log lost the log, and the check says so instead of a clean "no history yet".
    void aMissingLogOfABookWithContentIsReported_data()
    {
        QTest::addColumn<QString>("book"); // what the book holds
        QTest::addColumn<bool>("missing");
        QTest::newRow("new book") << "" << false;
        QTest::newRow("settings and customers") << "settings" << false;
        QTest::newRow("stakes") << "stakes" << true;
        QTest::newRow("stakes, log emptied") << "stakes empty-log" << true;
        QTest::newRow("past draw") << "draw" << true;
        QTest::newRow("stakes and their log") << "stakes log" << false;
    }
    void aMissingLogOfABookWithContentIsReported()
    {
        QFETCH(QString, book);
        QFETCH(bool, missing);
        TempBook b;
        QVERIFY(b.store->creationSequence("somchai").isEmpty());
        if (book.contains("settings")) QVERIFY(b.store->WriteWholeFile(b.store->limitFile(), "3ตัวตรง#500\r\n"));
        if (book.contains("stakes")) b.stake(Straight, "somchai", "123", 50);
        if (book.contains("draw")) QVERIFY(QDir(b.dir.path()).mkpath("draws/2026-12-01_1800"));
        if (book.contains("empty-log")) writeAll(b.file(AuditLogFileName), {});
        if (book.contains(" log")) {
            AuditWriter w;
            QVERIFY(w.open(b.file(AuditLogFileName), "user", "op"));
            QVERIFY(w.append(bet("somchai", "123", "50"), w.nextEntry()));
        }
        AuditIndex index;
        QVERIFY(index.load(b.file(AuditLogFileName)));
        AuditVerification v = verifyAudit(index);
        v.missing = auditLogMissing(index, *b.store);
        QCOMPARE(v.missing, missing);
        QCOMPARE(v.failed(), missing);
        const QString clean = book.contains(" log") ? AuditChainOkText : AuditNoLogText;
        // A log written without a key also says so after the verdict.
        QCOMPARE(verificationLines(v).first(), missing ? AuditMissingLogText : clean);
    }

    void reopeningContinuesTheChainAndTheEntryNumbers()
    {
        QTemporaryDir dir;
        const QString path = writeLog(dir, 3);
        AuditWriter w;
        QVERIFY(w.open(path, "user", "op"));
        QVERIFY(!w.damagedAtOpen());
        QCOMPARE(w.lastEntry(), qint64(3));
        QVERIFY(w.append(bet("a", "1", "1"), w.nextEntry()));
        w.close();
        QCOMPARE(verify(path).firstBroken, qint64(0));
        QCOMPARE(readAuditTail(path).lastEntry, qint64(4));
    }

    void aLongLineDoesNotHideTheTail()
    {
        // The tail window grows until it holds the last line and the one before it.
        QTemporaryDir dir;
        const QString path = dir.filePath(AuditLogFileName);
        AuditWriter w;
        QVERIFY(w.open(path, "u", "o"));
        QVERIFY(w.append({AuditAction::Setting, {}, {}, {}, QString(3000, 'x'), QString(3000, 'y'), "shop"}, 1));
        QVERIFY(w.append({AuditAction::Setting, {}, {}, {}, QString(3000, 'y'), QString(3000, 'z'), "shop"}, 2));
        w.close();
        const AuditTail tail = readAuditTail(path, 100);
        QVERIFY(tail.wholeLine);
        QVERIFY(tail.lastLineOk);
        QCOMPARE(tail.lastEntry, qint64(2));
    }

    void selectionIsNewestFirstWithTheRunningStake()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(AuditLogFileName);
        AuditWriter w;
        QVERIFY(w.open(path, "u", "o"));
        const QDateTime day1(QDate(2026, 12, 1), QTime(9, 0)), day2(QDate(2026, 12, 2), QTime(9, 0));
        w.append(bet("somchai", "123", "500"), 1, day1);
        w.append(bet("somsak", "123", "70"), 2, day1);
        w.append(bet("somchai", "456", "20"), 3, day1);
        w.append({AuditAction::Edit, Straight, "somchai", "123", "500", "300", {}}, 4, day2);
        w.append({AuditAction::TakeBack, Straight, "somchai", "123", "300", "", {}}, 4, day2);
        w.append(bet("somchai", "123", "40"), 5, day2);
        w.close();
        AuditIndex index;
        QVERIFY(index.load(path));

        AuditFilter f;
        f.customer = "somchai";
        f.number = "123";
        AuditSelection s = selectAudit(index, f);
        QCOMPARE(s.rows, (std::vector<qint64>{5, 4, 3, 0}));
        QCOMPARE(s.running, (std::vector<double>{40, 0, 300, 500}));

        // Narrowed by time, the stake still counts what came before.
        f.since = day2;
        s = selectAudit(index, f);
        QCOMPARE(s.rows, (std::vector<qint64>{5, 4, 3}));
        QCOMPARE(s.running.back(), 300.0);

        AuditFilter byAction;
        byAction.action = static_cast<int>(AuditAction::Edit);
        QCOMPARE(selectAudit(index, byAction).rows, std::vector<qint64>{3});
        AuditFilter byEntry;
        byEntry.entry = 4;
        QCOMPARE(selectAudit(index, byEntry).rows, (std::vector<qint64>{4, 3}));
        // Every line shows what its own number held after it, whatever the choices.
        QCOMPARE(selectAudit(index, byEntry).running, (std::vector<double>{0, 300}));
        AuditFilter somsak;
        somsak.customer = "somsak";
        QCOMPARE(selectAudit(index, somsak).running, std::vector<double>{70});
        const std::vector<double> everyone = selectAudit(index, {}).running;
        QCOMPARE(everyone.size(), size_t(6));
        QCOMPARE(everyone[0], 40.0);
        QCOMPARE(everyone[3], 20.0); // 456 of somchai, not the 123 around it
    }

    void aMissingLogIsEmptyAndADamagedLineIsStillShown()
    {
        QTemporaryDir dir;
        AuditIndex index;
        QVERIFY(index.load(dir.filePath("none.log")));
        QCOMPARE(index.lineCount(), qint64(0));
        QCOMPARE(verificationLines(verifyAudit(index)), QStringList{AuditNoLogText});

        const QString path = writeLog(dir, 2);
        writeAll(path, readAll(path) + "not a line\r\n");
        QVERIFY(index.load(path));
        QCOMPARE(selectAudit(index, {}).rows.size(), size_t(3));
        AuditRecord r;
        QVERIFY(!index.record(0 + 2, r));
        QCOMPARE(r.detail, QString("not a line"));
        AuditFilter f;
        f.customer = "somchai";
        QCOMPARE(selectAudit(index, f).rows.size(), size_t(2));
    }

    void checkingPassListsEveryDifference()
    {
        const QList<CheckedBet> stored = {
            {Straight, "123", "500"}, {Straight, "456", "100"}, {Straight, "789", "50"}, {Straight, "111", "10"}};
        const QList<CheckedBet> keyed = {
            {Straight, "111", "10"}, {Straight, "123", "50"}, {Straight, "789", "50"}, {Straight, "222", "20"}};
        const QList<CheckDifference> d = compareBets(stored, keyed);
        QCOMPARE(d.size(), 3);
        QCOMPARE(d[0].kind, CheckDifference::Kind::Amount);
        QCOMPARE(d[0].number, QString("123"));
        QCOMPARE(d[0].stored, QString("500"));
        QCOMPARE(d[0].keyed, QString("50"));
        QCOMPARE(d[1].kind, CheckDifference::Kind::Missing);
        QCOMPARE(d[1].number, QString("456"));
        QCOMPARE(d[2].kind, CheckDifference::Kind::Extra);
        QCOMPARE(d[2].number, QString("222"));
        QVERIFY(compareBets(stored, stored).isEmpty());
    }

    void checkingPassPairsRepeatedNumbersByAmount()
    {
        // The same number twice on a slip: the matching amount pairs first, whatever the order.
        const QList<CheckedBet> stored = {{Straight, "123", "100"}, {Straight, "123", "50"}};
        const QList<CheckedBet> keyed = {{Straight, "123", "50"}, {Straight, "123", "100"}};
        QVERIFY(compareBets(stored, keyed).isEmpty());
        const QList<CheckDifference> d = compareBets(stored, {{Straight, "123", "100"}});
        QCOMPARE(d.size(), 1);
        QCOMPARE(d[0].kind, CheckDifference::Kind::Missing);
        QCOMPARE(d[0].stored, QString("50"));
        // Another type is another bet.
        QCOMPARE(compareBets({{Straight, "123", "100"}}, {{"3ตัวโต๊ด", "123", "100"}}).size(), 2);
    }

    void entryBetsFollowTakingBackAndDoingAgain()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(AuditLogFileName);
        AuditWriter w;
        QVERIFY(w.open(path, "u", "o"));
        w.append({AuditAction::Sheet, Straight, "a", "123", {}, "100", {}}, 7);
        w.append({AuditAction::Sheet, Straight, "a", "456", {}, "20", {}}, 7);
        w.append({AuditAction::Sheet, Straight, "b", "999", {}, "5", {}}, 8);
        w.append({AuditAction::TakeBack, Straight, "a", "123", "100", {}, {}}, 7);
        w.append({AuditAction::TakeBack, Straight, "a", "456", "20", {}, {}}, 7);
        w.append({AuditAction::DoAgain, Straight, "a", "456", {}, "20", {}}, 7);
        w.close();
        AuditIndex index;
        QVERIFY(index.load(path));
        const QList<CheckedBet> bets = entryBets(index, 7, "a");
        QCOMPARE(bets.size(), 1);
        QCOMPARE(bets[0].number, QString("456"));
        QCOMPARE(newestEntryOf(index, "a"), qint64(7));
        QCOMPARE(newestEntryOf(index, "b", Straight), qint64(8));
        QCOMPARE(newestEntryOf(index, "c"), qint64(0));
    }

    void anAppendCostsAFractionOfABet()
    {
        // A bet writes two files atomically (a few ms at the least); its line in the log must stay
        // well under a tenth of that: no reading of the file, one write per line.
        QTemporaryDir dir;
        const QString path = writeLog(dir, 1000);
        AuditWriter w;
        QVERIFY(w.open(path, "user", "op"));
        constexpr int Lines = 2000;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Lines; ++i)
            QVERIFY(w.append(bet("somchai", "123", "50"), w.nextEntry()));
        const double perLine = timer.nsecsElapsed() / 1e6 / Lines;
        qInfo("%.4f ms per line", perLine);
        QVERIFY2(perLine < timeLimit(1) * 0.2, qPrintable(QString::number(perLine)));
        w.close();
        QCOMPARE(verify(path).firstBroken, qint64(0));
    }

    void aMillionLinesAreIndexedAndSelectedQuickly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(AuditLogFileName);
        {
            const QByteArray content =
                auditLineContent(QDateTime::currentDateTime(), "user", "op", bet("somchai", "123", "500"), 1);
            const QByteArray line = content + '\t' + auditHash(AuditChainStart, content) + "\r\n";
            QByteArray block;
            for (int i = 0; i < 1000; ++i)
                block += line;
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            for (int i = 0; i < 1000; ++i)
                f.write(block);
        }
        QElapsedTimer timer;
        timer.start();
        AuditIndex index;
        QVERIFY(index.load(path));
        const AuditSelection all = selectAudit(index, {});
        AuditRecord r;
        QVERIFY(index.record(all.rows.front(), r));
        const qint64 ms = timer.elapsed();
        QCOMPARE(index.lineCount(), qint64(1000000));
        QCOMPARE(all.rows.size(), size_t(1000000));
        QVERIFY2(ms < timeLimit(1000), qPrintable(QString("%1 ms").arg(ms)));
    }
};

QTEST_GUILESS_MAIN(TestAuditLog)
#include "tst_auditlog.moc"
