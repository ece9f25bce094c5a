#pragma once
// The drives a backup can be written to or restored from.

#include <QList>
#include <QString>

namespace varnoth
{

// The folders a backup can go to: removable media first, then the user's home folder and the other
// mounted volumes.
struct Drive {
    QString root;  // folder path
    QString label; // what the drive list shows
    bool removable = false;
};
QList<Drive> availableDrives();

} // namespace varnoth
