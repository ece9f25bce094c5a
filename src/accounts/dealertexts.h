#pragma once
// Every Thai line of the upstream dealers: their terms, adding and changing them.

#include <QString>

namespace varnoth
{

inline const QString DealerCapNotDigitsText = QStringLiteral("ยอดรับสูงสุดต่อเลขต้องเป็นตัวเลขเท่านั้น");
inline const QString DealerCapTooLongText = QStringLiteral("ยอดรับสูงสุดต่อเลขต้องไม่เกิน 9 หลัก");
inline const QString DealerNoNameText = QStringLiteral("ต้องใส่ชื่อเจ้ามือ");
inline const QString DealerNameNotHeldText = QStringLiteral("ชื่อเจ้ามือมีตัวอักษรที่บันทึกไม่ได้: ");
inline const QString DealerSavedText = QStringLiteral("บันทึกเจ้ามือแล้ว ");
inline const QString DealerNoTermsText = QStringLiteral("(ยังไม่มีอัตรา)");
inline const QString DealerPayoutHead = QStringLiteral("จ่าย ");
inline const QString DealerDiscountHead = QStringLiteral("ลด ");
inline const QString DealerCapHead = QStringLiteral("รับสูงสุด ");
inline const QString DealerAuditDetail = QStringLiteral("เจ้ามือ ");
inline const QString DealerUnknownText = QStringLiteral("ไม่มีเจ้ามือชื่อ ");
inline const QString DealerNoneTakesText = QStringLiteral("ไม่มีเจ้ามือรับเลขที่เกินอั้น");
inline const QString DealerListHead = QStringLiteral("ส่งให้ ");
inline const QString DealerUnplacedHead = QStringLiteral("ไม่มีเจ้ามือรับ");
inline const QString DealerPickTitle = QStringLiteral("ส่งให้เจ้ามือ");
inline const QString SplitSendCaption = QStringLiteral("แบ่งส่ง");
inline const QString ReplyMissingText = QStringLiteral("ขาด ");
inline const QString ReplyExtraText = QStringLiteral("เกิน ");
inline const QString ReplyChangedText = QStringLiteral("ยอดไม่ตรง ");
inline const QString ReplySentHead = QStringLiteral("ส่งไป ");
inline const QString ReplyRepliedHead = QStringLiteral("ตอบกลับ ");
inline const QString ReplyNotReadText = QStringLiteral("อ่านไม่ได้: ");
inline const QString ReplyAgreesText = QStringLiteral("ตรงกันทุกเลข: ");
inline const QString ReplyDiffersText = QStringLiteral("ไม่ตรงกัน, เลขที่ตรง: ");
inline const QString StatementHead = QStringLiteral("ยอดเจ้ามือ ");
inline const QString StatementSentText = QStringLiteral("ยอดส่ง= ");
inline const QString StatementDiscountText = QStringLiteral("ส่วนลด ");
inline const QString StatementNetText = QStringLiteral("ยอดสุทธิ= ");
inline const QString StatementWinText = QStringLiteral("ถูก ");
inline const QString StatementWinSentText = QStringLiteral(" ส่ง ");
inline const QString StatementWinGetsText = QStringLiteral(" ได้ ");
inline const QString StatementPrizeText = QStringLiteral("ถูกรางวัล= ");
inline const QString StatementHePaysText = QStringLiteral("งวดนี้ เจ้ามือต้องจ่ายเรา ");
inline const QString StatementWePayText = QStringLiteral("งวดนี้ เราต้องจ่ายเจ้ามือ ");
inline const QString StatementEvenText = QStringLiteral("งวดนี้ ไม่มีใครต้องจ่าย");
inline const QString StatementEarlierText = QStringLiteral("ยอดยกมา ");
inline const QString StatementTotalText = QStringLiteral("รวมทั้งสิ้น ");
inline const QString StatementHeOwesHead = QStringLiteral("เจ้ามือค้างเรา ");
inline const QString StatementWeOweHead = QStringLiteral("เราค้างเจ้ามือ ");
inline const QString DealerNoneText = QStringLiteral("ยังไม่มีเจ้ามือ");
// The payments with a dealer on his statement: each one, then what they come to.
inline const QString DealerPaidInLineText = QStringLiteral("รับชำระ ");
inline const QString DealerPaidOutLineText = QStringLiteral("จ่ายให้เจ้ามือ ");
inline const QString DealerPaidInText = QStringLiteral("รับชำระแล้ว ");
inline const QString DealerPaidOutText = QStringLiteral("จ่ายให้เจ้ามือแล้ว ");
inline const QString DealerTotalUnknownText = QStringLiteral("คำนวณไม่ได้ ต้องแก้ไฟล์ที่เสียหายก่อน");
inline const QString DealerPaymentStepText = QStringLiteral("ชำระเงินเจ้ามือ ");
// The statement for a chat: short words, no columns.
inline const QString ChatSentText = QStringLiteral("ส่ง ");
inline const QString ChatDiscountText = QStringLiteral("ลด ");
inline const QString ChatNetText = QStringLiteral("สุทธิ ");
inline const QString ChatWinText = QStringLiteral("ถูก ");
inline const QString ChatEarlierText = QStringLiteral("ยกมา ");
inline const QString ChatTotalText = QStringLiteral("รวม ");
inline const QString ChatRule = QStringLiteral("--------------------");
// The dealers window.
inline const QString DealersTitle = QStringLiteral("เจ้ามือใหญ่");
inline const QString DealersMenuText = QStringLiteral("เจ้ามือใหญ่ (ตีออก)");
inline const QString DealerNameLabel = QStringLiteral("ชื่อเจ้ามือ");
inline const QString DealerTypeLabel = QStringLiteral("ชนิดหวย");
inline const QString DealerPayoutLabel = QStringLiteral("อัตราจ่าย");
inline const QString DealerDiscountLabel = QStringLiteral("ส่วนลด %");
inline const QString DealerCapLabel = QStringLiteral("รับสูงสุดต่อเลข");
inline const QString DealerSaveCaption = QStringLiteral("บันทึกอัตรา");
inline const QString DealerUpCaption = QStringLiteral("เลื่อนขึ้น");
inline const QString DealerDownCaption = QStringLiteral("เลื่อนลง");
inline const QString DealerStatementCaption = QStringLiteral("ดูยอด");
inline const QString DealerChatCaption = QStringLiteral("คัดลอกข้อความแชท");
inline const QString DealerAmountLabel = QStringLiteral("จำนวนเงิน");
inline const QString DealerPayCaption = QStringLiteral("บันทึกการชำระ");
inline const QString DealerChatCopiedText = QStringLiteral("คัดลอกข้อความแล้ว วางในแชทได้เลย");
inline const QString DealerPictureCopiedText = QStringLiteral("คัดลอกรูปแล้ว วางในแชทได้เลย");
inline const QString DealerMovedText = QStringLiteral("เลื่อนลำดับเจ้ามือแล้ว ");
inline const QString DealerNotMovedText = QStringLiteral("เลื่อนต่อไม่ได้ ");
inline const QString DealerPickFirstText = QStringLiteral("เลือกเจ้ามือก่อน");
// The analysis: what a dealer was sent of a type.
inline const QString AnalysisDealerText = QStringLiteral("ส่งเจ้ามือ ");

} // namespace varnoth
