#include "storage/folder/store.h"

#include "core/model/codepage874.h"
#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/safefile.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace varnoth
{

#ifdef Q_OS_UNIX
namespace
{
QByteArray stampOf(const struct stat& st)
{
    return QByteArray::number(static_cast<qulonglong>(st.st_ino)) + ':' +
           QByteArray::number(static_cast<qlonglong>(st.st_size)) + ':' +
           QByteArray::number(static_cast<qlonglong>(st.st_mtim.tv_sec)) + '.' +
           QByteArray::number(static_cast<qlonglong>(st.st_mtim.tv_nsec));
}

// The stamp of an open file; "" when it cannot be had.
QByteArray handleStamp(int fd)
{
    struct stat st {
    };
    if (fd < 0 || ::fstat(fd, &st) != 0) return {};
    return stampOf(st);
}
} // namespace
#endif

QByteArray fileStamp(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat st {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return stampOf(st);
#else
    const QFileInfo fi(path);
    if (!fi.exists()) return {};
    return QByteArray::number(fi.size()) + ':' + QByteArray::number(fi.lastModified().toMSecsSinceEpoch());
#endif
}

QString decodeWindows874(const QByteArray& bytes, bool* ok)
{
    if (ok) *ok = true;
    return cp874::decode(bytes);
}

QByteArray encodeWindows874(const QString& text, bool* ok)
{
    return cp874::encode(text, ok);
}

QString decodeSheet(const QByteArray& bytes)
{
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(b.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString s = utf8.decode(b);
    bool ascii = true;
    for (char c : b)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (!utf8.hasError() && !ascii) return s;
    return decodeWindows874(b);
}

Store::Store(const QString& dataFolder, Progress* progress)
{
    QString f = QDir::cleanPath(dataFolder);
    if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
    m_folder = f;
    m_watch = std::make_unique<FolderWatch>(QDir::cleanPath(dataFolder));
    setProgress(progress);
}

void Store::setProgress(Progress* progress)
{
    m_progress = progress ? progress : &m_silent;
}

bool Store::codecAvailable()
{
    return cp874::selfCheck();
}

QString Store::fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

FileBytes Store::readBytes(const QString& path, bool stamped) const
{
    FileBytes r;
    if (path.isEmpty()) return r;
    QFile f;
    // Opened straight away: asking first whether the file is there would cost every read a second
    // look at the disk. Only a file that cannot be opened is asked after. A link or a pipe in a
    // file's place is there but cannot be read.
    FileKind kind = FileKind::Missing;
    if (!openRegularForRead(f, path, &kind)) {
        r.exists = kind != FileKind::Missing;
        r.readable = !r.exists;
        if (r.exists) failed(Status::ReadFailed, path, kind);
        return r;
    }
    r.exists = true;
#ifdef Q_OS_UNIX
    // A file replaced by a safe write is a new file; the one open here keeps its bytes. A file
    // written over in place shows a new stamp after the read, and then no stamp is given.
    const QByteArray before = stamped ? handleStamp(f.handle()) : QByteArray();
#endif
    r.bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        r.bytes.clear();
        r.readable = false;
        failed(Status::ReadFailed, path);
        return r;
    }
#ifdef Q_OS_UNIX
    if (stamped && !before.isEmpty() && handleStamp(f.handle()) == before) r.stamp = before;
#endif
    return r;
}

FileText Store::readFile(const QString& path, bool stamped) const
{
    FileBytes b = readBytes(path, stamped);
    FileText r;
    r.exists = b.exists;
    r.readable = b.readable;
    r.stamp = b.stamp;
    if (!b.bytes.isEmpty()) r.text = decodeWindows874(b.bytes);
    return r;
}

QString Store::ReadWholeFile(const QString& path) const
{
    return readFile(path).text;
}

bool Store::writeExact(const QString& path, const QString& text, QByteArray* stamp)
{
    // A large text (the backup of a whole book) is encoded a slice at a time, so that it is never
    // held a second time in the code page. A slice never ends between the halves of a surrogate
    // pair, so the bytes are those of the whole text encoded at once.
    return writeWith(path, stamp, [&text](QSaveFile& f) {
        constexpr qsizetype Slice = 1 << 20;
        for (qsizetype from = 0; from < text.size();) {
            qsizetype to = std::min(text.size(), from + Slice);
            if (to < text.size() && text.at(to - 1).isHighSurrogate()) ++to;
            const QByteArray bytes = encodeWindows874(text.sliced(from, to - from));
            if (f.write(bytes) != bytes.size() || f.error() != QFileDevice::NoError) return false;
            from = to;
        }
        return true;
    });
}

bool Store::writeBytes(const QString& path, const QByteArray& bytes, QByteArray* stamp)
{
    return writeWith(path, stamp, [&bytes](QSaveFile& f) {
        return f.write(bytes) == bytes.size() && f.error() == QFileDevice::NoError;
    });
}

bool Store::writeWith(const QString& path, QByteArray* stamp, const std::function<bool(QSaveFile&)>& body)
{
    if (stamp) stamp->clear();
    if (path.isEmpty()) return true;
    // A safe write puts a new file in the name's place; but a link there would have it write the
    // file the link points at instead, and a pipe or folder is not ours to replace.
    if (const FileKind kind = fileKind(path); !mayReplace(kind)) {
        failed(Status::WriteFailed, path, kind);
        return false;
    }
    QSaveFile f(path);
    // Unbuffered, so that a full disk fails the write itself: a buffered save can lose the error of
    // its last flush and then replace the file with a short one.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        failed(Status::WriteFailed, path);
        return false;
    }
    if (!body(f)) {
        f.cancelWriting();
        failed(Status::WriteFailed, path);
        return false;
    }
#ifdef Q_OS_UNIX
    // Taken from the new file before it takes the old one's name: the name keeps the file and its
    // stamp, and a change made by another program after that has a stamp of its own.
    const QByteArray written = stamp ? handleStamp(f.handle()) : QByteArray();
#endif
    if (f.commit()) {
#ifdef Q_OS_UNIX
        if (stamp) *stamp = written;
#endif
        return true;
    }
    failed(Status::WriteFailed, path);
    return false;
}

bool Store::WriteWholeFile(const QString& path, const QString& text, QByteArray* stamp)
{
    return writeExact(path, text + CRLF, stamp);
}

bool Store::removeFile(const QString& path)
{
    if (path.isEmpty()) return true;
    // A link is removed itself, never what it points at; a folder or a pipe is left alone.
    const FileKind kind = fileKind(path);
    if (kind == FileKind::Missing) return true;
    if (kind != FileKind::Other && QFile::remove(path)) return true;
    failed(Status::WriteFailed, path);
    return false;
}

void Store::failed(Status status, const QString& path, FileKind kind) const
{
    const Outcome outcome{status, path};
    if (kind == FileKind::Link || kind == FileKind::Other)
        qWarning().noquote() << (status == Status::ReadFailed ? "read failed:" : "write failed:")
                             << QDir::toNativeSeparators(path)
                             << QStringLiteral("(%1)").arg(QLatin1String(fileKindName(kind)));
    else
        qWarning().noquote() << (status == Status::ReadFailed ? "read failed:" : "write failed:")
                             << QDir::toNativeSeparators(path);
    m_failures << outcome;
}

bool Store::exists(const QString& path) const
{
    return !path.isEmpty() && fileKind(path) != FileKind::Missing;
}

QString Store::customerListText() const
{
    return withoutLineEnds(ReadWholeFile(customerFile()));
}

namespace
{

// The places of a customer list text as the file names use them: blanks out, lower case, and only
// the pieces that a "#" closes (the one before the first "#" is place 0 and always empty).
struct ListPlaces {
    QStringList pieces;
    qsizetype count = 0;
};

ListPlaces listPlaces(const QString& list)
{
    QString l = list;
    l.remove(QStringLiteral("\r\n"));
    l.remove(QLatin1Char(' '));
    l = l.toLower();
    return {l.split(QLatin1Char('#')), l.count(QLatin1Char('#'))};
}

} // namespace

QStringList Store::customers() const
{
    // A name listed twice is one customer: he is shown, billed and counted once. Names are the
    // same when they are the same without blanks and in lower case, as the file names take them;
    // nearly every name already is its own key.
    QStringList out;
    QSet<QString> seen;
    for (const QString& name : splitText(customerListText(), QStringLiteral("#"))) {
        if (name.isEmpty()) continue;
        QString key = name;
        if (key.contains(QLatin1Char(' ')) || !key.isLower()) key = key.remove(QLatin1Char(' ')).toLower();
        if (seen.contains(key)) continue;
        seen.insert(key);
        out << name;
    }
    return out;
}

QList<int> Store::customerIndexes(const QString& list)
{
    const ListPlaces places = listPlaces(list);
    QList<int> out;
    for (int i = 0; i < places.count; ++i)
        if (!places.pieces[i].isEmpty()) out << i;
    return out;
}

QList<int> Store::entryIndexes(const QString& list)
{
    // A name's new stakes go to its last place, the one IndexInList finds.
    const ListPlaces places = listPlaces(list);
    QHash<QString, int> last;
    for (int i = 0; i < places.count; ++i)
        if (!places.pieces[i].isEmpty()) last.insert(places.pieces[i], i);
    QList<int> out;
    for (int i = 0; i < places.count; ++i)
        if (!places.pieces[i].isEmpty() && last.value(places.pieces[i]) == i) out << i;
    return out;
}

QHash<int, QString> Store::customerNames(const QString& list)
{
    const ListPlaces places = listPlaces(list);
    QHash<int, QString> names;
    for (int index : entryIndexes(list))
        names.insert(index, places.pieces[index]);
    return names;
}

QList<std::pair<QString, QList<int>>> Store::customerPlacesByName(const QString& list)
{
    const ListPlaces places = listPlaces(list);
    QList<std::pair<QString, QList<int>>> out;
    QHash<QString, qsizetype> at;
    for (int i = 0; i < places.count; ++i) {
        const QString& name = places.pieces[i];
        if (name.isEmpty()) continue;
        const auto known = at.constFind(name);
        if (known != at.constEnd()) {
            out[known.value()].second << i;
            continue;
        }
        at.insert(name, out.size());
        out.append({name, {i}});
    }
    return out;
}

QList<int> Store::customerPlaces(const QString& list, const QString& customer)
{
    QList<int> out;
    if (customer.isEmpty()) return out;
    const ListPlaces places = listPlaces(list);
    for (int i = 0; i < places.count; ++i)
        if (places.pieces[i] == customer) out << i;
    return out;
}

QList<int> Store::customerPlaces(const QString& customer) const
{
    return customerPlaces(customerListText(), customer);
}

QStringList Store::customersListedTwice(const QString& list)
{
    QStringList out;
    for (const auto& [name, at] : customerPlacesByName(list))
        if (at.size() > 1) out << name;
    return out;
}

QStringList Store::customersListedTwice() const
{
    return customersListedTwice(customerListText());
}

QString Store::customerIndex(const QString& customer) const
{
    return IndexInList(customerListText(), customer);
}

QString Store::stakeFileName(int typeIndex, int customerIndex)
{
    return QString::number(typeIndex) + QLatin1Char('_') + QString::number(customerIndex) + QStringLiteral(".gif");
}

QString Store::stakeFilePathAt(int typeIndex, int customerIndex) const
{
    return path(stakeFileName(typeIndex, customerIndex));
}

QString Store::StakeFilePath(const QString& type, const QString& customer) const
{
    QString t = IndexInList(TypeList, type);
    if (t.isEmpty() || classifyType(type).digits == 0) return {};
    QString c = customerIndex(customer);
    if (c.isEmpty()) return {};
    return path(t + QLatin1Char('_') + c + QStringLiteral(".gif"));
}

QStringList Store::stakeFilePaths(const QString& type, const QString& customer) const
{
    QStringList paths;
    const QString t = IndexInList(TypeList, type);
    if (t.isEmpty() || classifyType(type).digits == 0) return paths;
    for (int c : customerPlaces(customer))
        paths << stakeFilePathAt(t.toInt(), c);
    return paths;
}

QByteArray Store::stakeBytesAt(int typeIndex, const QList<int>& places) const
{
    // Nearly every customer has one place: his file's bytes are taken as they stand.
    if (places.size() == 1) return readBytes(stakeFilePathAt(typeIndex, places.first())).bytes;
    QByteArray all;
    for (int c : places) {
        const QByteArray bytes = readBytes(stakeFilePathAt(typeIndex, c)).bytes;
        if (bytes.isEmpty()) continue;
        if (!all.isEmpty() && !all.endsWith('\n')) all += "\r\n";
        all += bytes;
    }
    return all;
}

QByteArray Store::customerStakeBytes(const QString& type, const QString& customer) const
{
    const QString t = IndexInList(TypeList, type);
    if (t.isEmpty() || classifyType(type).digits == 0) return {};
    return stakeBytesAt(t.toInt(), customerPlaces(customer));
}

QString Store::TypeFilePath(const QString& type, const QString& prefix) const
{
    if (type.isEmpty() || prefix.isEmpty()) return {};
    QString t = IndexInList(TypeList, type);
    if (t.isEmpty()) return {};
    return path(prefix + QLatin1Char('_') + t + QStringLiteral(".gif"));
}

QString Store::LookupKeyed(const QString& path, const QString& key) const
{
    if (path.isEmpty()) return {};
    const QString text = ReadWholeFile(path);
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty()) continue;
        const QStringList pieces = line.split(QLatin1Char('#'));
        if (pieces[0] == key) return pieces.size() > 1 ? pieces[1] : QString();
    }
    return {};
}

QStringList Store::AddCustomer(const QString& name)
{
    if (name.isEmpty()) return {};
    // Every way a customer comes into the book passes here: a name the rule refuses is never listed.
    if (const QString refusal = customerNameRefusal(name); !refusal.isEmpty()) return {refusal};
    const FileText f = readFile(customerFile());
    if (f.exists && !f.readable) return {outcomeLine({Status::ReadFailed, customerFile()})};
    QString list = withoutLineEnds(f.text);
    QString text;
    if (list.isEmpty())
        text = QLatin1Char('#') + name + QLatin1Char('#');
    else if (!list.contains(QLatin1Char('#') + name + QLatin1Char('#')))
        text = list + name + QLatin1Char('#');
    else
        return {};
    if (!WriteWholeFile(customerFile(), text)) return {outcomeLine({Status::WriteFailed, customerFile()})};
    return {};
}

const QHash<QString, qint64>& Store::listing()
{
    return m_watch->files();
}

quint64 Store::changesEnd()
{
    return m_watch->journalEnd();
}

std::optional<QStringList> Store::changedSince(quint64 at)
{
    return m_watch->changedSince(at);
}

quint64 Store::changesId() const
{
    return m_watch->id();
}

// A file with content is never touched; a missing or empty one gets fresh content. A file that is
// there but cannot be read is left alone and reported.
QStringList Store::createIfEmpty(const QString& name, const QString& content, const QHash<QString, qint64>& files)
{
    auto it = files.constFind(name);
    if (it != files.constEnd() && it.value() > 0) return {};
    // A zero-length entry may still be something we cannot read or replace (a folder, a file we may
    // not open): never write over what cannot be read.
    const QString filePath = path(name);
    if (it != files.constEnd() && fileKind(filePath) != FileKind::Regular)
        return {outcomeLine({Status::ReadFailed, filePath})};
    if (!WriteWholeFile(filePath, content)) return {outcomeLine({Status::WriteFailed, filePath})};
    return {};
}

QStringList Store::EnsureStakeFiles()
{
    return ensureStakeFilesIn(listing());
}

QStringList Store::ensureStakeFilesIn(const QHash<QString, qint64>& files)
{
    QStringList failures;
    const QString list = customerListText();
    if (!list.contains(QLatin1Char('#'))) return failures;
    // Only the places new stakes go to are given files: a second place of a name has what it has.
    const QList<int> indexes = entryIndexes(list);
    progress().reset();
    const QStringList& types = typeNames();
    for (int t = 0; t < types.size(); ++t) {
        progress().tick(types.size());
        const QString content = InitialContent(types[t]);
        for (int c : indexes)
            failures += createIfEmpty(stakeFileName(t, c), content, files);
        progress().yield();
    }
    progress().hide();
    return failures;
}

QStringList Store::EnsureTypeFiles(const QStringList& types, const QString& prefix)
{
    return ensureTypeFiles(types, prefix, listing());
}

QStringList Store::ensureTypeFiles(const QStringList& types, const QString& prefix, const QHash<QString, qint64>& files)
{
    QStringList failures;
    for (const QString& type : types) {
        if (type.isEmpty()) continue;
        const QString p = TypeFilePath(type, prefix);
        if (p.isEmpty()) continue;
        failures += createIfEmpty(fileName(p), InitialContent(type), files);
        progress().yield();
    }
    return failures;
}

QStringList Store::creationSequence(const QString& customer)
{
    // Nothing at all is made for a name that cannot be a customer's.
    if (const QString refusal = customerNameRefusal(customer); !customer.isEmpty() && !refusal.isEmpty())
        return {refusal};
    QStringList failures = AddCustomer(customer);
    const QHash<QString, qint64> files = listing(); // one listing serves the three steps
    // Once every file of the book is known to hold content, it goes on doing so until one of them
    // is removed or emptied, the customer list changes or the folder has to be listed anew: until
    // then there is nothing to create, and nothing to look at.
    const QString list = customerListText();
    bool lost = false;
    for (const QString& name : m_watch->takeVanished())
        lost = lost || name.endsWith(QStringLiteral(".gif"));
    if (failures.isEmpty() && !lost && m_complete && m_complete->listings == m_watch->listings() &&
        m_complete->customers == list)
        return failures;
    m_complete.reset();
    ++m_fullChecks;
    failures += ensureStakeFilesIn(files);
    failures += ensureTypeFiles(typeNames(), CountPrefix, files);
    failures += ensureTypeFiles(typeNames(), SendOutPrefix, files);
    if (failures.isEmpty()) m_complete = Complete{m_watch->listings(), list};
    return failures;
}

bool Store::MakeHiddenFolder(const QString& path)
{
    if (!QDir().mkpath(path)) return false;
#ifdef Q_OS_WIN
    SetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
#endif
    return QFileInfo(path).isDir();
}

} // namespace varnoth
