#pragma once
// The Thai texts of pasted chat bets: the words the reader knows in a message, and what the paste
// window and the batch job say. Kept together for review.

#include <QString>

namespace varnoth
{

// --- words of a message ----------------------------------------------------------------------------
// Each word of a message is one of these; a Thai run of letters is split into them, longest first.
// Lower-case Latin letters only (the reader lower-cases every line first).
namespace chatword
{
inline const QString Top[] = {QStringLiteral("บน"), QStringLiteral("บ")};
inline const QString Bottom[] = {QStringLiteral("ล่าง"), QStringLiteral("ล")};
inline const QString Straight[] = {QStringLiteral("ตรง")};
// "ต." is written for ตรง and for โต๊ด alike: a line holding it is never read.
inline const QString StraightOrTote[] = {QStringLiteral("ต")};
inline const QString Tote[] = {QStringLiteral("โต๊ด"), QStringLiteral("โต็ด"), QStringLiteral("โต้ด"),
                               QStringLiteral("โตด"), QStringLiteral("ต๊อด"), QStringLiteral("โต")};
inline const QString Run[] = {QStringLiteral("วิ่ง"), QStringLiteral("ลอย")};
inline const QString Reverse[] = {QStringLiteral("กลับ")};
inline const QString Gate[] = {QStringLiteral("ประตู")};
inline const QString Sweep[] = {QStringLiteral("รูด")};
inline const QString Front[] = {QStringLiteral("หน้า")};
inline const QString Back[] = {QStringLiteral("หลัง")};
inline const QString Each[] = {QStringLiteral("ตัวละ"), QStringLiteral("ละ"), QStringLiteral("ทุกตัว")};
inline const QString Digits[] = {QStringLiteral("ตัว")};
inline const QString TwoDigits[] = {QStringLiteral("สองตัว")};   // "สองตัวบน" as "2ตัวบน"
inline const QString ThreeDigits[] = {QStringLiteral("สามตัว")}; // "สามตัว" as "3ตัว"
// Amounts written as a word; "สองร้อย" and the like are not read.
inline const QString Hundred[] = {QStringLiteral("ร้อย")};
inline const QString Thousand[] = {QStringLiteral("พัน")};
// "36 กับ 63": between numbers, it only joins them.
inline const QString And[] = {QStringLiteral("กับ"), QStringLiteral("และ")};
inline const QString Total[] = {QStringLiteral("รวม"), QStringLiteral("ยอด"), QStringLiteral("ทั้งหมด")};
inline const QString Customer[] = {QStringLiteral("ลูกค้า"), QStringLiteral("ชื่อ")};
// Words that carry nothing for the bets: the unit, politeness, "number", "buy".
inline const QString Filler[] = {
    QStringLiteral("บาท"), QStringLiteral("ครับ"),    QStringLiteral("คับ"),    QStringLiteral("ค่ะ"),
    QStringLiteral("คะ"),  QStringLiteral("ค่า"),     QStringLiteral("จ้า"),    QStringLiteral("จ้ะ"),
    QStringLiteral("จ๊ะ"),  QStringLiteral("นะ"),     QStringLiteral("ขอบคุณ"), QStringLiteral("สวัสดี"),
    QStringLiteral("เลข"), QStringLiteral("ด้วย"),    QStringLiteral("ขอ"),    QStringLiteral("แทง"),
    QStringLiteral("ซื้อ"),  QStringLiteral("ผม"),     QStringLiteral("หนู"),    QStringLiteral("พี่"),
    QStringLiteral("thx"), QStringLiteral("thanks"), QStringLiteral("baht"),
};
} // namespace chatword

// --- the paste window --------------------------------------------------------------------------------
inline const QString ChatWindowTitle = QStringLiteral("วางข้อความ");
inline const QString ChatTypeLabel = QStringLiteral("ชนิดหวย");
inline const QString ChatCustomerLabel = QStringLiteral("ลูกค้า");
inline const QString ChatPasteLabel = QStringLiteral("วางข้อความที่นี่");
inline const QString ChatResultLabel = QStringLiteral("รายการที่อ่านได้");
inline const QString ChatCommitText = QStringLiteral("บันทึก");
inline const QString ChatClearText = QStringLiteral("ล้าง");
inline const QString ChatLineColumn = QStringLiteral("ข้อความ");
inline const QString ChatTypeColumn = QStringLiteral("ชนิด");
inline const QString ChatNumberColumn = QStringLiteral("เลข");
inline const QString ChatAmountColumn = QStringLiteral("ยอด");
// Beside a line that was not understood; nothing of it is stored.
inline const QString ChatNotUnderstoodText = QStringLiteral("อ่านไม่ออก");
// What a line that holds no bet was read as.
inline const QString ChatCustomerRowText = QStringLiteral("ชื่อลูกค้า");
inline const QString ChatHeadingRowText = QStringLiteral("หัวข้อชนิดหวย");
inline const QString ChatTotalRowText = QStringLiteral("ยอดที่แจ้ง");
inline const QString ChatAmountAboveRowText = QStringLiteral("ยอดของเลขด้านบน");
inline const QString ChatEditHint = QStringLiteral("ดับเบิลคลิกบรรทัดสีแดงเพื่อแก้ไข");
// "12 รายการ รวม 1,200 บาท"
inline const QString ChatSummaryText = QStringLiteral("%1 รายการ รวม %2 บาท");
inline const QString ChatStatedTotalText = QStringLiteral(" ยอดที่แจ้ง %1 บาท");
inline const QString ChatTotalMismatchText = QStringLiteral(" ไม่ตรง");
inline const QString ChatNotUnderstoodCountText = QStringLiteral(" อ่านไม่ออก %1 บรรทัด");
inline const QString ChatCustomerFoundText = QStringLiteral("ลูกค้าในข้อความ: ");
// Why a line was not understood.
inline const QString ChatNoAmountText = QStringLiteral("ไม่มียอดเงิน");
inline const QString ChatWidthText = QStringLiteral("จำนวนหลักไม่ตรงกับชนิดหวย");
inline const QString ChatNoTypeText = QStringLiteral("ไม่รู้ชนิดหวย เลือกชนิดหวยหรือใส่หัวข้อ เช่น บน ล่าง");
inline const QString ChatBadAmountText = QStringLiteral("ยอดเงินไม่ถูกต้อง");
inline const QString ChatUnknownWordText = QStringLiteral("มีคำหรือตัวอักษรที่อ่านไม่ออก");
inline const QString ChatShapeText = QStringLiteral("รูปแบบไม่ชัดเจน");
inline const QString ChatAmbiguousText = QStringLiteral("อ่านได้สองแบบ ให้ถามลูกค้าแล้วคีย์เอง");
// Lines read from a picture.
inline const QString ChatUnclearText = QStringLiteral("ตัวอักษรในรูปไม่ชัด ให้ดูรูปแล้วคีย์เอง");
inline const QString ChatDependsOnUnclearText = QStringLiteral("ขึ้นกับบรรทัดที่อ่านไม่ชัด ให้ดูรูปแล้วคีย์เอง");
inline const QString ChatNoCustomerText = QStringLiteral("ใส่ชื่อลูกค้าก่อนบันทึก");
inline const QString ChatNothingText = QStringLiteral("ไม่มีรายการให้บันทึก");
inline const QString ChatMismatchQuestion = QStringLiteral("ยอดรวม %1 บาท ไม่ตรงกับยอดที่แจ้ง %2 บาท\nต้องการบันทึกหรือไม่");
// The step of a commit, to take back: "วางข้อความ 12 รายการ".
inline const QString ChatStepText = QStringLiteral("วางข้อความ ");
inline const QString ChatBetsUnit = QStringLiteral(" รายการ");

} // namespace varnoth
