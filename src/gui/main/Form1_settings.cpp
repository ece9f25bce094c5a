// The settings picker of the main window.
#include "gui/main/Form1.h"
#include "gui/main/pickerentries.h"
#include "gui/main/session.h"

#include <QComboBox>
#include <QLineEdit>

namespace varnoth
{

void Form1::onCombo3Activated(const QString& entry)
{
    const PickerEntry* pick = pickerEntry(entry);
    if (!pick) return;
    CloseSecondaryWindows();
    if (pick->windowMode) m_session.WindowMode = *pick->windowMode;
    // Back in this window after the setting, an arrow key must not pick the next entry and open
    // another window: the picker lets go of the focus.
    Text1->setFocus();
    OpenWindow(pick->window);
    QPalette p = Combo3->palette();
    const QColor colour(pick->colour.red, pick->colour.green, pick->colour.blue);
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Base, colour);
    Combo3->setPalette(p);
}

} // namespace varnoth
