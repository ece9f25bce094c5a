#pragma once
// The Thai texts of the result window and of bets keyed after the result, kept together for review.

#include <QString>

namespace varnoth
{

// A drawn number that is not digits of its box's width: the box, then what it must hold.
inline const QString FirstPrizeBoxText = QStringLiteral("รางวัลที่ 1");
// "3 ตัวล่าง ช่องที่ 2"
inline const QString LowerThreeBoxText = QStringLiteral("3 ตัวล่าง ช่องที่ %1");
inline const QString LowerTwoBoxText = QStringLiteral("2 ตัวล่าง");
// " ต้องเป็นตัวเลข 6 หลัก"
inline const QString BoxWidthText = QStringLiteral(" ต้องเป็นตัวเลข %1 หลัก");
// One of the four three-digit lower numbers is keyed and another is not.
inline const QString BoxEmptyText = QStringLiteral(" ยังว่าง ต้องคีย์ 3 ตัวล่างให้ครบ 4 ช่อง");
inline const QString ResultNotSavedText = QStringLiteral("ยังไม่ได้บันทึกผลรางวัล");

// A bet keyed once the drawn numbers are saved: the window asks first, batch mode refuses it
// without --after-result, and the audit log marks every such bet (AuditAfterResultText).
inline const QString AfterResultTitle = QStringLiteral("ออกผลแล้ว");
inline const QString AfterResultQuestion = QStringLiteral("ออกผลแล้ว (รางวัลที่ 1 %1)\nรายการนี้คีย์หลังออกผล ต้องการบันทึกหรือไม่");
inline const QString AfterResultRefusedText = QStringLiteral("ออกผลแล้ว ไม่รับข้อมูลหลังออกผล");

} // namespace varnoth
