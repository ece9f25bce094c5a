#include "reports/overlimit.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/cutting.h"
#include "reports/selectors.h"
#include "settings/numberrules.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <QHash>

namespace varnoth
{

namespace
{

struct Item {
    QString number;
    QString amount; // the text between the first and the second "-"
};

// The items of a list that hold "-" and whose amount is not the bare "0".
QList<Item> stakeItems(const QString& list)
{
    QList<Item> items;
    const QStringList pieces = splitText(list, QStringLiteral("#"));
    for (const QString& piece : pieces) {
        const QStringList fields = piece.split(QLatin1Char('-'));
        if (fields.size() < 2 || fields[1] == QStringLiteral("0")) continue;
        items.append({fields[0], fields[1]});
    }
    return items;
}

// What the send-out file records per number: the amount of the first line of each number.
struct SentRecord {
    QHash<QString, double> sent;
    int width = 0;
};

SentRecord readSent(const QString& text)
{
    SentRecord r;
    forEachNumberLine(QStringView(text), [&](const TextLine& line) {
        if (!line.hasDash()) return;
        if (r.width == 0 && line.isNumberLine()) r.width = static_cast<int>(line.number().size());
        const QString number = line.number().toString();
        if (!r.sent.contains(number)) r.sent.insert(number, Val(line.amount().toString()));
    });
    return r;
}

// The list of one type for this report: grouped by number, without the numbers that the cut
// settings take out, then capped or reduced to its excess.
struct TypeRun {
    QString result;
    bool noLimit = false;
    bool noStakes = false;
    bool allCut = false; // every staked number belongs to the number-cut report
};

TypeRun runType(Store& store, const QString& type, bool keepMode, QStringList& failures)
{
    TypeRun run;
    const QString limit = store.LookupKeyed(store.limitFile(), type);
    const std::shared_ptr<const NumberRules> rules = bookRules(store);
    const int t = typeIndex(type);
    const NumberRules* own = rules->hasLimits(t) ? rules.get() : nullptr;
    if (limit.isEmpty() && !own) {
        run.noLimit = true;
        return run;
    }
    const GroupedStakes grouped = GroupedLinesOfType(store, type);
    if (!grouped.staked) {
        run.noStakes = true;
        return run;
    }
    QString list = grouped.list;
    const QString cut = store.LookupKeyed(store.numberCutFile(), type);
    const QString positions = store.LookupKeyed(store.digitCutFile(), type);
    if (!cut.isEmpty() && !positions.isEmpty()) list = KeepUncut(store, list, cut, positions);
    if (list.isEmpty()) {
        run.allCut = true;
        return run;
    }
    run.result = keepMode ? KeepList(store, list, limit, own, t)
                          : SubtractSent(store, ExcessList(store, list, limit, own, t), type, &failures);
    return run;
}

ReportResult overOneType(Store& store, ReportState& session, const QString& type, bool keepMode, ReportResult r)
{
    QStringList failures;
    const TypeRun run = runType(store, type, keepMode, failures);
    if (run.noLimit) {
        r.lines << typeLine(type) << QStringLiteral("ยังไม่ได้ตั้งค่าวงเงินอั้น");
        return r;
    }
    if (run.noStakes) {
        r.lines << typeLine(type) << QStringLiteral("ไม่มีข้อมูล");
        return r;
    }
    QString data;
    if (!run.result.isEmpty()) {
        r.saveCaption = true;
        r.lines << typeLine(type);
        r.lines += ShowSendOut(session.grand, run.result);
        data = sendOutBlock(type, run.result);
    } else if (!run.allCut) {
        r.lines << typeLine(type) << QStringLiteral("ไม่มีข้อมูลเกินอั้น");
    }
    r.lines += failures;
    session.SendOutData = data;
    r.closeWindows = true;
    return r;
}

ReportResult overAllTypes(Store& store, ReportState& session, bool keepMode, ReportResult r)
{
    r.saveCaption = true;
    QString data;
    QStringList failures;
    for (const QString& t : typeNames()) {
        const TypeRun run = runType(store, t, keepMode, failures);
        if (run.result.isEmpty()) continue;
        r.lines << typeLine(t);
        r.lines += ShowSendOut(session.grand, run.result);
        data += sendOutBlock(t, run.result);
    }
    session.SendOutData = data;
    if (session.grand.count > 0) {
        r.lines += grandTotalLines(session.grand);
    } else if (data.isEmpty()) {
        r.lines = {QStringLiteral("ไม่มีข้อมูลเกินอั้นส่งออก")};
    }
    r.lines += failures;
    session.grand.reset();
    r.closeWindows = true;
    return r;
}

} // namespace

ReportResult OverLimit(Store& store, ReportState& session, const QString& type, bool keepMode)
{
    ReportResult r;
    session.SendOutData.clear();
    session.grand.reset();
    r.lines << (keepMode ? QStringLiteral("อั้นคัดไว้") : QStringLiteral("เกินอั้นส่งออก"));
    if (type == AllChoice) return overAllTypes(store, session, keepMode, std::move(r));
    return overOneType(store, session, type, keepMode, std::move(r));
}

QString limitFor(const QString& number, const QString& limit, const NumberRules* rules, int type)
{
    if (!rules) return limit;
    const QString own = rules->limitOf(type, number);
    return own.isEmpty() ? limit : own;
}

QString ExcessList(Store& store, const QString& list, const QString& limit, const NumberRules* rules, int type)
{
    QString out;
    const QList<Item> items = stakeItems(list);
    const double typeCap = Val(limit);
    store.progress().reset();
    for (const Item& item : items) {
        store.progress().tick(items.size());
        double cap = typeCap;
        if (rules) {
            const std::optional<qint64> own = rules->ownLimit(type, item.number);
            if (!own && limit.isEmpty()) continue;
            if (own) cap = static_cast<double>(*own);
        }
        const double a = Val(item.amount);
        if (a > cap) out += item.number + QLatin1Char('-') + singleDecimal(a - cap) + QLatin1Char('#');
    }
    store.progress().hide();
    return out;
}

QString KeepList(Store& store, const QString& list, const QString& limit, const NumberRules* rules, int type)
{
    QString out;
    const QList<Item> items = stakeItems(list);
    store.progress().reset();
    for (const Item& item : items) {
        store.progress().tick(items.size());
        const QString cap = limitFor(item.number, limit, rules, type);
        const QString& kept = !cap.isEmpty() && Val(cap) <= Val(item.amount) ? cap : item.amount;
        out += item.number + QLatin1Char('-') + kept + QLatin1Char('#');
    }
    store.progress().hide();
    return out;
}

QString SubtractSent(Store& store, const QString& list, const QString& type, QStringList* failures)
{
    QString out;
    const QString path = store.TypeFilePath(type, Store::SendOutPrefix);
    const FileText file = store.readFile(path);
    if (file.exists && !file.readable) {
        // What was sent cannot be known, so no excess can be worked out: say so rather than
        // report that nothing is over the limit.
        if (failures) *failures << outcomeLine({Status::ReadFailed, path});
        return out;
    }
    const SentRecord record = readSent(file.text);
    const QStringList pieces = splitText(list, QStringLiteral("#"));
    store.progress().reset();
    for (const QString& piece : pieces) {
        store.progress().tick(pieces.size());
        const qsizetype dash = piece.indexOf(QLatin1Char('-'));
        if (dash < 0) continue;
        const QString number = piece.left(dash);
        if (record.sent.isEmpty() || number.size() != record.width) continue;
        const double excess = Val(piece.mid(dash + 1));
        const QString left = shortestDecimal(excess - record.sent.value(number));
        if (Val(left) > 0) out += number + QLatin1Char('-') + left + QLatin1Char('#');
    }
    store.progress().hide();
    return out;
}

QStringList ShowSendOut(GrandAccumulators& grand, const QString& list)
{
    QStringList lines;
    const qsizetype n = list.count(QLatin1Char('#'));
    if (n == 0) return lines;
    const QStringList items = list.split(QLatin1Char('#'));
    double count = 0;
    double sum = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QString& item = items[i];
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash < 0) {
            lines << Separator << item;
            continue;
        }
        lines << item;
        ++count;
        sum += Val(item.mid(dash + 1));
    }
    if (count >= 1) {
        lines << QStringLiteral("รวมเลข= ") + formatCount(count) + QStringLiteral(" รายการ");
        lines << QStringLiteral("รวมเงิน= ") + formatAmount(sum) + QStringLiteral(" บาท");
        grand.count += count;
        grand.amount += sum;
    }
    lines << Separator;
    return lines;
}

} // namespace varnoth
