#include "tools/Form4.h"

namespace varnoth {

Form4::Form4(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 4, parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Print"));
}

} // namespace varnoth
