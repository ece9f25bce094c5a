#include "settings/result.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "settings/resulttexts.h"
#include "storage/folder/store.h"

#include <algorithm>

namespace varnoth
{

QStringList DigitPermutations(const QString& number)
{
    QStringList out;
    if (number.isEmpty()) return out;
    for (QChar c : number)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return out;
    // For strings of digits of one width, ascending text order is ascending numeric order, and
    // the permutations of the sorted digits come out in exactly that order.
    QString s = SortDigits(number);
    do
        out << s;
    while (std::next_permutation(s.begin(), s.end()));
    return out;
}

namespace
{

QString winningLine(const QString& type, const QStringList& numbers)
{
    QString line = type + QLatin1Char('#');
    for (const QString& n : numbers)
        line += n + QLatin1Char('-');
    return line + CRLF;
}

QStringList characters(const QString& text)
{
    QStringList out;
    for (QChar c : text)
        out << QString(c);
    return out;
}

QStringList lastTwo(const QStringList& numbers)
{
    QStringList out;
    for (const QString& n : numbers)
        out << n.right(2);
    return out;
}

} // namespace

QString resultFileText(const DrawnNumbers& fields)
{
    DrawnNumbers t;
    for (int i = 0; i < 6; ++i)
        t[i] = CleanName(fields[i]);
    const QString& first = t[0];
    const QString r3 = first.right(3);
    const QString l3 = first.left(3);

    QString text;
    if (!(t[0] + t[1] + t[2] + t[3] + t[4] + t[5]).isEmpty()) {
        for (const QString& f : t)
            text += f + QLatin1Char('#');
        text += CRLF;
    }
    if (first.size() == 6) {
        const QStringList right = DigitPermutations(r3);
        const QStringList left = DigitPermutations(l3);
        text += winningLine(QStringLiteral("3ตัวตรง"), {r3});
        text += winningLine(QStringLiteral("3ตัวโต๊ด"), right);
        text += winningLine(QStringLiteral("2ตัวบน"), {first.right(2)});
        text += winningLine(QStringLiteral("คู่โต๊ด"), lastTwo(right));
        text += winningLine(QStringLiteral("4ตัวโต๊ด"), characters(r3));
        text += winningLine(QStringLiteral("วิ่งบน"), characters(r3));
        text += winningLine(QStringLiteral("5ตัวโต๊ด"), characters(r3));
        text += winningLine(QStringLiteral("3ตัวตรงหัว"), {l3});
        text += winningLine(QStringLiteral("3ตัวโต๊ดหัว"), left);
        text += winningLine(QStringLiteral("3ตัวตรงหัวท้าย"), {l3, r3});
        text += winningLine(QStringLiteral("3ตัวโต๊ดหัวท้าย"), left + right);
    }
    // Only the four lower numbers together are checked for width, not each one.
    const bool lowerAll = !t[1].isEmpty() && !t[2].isEmpty() && !t[3].isEmpty() && !t[4].isEmpty();
    if (lowerAll && (t[1] + t[2] + t[3] + t[4]).size() == 12)
        text += winningLine(QStringLiteral("3ตัวล่าง"), {t[1], t[2], t[3], t[4]});
    if (t[5].size() == 2) {
        text += winningLine(QStringLiteral("2ตัวล่าง"), {t[5]});
        text += winningLine(QStringLiteral("วิ่งล่าง"), characters(t[5]));
    }
    return text;
}

namespace
{

bool digitsOfWidth(const QString& text, int width)
{
    if (text.size() != width) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

QString boxName(int box)
{
    if (box == 0) return FirstPrizeBoxText;
    if (box == 5) return LowerTwoBoxText;
    return LowerThreeBoxText.arg(box);
}

} // namespace

ResultCheck checkDrawnNumbers(const DrawnNumbers& fields)
{
    ResultCheck check;
    bool anyLower = false;
    for (int i = 1; i <= 4; ++i)
        anyLower = anyLower || !CleanName(fields[i]).isEmpty();
    for (int i = 0; i < 6; ++i) {
        const QString text = CleanName(fields[i]);
        const bool lower = i >= 1 && i <= 4;
        if (text.isEmpty()) {
            if (lower && anyLower) {
                check.lines << boxName(i) + BoxEmptyText;
                check.boxes << i;
            }
            continue;
        }
        if (digitsOfWidth(text, DrawnNumberWidths[i])) continue;
        check.lines << boxName(i) + BoxWidthText.arg(DrawnNumberWidths[i]);
        check.boxes << i;
    }
    if (!check.ok()) check.lines << ResultNotSavedText;
    return check;
}

QStringList SaveResult(Store& store, const DrawnNumbers& fields)
{
    const QString path = store.resultFile();
    if (!store.WriteWholeFile(path, resultFileText(fields))) return {outcomeLine({Status::WriteFailed, path})};
    return {};
}

namespace
{

// The six fields of the header line of the result file's kept (non-empty) lines.
DrawnNumbers headerFields(const QString& text)
{
    DrawnNumbers fields;
    if (text.isEmpty() || !text.section(CRLF, 0, 0).contains(QLatin1Char('#'))) return fields;
    const QStringList pieces = text.split(QLatin1Char('#'));
    for (int i = 0; i < 6 && i < pieces.size(); ++i)
        fields[i] = pieces[i];
    return fields;
}

} // namespace

DrawnNumbers LoadResult(Store& store)
{
    const QStringList lines = store.ReadWholeFile(store.resultFile()).split(QLatin1Char('\n'));
    QString text;
    store.progress().reset();
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        store.progress().tick(lines.size());
        if (!line.isEmpty()) text += line + CRLF;
    }
    store.progress().hide();
    return headerFields(text);
}

bool resultSaved(Store& store)
{
    QString text;
    for (QString line : store.ReadWholeFile(store.resultFile()).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty()) continue;
        // A winning line of a type counts as well as the drawn numbers above them.
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash > 0 && hash + 1 < line.size() && typeIndex(line.left(hash)) >= 0) return true;
        text += line + CRLF;
    }
    for (const QString& field : headerFields(text))
        if (!field.isEmpty()) return true;
    return false;
}

} // namespace varnoth
