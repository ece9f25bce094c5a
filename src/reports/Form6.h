#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form6 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form6(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
