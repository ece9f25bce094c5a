#include "testsupport.h"

#include <QFile>

namespace varnoth::test
{

TempBook::TempBook() : store(std::make_unique<Store>(dir.path())) {}

QByteArray TempBook::bytes(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QString TempBook::text(const QString& name) const
{
    return decodeWindows874(bytes(name));
}

void TempBook::put(const QString& name, const QString& text) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(cp874(text));
}

QByteArray cp874(const QString& text)
{
    return encodeWindows874(text);
}

} // namespace varnoth::test
