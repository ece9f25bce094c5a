#include "settings/Form8.h"

namespace varnoth {

Form8::Form8(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 8, parent)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Lottery Result"));
}

} // namespace varnoth
