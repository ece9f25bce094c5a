#include "reports/view.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/reportstate.h"
#include "reports/selectors.h"
#include "storage/folder/store.h"

#include <functional>

namespace varnoth
{

namespace
{

QString pairLine(const QString& type, const QString& customer)
{
    return typeLine(type) + QLatin1Char(' ') + typeLine(customer);
}

QString heading(const QString& number, const QString& type, const QString& customer)
{
    QString line = QStringLiteral("ข้อมูล ");
    for (const QString& part : {number, type, customer})
        if (!part.isEmpty()) line += QLatin1Char(' ') + typeLine(part);
    return line;
}

// Every type whose grouped list is not empty, under its type line.
void sectionsOfAllTypes(Store& store, ReportState& session, QStringList& lines,
                        const std::function<QString(const QString&)>& grouped, const QString& customer = {},
                        const QString& number = {})
{
    for (const QString& t : typeNames()) {
        const QString list = grouped(t);
        if (list.isEmpty()) continue;
        lines << typeLine(t);
        lines += ShowSection(store, session.grand, list, t, customer, number);
    }
}

QStringList searchGrandTotals(const GrandAccumulators& grand)
{
    QStringList lines;
    if (grand.count <= 0) return lines;
    lines << QStringLiteral("ยอดรวมเลข= ") + formatCount(grand.count) + QStringLiteral(" รายการ");
    lines << QStringLiteral("ยอดรวมเงิน= ") + formatAmount(grand.amount) + QStringLiteral(" บาท");
    if (grand.discount > 0) {
        lines << QStringLiteral("ยอดรวมส่วนลด= ") + formatAmount(grand.discount) + QStringLiteral(" บาท");
        lines << QStringLiteral("ยอดรวมคงเหลือ= ") + formatAmount(grand.amount - grand.discount) +
                     QStringLiteral(" บาท");
    }
    lines << Separator;
    return lines;
}

void searchOneType(Store& store, ReportState& session, QStringList& lines, const QString& N, const QString& T,
                   const QString& C)
{
    const bool allCustomers = C == AllChoice;
    if (N.isEmpty()) {
        if (allCustomers) {
            lines += ShowSection(store, session.grand, GroupedLinesOfType(store, T).list, T, AllChoice);
            return;
        }
        const QString list = GroupByNumber(store, LinesOfTypeCustomer(store, T, C), T);
        if (list.isEmpty()) return;
        lines << pairLine(T, C);
        lines += ShowSection(store, session.grand, list, T, C);
        return;
    }
    const QString list = allCustomers ? LinesOfTypeNumber(store, T, N) : LinesOfTypeCustomerNumber(store, T, C, N);
    if (list.isEmpty())
        lines << QStringLiteral("ไม่มีข้อมูล");
    else
        lines += ShowSection(store, session.grand, list, T, C, N);
}

void searchAllTypes(Store& store, ReportState& session, QStringList& lines, const QString& N, const QString& C)
{
    const bool allCustomers = C == AllChoice;
    if (N.isEmpty() && !allCustomers) {
        // One customer's sections stand as stored, each under the pair of type and customer.
        for (const QString& t : typeNames()) {
            const QString list = LinesOfTypeCustomer(store, t, C);
            if (list.isEmpty()) continue;
            lines << pairLine(t, C);
            lines += ShowSection(store, session.grand, list, t, C);
        }
        return;
    }
    // Selecting the number before grouping gives the same items as filtering the grouped list,
    // without grouping every number of the type.
    sectionsOfAllTypes(
        store, session, lines,
        [&](const QString& t) {
            if (N.isEmpty()) return GroupedLinesOfType(store, t).list;
            const QString list =
                allCustomers ? LinesOfTypeNumber(store, t, N) : LinesOfTypeCustomerNumber(store, t, C, N);
            return GroupByNumber(store, list, t);
        },
        C, N);
    if (N.isEmpty()) {
        lines += searchGrandTotals(session.grand);
        session.grand.reset();
    }
}

} // namespace

ReportResult ViewAllData(Store& store, ReportState& session)
{
    ReportResult r;
    sectionsOfAllTypes(
        store, session, r.lines, [&](const QString& t) { return GroupedLinesOfType(store, t).list; }, AllChoice);
    store.progress().hide();
    return r;
}

ReportResult SearchReport(Store& store, ReportState& session, const QString& number, const QString& type,
                          const QString& customer)
{
    ReportResult r;
    if (type.isEmpty() || customer.isEmpty()) {
        r.clearList = false;
        r.focus = type.isEmpty() ? QStringLiteral("Combo1") : QStringLiteral("Combo2");
        return r;
    }
    session.grand.reset();
    const QString N = CleanName(number);
    const QString T = CleanName(type);
    const QString C = CleanName(customer);
    r.lines << heading(N, T, C);
    if (T == AllChoice)
        searchAllTypes(store, session, r.lines, N, C);
    else
        searchOneType(store, session, r.lines, N, T, C);
    r.closeWindows = true;
    return r;
}

} // namespace varnoth
