// The selection in the main list and the record dialog (edit or delete one stake).
#include "gui/main/Form1.h"

#include "gui/main/SecondaryWindow.h"
#include "gui/main/session.h"
#include "app/bookreader.h"
#include "tools/records.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>

namespace varnoth
{

void Form1::onList1MousePress(QMouseEvent* event)
{
    const int row = List1->indexAt(event->position().toPoint()).row();
    if (row < 0) return; // below the last row: the selection stays where it was
    // The right button selects the row under the mouse as well, so its menu acts on the row it
    // was opened on and not on one clicked earlier.
    if (List1->currentRow() != row) List1->setCurrentRow(row);
    m_session.selectedLine = selectedRowText(List1->item(row)->text());
    m_session.selectedIndex = row;
}

void Form1::onList1MouseRelease(QMouseEvent* event)
{
    m_session.selectedType.clear();
    m_session.selectedCustomer.clear();
    const int index = List1->currentRow();
    // The first row is always a heading; a list redrawn since the click has no selection left.
    const bool onRecord = index > 0 && index == m_session.selectedIndex;
    bool usable = false;
    if (onRecord) {
        QStringList rows;
        rows.reserve(index);
        for (int i = 0; i < index; ++i)
            rows << List1->item(i)->text();
        const RecordHeading heading = headingAbove(rows, index, m_ctx.book.customerListText());
        m_session.selectedType = heading.type;
        m_session.selectedCustomer = heading.customer;
        usable = !heading.isEmpty() && isRecordRow(m_session.selectedLine);
    }
    mEdit->setEnabled(usable);
    mDelete->setEnabled(usable);
    if (onRecord && event->button() == Qt::RightButton) mMore->popup(event->globalPosition().toPoint());
}

void Form1::openRecordDialog(const QString& caption)
{
    if (m_session.selectedType.isEmpty() || m_session.selectedCustomer.isEmpty() ||
        !isRecordRow(m_session.selectedLine))
        return;
    if (SecondaryWindow* dialog = OpenWindow(WindowId::Record)) dialog->prepare(caption, QString());
}

} // namespace varnoth
