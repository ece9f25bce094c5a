#include "tools/restore.h"

#include "audit/auditread.h"
#include "entry/rulemarks.h"
#include "settings/numberruletexts.h"

#include "model/text.h"
#include "model/types.h"
#include "store/customername.h"
#include "store/datafolder.h"
#include "store/numberfile.h"
#include "store/numberlines.h"
#include "store/store.h"
#include "tools/backup.h"
#include "tools/backuptexts.h"
#include "tools/newdraw.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <vector>

namespace varnoth
{

namespace
{

// A backup of a whole book of a few hundred customers is a few megabytes; a file far beyond that
// is not a backup, and reading it whole could exhaust the memory.
constexpr qint64 MaxBackupBytes = 256LL * 1024 * 1024;
// More significant digits than a double holds exactly would add a different amount than listed.
constexpr int MaxAmountDigits = 15;

const QString WriteFailedRowText = QStringLiteral(" บันทึกข้อมูลไม่สำเร็จ");

// The row of a line that is not applied. A line of a damaged file can be megabytes long; the row
// shows enough of it to be recognised.
QString rejectedRow(const QString& line)
{
    constexpr qsizetype MaxShown = 100;
    if (line.size() <= MaxShown) return line + RejectedText;
    return line.left(MaxShown) + QStringLiteral("…") + RejectedText;
}

// --- headings of a backup ------------------------------------------------------------------------

struct Heading {
    enum Kind { None, Invalid, Stake, Count } kind = None;
    int type = -1;
    QString customer; // as every customer name is taken in
    QString refusal;  // why the heading's name is no customer's, where that is why it is invalid
};

// A customer name from another computer, taken in by the rule every customer name follows. A
// refused name would be stored under no name at all, so it is no name; nor is a damaged line of
// megabytes. `refusal`, when given, receives the line saying why.
QString transferredCustomer(const QString& raw, QString* refusal = nullptr)
{
    constexpr qsizetype MaxNameLength = 255;
    const QString name = customerName(raw);
    if (name.size() > MaxNameLength) return {};
    const QString why = customerNameRefusal(name);
    if (refusal) *refusal = why;
    return why.isEmpty() ? name : QString();
}

Heading parseHeading(const QString& line)
{
    const QStringList pieces = line.split(QLatin1Char('#'));
    Heading h;
    h.kind = Heading::Invalid;
    h.type = typeIndex(pieces[0]);
    if (h.type < 0) return h;
    if (pieces[1].isEmpty()) {
        h.kind = Heading::Count;
        return h;
    }
    h.customer = transferredCustomer(pieces[1], &h.refusal);
    if (!h.customer.isEmpty()) h.kind = Heading::Stake;
    return h;
}

// Adds the names to the customer list in one write, in the order given; a name already listed is
// left where it is.
QStringList addCustomers(Store& store, const QStringList& names)
{
    const QString path = store.customerFile();
    const FileText f = store.readFile(path);
    if (f.exists && !f.readable) return {outcomeLine({Status::ReadFailed, path})};
    QString list = withoutLineEnds(f.text);
    bool changed = false;
    for (const QString& name : names) {
        if (list.isEmpty())
            list = QLatin1Char('#') + name + QLatin1Char('#');
        else if (!list.contains(QLatin1Char('#') + name + QLatin1Char('#')))
            list += name + QLatin1Char('#');
        else
            continue;
        changed = true;
    }
    if (changed && !store.WriteWholeFile(path, list)) return {outcomeLine({Status::WriteFailed, path})};
    return {};
}

// A number file being changed by a restore, with what the restore listed and counted for it, so
// that a file that cannot be written takes its records back out of the totals.
struct Target {
    NumberFile file;
    QList<int> rows;
    double count = 0;
    double amount = 0;
    bool failureListed = false;
};

class Targets
{
public:
    explicit Targets(Store& store) : m_store(store) {}
    Target& at(const QString& path)
    {
        auto it = m_index.constFind(path);
        if (it != m_index.constEnd()) return m_targets[it.value()];
        m_index.insert(path, static_cast<int>(m_targets.size()));
        m_targets.push_back(Target{NumberFile(m_store, path)});
        return m_targets.back();
    }
    std::vector<Target>& all() { return m_targets; }

private:
    Store& m_store;
    QHash<QString, int> m_index;
    std::vector<Target> m_targets;
};

// The backup fingerprints of a fingerprint file of the data folder: those merged since the last new
// draw, or those of the backups this book wrote.
QStringList fingerprints(Store& store, const QString& fileName)
{
    QStringList out;
    const QString text = store.ReadWholeFile(store.path(fileName));
    forEachNumberLine(QStringView(text), [&](const TextLine& line) { out << line.line.toString(); });
    return out;
}

} // namespace

QString backupFingerprint(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString writtenBackupFingerprint(QByteArrayView bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, WrittenBackupDigest).toHex());
}

// Notes a backup this book has just written; the failure line when the note could not be stored.
QStringList rememberWrittenBackup(Store& store, const QString& print)
{
    QStringList written = fingerprints(store, WrittenBackupsFileName);
    if (written.contains(print)) return {};
    written << print;
    if (store.WriteWholeFile(store.path(WrittenBackupsFileName), written.join(CRLF))) return {};
    return {outcomeLine({Status::WriteFailed, WrittenBackupsFileName})};
}

// --- restore -------------------------------------------------------------------------------------

QString AddTransferredBet(const QString& number, const QString& amount, NumberFile& file, QStringList& rows)
{
    const QString digitsNumber = DigitsOnly(number);
    const QString digitsAmount = DigitsOnly(amount);
    QString significant = digitsAmount;
    while (significant.startsWith(QLatin1Char('0')))
        significant.remove(0, 1);
    // A number without a line of its own (a permutation number not in ascending order) would
    // change nothing, and an amount without a digit is no bet: neither may count as restored.
    const bool valid = file.width() > 0 && digitsNumber.size() == file.width() && file.contains(digitsNumber) &&
                       !digitsAmount.isEmpty() && digitsAmount.size() == amount.size() &&
                       significant.size() <= MaxAmountDigits;
    if (!valid) {
        rows << rejectedRow(number + QLatin1Char('-') + amount);
        return {};
    }
    file.add(digitsNumber, Val(digitsAmount));
    rows << digitsNumber + QLatin1Char('-') + digitsAmount;
    return digitsNumber + QLatin1Char('#') + digitsAmount;
}

bool AddTransferredCount(const QString& line, NumberFile& file)
{
    if (line.isEmpty() || file.isEmpty()) return false;
    const TextLine l = TextLine::of(line);
    const QString count = l.hasDash() ? l.amount().toString() : QString();
    // A count with pieces left over after it ("13-1-2", "16-1-") is no count of ours, as a stake
    // record with pieces left over is none.
    if (count.isEmpty() || DigitsOnly(count) != count || l.amount().size() != l.rest().size()) return false;
    return file.add(l.beforeDash().toString(), Val(count));
}

MergeResult MergeBackupText(Store& store, const QString& text)
{
    MergeResult r;
    const qsizetype n = text.count(CRLF);
    if (n == 0) return r;
    r.clearList = true;
    const QString print = backupFingerprint(text);
    QStringList merged = fingerprints(store, MergedBackupsFileName);
    if (merged.contains(print)) {
        r.outcome = {Status::AlreadyMerged, {}};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    if (bookHoldsRecords(store) &&
        fingerprints(store, WrittenBackupsFileName).contains(writtenBackupFingerprint(encodeWindows874(text)))) {
        r.outcome = {Status::OwnBackup, {}};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    r.lines << QStringLiteral("กำลังถ่ายโอนข้อมูล");

    QStringList lines = text.split(CRLF);
    lines.resize(n); // the piece after the last line end is not a whole line
    Progress& progress = store.progress();

    // First pass: every customer named in a heading, with all its files, before any record.
    QHash<QString, Heading> headings;
    QStringList names;
    QSet<QString> seen;
    bool anyHeading = false;
    progress.reset();
    for (const QString& line : std::as_const(lines)) {
        progress.tick(n);
        if (!line.contains(QLatin1Char('#'))) continue;
        auto it = headings.constFind(line);
        if (it == headings.constEnd()) {
            it = headings.insert(line, parseHeading(line));
            if (!it->refusal.isEmpty()) r.refusedHeadings << line;
        }
        if (it->kind == Heading::Stake || it->kind == Heading::Count) anyHeading = true;
        if (it->kind == Heading::Stake && !seen.contains(it->customer)) {
            seen.insert(it->customer);
            names << it->customer;
        }
        progress.yield();
    }
    progress.hide();
    if (anyHeading) {
        if (!names.isEmpty()) {
            r.lines += addCustomers(store, names);
            r.lines += store.EnsureStakeFiles();
        }
        r.lines += store.EnsureTypeFiles(typeNames(), Store::CountPrefix);
        r.lines += store.EnsureTypeFiles(typeNames(), Store::SendOutPrefix);
    }

    // Second pass: every record into its file in memory.
    QHash<QString, int> customerIndex;
    const QHash<int, QString> listed = Store::customerNames(store.customerListText());
    for (auto it = listed.constBegin(); it != listed.constEnd(); ++it)
        customerIndex.insert(it.value(), it.key());

    Targets targets(store);
    RuleMarks marks(store);
    Heading current;
    QString currentPath;
    progress.reset();
    for (const QString& line : std::as_const(lines)) {
        progress.tick(n);
        progress.yield();
        if (line.isEmpty()) continue;
        if (line.contains(QLatin1Char('#'))) {
            current = headings.value(line);
            currentPath.clear();
            if (current.kind == Heading::Stake && customerIndex.contains(current.customer))
                currentPath = store.stakeFilePathAt(current.type, customerIndex.value(current.customer));
            else if (current.kind == Heading::Count)
                currentPath = store.TypeFilePath(typeNames()[current.type], Store::CountPrefix);
            if (current.kind == Heading::Invalid) r.lines << rejectedRow(line);
            if (!current.refusal.isEmpty()) r.lines << current.refusal;
            continue;
        }
        if (currentPath.isEmpty() || !line.contains(QLatin1Char('-'))) {
            r.lines << rejectedRow(line);
            continue;
        }
        Target& target = targets.at(currentPath);
        if (!target.file.ok()) {
            if (!target.failureListed) r.lines << outcomeLine({Status::ReadFailed, currentPath});
            target.failureListed = true;
            r.lines << rejectedRow(line);
            continue;
        }
        // This book's closed numbers take nothing from another computer either, neither stakes nor
        // the counts that go with them.
        const TextLine record = TextLine::of(line);
        const QString number = DigitsOnly(record.beforeDash().toString());
        if (marks.active() && marks.isClosed(current.type, number)) {
            r.lines << number + QLatin1Char('-') + record.rest().toString() + ClosedNumberText;
            continue;
        }
        if (current.kind == Heading::Count) {
            if (!AddTransferredCount(line, target.file)) r.lines << rejectedRow(line);
            continue;
        }
        // A record with pieces left over after its number and amount is no record of ours.
        if (record.amount().size() != record.rest().size()) {
            r.lines << rejectedRow(line);
            continue;
        }
        const qsizetype row = r.lines.size();
        const QString added =
            AddTransferredBet(record.beforeDash().toString(), record.rest().toString(), target.file, r.lines);
        if (added.isEmpty()) continue;
        const double amount = Val(added.mid(added.indexOf(QLatin1Char('#')) + 1));
        if (marks.active()) r.lines[row] += marks.judge(current.type, number, amount).mark;
        target.rows << static_cast<int>(row);
        target.count += 1;
        target.amount += amount;
        r.count += 1;
        r.amount += amount;
    }
    progress.hide();

    // One write per changed file; a file that cannot be written takes its records back.
    int changed = 0, saved = 0;
    for (Target& target : targets.all()) {
        if (!target.file.changed()) continue;
        ++changed;
        if (target.file.save(store)) {
            ++saved;
            continue;
        }
        r.lines << outcomeLine({Status::WriteFailed, target.file.path()});
        for (int row : std::as_const(target.rows))
            r.lines[row] += WriteFailedRowText;
        r.count -= target.count;
        r.amount -= target.amount;
    }
    // Remembered unless nothing of it could be stored, so that it can be tried again; one that
    // stored nothing because the book could not take its names leaves the book as it was.
    if ((changed == 0 && r.refusedHeadings.isEmpty()) || saved > 0) {
        merged << print;
        if (!store.WriteWholeFile(store.path(MergedBackupsFileName), merged.join(CRLF)))
            r.lines << outcomeLine({Status::WriteFailed, MergedBackupsFileName});
    }

    r.lines << QStringLiteral("การถ่ายโอนข้อมูลเสร็จสิ้นแล้ว")
            << QStringLiteral("รวมจำนวน= ") + formatCount(r.count) + QStringLiteral(" รายการ")
            << QStringLiteral("รวมเงิน= ") + formatAmount(r.amount) + QStringLiteral(" บาท");
    return r;
}

MergeResult runRestore(Store& store, const QString& drive)
{
    MergeResult r;
    const QString file = backupFilePath(drive);
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || info.size() == 0) {
        r.outcome = {Status::NoBackup, drive};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    if (info.size() > MaxBackupBytes) {
        r.outcome = {Status::ReadFailed, file};
        r.lines << ReadFailedText + QDir::toNativeSeparators(file);
        return r;
    }
    const FileText f = store.readFile(file);
    if (!f.readable) {
        r.outcome = {Status::ReadFailed, file};
        r.lines << ReadFailedText + QDir::toNativeSeparators(file);
        return r;
    }
    r = MergeBackupText(store, f.text);
    r.lines << QStringLiteral("ปริมาณข้อมูล= ") + QString::number(info.size()) + QStringLiteral(" บิท");
    if (r.outcome.ok()) {
        QFile audit(transferAuditFilePath(drive));
        if (audit.size() <= MaxBackupBytes && audit.open(QIODevice::ReadOnly))
            r.carried = transferredAuditLines(audit.readAll(), writtenBackupFingerprint(encodeWindows874(f.text)));
        if (!r.carried.isEmpty()) r.lines << TransferredAuditText.arg(formatCount(r.carried.size()));
    }
    return r;
}

QList<AuditRecord> transferredAuditLines(const QByteArray& bytes, const QString& print)
{
    const QByteArray header = BackupFileName.toLatin1() + '\t' + print.toLatin1() + "\r\n";
    if (print.isEmpty() || !bytes.startsWith(header)) return {};
    QList<AuditRecord> lines;
    for (qsizetype start = header.size(); start < bytes.size();) {
        const qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0) break; // a line cut short is not a line of the log
        const QByteArrayView line(bytes.constData() + start, end - start);
        start = end + 2;
        AuditRecord r;
        if (!parseAuditLine(line, r) || r.number.isEmpty() || typeIndex(r.type) < 0) continue;
        if (!changesStake(r.action) && r.action != AuditAction::Restore) continue;
        // The customer as the backup's headings name him, and as this book took him in.
        QString customer = r.customer;
        customer.remove(QLatin1Char(' '));
        r.customer = transferredCustomer(customer);
        if (!r.customer.isEmpty()) lines << r;
    }
    return lines;
}
} // namespace varnoth
