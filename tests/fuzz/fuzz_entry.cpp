// The entry shorthand of the number field and the line form, then committing what it yields.
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/entry.h"
#include "entry/gates.h"
#include "fuzzsupport.h"

using namespace varnoth;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096) return 0;
    fuzz::Book& b = fuzz::book();
    const QString input = fuzz::text(data, size);
    const QString type = typeNames()[size % 12];
    if (auto gates = expandNumberField(input)) {
        if (!gates->gates.isEmpty() && !gates->gates.endsWith(QLatin1Char(' '))) std::abort();
    }
    const QStringList parts = input.split(QLatin1Char('\n'));
    const FieldEntry field = planFieldEntry(parts.value(2), parts.value(0), parts.value(1), type, QStringLiteral("x"));
    EntryBatch batch(*b.store, QStringLiteral("x"));
    batch.addPlan(field.plan, false);
    batch.addLine(input, type, false);
    const EntryResult r = batch.commit();
    // An amount of 0 is digits and is taken (it adds nothing and counts one entry); no stored bet
    // may take anything off, nor be stored under anything but digits.
    for (const BetChange& c : r.changes)
        if (c.value < 0 || DigitsOnly(c.number) != c.number) std::abort();
    b.checkContained();
    return 0;
}
