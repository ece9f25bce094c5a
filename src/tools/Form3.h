#pragma once

#include "ui/main/SecondaryWindow.h"

namespace varnoth {

class Form3 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form3(AppContext& ctx, QWidget* parent = nullptr);
    void prepare(const QString& caption, const QString& prompt);
};

} // namespace varnoth
