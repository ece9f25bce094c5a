#pragma once
// What went to which dealer. A send-out list saved for a dealer is an ordinary saved list (its file,
// its name in the history and its amounts in the send-out files); which dealer it went to is kept in
// one extra file of the book, a line per list: "boss#monday.boss". A book without the file has no
// list sent to a dealer and behaves as it always has.

#include "accounts/splitsend.h"
#include "core/model/outcome.h"

#include <QList>
#include <QString>

#include <functional>

namespace varnoth
{

class FolderTransaction;
class Store;

inline const QString DealerListsFileName = QStringLiteral("dealerlist.gif");

struct DealerList {
    QString dealer;
    QString list; // the saved list's name as the history holds it
    bool operator==(const DealerList&) const = default;
};

struct DealerLists {
    QList<DealerList> items; // in the file's order
    Outcome outcome;         // ReadFailed for a file there but unreadable or with a line of no list
    QString problem;         // the line that reports the damage ("" when sound)
    QString dealerOf(const QString& list) const;
};

DealerLists loadDealerLists(const Store& store);

// The items of a send-out list ("<type>#number-amount#…##…"), amounts in satang, and back.
QList<NumberAmount> sendOutItems(const QString& data);
QString sendOutText(const QList<NumberAmount>& items);

// What each dealer holds of this draw: the items of every saved list that went to him, in the order
// of the dealer file. A list named in the dealer-list file but no longer saved counts for nothing.
QList<DealerShare> sentToDealers(const Store& store, const QList<Dealer>& dealers, const DealerLists& lists);

// Writes the dealer-list file with `added` and without the lists in `dropped` as part of `tx`. The
// file is not made when there is nothing to put in it.
void writeDealerLists(const Store& store, FolderTransaction& tx, const DealerLists& now, const QList<DealerList>& added,
                      const QStringList& dropped);

// The name under which the share of a dealer is saved when the excess is split: the typed name, a
// dot and the dealer's.
QString splitListName(const QString& typed, const QString& dealer);

} // namespace varnoth
