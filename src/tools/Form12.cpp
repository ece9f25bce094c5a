#include "tools/Form12.h"

namespace varnoth {

Form12::Form12(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 12, parent)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Calculator"));
}

} // namespace varnoth
