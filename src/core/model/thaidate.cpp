#include "core/model/thaidate.h"

#include "core/model/datetexts.h"

#include <QRegularExpression>

namespace varnoth
{

namespace
{

// Years above this are Buddhist years when typed: no draw is kept before 1857 CE (2400 BE).
constexpr int LowestBuddhistYear = 2400;

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString timeText(const QDateTime& when)
{
    return twoDigits(when.time().hour()) + QLatin1Char(':') + twoDigits(when.time().minute());
}

} // namespace

int shownYear(QDate date, YearStyle style)
{
    return style == YearStyle::Buddhist ? date.year() + BuddhistEraOffset : date.year();
}

QString thaiMonthName(int month)
{
    return month >= 1 && month <= 12 ? ThaiMonthNames[month - 1] : QString();
}

QString thaiDate(QDate date, YearStyle style)
{
    if (!date.isValid()) return {};
    return QString::number(date.day()) + QLatin1Char(' ') + thaiMonthName(date.month()) + QLatin1Char(' ') +
           QString::number(shownYear(date, style));
}

QString thaiShortDate(QDate date, YearStyle style)
{
    if (!date.isValid()) return {};
    return twoDigits(date.day()) + QLatin1Char('/') + twoDigits(date.month()) + QLatin1Char('/') +
           QString::number(shownYear(date, style));
}

QString thaiDateTime(const QDateTime& when, YearStyle style)
{
    if (!when.isValid()) return {};
    return thaiDate(when.date(), style) + QLatin1Char(' ') + timeText(when);
}

QString thaiShortDateTime(const QDateTime& when, YearStyle style)
{
    if (!when.isValid()) return {};
    return thaiShortDate(when.date(), style) + QLatin1Char(' ') + timeText(when);
}

QString thaiStamp(const QString& isoStamp, YearStyle style)
{
    // The date part alone is rewritten; the time keeps its seconds.
    static const QRegularExpression stamp(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})([ T].*)?$"));
    const QRegularExpressionMatch m = stamp.match(isoStamp);
    if (!m.hasMatch()) return isoStamp;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid()) return isoStamp;
    QString rest = m.captured(4);
    if (!rest.isEmpty()) rest[0] = QLatin1Char(' ');
    return thaiShortDate(date, style) + rest;
}

QDate parseTypedDate(const QString& text)
{
    const QString t = text.trimmed();
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression dmy(QStringLiteral("^(\\d{1,2})[/.](\\d{1,2})[/.](\\d{4})$"));
    if (const QRegularExpressionMatch m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (const QRegularExpressionMatch m = dmy.match(t); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (year > LowestBuddhistYear) year -= BuddhistEraOffset;
        return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
    }
    return {};
}

} // namespace varnoth
