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
//
// The chain is keyed: `hash` is HMAC-SHA-256, under a secret kept in the user's settings folder
// (never in the data folder, nor in a backup), written "kkkkkkkk:" and 64 hex digits, the first eight
// naming the key. Logs written before the key came in hold plain SHA-256 hashes (64 hex digits
// alone); such lines still read and check, and once a keyed line is in a log every later line must be
// keyed. The head of the chain (its line count, size and last hash) is also kept outside the book, as
// an anchor: in the settings folder after every change, in each backup and in each draw's copy.

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <optional>

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
    QByteArray hash;  // 64 hex digits as written
    QByteArray keyId; // the key that made it (8 hex digits), "" for a line of the unkeyed chain
};

inline constexpr int AuditFieldCount = 12;

// The hash a line must carry: SHA-256 over the previous line's hash and the line's text before its
// last tab, as lower-case hex. The first line of a log (or the first after a break) follows
// AuditChainStart.
QByteArray auditHash(const QByteArray& previousHash, QByteArrayView content);
inline const QByteArray AuditChainStart(64, '0');

// The secret of the keyed chain and its name (the first 8 hex digits of its SHA-256).
struct AuditKey {
    QByteArray secret;
    QByteArray id;
    bool isValid() const { return !secret.isEmpty(); }
};
AuditKey auditKeyOf(const QByteArray& secret);
// HMAC-SHA-256 under the key over the previous line's hash and the line's text, as lower-case hex.
QByteArray auditKeyedHash(const AuditKey& key, const QByteArray& previousHash, QByteArrayView content);
// The hash field of a line: the key's name, ":" and the keyed hash; the plain hash without a key.
QByteArray auditHashField(const AuditKey& key, const QByteArray& previousHash, QByteArrayView content);

// The user's settings folder, where the key and the anchors live (outside every data folder).
// Tests point it elsewhere; "" leaves the log unkeyed and unanchored.
QString auditSettingsFolder();
void setAuditSettingsFolder(const QString& folder);
inline const QString AuditKeyFileName = QStringLiteral("audit.key");
// The key of this user: read from the folder, made there when missing (32 random bytes from the
// system's source, the file readable by the user alone). Invalid when the folder is "" or the key can
// neither be read nor made.
AuditKey loadAuditKey(const QString& folder);

// The head of a log at one moment.
struct AuditAnchor {
    qint64 lines = 0;
    qint64 bytes = 0;
    QByteArray head; // the hash field of the last line as written, "" for an empty log
    bool operator==(const AuditAnchor&) const = default;
};
// Beside a backup and in a draw's copy: the anchor of the log the copy was made from.
inline const QString AuditAnchorFileName = QStringLiteral("audit.anchor");
// The anchor of a data folder in the settings folder; "" when there is no settings folder.
QString auditAnchorPath(const QString& dataFolder);
// One CR LF line: "anchor", the line count, the size and the head, tab-separated.
bool writeAuditAnchor(const QString& path, const AuditAnchor& anchor);
// Nothing when the file is missing; `damaged` is set when it is there but is no anchor.
std::optional<AuditAnchor> readAuditAnchor(const QString& path, bool* damaged = nullptr);
// The head of the log as it stands now (a missing log is an empty one): what a bill's seal is made
// from.
AuditAnchor currentAuditHead(const QString& logPath);
// How a log stands against an anchor taken of it earlier.
enum class AnchorMatch {
    Same,      // the log ends where the anchor says
    Longer,    // the anchored line is in its place and lines came after it
    Shorter,   // the log holds fewer lines or bytes than the anchor
    Different, // the line at the anchor's place is another one
};
AnchorMatch matchAuditAnchor(const QString& logPath, const AuditAnchor& anchor);

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
    QByteArray lastField;   // ... as written, with its key's name ("" for none)
    qint64 lastEntry = 0;   // the highest entry number of the lines read
};
// Reads at most the last `window` bytes (more when one line is longer).
// A keyed last line is checked with `key` when it is the one that made it.
AuditTail readAuditTail(const QString& path, qint64 window = 64 * 1024, const AuditKey& key = {});

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
    // With a valid key every line written is keyed. The log is opened without following a link.
    bool open(const QString& path, const QString& user, const QString& operatorName, const AuditKey& key = {});
    void close();
    bool isOpen() const { return m_opened; }
    bool damagedAtOpen() const { return m_damaged; }
    QString path() const { return m_path; }

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

    // The head of the log as this writer left it.
    AuditAnchor anchor() const { return m_anchor; }
    // Something found outside the log (an anchor it no longer matches) goes in as a Break line with
    // this detail before the next line written.
    void recordBreak(const QString& detail);

    // Appends one line; false when it could not be written whole.
    bool append(const AuditEvent& event, qint64 entry, const QDateTime& when = QDateTime::currentDateTime());

private:
    // Makes the log when it is missing and records a damaged end found at opening.
    bool startWriting();

    QFile m_file;
    QString m_path;
    AuditKey m_key;
    AuditAnchor m_anchor;
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
