#include "tools/Form3.h"

namespace varnoth {

Form3::Form3(AppContext& ctx, QWidget* parent) : SecondaryWindow(ctx, 3, parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Backup"));
}

void Form3::prepare(const QString& caption, const QString& prompt)
{
    setWindowTitle(caption);
    Q_UNUSED(prompt);
}

} // namespace varnoth
