#pragma once

// What the program does differently on one platform, kept out of main.
#include <QStringList>

namespace varnoth
{

// The command line as the user typed it: on Windows from the wide command line, since argv holds
// only what the ANSI code page can spell (Thai type names need not survive it).
QStringList commandLineArguments(int argc, char* argv[]);

// A Windows GUI program has no console: a batch job started from one writes through the console
// of its parent, and standard output carries the same bytes ("\n" line ends, UTF-8) as on Linux.
void prepareStandardStreams();

// The text recogniser's worker threads spin while they wait; on a small, busy machine they take
// several times longer than one thread alone (6.6 s against 1.0 s for a screenshot on two shared
// cores). Their number is read from the environment when the program is loaded, so where it is not
// set the program starts itself again with one. Returns only when no restart was needed.
void limitRecognizerThreads(char* argv[]);

// Thai glyphs from the Windows fonts that have them (Leelawadee UI, Tahoma); elsewhere the
// system's own choice stands.
void useThaiFonts();

} // namespace varnoth
