#include "settings/keyed.h"

#include "accounts/accounttexts.h"
#include "accounts/customerrates.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "settings/options.h"
#include "storage/folder/store.h"

#include <QSet>

#include <algorithm>

namespace varnoth
{

namespace
{

const QString ItemSeparator = QStringLiteral(" - ");

const QList<SettingMode>& settingModes()
{
    static const QList<SettingMode> modes = {
        {SettingKind::Rate, QStringLiteral("Promotion"), QStringLiteral("ประเภทหวย + อัตราจ่าย/บาท"),
         QStringLiteral("อัตราจ่าย/บาท")},
        {SettingKind::NumberCut, QStringLiteral("Cutting"), QStringLiteral("ประเภทหวย + เลขที่คัดออก"),
         QStringLiteral("เลขที่คัดออก")},
        {SettingKind::Discount, QStringLiteral("Promotion"), QStringLiteral("ประเภทหวย + ส่วนลด %"),
         QStringLiteral("ส่วนลด %")},
        {SettingKind::Limit, QStringLiteral("Limiter"), QStringLiteral("ประเภทหวย + เงินอั้น"), QStringLiteral("เงินอั้น")},
        {SettingKind::DigitCut, QStringLiteral("Digit Cutting"), QStringLiteral("ประเภทหวย + หลักที่คัดออก"),
         QStringLiteral("หลักที่คัดออก")},
    };
    return modes;
}

// The line that refuses a value beyond what its setting can hold and still add up exactly ("" when
// it is within): a rate of more than 6 digits, a limit of more than 12, a discount above 100 %.
QString outOfBounds(SettingKind kind, const QString& value)
{
    const auto digits = std::count_if(value.begin(), value.end(),
                                      [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    switch (kind) {
    case SettingKind::Rate:
        return digits > MaxPayoutDigits ? RateTooLongText : QString();
    case SettingKind::Limit:
        return digits > MaxLimitDigits ? LimitTooLongText : QString();
    case SettingKind::Discount:
        return Val(value) > 100 ? PercentOutOfRangeText : QString();
    default:
        return {};
    }
}

} // namespace

const SettingMode& settingMode(SettingKind kind)
{
    const QList<SettingMode>& modes = settingModes();
    const auto m = std::find_if(modes.begin(), modes.end(), [kind](const SettingMode& s) { return s.kind == kind; });
    return m != modes.end() ? *m : modes.front(); // every kind has its entry
}

QString settingFile(const Store& store, SettingKind kind)
{
    switch (kind) {
    case SettingKind::Rate:
        return store.rateFile();
    case SettingKind::Limit:
        return store.limitFile();
    case SettingKind::NumberCut:
        return store.numberCutFile();
    case SettingKind::DigitCut:
        return store.digitCutFile();
    case SettingKind::Discount:
        return store.discountFile();
    }
    return {};
}

QString settingOf(const Store& store, SettingKind kind, const QString& type)
{
    return store.LookupKeyed(settingFile(store, kind), type);
}

QStringList FillSettingsList(const Store& store, SettingKind kind)
{
    const QString content = store.ReadWholeFile(settingFile(store, kind));
    // Only lines ended by CR LF count: a text after the last line end is no line of the file.
    const int lines = CountOccurrences(content, CRLF);
    const QStringList pieces = splitText(content, CRLF);
    QStringList items;
    QSet<QString> seen;
    for (int i = 0; i < lines && i < pieces.size(); ++i) {
        const QString& piece = pieces[i];
        if (piece.isEmpty()) continue;
        items << QString(piece).replace(QLatin1Char('#'), ItemSeparator);
        seen.insert(piece.section(QLatin1Char('#'), 0, 0));
    }
    for (const QString& type : typeNames()) {
        if (seen.contains(type)) continue;
        items << type;
        seen.insert(type);
    }
    return items;
}

SettingEdit beginEdit(const QString& item)
{
    SettingEdit edit;
    if (!item.contains(ItemSeparator)) {
        edit.type = item;
        return edit;
    }
    const QStringList pieces = item.split(ItemSeparator);
    edit.type = pieces[0];
    edit.value = pieces[1];
    for (int i = 0; i < 3; ++i)
        edit.digits[i] = edit.value.mid(i, 1) == QLatin1String("1");
    return edit;
}

QString settingsFileText(const QStringList& items)
{
    QString text;
    for (const QString& item : items) {
        if (item.isEmpty() || !item.contains(ItemSeparator)) continue;
        text += QString(item).replace(ItemSeparator, QStringLiteral("#")) + CRLF;
    }
    return text;
}

QStringList SaveSetting(Store& store, SettingKind kind, QStringList items, int editIndex, const SettingEdit& edit)
{
    const QString type = CleanName(edit.type);
    QString value = CleanName(edit.value);
    if (kind == SettingKind::DigitCut) {
        value.clear();
        for (bool d : edit.digits)
            value += d ? QLatin1Char('1') : QLatin1Char('0');
        if (value == QLatin1String("000")) value.clear();
    }
    // "0" clears a rate, a limit or a discount; as a number cut it cuts the digit 0.
    if (kind != SettingKind::NumberCut && value == QLatin1String("0")) value.clear();
    if (const QString refusal = outOfBounds(kind, value); !refusal.isEmpty()) return {refusal};
    if (!type.isEmpty() && editIndex >= 0 && editIndex < items.size())
        items[editIndex] = value.isEmpty() ? type : type + ItemSeparator + value;

    const QString path = settingFile(store, kind);
    // The list was filled from the file; when the file could not be read the list lacks its
    // values, and writing it would wipe them.
    const FileText current = store.readFile(path);
    if (current.exists && !current.readable) return {outcomeLine({Status::ReadFailed, path})};
    if (!store.WriteWholeFile(path, settingsFileText(items))) return {outcomeLine({Status::WriteFailed, path})};
    return {};
}

} // namespace varnoth
