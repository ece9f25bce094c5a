#include "reports/analysis.h"

#include "accounts/accounttexts.h"
#include "accounts/customerrates.h"
#include "accounts/dealersent.h"
#include "accounts/dealertexts.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "reports/cutting.h"
#include "reports/ownshares.h"
#include "reports/prize.h"
#include "reports/selectors.h"
#include "settings/numberrules.h"
#include "storage/folder/store.h"

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

// The customers' own figures on what the book holds of a type. Every held number is priced as if it
// won: its stakes at each customer's own payout rate where he has one, the rest at the type's. A
// number held below its limit could still take stakes up to it, at the type's rate; a number whose
// stakes pass its limit holds the limit, shared by its stakes in proportion, and so does each
// customer's discount. `prize` is the type's worst case, raised where a number at own rates costs
// more. Only the customers with own figures on the type have their stakes read.
OwnFiguresEffect ownFigures(Store& store, const CustomerRates& rates, const QString& type, const QString& grouped,
                            const QString& held, double& prize)
{
    OwnFiguresEffect effect;
    if (!rates.outcome.ok()) {
        effect.problem = DamagedFileText + Store::fileName(rates.outcome.file);
        return effect;
    }
    const QStringList& numbers = NumberSet(type);
    const QList<OwnStakes> own = ownStakesOf(store, rates, type);
    if (own.isEmpty()) return effect;

    const QHash<QString, double> totals = amountsByNumber(grouped);
    const QHash<QString, double> kept = amountsByNumber(held);
    const std::shared_ptr<const NumberRules> rules = bookRules(store);
    const int t = typeIndex(type);
    const double typeLimit = Val(store.LookupKeyed(store.limitFile(), type));
    const Figures typeFigures = figuresOf(store, CustomerRates{}, type, QString());
    const double typeDiscount = Val(store.LookupKeyed(store.discountFile(), type));
    double discountChange = 0;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const double total = totals.value(numbers[i]);
        const double heldHere = kept.value(numbers[i]);
        if (total <= 0 || heldHere <= 0) continue;
        const OwnShare share = ownShareOf(own, i, typeDiscount);
        if (share.ownDiscount) {
            discountChange += share.discountShift * heldHere / total;
            effect.discountChange = discountChange;
        }
        if (share.stake <= 0) continue;
        const std::optional<qint64> ownLimit = rules->ownLimit(t, numbers[i]);
        const double limit = ownLimit ? static_cast<double>(*ownLimit) : typeLimit;
        // Priced as the prize check prices it when it wins, at its pay percentage; a number below its
        // limit could still take stakes up to it at the type's rate.
        const PayTerms terms = payTerms(*rules, type, numbers[i], typeFigures);
        const double pays = total < limit
                                ? costOfNumber(own, i, total, total, terms).prize + priceWin(limit - total, terms)
                                : costOfNumber(own, i, total, limit, terms).prize;
        if (pays > prize) {
            prize = pays;
            effect.ownPrize = true;
        }
    }
    return effect;
}

QStringList analyseOne(Store& store, const CustomerRates& rates, const QString& type)
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
            double prize = priceWin(highest, PayTerms{rate});
            const OwnFiguresEffect own = ownFigures(store, rates, type, grouped.list, list, prize);
            return lines << AnalyseType(store, list, type, shortestDecimal(prize), own);
        }
    }
    return lines << NoData << Separator;
}

// What each dealer was sent this draw, in the order of preference; the lines of damaged records.
struct DealersCarry {
    QList<DealerShare> shares;
    QStringList problems;
};

DealersCarry dealersCarry(const Store& store)
{
    DealersCarry carry;
    const Dealers dealers = loadDealers(store);
    if (dealers.items.isEmpty() && dealers.outcome.ok()) return carry;
    const DealerLists lists = loadDealerLists(store);
    if (!dealers.outcome.ok()) carry.problems << dealers.problem;
    if (!lists.outcome.ok()) carry.problems << lists.problem;
    carry.shares = sentToDealers(store, dealers.items, lists);
    return carry;
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

QStringList AnalyseType(Store& store, const QString& list, const QString& type, const QString& prize,
                        const OwnFiguresEffect& own)
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
    lines << QStringLiteral("จ่ายค่ารางวัลตามที่อั้น= ") + formatAmount(payout) + Baht +
                 (own.ownPrize ? OwnPayoutsIncludedMark : QString());
    if (own.discountChange) {
        const double discount = toSatang(Val(discountRate) * income / 100 + *own.discountChange);
        income -= discount;
        lines << QStringLiteral("จ่ายค่าส่วนลด= ") + formatAmount(discount) + Baht + OwnFiguresIncludedMark;
    } else if (!discountRate.isEmpty() && income > 0) {
        const double discount = toSatang(Val(discountRate) * income / 100);
        income -= discount;
        lines << QStringLiteral("จ่ายค่าส่วนลด= ") + formatAmount(discount) + Baht;
    }
    if (payout < income)
        lines << QStringLiteral("กำไร ") + formatAmount(income - payout) + Baht;
    else if (payout > income)
        lines << QStringLiteral("ขาดทุน ") + formatAmount(payout - income) + Baht;
    else
        lines << QStringLiteral("เท่าทุน");
    if (!own.problem.isEmpty()) lines << own.problem;
    lines << Separator;
    store.progress().hide();
    return lines;
}

ReportResult Analysis(Store& store, const QString& type)
{
    ReportResult report;
    const QStringList types = type == AllChoice ? typeNames() : QStringList{type};
    const CustomerRates rates = loadCustomerRates(store);
    const DealersCarry carry = dealersCarry(store);
    for (const QString& t : types) {
        QStringList lines = analyseOne(store, rates, t);
        // What went to each dealer of this type, above the book's own figures.
        QStringList sent;
        for (const DealerShare& share : carry.shares) {
            qint64 satang = 0;
            for (const NumberAmount& a : share.items)
                if (a.type == t) satang += a.satang;
            if (satang > 0) sent << AnalysisDealerText + share.dealer + QStringLiteral("= ") + formatAmount(double(satang) / 100) + Baht;
        }
        const qsizetype end = !lines.isEmpty() && lines.last() == Separator ? lines.size() - 1 : lines.size();
        for (qsizetype i = 0; i < sent.size(); ++i)
            lines.insert(end + i, sent[i]);
        report.lines << lines;
    }
    report.lines << carry.problems;
    return report;
}

} // namespace varnoth
