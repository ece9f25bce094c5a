#pragma once
// The one rule for a customer's name, whichever way it comes in: typed in a window, named in a
// pasted message, given to a batch job or read from a backup's headings.

#include <QString>

namespace varnoth
{

// The name as the book keeps it: the invisible format characters a pasted name brings along
// (zero-width spaces, direction marks, soft hyphens, ...) removed, cleaned as every name is
// (CleanName: blanks, "#", "-" and line ends out, lower case) and composed (NFC), so that a name
// that looks the same is the same name however it was typed.
QString customerName(const QString& text);

// The Thai line saying why the name cannot be a customer's, "" when it can: it holds a character
// the data files cannot hold, or a control character, or it is the all-customers choice.
// Nothing is ever stored under a refused name.
QString customerNameRefusal(const QString& name);

} // namespace varnoth
