#pragma once
// The data folder: every file path, the windows-874 codec, the shared file routines and the
// creation sequence of the number files. Writes are atomic and checked; a failure is reported to
// the caller as a line for the operator, never swallowed.

#include "core/model/outcome.h"
#include "core/model/progress.h"
#include "storage/folder/folderwatch.h"
#include "storage/folder/safefile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QSaveFile;

namespace varnoth
{

struct FileText {
    QString text;
    bool exists = false;  // the file is there
    bool readable = true; // false when it exists but could not be read or decoded
    QByteArray stamp;     // the stamp of the version read, when asked for and known ("" otherwise)
};

// The raw bytes of a file, for readers that take the code page's ASCII part as it stands.
struct FileBytes {
    QByteArray bytes;
    bool exists = false;
    bool readable = true;
    QByteArray stamp; // as in FileText
};

class Store
{
public:
    // `dataFolder` is created when missing. The progress sink may be null.
    explicit Store(const QString& dataFolder, Progress* progress = nullptr);

    // True when the windows-874 codec is available (checked once at start-up).
    static bool codecAvailable();

    QString dataFolder() const { return m_folder; } // ends in "/"
    QString path(const QString& fileName) const { return m_folder + fileName; }
    static QString fileName(const QString& path);

    // Settings, result, history and customer files.
    QString limitFile() const { return path(QStringLiteral("lotto2.gif")); }
    QString resultFile() const { return path(QStringLiteral("lotto3.gif")); }
    QString rateFile() const { return path(QStringLiteral("lotto4.gif")); }
    QString numberCutFile() const { return path(QStringLiteral("lotto6.gif")); }
    QString discountFile() const { return path(QStringLiteral("lotto7.gif")); }
    QString digitCutFile() const { return path(QStringLiteral("lotto8.gif")); }
    QString historyFile() const { return path(QStringLiteral("his.gif")); }
    static inline const QString CustomerFileName = QStringLiteral("custom.gif");
    QString customerFile() const { return path(CustomerFileName); }
    QString savedListFile(const QString& name) const { return path(name + QStringLiteral("_b.gif")); }

    static inline const QString CountPrefix = QStringLiteral("a-");
    static inline const QString SendOutPrefix = QStringLiteral("b");

    Progress& progress() { return *m_progress; }
    void setProgress(Progress* progress);

    // --- file routines ---------------------------------------------------------------------------
    // The whole content, line ends included; "" for "" or a missing or unreadable file.
    QString ReadWholeFile(const QString& path) const;
    // The content with whether the file exists and could be read.
    // With `stamped`, also the stamp of the very version read (see fileStamp), where the system can
    // tell it: "" when the file changed while it was read.
    FileText readFile(const QString& path, bool stamped = false) const;
    FileBytes readBytes(const QString& path, bool stamped = false) const;
    // Atomically replaces the file with the text followed by one CR LF. Nothing for "" (returns true).
    // `stamp`, when given, receives the stamp of the file written ("" where the system cannot tell it).
    bool WriteWholeFile(const QString& path, const QString& text, QByteArray* stamp = nullptr);
    // Atomically replaces the file with exactly the text (no CR LF added).
    bool writeExact(const QString& path, const QString& text, QByteArray* stamp = nullptr);
    // Atomically replaces the file with exactly these bytes.
    bool writeBytes(const QString& path, const QByteArray& bytes, QByteArray* stamp = nullptr);
    bool removeFile(const QString& path);
    bool exists(const QString& path) const;

    // --- names and paths -------------------------------------------------------------------------
    // A name may stand twice in the customer list (a list edited by hand): each of its places keeps
    // stake files of its own, and the customer's stakes are those of every place. New stakes go to
    // its last place, the one StakeFilePath names.
    QString customerListText() const;                     // custom.gif without line ends
    QStringList customers() const;                        // the names in order, each once, empty places skipped
    QString customerIndex(const QString& customer) const; // the place new stakes go to
    // Every place of the customer in the list, in order ("" list when it is not listed).
    QList<int> customerPlaces(const QString& customer) const;
    static QList<int> customerPlaces(const QString& list, const QString& customer);
    // The names standing more than once in the list, each once, in the order they first stand.
    QStringList customersListedTwice() const;
    static QStringList customersListedTwice(const QString& list);
    // Every place of a customer list text that holds a name, in order: each place's stake files
    // are read once.
    static QList<int> customerIndexes(const QString& list);
    // Each name of a customer list text with its places, in the order the names first stand.
    static QList<std::pair<QString, QList<int>>> customerPlacesByName(const QString& list);
    // The places new stakes go to (a name's last place), with their names.
    static QList<int> entryIndexes(const QString& list);
    static QHash<int, QString> customerNames(const QString& list);
    QString StakeFilePath(const QString& type, const QString& customer) const;
    // The customer's stake files of the type, one for each place ("" list for no type or customer).
    QStringList stakeFilePaths(const QString& type, const QString& customer) const;
    // The bytes of the customer's stake files of the type, one after another; a file that cannot
    // be read adds nothing and is named among the failures.
    QByteArray customerStakeBytes(const QString& type, const QString& customer) const;
    QByteArray stakeBytesAt(int typeIndex, const QList<int>& places) const;
    QString stakeFilePathAt(int typeIndex, int customerIndex) const;
    static QString stakeFileName(int typeIndex, int customerIndex); // "t_c.gif"
    QString TypeFilePath(const QString& type, const QString& prefix) const;
    QString LookupKeyed(const QString& path, const QString& key) const;

    // --- the creation sequence -------------------------------------------------------------------
    // Each returns the failure lines for the operator (empty when all went well).
    QStringList AddCustomer(const QString& name);
    QStringList EnsureStakeFiles();
    QStringList EnsureTypeFiles(const QStringList& types, const QString& prefix);
    // AddCustomer, EnsureStakeFiles, EnsureTypeFiles "a-" and "b", in that order.
    QStringList creationSequence(const QString& customer);
    // How often the creation sequence has looked at every file of the book (not just at what changed).
    quint64 fullChecks() const { return m_fullChecks; }

    // What changed in the data folder, from the folder's watch (see FolderWatch): a position in its
    // journal, the names changed since one (nothing when every file must be looked at instead), and
    // the watch the positions belong to.
    quint64 changesEnd();
    std::optional<QStringList> changedSince(quint64 at);
    quint64 changesId() const;

    // Every read or write that failed since the last call, oldest first (each also goes to the log).
    QList<Outcome> takeFailures() { return std::exchange(m_failures, {}); }
    // The same without taking them: a caller notes the count before a change and looks at what was
    // added after it.
    const QList<Outcome>& failures() const { return m_failures; }

    // Creates the folder (an existing one is no error) and marks it hidden where the platform can.
    static bool MakeHiddenFolder(const QString& path);

private:
    bool writeWith(const QString& path, QByteArray* stamp, const std::function<bool(QSaveFile&)>& body);
    // The files of the data folder with their sizes.
    const QHash<QString, qint64>& listing();
    QStringList ensureStakeFilesIn(const QHash<QString, qint64>& files);
    QStringList ensureTypeFiles(const QStringList& types, const QString& prefix, const QHash<QString, qint64>& files);
    QStringList createIfEmpty(const QString& name, const QString& content, const QHash<QString, qint64>& files);

    QString m_folder;
    std::unique_ptr<FolderWatch> m_watch;
    // The state in which the creation sequence last found or made every file of the book.
    struct Complete {
        quint64 listings = 0;
        QString customers;
    };
    std::optional<Complete> m_complete;
    quint64 m_fullChecks = 0;
    void failed(Status status, const QString& path, FileKind kind = FileKind::Regular) const;
    mutable QList<Outcome> m_failures;
    Progress m_silent;
    Progress* m_progress = &m_silent;
};

// What identifies one version of a file: its identity, size and modification time ("" when it is
// not there). A rewrite replaces the file, so a changed file never keeps its stamp.
QByteArray fileStamp(const QString& path);

// The codec of every data file.
QString decodeWindows874(const QByteArray& bytes, bool* ok = nullptr);
QByteArray encodeWindows874(const QString& text, bool* ok = nullptr);
// For sheets from phones: valid UTF-8 (with or without a byte-order mark) is read as UTF-8,
// anything else as windows-874.
QString decodeSheet(const QByteArray& bytes);

} // namespace varnoth
