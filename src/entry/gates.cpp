#include "entry/gates.h"

#include "core/model/listtexts.h"
#include "core/model/text.h"
#include "core/model/types.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace varnoth
{

namespace
{

// A candidate qualifies when every keyed digit finds its own place in it; a keyed character that is
// not a digit never does.
bool holdsAllDigits(const QString& candidate, const QString& number)
{
    std::array<int, 10> left{};
    for (QChar c : candidate)
        ++left[c.unicode() - '0'];
    for (QChar c : number) {
        const char16_t u = c.unicode();
        if (u < '0' || u > '9' || left[u - '0'] == 0) return false;
        --left[u - '0'];
    }
    return true;
}

QString scanGates(const QStringList& candidates, const QString& number)
{
    QString out;
    for (const QString& candidate : candidates)
        if (holdsAllDigits(candidate, number)) out += candidate + QLatin1Char(' ');
    return out;
}

// The gates of a number depend only on its digits, not on their order, and a sheet asks for the
// same few hundred again and again: each answer is kept, per set, under the sorted digits. Only
// short numbers of digits are kept, so the store of answers stays small.
QString gatesOf(int width, bool ascending, const QString& number)
{
    const QStringList& candidates = NumberSet(width, ascending);
    if (number.size() > 5) return scanGates(candidates, number);
    for (QChar c : number)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return scanGates(candidates, number);
    QString key = number;
    std::sort(key.begin(), key.end());
    key += QLatin1Char(ascending ? 'a' : 'n') + QString::number(width);
    thread_local QHash<QString, QString> known;
    auto it = known.constFind(key);
    if (it != known.constEnd()) return it.value();
    const QString gates = scanGates(candidates, number);
    known.insert(key, gates);
    return gates;
}

using Generator = QString (*)(const QString&);

struct GateRow {
    const char16_t* code;
    int length;
    Generator gates;
    const char16_t* status;
    bool longList;
};

QString containing2(const QString& n)
{
    return GatesContaining(n, 2);
}
QString containing3(const QString& n)
{
    return GatesContaining(n, 3);
}
QString ascending2(const QString& n)
{
    return GatesContainingAscending(n, 2);
}
QString ascending3(const QString& n)
{
    return GatesContainingAscending(n, 3);
}

// Tried in this order; the first row whose code and number length both match wins.
const GateRow NumberFieldRows[] = {
    {u"19", 1, containing2, u" ทำวิ่งเป็น2ตัว19 ประตู ", false},
    {u"2", 2, containing2, u" กลับเลข ", false},
    {u"10", 1, ascending2, u" ทำวิ่งเป็นคู่โต๊ด 10 ประตู ", false},
    {u"271", 1, containing3, u" ทำวิ่งเป็น3ตัวตรง 271 ประตู ", true},
    {u"55", 1, ascending3, u" ทำวิ่งเป็น3ตัวโต๊ด 55 ประตู ", false},
    {u"54", 2, containing3, u" ทำคู่โต๊ดเป็น3ตัวตรง 54 ประตู ", true},
    {u"28", 2, containing3, u" ทำคู่โต๊ดเป็น3ตัวตรง 28 ประตู ", false},
    {u"10-", 2, ascending3, u" ทำคู่โต๊ดเป็น3ตัวโต๊ด 10 ประตู ", false},
    {u"10", 2, GatesFrontDigit, u" ทำ2ตัวเป็น3ตัวตรง 10 ประตู ", false},
    {u"6", 3, containing3, u" ทำ3ตัวโต๊ดเป็น3ตัวตรง 6 ประตู ", false},
    {u"3", 3, containing3, u" ทำ3ตัวโต๊ดเป็น3ตัวตรง 3 ประตู ", false},
    {u"2", 3, GatesReverse, u" กลับเลข ", false},
};

// The gate list of an entry line's code, or nothing when the code and length are not one of the four.
std::optional<QString> entryLineGates(const QString& number, const QString& code)
{
    if (code == u"19" && number.size() == 1) return GatesContaining(number, 2);
    if ((code == u"6" || code == u"3") && number.size() == 3) return GatesContaining(number, 3);
    if (code == u"2") return GatesReverse(number);
    return std::nullopt;
}

} // namespace

QString GatesContaining(const QString& number, int width)
{
    return gatesOf(width, false, number);
}

QString GatesContainingAscending(const QString& number, int width)
{
    return gatesOf(width, true, number);
}

QString GatesFrontDigit(const QString& number)
{
    QString out;
    for (char d = '0'; d <= '9'; ++d)
        out += QLatin1Char(d) + number + QLatin1Char(' ');
    return out;
}

QString GatesReverse(const QString& number)
{
    QString reversed = number;
    std::reverse(reversed.begin(), reversed.end());
    return number + QLatin1Char(' ') + reversed + QLatin1Char(' ');
}

std::optional<GateExpansion> expandNumberField(const QString& text)
{
    const QString t = text.trimmed();
    if (t.count(QLatin1Char('+')) != 1) return std::nullopt;
    const qsizetype plus = t.indexOf(QLatin1Char('+'));
    const QString number = t.left(plus);
    const QString code = t.mid(plus + 1);
    if (code.isEmpty()) return std::nullopt;
    for (const GateRow& row : NumberFieldRows) {
        if (code != row.code || number.size() != row.length) continue;
        return GateExpansion{row.gates(number), QString::fromUtf16(row.status), row.longList};
    }
    return std::nullopt;
}

QList<PlannedBet> pairedBets(const QString& number, const QString& first, const QString& second, const QString& type,
                             const QString& customer)
{
    QString secondType = type;
    QString secondNumber = number;
    if (number.size() == 3) {
        if (type == u"3ตัวตรง") secondType = QStringLiteral("3ตัวโต๊ด");
        secondNumber = SortDigits(number);
    } else if (number.size() == 2) {
        if (type == u"2ตัวบน") secondType = QStringLiteral("2ตัวล่าง");
    } else if (type == u"วิ่งบน") {
        secondType = QStringLiteral("วิ่งล่าง");
    }
    return {PlannedBet{number, first, type, {headerLine(secondType, customer)}},
            PlannedBet{secondNumber, second, secondType, {headerLine(type, customer), ReadyForBetsText}}};
}

EntryPlan parseEntryLine(const QString& line, const QString& type, const QString& customer)
{
    EntryPlan plan;
    // A NUL comes from a damaged or binary file, never from a keyed sheet: "1<NUL>2" is not the
    // number 12. It is listed as a replacement character, which the list can show.
    if (line.contains(QChar(u'\0'))) {
        plan.rejected = true;
        plan.rejectedText = QString(line).replace(QChar(u'\0'), QChar::ReplacementCharacter);
        return plan;
    }
    const QStringList pieces = line.split(QLatin1Char('-'));
    QString number = pieces.value(0);
    const QString amount = pieces.value(1);
    if (pieces.size() > 2 || number.count(QLatin1Char('+')) > 1 || amount.count(QLatin1Char('+')) > 1) {
        plan.rejected = true;
        plan.rejectedText = line;
        return plan;
    }

    if (number.contains(QLatin1Char('+'))) {
        const QStringList parts = number.split(QLatin1Char('+'));
        const std::optional<QString> gates = entryLineGates(parts[0], parts[1]);
        if (!gates) return plan;
        plan.gates = true;
        for (const QString& gate : gates->split(QLatin1Char(' '), Qt::SkipEmptyParts))
            plan.bets << PlannedBet{gate, amount, type, {}};
        return plan;
    }

    if (isPermutationType(type)) number = SortDigits(number);
    if (amount.contains(QLatin1Char('+')) && number.size() <= 3) {
        const QStringList amounts = amount.split(QLatin1Char('+'));
        plan.bets = pairedBets(number, amounts[0], amounts[1], type, customer);
    } else {
        plan.bets << PlannedBet{number, amount, type, {}};
    }
    return plan;
}

} // namespace varnoth
