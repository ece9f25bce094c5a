#pragma once
// A core header that reaches up into the windows and speaks of files: the check must refuse it.
#include "gui/main/session.h"
#include <QFile>
