#pragma once
// Customer names entered in advance in the customer window, and their removal.

#include "core/model/outcome.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

// A typed name as a customer or saved-list name: cleaned, without the duplicate notice and "_".
QString enteredName(const QString& text);

struct NameEntry {
    QString text1;     // what the name field shows afterwards
    QStringList lines; // failure lines for the operator
};

// Adds the typed name to the customer list. A name that is already there leaves the file as it
// was and puts the duplicate notice into the name field; an added name empties the field.
NameEntry AddCustomerName(Store& store, const QString& text1);

// True when any stake file of the customer's place in the list holds an amount above 0.
bool customerHasStakes(const Store& store, int customerIndex, QStringList* failures = nullptr);

// Removes a name from the customer list. Its place is left empty ("#a##c#") so that every later
// customer keeps its index and with it its stake files. A customer who still holds stakes is not
// removed. Ok when the name was removed or not there; else HasStakes, ReadFailed (a file that may
// hold stakes) or WriteFailed, with the lines for the operator.
ChangeResult removeCustomer(Store& store, const QString& name);

} // namespace varnoth
