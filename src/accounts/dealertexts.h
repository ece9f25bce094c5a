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

} // namespace varnoth
