#include "tools/printing.h"

#include "model/text.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryFile>
#include <algorithm>
#include <utility>

namespace varnoth
{

namespace
{

constexpr int Gutter = 20;
constexpr int RecordsPerLine = 3;

// Lays lines out one under the other; a line that would run past the bottom continues on the next
// page, so a long list or a large font never loses text off the edge of the paper.
class PageWriter
{
public:
    PageWriter(int fontSize, int copies, const PageGeometry& geometry) : m_geometry(geometry)
    {
        m_job.fontSize = fontSize;
        m_job.copies = copies;
    }

    int page() const { return m_job.pageCount; }

    void print(const QString& text, int x)
    {
        if (m_y > PageTop && m_y + m_geometry.lineHeight > m_geometry.pageHeight) newPage();
        m_job.lines.append({m_job.pageCount, x, m_y, text, m_job.fontSize});
        m_y += std::max(1, m_geometry.lineHeight);
    }

    void newPage()
    {
        ++m_job.pageCount;
        m_y = PageTop;
    }

    PrintJob take() { return std::move(m_job); }

private:
    PageGeometry m_geometry;
    PrintJob m_job;
    int m_y = PageTop;
};

} // namespace

RecordPacker::RecordPacker(const QStringList& rows)
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
    const int blanks = Gutter + std::max(0, m_width - static_cast<int>(row.size()));
    m_buffer += QString(blanks, QLatin1Char(' ')) + record;
    return ++m_count == RecordsPerLine;
}

QString RecordPacker::takeLine()
{
    m_count = 0;
    return std::exchange(m_buffer, QString());
}

QString BuildListText(const QStringList& rows)
{
    RecordPacker packer(rows);
    QString text;
    for (const QString& row : rows) {
        if (RecordPacker::isRecord(row)) {
            if (packer.add(row)) text += packer.takeLine() + CRLF;
            continue;
        }
        if (packer.pending()) text += packer.takeLine() + CRLF;
        text += row + CRLF;
    }
    if (packer.pending()) text += packer.takeLine() + CRLF;
    return text;
}

PrintJob PrintMainList(const QStringList& rows, int fontSize, int copies, const PageGeometry& geometry)
{
    PageWriter writer(fontSize, copies, geometry);
    // The header carries the physical page number, so a page that overflowed does not leave the
    // later headers counting behind the paper.
    auto header = [&writer] {
        writer.print(QStringLiteral("Page ") + QString::number(writer.page()), HeadingIndent);
        writer.print(Separator, HeadingIndent);
    };
    header();

    RecordPacker packer(rows);
    int counter = 0;
    for (const QString& row : rows) {
        // A heading can move the counter past the limit between two checks; the next row still
        // breaks the page.
        if (++counter >= RowsPerPage) {
            writer.newPage();
            header();
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

PrintJob PrintReadme(const QString& text, int fontSize, int copies, const PageGeometry& geometry, const QDateTime& now)
{
    PageWriter writer(fontSize, copies, geometry);
    const QLocale locale;
    writer.print(QStringLiteral("Readme"), RecordIndent);
    writer.print(QStringLiteral("Date: ") + locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral(" ") +
                     QStringLiteral("Time: ") + locale.toString(now.time(), QLocale::LongFormat),
                 RecordIndent);
    writer.print(Separator, RecordIndent);
    for (const QString& line : splitText(text, CRLF))
        writer.print(line, RecordIndent);
    return writer.take();
}

ListTextFile writeListTextFile(const QString& text, const QString& folder)
{
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("varnoth-list-XXXXXX.txt")));
    file.setAutoRemove(false); // the editor opens it after we are done
    if (!file.open()) return {file.fileTemplate(), false};
    const QByteArray bytes = text.toUtf8();
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    const QString path = file.fileName();
    file.close();
    if (!written) QFile::remove(path);
    return {path, written};
}

} // namespace varnoth
