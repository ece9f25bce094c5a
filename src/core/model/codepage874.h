#pragma once

#include <QByteArray>
#include <QString>

// Code page 874 (windows-874), the code page of every data file. The table is built into the
// program, so a file reads and writes to the same bytes wherever it runs, with or without ICU; it
// was taken from the windows-874 codec of Qt with ICU, which the files were always written with,
// and maps the same way: every byte decodes, a character outside the code page is written as "?"
// and reported, except the invisible format characters, which are left out and reported.
namespace varnoth::cp874
{

struct Range {
    char32_t first;
    char32_t last;
};

// The characters of the bytes 0x80 to 0xFF; the bytes below are ASCII.
extern const char16_t HighHalf[128];
// The characters left out instead of written as "?".
extern const Range Dropped[];
extern const int DroppedCount;

QString decode(QByteArrayView bytes);
// `*ok` becomes false when a character is not in the code page.
QByteArray encode(QStringView text, bool* ok = nullptr);
// True when every byte decodes to a character that encodes back to that byte.
bool selfCheck();

} // namespace varnoth::cp874
