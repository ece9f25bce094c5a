#pragma once
// The Thai texts of the audit log, its window and the checking pass, kept together for review.

#include <QString>
#include <QStringList>

namespace varnoth
{

// What each action is called in the audit window, in the order of AuditAction.
inline const QStringList AuditActionNames = {
    QStringLiteral("คีย์"),         QStringLiteral("คีย์ชุด"),        QStringLiteral("วางจากแชท"),
    QStringLiteral("แก้ไข"),       QStringLiteral("ลบ"),          QStringLiteral("ยกเลิก"),
    QStringLiteral("ทำซ้ำ"),       QStringLiteral("นำข้อมูลเข้า"),   QStringLiteral("บันทึกรายการส่ง"),
    QStringLiteral("ลบรายการส่ง"), QStringLiteral("เปลี่ยนค่า"),     QStringLiteral("เพิ่มลูกค้า"),
    QStringLiteral("ลบลูกค้า"),     QStringLiteral("กฎเลข"),       QStringLiteral("รับจ่ายเงิน"),
    QStringLiteral("เริ่มงวดใหม่"),  QStringLiteral("ประวัติเสียหาย"),
};

// The detail of a Break line: how the end of the log was found.
inline const QString AuditPartialEndText = QStringLiteral("บรรทัดสุดท้ายไม่ครบ");
inline const QString AuditBrokenEndText = QStringLiteral("บรรทัดสุดท้ายถูกแก้ไข");
// ... and when the log no longer matched the anchor kept in the user's settings folder.
inline const QString AuditAnchorBreakText = QStringLiteral("ประวัติไม่ตรงกับที่เครื่องนี้บันทึกไว้");

// The detail of a bet's line when it was stored once the drawn numbers were saved, and the choice
// of the audit window that shows only those.
inline const QString AuditAfterResultText = QStringLiteral("คีย์หลังออกผล");

// The detail of a setting line: which setting changed.
inline const QString AuditResultSetting = QStringLiteral("ผลรางวัล");
// A customer's own payout rate and discount (before and after: "rate/percent").
inline const QString CustomerRateSetting = QStringLiteral("อัตราจ่าย/ส่วนลด");

// The window and its controls.
inline const QString AuditWindowTitle = QStringLiteral("ประวัติการแก้ไข");
inline const QStringList AuditColumnTitles = {
    QStringLiteral("วันเวลา"), QStringLiteral("ผู้คีย์"),     QStringLiteral("รายการ"),  QStringLiteral("ชนิด"),
    QStringLiteral("ลูกค้า"),   QStringLiteral("เลข"),     QStringLiteral("ยอดเดิม"),  QStringLiteral("ยอดใหม่"),
    QStringLiteral("ชุดที่"),    QStringLiteral("ยอดสะสม"), QStringLiteral("หมายเหตุ"),
};
inline const QString AuditAllChoice = QStringLiteral("ทั้งหมด");
inline const QString AuditCustomerLabel = QStringLiteral("ลูกค้า");
inline const QString AuditTypeLabel = QStringLiteral("ชนิด");
inline const QString AuditNumberLabel = QStringLiteral("เลข");
inline const QString AuditActionLabel = QStringLiteral("รายการ");
inline const QString AuditSinceLabel = QStringLiteral("ตั้งแต่");
inline const QString AuditUntilLabel = QStringLiteral("ถึง");
inline const QString AuditWholeEntryText = QStringLiteral("ทั้งชุด");
inline const QString AuditShowAllText = QStringLiteral("แสดงทั้งหมด");
// "แสดง 25 จาก 1,000 บรรทัด"
inline const QString AuditCountText = QStringLiteral("แสดง %1 จาก %2 บรรทัด");
inline const QString AuditEntryCaption = QStringLiteral("รายการชุดที่ %1");

// The check of the chain.
inline const QString AuditCheckingText = QStringLiteral("กำลังตรวจประวัติ...");
inline const QString AuditChainOkText = QStringLiteral("ประวัติครบถ้วน ไม่ถูกแก้ไข");
inline const QString AuditChainBrokenText = QStringLiteral("ประวัติถูกแก้ไขหรือเสียหาย ตั้งแต่บรรทัดที่ ");
inline const QString AuditBreakRecordedText = QStringLiteral("มีบันทึกประวัติเสียหายที่บรรทัดที่ ");
inline const QString AuditUnreadableLineText = QStringLiteral("อ่านบรรทัดไม่ได้");
inline const QString AuditWrongHashText = QStringLiteral("รหัสตรวจสอบไม่ตรง");
inline const QString AuditPartialLineText = QStringLiteral("บรรทัดไม่ครบ");
inline const QString AuditNoLogText = QStringLiteral("ยังไม่มีประวัติ");
inline const QString AuditUnkeyedAfterKeyedText = QStringLiteral("ไม่มีรหัสลับ หลังจากเริ่มใช้รหัสลับแล้ว");
inline const QString AuditUnkeyedPartText = QStringLiteral("บรรทัดที่ 1 ถึง %1 เป็นประวัติแบบเก่า ไม่มีรหัสลับ (ตรวจได้แค่ลำดับ)");
inline const QString AuditUnkeyedAllText = QStringLiteral("ประวัติทั้งหมดเป็นแบบเก่า ไม่มีรหัสลับ (ตรวจได้แค่ลำดับ)");
inline const QString AuditOtherKeyText = QStringLiteral("%1 บรรทัดลงรหัสจากเครื่องอื่น เครื่องนี้ตรวจไม่ได้");
// The anchor of the user's settings folder: "ประวัติสั้นกว่าที่เครื่องนี้บันทึกไว้ (เคยมี 120 บรรทัด เหลือ 80)".
inline const QString AuditAnchorShorterText = QStringLiteral("ประวัติสั้นกว่าที่เครื่องนี้บันทึกไว้ (เคยมี %1 บรรทัด เหลือ %2)");
inline const QString AuditAnchorDifferentText = QStringLiteral("ประวัติถูกเขียนใหม่ ไม่ตรงกับที่เครื่องนี้บันทึกไว้ที่บรรทัดที่ %1");
inline const QString AuditAnchorDamagedText = QStringLiteral("อ่านจุดยึดประวัติของเครื่องนี้ไม่ได้");
inline const QString AuditNoAnchorText = QStringLiteral("ไม่พบจุดยึดของประวัตินี้ในเครื่องนี้ (ถูกลบ หรือย้ายข้อมูลมา)");
// The log is gone (or emptied) from a book that holds stakes or past draws.
inline const QString AuditMissingLogText = QStringLiteral("ไม่พบประวัติ แต่มีข้อมูลอยู่แล้ว");
inline const QString AuditCannotReadText = QStringLiteral("อ่านไฟล์ประวัติไม่ได้ ");
inline const QString AuditCannotWriteText = QStringLiteral("บันทึกประวัติไม่สำเร็จ ");
// At start: the end of the log was damaged; a line recording it goes in with the next change.
inline const QString AuditDamagedText = QStringLiteral("ไฟล์ประวัติเสียหายที่ท้ายไฟล์ จะบันทึกจุดเสียหายไว้พร้อมรายการถัดไป ");

// What the log says the book holds, against the files.
// "3ตัวตรง somchai เลข 123 ในไฟล์ 150 ตามประวัติ 100"
inline const QString ReplayStakeText = QStringLiteral("%1 %2 เลข %3 ในไฟล์ %4 ตามประวัติ %5");
inline const QString ReplayNoFileText = QStringLiteral("%1 %2 ไม่มีไฟล์ข้อมูล แต่ตามประวัติมียอด %3");
inline const QString ReplayCountText = QStringLiteral("%1 เลข %2 จำนวนครั้งในไฟล์ %3 ตามประวัติ %4");
inline const QString ReplayTotalText = QStringLiteral("ยอดรวมทั้งหมดในไฟล์ %1 ตามประวัติ %2");
inline const QString ReplayPaymentText = QStringLiteral("รับจ่ายเงิน %1 ในไฟล์ %2 รายการ รวม %3 ตามประวัติ %4 รายการ รวม %5");
inline const QString ReplayRuleText = QStringLiteral("กฎเลข %1 เลข %2 ในไฟล์ \"%3\" ตามประวัติ \"%4\"");
inline const QString ReplayRateText = QStringLiteral("อัตราจ่าย/ส่วนลด %1 %2 ในไฟล์ \"%3\" ตามประวัติ \"%4\"");
inline const QString ReplayFakeDrawText = QStringLiteral("งวดเก่า %1 ไม่ได้เกิดจากการเริ่มงวดใหม่ของข้อมูลชุดนี้");
inline const QString ReplayDrawAnchorText = QStringLiteral("งวดเก่า %1 ประวัติในสำเนาไม่ตรงกับที่บันทึกไว้ตอนเริ่มงวดใหม่");
// A difference in a past draw's copy: "งวดเก่า 09/12/2026 18:50: 3ตัวตรง somchai เลข 123 ..."
inline const QString ReplayInDrawText = QStringLiteral("งวดเก่า %1: %2");
inline const QString ReplayDrawNotReplayedText = QStringLiteral("ไม่ได้ตรวจ: ยอดในงวดเก่า %1 งวด ที่ประวัติไม่ได้เริ่มพร้อมงวด");
inline const QString ReplaySameText = QStringLiteral("ข้อมูลตรงกับประวัติทุกรายการ");
inline const QString ReplayDifferencesText = QStringLiteral("ข้อมูลไม่ตรงกับประวัติ %1 รายการ");
inline const QString ReplayMoreText = QStringLiteral("และอีก %1 รายการ");
inline const QString ReplayMergedText =
    QStringLiteral("ไม่ได้ตรวจ: ยอดรายเลขและจำนวนครั้ง หลังนำข้อมูลเข้าที่บรรทัดที่ %1 (ประวัติเก็บแค่ยอดรวม ตรวจแค่ยอดรวม)");
inline const QString ReplayMovedText = QStringLiteral("ไม่ได้ตรวจ: %1 %2 เลข %3 (แก้ไขย้ายเลข)");
inline const QString ReplayRulesBeforeText = QStringLiteral("ไม่ได้ตรวจ: กฎเลข %1 รายการ ที่ตั้งไว้ก่อนเริ่มประวัติ");
inline const QString ReplayRatesBeforeText =
    QStringLiteral("ไม่ได้ตรวจ: อัตราจ่าย/ส่วนลดของลูกค้า %1 รายการ ที่ตั้งไว้ก่อนเริ่มประวัติ");
inline const QString ReplayDrawsBeforeText = QStringLiteral("ไม่ได้ตรวจ: งวดเก่า %1 งวด ก่อนเริ่มประวัติ");
inline const QString ReplayDrawNoAnchorText = QStringLiteral("ไม่ได้ตรวจ: งวดเก่า %1 งวด ที่ไม่มีจุดยึดประวัติ");

// The checking pass of group entry.
inline const QString CheckModeText = QStringLiteral("ตรวจทาน");
inline const QString CheckButtonText = QStringLiteral("ตรวจ");
inline const QString CheckEntryLabel = QStringLiteral("ชุดที่");
inline const QString CheckNoEntryText = QStringLiteral("ไม่พบรายการที่คีย์ไว้ของลูกค้านี้");
inline const QString CheckHeaderText = QStringLiteral("ตรวจทานชุดที่ %1 %2 %3");
inline const QString CheckSameText = QStringLiteral("ตรงทั้งหมด %1 รายการ");
inline const QString CheckMissingText = QStringLiteral(" ขาด (ไม่มีในโพย)");
inline const QString CheckExtraText = QStringLiteral(" เกิน (ไม่มีในระบบ)");
inline const QString CheckAmountText = QStringLiteral(" ไม่ตรง ระบบ %1");
inline const QString CheckDifferencesText = QStringLiteral("ไม่ตรง %1 รายการ (ไม่ได้บันทึก)");

} // namespace varnoth
