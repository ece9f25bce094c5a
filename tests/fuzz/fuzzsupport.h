#pragma once
// Shared by the fuzz targets: one data folder per process with a small book in it, reused by every
// input, and a check that nothing was written outside it.

#include "storage/folder/store.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

namespace varnoth::fuzz
{

struct Book {
    QTemporaryDir root;
    QString folder;
    Store* store = nullptr;
    Book() { fill(); }
    // An empty folder again with the two customers of the start, for targets whose inputs make the
    // book grow or change the customer list.
    void reset()
    {
        delete store;
        store = nullptr;
        QDir(folder).removeRecursively();
        fill();
    }
    // Deletes every file that the start did not make, and puts the customer list back as it was:
    // cheaper than reset() where an input may only add customers and their files.
    void trim()
    {
        const QStringList now = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        for (const QString& name : now)
            if (!made.contains(name)) QFile::remove(folder + QLatin1Char('/') + name);
        store->WriteWholeFile(store->customerFile(), QStringLiteral("#x#somchai#"));
    }
    void fill()
    {
        folder = root.path() + QStringLiteral("/data");
        QDir().mkpath(folder);
        store = new Store(folder);
        store->creationSequence(QStringLiteral("x"));
        store->creationSequence(QStringLiteral("somchai"));
        made = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    }
    QStringList made;
    // Nothing may appear beside the data folder.
    void checkContained() const
    {
        const QStringList beside = QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        if (beside != QStringList{QStringLiteral("data")}) std::abort();
        if (!QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()) std::abort();
    }
};

inline Book& book()
{
    static Book b;
    return b;
}

inline QString text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace varnoth::fuzz
