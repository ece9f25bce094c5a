#pragma once
// The record of what was sent out: the send-out files of the types, changed by saving a send-out
// list (amounts added) and by deleting a saved one (amounts taken back).

#include <QString>
#include <QStringList>

namespace varnoth
{

class FolderTransaction;
class Store;

// Adds (sign +1) or subtracts (sign -1) the amounts of a send-out list
// ("<type>#number-amount#…##<type>#…##") to the send-out files of their types. Each file is read
// once and written once. Returns the failure lines for the operator (empty when all went well).
QStringList applySendOut(Store& store, const QString& data, int sign);
// The same as part of a larger commit: the changed send-out files join `tx`. Returns the lines of
// the files that cannot be read, which are left out.
QStringList applySendOut(Store& store, FolderTransaction& tx, const QString& data, int sign);

inline QStringList RecordSendOut(Store& store, const QString& data)
{
    return applySendOut(store, data, +1);
}

} // namespace varnoth
