// A window that includes another window: the check must refuse it.
#include "gui/main/Form98.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/tools/Form97.h"
