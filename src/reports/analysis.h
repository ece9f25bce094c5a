#pragma once
// The profit and loss forecast: per type, what the bookmaker holds after limit and cut against
// the prize of one number held at the full limit.

#include "reports/reportresult.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

// The printed name of a digit-cut mask ("101" is "หน่วย ร้อย"); an empty mask prints as one blank,
// a mask of no known form as it is stored.
QString positionsLabel(const QString& mask);

// The settings and result lines of one type for a working list already capped and cut. Nothing
// when the list holds no amount.
QStringList AnalyseType(Store& store, const QString& list, const QString& type, const QString& prize);

// One block per type: `type` alone, or every type for "ทั้งหมด". The window stays open.
ReportResult Analysis(Store& store, const QString& type);

} // namespace varnoth
