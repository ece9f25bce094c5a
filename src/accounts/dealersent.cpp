#include "accounts/dealersent.h"

#include "accounts/payments.h"
#include "core/model/text.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/store.h"

#include <QDir>

#include <cmath>

namespace varnoth
{

QString DealerLists::dealerOf(const QString& list) const
{
    for (const DealerList& d : items)
        if (d.list == list) return d.dealer;
    return {};
}

DealerLists loadDealerLists(const Store& store)
{
    DealerLists lists;
    const QString path = store.path(DealerListsFileName);
    const FileText file = store.readFile(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.readable) {
        lists.outcome = {Status::ReadFailed, path};
        lists.problem = damagedFileLine(shown, {});
        return lists;
    }
    QString text = file.text;
    text.replace(CRLF, QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    QList<int> damaged;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        const QStringList p = lines[i].split(QLatin1Char('#'));
        if (p.size() != 2 || p[0].isEmpty() || !isSafeListName(p[1])) {
            damaged << int(i + 1);
            continue;
        }
        const DealerList entry{p[0], p[1]};
        bool placed = false;
        for (DealerList& have : lists.items)
            if (have.list == entry.list) {
                have = entry; // the later line of a list counts
                placed = true;
            }
        if (!placed) lists.items << entry;
    }
    if (!damaged.isEmpty()) {
        lists.outcome = {Status::ReadFailed, path};
        lists.problem = damagedFileLine(shown, damaged);
    }
    return lists;
}

QList<NumberAmount> sendOutItems(const QString& data)
{
    QList<NumberAmount> items;
    QString type;
    for (const QString& piece : splitText(withoutLineEnds(data), QStringLiteral("#"))) {
        if (piece.isEmpty()) continue;
        if (piece.contains(QLatin1Char('<'))) {
            type = piece;
            type.remove(QLatin1Char('<'));
            type.remove(QLatin1Char('>'));
            continue;
        }
        const qsizetype dash = piece.indexOf(QLatin1Char('-'));
        if (dash < 0 || type.isEmpty()) continue;
        items << NumberAmount{type, piece.left(dash), qint64(std::llround(Val(piece.mid(dash + 1)) * 100))};
    }
    return items;
}

QString sendOutText(const QList<NumberAmount>& items)
{
    QString data;
    QString type;
    for (const NumberAmount& a : items) {
        if (a.type != type) {
            if (!type.isEmpty()) data += QLatin1Char('#');
            type = a.type;
            data += QLatin1Char('<') + type + QStringLiteral(">#");
        }
        data += a.number + QLatin1Char('-') + shortestDecimal(double(a.satang) / 100) + QLatin1Char('#');
    }
    if (!type.isEmpty()) data += QLatin1Char('#');
    return data;
}

QList<DealerShare> sentToDealers(const Store& store, const QList<Dealer>& dealers, const DealerLists& lists)
{
    QList<DealerShare> shares;
    const QStringList saved = ListHistory(store);
    for (const Dealer& dealer : dealers) {
        DealerShare share{dealer.name, {}};
        for (const DealerList& d : lists.items) {
            if (d.dealer != dealer.name || !saved.contains(d.list) || !isSafeListName(d.list)) continue;
            share.items += sendOutItems(store.ReadWholeFile(store.savedListFile(d.list)));
        }
        shares << share;
    }
    return shares;
}

void writeDealerLists(const Store& store, FolderTransaction& tx, const DealerLists& now, const QList<DealerList>& added,
                      const QStringList& dropped)
{
    QStringList lines;
    bool changed = false;
    for (const DealerList& d : now.items) {
        bool replaced = dropped.contains(d.list);
        for (const DealerList& a : added)
            replaced = replaced || a.list == d.list;
        if (replaced) {
            changed = true;
            continue;
        }
        lines << d.dealer + QLatin1Char('#') + d.list;
    }
    for (const DealerList& a : added)
        lines << a.dealer + QLatin1Char('#') + a.list;
    if (!changed && added.isEmpty()) return;
    if (lines.isEmpty())
        tx.removeFile(store.path(DealerListsFileName));
    else
        tx.replaceFile(store.path(DealerListsFileName), lines.join(CRLF) + CRLF);
}

QString splitListName(const QString& typed, const QString& dealer)
{
    return enteredName(typed) + QLatin1Char('.') + enteredName(dealer);
}

} // namespace varnoth
