#pragma once
// Splitting what lies above the limits over the upstream dealers: each number's excess goes to the
// dealers in the order of preference, each taking at most his cap on that number for its type (all of
// it when he has no cap), and what no dealer takes is listed as not placed. A dealer without terms for
// a type takes none of it. Amounts are in satang (hundredths of a baht), so that nothing is lost to
// rounding.

#include "accounts/dealers.h"

#include <QList>
#include <QString>

namespace varnoth
{

struct NumberAmount {
    QString type;
    QString number;
    qint64 satang = 0;
    bool operator==(const NumberAmount&) const = default;
};

struct DealerShare {
    QString dealer;
    QList<NumberAmount> items; // in the order of the excess given
};

struct Split {
    QList<DealerShare> shares; // one per dealer, in the order of preference, empty ones included
    QList<NumberAmount> unplaced;
};

// `sentBefore` is what each dealer already holds of this draw (per type and number), which counts
// against his cap.
Split splitExcess(const QList<NumberAmount>& excess, const QList<Dealer>& dealers,
                  const QList<DealerShare>& sentBefore = {});

} // namespace varnoth
