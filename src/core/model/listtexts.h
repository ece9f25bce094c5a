#pragma once
// The lines the main list shows over the stakes of a type and customer.

#include <QString>

namespace varnoth
{

// "<type> <customer>": the heading of a type and customer, in the main list and wherever a line
// names the pair.
inline QString headerLine(const QString& type, const QString& customer)
{
    return QLatin1Char('<') + type + QStringLiteral("> <") + customer + QLatin1Char('>');
}

// Under the heading once the pair has its files: the operator may key its bets.
inline const QString ReadyForBetsText = QStringLiteral("พร้อมรับข้อมูล");

} // namespace varnoth
