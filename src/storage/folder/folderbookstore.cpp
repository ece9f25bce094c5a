#include "storage/folder/folderbookstore.h"

#include "core/model/text.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

namespace varnoth
{

namespace
{
QString textOf(QByteArrayView v)
{
    return QString::fromLatin1(v);
}
QString textOf(QStringView v)
{
    return v.toString();
}
} // namespace

QStringList FolderBookStore::customers() const
{
    return m_store.customers();
}

QStringList FolderBookStore::customersListedTwice() const
{
    return m_store.customersListedTwice();
}

NumberLines FolderBookStore::numberLines(const QStringList& paths) const
{
    NumberLines out;
    for (const QString& path : paths) {
        const FileBytes f = m_store.readBytes(path);
        out.exists = out.exists || f.exists;
        if (!f.readable) {
            out.readable = false;
            continue;
        }
        forEachNumberLine(QByteArrayView(f.bytes), [&out](const auto& line) {
            if (!line.hasDash()) return;
            out.lines << AmountLine{textOf(line.number()), textOf(line.amount())};
        });
    }
    return out;
}

NumberLines FolderBookStore::stakes(const QString& type, const QString& customer) const
{
    return numberLines(m_store.stakeFilePaths(type, customer));
}

QHash<QString, double> FolderBookStore::stakeSums(const QString& type, const QString& customer, bool* readable) const
{
    QHash<QString, double> sums;
    bool whole = true;
    for (const QString& path : m_store.stakeFilePaths(type, customer)) {
        const FileBytes f = m_store.readBytes(path);
        whole = whole && f.readable;
        forEachNumberLine(QByteArrayView(f.bytes), [&sums](const auto& line) {
            if (!line.isNumberLine()) return;
            const double v = amountValue(textOf(line.amount()));
            if (v != 0) sums[textOf(line.number())] += v;
        });
    }
    if (readable) *readable = whole;
    return sums;
}

NumberLines FolderBookStore::counts(const QString& type) const
{
    const QString path = m_store.TypeFilePath(type, Store::CountPrefix);
    return path.isEmpty() ? NumberLines{} : numberLines({path});
}

NumberLines FolderBookStore::sendOut(const QString& type) const
{
    const QString path = m_store.TypeFilePath(type, Store::SendOutPrefix);
    return path.isEmpty() ? NumberLines{} : numberLines({path});
}

SettingLines FolderBookStore::settingLines(BookSetting setting) const
{
    const FileText f = m_store.readFile(m_store.path(settingFileName(setting)));
    SettingLines out;
    out.exists = f.exists;
    out.readable = f.readable;
    // Only lines ended by CR LF count: a text after the last line end is no line of the file.
    QStringList pieces = f.text.split(CRLF);
    pieces.removeLast();
    out.lines = pieces;
    return out;
}

quint64 FolderBookStore::changesEnd()
{
    return m_store.changesEnd();
}

Changes FolderBookStore::changedSince(quint64 position)
{
    const std::optional<QStringList> names = m_store.changedSince(position);
    if (!names) return Changes::all();
    Changes c;
    const QString list = m_store.customerListText();
    for (const QString& name : *names)
        c.merge(changesOfFile(name, list));
    return c;
}

std::unique_ptr<BookTransaction> FolderBookStore::begin()
{
    return std::make_unique<FolderTransaction>(m_store);
}

} // namespace varnoth
