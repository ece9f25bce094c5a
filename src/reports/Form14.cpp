#include "reports/Form14.h"

namespace varnoth {

Form14::Form14(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 14, parent)
{
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("Result"));
}

} // namespace varnoth
