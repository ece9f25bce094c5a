#include "gui/main/pickerentries.h"

#include "settings/numberruletexts.h"
#include "settings/options.h"

namespace varnoth
{

const QList<PickerEntry>& pickerEntries()
{
    static const QList<PickerEntry> entries = {
        {QStringLiteral("อัตราจ่าย"), WindowMode::Rates, WindowId::Settings, {255, 192, 128}},
        {QStringLiteral("วงเงินอั้น"), WindowMode::Limits, WindowId::Settings, {255, 192, 192}},
        {QStringLiteral("เลขรางวัล"), std::nullopt, WindowId::Result, {255, 192, 255}},
        {QStringLiteral("คัดเลข"), WindowMode::NumberCuts, WindowId::Settings, {192, 192, 255}},
        {QStringLiteral("คัดหลัก"), WindowMode::DigitCuts, WindowId::Settings, {192, 192, 255}},
        {QStringLiteral("ส่วนลด"), WindowMode::Discounts, WindowId::Settings, {255, 255, 192}},
        {QStringLiteral("ชื่อลูกค้า"), WindowMode::CustomerNames, WindowId::Customers, {192, 255, 255}},
        {OptionsPickerEntry, WindowMode::BookOptions, WindowId::Settings, {224, 224, 224}},
        {RulesPickerEntry, std::nullopt, WindowId::NumberRules, {255, 192, 192}},
    };
    return entries;
}

const PickerEntry* pickerEntry(const QString& entry)
{
    if (entry.isEmpty()) return nullptr;
    for (const PickerEntry& e : pickerEntries())
        if (e.entry == entry) return &e;
    return nullptr;
}

std::optional<SettingKind> settingKindFor(WindowMode mode)
{
    switch (mode) {
    case WindowMode::Rates:
        return SettingKind::Rate;
    case WindowMode::NumberCuts:
        return SettingKind::NumberCut;
    case WindowMode::Discounts:
        return SettingKind::Discount;
    case WindowMode::Limits:
        return SettingKind::Limit;
    case WindowMode::DigitCuts:
        return SettingKind::DigitCut;
    default:
        return std::nullopt;
    }
}

} // namespace varnoth
