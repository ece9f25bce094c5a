#include "core/model/types.h"

#include "core/model/text.h"

#include <QHash>
#include <QSet>
#include <mutex>

namespace varnoth
{

const QStringList& typeNames()
{
    static const QStringList names = splitText(TypeList, QStringLiteral("#")).mid(0, 12);
    return names;
}

int typeIndex(const QString& type)
{
    if (type.isEmpty()) return -1;
    return static_cast<int>(typeNames().indexOf(type));
}

bool isPermutationType(const QString& type)
{
    return type.contains(QStringLiteral("โต๊ด"));
}

NumberSetKind classifyType(const QString& type)
{
    if (type.contains(QStringLiteral("3ตัวตรง"))) return {3, false};
    if (type == QStringLiteral("3ตัวล่าง")) return {3, false};
    if (type.contains(QStringLiteral("3ตัวโต๊ด"))) return {3, true};
    if (type == QStringLiteral("4ตัวโต๊ด")) return {4, true};
    if (type == QStringLiteral("5ตัวโต๊ด")) return {5, true};
    if (type == QStringLiteral("คู่โต๊ด")) return {2, true};
    if (type.contains(QStringLiteral("2ตัว"))) return {2, false};
    if (type.contains(QStringLiteral("วิ่ง"))) return {1, false};
    return {};
}

namespace
{

QStringList buildSet(int digits, bool ascending)
{
    QStringList out;
    int limit = 1;
    for (int i = 0; i < digits; ++i)
        limit *= 10;
    QSet<QString> seen;
    for (int i = 0; i < limit; ++i) {
        QString n = QString::number(i).rightJustified(digits, QLatin1Char('0'));
        if (!ascending) {
            out << n;
            continue;
        }
        QString s = SortDigits(n);
        if (!seen.contains(s)) {
            seen.insert(s);
            out << s;
        }
    }
    return out;
}

struct SetCache {
    std::once_flag once[6][2];
    QStringList sets[6][2];
    std::once_flag listOnce[6][2];
    QString lists[6][2];
    QString fresh[6][2];
};

SetCache& cache()
{
    static SetCache c;
    return c;
}

} // namespace

const QStringList& NumberSet(int digits, bool ascending)
{
    static const QStringList empty;
    if (digits < 1 || digits > 5) return empty;
    SetCache& c = cache();
    std::call_once(c.once[digits][ascending], [&] { c.sets[digits][ascending] = buildSet(digits, ascending); });
    return c.sets[digits][ascending];
}

const QStringList& NumberSet(const QString& type)
{
    static const QStringList empty;
    NumberSetKind k = classifyType(type);
    if (!k.valid()) return empty;
    return NumberSet(k.digits, k.ascending);
}

namespace
{
void buildLists(int digits, bool ascending)
{
    SetCache& c = cache();
    std::call_once(c.listOnce[digits][ascending], [&] {
        const QStringList& set = NumberSet(digits, ascending);
        QString list, fresh;
        list.reserve(set.size() * (digits + 1));
        fresh.reserve(set.size() * (digits + 4));
        for (const QString& n : set) {
            list += n;
            list += QLatin1Char('#');
            fresh += n;
            fresh += QStringLiteral("-0\r\n");
        }
        c.lists[digits][ascending] = list;
        c.fresh[digits][ascending] = fresh;
    });
}
} // namespace

QString NumberSetList(const QString& type)
{
    NumberSetKind k = classifyType(type);
    if (!k.valid()) return {};
    buildLists(k.digits, k.ascending);
    return cache().lists[k.digits][k.ascending];
}

QString InitialContent(const QString& type)
{
    NumberSetKind k = classifyType(type);
    if (!k.valid()) return {};
    buildLists(k.digits, k.ascending);
    return cache().fresh[k.digits][k.ascending];
}

void buildNumberSetCaches()
{
    buildLists(3, false);
    buildLists(3, true);
    buildLists(4, true);
    buildLists(5, true);
}

} // namespace varnoth
