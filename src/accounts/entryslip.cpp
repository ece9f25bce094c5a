#include "accounts/entryslip.h"

#include "accounts/accounttexts.h"
#include "accounts/exporttexts.h"
#include "audit/recheck.h"
#include "core/model/text.h"
#include "reports/reportresult.h"

namespace varnoth
{

EntrySlip entrySlip(const AuditIndex& index, const QString& customer, qint64 entry)
{
    EntrySlip slip;
    slip.entry = entry > 0 ? entry : newestEntryOf(index, customer);
    slip.lines << SlipHeadingText + QLatin1Char('<') + customer + QLatin1Char('>');
    if (slip.entry == 0) {
        slip.lines << NoEntryText;
        return slip;
    }
    slip.lines << SlipEntryText + QString::number(slip.entry);
    // The bets keep the order they were keyed in, under their type's heading as it comes.
    QString shown;
    for (const CheckedBet& bet : entryBets(index, slip.entry, customer)) {
        if (bet.type != shown) slip.lines << typeLine(bet.type);
        shown = bet.type;
        slip.lines << bet.number + QLatin1Char('-') + bet.amount;
        slip.total += Val(bet.amount);
        ++slip.bets;
    }
    slip.lines << Separator;
    slip.lines << SlipCountText + formatCount(slip.bets) + SlipCountUnitText;
    slip.lines << SlipTotalText + formatAmount(slip.total) + BahtText;
    return slip;
}

} // namespace varnoth
