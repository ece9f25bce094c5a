#pragma once
// The drives a backup can be written to or restored from.

#include <QList>
#include <QString>

class QStorageInfo;

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

// Sticks, cards and discs: the drive type on Windows, the mount folders elsewhere.
bool isRemovable(const QStorageInfo& volume);

} // namespace varnoth
