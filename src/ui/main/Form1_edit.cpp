// The selection in the main list and the record dialog (edit or delete one stake).
#include "ui/main/Form1.h"

#include <QMouseEvent>

namespace varnoth {

void Form1::onList1MousePress(QMouseEvent* event)
{
    Q_UNUSED(event);
}

void Form1::onList1MouseRelease(QMouseEvent* event)
{
    Q_UNUSED(event);
}

void Form1::openRecordDialog(const QString& caption)
{
    Q_UNUSED(caption);
}

} // namespace varnoth
