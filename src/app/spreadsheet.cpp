#include "app/spreadsheet.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#ifdef VARNOTH_HAVE_XLSXWRITER
#include <xlsxwriter.h>
#endif

namespace varnoth
{

namespace
{

bool saveWhole(const QByteArray& bytes, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

#ifdef VARNOTH_HAVE_XLSXWRITER
// A sheet name may not hold []:*?/\ and is at most 31 characters.
QByteArray sheetNameOf(const QString& name)
{
    QString clean;
    for (QChar c : name)
        clean += QStringLiteral("[]:*?/\\").contains(c) ? QLatin1Char('_') : c;
    return clean.left(31).toUtf8();
}

// Writes the workbook into `path` (a file of our own temporary folder).
bool writeWorkbook(const QList<TableRow>& rows, const QString& sheetName, const QString& path)
{
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* book = workbook_new(file.constData());
    if (!book) return false;
    const QByteArray name = sheetNameOf(sheetName);
    lxw_worksheet* sheet = workbook_add_worksheet(book, name.isEmpty() ? nullptr : name.constData());
    lxw_format* whole = workbook_add_format(book);
    format_set_num_format(whole, "#,##0");
    lxw_format* decimal = workbook_add_format(book);
    format_set_num_format(decimal, "#,##0.00");
    bool ok = sheet != nullptr;
    if (ok) worksheet_set_column(sheet, 0, 0, 28, nullptr);
    if (ok) worksheet_set_column(sheet, 1, 3, 16, nullptr);
    for (qsizetype r = 0; ok && r < rows.size(); ++r) {
        const auto row = static_cast<lxw_row_t>(r);
        for (qsizetype c = 0; ok && c < rows[r].size(); ++c) {
            const TableCell& cell = rows[r][c];
            const auto col = static_cast<lxw_col_t>(c);
            const lxw_error e =
                cell.isNumber ? worksheet_write_number(sheet, row, col, cell.value, cell.decimals ? decimal : whole)
                              : worksheet_write_string(sheet, row, col, cell.text.toUtf8().constData(), nullptr);
            ok = e == LXW_NO_ERROR;
        }
    }
    // The workbook is freed by closing it, written or not.
    return workbook_close(book) == LXW_NO_ERROR && ok;
}
#endif

} // namespace

bool workbooksAvailable()
{
#ifdef VARNOTH_HAVE_XLSXWRITER
    return true;
#else
    return false;
#endif
}

bool writeXlsx(const QList<TableRow>& rows, const QString& sheetName, const QString& path)
{
#ifndef VARNOTH_HAVE_XLSXWRITER
    Q_UNUSED(rows);
    Q_UNUSED(sheetName);
    Q_UNUSED(path);
    return false;
#else
    // The library writes to a file name of its own: the workbook is made in a temporary folder and
    // then put in place whole, so a failed write never leaves half a file where the operator looks.
    QTemporaryDir temp;
    if (!temp.isValid()) return false;
    const QString made = temp.filePath(QStringLiteral("list.xlsx"));
    if (!writeWorkbook(rows, sheetName, made)) return false;
    QFile in(made);
    if (!in.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = in.readAll();
    return in.error() == QFileDevice::NoError && saveWhole(bytes, path);
#endif
}

bool writeCsv(const QList<TableRow>& rows, const QString& path)
{
    return saveWhole(csvBytes(rows), path);
}

bool writeListFile(const QStringList& lines, const QString& sheetName, const QString& path)
{
    const QList<TableRow> rows = reportTable(lines);
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) return writeXlsx(rows, sheetName, path);
    return writeCsv(rows, path);
}

} // namespace varnoth
