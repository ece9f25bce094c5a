#include "tools/Form10.h"

namespace varnoth {

Form10::Form10(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 10, parent)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Read Me"));
}

} // namespace varnoth
