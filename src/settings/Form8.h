#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form8 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form8(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
