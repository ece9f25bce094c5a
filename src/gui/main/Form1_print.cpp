// The main list in the system's text editor.
#include "gui/main/Form1.h"

#include "accounts/accounttexts.h"
#include "accounts/exporttexts.h"
#include "app/spreadsheet.h"
#include "app/bookreader.h"
#include "tools/printing.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QStatusBar>
#include <QUrl>

namespace varnoth
{

void Form1::notepadOutput()
{
    QStringList rows;
    rows.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i)
        rows << List1->item(i)->text();
    const ListTextFile file = writeListTextFile(BuildListText(rows), QDir::tempPath());
    const QString shown = QDir::toNativeSeparators(file.path);
    if (!file.written) {
        ListAddLine(WriteFailedText + shown);
        return;
    }
    // Where no editor takes the file, the operator is told so and can still open it by its path.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file.path))) ListAddLine(NoTextEditorText + shown);
}

void Form1::saveListAsSpreadsheet()
{
    QStringList rows;
    rows.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i)
        rows << List1->item(i)->text();
    if (rows.isEmpty()) return ListAddLine(NothingToExportText);
    const QString proposed = printoutPath(m_ctx.book.printoutsPlace(), QDateTime::currentDateTime(), QStringLiteral("list"),
                                          QStringLiteral(".xlsx"));
    const QString start = proposed.isEmpty() ? printoutsFolder(m_ctx.book.printoutsPlace()) : proposed;
    QString path = pickListFile ? pickListFile(ExcelCaption, start, ExcelFilterText)
                                : QFileDialog::getSaveFileName(this, ExcelCaption, start, ExcelFilterText);
    if (path.isEmpty()) return;
    // A name without its ending is a workbook.
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) && !workbooksAvailable())
        return ListAddLine(NoWorkbooksText);
    if (!writeListFile(rows, SheetNameText, path)) return ListAddLine(WriteFailedText + QDir::toNativeSeparators(path));
    statusBar()->showMessage(SavedFileText + QDir::toNativeSeparators(path));
}

} // namespace varnoth
