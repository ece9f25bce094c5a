#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form12 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form12(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
