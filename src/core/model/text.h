#pragma once
// Text routines shared by every part of the ledger: cleaning names, digits, values and number formats.

#include <QString>
#include <QStringList>

namespace varnoth
{

inline const QString CRLF = QStringLiteral("\r\n");
inline const QString Separator = QStringLiteral("=====================");
// Shown after a bet or record that is not stored (the text begins with a blank).
inline const QString RejectedText = QStringLiteral(" ข้อมูลผิดพลาด ให้คีย์ใหม่");

// Splits at every separator. Splitting "" gives no pieces; "a#" at "#" gives "a" and "".
QStringList splitText(const QString& text, const QString& separator);

// Removes every "#", " ", "-" and CR LF pair, then lower-cases. "Som Chai" gives "somchai".
QString CleanName(const QString& text);

// Keeps the characters "0" to "9" in their order. "1,000" gives "1000".
QString DigitsOnly(const QString& text);

// The characters sorted ascending. "907" gives "079".
QString SortDigits(const QString& text);

// The numeric value of a text: leading blanks skipped, an optional sign, digits, an optional "."
// and digits; stops at the first other character; 0 when there is no number.
double Val(const QString& text);

// Val of an amount as stored; plain digits, the stored form, are read without building a text.
double amountValue(QStringView text);

// The number of a stake line from the text before its first "-": the blanks (spaces, tabs) around
// it are not part of it, so " 13-20" from a hand-edited file is the number 13 wherever it is read.
inline QStringView stakeNumber(QStringView beforeDash)
{
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (!beforeDash.isEmpty() && blank(beforeDash.front()))
        beforeDash = beforeDash.sliced(1);
    while (!beforeDash.isEmpty() && blank(beforeDash.back()))
        beforeDash.chop(1);
    return beforeDash;
}

// "#,##0" and "#,##0.00", rounding half away from zero on the 15-significant-digit value.
QString formatCount(double value);
QString formatAmount(double value);

// The shortest decimal text of a double (at most 15 significant digits): 150, 12.5.
QString shortestDecimal(double value);
// The same for the value held in single precision (at most 7 significant digits).
QString singleDecimal(double value);

// Counts non-overlapping occurrences of the needle in the text, both taken in lower case.
int CountOccurrences(const QString& text, const QString& needle);

// Position of the item in a "#"-list as decimal text, or "": line ends and blanks are removed and
// the list lower-cased first; the last matching non-empty piece before the last "#" wins.
QString IndexInList(const QString& list, const QString& item);

// The list text without CR LF pairs (and without lone CR or LF).
QString withoutLineEnds(const QString& text);

} // namespace varnoth
