#include "reports/analysis.h"

#include "model/text.h"
#include "model/types.h"
#include "reports/cutting.h"
#include "reports/prize.h"
#include "reports/selectors.h"
#include "settings/numberrules.h"
#include "store/store.h"

#include <QHash>

#include <algorithm>

namespace varnoth
{

namespace
{

const QString Baht = QStringLiteral(" บาท");
const QString NoData = QStringLiteral("ยังไม่มีข้อมูล");

QString orBlank(const QString& setting)
{
    return setting.isEmpty() ? QStringLiteral(" ") : setting;
}

QStringList analyseOne(Store& store, const QString& type)
{
    QStringList lines;
    lines << QStringLiteral("ผลการวิเคราะห์ ") + type;
    // The own limits and reduced pay change the figures below: the operator sees that they apply.
    if (const QString rules = rulesSummary(*bookRules(store), type); !rules.isEmpty()) lines << rules;
    const QString winning = store.LookupKeyed(store.resultFile(), type);
    const QString rate = store.LookupKeyed(store.rateFile(), type);
    if (winning.isEmpty() && rate.isEmpty())
        lines << QStringLiteral("ยังไม่ได้ตั้งค่าอัตราจ่าย และเลขรางวัล");
    else if (rate.isEmpty())
        lines << QStringLiteral("ยังไม่ได้ตั้งค่าอัตราจ่าย");
    else if (winning.isEmpty())
        lines << QStringLiteral("ยังไม่ได้ตั้งค่าเลขรางวัล");

    const GroupedStakes grouped = GroupedLinesOfType(store, type);
    if (grouped.staked) {
        QString list = CapStakes(store, grouped.list, type);
        const QString limit = store.LookupKeyed(store.limitFile(), type);
        const QString cut = store.LookupKeyed(store.numberCutFile(), type);
        const QString positions = store.LookupKeyed(store.digitCutFile(), type);
        if (!cut.isEmpty() && !positions.isEmpty()) list = KeepUncut(store, list, cut, positions);
        if (!list.isEmpty()) {
            // The most one number can cost: a number with a higher limit of its own can cost more.
            const double highest =
                std::max(Val(limit), static_cast<double>(bookRules(store)->highestLimit(typeIndex(type))));
            const QString prize = shortestDecimal(highest * Val(rate));
            return lines << AnalyseType(store, list, type, prize);
        }
    }
    return lines << NoData << Separator;
}

} // namespace

QString positionsLabel(const QString& mask)
{
    static const QHash<QString, QString> labels = {
        {QStringLiteral("001"), QStringLiteral("หน่วย")},        {QStringLiteral("010"), QStringLiteral("สิบ")},
        {QStringLiteral("100"), QStringLiteral("ร้อย")},         {QStringLiteral("011"), QStringLiteral("หน่วย สิบ")},
        {QStringLiteral("110"), QStringLiteral("สิบ ร้อย")},      {QStringLiteral("101"), QStringLiteral("หน่วย ร้อย")},
        {QStringLiteral("111"), QStringLiteral("หน่วย สิบ ร้อย")},
    };
    return labels.value(mask, orBlank(mask));
}

QStringList AnalyseType(Store& store, const QString& list, const QString& type, const QString& prize)
{
    double income = sumOfAmounts(list);
    if (income == 0) return {};
    QStringList lines;
    lines << QStringLiteral("ตั้งค่าอั้น= ") + orBlank(store.LookupKeyed(store.limitFile(), type)) + Baht;
    lines << QStringLiteral("ตั้งค่าอัตราจ่าย= ") + orBlank(store.LookupKeyed(store.rateFile(), type)) +
                 QStringLiteral(" ต่อบาท");
    const QString discountRate = store.LookupKeyed(store.discountFile(), type);
    lines << QStringLiteral("ตั้งค่าส่วนลด= ") + orBlank(discountRate) + QStringLiteral(" %");
    lines << QStringLiteral("ตั้งค่าคัดเลข= ") + orBlank(store.LookupKeyed(store.numberCutFile(), type));
    lines << QStringLiteral("ตั้งค่าคัดหลัก= ") + positionsLabel(store.LookupKeyed(store.digitCutFile(), type));
    lines << QStringLiteral("ยอดรายรับ= ") + formatAmount(income) + Baht;
    const double payout = Val(prize);
    lines << QStringLiteral("จ่ายค่ารางวัลตามที่อั้น= ") + formatAmount(payout) + Baht;
    if (!discountRate.isEmpty() && income > 0) {
        const double discount = Val(discountRate) * income / 100;
        income -= discount;
        lines << QStringLiteral("จ่ายค่าส่วนลด= ") + formatAmount(discount) + Baht;
    }
    if (payout < income)
        lines << QStringLiteral("กำไร ") + formatAmount(income - payout) + Baht;
    else if (payout > income)
        lines << QStringLiteral("ขาดทุน ") + formatAmount(payout - income) + Baht;
    else
        lines << QStringLiteral("เท่าทุน");
    lines << Separator;
    store.progress().hide();
    return lines;
}

ReportResult Analysis(Store& store, const QString& type)
{
    ReportResult report;
    const QStringList types = type == AllChoice ? typeNames() : QStringList{type};
    for (const QString& t : types)
        report.lines << analyseOne(store, t);
    return report;
}

} // namespace varnoth
