#pragma once
// The audit log: one UTF-8 line per change of the book, appended to "audit.log" in the data folder
// and never rewritten. Each line ends in a SHA-256 hash of the previous line's hash and its own
// fields, so a line changed, removed or inserted by hand breaks the chain where it happened.
//
// A line is tab-separated, CR LF at its end:
//   time  user  operator  action  type  customer  number  before  after  entry  detail  hash
// `time` is local time to the second ("2026-12-09 14:05:33"), `entry` the sequence number that
// every line of one operator action shares (the bets of one gate list, say), `hash` 64 hex digits.
// A tab, CR, LF or backslash inside a field is written as \t, \r, \n or \\.

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>

namespace varnoth
{

inline const QString AuditLogFileName = QStringLiteral("audit.log");

// What the operator did. The names in the file (auditActionKey) never change once written; new
// kinds are added at the end.
enum class AuditAction {
    Bet,             // a bet keyed in the main window
    Sheet,           // a bet of a sheet (group or file entry, batch)
    ChatPaste,       // a bet pasted from a chat message
    Edit,            // a record's amount changed
    Delete,          // a record's amount taken off
    TakeBack,        // a step taken back
    DoAgain,         // a step taken back and done again
    Restore,         // a backup merged into the book
    SaveList,        // a send-out list saved
    DeleteList,      // a saved send-out list deleted
    Setting,         // a setting changed (per-type settings, the drawn numbers, book options)
    CustomerAdded,   //
    CustomerRemoved, //
    Rule,            // a number rule changed
    Payment,         // a payment of a customer
    NewDraw,         // the first line of a new draw's log: where the old book was copied
    Break,           // the log was found damaged; the lines after this one start a new chain
};

inline constexpr int AuditActionCount = static_cast<int>(AuditAction::Break) + 1;

// The name of an action in the file ("bet", "edit", ...), and back; false when the name is unknown.
QString auditActionKey(AuditAction action);
bool auditActionFromKey(QStringView key, AuditAction& action);

// What the ledger tells the log about one change.
struct AuditEvent {
    AuditAction action = AuditAction::Bet;
    QString type;
    QString customer;
    QString number;
    QString before; // the amount or value before the change ("" for a new bet)
    QString after;  // ... and after it ("" for a deleted record)
    QString detail; // what else the line needs: a backup's path, a list's name, a setting's name
};

// One line of the log as read back.
struct AuditRecord {
    QString time;
    QString user;
    QString operatorName;
    AuditAction action = AuditAction::Bet;
    QString actionKey; // as written, for an action this program does not know
    QString type;
    QString customer;
    QString number;
    QString before;
    QString after;
    qint64 entry = 0;
    QString detail;
    QByteArray hash; // 64 hex digits as written
};

inline constexpr int AuditFieldCount = 12;

// The hash a line must carry: SHA-256 over the previous line's hash and the line's text before its
// last tab, as lower-case hex. The first line of a log (or the first after a break) follows
// AuditChainStart.
QByteArray auditHash(const QByteArray& previousHash, QByteArrayView content);
inline const QByteArray AuditChainStart(64, '0');

// The text of a line without its hash and line end.
QByteArray auditLineContent(const QDateTime& when, const QString& user, const QString& operatorName,
                            const AuditEvent& event, qint64 entry);

// Splits a whole line (without its line end) into its fields; false when it has not the fields of a
// line, an unknown number in `entry`, or no 64-digit hash.
bool parseAuditLine(QByteArrayView line, AuditRecord& record);

// The user the program runs as on this computer.
QString systemUserName();

// What the end of an existing log says: read once when the log is opened, so that appending never
// reads the file again.
struct AuditTail {
    bool exists = false;
    bool wholeLine = true;  // the file is empty or ends with a line end
    bool lastLineOk = true; // the last whole line is a line of the log, chained to the one before
                            // it when that one was read as well
    QByteArray lastHash;    // the hash of the last whole line (AuditChainStart for none)
    qint64 lastEntry = 0;   // the highest entry number of the lines read
};
// Reads at most the last `window` bytes (more when one line is longer).
AuditTail readAuditTail(const QString& path, qint64 window = 64 * 1024);

// The appending end of the log. Each line is written with one write and flushed at once; the file is
// opened for appending only, so nothing written before can be lost by this program.
class AuditWriter
{
public:
    AuditWriter() = default;
    AuditWriter(const AuditWriter&) = delete;
    AuditWriter& operator=(const AuditWriter&) = delete;

    // Opens the log for appending; a missing log is made only when its first line is written. A log
    // whose end is damaged (a partial last line, a last line that is not a line of the log or does
    // not chain) sets `damaged`, and gets a line end where needed and a Break line before the next
    // line written; the lines before it stay as they are. False when an existing log cannot be opened.
    bool open(const QString& path, const QString& user, const QString& operatorName);
    void close();
    bool isOpen() const { return m_opened; }
    bool damagedAtOpen() const { return m_damaged; }
    QString path() const { return m_file.fileName(); }

    void setOperatorName(const QString& name) { m_operator = name; }
    QString operatorName() const { return m_operator; }

    // A new entry number for the lines of one action.
    qint64 nextEntry()
    {
        // A damaged end still to be recorded takes its number first, so that the numbers keep the
        // order of the lines.
        if (m_breakPending && m_breakEntry == 0) m_breakEntry = ++m_lastEntry;
        return ++m_lastEntry;
    }
    qint64 lastEntry() const { return m_lastEntry; }

    // Appends one line; false when it could not be written whole.
    bool append(const AuditEvent& event, qint64 entry, const QDateTime& when = QDateTime::currentDateTime());

private:
    // Makes the log when it is missing and records a damaged end found at opening.
    bool startWriting();

    QFile m_file;
    QString m_user;
    QString m_operator;
    QByteArray m_lastHash = AuditChainStart;
    qint64 m_lastEntry = 0;
    bool m_damaged = false;
    bool m_failed = false; // the last write did not go through whole
    bool m_opened = false;
    bool m_partialEnd = false;   // the file ends inside a line
    bool m_breakPending = false; // the damaged end is not recorded yet
    qint64 m_breakEntry = 0;     // the number kept for it, 0 for none yet
    QString m_breakDetail;
};

} // namespace varnoth
