#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form4 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form4(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
