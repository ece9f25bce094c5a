#pragma once
// The book as the ledger sees it, whatever keeps it: customers, the stakes of a type and customer,
// the counts and send-out lines of a type, the lines of each setting, and what changed since a
// position. Every change goes through a transaction (begin()).

#include "core/book/booktransaction.h"
#include "core/book/changes.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace varnoth
{

// One line of a number's amount: the number and the amount as they stand.
struct AmountLine {
    QString number;
    QString amount;
    bool operator==(const AmountLine&) const = default;
};

// The lines of a customer's stakes of a type, or of a type's counts or send-out lines, in book order.
struct NumberLines {
    QList<AmountLine> lines;
    bool exists = false;  // the book holds them
    bool readable = true; // false when they are there but could not be read: never taken as empty
};

// The lines of a setting, without line ends.
struct SettingLines {
    QStringList lines;
    bool exists = false;
    bool readable = true;
};

class BookStore
{
public:
    virtual ~BookStore() = default;

    // The customers, each once, in list order; and the names standing more than once in the list.
    virtual QStringList customers() const = 0;
    virtual QStringList customersListedTwice() const = 0;

    // A customer's stakes of a type (of every place the name stands), in book order.
    virtual NumberLines stakes(const QString& type, const QString& customer) const = 0;
    // The same summed per number, without building the lines. `readable` (when given) is false when
    // some of them could not be read.
    virtual QHash<QString, double> stakeSums(const QString& type, const QString& customer,
                                             bool* readable = nullptr) const = 0;
    virtual NumberLines counts(const QString& type) const = 0;
    virtual NumberLines sendOut(const QString& type) const = 0;
    virtual SettingLines settingLines(BookSetting setting) const = 0;

    // A position in the book's changes, and what changed since one.
    virtual quint64 changesEnd() = 0;
    virtual Changes changedSince(quint64 position) = 0;

    virtual std::unique_ptr<BookTransaction> begin() = 0;
};

} // namespace varnoth
