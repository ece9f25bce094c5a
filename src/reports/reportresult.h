#pragma once
// What a report hands back to its window: the lines for the main list and what the windows do
// around them.

#include "core/model/text.h"
#include "reports/reportstate.h"

#include <QString>
#include <QStringList>

namespace varnoth
{

// The word for "every type" or "every customer" in the report pickers.
inline const QString AllChoice = QStringLiteral("ทั้งหมด");

struct ReportResult {
    QStringList lines;
    bool clearList = true;     // the main list is emptied before the lines are added
    bool closeWindows = false; // every secondary window closes once the lines are shown
    bool saveCaption = false;  // the main window's Command13 becomes "บันทึกส่งออก"
    QString focus;             // objectName of the field that needs a value when nothing ran
};

// "<type>", the line above a type's section.
inline QString typeLine(const QString& type)
{
    return QLatin1Char('<') + type + QLatin1Char('>');
}

// One type's block of a send-out list: "<type>#", the items, and one more "#".
inline QString sendOutBlock(const QString& type, const QString& list)
{
    return typeLine(type) + QLatin1Char('#') + list + QLatin1Char('#');
}

// The grand count and amount of a report over every type, and the separator.
inline QStringList grandTotalLines(const GrandAccumulators& grand)
{
    return {QStringLiteral("ยอดรวมเลข= ") + formatCount(grand.count) + QStringLiteral(" รายการ"),
            QStringLiteral("ยอดรวมเงิน= ") + formatAmount(grand.amount) + QStringLiteral(" บาท"), Separator};
}

} // namespace varnoth
