#pragma once
// The state that the windows of one run share: which job a shared window does, the pending send-out
// list, the picked line of the main list and the figures of the total boxes.

#include "store/windows.h"

#include <QString>

namespace varnoth
{

struct GrandAccumulators {
    double count = 0;
    double amount = 0;
    double discount = 0;
    double income = 0; // prize check: the income of the sections with winners
    double prize = 0;  // prize check: the payout of the winners
    void reset() { *this = GrandAccumulators{}; }
};

struct Session {
    varnoth::WindowMode WindowMode = varnoth::WindowMode::None; // which job a shared window does
    QString HeaderFlag;  // "1" while the main list shows the header of the current type and customer
    QString SendOutData; // the pending send-out list of the last over-limit or number-cut report
    int ColourIndex = 0; // list text colour, 0 to 15

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

    GrandAccumulators grand;
};

} // namespace varnoth
