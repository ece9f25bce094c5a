#include "reports/Form15.h"

namespace varnoth {

Form15::Form15(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 15, parent)
{
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(QStringLiteral("Cut"));
}

} // namespace varnoth
