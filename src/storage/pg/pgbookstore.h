#pragma once
// The book kept in a PostgreSQL database, for several seats keying one book at once.
//
// Stakes are rows of (type, customer, number, amount) holding only the numbers that were keyed; a
// number without a row stands at 0. Each commit is one SQL transaction of deltas
// (`amount = amount + d`), so two seats never lose each other's bets, and it keeps the book's sums
// per type and number in the same transaction, so totals never add up raw rows. An entry may carry an
// id made by the seat: the server keeps it under a unique key, so an entry sent again after a lost
// connection is "already stored" and adds nothing. The tables are made and brought up to this
// program's version when the book is opened.

#include "core/book/bookstore.h"
#include "core/model/outcome.h"

#include <QHash>
#include <QString>
#include <memory>

typedef struct pg_conn PGconn;

namespace varnoth
{

class PgTransaction;

class PgBookStore : public BookStore
{
public:
    // The version of the tables this program makes and knows.
    static int schemaVersion();

    // Opens the book at a libpq connection string or URI. On failure returns null and says why in
    // `error` (a Thai line and the server's message).
    static std::unique_ptr<PgBookStore> open(const QString& conninfo, QString* error);
    ~PgBookStore() override;

    // Adds a customer at the end of the list.
    Outcome addCustomer(const QString& name);
    // The kept sums of a type, per number (numbers at 0 left out).
    QHash<QString, double> keptSums(const QString& type, bool* readable = nullptr) const;

    QStringList customers() const override;
    QStringList customersListedTwice() const override;
    NumberLines stakes(const QString& type, const QString& customer) const override;
    QHash<QString, double> stakeSums(const QString& type, const QString& customer,
                                     bool* readable = nullptr) const override;
    NumberLines counts(const QString& type) const override;
    NumberLines sendOut(const QString& type) const override;
    SettingLines settingLines(BookSetting setting) const override;
    quint64 changesEnd() override;
    Changes changedSince(quint64 position) override;
    std::unique_ptr<BookTransaction> begin() override;
    // A transaction that stores the entry under the seat's id: committed a second time (by this or
    // any seat), it adds nothing and reports alreadyStored().
    std::unique_ptr<PgTransaction> beginEntry(const QString& entryId);

    // Asks the server to tell this seat of every commit of the book, by any seat. The connection's
    // socket, for a watcher in the application's event loop, is socket().
    bool listen();
    int socket() const;
    // Takes the word of commits that came (waiting up to timeoutMs for one when none is there yet);
    // true when one came. What they changed is then read with changedSince().
    bool takeNotifications(int timeoutMs = 0);

    // The last failure of a read or the connection, for the operator.
    QString lastError() const { return m_lastError; }
    // Forgets it, so that a caller can tell whether the reads that follow all went well.
    void clearLastError() { m_lastError.clear(); }

private:
    friend class PgTransaction;
    explicit PgBookStore(PGconn* conn);
    bool connected() const;
    QString failureLine(const QString& what, const QString& error) const;
    bool customerExists(const QString& name) const;
    QHash<QString, double> amounts(const char* sql, const QStringList& params, bool* readable) const;

    PGconn* m_conn;
    mutable QString m_lastError;
};

class PgTransaction : public BookTransaction
{
public:
    void addStake(const QString& type, const QString& customer, const QString& number, double delta) override;
    void addCount(const QString& type, const QString& number, double n) override;
    void addSendOut(const QString& type, const QString& number, double amount) override;
    void setStake(const QString& type, const QString& customer, const QString& number,
                  const QString& amount) override;
    void setSettingLines(BookSetting setting, const QStringList& lines) override;
    CommitResult commit() override;

    // Adds a customer at the end of the list, before the transaction's stakes are written; a name
    // already listed makes the commit fail (NameTaken).
    void addCustomer(const QString& name);
    // Makes the commit write only into a book that holds nothing yet (no customer, setting, count or
    // send-out amount), judged under locks that keep every other seat out until it ends: a book that
    // holds something makes it fail with Refused and change nothing. Such a commit writes its rows
    // many at a time, for moving a whole book in.
    void requireEmptyBook() { m_intoEmptyBook = true; }

    // True after a commit that found its entry id already stored: nothing was added.
    bool alreadyStored() const { return m_alreadyStored; }

private:
    friend class PgBookStore;
    PgTransaction(PgBookStore& book, QString entryId) : m_book(book), m_entryId(std::move(entryId)) {}
    struct Op {
        enum Kind { AddStake, SetStake, AddCount, AddSendOut, AddCustomer, SetSetting } kind;
        QString type, customer, number;
        double delta = 0;
        QString amount;
        BookSetting setting = BookSetting::Limit;
        QStringList lines;
    };
    enum class Try { Done, Failed, Retry };
    Try attempt(CommitResult& result);

    PgBookStore& m_book;
    QString m_entryId;
    QList<Op> m_ops;
    bool m_alreadyStored = false;
    bool m_intoEmptyBook = false;
};

} // namespace varnoth
