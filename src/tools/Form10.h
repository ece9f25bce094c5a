#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form10 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form10(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
