#pragma once
// The printed form of the main list and of the read-me, and the plain-text form of the main list.
// Nothing here draws: the page model says which text goes on which page and where, and a renderer
// only has to scale twips to the device.

#include "core/model/thaidate.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

// One line of print: its physical page (from 1), its left and top edge in twips from the top left
// of the printable area, the text and the font size in points.
struct PrintedLine {
    int page = 1;
    int x = 0;
    int y = 0;
    QString text;
    int fontSize = 10;
    bool operator==(const PrintedLine&) const = default;
};

// What the page model needs to know of the device: the height of one line at the job's font size
// and the printable height, both in twips.
struct PageGeometry {
    int lineHeight = 240;
    int pageHeight = 15840;
};

struct PrintJob {
    int fontSize = 10;
    int copies = 1;
    int pageCount = 1;
    QList<PrintedLine> lines;
};

// What heads every printed page: the shop, the date and time of printing, what is printed (type and
// customer of the list, or the document's title) and the page number out of the page count.
struct PageHeader {
    QString shopName;
    QDateTime printedAt;
    QString subject;
    YearStyle years = YearStyle::Buddhist; // how the date of printing shows its year
};
// The header takes these lines at the top of every page.
inline constexpr int HeaderLines = 3;

// "หน้า 1/3"
QString pageNumberText(int page, int pages);
// The type and customer of the list's first "<type> <customer>" heading; "" when it has none.
QString listSubject(const QStringList& rows);

// Record lines start one inch in; headings and rows printed alone twice as far; every page starts
// one inch down.
inline constexpr int RecordIndent = 1440;
inline constexpr int HeadingIndent = 2 * RecordIndent;
inline constexpr int PageTop = RecordIndent;
// The main list starts a new page when its row counter reaches this.
inline constexpr int RowsPerPage = 150;

// Packs record rows (rows holding "-") three to a line, each right-aligned to the widest record
// with 20 blanks of gutter; every other row is a line of its own. A narrower page (a picture for a
// phone) packs with a gutter and a count of its own.
class RecordPacker
{
public:
    static constexpr int DefaultGutter = 20;
    static constexpr int DefaultPerLine = 3;
    explicit RecordPacker(const QStringList& rows, int gutter = DefaultGutter, int perLine = DefaultPerLine);
    // The widest record of the rows, in characters.
    int width() const { return m_width; }
    // A row that says who keyed it stands on a line of its own: several of them would not fit the paper.
    static bool isRecord(const QString& row);
    // Adds a record; returns true when the line is full and should be taken with takeLine().
    bool add(const QString& row);
    bool pending() const { return !m_buffer.isEmpty(); }
    QString takeLine();

private:
    int m_width = 0;
    int m_gutter = DefaultGutter;
    int m_perLine = DefaultPerLine;
    int m_count = 0;
    QString m_buffer;
};

// The rows with their records packed, one line each.
QStringList packRecords(const QStringList& rows, int gutter = RecordPacker::DefaultGutter,
                        int perLine = RecordPacker::DefaultPerLine);

// The main list as text for a text editor: the packed lines, each followed by CR LF.
QString BuildListText(const QStringList& rows);

// The main list on pages. The row counter starts a page, and so does a line that would run past the
// bottom; every page, however it was started, begins with the header and the separator.
PrintJob PrintMainList(const QStringList& rows, int fontSize, int copies, const PageGeometry& geometry,
                       const PageHeader& header);

// The read-me text (lines joined by CR LF), every page under the header. The first page opens with
// "Readme", the date and time of printing in the system's short date and long time formats, and the
// separator, above its header.
PrintJob PrintReadme(const QString& text, int fontSize, int copies, const PageGeometry& geometry,
                     const PageHeader& header);

// A new file's path in the "printouts" folder beside the data folder (in its parent), named by the
// date and time and `name` ("2026-12-09_0215_list.pdf", a number added when that is taken). The
// folder is made when missing; "" when it cannot be.
QString printoutPath(const QString& dataFolder, const QDateTime& now, const QString& name,
                     const QString& suffix = QStringLiteral(".pdf"));
QString printoutsFolder(const QString& dataFolder);

// The lines the operator is shown.
inline const QString PrintedToPdfText = QStringLiteral("พิมพ์ลงไฟล์ PDF แล้ว: ");
inline const QString NoTextEditorText = QStringLiteral("เปิดโปรแกรมแก้ไขข้อความไม่ได้ ไฟล์อยู่ที่ ");

// Writes the list text to a new ".txt" file in `folder` (UTF-8) and keeps it for the editor.
struct ListTextFile {
    QString path;
    bool written = false;
};
// The list text in UTF-8 (with a byte order mark on Windows, for every Notepad) in a new file of the
// folder, for the system's text editor.
ListTextFile writeListTextFile(const QString& text, const QString& folder);

} // namespace varnoth
