#pragma once
// Restore adds a backup into this data folder (it never replaces), so a main computer ends up with
// the sum of every client's book. The fingerprints of merged and written backups keep a backup from
// being counted twice.

#include "audit/auditlog.h"
#include "core/model/outcome.h"
#include "core/model/text.h"

#include <QCryptographicHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace varnoth
{

class Store;
class NumberFile;

// Fingerprints of the backups merged since the last new draw, one a line, in the data folder.
inline const QString MergedBackupsFileName = QStringLiteral("merged.gif");
// Fingerprints of every backup this book wrote, one a line, in the data folder; a new draw keeps it.
inline const QString WrittenBackupsFileName = QStringLiteral("written.gif");

// The digest of a backup's bytes and of its records. It guards against damage and against restoring
// a backup twice by mistake, not against forgery, so the fastest of Qt's digests does: it runs over a
// backup of tens of megabytes as it is written and again as it is read back.
inline constexpr QCryptographicHash::Algorithm WrittenBackupDigest = QCryptographicHash::Md4;

// The fingerprint of a backup by its records: every line a restore reads (the whole lines, each
// without its line end and trailing blanks; blank lines left out), so that a backup an editor has
// touched (a blank line added, CR LF turned into LF) is still the same backup. Both fingerprint files
// hold it. It is fed the backup's bytes in slices of any size.
class RecordFingerprint
{
public:
    void add(QByteArrayView bytes);
    QString result() const;

private:
    QCryptographicHash m_hash{WrittenBackupDigest};
    QByteArray m_partial; // the start of a line that goes on in the next slice
};
QString recordFingerprint(QByteArrayView bytes);

// The fingerprint an earlier version of this program noted for a merged backup: the SHA-256 of its
// whole text. A book that merged a backup before still knows it by this.
QString backupFingerprint(const QString& text);
// The digest of a backup file's bytes: the backup as written is checked against the file read back
// with it, the audit lines beside the backup name it, and an earlier version of this program noted
// the backups it wrote by it.
QString writtenBackupFingerprint(QByteArrayView bytes);
// Notes a backup this book has just written; the failure line when the note could not be stored.
QStringList rememberWrittenBackup(Store& store, const QString& print);

struct MergeResult {
    Outcome outcome;        // refused (already merged, own backup, no backup, too many new customers) or
                            // failed to read
    bool clearList = false; // the main list is cleared before the lines are added
    QStringList lines;
    double count = 0;     // records added to stake files
    double amount = 0;    // their amounts
    int aboveCeiling = 0; // stake records left out because they are above the ceiling (see below)
    int newCustomers = 0; // the customers the backup names that the book did not list
    // The headings whose customer name the book cannot take: nothing under them was stored.
    QStringList refusedHeadings;
    // The other computer's audit lines about the stakes of the backup, with its customer names as
    // this book knows them; empty when the backup came without them.
    QList<AuditRecord> carried;
};

// Adds the records of a backup text into the data folder: customers first (with all their files),
// then every record, each stake and count file read once and written once. A backup merged since the
// last new draw is refused, and so is one this book wrote while the book holds any record: that would
// count every stake twice. Into an emptied book it brings the book back.
//
// An amount above MaxRestoredAmount is refused as a damaged record. A stake record above the book's
// amount ceiling times the count the backup gives its number (one when it gives none) is more than
// the bets of that number could have been: such records are stored only when `confirmLarge`, asked
// once with the question for all of them before anything is written, says yes. Otherwise each is
// listed with AboveCeilingText and counted in `aboveCeiling`.
//
// A backup that would add more than ManyNewCustomers customers to the book is merged only when
// `confirmManyCustomers`, asked before anything is written, says yes; otherwise nothing of it is
// stored (Status::ManyCustomers). One naming more than MaxNewCustomers new customers is no transfer
// between computers and is never merged.
//
// The backup is read as a stream, twice (names and counts first, then the records), so that memory
// does not grow with its size. The list keeps the rows of the first records up to a bound, then says
// how many more there were; the totals count every record.
using ConfirmLarge = std::function<bool(const QString& question)>;
MergeResult MergeBackupText(Store& store, const QString& text, const ConfirmLarge& confirmLarge = {},
                            const ConfirmLarge& confirmManyCustomers = {});

inline constexpr int ManyNewCustomers = 100;
inline constexpr int MaxNewCustomers = 20000;

// The largest amount a restore takes from one record: sums of such amounts stay exact.
inline constexpr double MaxRestoredAmount = 1e12;

// Reads the backup file of the drive and merges it; the lines end with the size row, or name the
// drive when it holds no backup. A link, a pipe or anything else that is not a plain file in the
// backup's place is not read (a failed read). The audit lines that came with the backup are read
// after a merge.
MergeResult runRestore(Store& store, const QString& drive, const ConfirmLarge& confirmLarge = {},
                       const ConfirmLarge& confirmManyCustomers = {});

// The audit lines about stakes in the bytes of a transfer's audit file, when its first line names the
// backup whose fingerprint is `print`; none otherwise.
QList<AuditRecord> transferredAuditLines(const QByteArray& bytes, const QString& print);

// One stake record into a stake file held in memory. The row for the operator is appended to
// `rows`: number-amount when added, or the record with the rejection text. Returns number#amount
// when the record was added, "" otherwise.
QString AddTransferredBet(const QString& number, const QString& amount, NumberFile& file, QStringList& rows);
// One count record (number-count) into a count file held in memory; false when it is not applied.
bool AddTransferredCount(const QString& line, NumberFile& file);

} // namespace varnoth
