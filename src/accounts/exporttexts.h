#pragma once
// The Thai texts of what leaves the program: the bill's seal and its check, slips for a receipt
// printer, the bill picture on the clipboard and the lists saved for a spreadsheet.

#include <QString>

namespace varnoth
{

// --- the seal on a bill ----------------------------------------------------------------------------
// The last line of every bill: "ตราบิล 00A3-7KQ2-M9XA".
inline const QString SealLineText = QStringLiteral("ตราบิล ");
inline const QString SealMalformedText = QStringLiteral("รหัสตราบิลไม่ถูกต้อง ");
inline const QString SealNotFoundText = QStringLiteral("ไม่พบบิลของตรานี้ในข้อมูลชุดนี้ ");
inline const QString SealLogShortText = QStringLiteral("ประวัติการแก้ไขสั้นกว่าตอนออกบิล มีการลบประวัติ ");
inline const QString SealLogBrokenText = QStringLiteral("ประวัติการแก้ไขถูกแก้ก่อนเวลาออกบิล ตรวจตราบิลไม่ได้ บรรทัดที่ ");
inline const QString SealUnchangedText = QStringLiteral("ตราบิลถูกต้อง ข้อมูลยังตรงกับ");
inline const QString SealChangedText = QStringLiteral("มีการแก้ไขหลังออกบิล ");
inline const QString SealChangesCountText = QStringLiteral(" รายการ ");
inline const QString SealUnloggedText = QStringLiteral("ข้อมูลไม่ตรงกับบิล แต่ไม่มีประวัติการแก้ไข ");
// Before the customer's name in the verdict.
inline const QString SealOfText = QStringLiteral("บิลของ ");
// A change of the whole book (a setting, a rule, a restore) that may move every bill.
inline const QString SealWholeBookText = QStringLiteral("(ทั้งชุด) ");

// --- the bill window ----------------------------------------------------------------------------------
inline const QString CopyPictureCaption = QStringLiteral("คัดลอกรูป");
inline const QString PictureCopiedText = QStringLiteral("คัดลอกรูปบิลแล้ว วางในแชทได้เลย");
inline const QString OneCustomerForCopyText = QStringLiteral("คัดลอกรูปได้ทีละหนึ่งบิล เลือกชื่อลูกค้า");
inline const QString SealFieldLabel = QStringLiteral("ตรวจตราบิล");
inline const QString SealCheckCaption = QStringLiteral("ตรวจ");

// --- slips ---------------------------------------------------------------------------------------------
// The book option for the width of printed bills, and what it takes.
inline const QString PaperOptionCaption = QStringLiteral("ขนาดกระดาษบิล (58, 80, A4)");
inline const QString SlipKeyerText = QStringLiteral("ผู้คีย์ ");
inline const QString SlipPrintedText = QStringLiteral("พิมพ์สลิปแล้ว ");
inline const QString NoPrinterText = QStringLiteral("ไม่พบเครื่องพิมพ์ ");
// A customer's slip of one entry: "สลิปลูกค้า <somchai>", "ชุดที่ 12".
inline const QString SlipHeadingText = QStringLiteral("สลิปลูกค้า ");
inline const QString SlipEntryText = QStringLiteral("ชุดที่ ");
inline const QString NoEntryText = QStringLiteral("ยังไม่มีรายการแทง");
inline const QString SlipCountText = QStringLiteral("รวมเลข= ");
inline const QString SlipCountUnitText = QStringLiteral(" รายการ");
inline const QString SlipTotalText = QStringLiteral("รวมเงิน= ");
inline const QString EntrySlipCaption = QStringLiteral("พิมพ์สลิปชุดล่าสุด");

// --- spreadsheets --------------------------------------------------------------------------------------
inline const QString ExcelCaption = QStringLiteral("บันทึก Excel");
inline const QString ExcelFilterText = QStringLiteral("ไฟล์ Excel (*.xlsx);;ไฟล์ CSV (*.csv)");
inline const QString SheetNameText = QStringLiteral("รายงาน");
inline const QString TypeColumnText = QStringLiteral("ชนิด");
inline const QString NothingToExportText = QStringLiteral("ไม่มีรายการให้บันทึก");
inline const QString NoWorkbooksText = QStringLiteral("โปรแกรมชุดนี้บันทึกไฟล์ Excel ไม่ได้ ให้บันทึกเป็น CSV");

} // namespace varnoth
