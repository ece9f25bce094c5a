#include "settings/options.h"

#include "accounts/exporttexts.h"
#include "audit/auditlog.h"
#include "storage/folder/store.h"

namespace varnoth
{

namespace
{

QStringList optionLines(const QString& text)
{
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (!line.isEmpty()) lines << line;
    }
    return lines;
}

bool isWholeAmount(const QString& value)
{
    if (value.isEmpty() || value.size() > 15) return false;
    for (QChar c : value)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

bool isPaperWidth(const QString& value)
{
    return value == QStringLiteral("58") || value == QStringLiteral("80") ||
           value.compare(QStringLiteral("A4"), Qt::CaseInsensitive) == 0;
}

bool isStorable(const QString& value)
{
    for (QChar c : value)
        if (c == QLatin1Char('#') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) return false;
    return true;
}

} // namespace

QString operatorNameRefusal(const QString& name)
{
    for (QChar c : name)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            return OperatorNameInvalidText;
    return {};
}

QString storedOperatorName(const Store& store, bool* refused)
{
    if (refused) *refused = false;
    const QString prefix = option::OperatorName + QLatin1Char('#');
    for (const QString& line : optionLines(store.ReadWholeFile(optionFile(store)))) {
        if (!line.startsWith(prefix)) continue;
        const QString name = line.mid(prefix.size()).trimmed();
        if (operatorNameRefusal(name).isEmpty()) return name;
        if (refused) *refused = true;
        return {};
    }
    return {};
}

const QList<BookOption>& bookOptions()
{
    static const QList<BookOption> options = {
        {option::AmountCeiling, QStringLiteral("ยอดแทงสูงสุดต่อรายการ"), QStringLiteral("100000"), true},
        {option::ShopName, QStringLiteral("ชื่อร้าน"), QString(), false},
        {option::OperatorName, QStringLiteral("ชื่อผู้คีย์"), systemUserName(), false},
        {option::PaperWidth, PaperOptionCaption, QStringLiteral("A4"), false},
    };
    return options;
}

const BookOption* bookOption(const QString& key)
{
    for (const BookOption& o : bookOptions())
        if (o.key == key) return &o;
    return nullptr;
}

QString optionFile(const Store& store)
{
    return store.path(QStringLiteral("option.gif"));
}

QString optionValue(const Store& store, const QString& key)
{
    const BookOption* o = bookOption(key);
    const QString prefix = key + QLatin1Char('#');
    for (const QString& line : optionLines(store.ReadWholeFile(optionFile(store))))
        if (line.startsWith(prefix)) return line.mid(prefix.size());
    return o ? o->defaultValue : QString();
}

qint64 amountCeiling(const Store& store)
{
    const QString value = optionValue(store, option::AmountCeiling);
    if (isWholeAmount(value)) return value.toLongLong();
    return bookOption(option::AmountCeiling)->defaultValue.toLongLong();
}

QStringList setOptionValue(Store& store, const QString& key, const QString& value)
{
    const BookOption* o = bookOption(key);
    if (key == option::OperatorName)
        if (const QString refusal = operatorNameRefusal(value); !refusal.isEmpty()) return {refusal};
    if (!o || !isStorable(value) || (o->wholeAmount && !isWholeAmount(value))) return {OptionValueInvalidText};
    if (key == option::PaperWidth && !isPaperWidth(value)) return {OptionValueInvalidText};
    const QString path = optionFile(store);
    const FileText f = store.readFile(path);
    if (f.exists && !f.readable) return {outcomeLine({Status::ReadFailed, path})};
    QStringList lines = optionLines(f.text);
    const QString prefix = key + QLatin1Char('#');
    bool replaced = false;
    for (QString& line : lines)
        if (line.startsWith(prefix)) {
            line = prefix + value;
            replaced = true;
        }
    if (!replaced) lines << prefix + value;
    if (!store.WriteWholeFile(path, lines.join(QStringLiteral("\r\n"))))
        return {outcomeLine({Status::WriteFailed, path})};
    return {};
}

QStringList optionItems(const Store& store)
{
    QStringList items;
    for (const BookOption& o : bookOptions())
        items << o.caption + QStringLiteral(" - ") + optionValue(store, o.key);
    return items;
}

QString optionKeyAt(int index)
{
    return index >= 0 && index < bookOptions().size() ? bookOptions()[index].key : QString();
}

QStringList saveOptionAt(Store& store, int index, const QString& typed)
{
    return setOptionValue(store, optionKeyAt(index), typed.trimmed());
}

} // namespace varnoth
