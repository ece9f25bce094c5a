#pragma once
// The two-operand calculator: no "=" key, the result follows every change.

#include <QString>

namespace varnoth
{

// The result of `first` `sign` `second` in "#,##0.00", where "%" takes `second` per cent of
// `first`. Operands count by their leading number ("1,000" is 1). An unknown or empty sign, a
// division by zero and an overflow give "".
QString calculate(const QString& first, const QString& second, const QString& sign);

// Top of the operator box in twips: lower beside the per-cent sign.
int operatorTop(const QString& sign);

} // namespace varnoth
