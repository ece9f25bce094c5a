#pragma once
// Texts of keying in the main window: the question before a new customer is added, and the side
// panel with the stakes of the pair being keyed.

#include <QString>

namespace varnoth
{

inline const QString NewCustomerTitle = QStringLiteral("ลูกค้าใหม่");
// Followed by the name and "?".
inline const QString NewCustomerQuestion = QStringLiteral("ยังไม่มีลูกค้าชื่อนี้\nเพิ่มลูกค้าใหม่ ");
inline const QString AddCustomerText = QStringLiteral("เพิ่มลูกค้า");
inline const QString DoNotAddCustomerText = QStringLiteral("ไม่เพิ่ม");

inline const QString PanelNoPairText = QStringLiteral("เลือกชนิดหวยและลูกค้า");
inline const QString PanelNumberColumn = QStringLiteral("เลข");
inline const QString PanelAmountColumn = QStringLiteral("เงิน");
inline const QString PanelTypeColumn = QStringLiteral("ชนิด");
inline const QString PanelCountColumn = QStringLiteral("จำนวน");
inline const QString PanelTypesHeading = QStringLiteral("ยอดแต่ละชนิดของลูกค้า");
inline const QString PanelAllTypesText = QStringLiteral("รวมทุกชนิด");
inline const QString PanelEditHint = QStringLiteral("ดับเบิลคลิกที่เลขเพื่อแก้ไข");

} // namespace varnoth
