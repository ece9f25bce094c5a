#include "tools/calculator.h"

#include "core/model/text.h"

#include <cmath>
#include <optional>

namespace varnoth
{

namespace
{

std::optional<double> apply(double a, double b, const QString& sign)
{
    if (sign == QStringLiteral("+")) return a + b;
    if (sign == QStringLiteral("-")) return a - b;
    if (sign == QStringLiteral("*")) return a * b;
    if (sign == QStringLiteral("/")) {
        if (b == 0) return std::nullopt;
        return a / b;
    }
    if (sign == QStringLiteral("%")) return a * b / 100;
    return std::nullopt;
}

} // namespace

QString calculate(const QString& first, const QString& second, const QString& sign)
{
    const std::optional<double> result = apply(Val(first), Val(second), sign);
    if (!result || !std::isfinite(*result)) return QString();
    return formatAmount(*result);
}

int operatorTop(const QString& sign)
{
    return sign == QStringLiteral("%") ? 960 : 721;
}

} // namespace varnoth
