#include "settings/Form11.h"

namespace varnoth {

Form11::Form11(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 11, parent)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Debit"));
}

} // namespace varnoth
