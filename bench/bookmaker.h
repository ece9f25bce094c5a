#pragma once
// Builds a full book in a folder for the benchmark: every customer with a stake on every number of
// every type, counts to match, every setting on every type, a result file and a saved send-out list.

#include <QString>
#include <QStringList>

namespace varnoth::bench
{

struct BookSize {
    int customers = 200;
};

// Writes the book into `folder` (which must exist and be empty). Returns the customer names.
QStringList makeBook(const QString& folder, const BookSize& book);

} // namespace varnoth::bench
