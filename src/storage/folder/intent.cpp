#include "storage/folder/intent.h"

#include "core/model/text.h"
#include "storage/folder/committexts.h"
#include "storage/folder/store.h"

#include <QCryptographicHash>
#include <QDebug>

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

IntentRecovery completeInterruptedSave(Store& store)
{
    IntentRecovery r;
    const QString intentPath = store.path(IntentFileName);
    const FileBytes record = store.readBytes(intentPath);
    if (!record.exists) return r;
    r.found = true;
    QList<IntentFile> files;
    if (!record.readable || !parseIntent(record.bytes, &files)) {
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
    if (r.failed.isEmpty() && !store.removeFile(intentPath)) r.failed << Outcome{Status::WriteFailed, IntentFileName};
    store.takeFailures();
    qInfo().noquote() << "unfinished save:" << r.completed.size() << "files completed," << r.leftAlone.size()
                      << "left alone," << r.failed.size() << "failed";
    return r;
}

} // namespace varnoth
