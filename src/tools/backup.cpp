#include "tools/backup.h"

#include "model/text.h"
#include "model/types.h"
#include "store/datafolder.h"
#include "store/numberfile.h"
#include "store/store.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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

// Calls `f` for every non-empty line of a file's text (lines end in CR LF, or LF alone).
// A backup walks every line of every stake file: a plain loop, with no list of lines built and no
// library search per short line.
template <class F> void forEachLine(const QString& text, F f)
{
    const QChar* p = text.constData();
    const QChar* const end = p + text.size();
    while (p < end) {
        const QChar* const start = p;
        while (p < end && *p != QLatin1Char('\n'))
            ++p;
        QStringView line(start, p);
        if (p < end) ++p;
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (!line.isEmpty()) f(line);
    }
}

// The text after the first "-" (the whole line when it has none), of a decoded line or of the bytes
// of an ASCII one.
template <class View> View afterFirstDash(View line)
{
    for (qsizetype i = 0; i < line.size(); ++i)
        if (line[i] == '-') return line.sliced(i + 1);
    return line;
}

// The second "-"-separated field.
template <class View> View secondField(View line)
{
    const View rest = afterFirstDash(line);
    for (qsizetype i = 0; i < rest.size(); ++i)
        if (rest[i] == '-') return rest.first(i);
    return rest;
}

bool isBareZero(QStringView text)
{
    return text == QLatin1String("0");
}

bool isBareZero(QByteArrayView bytes)
{
    return bytes.size() == 1 && bytes[0] == '0';
}

double valueOf(QStringView text)
{
    return Val(text.toString());
}

double valueOf(QByteArrayView bytes)
{
    return Val(QString::fromLatin1(bytes));
}

bool hasDash(QStringView text)
{
    return text.contains(QLatin1Char('-'));
}

bool hasDash(QByteArrayView bytes)
{
    return bytes.contains('-');
}

// The customer names of a customer list text that own stake files, by customer index.
QHash<int, QString> customerNames(const QString& list)
{
    QString l = list;
    l.remove(QLatin1Char(' '));
    l = l.toLower();
    const QStringList pieces = l.split(QLatin1Char('#'));
    QHash<int, QString> names;
    for (int index : Store::customerIndexes(list))
        names.insert(index, pieces[index]);
    return names;
}

QString fingerprint(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

// --- headings of a backup ------------------------------------------------------------------------

struct Heading {
    enum Kind { None, Invalid, Stake, Count } kind = None;
    int type = -1;
    QString customer; // cleaned
};

// A customer name from another computer, cleaned as every customer name is. A name that could not
// be stored as it stands (control characters, or characters the data files cannot hold) would
// never be found again in the customer list, so it is no name; nor is a damaged line of megabytes.
QString transferredCustomer(const QString& raw)
{
    constexpr qsizetype MaxNameLength = 255;
    const QString name = CleanName(raw);
    if (name.size() > MaxNameLength) return {};
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return {};
    bool ok = true;
    encodeWindows874(name, &ok);
    return ok ? name : QString();
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
    h.customer = transferredCustomer(pieces[1]);
    if (!h.customer.isEmpty()) h.kind = Heading::Stake;
    return h;
}

// Adds the names to the customer list in one write, in the order given; a name already listed is
// left where it is.
QStringList addCustomers(Store& store, const QStringList& names)
{
    const QString path = store.customerFile();
    const FileText f = store.readFile(path);
    if (f.exists && !f.readable) return {ReadFailedText + Store::fileName(path)};
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
    if (changed && !store.WriteWholeFile(path, list)) return {WriteFailedText + Store::fileName(path)};
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
    forEachLine(store.ReadWholeFile(store.path(fileName)), [&](QStringView line) { out << line.toString(); });
    return out;
}

// Notes a backup this book has just written; the failure line when the note could not be stored.
QStringList rememberWrittenBackup(Store& store, const QString& print)
{
    QStringList written = fingerprints(store, WrittenBackupsFileName);
    if (written.contains(print)) return {};
    written << print;
    if (store.WriteWholeFile(store.path(WrittenBackupsFileName), written.join(CRLF))) return {};
    return {WriteFailedText + WrittenBackupsFileName};
}

// True for a saved-list name that stays a plain file name inside the data folder.
bool isPlainFileName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
        if (QStringLiteral("/\\:*?\"<>|").contains(c)) return false;
    }
    return true;
}

QStringList removeChecked(Store& store, const QString& path)
{
    if (store.removeFile(path)) return {};
    return {WriteFailedText + Store::fileName(path)};
}

bool isRemovable(const QStorageInfo& volume)
{
#ifdef Q_OS_WIN
    const QString root = QDir::toNativeSeparators(volume.rootPath());
    return GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16())) == DRIVE_REMOVABLE;
#else
    const QString root = volume.rootPath();
    for (const char* prefix : {"/media/", "/run/media/", "/mnt/", "/Volumes/"})
        if (root.startsWith(QLatin1String(prefix))) return true;
    return false;
#endif
}

} // namespace

// --- paths ---------------------------------------------------------------------------------------

QString backupFolderPath(const QString& drive)
{
    if (drive.trimmed().isEmpty()) return {};
    return QDir::toNativeSeparators(
        QDir::cleanPath(QDir::fromNativeSeparators(drive) + QLatin1Char('/') + BackupFolderName));
}

QString backupFilePath(const QString& drive)
{
    const QString folder = backupFolderPath(drive);
    if (folder.isEmpty()) return {};
    return folder + QDir::separator() + BackupFileName;
}

// --- backup --------------------------------------------------------------------------------------

namespace
{

// Hands every line of the backup, in order, to the sink: the stakes section (a heading per pair,
// then the lines whose amount is not "0") and the counts section (a heading per type, then the
// lines whose count is above 0). Lines of plain ASCII go as the file's own bytes, which is what
// nearly every line is; headings and any other line go as text.
template <class Sink> void forEachBackupLine(Store& store, QStringList* failures, Sink& sink)
{
    const QString list = store.customerListText();
    if (!list.contains(QLatin1Char('#'))) return;
    // A customer listed twice owns one set of files; its records go into the backup once.
    const QList<int> indexes = Store::customerIndexes(list);
    const QHash<int, QString> names = customerNames(list);
    const QStringList& types = typeNames();
    Progress& progress = store.progress();

    auto read = [&](const QString& path) {
        FileBytes f = store.readBytes(path);
        if (!f.readable && failures) *failures << ReadFailedText + Store::fileName(path);
        return std::move(f.bytes);
    };
    // Every non-empty line of a file's bytes (lines end in CR LF, or LF alone), as bytes when it is
    // plain ASCII and as decoded text otherwise; `keep` decides on the text of either.
    auto lines = [&](const QByteArray& bytes, auto keep) {
        const char* p = bytes.constData();
        const char* const end = p + bytes.size();
        while (p < end) {
            const char* const start = p;
            bool ascii = true;
            for (; p < end && *p != '\n'; ++p)
                if (static_cast<unsigned char>(*p) >= 0x80) ascii = false;
            const char* lineEnd = p;
            if (p < end) ++p;
            if (lineEnd > start && lineEnd[-1] == '\r') --lineEnd;
            if (lineEnd == start) continue;
            const QByteArrayView raw(start, lineEnd - start);
            if (ascii) {
                if (keep(raw)) sink.ascii(raw);
            } else {
                const QString line = decodeWindows874(raw.toByteArray());
                if (keep(QStringView(line))) sink.text(line);
            }
        }
    };

    progress.reset();
    for (int t = 0; t < types.size(); ++t) {
        progress.tick(types.size());
        QString type = types[t];
        type.remove(QLatin1Char(' '));
        for (int c : indexes) {
            sink.heading(type, names.value(c));
            lines(read(store.stakeFilePathAt(t, c)), [](auto line) { return !isBareZero(afterFirstDash(line)); });
        }
        progress.yield();
    }
    progress.hide();

    progress.reset();
    for (int t = 0; t < types.size(); ++t) {
        progress.tick(types.size());
        const QString path = store.TypeFilePath(types[t], Store::CountPrefix);
        if (path.isEmpty()) continue;
        sink.heading(types[t], QString());
        lines(read(path), [](auto line) { return hasDash(line) && valueOf(secondField(line)) > 0; });
        progress.yield();
    }
    progress.hide();
}

// Collects the backup as one text.
struct TextSink {
    QString out;
    void ascii(QByteArrayView line) { add(QLatin1StringView(line.data(), line.size())); }
    void text(QStringView line) { add(line); }
    void heading(const QString& type, const QString& customer)
    {
        out += type;
        out += QLatin1Char('#');
        add(customer);
    }
    template <class Line> void add(Line line)
    {
        out += line;
        out += CRLF;
    }
};

// What a run of bytes holds: its MD5 digest and its size, the same however the run is cut into
// pieces. It compares a backup as written with the file as read back from the disk, against damage,
// not against tampering, so the fastest of Qt's digests does.
class Check
{
public:
    void add(QByteArrayView bytes)
    {
        m_hash.addData(bytes);
        m_size += bytes.size();
    }
    QByteArray digest() const { return m_hash.result(); }
    qint64 size() const { return m_size; }

private:
    QCryptographicHash m_hash{QCryptographicHash::Md5};
    qint64 m_size = 0;
};

struct Digest {
    QByteArray value;
    qint64 size = 0;
    bool operator==(const Digest&) const = default;
};

// Writes the backup into a file as it is made, a slice at a time, so that a large book is never
// held whole in memory. Headings are encoded once per type and customer.
class FileSink
{
public:
    explicit FileSink(QSaveFile& file) : m_file(file) { m_buffer.reserve(Slice + 4096); }

    // The characters of the text are counted as the text holds them, line ends included.
    void ascii(QByteArrayView line)
    {
        m_chars += line.size() + 2;
        add(line);
    }
    void text(QStringView line)
    {
        m_chars += line.size() + 2;
        add(encodeWindows874(line.toString()));
    }
    void heading(const QString& type, const QString& customer)
    {
        m_chars += type.size() + 1 + customer.size() + 2;
        QByteArray line = encoded(type);
        line += '#';
        line += encoded(customer);
        add(line);
    }
    // The line end after the whole text, which is not counted as part of it.
    bool finish()
    {
        append("\r\n");
        return flush();
    }
    bool ok() const { return m_ok; }
    qint64 chars() const { return m_chars; }
    Digest check() const { return {m_check.digest(), m_check.size()}; }

private:
    static constexpr qsizetype Slice = 1 << 20;

    void add(QByteArrayView line)
    {
        append(line);
        append("\r\n");
        if (m_buffer.size() >= Slice) flush();
    }
    void append(QByteArrayView bytes) { m_buffer.append(bytes.data(), bytes.size()); }
    bool flush()
    {
        if (m_ok && !m_buffer.isEmpty()) {
            m_check.add(m_buffer);
            m_ok = m_file.write(m_buffer) == m_buffer.size() && m_file.error() == QFileDevice::NoError;
        }
        m_buffer.clear();
        return m_ok;
    }
    const QByteArray& encoded(const QString& text)
    {
        auto it = m_encoded.constFind(text);
        if (it == m_encoded.constEnd()) it = m_encoded.insert(text, encodeWindows874(text));
        return it.value();
    }

    QSaveFile& m_file;
    QByteArray m_buffer;
    QHash<QString, QByteArray> m_encoded;
    Check m_check;
    qint64 m_chars = 0;
    bool m_ok = true;
};

// The check value of a file as it now stands on the disk.
std::optional<Digest> checkOfFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    Check check;
    QByteArray slice;
    while (!(slice = f.read(1 << 20)).isEmpty())
        check.add(slice);
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return Digest{check.digest(), check.size()};
}

} // namespace

QString BuildBackupText(Store& store, QStringList* failures)
{
    TextSink sink;
    forEachBackupLine(store, failures, sink);
    return sink.out;
}

QStringList runBackup(Store& store, const QString& drive)
{
    return writeBackup(store, drive).lines;
}

BackupResult writeBackup(Store& store, const QString& drive)
{
    const BackupResult failed{{Status::BackupFailed, backupFilePath(drive)}, {BackupFailedText}};
    const QString file = backupFilePath(drive);
    if (file.isEmpty() || !Store::MakeHiddenFolder(backupFolderPath(drive))) return failed;
    // The new backup replaces the old one atomically and only when it is complete: a failed backup
    // leaves the previous one whole instead of none, or one with files missing.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed;
    QStringList failures;
    FileSink sink(out);
    forEachBackupLine(store, &failures, sink);
    if (!sink.finish() || !failures.isEmpty()) {
        out.cancelWriting();
        return {failed.outcome, failed.lines + failures};
    }
    if (!out.commit()) return failed;
    // What is on the disk is read back: only a backup that holds what was written is reported.
    const std::optional<Digest> onDisk = checkOfFile(file);
    if (!onDisk || !(*onDisk == sink.check())) return failed;
    // Fingerprinted as a restore reads it, so that restoring it into this same book is recognised.
    const FileText written = store.readFile(file);
    const QStringList noted = written.readable ? rememberWrittenBackup(store, fingerprint(written.text))
                                               : QStringList{WriteFailedText + WrittenBackupsFileName};
    const Outcome outcome = noted.isEmpty() ? Outcome{} : Outcome{Status::WriteFailed, WrittenBackupsFileName};
    return {
        outcome,
        QStringList{QStringLiteral("การสำรองข้อมูลเสร็จสิ้นแล้ว"),
                    QStringLiteral("ปริมาณข้อมูลต้นทาง= ") + QString::number(sink.chars()) + QStringLiteral(" บิท"),
                    QStringLiteral("ปริมาณข้อมูลปลายทาง= ") + QString::number(onDisk->size - 2) + QStringLiteral(" บิท")} +
            noted};
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
    const QStringList pieces = line.split(QLatin1Char('-'));
    const QString count = pieces.value(1);
    if (count.isEmpty() || DigitsOnly(count) != count) return false;
    return file.add(pieces[0], Val(count));
}

MergeResult MergeBackupText(Store& store, const QString& text)
{
    MergeResult r;
    const qsizetype n = text.count(CRLF);
    if (n == 0) return r;
    r.clearList = true;
    const QString print = fingerprint(text);
    QStringList merged = fingerprints(store, MergedBackupsFileName);
    if (merged.contains(print)) {
        r.outcome = {Status::AlreadyMerged, {}};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    if (fingerprints(store, WrittenBackupsFileName).contains(print) && bookHoldsRecords(store)) {
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
        if (it == headings.constEnd()) it = headings.insert(line, parseHeading(line));
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
    const QHash<int, QString> listed = customerNames(store.customerListText());
    for (auto it = listed.constBegin(); it != listed.constEnd(); ++it)
        customerIndex.insert(it.value(), it.key());

    Targets targets(store);
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
            continue;
        }
        if (currentPath.isEmpty() || !line.contains(QLatin1Char('-'))) {
            r.lines << rejectedRow(line);
            continue;
        }
        Target& target = targets.at(currentPath);
        if (!target.file.ok()) {
            if (!target.failureListed) r.lines << ReadFailedText + Store::fileName(currentPath);
            target.failureListed = true;
            r.lines << rejectedRow(line);
            continue;
        }
        if (current.kind == Heading::Count) {
            if (!AddTransferredCount(line, target.file)) r.lines << rejectedRow(line);
            continue;
        }
        const QStringList pieces = line.split(QLatin1Char('-'));
        // A record with pieces left over after its number and amount is no record of ours.
        if (pieces.size() != 2) {
            r.lines << rejectedRow(line);
            continue;
        }
        const qsizetype row = r.lines.size();
        const QString added = AddTransferredBet(pieces[0], pieces[1], target.file, r.lines);
        if (added.isEmpty()) continue;
        const double amount = Val(added.mid(added.indexOf(QLatin1Char('#')) + 1));
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
        r.lines << WriteFailedText + Store::fileName(target.file.path());
        for (int row : std::as_const(target.rows))
            r.lines[row] += WriteFailedRowText;
        r.count -= target.count;
        r.amount -= target.amount;
    }
    // Remembered unless nothing of it could be stored, so that it can be tried again.
    if (changed == 0 || saved > 0) {
        merged << print;
        if (!store.WriteWholeFile(store.path(MergedBackupsFileName), merged.join(CRLF)))
            r.lines << WriteFailedText + MergedBackupsFileName;
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
    return r;
}

// --- the new draw --------------------------------------------------------------------------------

namespace
{

// Every stake file of the folder, not only those of the listed customers: a file left behind would
// be taken over by whichever new customer next gets its index.
QStringList stakeFileNames(const Store& store)
{
    static const QRegularExpression stakeName(QStringLiteral("^\\d+_\\d+\\.gif$"));
    const QStringList files = QDir(store.dataFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QStringList stakes;
    for (const QString& name : files)
        if (stakeName.match(name).hasMatch()) stakes << name;
    return stakes;
}

// True when a line of the number file has a value other than 0 after its first "-".
bool holdsValue(Store& store, const QString& path)
{
    const QByteArray bytes = store.readBytes(path).bytes;
    const QByteArrayView all(bytes);
    for (qsizetype start = 0; start < all.size();) {
        qsizetype end = all.indexOf('\n', start);
        if (end < 0) end = all.size();
        QByteArrayView line = all.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith('\r')) line.chop(1);
        if (hasDash(line) && valueOf(secondField(line)) != 0) return true;
    }
    return false;
}

QString drawsFolderPath(const Store& store)
{
    const QString data = QDir::cleanPath(store.dataFolder());
    const QString parent = QFileInfo(data).absolutePath();
    if (parent == QFileInfo(data).absoluteFilePath()) return {}; // the data folder is a root
    return QDir(parent).filePath(DrawsFolderName);
}

// A whole file into a new file, atomically; the copy is read back and compared byte for byte.
bool copyChecked(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit()) return false;
    QFile copy(to);
    return copy.open(QIODevice::ReadOnly) && copy.readAll() == bytes && copy.error() == QFileDevice::NoError;
}

} // namespace

bool bookHoldsRecords(Store& store)
{
    for (const QString& name : stakeFileNames(store))
        if (holdsValue(store, store.path(name))) return true;
    for (const QString& type : typeNames())
        if (holdsValue(store, store.TypeFilePath(type, Store::CountPrefix))) return true;
    return false;
}

QString makeDrawCopyFolder(const Store& store, const QDateTime& when)
{
    const QString draws = drawsFolderPath(store);
    if (draws.isEmpty() || !QDir().mkpath(draws)) return {};
    const QDir dir(draws);
    const QString stamp = QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd_HHmm"));
    constexpr int MaxTries = 1000;
    for (int n = 1; n <= MaxTries; ++n) {
        const QString name = n == 1 ? stamp : stamp + QLatin1Char('_') + QString::number(n);
        if (dir.exists(name)) continue;
        if (dir.mkdir(name)) return dir.filePath(name);
        if (!dir.exists(name)) return {};
    }
    return {};
}

bool copyBook(Store& store, const QString& folder)
{
    const QDir data(store.dataFolder());
    const QDir copy(folder);
    const QStringList files = data.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    Progress& progress = store.progress();
    progress.reset();
    for (const QString& name : files) {
        progress.tick(files.size());
        if (name == LockFileName) continue;
        if (!copyChecked(data.filePath(name), copy.filePath(name))) {
            progress.hide();
            return false;
        }
        progress.yield();
    }
    progress.hide();
    return true;
}

QStringList DeleteAllStakeFiles(Store& store)
{
    const QStringList stakes = stakeFileNames(store);
    QStringList failures;
    Progress& progress = store.progress();
    progress.reset();
    for (const QString& name : std::as_const(stakes)) {
        progress.tick(stakes.size());
        failures += removeChecked(store, store.path(name));
        progress.yield();
    }
    progress.hide();
    return failures;
}

QStringList DeleteTypeFiles(Store& store, const QString& prefix)
{
    QStringList failures;
    Progress& progress = store.progress();
    progress.reset();
    for (const QString& type : typeNames()) {
        progress.tick(typeNames().size());
        failures += removeChecked(store, store.TypeFilePath(type, prefix));
    }
    progress.hide();
    return failures;
}

NewDrawResult startNewDraw(Store& store, const QDateTime& when)
{
    NewDrawResult r;
    r.copyFolder = makeDrawCopyFolder(store, when);
    if (r.copyFolder.isEmpty() || !copyBook(store, r.copyFolder)) {
        // A partial copy would pass for the book; only a whole one is left behind.
        if (!r.copyFolder.isEmpty()) QDir(r.copyFolder).removeRecursively();
        r.copyFolder.clear();
        r.outcome = {Status::CopyFailed, drawsFolderPath(store)};
        r.lines << outcomeLine(r.outcome);
        return r;
    }
    r.done = true;
    r.lines << DrawCopiedText + QDir::toNativeSeparators(r.copyFolder);

    QStringList failures = DeleteAllStakeFiles(store);
    failures += DeleteTypeFiles(store, Store::CountPrefix);
    failures += DeleteTypeFiles(store, Store::SendOutPrefix);

    // A history edited by hand could name a path; only plain names inside the folder are deleted.
    const QString history = withoutLineEnds(store.ReadWholeFile(store.historyFile()));
    const QStringList saved = splitText(history, QStringLiteral("#"));
    const qsizetype count = history.count(QLatin1Char('#'));
    for (qsizetype i = 0; i < count; ++i)
        if (isPlainFileName(saved[i])) failures += removeChecked(store, store.savedListFile(saved[i]));

    for (const QString& path :
         {store.limitFile(), store.resultFile(), store.rateFile(), store.numberCutFile(), store.discountFile(),
          store.digitCutFile(), store.historyFile(), store.customerFile(), store.path(MergedBackupsFileName)})
        failures += removeChecked(store, path);

    failures += store.EnsureTypeFiles(typeNames(), Store::CountPrefix);
    failures += store.EnsureTypeFiles(typeNames(), Store::SendOutPrefix);
    r.lines += failures;
    return r;
}

// --- drives --------------------------------------------------------------------------------------

QList<Drive> availableDrives()
{
    static const QSet<QByteArray> pseudo = {"tmpfs",  "devtmpfs", "ramfs",      "squashfs", "proc",    "sysfs",
                                            "cgroup", "cgroup2",  "devpts",     "mqueue",   "debugfs", "tracefs",
                                            "autofs", "fusectl",  "securityfs", "pstore",   "bpf",     "configfs"};
    QList<Drive> removable, others;
    QSet<QString> seen;
    auto add = [&](QList<Drive>& into, const QString& root, const QString& name, bool isRemovable) {
        const QString clean = QDir::cleanPath(root);
        if (seen.contains(clean)) return;
        seen.insert(clean);
        QString label = QDir::toNativeSeparators(clean);
        if (!name.isEmpty()) label += QStringLiteral(" (") + name + QLatin1Char(')');
        into << Drive{clean, label, isRemovable};
    };
    add(others, QDir::homePath(), {}, false);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || pseudo.contains(volume.fileSystemType())) continue;
        if (!QFileInfo(volume.rootPath()).isDir() || volume.rootPath().startsWith(QLatin1String("/snap/"))) continue;
        const bool r = isRemovable(volume);
        add(r ? removable : others, volume.rootPath(), volume.name(), r);
    }
    return removable + others;
}

} // namespace varnoth
