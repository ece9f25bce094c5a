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

} // namespace

void nameKeyers(Store& store, Bill& bill)
{
    if (!store.exists(store.path(UsersFileName))) return;
    AuditIndex log;
    if (!log.load(store.path(AuditLogFileName))) return;
    // By type and number, the entries in the order they were first keyed.
    QHash<QString, QList<qint64>> entriesOf;
    QHash<QString, QHash<qint64, EntryPart>> parts;
    for (qint64 i = 0; i < log.lineCount(); ++i) {
        AuditRecord r;
        if (!log.record(i, r) || r.customer != bill.customer) continue;
        if (!isKeying(r.action) && r.action != AuditAction::TakeBack && r.action != AuditAction::DoAgain) continue;
        const QString key = r.type + QLatin1Char('\t') + r.number;
        QHash<qint64, EntryPart>& of = parts[key];
        if (!of.contains(r.entry)) entriesOf[key] << r.entry;
        EntryPart& part = of[r.entry];
        if (isKeying(r.action) && part.keyer.isEmpty()) part.keyer = r.operatorName;
        part.standing += auditStakeChange(r);
    }
    for (BillType& t : bill.types) {
        for (BillBet& b : t.bets) {
            const QString key = t.type + QLatin1Char('\t') + b.number;
            const QHash<qint64, EntryPart>& of = parts.value(key);
            for (const qint64 entry : entriesOf.value(key)) {
                const EntryPart& part = of[entry];
                if (part.standing > 0.005 && !part.keyer.isEmpty() && !b.keyers.contains(part.keyer))
                    b.keyers << part.keyer;
            }
        }
    }
}

} // namespace varnoth
