#pragma once
// Who keyed the bets a bill lists. In a book with users each entry's lines in the audit log carry the
// user at the seat; a bill names, after each of its bets, the users whose entries of that number still
// stand. A book without users names nobody, and its bills stay as they always were.

#include <QList>
#include <QStringList>

namespace varnoth
{

class Store;
struct Bill;

// Who stands behind one number's stake of a customer in this draw: the users whose entries of it still
// stand, first keyed first, and whoever else changed it (an edit, a delete, a merged backup).
struct NumberHands {
    QStringList keyers;
    QStringList others;
};
NumberHands handsOn(Store& store, const QString& type, const QString& customer, const QString& number);

// Fills the keyers of the bill's bets from the book's audit log, first keyed first. An entry taken back
// (and not done again) names nobody; a log that cannot be read leaves the bill without names.
// Several bills are named in one reading of the log.
void nameKeyers(Store& store, const QList<Bill*>& bills);
inline void nameKeyers(Store& store, Bill& bill)
{
    nameKeyers(store, QList<Bill*>{&bill});
}

} // namespace varnoth
