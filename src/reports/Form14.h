#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form14 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form14(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
