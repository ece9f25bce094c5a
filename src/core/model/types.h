#pragma once
// Lottery types, their number sets and the cached fresh contents of the number files.

#include <QString>
#include <QStringList>

namespace varnoth
{

// The twelve types, each followed by "#". The position of a type is part of every file name of
// its data, so this order is part of the stored format and never changes.
inline const QString TypeList =
    QStringLiteral("3ตัวตรง#3ตัวโต๊ด#3ตัวล่าง#2ตัวบน#คู่โต๊ด#2ตัวล่าง#วิ่งบน#วิ่งล่าง#3ตัวตรงหัว#3ตัวโต๊ดหัว#4ตัวโต๊ด#5ตัวโต๊ด#");

// The twelve type names in TypeList order.
const QStringList& typeNames();

// Position of a type in the TypeList, or -1 when the name is not one of the twelve.
int typeIndex(const QString& type);

// A type whose name contains "โต๊ด" stores its numbers with the digits in ascending order.
bool isPermutationType(const QString& type);

struct NumberSetKind {
    int digits = 0;         // 0 when the name classifies as no type
    bool ascending = false; // digits-ascending set instead of every number
    bool valid() const { return digits > 0; }
};

// Classifies a type name by the first matching rule (a name that matches none has no set).
NumberSetKind classifyType(const QString& type);

// The ordered numbers of a set: every w-digit number, or every w-digit string with non-decreasing
// digits. Built once per run and shared.
const QStringList& NumberSet(int digits, bool ascending);
// The number set of a type name; empty for a name that classifies as no type.
const QStringList& NumberSet(const QString& type);

// The set with "#" after every number ("000#001#…#999#"); "" for a name with no set.
QString NumberSetList(const QString& type);

// Fresh content of a number file of the type: every number followed by "-0" and CR LF. The file
// write adds one more CR LF, so the file ends with one empty line. "" for a name with no set.
QString InitialContent(const QString& type);

// Builds the caches of the large sets (3-digit every-number, 3-, 4- and 5-digit ascending) now.
void buildNumberSetCaches();

} // namespace varnoth
