#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form9 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form9(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
