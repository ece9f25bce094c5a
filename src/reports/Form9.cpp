#include "reports/Form9.h"

namespace varnoth {

Form9::Form9(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 9, parent)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Over"));
}

} // namespace varnoth
