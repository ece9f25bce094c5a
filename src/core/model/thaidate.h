#pragma once
// Dates as a Thai reader reads them: the day, the month by its Thai name or number, and the year of
// the Buddhist era (the Gregorian year + 543), or the Gregorian year for a shop that keeps to it.
// Only what a person reads is written so; file and folder names keep their ISO dates, which sort.

#include <QDate>
#include <QDateTime>
#include <QString>

namespace varnoth
{

enum class YearStyle { Buddhist, Gregorian };

inline constexpr int BuddhistEraOffset = 543;

// The year as it is shown: 2569 for 2026 in the Buddhist style.
int shownYear(QDate date, YearStyle style);
// "ธันวาคม" for 12; "" outside 1 to 12.
QString thaiMonthName(int month);

// "16 ธันวาคม 2569"
QString thaiDate(QDate date, YearStyle style);
// "16/12/2569"
QString thaiShortDate(QDate date, YearStyle style);
// "16 ธันวาคม 2569 14:03"
QString thaiDateTime(const QDateTime& when, YearStyle style);
// "16/12/2569 14:03"
QString thaiShortDateTime(const QDateTime& when, YearStyle style);

// A time stamp as the logs keep it ("2026-12-09 14:05:33") written for a reader: "09/12/2569 14:05:33".
// A text that is no such stamp is returned as it stands.
QString thaiStamp(const QString& isoStamp, YearStyle style);

// A date as the operator types it: day/month/year with the year in either era (a year above 2400 is
// taken as Buddhist), or ISO "2026-12-16". An invalid date for anything else.
QDate parseTypedDate(const QString& text);

} // namespace varnoth
