#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form18 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form18(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
