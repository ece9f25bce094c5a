#include "settings/Form18.h"

namespace varnoth {

Form18::Form18(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 18, parent)
{
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Customer"));
}

} // namespace varnoth
