// The settings picker of the main window.
#include "ui/main/Form1.h"

namespace varnoth {

void Form1::onCombo3Activated(const QString& entry)
{
    Q_UNUSED(entry);
}

} // namespace varnoth
