#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form11 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form11(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
