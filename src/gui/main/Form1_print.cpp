// The main list in the system's text editor.
#include "gui/main/Form1.h"

#include "storage/folder/store.h"
#include "tools/printing.h"

#include <QDesktopServices>
#include <QDir>
#include <QListWidget>
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

} // namespace varnoth
