#pragma once
// Restore adds a backup into this data folder (it never replaces), so a main computer ends up with
// the sum of every client's book. The fingerprints of merged and written backups keep a backup from
// being counted twice.

#include "audit/auditlog.h"
#include "model/text.h"
#include "store/outcome.h"

#include <QCryptographicHash>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;
class NumberFile;

// Fingerprints of the backups merged since the last new draw, one a line, in the data folder.
inline const QString MergedBackupsFileName = QStringLiteral("merged.gif");
// Fingerprints of every backup this book wrote, one a line, in the data folder; a new draw keeps it.
inline const QString WrittenBackupsFileName = QStringLiteral("written.gif");

// The fingerprint of a backup text as a restore reads it.
QString backupFingerprint(const QString& text);
// The fingerprint of a backup file's bytes by which this book knows the backups it wrote. It guards
// against damage and against restoring the book's own copy by mistake, not against forgery, so the
// fastest of Qt's digests does: it runs over a backup of tens of megabytes as it is written and again
// as it is read back.
inline constexpr QCryptographicHash::Algorithm WrittenBackupDigest = QCryptographicHash::Md4;
QString writtenBackupFingerprint(QByteArrayView bytes);
// Notes a backup this book has just written; the failure line when the note could not be stored.
QStringList rememberWrittenBackup(Store& store, const QString& print);

struct MergeResult {
    Outcome outcome;        // refused (already merged, own backup, no backup) or failed to read
    bool clearList = false; // the main list is cleared before the lines are added
    QStringList lines;
    double count = 0;  // records added to stake files
    double amount = 0; // their amounts
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
MergeResult MergeBackupText(Store& store, const QString& text);

// Reads the backup file of the drive and merges it; the lines end with the size row, or name the
// drive when it holds no backup. The audit lines that came with the backup are read after a merge.
MergeResult runRestore(Store& store, const QString& drive);

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
