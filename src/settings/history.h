#pragma once
// The history of saved send-out lists: "his.gif" holds the names ("#monday#tuesday#"), and each
// name has a file "<name>_b.gif" with the list as the report left it.

#include "core/model/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace varnoth
{

class FolderTransaction;
class Store;

// What else is written in the same commit as a save or delete of lists (a list's dealer, say).
using AlsoInCommit = std::function<void(FolderTransaction&)>;

// The saved names in history order.
QStringList ListHistory(const Store& store);

// False for a name that cannot safely become a file name of the data folder: one holding a path
// or wildcard character or a control character, one starting with ".", or one that the file
// codec cannot write.
bool isSafeListName(const QString& name);

struct HistorySave {
    bool saved = false;
    Outcome outcome;   // why nothing was saved
    QString text1;     // what the name field shows afterwards
    QStringList lines; // refusals and failures for the operator
};

// Saves the pending send-out list under the typed name, adds the name to the history and records
// the amounts as sent. Nothing is written when there is no list, no name, a name already in the
// history (also inside a longer name) or an unsafe name.
HistorySave saveSendOutList(Store& store, const QString& sendOutData, const QString& text1,
                            const AlsoInCommit& also = {});

struct ListToSave {
    QString name; // as typed
    QString data;
};
// Saves several lists at once, in one commit: either every one is saved or none is. The refusals are
// those of one list, for the first list refused.
HistorySave saveSendOutLists(Store& store, const QList<ListToSave>& lists, const AlsoInCommit& also = {});

// The lines that opening a saved list shows in the main list: the heading, the items, the count
// and amount of the items and the separator.
QStringList openSavedList(const Store& store, const QString& name);

// Takes the amounts of a saved list back out of the send-out files, removes the name from the
// history and deletes the list's file, all in one commit with what `also` writes. A file that cannot
// be read (the list, the history or a send-out file) changes nothing: ReadFailed; an unsafe name is
// UnsafeName.
ChangeResult deleteSavedList(Store& store, const QString& name, const AlsoInCommit& also = {});

} // namespace varnoth
