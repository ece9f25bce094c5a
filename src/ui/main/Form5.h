#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form5 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form5(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
