#include "reports/cutting.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/overlimit.h"
#include "reports/reportstate.h"
#include "reports/selectors.h"
#include "storage/folder/store.h"

namespace varnoth
{

namespace
{

// The digits of the number that the positions look at. The flags read hundreds, tens, units, so a
// two-digit number has no hundreds and a one-digit number only units; four and five digits are
// looked at by their last digit alone (or whole, with every flag set).
QString selectedDigits(QStringView number, QStringView positions)
{
    const qsizetype len = number.size();
    if (len < 1 || len > 5) return {};
    if (positions == u"111") return number.toString();
    if (positions == u"001") return number.last(1).toString();
    if (len == 2) {
        if (positions == u"010") return number.first(1).toString();
        if (positions == u"011") return number.toString();
    } else if (len == 3) {
        if (positions == u"010") return number.sliced(1, 1).toString();
        if (positions == u"011") return number.last(2).toString();
        if (positions == u"100") return number.first(1).toString();
        if (positions == u"101") return number.first(1).toString() + number.last(1).toString();
        if (positions == u"110") return number.first(2).toString();
    }
    return {};
}

bool cutTest(QStringView number, QStringView cut, QStringView positions)
{
    if (cut.isEmpty()) return false;
    const QString selected = selectedDigits(number, positions);
    for (QChar c : cut)
        if (selected.contains(c)) return true;
    return false;
}

// The items of the list on one side of the cut test.
QString splitByCut(Store& store, const QString& list, const QString& cut, const QString& positions, bool wantCut)
{
    QString out;
    const QStringList pieces = splitText(list, QStringLiteral("#"));
    const qsizetype n = list.count(QLatin1Char('#'));
    store.progress().reset();
    for (qsizetype i = 0; i < n; ++i) {
        store.progress().tick(n);
        const QStringList fields = pieces[i].split(QLatin1Char('-'));
        if (fields.size() < 2) continue;
        if (cutTest(fields[0], cut, positions) != wantCut) continue;
        out += fields[0] + QLatin1Char('-') + fields[1] + QLatin1Char('#');
    }
    store.progress().hide();
    return out;
}

ReportResult cutOneType(Store& store, ReportState& session, const QString& type, ReportResult r)
{
    const QString cut = store.LookupKeyed(store.numberCutFile(), type);
    const QString positions = store.LookupKeyed(store.digitCutFile(), type);
    const GroupedStakes grouped = GroupedLinesOfType(store, type);
    if (!grouped.staked) {
        r.lines << typeLine(type) << QStringLiteral("ไม่มีข้อมูล");
        return r;
    }
    const QString& list = grouped.list;
    QString data;
    if (!cut.isEmpty() && !positions.isEmpty()) {
        QStringList failures;
        const QString result = SubtractSent(store, CutOut(store, list, cut, positions), type, &failures);
        r.lines << QStringLiteral("ข้อมูลคัดเลขส่งออก") << typeLine(type);
        if (!result.isEmpty()) {
            r.lines += ShowSendOut(session.grand, result);
            data += sendOutBlock(type, result);
            r.saveCaption = true;
        } else {
            r.lines << QStringLiteral("ไม่มีข้อมูลที่ถูกคัด");
        }
        r.lines += failures;
    }
    session.SendOutData = data;
    if (cut.isEmpty()) r.lines << QStringLiteral("ยังไม่ได้ตั้งค่าคัดเลข");
    if (positions.isEmpty()) r.lines << QStringLiteral("ยังไม่ได้ตั้งค่าคัดหลัก") << QStringLiteral("ไม่มีข้อมูลคัดเลขส่งออก");
    r.closeWindows = true;
    return r;
}

ReportResult cutAllTypes(Store& store, ReportState& session, ReportResult r)
{
    QString data;
    QStringList failures;
    for (const QString& t : typeNames()) {
        const QString cut = store.LookupKeyed(store.numberCutFile(), t);
        const QString positions = store.LookupKeyed(store.digitCutFile(), t);
        if (cut.isEmpty() || positions.isEmpty()) continue;
        const GroupedStakes grouped = GroupedLinesOfType(store, t);
        if (!grouped.staked) continue;
        const QString& list = grouped.list;
        const QString result = SubtractSent(store, CutOut(store, list, cut, positions), t, &failures);
        if (result.isEmpty()) continue;
        r.lines << typeLine(t);
        r.lines += ShowSendOut(session.grand, result);
        data += sendOutBlock(t, result);
    }
    session.SendOutData = data;
    if (data.isEmpty())
        r.lines << QStringLiteral("ไม่มีข้อมูลที่ถูกคัด");
    else
        r.saveCaption = true;
    if (session.grand.count > 0) r.lines += grandTotalLines(session.grand);
    r.lines += failures;
    session.grand.reset();
    r.closeWindows = true;
    return r;
}

} // namespace

bool isCut(const QString& number, const QString& cut, const QString& positions)
{
    return cutTest(number, cut, positions);
}

QString KeepUncut(Store& store, const QString& list, const QString& cut, const QString& positions)
{
    return splitByCut(store, list, cut, positions, false);
}

QString CutOut(Store& store, const QString& list, const QString& cut, const QString& positions)
{
    return splitByCut(store, list, cut, positions, true);
}

ReportResult NumberCutReport(Store& store, ReportState& session, const QString& type)
{
    ReportResult r;
    session.grand.reset();
    r.lines << QStringLiteral("คัดเลขส่งออก");
    if (type == AllChoice) return cutAllTypes(store, session, std::move(r));
    return cutOneType(store, session, type, std::move(r));
}

} // namespace varnoth
