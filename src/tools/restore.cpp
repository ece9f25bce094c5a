#include "tools/restore.h"

#include "audit/auditread.h"
#include "entry/entry.h"
#include "entry/rulemarks.h"
#include "settings/numberruletexts.h"
#include "settings/options.h"

#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/numberfile.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"
#include "tools/backup.h"
#include "tools/backuptexts.h"
#include "tools/newdraw.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>
#include <vector>

namespace varnoth
{

namespace
{

// A backup of a whole book of a few hundred customers is a few megabytes; a file far beyond that
// is not a backup, and reading it whole could exhaust the memory.
constexpr qint64 MaxBackupBytes = 256LL * 1024 * 1024;

// What a restore leaves out of a line: the blanks after it, and the CR of its line end.
bool isTrailingBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The lines of a backup text as a restore reads them: only whole lines (a piece after the last line
// end may have been cut short), each without its line end and the blanks after it.
QStringList backupLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeLast();
    for (QString& line : lines) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1].unicode() < 0x80 && isTrailingBlank(char(line[end - 1].unicode())))
            --end;
        line.truncate(end);
    }
    return lines;
}

// Whether an amount read from a backup can be added up exactly with the others.
bool isRestorableAmount(const QString& digits)
{
    qsizetype zeros = 0;
    while (zeros < digits.size() && digits[zeros] == QLatin1Char('0'))
        ++zeros;
    // Digits beyond those of the largest amount are no amount, whatever their value as a double.
    return digits.size() - zeros <= 13 && Val(digits) <= MaxRestoredAmount;
}

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

void RecordFingerprint::add(QByteArrayView bytes)
{
    QByteArray lines;
    lines.reserve(bytes.size() + 1);
    auto addLine = [&](QByteArrayView line) {
        while (!line.isEmpty() && isTrailingBlank(line.back()))
            line.chop(1);
        if (line.isEmpty()) return;
        lines += line;
        lines += '\n';
    };
    qsizetype start = 0;
    for (qsizetype end; (end = bytes.indexOf('\n', start)) >= 0; start = end + 1) {
        if (m_partial.isEmpty()) {
            addLine(bytes.sliced(start, end - start));
            continue;
        }
        m_partial += bytes.sliced(start, end - start);
        addLine(m_partial);
        m_partial.clear();
    }
    m_partial += bytes.sliced(start);
    m_hash.addData(lines);
}

QString RecordFingerprint::result() const
{
    return QString::fromLatin1(m_hash.result().toHex());
}

QString recordFingerprint(QByteArrayView bytes)
{
    RecordFingerprint print;
    print.add(bytes);
    return print.result();
}

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

namespace
{

struct StakeRecord {
    QString number; // the digits of the file's line
    QString amount; // the digits of the record
};

// The stake record of a backup line's number and amount, or nothing when it cannot be stored: a
// number without a line of its own (a permutation number not in ascending order) would change
// nothing, and an amount without a digit is no bet; neither may count as restored.
std::optional<StakeRecord> transferredStake(const QString& number, const QString& amount, const NumberFile& file)
{
    StakeRecord s{DigitsOnly(number), DigitsOnly(amount)};
    const bool valid = file.width() > 0 && s.number.size() == file.width() && file.contains(s.number) &&
                       !s.amount.isEmpty() && s.amount.size() == amount.size() && isRestorableAmount(s.amount);
    if (!valid) return std::nullopt;
    return s;
}

// A stake record held back until the operator has said whether records above the ceiling are stored.
struct LargeRecord {
    QString path;
    StakeRecord stake;
    int type = -1;
    int row = -1;
    double amount = 0;
};

// The counts of the backup's counts section, by type and number, as the records of the stakes
// section are weighed against them.
class BackupCounts
{
public:
    void add(int type, const QString& line)
    {
        const TextLine l = TextLine::of(line);
        const QString count = l.amount().toString();
        // Only a count the merge takes: digits alone, nothing left over after them.
        if (!l.hasDash() || count.isEmpty() || DigitsOnly(count) != count || l.amount().size() != l.rest().size() ||
            !isRestorableAmount(count))
            return;
        m_counts[key(type, DigitsOnly(l.beforeDash().toString()))] += Val(count);
    }
    // At least one: a stake stands for one bet or more even where the backup gives no count.
    double of(int type, const QString& number) const { return std::max(1.0, m_counts.value(key(type, number))); }

private:
    static QString key(int type, const QString& number) { return QString::number(type) + QLatin1Char('#') + number; }
    QHash<QString, double> m_counts;
};

QString largeRecordsQuestion(const QList<LargeRecord>& large, qint64 ceiling)
{
    double highest = 0;
    for (const LargeRecord& l : large)
        highest = std::max(highest, l.amount);
    return RestoreAboveCeilingText.arg(formatCount(static_cast<double>(large.size())), formatCount(highest),
                                       formatCount(static_cast<double>(ceiling)));
}

} // namespace

QString AddTransferredBet(const QString& number, const QString& amount, NumberFile& file, QStringList& rows)
{
    const std::optional<StakeRecord> stake = transferredStake(number, amount, file);
    if (!stake) {
        rows << rejectedRow(number + QLatin1Char('-') + amount);
        return {};
    }
    file.add(stake->number, Val(stake->amount));
    rows << stake->number + QLatin1Char('-') + stake->amount;
    return stake->number + QLatin1Char('#') + stake->amount;
}

bool AddTransferredCount(const QString& line, NumberFile& file)
{
    if (line.isEmpty() || file.isEmpty()) return false;
    const TextLine l = TextLine::of(line);
    const QString count = l.hasDash() ? l.amount().toString() : QString();
    // A count with pieces left over after it ("13-1-2", "16-1-") is no count of ours, as a stake
    // record with pieces left over is none.
    if (count.isEmpty() || DigitsOnly(count) != count || l.amount().size() != l.rest().size() ||
        !isRestorableAmount(count))
        return false;
    return file.add(l.beforeDash().toString(), Val(count));
}

MergeResult MergeBackupText(Store& store, const QString& text, const ConfirmLarge& confirmLarge)
{
    MergeResult r;
    const QStringList lines = backupLines(text);
    const qsizetype n = lines.size();
    if (n == 0) return r;
    r.clearList = true;
    // The backup is known by its records; a book may also have noted it by the digest of its text
    // (merged) or of its bytes (written) before it knew the records' fingerprint.
    const QByteArray bytes = encodeWindows874(text);
    const QString print = recordFingerprint(bytes);
    QStringList merged = fingerprints(store, MergedBackupsFileName);
    if (merged.contains(print) || (!merged.isEmpty() && merged.contains(backupFingerprint(text)))) {
        r.outcome = {Status::AlreadyMerged, {}};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    if (bookHoldsRecords(store)) {
        const QStringList written = fingerprints(store, WrittenBackupsFileName);
        if (written.contains(print) || written.contains(writtenBackupFingerprint(bytes))) {
            r.outcome = {Status::OwnBackup, {}};
            r.lines << outcomeLine(r.outcome);
            return r;
        }
    }
    r.lines << QStringLiteral("กำลังถ่ายโอนข้อมูล");
    Progress& progress = store.progress();

    // First pass: every customer named in a heading, with all its files, before any record; and the
    // counts, which come after the stakes they go with.
    QHash<QString, Heading> headings;
    QStringList names;
    QSet<QString> seen;
    BackupCounts counts;
    bool anyHeading = false;
    Heading inFirstPass;
    progress.reset();
    for (const QString& line : std::as_const(lines)) {
        progress.tick(n);
        if (!line.contains(QLatin1Char('#'))) {
            if (inFirstPass.kind == Heading::Count) counts.add(inFirstPass.type, line);
            continue;
        }
        auto it = headings.constFind(line);
        if (it == headings.constEnd()) {
            it = headings.insert(line, parseHeading(line));
            if (!it->refusal.isEmpty()) r.refusedHeadings << line;
        }
        inFirstPass = *it;
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
    const qint64 ceiling = amountCeiling(store);
    QList<LargeRecord> large;
    Heading current;
    QString currentPath;
    auto count = [&](Target& target, int type, const StakeRecord& stake, qsizetype row) {
        const double amount = Val(stake.amount);
        target.file.add(stake.number, amount);
        if (marks.active()) r.lines[row] += marks.judge(type, stake.number, amount).mark;
        target.rows << static_cast<int>(row);
        target.count += 1;
        target.amount += amount;
        r.count += 1;
        r.amount += amount;
    };
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
        const std::optional<StakeRecord> stake =
            record.amount().size() == record.rest().size()
                ? transferredStake(record.beforeDash().toString(), record.rest().toString(), target.file)
                : std::nullopt;
        if (!stake) {
            r.lines << rejectedRow(line);
            continue;
        }
        const qsizetype row = r.lines.size();
        r.lines << stake->number + QLatin1Char('-') + stake->amount;
        const double amount = Val(stake->amount);
        if (amount > static_cast<double>(ceiling) * counts.of(current.type, stake->number)) {
            large << LargeRecord{currentPath, *stake, current.type, static_cast<int>(row), amount};
            continue;
        }
        count(target, current.type, *stake, row);
    }
    progress.hide();

    // Records above the ceiling: one question for all of them, before anything is written.
    if (!large.isEmpty()) {
        const bool confirmed = confirmLarge && confirmLarge(largeRecordsQuestion(large, ceiling));
        for (const LargeRecord& l : std::as_const(large)) {
            if (confirmed) {
                count(targets.at(l.path), l.type, l.stake, l.row);
                continue;
            }
            r.lines[l.row] += AboveCeilingText;
            ++r.aboveCeiling;
        }
    }

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

MergeResult runRestore(Store& store, const QString& drive, const ConfirmLarge& confirmLarge)
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
    r = MergeBackupText(store, f.text, confirmLarge);
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
