#pragma once
// Where the data folder is, and the lock that keeps a second running copy away from it.

#include <QString>

namespace varnoth
{

// The folder "picture_1" beside the program when that place can be written (portable use), else
// "picture_1" in the per-user application data folder; a program in a system folder (/usr/bin) is
// never a portable copy. `override` (from --data-folder) wins.
QString chooseDataFolder(const QString& programFolder, const QString& override, const QString& userFolder);

// True when a file can be created and removed in the folder (creating the folder if needed).
bool folderWritable(const QString& folder);

inline const QString AlreadyRunningText = QStringLiteral("โปรแกรมกำลังเปิดใช้งานอยู่");
inline const QString FolderUnusableText = QStringLiteral("ใช้โฟลเดอร์ข้อมูลไม่ได้ ");
inline const QString CodecMissingText = QStringLiteral("ไม่พบชุดอักขระภาษาไทย windows-874 โปรแกรมทำงานต่อไม่ได้");
inline const QString LockFileName = QStringLiteral(".varnoth.lock");

} // namespace varnoth
