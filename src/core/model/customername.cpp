#include "core/model/customername.h"

#include "core/model/codepage874.h"
#include "core/model/nametexts.h"
#include "core/model/outcome.h"
#include "core/model/text.h"

namespace varnoth
{

namespace
{

// The characters of a text, a pair of surrogates taken together.
template <typename F> void forEachCharacter(const QString& text, F&& f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        f(c);
    }
}

QString characterText(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

// "U+200B" for a character that shows nothing, or worse, on a screen.
QString codeText(char32_t c)
{
    return QStringLiteral("U+") +
           QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace

QString customerName(const QString& text)
{
    QString visible;
    visible.reserve(text.size());
    forEachCharacter(text, [&visible](char32_t c) {
        if (QChar::category(c) != QChar::Other_Format) visible += characterText(c);
    });
    return CleanName(visible).normalized(QString::NormalizationForm_C);
}

QString customerNameRefusal(const QString& name)
{
    if (name == QStringLiteral("ทั้งหมด")) return NameAllChoiceText;
    // "#" parts the names in the customer list: a name holding one would list two customers. Typed
    // names lose it on the way in; this stops any other caller.
    if (name.contains(QLatin1Char('#'))) return UnsafeNameText;
    QString controls;
    QString unwritable;
    forEachCharacter(name, [&](char32_t c) {
        if (QChar::category(c) == QChar::Other_Control) {
            if (!controls.isEmpty()) controls += QLatin1Char(' ');
            controls += codeText(c);
            return;
        }
        bool ok = true;
        const QString one = characterText(c);
        cp874::encode(one, &ok);
        if (ok) return;
        // An invisible character is named by its code; any other is shown as it is.
        if (!unwritable.isEmpty()) unwritable += QLatin1Char(' ');
        unwritable += QChar::category(c) == QChar::Other_Format ? codeText(c) : one;
    });
    if (!controls.isEmpty()) return NameControlText + controls;
    if (!unwritable.isEmpty()) return NameUnwritableText + unwritable;
    return {};
}

} // namespace varnoth
