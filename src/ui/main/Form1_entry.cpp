// Bet entry from the main window: the live gate expansion of the number field and Enter.
#include "ui/main/Form1.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace varnoth {

void Form1::onText1Changed(const QString& text)
{
    Q_UNUSED(text);
    Text3->clear();
    Text3->hide();
    Label6->hide();
}

void Form1::Inp2()
{
}

void Form1::Inp1()
{
}

} // namespace varnoth
