#include "tools/records.h"

#include "accounts/users.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

#include <algorithm>

namespace varnoth
{

namespace
{

bool allDigits(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// The typed amount as the stake file keeps amounts: digits without leading zeros. "" when the
// text is not a whole amount of digits (blanks around it are forgiven).
QString wholeAmount(const QString& typed)
{
    QString digits = typed.trimmed();
    if (!allDigits(digits)) return {};
    qsizetype zeros = 0;
    while (zeros < digits.size() - 1 && digits.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return digits.mid(zeros);
}

// The lines of a stake file's text; bare LF line ends (a file saved by another editor) still
// separate them.
QStringList textLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
}

enum class Mode { Edit, Delete };

// Rewrites the stake file line by line: blank lines and lines without "-" are dropped, the lines of
// the record's number are changed, every other line is copied. The file is replaced only when a
// line was changed, so a record that is not found leaves the file as it was.
RecordResult rewrite(Store& store, const RecordRequest& r, const QString& amount, Mode mode)
{
    RecordResult result;
    const QString path = recordFilePath(store, r);
    const FileText file = path.isEmpty() ? FileText{} : store.readFile(path);
    if (!file.readable) {
        result.lines << outcomeLine({Status::ReadFailed, path});
        return result;
    }

    Progress& progress = store.progress();
    progress.reset();
    // Taken as one line, a file with bare LF line ends would be written back with the edited
    // number alone.
    const QStringList lines = textLines(file.text);
    QString out;
    out.reserve(file.text.size() + 16);
    bool rewritten = false;
    for (const QString& line : lines) {
        progress.tick(lines.size());
        const TextLine fields = TextLine::of(line);
        if (!fields.hasDash()) continue;
        if (fields.number() != r.oldNumber) {
            out += line;
            out += CRLF;
            continue;
        }
        const QString fileAmount = fields.amount().toString();
        QString value;
        if (fileAmount == r.oldAmount)
            value = mode == Mode::Edit ? amount : QStringLiteral("0");
        else if (mode == Mode::Edit)
            value = shortestDecimal(Val(fileAmount) - Val(r.oldAmount) + Val(amount));
        else
            value = shortestDecimal(Val(fileAmount) - Val(amount));
        out += r.number + QLatin1Char('-') + value;
        out += CRLF;
        rewritten = true;
    }
    progress.hide();

    if (!rewritten) {
        result.lines << RecordErrorText;
        return result;
    }
    FolderTransaction tx(store);
    tx.replaceFile(path, out + CRLF);
    if (const CommitResult written = tx.commit(); !written.ok()) {
        result.lines << outcomeLine(written.outcome);
        return result;
    }
    result.written = true;
    result.row = mode == Mode::Edit ? RecordResult::Row::Replace : RecordResult::Row::Remove;
    if (mode == Mode::Edit) result.rowText = r.number + QLatin1Char('-') + amount;
    return result;
}

} // namespace

QString selectedRowText(const QString& row)
{
    if (!row.contains(QLatin1Char('-'))) return {};
    QString text = withoutKeyers(row).toString();
    return text.replace(QStringLiteral(" - "), QStringLiteral("-"));
}

bool isRecordRow(const QString& selectedRow)
{
    const QStringList pieces = selectedRow.split(QLatin1Char('-'));
    return pieces.size() == 2 && allDigits(pieces[0]) && allDigits(pieces[1]);
}

RecordHeading headingAbove(const QStringList& rows, int index, const QString& customerList)
{
    if (index <= 0) return {};
    RecordHeading heading;
    // The nearest heading above the row is the one that counts, so the scan runs upwards.
    for (int i = std::min<int>(index, rows.size()) - 1; i >= 0; --i) {
        QString row = rows[i];
        row.remove(QLatin1Char(' '));
        const qsizetype split = row.indexOf(QStringLiteral("><"));
        if (split < 0) continue;
        heading.type = row.left(split).remove(QLatin1Char('<'));
        heading.customer = row.mid(split + 2).section(QStringLiteral("><"), 0, 0).remove(QLatin1Char('>'));
        break;
    }
    if (heading.isEmpty() || !TypeList.contains(heading.type) || !customerList.contains(heading.customer)) return {};
    return heading;
}

QString recordFilePath(const Store& store, const RecordRequest& request)
{
    const QStringList paths = store.stakeFilePaths(request.type, request.customer);
    for (qsizetype i = paths.size() - 1; paths.size() > 1 && i >= 0; --i)
        for (const QString& line : textLines(store.readFile(paths[i]).text)) {
            const TextLine fields = TextLine::of(line);
            if (fields.hasDash() && fields.number() == request.oldNumber && fields.amount() == request.oldAmount)
                return paths[i];
        }
    return store.StakeFilePath(request.type, request.customer);
}

RecordResult editRecord(Store& store, const RecordRequest& request)
{
    const QString amount = wholeAmount(request.amount);
    if (amount.isEmpty()) {
        RecordResult refused;
        refused.refused = true;
        refused.lines << request.number + QLatin1Char('-') + request.amount + RejectedText;
        return refused;
    }
    return rewrite(store, request, amount, Mode::Edit);
}

RecordResult deleteRecord(Store& store, const RecordRequest& request)
{
    if (request.type.isEmpty() || request.customer.isEmpty()) return {};
    return rewrite(store, request, request.amount, Mode::Delete);
}

} // namespace varnoth
