#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form13 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form13(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace varnoth
