#pragma once
// The Thai texts of the number rules (limits, closed numbers and reduced pay per number), kept
// together for review.

#include <QString>

namespace varnoth
{

// After a bet in the main list. A bet on a closed number is not stored.
inline const QString ClosedNumberText = QStringLiteral(" เลขปิด");
inline const QString OverOwnLimitText = QStringLiteral(" เกินอั้น");
// " จ่าย 50%"
inline const QString PayPercentText = QStringLiteral(" จ่าย %1%");

// How a rule reads in a list: "123 อั้น 500", "123 ปิด", "123 จ่าย 50%", with " กลับ" when it covers
// every order of the digits.
inline const QString LimitRuleText = QStringLiteral("อั้น %1");
inline const QString ClosedRuleText = QStringLiteral("ปิด");
inline const QString PayRuleText = QStringLiteral("จ่าย %1%");
inline const QString PermutationsRuleText = QStringLiteral(" กลับ");
inline const QString NoRulesText = QStringLiteral("ยังไม่ได้ตั้งกฎเลข");

// The analysis of a type with rules: how many numbers have each kind.
inline const QString RulesSummaryText = QStringLiteral("เลขอั้นเฉพาะตัว %1 เลข  เลขปิด %2 เลข  จ่ายลด %3 เลข");

// Refusals of a rule as typed.
inline const QString RuleNumberInvalidText = QStringLiteral("เลขไม่ถูกต้อง ต้องเป็นตัวเลข %1 หลัก");
inline const QString RuleLimitInvalidText = QStringLiteral("วงเงินอั้นต้องเป็นตัวเลขเท่านั้น");
// A limit, of a number or of a type, has at most 12 digits.
inline const QString LimitTooLongText = QStringLiteral("วงเงินอั้นต้องไม่เกิน 12 หลัก");
inline const QString RulePercentInvalidText = QStringLiteral("เปอร์เซ็นต์จ่ายต้องเป็นตัวเลข 0 ถึง 100");
inline const QString RuleTypeInvalidText = QStringLiteral("ไม่มีประเภทหวยนี้");
inline const QString RuleNotFoundText = QStringLiteral("ไม่มีกฎของเลขนี้");
// Reported once for a rules file with lines that cannot be read: the file name and the line numbers.
inline const QString RuleFileDamagedText = QStringLiteral("แฟ้มเลขอั้นมีบรรทัดที่อ่านไม่ได้ ");
inline const QString RuleLineText = QStringLiteral(" บรรทัดที่ ");

// Done, in the main list and the rules window.
inline const QString RuleSetText = QStringLiteral("ตั้งกฎเลขแล้ว ");
inline const QString RuleClearedText = QStringLiteral("ลบกฎเลขแล้ว ");
inline const QString RulesClearedText = QStringLiteral("ล้างเลขอั้นทั้งหมดแล้ว");

// The rules window, the settings picker entry that opens it and the map's menu.
inline const QString RulesPickerEntry = QStringLiteral("เลขอั้น/เลขปิด");
inline const QString RulesWindowCaption = QStringLiteral("เลขอั้น เลขปิด จ่ายลด");
inline const QString RuleTypeLabel = QStringLiteral("ประเภทหวย");
inline const QString RuleNumberLabel = QStringLiteral("เลข");
inline const QString RuleKindLimit = QStringLiteral("อั้น (บาท)");
inline const QString RuleKindClosed = QStringLiteral("ปิดรับ");
inline const QString RuleKindPay = QStringLiteral("จ่าย (%)");
inline const QString RuleValueLabel = QStringLiteral("จำนวน");
inline const QString RulePermutationsLabel = QStringLiteral("กลับเลขด้วย");
inline const QString RuleSaveButton = QStringLiteral("บันทึก");
inline const QString RuleClearButton = QStringLiteral("ลบกฎ");
inline const QString MapSetLimitAction = QStringLiteral("ตั้งอั้น…");
inline const QString MapCloseAction = QStringLiteral("ปิดเลข");
inline const QString MapHalfPayAction = QStringLiteral("จ่ายครึ่ง");
inline const QString MapClearAction = QStringLiteral("ลบกฎเลข");
inline const QString MapLimitPrompt = QStringLiteral("วงเงินอั้นของเลข %1");

// A new rule that opens closed numbers again: which, then for each number it covers the rule that now
// holds on it ("132: 123 จ่าย 50% กลับ").
inline const QString ReopenedNumbersText = QStringLiteral("เปิดรับเลขที่เคยปิดแล้ว: ");
inline const QString EffectiveRuleText = QStringLiteral("%1: %2");
inline const QString NoRuleOnNumberText = QStringLiteral("ไม่มีกฎ");

// The new-draw dialog's tick box.
inline const QString ClearRulesOnNewDrawText = QStringLiteral("ล้างเลขอั้น/เลขปิดด้วย");

} // namespace varnoth
