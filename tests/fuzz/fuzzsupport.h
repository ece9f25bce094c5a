#pragma once
// Shared by the fuzz targets: one data folder per process with a small book in it, reused by every
// input, and a check that nothing was written outside it.

#include "store/store.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

namespace varnoth::fuzz {

struct Book {
    QTemporaryDir root;
    QString folder;
    Store* store = nullptr;
    Book()
    {
        folder = root.path() + QStringLiteral("/data");
        QDir().mkpath(folder);
        store = new Store(folder);
        store->creationSequence(QStringLiteral("x"));
        store->creationSequence(QStringLiteral("somchai"));
    }
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
