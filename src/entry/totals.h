#pragma once
// The figures of the main window's total boxes: count and amount of the positive lines of stake files.

#include <QByteArray>
#include <QHash>
#include <QString>

namespace varnoth
{

class Store;

struct StakeTotals {
    double count = 0;
    double total = 0;
};

// The lines of one stake file whose amount is above 0; nothing for a type or customer without a file.
StakeTotals customerTotals(Store& store, const QString& type, const QString& customer);
// Every type and every customer whose stake file exists.
StakeTotals bookTotals(Store& store);
// The same, kept per stake file (by path), so that a change to one file is counted again alone.
QHash<QString, StakeTotals> stakeTotalsByFile(Store& store);
StakeTotals sumOf(const QHash<QString, StakeTotals>& files);
// The same scan over a file's text, and over its windows-874 bytes.
StakeTotals totalsOfText(const QString& text);
StakeTotals totalsOfBytes(const QByteArray& bytes);

} // namespace varnoth
