#pragma once
// How often each number of a type was played: the numbers of the type's count file with a count
// above 0, the most frequent first.

#include "reports/reportresult.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

// The counts ordered from the largest to the smallest value; equal values keep their order.
QStringList SortCountsDescending(const QStringList& counts);

// The heading and the count lines grouped by count, largest first, within one count in file
// order. Nothing at all for an empty type name. The window stays open.
ReportResult NumberStatistics(Store& store, const QString& type);

} // namespace varnoth
