#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form15 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form15(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
