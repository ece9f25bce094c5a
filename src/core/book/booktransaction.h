#pragma once
// One unit of work on the book: every change of a step is gathered, and commit() makes all of them
// or none. A transaction that was never committed changes nothing.

#include "core/book/changes.h"
#include "core/model/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

struct CommitResult {
    Outcome outcome;       // the first failure, or Ok
    QList<Outcome> failed; // every read or write that failed (nothing was changed then)
    Changes changes;       // what the commit changed (empty when it failed)
    bool ok() const { return outcome.ok(); }
};

class BookTransaction
{
public:
    virtual ~BookTransaction() = default;

    // Adds to the amount of a number in the customer's stakes of the type, or in the type's counts.
    // A number with no line of its own in the book makes the commit fail.
    virtual void addStake(const QString& type, const QString& customer, const QString& number, double delta) = 0;
    virtual void addCount(const QString& type, const QString& number, double n) = 0;
    // Adds to the amount of a number in the type's send-out lines (what was sent on).
    virtual void addSendOut(const QString& type, const QString& number, double amount) = 0;
    // Sets the amount text of a number as it will stand.
    virtual void setStake(const QString& type, const QString& customer, const QString& number,
                          const QString& amount) = 0;
    // Replaces the lines of a setting (written with the book's line ends).
    virtual void setSettingLines(BookSetting setting, const QStringList& lines) = 0;

    virtual CommitResult commit() = 0;
};

} // namespace varnoth
