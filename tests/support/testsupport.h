#pragma once
// Helpers shared by the tests: a fresh data folder, windows-874 file bytes, and quick book set-up.

#include "storage/folder/store.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace varnoth::test
{

// A temporary data folder with a Store on it; removed when the object goes. The data folder is
// "picture_1" inside the temporary folder, so that what a new draw puts beside it stays in there.
struct TempBook {
    TempBook();
    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    QString folder() const { return dir.path() + QStringLiteral("/picture_1/"); }
    QString file(const QString& name) const { return folder() + name; }
    // The raw bytes of a file of the data folder.
    QByteArray bytes(const QString& name) const;
    // The file decoded from windows-874.
    QString text(const QString& name) const;
    // Writes raw text (encoded as windows-874, no CR LF added).
    void put(const QString& name, const QString& text) const;
    // Adds a stake for the customer (made with all its files first) on the number of the type.
    void stake(const QString& type, const QString& customer, const QString& number, double amount);
};

// A time limit of a speed test, in ms: sanitizer builds run several times slower, and a limit that
// holds there would catch nothing in the release build.
// The Windows build is tested under wine, where every file call goes through wineserver.
constexpr qint64 timeLimit(qint64 ms)
{
#if defined(_WIN32)
    return ms * 5;
#elif defined(__SANITIZE_ADDRESS__)
    return ms * 10;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return ms * 10;
#else
    return ms;
#endif
#else
    return ms;
#endif
}

// The bytes of every file of a folder, by name: a whole-folder "before" and "after".
QHash<QString, QByteArray> folderBytes(const QString& folder);

// windows-874 bytes of a text.
QByteArray cp874(const QString& text);

} // namespace varnoth::test
