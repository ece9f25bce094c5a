#include "tools/printing.h"

#include "accounts/users.h"
#include "core/model/text.h"
#include "core/model/types.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <utility>

namespace varnoth
{

namespace
{

const QString PageWord = QStringLiteral("หน้า ");

QString joinPresent(const QString& a, const QString& b)
{
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return a + QStringLiteral("    ") + b;
}

// Lays lines out one under the other, each page under the header; a line that would run past the
// bottom continues on the next page, so a long list or a large font never loses text off the edge of
// the paper. The page count is known only at the end, so the page numbers are filled in then.
class PageWriter
{
public:
    // `opening` lines head the first page, above its header.
    PageWriter(int fontSize, int copies, const PageGeometry& geometry, const PageHeader& header, int headerIndent,
               const QStringList& opening = {})
        : m_geometry(geometry), m_header(header), m_headerIndent(headerIndent)
    {
        m_job.fontSize = fontSize;
        m_job.copies = copies;
        m_job.pageCount = 0;
        newPage(opening);
    }

    void print(const QString& text, int x)
    {
        if (m_y > m_bodyTop && m_y + m_geometry.lineHeight > m_geometry.pageHeight) newPage();
        put(text, x);
    }

    void newPage(const QStringList& opening = {})
    {
        ++m_job.pageCount;
        m_y = PageTop;
        for (const QString& line : opening)
            put(line, m_headerIndent);
        const QString stamp = thaiShortDateTime(m_header.printedAt, m_header.years);
        put(joinPresent(m_header.shopName, stamp), m_headerIndent);
        m_numberLines << m_job.lines.size();
        put(QString(), m_headerIndent);
        put(Separator, m_headerIndent);
        m_bodyTop = m_y;
    }

    PrintJob take()
    {
        for (qsizetype i : m_numberLines) {
            PrintedLine& line = m_job.lines[i];
            line.text = joinPresent(m_header.subject, pageNumberText(line.page, m_job.pageCount));
        }
        return std::move(m_job);
    }

private:
    void put(const QString& text, int x)
    {
        m_job.lines.append({m_job.pageCount, x, m_y, text, m_job.fontSize});
        m_y += std::max(1, m_geometry.lineHeight);
    }

    PageGeometry m_geometry;
    PageHeader m_header;
    int m_headerIndent;
    PrintJob m_job;
    QList<qsizetype> m_numberLines;
    int m_y = PageTop;
    int m_bodyTop = PageTop;
};

} // namespace

bool RecordPacker::isRecord(const QString& row)
{
    return row.contains(QLatin1Char('-')) && withoutKeyers(row).size() == row.size();
}

RecordPacker::RecordPacker(const QStringList& rows, int gutter, int perLine)
    : m_gutter(std::max(0, gutter)), m_perLine(std::max(1, perLine))
{
    for (const QString& row : rows)
        if (isRecord(row)) m_width = std::max(m_width, static_cast<int>(row.size()));
}

bool RecordPacker::add(const QString& row)
{
    QString record = row;
    const QString spaced = QStringLiteral(" - ");
    if (row.contains(spaced)) {
        const QStringList pieces = splitText(row, spaced);
        record = pieces.value(0) + spaced + pieces.value(1);
    }
    // Shorter records get extra blanks so that all of them end in the same column.
    const int blanks = m_gutter + std::max(0, m_width - static_cast<int>(row.size()));
    m_buffer += QString(blanks, QLatin1Char(' ')) + record;
    return ++m_count == m_perLine;
}

QString RecordPacker::takeLine()
{
    m_count = 0;
    return std::exchange(m_buffer, QString());
}

QStringList packRecords(const QStringList& rows, int gutter, int perLine)
{
    RecordPacker packer(rows, gutter, perLine);
    QStringList lines;
    for (const QString& row : rows) {
        if (RecordPacker::isRecord(row)) {
            if (packer.add(row)) lines << packer.takeLine();
            continue;
        }
        if (packer.pending()) lines << packer.takeLine();
        lines << row;
    }
    if (packer.pending()) lines << packer.takeLine();
    return lines;
}

QString BuildListText(const QStringList& rows)
{
    QString text;
    for (const QString& line : packRecords(rows))
        text += line + CRLF;
    return text;
}

QString pageNumberText(int page, int pages)
{
    return PageWord + QString::number(page) + QLatin1Char('/') + QString::number(pages);
}

QString listSubject(const QStringList& rows)
{
    static const QRegularExpression heading(QStringLiteral("<\\s*([^<>]+?)\\s*>\\s*<\\s*([^<>]*?)\\s*>"));
    for (const QString& row : rows) {
        const QRegularExpressionMatch m = heading.match(row);
        if (m.hasMatch() && typeIndex(m.captured(1)) >= 0)
            return (m.captured(1) + QLatin1Char(' ') + m.captured(2)).trimmed();
    }
    return {};
}

PrintJob PrintMainList(const QStringList& rows, int fontSize, int copies, const PageGeometry& geometry,
                       const PageHeader& header)
{
    PageWriter writer(fontSize, copies, geometry, header, HeadingIndent);
    RecordPacker packer(rows);
    int counter = 0;
    for (const QString& row : rows) {
        // A heading can move the counter past the limit between two checks; the next row still
        // breaks the page.
        if (++counter >= RowsPerPage) {
            writer.newPage();
            counter = 0;
        }
        if (RecordPacker::isRecord(row)) {
            if (packer.add(row)) writer.print(packer.takeLine(), RecordIndent);
            continue;
        }
        if (packer.pending()) {
            writer.print(packer.takeLine(), RecordIndent);
            ++counter;
        }
        writer.print(row, HeadingIndent);
        ++counter;
    }
    if (packer.pending()) writer.print(packer.takeLine(), RecordIndent);
    return writer.take();
}

PrintJob PrintReadme(const QString& text, int fontSize, int copies, const PageGeometry& geometry,
                     const PageHeader& header)
{
    // The read-me printout names itself and when it was printed before anything else.
    const QLocale locale;
    const QString when = QStringLiteral("Date: ") + locale.toString(header.printedAt.date(), QLocale::ShortFormat) +
                         QStringLiteral(" ") + QStringLiteral("Time: ") +
                         locale.toString(header.printedAt, locale.timeFormat(QLocale::LongFormat));
    PageWriter writer(fontSize, copies, geometry, header, RecordIndent, {QStringLiteral("Readme"), when, Separator});
    for (const QString& line : splitText(text, CRLF))
        writer.print(line, RecordIndent);
    return writer.take();
}

QString printoutsFolder(const QString& dataFolder)
{
    return QFileInfo(QDir::cleanPath(dataFolder)).absoluteDir().filePath(QStringLiteral("printouts"));
}

QString printoutPath(const QString& dataFolder, const QDateTime& now, const QString& name, const QString& suffix)
{
    QDir dir(printoutsFolder(dataFolder));
    if (!dir.mkpath(QStringLiteral(".")) || !dir.exists()) return {};
    const QString stem = now.toString(QStringLiteral("yyyy-MM-dd_hhmm_")) + name;
    QString path = dir.filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + QLatin1Char('_') + QString::number(n) + suffix);
    return path;
}

ListTextFile writeListTextFile(const QString& text, const QString& folder)
{
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("varnoth_list_XXXXXX.txt")));
    file.setAutoRemove(false); // the editor opens it after we are done
    if (!file.open()) return {file.fileTemplate(), false};
#ifdef Q_OS_WIN
    // Notepad before Windows 10 reads a text without a byte order mark in the system's code page, and
    // the Thai of the list would come out as other letters.
    const QByteArray bytes = "\xEF\xBB\xBF" + text.toUtf8();
#else
    const QByteArray bytes = text.toUtf8();
#endif
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    const QString path = file.fileName();
    file.close();
    if (!written) QFile::remove(path);
    return {path, written};
}

} // namespace varnoth
