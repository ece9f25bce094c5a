#include "reports/tableexport.h"

#include "core/model/text.h"

#include <QRegularExpression>

namespace varnoth
{

namespace
{

// A figure as the lists print it: "2,600.00", "100", "-1,200.50", "12.5".
const QRegularExpression& figurePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^-?(\\d{1,3}(,\\d{3})+|\\d+)(\\.\\d+)?$"));
    return pattern;
}

bool isFigure(const QString& token)
{
    return figurePattern().match(token).hasMatch();
}

TableCell textCell(const QString& text)
{
    return {text, false, 0, false};
}

TableCell numberCell(const QString& text)
{
    QString plain = text;
    plain.remove(QLatin1Char(','));
    return {text, true, plain.toDouble(), text.contains(QLatin1Char('.'))};
}

// "12-100": a number, a "-" and an amount, perhaps with words after them.
bool numberAndAmount(const QString& line, TableRow& row)
{
    const qsizetype dash = line.indexOf(QLatin1Char('-'));
    if (dash <= 0) return false;
    const QString number = line.left(dash);
    for (QChar c : number)
        if (!c.isDigit()) return false;
    const QString rest = line.mid(dash + 1);
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    const QString amount = blank < 0 ? rest : rest.left(blank);
    if (!isFigure(amount) || amount.startsWith(QLatin1Char('-'))) return false;
    row << textCell(number) << numberCell(amount);
    if (blank >= 0 && !rest.mid(blank + 1).trimmed().isEmpty()) row << textCell(rest.mid(blank + 1).trimmed());
    return true;
}

// Words and figures: a figure with a "," or a ".", or one right after a label ending in "=", is a
// number; the words between figures make one text cell each.
TableRow wordsAndFigures(const QString& line)
{
    TableRow row;
    QString words;
    bool afterLabel = false;
    const auto flush = [&] {
        if (!words.isEmpty()) row << textCell(words);
        words.clear();
    };
    for (const QString& token : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool figure =
            isFigure(token) && (afterLabel || token.contains(QLatin1Char(',')) || token.contains(QLatin1Char('.')));
        if (figure) {
            flush();
            row << numberCell(token);
        } else {
            if (!words.isEmpty()) words += QLatin1Char(' ');
            words += token;
        }
        afterLabel = token.endsWith(QLatin1Char('='));
    }
    flush();
    return row;
}

QByteArray csvField(const TableCell& cell)
{
    if (cell.isNumber) return shortestDecimal(cell.value).toUtf8();
    QString text = cell.text;
    if (!text.isEmpty() && QStringLiteral("=+-@").contains(text.front())) text.prepend(QLatin1Char('\''));
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                        text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quoted) return text.toUtf8();
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return '"' + text.toUtf8() + '"';
}

} // namespace

QList<TableRow> reportTable(const QStringList& lines)
{
    QList<TableRow> rows;
    for (const QString& line : lines) {
        if (line == Separator) {
            if (!rows.isEmpty() && !rows.last().isEmpty()) rows << TableRow();
            continue;
        }
        TableRow row;
        if (!numberAndAmount(line, row)) row = wordsAndFigures(line);
        if (row.isEmpty() && line.isEmpty()) continue;
        rows << row;
    }
    while (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    return rows;
}

QByteArray csvBytes(const QList<TableRow>& rows)
{
    QByteArray out("\xEF\xBB\xBF");
    for (const TableRow& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0) out += ',';
            out += csvField(row[i]);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace varnoth
