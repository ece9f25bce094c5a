#include "tools/readme.h"

#include "core/model/text.h"

#include <QResource>

namespace varnoth
{

// The guide is compiled in from readme.txt beside this file: UTF-8, one line of the guide a line.
QStringList ReadmeLines()
{
    static const QStringList lines = [] {
        const QResource guide(QStringLiteral(":/guide/readme.txt"));
        if (!guide.isValid()) {
            qWarning("the guide is missing from the program");
            return QStringList();
        }
        QString text = QString::fromUtf8(guide.uncompressedData());
        text.remove(QLatin1Char('\r')); // a checkout that turned the line ends into CR LF
        QStringList read = text.split(QLatin1Char('\n'));
        read.removeLast(); // what follows the line end of the last line
        return read;
    }();
    return lines;
}

QStringList readmeTopics(const QStringList& lines)
{
    QStringList topics;
    for (const QString& line : lines)
        if (line.startsWith(QLatin1Char('-'))) topics << line;
    return topics;
}

QString readmeSection(const QStringList& lines, const QString& heading)
{
    QString section;
    bool inSection = false;
    for (const QString& line : lines) {
        if (!line.isEmpty() && line == heading) inSection = true;
        if (line.isEmpty()) inSection = false;
        if (inSection) section += line + CRLF;
    }
    return section;
}

} // namespace varnoth
