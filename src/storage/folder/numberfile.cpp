#include "storage/folder/numberfile.h"

#include "core/model/text.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

namespace varnoth
{

NumberFile::NumberFile(Store& store, const QString& path, bool stamped) : m_path(path), m_stamped(stamped)
{
    const FileText f = store.readFile(path, stamped);
    m_ok = f.readable;
    m_readStamp = f.stamp;
    if (m_ok) parse(f.text);
    // Shares the lines' text until they change, which costs each change nothing more.
    if (m_stamped) m_readLines = m_lines;
}

NumberFile NumberFile::fromText(const QString& text)
{
    NumberFile f;
    f.parse(text);
    return f;
}

void NumberFile::parse(const QString& text)
{
    // A file whose line ends an editor turned into bare LF is still one line per number: read as a
    // single line, the first change would write that one number back and drop every other line.
    m_lines = text.split(QLatin1Char('\n'));
    for (QString& line : m_lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    while (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    m_index.clear();
    m_index.reserve(m_lines.size());
    for (int i = 0; i < m_lines.size(); ++i) {
        const TextLine line = TextLine::of(m_lines[i]);
        if (!line.hasDash()) continue;
        const QString number = line.number().toString();
        if (!m_index.contains(number)) m_index.insert(number, i);
    }
    // A hand-edited file may start with an empty line, blanks or a word: the width is that of the
    // first line that holds a number, as every other reader of the file takes it.
    m_width = 0;
    for (const QString& l : std::as_const(m_lines)) {
        const TextLine line = TextLine::of(l);
        if (!line.isNumberLine()) continue;
        m_width = static_cast<int>(line.number().size());
        break;
    }
}

QStringView NumberFile::valueView(const QString& number) const
{
    auto it = m_index.constFind(number);
    if (it == m_index.constEnd()) return {};
    return TextLine::of(m_lines[it.value()]).amount();
}

QString NumberFile::valueText(const QString& number) const
{
    return valueView(number).toString();
}

double NumberFile::value(const QString& number) const
{
    // amountValue reads plain digits itself and hands anything else to Val.
    return amountValue(valueView(number));
}

bool NumberFile::add(const QString& number, double amount)
{
    if (!m_index.contains(number)) return false;
    return set(number, shortestDecimal(value(number) + amount));
}

bool NumberFile::set(const QString& number, const QString& valueText)
{
    auto it = m_index.constFind(number);
    if (it == m_index.constEnd()) return false;
    QString& line = m_lines[it.value()];
    line.clear();
    line.reserve(number.size() + 1 + valueText.size());
    line += number;
    line += QLatin1Char('-');
    line += valueText;
    m_changed = true;
    return true;
}

QHash<int, QString> NumberFile::linesAsRead() const
{
    QHash<int, QString> changed;
    for (qsizetype i = 0; i < m_readLines.size() && i < m_lines.size(); ++i)
        if (m_lines[i] != m_readLines[i]) changed.insert(static_cast<int>(i), m_readLines[i]);
    return changed;
}

QString NumberFile::text() const
{
    QString out;
    qsizetype size = 0;
    for (const QString& l : m_lines)
        size += l.size() + 2;
    out.reserve(size);
    for (const QString& l : m_lines) {
        out += l;
        out += CRLF;
    }
    return out;
}

bool NumberFile::save(Store& store)
{
    if (!m_changed) return true;
    m_savedStamp.clear();
    if (!store.WriteWholeFile(m_path, text(), m_stamped ? &m_savedStamp : nullptr)) return false;
    m_changed = false;
    return true;
}

} // namespace varnoth
