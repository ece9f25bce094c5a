#include "tools/restore.h"

#include "audit/auditread.h"
#include "entry/entry.h"
#include "entry/rulemarks.h"
#include "settings/numberruletexts.h"
#include "settings/options.h"

#include "core/model/codepage874.h"
#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/datafolder.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/numberfile.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/safefile.h"
#include "storage/folder/store.h"
#include "tools/backup.h"
#include "tools/backuptexts.h"
#include "tools/newdraw.h"

#include <QBuffer>
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

// A backup of a whole book of a thousand customers is some tens of megabytes; a file far beyond that
// is not a backup, and going through it would hold the program for minutes. (The backup is read as a
// stream; the audit lines beside it are read whole, within the same bound.)
constexpr qint64 MaxBackupBytes = 256LL * 1024 * 1024;

// What a restore leaves out of a line: the blanks after it, and the CR of its line end.
bool isTrailingBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// A line of a backup as a restore reads it: without its line end and the blanks after it.
struct BackupLine {
    QString text;
    bool cut = false;     // longer than any record or heading: `text` holds only its start
    bool heading = false; // it holds a "#" (anywhere, also beyond the start kept of a cut line)
};

// Reads a backup a slice at a time and hands out its whole lines (a piece after the last line end may
// have been cut short, and is no line), so that a backup of any size is never held in memory. Every
// byte read, the piece after the last line end included, goes into the fingerprints.
class BackupReader
{
public:
    BackupReader(QIODevice& device, bool legacyPrint) : m_device(device), m_legacy(legacyPrint) {}

    bool next(BackupLine& line)
    {
        QByteArray start; // of a line longer than MaxLineBytes
        bool cut = false, hash = false;
        for (;;) {
            const qsizetype end = m_buffer.indexOf('\n', m_pos);
            if (end >= 0) {
                QByteArrayView piece(m_buffer.constData() + m_pos, end - m_pos);
                m_consumed += piece.size() + 1;
                m_pos = end + 1;
                ++m_lines;
                if (cut) {
                    hash = hash || piece.contains('#');
                    keepStart(start, piece);
                    line = {cp874::decode(start), true, hash};
                    return true;
                }
                while (!piece.isEmpty() && isTrailingBlank(piece.back()))
                    piece.chop(1);
                line = {cp874::decode(piece), false, piece.contains('#')};
                return true;
            }
            const QByteArrayView rest(m_buffer.constData() + m_pos, m_buffer.size() - m_pos);
            if (cut || rest.size() >= MaxLineBytes) {
                cut = true;
                hash = hash || rest.contains('#');
                keepStart(start, rest);
                m_consumed += rest.size();
                m_pos = m_buffer.size();
            }
            if (!fill()) return false;
        }
    }

    bool failed() const { return m_failed; }
    qint64 lines() const { return m_lines; }
    qint64 consumed() const { return m_consumed; }
    QString recordPrint() const { return m_records.result(); }
    QString bytesPrint() const { return QString::fromLatin1(m_bytes.result().toHex()); }
    QString legacyPrint() const { return QString::fromLatin1(m_text.result().toHex()); }

private:
    static constexpr qsizetype Slice = 1 << 20;
    // No record or heading comes near this; a longer line is refused by its start.
    static constexpr qsizetype MaxLineBytes = 1 << 16;

    static void keepStart(QByteArray& start, QByteArrayView piece)
    {
        if (start.size() < MaxLineBytes) start += piece.first(std::min(piece.size(), MaxLineBytes - start.size()));
    }
    bool fill()
    {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
        const qsizetype had = m_buffer.size();
        m_buffer.resize(had + Slice);
        const qint64 got = m_device.read(m_buffer.data() + had, Slice);
        m_buffer.resize(had + std::max<qint64>(got, 0));
        if (got < 0) m_failed = true;
        if (got <= 0) return false;
        const QByteArrayView bytes(m_buffer.constData() + had, got);
        m_records.add(bytes);
        m_bytes.addData(bytes);
        if (m_legacy) m_text.addData(cp874::decode(bytes).toUtf8());
        return true;
    }

    QIODevice& m_device;
    bool m_legacy;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_lines = 0;
    qint64 m_consumed = 0;
    bool m_failed = false;
    RecordFingerprint m_records;
    QCryptographicHash m_bytes{WrittenBackupDigest};
    QCryptographicHash m_text{QCryptographicHash::Sha256};
};

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
    const QStringList pieces = list.split(QLatin1Char('#'));
    QSet<QString> listed(pieces.begin(), pieces.end());
    bool changed = false;
    for (const QString& name : names) {
        if (listed.contains(name)) continue;
        if (list.isEmpty()) list = QLatin1Char('#');
        list += name + QLatin1Char('#');
        listed.insert(name);
        changed = true;
    }
    if (changed && !store.WriteWholeFile(path, list)) return {outcomeLine({Status::WriteFailed, path})};
    return {};
}

// A number file being changed by a restore, with what the restore listed and counted for it, so
// that a file that cannot be written takes its records back out of the totals.
struct Target {
    NumberFile file;
    int type = -1; // of the headings its records came under
    QList<int> rows;
    double count = 0;
    double amount = 0;
    bool failureListed = false;
};

class Targets
{
public:
    explicit Targets(Store& store) : m_store(store) {}
    int indexOf(const QString& path)
    {
        auto it = m_index.constFind(path);
        if (it != m_index.constEnd()) return it.value();
        m_index.insert(path, static_cast<int>(m_targets.size()));
        m_targets.push_back(Target{NumberFile(m_store, path)});
        return static_cast<int>(m_targets.size()) - 1;
    }
    Target& operator[](int index) { return m_targets[static_cast<size_t>(index)]; }
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

// A stake record held back until the operator has said whether records above the ceiling are stored,
// with its row in the list.
struct LargeRecord {
    int target = -1;
    int row = -1;
    QString number;
    double amount = 0;
};

// The records above the ceiling whose rows are not listed, by target and number: all that is needed
// of them is their sum and how many they are.
struct LargeSum {
    double amount = 0;
    int records = 0;
};

// The rows of a restore in the main list. They are kept up to a bound (a backup of millions of
// records would otherwise need gigabytes for its list alone); the rows beyond it are only counted.
class Rows
{
public:
    explicit Rows(QStringList& lines) : m_lines(lines) {}
    // The row's index, or -1 when it is not listed.
    int add(const QString& row)
    {
        const qint64 cost = RowCost + 2 * row.size();
        if (m_unlisted > 0 || m_used + cost > Budget) {
            ++m_unlisted;
            return -1;
        }
        m_used += cost;
        m_lines << row;
        return static_cast<int>(m_lines.size()) - 1;
    }
    void append(int row, const QString& text)
    {
        if (row >= 0) m_lines[row] += text;
    }
    qint64 unlisted() const { return m_unlisted; }

private:
    static constexpr qint64 Budget = 128LL * 1024 * 1024; // bytes, about a million and a half short rows
    static constexpr qint64 RowCost = 64;                 // what a row costs besides its characters

    QStringList& m_lines;
    qint64 m_used = 0;
    qint64 m_unlisted = 0;
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
        // Only a number of the type's width can be a stake's, and only those are kept.
        const QString number = DigitsOnly(l.beforeDash().toString());
        if (number.size() != classifyType(typeNames()[type]).digits) return;
        m_counts[key(type, number)] += Val(count);
    }
    // At least one: a stake stands for one bet or more even where the backup gives no count.
    double of(int type, const QString& number) const { return std::max(1.0, m_counts.value(key(type, number))); }

private:
    static QString key(int type, const QString& number) { return QString::number(type) + QLatin1Char('#') + number; }
    QHash<QString, double> m_counts;
};

QString largeRecordsQuestion(int records, double highest, qint64 ceiling)
{
    return RestoreAboveCeilingText.arg(formatCount(static_cast<double>(records)), formatCount(highest),
                                       formatCount(static_cast<double>(ceiling)));
}

Heading headingOf(const BackupLine& line)
{
    // A cut line whose "#" lies beyond the start kept names no type this book knows.
    if (!line.text.contains(QLatin1Char('#'))) return {Heading::Invalid};
    return parseHeading(line.text);
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

namespace
{

struct Questions {
    const ConfirmLarge& large;
    const ConfirmLarge& manyCustomers;
};

// Merges the backup the device holds (open, at its start). `name` is the file named when it changed
// while it was read; `bytesPrint` receives the digest of its bytes.
MergeResult mergeBackup(Store& store, QIODevice& device, const QString& name, const Questions& ask,
                        QString* bytesPrint = nullptr)
{
    MergeResult r;
    auto readFailed = [&] {
        r.outcome = {Status::ReadFailed, name};
        r.lines << ReadFailedText + QDir::toNativeSeparators(name);
        return r;
    };
    // The backup is known by its records; a book may also have noted it by the digest of its text
    // (merged) or of its bytes (written) before it knew the records' fingerprint.
    QStringList merged = fingerprints(store, MergedBackupsFileName);
    const bool legacy = std::any_of(merged.begin(), merged.end(), [](const QString& p) { return p.size() == 64; });
    Progress& progress = store.progress();

    // First pass: the fingerprints, every customer named in a heading, and the counts, which come
    // after the stakes they go with.
    BackupReader first(device, legacy);
    QStringList names;
    QSet<QString> seen, refusedSeen;
    BackupCounts counts;
    bool anyHeading = false, tooMany = false;
    Heading current;
    QString currentText;
    const qint64 size = std::max<qint64>(1, device.size());
    const qsizetype mostNames = MaxNewCustomers + store.customers().size();
    int shown = 0;
    progress.reset();
    for (BackupLine line; first.next(line);) {
        for (const int due = static_cast<int>(20 * std::min(first.consumed(), size) / size); shown < due; ++shown)
            progress.tick(20);
        if (!line.heading) {
            if (current.kind == Heading::Count && !line.cut) counts.add(current.type, line.text);
            continue;
        }
        if (line.text != currentText || line.cut) {
            current = headingOf(line);
            currentText = line.text;
            if (!current.refusal.isEmpty() && refusedSeen.size() < MaxNewCustomers) {
                const QString shownLine = line.text.left(400);
                if (!refusedSeen.contains(shownLine)) {
                    refusedSeen.insert(shownLine);
                    r.refusedHeadings << shownLine;
                }
            }
        }
        if (current.kind == Heading::Stake || current.kind == Heading::Count) anyHeading = true;
        if (current.kind == Heading::Stake && !seen.contains(current.customer)) {
            // Beyond any book's customers a backup's names are not kept: it is refused below.
            if (seen.size() >= mostNames) {
                tooMany = true;
            } else {
                seen.insert(current.customer);
                names << current.customer;
            }
        }
        progress.yield();
    }
    progress.hide();
    if (first.failed()) return readFailed();
    const qint64 n = first.lines();
    if (n == 0) return r;
    if (bytesPrint) *bytesPrint = first.bytesPrint();
    r.clearList = true;
    const QString print = first.recordPrint();
    if (merged.contains(print) || (legacy && merged.contains(first.legacyPrint()))) {
        r.outcome = {Status::AlreadyMerged, {}};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    if (bookHoldsRecords(store)) {
        const QStringList written = fingerprints(store, WrittenBackupsFileName);
        if (written.contains(print) || written.contains(first.bytesPrint())) {
            r.outcome = {Status::OwnBackup, {}};
            r.lines << outcomeLine(r.outcome);
            return r;
        }
    }

    // A backup that would add a great many customers (each brings a dozen files) is merged only on
    // the operator's word, asked before anything is written.
    {
        const QStringList listed = store.customers();
        const QSet<QString> known(listed.begin(), listed.end());
        for (const QString& customer : std::as_const(names))
            if (!known.contains(customer)) ++r.newCustomers;
    }
    if (tooMany || r.newCustomers > MaxNewCustomers) {
        r.outcome = {Status::ManyCustomers, {}};
        r.lines << TooManyCustomersText.arg(formatCount(MaxNewCustomers));
        return r;
    }
    if (r.newCustomers > ManyNewCustomers) {
        const bool agreed = ask.manyCustomers && ask.manyCustomers(ManyCustomersQuestionText.arg(
                                                     formatCount(r.newCustomers), formatCount(ManyNewCustomers)));
        if (!agreed) {
            r.outcome = {Status::ManyCustomers, {}};
            r.lines << ManyCustomersRefusedText.arg(formatCount(r.newCustomers), formatCount(ManyNewCustomers));
            return r;
        }
    }

    r.lines << QStringLiteral("กำลังถ่ายโอนข้อมูล");
    if (anyHeading) {
        if (!names.isEmpty()) {
            r.lines += addCustomers(store, names);
            r.lines += store.EnsureStakeFiles();
        }
        r.lines += store.EnsureTypeFiles(typeNames(), Store::CountPrefix);
        r.lines += store.EnsureTypeFiles(typeNames(), Store::SendOutPrefix);
    }
    names.clear();
    seen.clear();

    // Second pass: every record into its file in memory.
    if (!device.seek(0)) return readFailed();
    QHash<QString, int> customerIndex;
    const QHash<int, QString> listed = Store::customerNames(store.customerListText());
    for (auto it = listed.constBegin(); it != listed.constEnd(); ++it)
        customerIndex.insert(it.value(), it.key());

    Rows rows(r.lines);
    Targets targets(store);
    RuleMarks marks(store);
    const qint64 ceiling = amountCeiling(store);
    QList<LargeRecord> large;
    QHash<int, QHash<QString, LargeSum>> largeUnlisted;
    int largeCount = 0;
    double largest = 0;
    QString currentPath;
    auto count = [&](Target& target, int type, const QString& number, double amount, int row, int records = 1) {
        target.file.add(number, amount);
        if (marks.active()) {
            const QString mark = marks.judge(type, number, amount).mark;
            rows.append(row, mark);
        }
        if (row >= 0) target.rows << row;
        target.count += records;
        target.amount += amount;
        r.count += records;
        r.amount += amount;
    };
    current = {};
    currentText.clear();
    BackupReader second(device, false);
    progress.reset();
    for (BackupLine line; second.next(line);) {
        progress.tick(n);
        progress.yield();
        if (line.text.isEmpty() && !line.cut) continue;
        if (line.heading) {
            if (line.text != currentText || line.cut) {
                current = headingOf(line);
                currentText = line.text;
            }
            currentPath.clear();
            if (current.kind == Heading::Stake && customerIndex.contains(current.customer))
                currentPath = store.stakeFilePathAt(current.type, customerIndex.value(current.customer));
            else if (current.kind == Heading::Count)
                currentPath = store.TypeFilePath(typeNames()[current.type], Store::CountPrefix);
            if (current.kind == Heading::Invalid) rows.add(rejectedRow(line.text));
            if (!current.refusal.isEmpty()) rows.add(current.refusal);
            continue;
        }
        if (currentPath.isEmpty() || line.cut || !line.text.contains(QLatin1Char('-'))) {
            rows.add(rejectedRow(line.text));
            continue;
        }
        // A file is read when its first record comes, not for a heading without any.
        const int currentTarget = targets.indexOf(currentPath);
        Target& target = targets[currentTarget];
        target.type = current.type;
        if (!target.file.ok()) {
            if (!target.failureListed) r.lines << outcomeLine({Status::ReadFailed, target.file.path()});
            target.failureListed = true;
            rows.add(rejectedRow(line.text));
            continue;
        }
        // This book's closed numbers take nothing from another computer either, neither stakes nor
        // the counts that go with them.
        const TextLine record = TextLine::of(line.text);
        const QString number = DigitsOnly(record.beforeDash().toString());
        if (marks.active() && marks.isClosed(current.type, number)) {
            rows.add(number + QLatin1Char('-') + record.rest().toString() + ClosedNumberText);
            continue;
        }
        if (current.kind == Heading::Count) {
            if (!AddTransferredCount(line.text, target.file)) rows.add(rejectedRow(line.text));
            continue;
        }
        // A record with pieces left over after its number and amount is no record of ours.
        const std::optional<StakeRecord> stake =
            record.amount().size() == record.rest().size()
                ? transferredStake(record.beforeDash().toString(), record.rest().toString(), target.file)
                : std::nullopt;
        if (!stake) {
            rows.add(rejectedRow(line.text));
            continue;
        }
        const int row = rows.add(stake->number + QLatin1Char('-') + stake->amount);
        const double amount = Val(stake->amount);
        if (amount > static_cast<double>(ceiling) * counts.of(current.type, stake->number)) {
            ++largeCount;
            largest = std::max(largest, amount);
            if (row >= 0) {
                large << LargeRecord{currentTarget, row, stake->number, amount};
            } else {
                LargeSum& sum = largeUnlisted[currentTarget][stake->number];
                sum.amount += amount;
                ++sum.records;
            }
            continue;
        }
        count(target, current.type, stake->number, amount, row);
    }
    progress.hide();
    // The file changed while it was read (another program wrote the drive): what was read is not
    // the backup the fingerprint names, and none of it is stored.
    if (second.failed() || second.recordPrint() != print || second.bytesPrint() != first.bytesPrint())
        return readFailed();

    // Records above the ceiling: one question for all of them, before anything is written.
    if (largeCount > 0) {
        const bool confirmed = ask.large && ask.large(largeRecordsQuestion(largeCount, largest, ceiling));
        if (confirmed) {
            auto typeOf = [&](int t) { return targets[t].type; };
            for (const LargeRecord& l : std::as_const(large))
                count(targets[l.target], typeOf(l.target), l.number, l.amount, l.row);
            for (auto t = largeUnlisted.constBegin(); t != largeUnlisted.constEnd(); ++t)
                for (auto it = t->constBegin(); it != t->constEnd(); ++it)
                    count(targets[t.key()], typeOf(t.key()), it.key(), it->amount, -1, it->records);
        } else {
            for (const LargeRecord& l : std::as_const(large))
                rows.append(l.row, AboveCeilingText);
            r.aboveCeiling = largeCount;
        }
    }
    if (rows.unlisted() > 0) r.lines << RowsNotListedText.arg(formatCount(static_cast<double>(rows.unlisted())));

    // Every changed file and the list of merged backups are one commit: the backup's stakes, their
    // counts and the note that it was merged are stored together or not at all. When the commit
    // fails, every record takes itself back and the backup can be tried again.
    FolderTransaction tx(store);
    int changed = 0;
    for (Target& target : targets.all()) {
        if (!target.file.changed()) continue;
        ++changed;
        tx.replaceFile(target.file.path(), target.file.text() + CRLF);
    }
    // Remembered unless nothing of it could be stored, so that it can be tried again; one that
    // stored nothing because the book could not take its names leaves the book as it was.
    if (changed > 0 || r.refusedHeadings.isEmpty()) {
        merged << print;
        tx.replaceFile(store.path(MergedBackupsFileName), merged.join(CRLF) + CRLF);
    }
    const CommitResult committed = tx.commit();
    for (const Outcome& failure : committed.failed)
        r.lines << outcomeLine(failure);
    if (!committed.ok()) {
        for (Target& target : targets.all()) {
            if (!target.file.changed()) continue;
            for (int row : std::as_const(target.rows))
                r.lines[row] += WriteFailedRowText;
            r.count -= target.count;
            r.amount -= target.amount;
        }
    }

    r.lines << QStringLiteral("การถ่ายโอนข้อมูลเสร็จสิ้นแล้ว")
            << QStringLiteral("รวมจำนวน= ") + formatCount(r.count) + QStringLiteral(" รายการ")
            << QStringLiteral("รวมเงิน= ") + formatAmount(r.amount) + QStringLiteral(" บาท");
    return r;
}

} // namespace

MergeResult MergeBackupText(Store& store, const QString& text, const ConfirmLarge& confirmLarge,
                            const ConfirmLarge& confirmManyCustomers)
{
    QByteArray bytes = encodeWindows874(text);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return mergeBackup(store, buffer, {}, {confirmLarge, confirmManyCustomers});
}

MergeResult runRestore(Store& store, const QString& drive, const ConfirmLarge& confirmLarge,
                       const ConfirmLarge& confirmManyCustomers)
{
    MergeResult r;
    const QString file = backupFilePath(drive);
    QFile f;
    FileKind kind = FileKind::Missing;
    // A link is not followed and a pipe is not waited on: either is a backup that cannot be read.
    if (!file.isEmpty() && !openRegularForRead(f, file, &kind) && kind != FileKind::Missing) {
        r.outcome = {Status::ReadFailed, file};
        r.lines << ReadFailedText + QDir::toNativeSeparators(file);
        return r;
    }
    const qint64 size = f.isOpen() ? f.size() : 0;
    if (size == 0) {
        r.outcome = {Status::NoBackup, drive};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    if (size > MaxBackupBytes) {
        r.outcome = {Status::ReadFailed, file};
        r.lines << ReadFailedText + QDir::toNativeSeparators(file);
        return r;
    }
    QString bytesPrint;
    r = mergeBackup(store, f, file, {confirmLarge, confirmManyCustomers}, &bytesPrint);
    r.lines << QStringLiteral("ปริมาณข้อมูล= ") + QString::number(size) + QStringLiteral(" บิท");
    if (r.outcome.ok()) {
        QFile audit;
        if (openRegularForRead(audit, transferAuditFilePath(drive)) && audit.size() <= MaxBackupBytes)
            r.carried = transferredAuditLines(audit.readAll(), bytesPrint);
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
