#include "core/model/text.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace varnoth
{

QStringList splitText(const QString& text, const QString& separator)
{
    if (text.isEmpty()) return {};
    return text.split(separator);
}

QString CleanName(const QString& text)
{
    QString s = text;
    s.remove(QStringLiteral("\r\n"));
    s.remove(QLatin1Char('#'));
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('-'));
    return s.toLower();
}

QString DigitsOnly(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) out += c;
    return out;
}

QString SortDigits(const QString& text)
{
    QString s = text;
    std::sort(s.begin(), s.end());
    return s;
}

double Val(const QString& text)
{
    // Stored amounts and counts are plain digits, read on every line of every report: up to 15
    // digits are exact in a double, so they are summed without building a text to convert.
    if (!text.isEmpty() && text.size() <= 15) {
        double v = 0;
        bool plain = true;
        for (QChar c : text) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                plain = false;
                break;
            }
            v = v * 10 + (c.unicode() - '0');
        }
        if (plain) return v;
    }
    qsizetype i = 0, n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    QString num;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) num += text[i++];
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        num += text[i++];
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        QString frac;
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            frac += text[i++];
        if (!frac.isEmpty()) {
            num += QLatin1Char('.') + frac;
            digits = true;
        }
    }
    if (!digits) return 0.0;
    bool ok = false;
    double v = num.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

double amountValue(QStringView text)
{
    if (text.isEmpty() || text.size() > 15) return Val(text.toString());
    double v = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Val(text.toString());
        v = v * 10 + (c.unicode() - '0');
    }
    return v;
}

namespace
{

// Rounds half away from zero at the given number of decimals, working on the decimal text of the
// value at 15 significant digits, so that 2.675 rounds to 2.68 as it prints.
QString roundedFixed(double value, int decimals)
{
    if (!std::isfinite(value)) value = 0;
    QString s = QString::number(value, 'g', 15);
    bool negative = s.startsWith(QLatin1Char('-'));
    if (negative) s.remove(0, 1);
    // Expand any exponent into plain digits.
    QString digits;
    qsizetype point;
    qsizetype e = s.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        int exp = s.mid(e + 1).toInt();
        QString mant = s.left(e);
        qsizetype p = mant.indexOf(QLatin1Char('.'));
        QString md = mant;
        md.remove(QLatin1Char('.'));
        qsizetype intLen = (p < 0 ? mant.size() : p) + exp;
        if (intLen <= 0) {
            digits = QString(-intLen + 1, QLatin1Char('0')) + md;
            point = 1;
        } else {
            if (md.size() < intLen) md += QString(intLen - md.size(), QLatin1Char('0'));
            digits = md;
            point = intLen;
        }
    } else {
        qsizetype p = s.indexOf(QLatin1Char('.'));
        digits = s;
        digits.remove(QLatin1Char('.'));
        point = p < 0 ? s.size() : p;
    }
    // digits with the decimal point after `point` characters
    qsizetype keep = point + decimals;
    if (digits.size() < keep) digits += QString(keep - digits.size(), QLatin1Char('0'));
    bool roundUp = digits.size() > keep && digits[keep] >= QLatin1Char('5');
    digits.truncate(keep);
    if (roundUp) {
        qsizetype i = keep - 1;
        while (i >= 0) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
                --i;
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            digits.prepend(QLatin1Char('1'));
            ++point;
        }
    }
    QString intPart = digits.left(point);
    QString fracPart = digits.mid(point);
    while (intPart.size() > 1 && intPart.startsWith(QLatin1Char('0')))
        intPart.remove(0, 1);
    if (intPart.isEmpty()) intPart = QStringLiteral("0");
    QString grouped;
    for (qsizetype i = 0; i < intPart.size(); ++i) {
        if (i > 0 && (intPart.size() - i) % 3 == 0) grouped += QLatin1Char(',');
        grouped += intPart[i];
    }
    bool allZero = true;
    for (QChar c : intPart + fracPart)
        if (c != QLatin1Char('0')) allZero = false;
    QString out = grouped;
    if (decimals > 0) out += QLatin1Char('.') + fracPart;
    if (negative && !allZero) out.prepend(QLatin1Char('-'));
    return out;
}

} // namespace

QString formatCount(double value)
{
    return roundedFixed(value, 0);
}

QString formatAmount(double value)
{
    return roundedFixed(value, 2);
}

QString shortestDecimal(double value)
{
    if (!std::isfinite(value)) return QStringLiteral("0");
    if (value == 0) return QStringLiteral("0");
    // A whole amount below 10^15 has at most 15 digits, which is what the general form prints.
    if (std::abs(value) < 1e15 && value == std::trunc(value)) return QString::number(static_cast<qint64>(value));
    QString s = QString::number(value, 'g', 15);
    if (s.contains(QLatin1Char('e'))) {
        // Write the value without an exponent, keeping 15 significant digits.
        QString r = roundedFixed(value, 15);
        r.remove(QLatin1Char(','));
        if (r.contains(QLatin1Char('.'))) {
            while (r.endsWith(QLatin1Char('0')))
                r.chop(1);
            if (r.endsWith(QLatin1Char('.'))) r.chop(1);
        }
        return r;
    }
    return s;
}

QString singleDecimal(double value)
{
    float f = static_cast<float>(value);
    if (!std::isfinite(f) || f == 0.0f) return QStringLiteral("0");
    return shortestDecimal(QString::number(static_cast<double>(f), 'g', 7).toDouble());
}

int CountOccurrences(const QString& text, const QString& needle)
{
    if (needle.isEmpty()) return 0;
    QString t = text.toLower();
    QString n = needle.toLower();
    int count = 0;
    qsizetype pos = 0;
    while ((pos = t.indexOf(n, pos)) >= 0) {
        ++count;
        pos += n.size();
    }
    return count;
}

QString withoutLineEnds(const QString& text)
{
    QString s = text;
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    return s;
}

QString IndexInList(const QString& list, const QString& item)
{
    QString l = list;
    l.remove(QStringLiteral("\r\n"));
    l.remove(QLatin1Char(' '));
    l = l.toLower();
    qsizetype n = l.count(QLatin1Char('#'));
    if (n == 0) return {};
    const QStringList pieces = l.split(QLatin1Char('#'));
    QString found;
    for (qsizetype i = 0; i < n; ++i)
        if (!pieces[i].isEmpty() && !item.isEmpty() && pieces[i] == item) found = QString::number(i);
    return found;
}

} // namespace varnoth
