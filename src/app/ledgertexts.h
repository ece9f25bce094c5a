#pragma once
// The Thai texts of taking back and doing again, kept together for review.

#include "entry/entry.h"

#include <QString>

namespace varnoth
{

inline const QString EntryStepText = QStringLiteral("คีย์ ");
inline const QString EditStepText = QStringLiteral("แก้ไข ");
inline const QString DeleteStepText = QStringLiteral("ลบ ");
inline const QString SaveListStepText = QStringLiteral("บันทึกรายการส่ง ");
inline const QString DeleteListStepText = QStringLiteral("ลบรายการส่ง ");
inline const QString MoreBetsText = QStringLiteral(" และอีก %1 รายการ");
inline const QString TakenBackStepText = QStringLiteral(" ยกเลิกแล้ว");
inline const QString DoneAgainStepText = QStringLiteral(" ทำซ้ำแล้ว");
inline const QString NothingToDoAgainText = QStringLiteral("ไม่มีรายการให้ทำซ้ำ");
inline const QString ChangedSinceText = QStringLiteral("ยกเลิกไม่ได้ ข้อมูลถูกแก้ไขหลังจากนั้น: ");
// The menu items that take back and do again: the prefix, then what the step was.
inline const QString UndoMenuText = QStringLiteral("เลิกทำ: ");
inline const QString RedoMenuText = QStringLiteral("ทำซ้ำ: ");

// "คีย์ 12-100", or "คีย์ 12-100 และอีก 5 รายการ" for an entry of several bets.
inline QString entryStepText(const EntryResult& entry)
{
    if (entry.changes.isEmpty()) return {};
    const BetChange& first = entry.changes.first();
    QString text = EntryStepText + first.number + QLatin1Char('-') + first.amount;
    if (entry.changes.size() > 1) text += MoreBetsText.arg(entry.changes.size() - 1);
    return text;
}

inline QString recordStepText(const QString& step, const QString& number, const QString& amount)
{
    return step + number + QLatin1Char('-') + amount;
}

} // namespace varnoth
