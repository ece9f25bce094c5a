#pragma once
// The profit and loss forecast: per type, what the bookmaker holds after limit and cut against
// the prize of one number held at the full limit.

#include "reports/reportresult.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace varnoth
{

class Store;

// The printed name of a digit-cut mask ("101" is "หน่วย ร้อย"); an empty mask prints as one blank,
// a mask of no known form as it is stored.
QString positionsLabel(const QString& mask);

// What the customers' own payout rates and discounts change in one type's block.
struct OwnFiguresEffect {
    // The prize already is a number paid at some customers' own rates, above the type's worst case.
    bool ownPrize = false;
    // Added to the type's discount on the held income: each customer's own rate on his share of it.
    std::optional<double> discountChange;
    // The line that names a damaged rates file, whose figures are then not used.
    QString problem;
};

// The settings and result lines of one type for a working list already capped and cut. Nothing
// when the list holds no amount.
QStringList AnalyseType(Store& store, const QString& list, const QString& type, const QString& prize,
                        const OwnFiguresEffect& own = {});

// One block per type: `type` alone, or every type for "ทั้งหมด". The window stays open.
ReportResult Analysis(Store& store, const QString& type);

} // namespace varnoth
