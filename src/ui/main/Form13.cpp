#include "ui/main/Form13.h"

namespace varnoth {

Form13::Form13(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 13, parent)
{
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(QStringLiteral("Package"));
}

} // namespace varnoth
