#pragma once
// The main window's settings picker: each entry, the job it gives the window it opens and the colour
// the picker takes; and which keyed setting a settings-window job lists.

#include "gui/main/windows.h"
#include "settings/keyed.h"

#include <QList>
#include <QString>
#include <optional>

namespace varnoth
{

// An entry of the settings picker: the WindowMode it sets (none leaves it as it is), the window it
// opens and the colour the picker takes.
struct PickerEntry {
    QString entry;
    std::optional<WindowMode> windowMode;
    WindowId window;
    Rgb colour;
};
const QList<PickerEntry>& pickerEntries();
// Null for an empty or unknown entry.
const PickerEntry* pickerEntry(const QString& entry);

// The keyed setting the settings window lists in a mode (Rates to DigitCuts); none for another mode.
std::optional<SettingKind> settingKindFor(WindowMode mode);

} // namespace varnoth
