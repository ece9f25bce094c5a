#pragma once
// The per-type settings (rates, limits, number cuts, digit cuts, discounts): one keyed file each,
// one line per type that has a value ("3ตัวตรง#500"), edited in the settings window.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace varnoth
{

class Store;

enum class SettingKind { Rate, Limit, NumberCut, DigitCut, Discount };

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// What the settings window shows for one setting.
struct SettingMode {
    SettingKind kind;
    QString caption; // window caption
    QString heading; // list heading
    QString valueLabel;
};

// What the settings window shows for a setting.
const SettingMode& settingMode(SettingKind kind);

QString settingFile(const Store& store, SettingKind kind);

// The value stored for the type, "" when it has none (a missing file has none).
QString settingOf(const Store& store, SettingKind kind, const QString& type);

// The items of the settings list of a setting: first the lines of the file in file order, each with
// "#" shown as " - ", then the types without a value in type order.
QStringList FillSettingsList(const Store& store, SettingKind kind);

// The fields of the edit view for a list item.
struct SettingEdit {
    QString type;
    QString value;
    std::array<bool, 3> digits{}; // hundreds, tens, units of a digit cut
};
SettingEdit beginEdit(const QString& item);

// Stores the edited item at `editIndex` of `items` and rewrites the setting's file from the list.
// Returns the lines for the operator when the file could not be read or written.
QStringList SaveSetting(Store& store, SettingKind kind, QStringList items, int editIndex, const SettingEdit& edit);

// The file text (without the closing line end that the write adds) of a settings list.
QString settingsFileText(const QStringList& items);

} // namespace varnoth
