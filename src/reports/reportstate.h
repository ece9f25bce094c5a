#pragma once
// What the reports of one run leave behind: the pending send-out list of the last over-limit or
// number-cut report (which "save" stores) and the grand totals of the last report shown.

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

struct ReportState {
    QString SendOutData; // the pending send-out list of the last over-limit or number-cut report
    GrandAccumulators grand;
};

} // namespace varnoth
