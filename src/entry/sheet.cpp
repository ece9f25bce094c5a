#include "entry/sheet.h"

#include "core/model/text.h"
#include "entry/entry.h"
#include "storage/folder/store.h"

#include <QFile>

namespace varnoth
{

namespace
{

const QString Blank = QStringLiteral(" ");
const QString Dash = QStringLiteral("-");

// Every line end as CR LF: a sheet typed into a text box or saved on a phone may use LF alone.
QString withCrLf(QString text)
{
    text.replace(CRLF, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), CRLF);
    return text;
}

// Within one line, either the whole line or each blank-separated token that holds a "-".
void addTokens(EntryBatch& batch, const QString& text, const QString& type)
{
    if (!text.contains(Blank)) {
        if (text.contains(Dash)) batch.addLine(text, type, false);
        return;
    }
    for (const QString& token : text.split(Blank))
        if (token.contains(Dash)) batch.addLine(token, type, false);
}

} // namespace

QString CollapseRuns(QString text, const QString& separator)
{
    if (separator.isEmpty()) return text;
    const QString twice = separator + separator;
    while (text.contains(twice))
        text.replace(twice, separator);
    return text;
}

QStringList SplitSheet(Store& store, const QString& sheet, const QString& type, const QString& customer)
{
    return enterSheet(store, sheet, type, customer).lines;
}

namespace
{

// Every entry line of the sheet into the batch.
void addSheet(Store& store, EntryBatch& batch, const QString& sheet, const QString& type)
{
    QString text = CollapseRuns(withCrLf(sheet), CRLF);
    text = CollapseRuns(text, Blank);
    text = CollapseRuns(text, Dash);

    Progress& progress = store.progress();
    progress.reset();
    if (text.contains(CRLF)) {
        const QStringList lines = text.split(CRLF);
        for (const QString& line : lines) {
            progress.tick(lines.size());
            if (!line.isEmpty()) addTokens(batch, line, type);
            progress.yield();
        }
    } else {
        addTokens(batch, text, type);
    }
}

} // namespace

EntryResult enterSheet(Store& store, const QString& sheet, const QString& type, const QString& customer)
{
    EntryBatch batch(store, customer);
    addSheet(store, batch, sheet, type);
    EntryResult result = batch.commit();
    store.progress().hide();
    return result;
}

QList<BetChange> sheetBets(Store& store, const QString& sheet, const QString& type, const QString& customer)
{
    EntryBatch batch(store, customer);
    batch.allowAboveCeiling();
    addSheet(store, batch, sheet, type);
    store.progress().hide();
    return batch.pendingBets();
}

QString LoadSheetFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return {};
    QString text;
    for (const QString& line : withCrLf(decodeSheet(bytes)).split(CRLF))
        if (!line.isEmpty()) text += line + CRLF;
    text = CollapseRuns(text, Blank);
    return CollapseRuns(text, CRLF);
}

} // namespace varnoth
