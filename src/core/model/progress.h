#pragma once
// The progress indicator that long loops advance. The window implementation moves the main
// window's bar and lets pending events run; tests and the command line use the silent one.

#include <QtGlobal>

namespace varnoth
{

class Progress
{
public:
    virtual ~Progress() = default;
    // Sets both counters to 0, as every operation that ticks does first.
    virtual void reset() {}
    // One item of a loop over `total` items; restarts after step 20.
    virtual void tick(qint64 total) { Q_UNUSED(total); }
    // The same without the restart after step 20 (the number-set walk).
    virtual void tickLong(qint64 total) { Q_UNUSED(total); }
    virtual void hide() {}
    // Lets pending user-interface events run inside a long loop.
    virtual void yield() {}
};

// Step arithmetic of the indicator, shared by the window implementations.
struct ProgressCounter {
    qint64 items = 0;
    int step = 0;
    // Advances; returns the step to show, or -1 when nothing is shown.
    int tick(qint64 total, bool wrap = true)
    {
        ++items;
        if (static_cast<double>(total) / 20.0 <= static_cast<double>(items)) {
            items = 0;
            ++step;
        }
        if (wrap && step > 20) {
            step = 0;
            items = 0;
            return -1;
        }
        return step;
    }
    void reset() { items = 0, step = 0; }
};

} // namespace varnoth
