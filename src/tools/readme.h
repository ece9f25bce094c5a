#pragma once
// The user guide built into the program, and how the read-me viewer cuts it into sections.

#include <QString>
#include <QStringList>

namespace varnoth
{

// The guide, line by line. A heading starts with "-" (nothing else does), a body line is indented
// with blanks, and an empty line ends a section.
QStringList ReadmeLines();

// The headings, in order.
QStringList readmeTopics(const QStringList& lines);

// The section that starts with `heading`: the heading and its body lines, each followed by CR LF.
QString readmeSection(const QStringList& lines, const QString& heading);

} // namespace varnoth
