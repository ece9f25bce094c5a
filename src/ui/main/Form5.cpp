#include "ui/main/Form5.h"

namespace varnoth {

Form5::Form5(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 5, parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("File"));
}

} // namespace varnoth
