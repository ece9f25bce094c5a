// The main list in the system's text editor.
#include "ui/main/Form1.h"

namespace varnoth {

void Form1::notepadOutput()
{
}

} // namespace varnoth
