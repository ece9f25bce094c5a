#include "storage/folder/intent.h"

#include "core/model/text.h"
#include "storage/folder/committexts.h"
#include "storage/folder/safefile.h"
#include "storage/folder/store.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>

namespace varnoth
{

namespace
{
// A name that stays inside the data folder.
bool plainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QLatin1Char(':')) && !name.startsWith(QLatin1Char('.')) && name != IntentFileName;
}
} // namespace

QByteArray intentFingerprint(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// One "name#value" line per field, CR LF after each: "file" (the name), "before" (the fingerprint,
// "-" for a missing file), "after" (the bytes in Base64, "-" when the file is removed), and at the
// end "end" with the number of files, which tells a whole record from a cut one.
QByteArray intentBytes(const QList<IntentFile>& files)
{
    QByteArray out;
    for (const IntentFile& f : files) {
        out += "file#" + encodeWindows874(f.name) + "\r\n";
        out += "before#" + (f.before.isEmpty() ? QByteArray("-") : f.before) + "\r\n";
        out += "after#" + (f.remove ? QByteArray("-") : f.after.toBase64()) + "\r\n";
    }
    out += "end#" + QByteArray::number(files.size()) + "\r\n";
    return out;
}

bool parseIntent(const QByteArray& bytes, QList<IntentFile>* files)
{
    files->clear();
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || (lines.size() - 1) % 3 != 0) return false;
    const auto field = [](const QByteArray& line, const char* key, QByteArray* value) {
        const QByteArray k = QByteArray(key) + '#';
        if (!line.startsWith(k)) return false;
        *value = line.mid(k.size());
        return true;
    };
    for (qsizetype i = 0; i + 1 < lines.size(); i += 3) {
        QByteArray name, before, after;
        if (!field(lines[i], "file", &name) || !field(lines[i + 1], "before", &before) ||
            !field(lines[i + 2], "after", &after))
            return false;
        IntentFile f;
        f.name = decodeWindows874(name);
        if (!plainName(f.name)) return false;
        f.before = before == "-" ? QByteArray() : before;
        f.remove = after == "-";
        if (!f.remove) {
            const auto decoded = QByteArray::fromBase64Encoding(after, QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) return false;
            f.after = *decoded;
        }
        files->append(f);
    }
    QByteArray end;
    return field(lines.last(), "end", &end) && end == QByteArray::number(files->size());
}

QStringList IntentRecovery::lines() const
{
    QStringList out;
    if (!found) return out;
    if (damaged) return {CommitRecordDamagedText + IntentFileName};
    for (const Outcome& o : failed)
        out << outcomeLine(o);
    if (!leftAlone.isEmpty()) out << CommitLeftAloneText + leftAlone.join(QLatin1Char(' '));
    // A save cut off after its last file was already whole: nothing to say.
    if (failed.isEmpty() && leftAlone.isEmpty() && !completed.isEmpty()) out << CommitCompletedText;
    return out;
}

QByteArray intentRecord(const QByteArray& body)
{
    return "intent#" + QByteArray::number(body.size()) + '#' + intentFingerprint(body) + "\r\n" + body;
}

namespace
{
const QByteArray DoneLine = "done\r\n";
// A record this large is emptied once its save is whole, so that one large save (a restore) does
// not stay in the data folder until the next new draw.
constexpr qint64 LargeRecord = 1 << 20;

enum class Record { None, Pending, Cut };

// The state of the record's bytes and, when pending, its body.
Record recordOf(const QByteArray& bytes, QByteArray* body)
{
    const qsizetype end = bytes.indexOf("\r\n");
    if (end < 0 || !bytes.startsWith("intent#"))
        return bytes.isEmpty() || bytes.startsWith(DoneLine) ? Record::None : Record::Cut;
    const QList<QByteArray> head = bytes.first(end).split('#');
    bool ok = false;
    const qsizetype size = head.size() == 3 ? head[1].toLongLong(&ok) : -1;
    if (!ok || size < 0 || end + 2 + size > bytes.size()) return Record::Cut;
    *body = bytes.sliced(end + 2, size);
    return intentFingerprint(*body) == head[2] ? Record::Pending : Record::Cut;
}
} // namespace

bool writeIntent(Store& store, const QByteArray& body)
{
    const QString path = store.path(IntentFileName);
    QFile f;
    const QByteArray record = intentRecord(body);
    if (!openRegularForUpdate(f, path) || f.write(record) != record.size() || !syncData(f)) {
        qWarning().noquote() << "write failed:" << QDir::toNativeSeparators(path);
        return false;
    }
    return true;
}

void closeIntent(Store& store)
{
    const QString path = store.path(IntentFileName);
    QFile f;
    // Not put on the disk: should the line be lost, the next open finds every file already holding
    // its bytes after, and has nothing to do.
    if (!openRegularForUpdate(f, path) || f.write(DoneLine) != DoneLine.size() ||
        (f.size() > LargeRecord && !f.resize(0)))
        qWarning().noquote() << "the intent record stays until the next open:" << QDir::toNativeSeparators(path);
}

bool saveInterrupted(const Store& store)
{
    // Nearly always "done" or no record at all: its first bytes say so without reading the rest.
    QFile f;
    if (!openRegularForRead(f, store.path(IntentFileName)))
        return fileKind(store.path(IntentFileName)) != FileKind::Missing;
    if (!f.peek(7).startsWith("intent#")) return false;
    QByteArray body;
    return recordOf(f.readAll(), &body) == Record::Pending;
}

IntentRecovery completeInterruptedSave(Store& store)
{
    IntentRecovery r;
    const QString intentPath = store.path(IntentFileName);
    const FileBytes record = store.readBytes(intentPath);
    if (!record.exists) return r;
    QByteArray body;
    const Record state = record.readable ? recordOf(record.bytes, &body) : Record::Pending;
    if (state == Record::None) return r;
    if (state == Record::Cut) {
        // Cut off while it was written: no file of the book was touched after it.
        qInfo().noquote() << "unfinished save: the record was cut off before any file was written:" << intentPath;
        closeIntent(store);
        return r;
    }
    r.found = true;
    QList<IntentFile> files;
    if (!record.readable || !parseIntent(body, &files)) {
        // Never a guess: a record that cannot be read whole is kept for someone to look at.
        r.damaged = true;
        qWarning().noquote() << "unfinished save: the record cannot be read, nothing done:" << intentPath;
        return r;
    }
    for (const IntentFile& f : files) {
        const QString path = store.path(f.name);
        const FileBytes now = store.readBytes(path);
        if (now.exists && !now.readable) {
            r.failed << Outcome{Status::ReadFailed, f.name};
            continue;
        }
        const bool atAfter = f.remove ? !now.exists : (now.exists && now.bytes == f.after);
        if (atAfter) continue;
        const bool atBefore =
            f.before.isEmpty() ? !now.exists : (now.exists && intentFingerprint(now.bytes) == f.before);
        if (!atBefore) {
            r.leftAlone << f.name;
            continue;
        }
        const bool written = f.remove ? store.removeFile(path) : store.writeBytes(path, f.after);
        if (written)
            r.completed << f.name;
        else
            r.failed << Outcome{Status::WriteFailed, f.name};
    }
    // A write that failed is tried again at the next open; otherwise the record has done its work.
    if (r.failed.isEmpty()) closeIntent(store);
    store.takeFailures();
    qInfo().noquote() << "unfinished save:" << r.completed.size() << "files completed," << r.leftAlone.size()
                      << "left alone," << r.failed.size() << "failed";
    return r;
}

} // namespace varnoth
