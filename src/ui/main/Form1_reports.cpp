// View data: every type's stakes in the main list.
#include "ui/main/Form1.h"

namespace varnoth {

void Form1::viewAllData()
{
}

} // namespace varnoth
