#pragma once
// The Thai words of dates, kept together for review.

#include <QString>

namespace varnoth
{

inline const QString ThaiMonthNames[12] = {
    QStringLiteral("มกราคม"),  QStringLiteral("กุมภาพันธ์"), QStringLiteral("มีนาคม"),    QStringLiteral("เมษายน"),
    QStringLiteral("พฤษภาคม"), QStringLiteral("มิถุนายน"),  QStringLiteral("กรกฎาคม"),  QStringLiteral("สิงหาคม"),
    QStringLiteral("กันยายน"),  QStringLiteral("ตุลาคม"),   QStringLiteral("พฤศจิกายน"), QStringLiteral("ธันวาคม")};

// "งวดวันที่ 16 ธันวาคม 2569"
inline const QString DrawDateText = QStringLiteral("งวดวันที่ ");

} // namespace varnoth
