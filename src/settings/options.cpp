#include "settings/options.h"

#include "accounts/exporttexts.h"
#include "audit/auditlog.h"
#include "settings/result.h"
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

// The value as it is stored: a yes/no option takes "1", "0" or the words the list shows, a date
// anything parseTypedDate reads ("" clears it); "" with `ok` false for a value the option refuses.
QString storedForm(const BookOption& o, const QString& value, bool& ok)
{
    ok = true;
    switch (o.kind) {
    case BookOption::Kind::YesNo:
        if (value == QLatin1String("1") || value == OptionYesText) return QStringLiteral("1");
        if (value == QLatin1String("0") || value == OptionNoText) return QStringLiteral("0");
        break;
    case BookOption::Kind::Date:
        if (value.isEmpty()) return value;
        if (const QDate d = parseTypedDate(value); d.isValid()) return d.toString(Qt::ISODate);
        break;
    case BookOption::Kind::Text:
        return value;
    }
    ok = false;
    return {};
}

QString storedValue(const Store& store, const QString& key, const QString& fallback)
{
    const QString prefix = key + QLatin1Char('#');
    for (const QString& line : optionLines(store.ReadWholeFile(optionFile(store))))
        if (line.startsWith(prefix)) return line.mid(prefix.size());
    return fallback;
}

// Replaces the key's line of the options file, or adds it, keeping the other lines in their order.
QStringList writeKeyedLine(Store& store, const QString& key, const QString& value)
{
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

// The value as the settings list shows it.
QString shownValue(const BookOption& o, const QString& value, YearStyle years)
{
    if (o.kind == BookOption::Kind::YesNo) return value == QLatin1String("1") ? OptionYesText : OptionNoText;
    if (o.kind == BookOption::Kind::Date && !value.isEmpty()) {
        const QDate d = QDate::fromString(value, Qt::ISODate);
        return d.isValid() ? thaiDate(d, years) : value;
    }
    return value;
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
        {option::DrawDate, QStringLiteral("งวดวันที่"), QString(), false, BookOption::Kind::Date},
        {option::GregorianYear, QStringLiteral("แสดงปีเป็น ค.ศ."), QStringLiteral("0"), false, BookOption::Kind::YesNo},
        {option::BillTotalsOnly, QStringLiteral("บิลแสดงเฉพาะยอดรวม"), QStringLiteral("0"), false,
         BookOption::Kind::YesNo},
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
    return storedValue(store, key, o ? o->defaultValue : QString());
}

YearStyle yearStyle(const Store& store)
{
    return optionValue(store, option::GregorianYear) == QLatin1String("1") ? YearStyle::Gregorian : YearStyle::Buddhist;
}

bool billTotalsOnly(const Store& store)
{
    return optionValue(store, option::BillTotalsOnly) == QLatin1String("1");
}

QDate drawDate(Store& store)
{
    // A hand-edited date that does not read is no date.
    if (resultSaved(store)) {
        const QDate drawn = QDate::fromString(storedValue(store, option::ResultDate, {}), Qt::ISODate);
        if (drawn.isValid()) return drawn;
    }
    return QDate::fromString(optionValue(store, option::DrawDate), Qt::ISODate);
}

QStringList forgetDrawDates(Store& store)
{
    const QString path = optionFile(store);
    const FileText f = store.readFile(path);
    if (!f.exists) return {};
    if (!f.readable) return {outcomeLine({Status::ReadFailed, path})};
    QStringList lines = optionLines(f.text);
    const qsizetype before = lines.size();
    lines.removeIf([](const QString& line) {
        return line.startsWith(option::DrawDate + QLatin1Char('#')) ||
               line.startsWith(option::ResultDate + QLatin1Char('#'));
    });
    if (lines.size() == before) return {};
    if (!store.WriteWholeFile(path, lines.join(QStringLiteral("\r\n"))))
        return {outcomeLine({Status::WriteFailed, path})};
    return {};
}

QStringList setResultDate(Store& store, QDate day)
{
    return writeKeyedLine(store, option::ResultDate, day.toString(Qt::ISODate));
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
    bool ok = false;
    const QString stored = storedForm(*o, value, ok);
    if (!ok) return {OptionValueInvalidText};
    return writeKeyedLine(store, key, stored);
}

QStringList optionItems(const Store& store)
{
    QStringList items;
    const YearStyle years = yearStyle(store);
    for (const BookOption& o : bookOptions())
        items << o.caption + QStringLiteral(" - ") + shownValue(o, optionValue(store, o.key), years);
    return items;
}

QString optionEditText(const Store& store, const QString& key)
{
    const BookOption* o = bookOption(key);
    const QString value = optionValue(store, key);
    if (o && o->kind == BookOption::Kind::Date) {
        const QDate d = QDate::fromString(value, Qt::ISODate);
        return d.isValid() ? thaiShortDate(d, yearStyle(store)) : value;
    }
    return o ? shownValue(*o, value, yearStyle(store)) : value;
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
