#pragma once
// The checking pass: a slip keyed a second time is compared with the bets its entry stored, and every
// difference is listed. Nothing is stored.

#include "audit/auditread.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

struct CheckedBet {
    QString type;
    QString number;
    QString amount; // digits
};

struct CheckDifference {
    enum class Kind { Missing, Extra, Amount };
    Kind kind;
    QString type;
    QString number;
    QString stored; // the stored amount ("" for an extra bet)
    QString keyed;  // the amount keyed now ("" for a missing bet)
};

// Bets of the same type and number with the same amount match first; what is left of a number is
// paired in order as a different amount; the rest is missing or extra. Order: as the stored bets
// come, then the extra ones as keyed.
QList<CheckDifference> compareBets(const QList<CheckedBet>& stored, const QList<CheckedBet>& keyed);

// The bets an entry of the customer still holds as the log tells it: its bet lines, less those taken
// back and with those done again.
QList<CheckedBet> entryBets(const AuditIndex& index, qint64 entry, const QString& customer);

// The newest entry that stored bets for the customer (of the type, when one is given); 0 for none.
qint64 newestEntryOf(const AuditIndex& index, const QString& customer, const QString& type = {});

// A slip keyed again for a type and customer, compared with an entry of the log (0: the customer's
// newest entry with bets of the type). Nothing is stored.
struct SheetCheck {
    qint64 entry = 0; // the entry compared with, 0 when there is none
    int stored = 0;   // how many bets it holds
    QList<CheckDifference> differences;
    QStringList lines; // for the main list
};
SheetCheck checkSheet(Store& store, const QString& logPath, const QString& sheet, const QString& type,
                      const QString& customer, qint64 entry = 0);

// The lines for the main list: the heading, one line per difference (or that all matched), and the
// closing count.
QStringList checkLines(qint64 entry, const QString& type, const QString& customer, int storedCount,
                       const QList<CheckDifference>& differences);

} // namespace varnoth
