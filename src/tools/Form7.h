#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form7 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form7(AppContext& ctx, QWidget* parent = nullptr);
    void prepare(const QString& caption);
};

} // namespace varnoth
