#pragma once
// The state that the windows of one run share: which job a shared window does, the picked line of
// the main list and the figures of the total boxes, beside what the reports leave (ReportState).

#include "gui/main/windows.h"
#include "reports/reportstate.h"

#include <QString>

namespace varnoth
{

struct Session : ReportState {
    varnoth::WindowMode WindowMode = varnoth::WindowMode::None; // which job a shared window does
    bool HeaderFlag = false; // the main list shows the header of the current type and customer
    int ColourIndex = 0;     // list text colour, 0 to 15

    // The line last clicked in the main list, with " - " turned into "-", its row, and the type
    // and customer of the header above it.
    QString selectedLine;
    int selectedIndex = -1;
    QString selectedType;
    QString selectedCustomer;

    // Figures of the current type and customer, and over all data.
    double customerCount = 0;
    double customerTotal = 0;
    double overallCount = 0;
    double overallTotal = 0;
};

} // namespace varnoth
