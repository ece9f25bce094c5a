#pragma once
// The Thai texts of customer accounts: each customer's own rates, the bill, payments, what is still
// owed and the past draws, kept together for review.

#include <QString>

namespace varnoth
{

// --- each customer's own payout rate and discount ---------------------------------------------------
inline const QString RatesPartTitle = QStringLiteral("อัตราจ่าย/ส่วนลด");
inline const QString PayoutLabelText = QStringLiteral("อัตราจ่าย/บาท");
inline const QString DiscountLabelText = QStringLiteral("ส่วนลด %");
inline const QString SaveRateCaption = QStringLiteral("บันทึกอัตรา");
inline const QString RateNotDigitsText = QStringLiteral("อัตราจ่ายต้องเป็นตัวเลขเท่านั้น");
inline const QString RateTooLongText = QStringLiteral("อัตราจ่ายต้องไม่เกิน 6 หลัก");
inline const QString PercentOutOfRangeText = QStringLiteral("ส่วนลดต้องเป็นตัวเลข 0 ถึง 100 เท่านั้น");
inline const QString NoSuchCustomerText = QStringLiteral("ไม่มีชื่อลูกค้านี้ ");
inline const QString NoSuchTypeText = QStringLiteral("ไม่มีชนิดหวยนี้ ");
inline const QString RateSavedText = QStringLiteral("บันทึกอัตราจ่าย/ส่วนลดแล้ว ");
// Beside the customer's own figures: the type's, which apply where he has none of his own.
inline const QString TypeFigureText = QStringLiteral("ตามชนิดหวย ");
inline const QString TypeFigureNotSetText = QStringLiteral("ชนิดหวยยังไม่ได้ตั้ง");
inline const QString RateClearedText = QStringLiteral("ใช้อัตราจ่าย/ส่วนลดตามชนิดหวย ");
// Put after a figure that is the customer's own, not the type's.
inline const QString OwnFigureMark = QStringLiteral(" (เฉพาะลูกค้า)");
// Put after a discount of every customer that holds some customers' own discounts.
inline const QString OwnFiguresIncludedMark = QStringLiteral(" (รวมส่วนลดเฉพาะลูกค้า)");
// Put after a prize of every customer that pays some customers at their own rates.
inline const QString OwnPayoutsIncludedMark = QStringLiteral(" (รวมอัตราจ่ายเฉพาะลูกค้า)");
// A file of the book that does not read as it should; it is left as it is.
inline const QString DamagedFileText = QStringLiteral("ไฟล์ข้อมูลเสียหาย ไม่บันทึกทับ ");
// After the file's name: the lines of it that could not be read.
inline const QString DamagedLinesText = QStringLiteral(" บรรทัดที่ ");

// --- the bill -----------------------------------------------------------------------------------------
inline const QString BillHeadingText = QStringLiteral("บิลลูกค้า ");
inline const QString BillStakeText = QStringLiteral("ยอดแทง= ");
inline const QString BillDiscountText = QStringLiteral("ส่วนลด ");
inline const QString BillNetText = QStringLiteral("ยอดสุทธิ= ");
inline const QString BillWinText = QStringLiteral("ถูก ");
inline const QString BillWinStakeText = QStringLiteral(" แทง ");
inline const QString BillWinPaysText = QStringLiteral(" ได้ ");
inline const QString BillPrizeText = QStringLiteral("ถูกรางวัล= ");
inline const QString BillTotalsText = QStringLiteral("รวมทุกชนิด");
inline const QString ThisDrawText = QStringLiteral("งวดนี้ ");
inline const QString CarriedText = QStringLiteral("ยอดยกมา ");
inline const QString PaidInText = QStringLiteral("รับชำระแล้ว ");
inline const QString PaidOutText = QStringLiteral("จ่ายให้ลูกค้าแล้ว ");
inline const QString TotalDueText = QStringLiteral("ยอดรวม ");
// In place of a balance that a damaged accounts file leaves unknown.
inline const QString UnknownDueText = QStringLiteral("คำนวณไม่ได้ ต้องแก้ไฟล์ที่เสียหายก่อน");
inline const QString CustomerPaysText = QStringLiteral("ลูกค้าต้องจ่าย ");
inline const QString BookmakerPaysText = QStringLiteral("เจ้ามือต้องจ่าย ");
inline const QString SettledText = QStringLiteral("ไม่มียอดค้าง");
inline const QString NoBetsText = QStringLiteral("ไม่มีรายการแทง");
inline const QString NoCustomersText = QStringLiteral("ยังไม่มีลูกค้า");
inline const QString BahtText = QStringLiteral(" บาท");
inline const QString PastDrawMark = QStringLiteral("งวด ");
inline const QString BillMadeText = QStringLiteral("ออกบิล ");
// After a bet on a winning number in the bet list of a type; its prize is on the win line below.
inline const QString WinningBetMark = QStringLiteral("*");
// The customer in the header of every picture of his bill.
inline const QString BillCustomerText = QStringLiteral("ลูกค้า ");
// A win on a type that has no payout rate: its prize, and every total made with it, is not known.
inline const QString BillNoRateText = QStringLiteral("ยังไม่ได้ตั้งค่าอัตราจ่าย คิดเงินรางวัลไม่ได้");
inline const QString NoRateOfTypesText = QStringLiteral("ยังไม่ได้ตั้งค่าอัตราจ่าย ");
inline const QString UnknownTotalText = QStringLiteral("ยอดรวมยังคิดไม่ได้ ");

// The last line of the prize check: the draw's result over every type, as the bills add it up.
inline const QString WholeDrawText = QStringLiteral("ผลทั้งงวด ทุกชนิด ตามบิล ");
inline const QString EvenText = QStringLiteral("เท่าทุน");

// --- payments -------------------------------------------------------------------------------------------
inline const QString PayAllCaption = QStringLiteral("ชำระทั้งหมด");
inline const QString PayAmountCaption = QStringLiteral("ชำระบางส่วน");
inline const QString AmountNotDigitsText = QStringLiteral("จำนวนเงินต้องเป็นตัวเลขเท่านั้น");
inline const QString NothingOwedText = QStringLiteral("ไม่มียอดค้างชำระ ");
inline const QString PaymentInText = QStringLiteral("รับชำระจาก ");
inline const QString PaymentOutText = QStringLiteral("จ่ายให้ ");
// One payment on the bill: when, and how much, in or out.
inline const QString PaidInLineText = QStringLiteral("รับชำระ ");
inline const QString PaidOutLineText = QStringLiteral("จ่ายให้ลูกค้า ");
// Before the line of a payment that was taken back: "ยกเลิกรับชำระ 09/12/2026 14:30 30.00 บาท".
inline const QString TakenBackLineText = QStringLiteral("ยกเลิก");
// After taking a payment back: "ยกเลิกแล้ว: รับชำระจาก somchai 30.00 บาท".
inline const QString PaymentTakenBackText = QStringLiteral("ยกเลิกแล้ว: ");
// More money than is due, and what is due: "จำนวนเงินเกินยอดค้าง ลูกค้าต้องจ่าย 900.00 บาท".
inline const QString MoreThanDueText = QStringLiteral("จำนวนเงินเกินยอดค้าง ");
// The question before a payment is recorded, and its box.
inline const QString PaymentQuestionTitle = QStringLiteral("ยืนยันการชำระเงิน");
inline const QString PaymentQuestionText = QStringLiteral("บันทึกการชำระเงินนี้หรือไม่?");
inline const QString PaymentStepText = QStringLiteral("ชำระเงิน ");

// --- what is owed ---------------------------------------------------------------------------------------
inline const QString OwedTitle = QStringLiteral("ยอดค้าง");
inline const QString OwedSinceText = QStringLiteral(" ตั้งแต่ ");
inline const QString OwedByCustomersText = QStringLiteral("รวมลูกค้าต้องจ่าย= ");
inline const QString OwedToCustomersText = QStringLiteral("รวมเจ้ามือต้องจ่าย= ");
inline const QString OwedUnknownText = QStringLiteral(" ยอดค้างยังคิดไม่ได้ ");

// --- past draws ----------------------------------------------------------------------------------------
inline const QString DrawHistoryTitle = QStringLiteral("งวดที่ผ่านมา");
inline const QString DrawDateColumn = QStringLiteral("วันที่");
inline const QString DrawCustomersColumn = QStringLiteral("ลูกค้า");
inline const QString DrawStakeColumn = QStringLiteral("ยอดแทง");
inline const QString DrawResultColumn = QStringLiteral("ผลรางวัล");
inline const QString DrawProfitColumn = QStringLiteral("กำไร/ขาดทุน");
inline const QString ProfitText = QStringLiteral("กำไร ");
inline const QString LossText = QStringLiteral("ขาดทุน ");
inline const QString ProfitUnknownText = QStringLiteral("ยังคิดไม่ได้");
inline const QString NoPastDrawsText = QStringLiteral("ยังไม่มีงวดที่ผ่านมา");
inline const QString PastDrawReadOnlyText = QStringLiteral("ข้อมูลงวดเก่า (ดูอย่างเดียว) ");

// --- window captions -----------------------------------------------------------------------------------
inline const QString BillWindowTitle = QStringLiteral("บิลลูกค้า");
inline const QString ShowBillCaption = QStringLiteral("ดูบิล");
inline const QString PrintBillCaption = QStringLiteral("พิมพ์");
inline const QString PdfBillCaption = QStringLiteral("บันทึก PDF");
inline const QString PngBillCaption = QStringLiteral("บันทึกรูป");
inline const QString AmountLabelText = QStringLiteral("จำนวนเงิน");
inline const QString CustomerLabelText = QStringLiteral("ชื่อลูกค้า");
inline const QString TypeLabelText = QStringLiteral("ชนิดหวย");
inline const QString SavedFileText = QStringLiteral("บันทึกไฟล์แล้ว: ");
inline const QString PdfFilterText = QStringLiteral("ไฟล์ PDF (*.pdf)");
inline const QString PngFilterText = QStringLiteral("รูปภาพ PNG (*.png)");
inline const QString PictureFolderTitle = QStringLiteral("เลือกโฟลเดอร์เก็บรูปบิล");
inline const QString ViewDrawCaption = QStringLiteral("ดูข้อมูล");
inline const QString PrizeDrawCaption = QStringLiteral("ตรวจรางวัล");
inline const QString BillsDrawCaption = QStringLiteral("บิลทุกคน");
inline const QString CloseCaption = QStringLiteral("ปิด");
// A bill asked for with no customer picked.
inline const QString ChooseCustomerText = QStringLiteral("เลือกชื่อลูกค้า หรือ ทั้งหมด ก่อน");

} // namespace varnoth
