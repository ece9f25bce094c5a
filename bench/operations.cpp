#include "bench.h"

#include "model/types.h"
#include "store/store.h"
#include "ui/main/totals.h"

namespace varnoth::bench {

QStringList stakeFiles(Context& ctx)
{
    QStringList out;
    for (int t = 0; t < typeNames().size(); ++t)
        for (int c = 1; c <= ctx.customers.size(); ++c) out << ctx.store->stakeFilePath(t, c);
    return out;
}

QStringList typeFiles(Context& ctx, const QString& prefix)
{
    QStringList out;
    for (const QString& t : typeNames()) out << ctx.store->TypeFilePath(t, prefix);
    return out;
}

std::vector<Operation> operations()
{
    std::vector<Operation> ops;

    // Start-up: the number-set caches, then picking a type and customer (the creation sequence,
    // the customer's figures and the figures over the whole book).
    ops.push_back({QStringLiteral("start-up"), {},
                   [](Context& ctx) {
                       buildNumberSetCaches();
                       ctx.store->creationSequence(ctx.customers.first());
                       StakeTotals one = customerTotals(*ctx.store, QStringLiteral("3ตัวตรง"), ctx.customers.first());
                       StakeTotals all = grandTotals(*ctx.store);
                       return static_cast<qint64>(one.count + all.count);
                   },
                   [](Context& ctx) {
                       QStringList r = stakeFiles(ctx);
                       r << ctx.store->customerFile();
                       return r;
                   },
                   [](Context&) { return QStringList(); }});
    return ops;
}

} // namespace varnoth::bench
