#include "tools/Form7.h"

namespace varnoth {

Form7::Form7(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 7, parent)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Edit"));
}

void Form7::prepare(const QString& caption)
{
    setWindowTitle(caption);
}

} // namespace varnoth
