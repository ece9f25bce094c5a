#pragma once

// What the program does differently on one platform, kept out of main.
namespace varnoth
{

// A Windows GUI program has no console: a batch job started from one writes through the console
// of its parent, and standard output carries the same bytes ("\n" line ends, UTF-8) as on Linux.
void prepareStandardStreams();

// Thai glyphs from the Windows fonts that have them (Leelawadee UI, Tahoma); elsewhere the
// system's own choice stands.
void useThaiFonts();

} // namespace varnoth
