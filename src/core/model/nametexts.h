#pragma once
// The Thai lines of a customer name that cannot be taken.

#include <QString>

namespace varnoth
{

// Each is followed by what is wrong with the name, and nothing is stored under it.
inline const QString NameUnwritableText = QStringLiteral("ชื่อลูกค้าใช้ไม่ได้ มีตัวอักษรที่บันทึกไม่ได้ ");
inline const QString NameControlText = QStringLiteral("ชื่อลูกค้าใช้ไม่ได้ มีอักขระควบคุม ");
inline const QString NameAllChoiceText = QStringLiteral("ชื่อลูกค้าใช้ไม่ได้ \"ทั้งหมด\" ใช้เลือกลูกค้าทุกคน");

// Said at start for each name the customer list holds twice (a list edited by hand), followed by
// the name: the stakes of both places are his, and nothing in the list is changed.
inline const QString NameListedTwiceText = QStringLiteral("รายชื่อลูกค้ามีชื่อนี้ซ้ำ ยอดนับรวมเป็นคนเดียว ");

} // namespace varnoth
