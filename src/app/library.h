#pragma once
// Where the books are and how one is opened. A book is named by an id: "folder:PATH" for a data
// folder (a bare path means the same). Opening claims the book for this copy of the program;
// starting it makes its ledger, which first completes whatever a kill cut off.

#include <QString>

#include <memory>

class QLockFile;

namespace varnoth
{

class Store;
class Ledger;
class BookReader;
struct ReportState;

class Book
{
public:
    ~Book();
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    QString id() const { return m_id; }
    // The data folder, ending in "/".
    QString folder() const;
    Store& store() { return *m_store; }
    // Makes the book's ledger (once); `state` must outlive the book.
    Ledger& start(ReportState& state);
    // The ledger, once started.
    Ledger& ledger() { return *m_ledger; }
    bool started() const { return m_ledger != nullptr; }

private:
    friend class Library;
    Book(const QString& id, std::unique_ptr<QLockFile> lock, std::unique_ptr<Store> store);

    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<Ledger> m_ledger;
};

enum class OpenStatus {
    Opened,
    UnknownKind,    // an id of a kind of book this program does not keep
    CodecMissing,   // the Thai code page is missing: no file of the book could be read right
    FolderUnusable, // the folder cannot be made or written
    AlreadyOpen,    // another copy of the program has the book open
};

struct OpenedBook {
    OpenStatus status = OpenStatus::UnknownKind;
    QString where; // the folder (or what the id named), for the refusal
    std::unique_ptr<Book> book;
};

class Library
{
public:
    static QString folderId(const QString& folder);
    // The folder an id names, or "" when it names no data folder.
    static QString folderOf(const QString& id);
    static OpenedBook open(const QString& id);
};

} // namespace varnoth
