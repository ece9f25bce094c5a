#pragma once
// The Thai captions of the main window's own menu items beyond its first ones (the windows added to
// the ledger, taking back, the list's zoom) and of the buttons that several windows share, kept
// together for review.

#include <QString>

namespace varnoth
{

// The More menu.
inline const QString MapMenuText = QStringLiteral("ผังยอดเลข");
inline const QString RulesMenuText = QStringLiteral("เลขอั้น เลขปิด จ่ายลด");
inline const QString BillsMenuText = QStringLiteral("บิลลูกค้า");
inline const QString OwedMenuText = QStringLiteral("ยอดค้าง");
inline const QString PastDrawsMenuText = QStringLiteral("งวดที่ผ่านมา");
inline const QString UndoMenuCaption = QStringLiteral("เลิกทำรายการล่าสุด");
inline const QString RedoMenuCaption = QStringLiteral("ทำซ้ำ");
inline const QString ZoomInMenuText = QStringLiteral("ขยายตัวอักษร");
inline const QString ZoomOutMenuText = QStringLiteral("ย่อตัวอักษร");
inline const QString NormalSizeMenuText = QStringLiteral("ขนาดตัวอักษรปกติ");

// The buttons of a small question box.
inline const QString OkButtonText = QStringLiteral("ตกลง");
inline const QString CancelButtonText = QStringLiteral("ยกเลิก");

} // namespace varnoth
