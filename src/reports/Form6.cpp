#include "reports/Form6.h"

namespace varnoth {

Form6::Form6(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 6, parent)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Search"));
}

} // namespace varnoth
