#pragma once
// The Thai texts of the shop's users: sign-in, roles, the owner's PIN and the users window, kept
// together for review.

#include <QString>

namespace varnoth
{

inline const QString OwnerRoleText = QStringLiteral("เจ้าของ");
inline const QString KeyerRoleText = QStringLiteral("คนคีย์");

// --- refusals ---------------------------------------------------------------------------------------
inline const QString NeedsOwnerText = QStringLiteral("งานนี้เจ้าของเท่านั้นทำได้");
inline const QString NotSignedInText = QStringLiteral("ยังไม่ได้เข้าระบบ");
// Followed by the users file's name.
inline const QString UsersDamagedText = QStringLiteral("อ่านข้อมูลผู้ใช้ไม่ได้ ทำได้แค่ดูข้อมูล ");
inline const QString WrongPinText = QStringLiteral("รหัสไม่ถูกต้อง");
// %1: the time the lock ends (HH:mm).
inline const QString UserLockedText = QStringLiteral("ใส่รหัสผิดหลายครั้ง ล็อกถึง %1");
inline const QString PinFormText = QStringLiteral("รหัสต้องเป็นตัวเลข 4 ถึง 8 หลัก");
inline const QString NoSuchUserText = QStringLiteral("ไม่มีผู้ใช้ชื่อนี้ ");
inline const QString UserExistsText = QStringLiteral("มีผู้ใช้ชื่อนี้แล้ว ");
inline const QString UserNameInvalidText = QStringLiteral("ชื่อผู้ใช้นี้ใช้ไม่ได้");
inline const QString FirstUserOwnerText = QStringLiteral("ผู้ใช้คนแรกต้องเป็นเจ้าของ");
inline const QString LastOwnerText = QStringLiteral("ต้องมีเจ้าของอย่างน้อยหนึ่งคน");
inline const QString NotOwnEntryText = QStringLiteral("รายการนี้คนอื่นคีย์ ต้องให้เจ้าของยกเลิก");
inline const QString HashFailedText = QStringLiteral("สร้างรหัสไม่สำเร็จ");

// Who keyed a bet, after its line in the main list and on a bill: %1 the names.
inline const QString KeyerTagText = QStringLiteral("  (คีย์ %1)");
inline const QString KeyerSeparator = QStringLiteral(", ");

// --- what was done ----------------------------------------------------------------------------------
inline const QString UserAddedText = QStringLiteral("เพิ่มผู้ใช้แล้ว ");
inline const QString UserRemovedText = QStringLiteral("ลบผู้ใช้แล้ว ");
inline const QString PinResetText = QStringLiteral("ตั้งรหัสใหม่แล้ว ");
// In the audit log's operator field when the owner's PIN allowed one act at a keyer's seat:
// %1 the owner, %2 the keyer at the seat.
inline const QString OwnerAtSeatText = QStringLiteral("%1 (คนคีย์ %2)");

// --- the sign-in, the owner's PIN and the users window --------------------------------------------
inline const QString SignInTitle = QStringLiteral("เข้าระบบ");
inline const QString LockedTitle = QStringLiteral("พักหน้าจอ ใส่รหัสอีกครั้ง");
inline const QString OwnerPinTitle = QStringLiteral("ใส่รหัสเจ้าของ");
inline const QString UserLabelText = QStringLiteral("ชื่อ");
inline const QString PinLabelText = QStringLiteral("รหัส");
inline const QString RoleLabelText = QStringLiteral("หน้าที่");
inline const QString OkCaption = QStringLiteral("ตกลง");
inline const QString CancelCaption = QStringLiteral("ยกเลิก");
inline const QString UsersTitle = QStringLiteral("ผู้ใช้");
inline const QString AddUserCaption = QStringLiteral("เพิ่มผู้ใช้");
inline const QString RemoveUserCaption = QStringLiteral("ลบผู้ใช้");
inline const QString ResetPinCaption = QStringLiteral("ตั้งรหัสใหม่");
// In the title and the status bar: %1 the user, %2 the role.
inline const QString AtSeatText = QStringLiteral("ผู้ใช้: %1 (%2)");
// After the owner's PIN was given: the next owner-only act goes ahead once.
inline const QString OwnerAllowedText = QStringLiteral("เจ้าของอนุญาตแล้ว ทำรายการได้หนึ่งครั้ง");

} // namespace varnoth
