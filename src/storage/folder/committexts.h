#pragma once
// What the operator reads when the book is opened after a save that was cut off between two files.

#include <QString>

namespace varnoth
{

// The unfinished save was completed: every file now holds it.
inline const QString CommitCompletedText = QStringLiteral("บันทึกที่ค้างไว้ครั้งก่อน ทำต่อจนครบแล้ว");
// Files that something else changed since: they are left as they are, followed by their names.
inline const QString CommitLeftAloneText = QStringLiteral("บันทึกที่ค้างไว้ไม่ได้ทำต่อ ไฟล์ถูกแก้ไขไปแล้ว: ");
// The record of the unfinished save cannot be read: nothing was touched, followed by its name.
inline const QString CommitRecordDamagedText = QStringLiteral("บันทึกที่ค้างไว้อ่านไม่ได้ ยังไม่ได้แก้ไฟล์ใด: ");

} // namespace varnoth
