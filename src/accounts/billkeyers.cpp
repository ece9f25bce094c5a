#include "accounts/billkeyers.h"

#include "accounts/bill.h"
#include "accounts/users.h"
#include "audit/auditlog.h"
#include "audit/auditread.h"
#include "storage/folder/store.h"

#include <QHash>

namespace varnoth
{

namespace
{

bool isKeying(AuditAction action)
{
    return action == AuditAction::Bet || action == AuditAction::Sheet || action == AuditAction::ChatPaste;
}

// One entry's part in one number: who keyed it, and what of it still stands.
struct EntryPart {
    QString keyer;
    double standing = 0;
};

// The entries of one customer in the book's log, by type and number.
struct Ledgered {
    QHash<QString, QList<qint64>> entriesOf; // in the order first keyed
    QHash<QString, QHash<qint64, EntryPart>> parts;
    QHash<QString, QStringList> others;
    QStringList standing(const QString& key) const
    {
        QStringList names;
        const QHash<qint64, EntryPart> of = parts.value(key);
        for (const qint64 entry : entriesOf.value(key)) {
            const EntryPart& part = of[entry];
            if (part.standing > 0.005 && !part.keyer.isEmpty() && !names.contains(part.keyer)) names << part.keyer;
        }
        return names;
    }
};

QString keyOf(const QString& type, const QString& number)
{
    return type + QLatin1Char('\t') + number;
}

// The entries of the named customers, each read in one pass over the log.
QHash<QString, Ledgered> readEntries(Store& store, const QStringList& customers)
{
    QHash<QString, Ledgered> all;
    AuditIndex log;
    if (!log.load(store.path(AuditLogFileName))) return all;
    for (qint64 i = 0; i < log.lineCount(); ++i) {
        AuditRecord r;
        if (!log.record(i, r) || !changesStake(r.action) || !customers.contains(r.customer)) continue;
        Ledgered& l = all[r.customer];
        const QString key = keyOf(r.type, r.number);
        if (!isKeying(r.action) && r.action != AuditAction::TakeBack && r.action != AuditAction::DoAgain) {
            if (!l.others[key].contains(r.operatorName)) l.others[key] << r.operatorName;
            continue;
        }
        QHash<qint64, EntryPart>& of = l.parts[key];
        if (!of.contains(r.entry)) l.entriesOf[key] << r.entry;
        EntryPart& part = of[r.entry];
        if (isKeying(r.action) && part.keyer.isEmpty()) part.keyer = r.operatorName;
        part.standing += auditStakeChange(r);
    }
    return all;
}

} // namespace

NumberHands handsOn(Store& store, const QString& type, const QString& customer, const QString& number)
{
    const Ledgered l = readEntries(store, {customer}).value(customer);
    return {l.standing(keyOf(type, number)), l.others.value(keyOf(type, number))};
}

void nameKeyers(Store& store, const QList<Bill*>& bills)
{
    if (bills.isEmpty() || !store.exists(store.path(UsersFileName))) return;
    QStringList customers;
    for (const Bill* bill : bills)
        customers << bill->customer;
    const QHash<QString, Ledgered> all = readEntries(store, customers);
    for (Bill* bill : bills) {
        const Ledgered l = all.value(bill->customer);
        for (BillType& t : bill->types)
            for (BillBet& b : t.bets)
                b.keyers = l.standing(keyOf(t.type, b.number));
    }
}

} // namespace varnoth
