#include "ui/main/WindowDispatch.h"

#include "ui/main/SecondaryWindow.h"

namespace varnoth
{

namespace
{

GrowIn growSpecFor(int number)
{
    switch (number) {
    case 5:
        return {316.5, 200, 3705, 5865, 3705, true};
    case 10:
        return {200, 144, 3000, 7600, 5505, false};
    case 11:
        return {226, 242, 3600, 3400, 3700, false};
    case 13:
        return {190, 200, 4680, 4425, 4680, false};
    case 18:
        return {226, 242, 3675, 3360, 3960, false};
    case 19:
        return {600, 420, 8400, 12000, 8400, false}; // the exposure map
    case 23:
        return {600, 420, 8400, 12600, 8400, false}; // the paste window
    case 24:
        return {600, 420, 8400, 15000, 8400, false}; // the audit log
    case 20:
        return {300, 300, 6600, 5400, 6600, false}; // the number rules
    case 21:
        return {226, 242, 3960, 4560, 4200, false}; // bills
    case 22:
        return {450, 250, 4800, 8520, 4800, false}; // past draws
    default:
        return {226, 200, 3000, 3400, 3000, false};
    }
}

} // namespace

WindowDispatch::WindowDispatch(AppContext& context, QObject* parent) : QObject(parent), m_ctx(context) {}

// The secondary windows are top-level windows without a parent; those still open when the main
// window goes would otherwise outlive it.
WindowDispatch::~WindowDispatch()
{
    for (const QPointer<SecondaryWindow>& w : m_windows)
        delete w.data();
}

QList<SecondaryWindow*> WindowDispatch::loadedWindows() const
{
    QList<SecondaryWindow*> loaded;
    for (const QPointer<SecondaryWindow>& w : m_windows)
        if (w) loaded << w;
    return loaded;
}

SecondaryWindow* WindowDispatch::window(int number) const
{
    if (number < 0 || number >= static_cast<int>(m_windows.size())) return nullptr;
    return m_windows[number].data();
}

SecondaryWindow* WindowDispatch::OpenWindow(int number)
{
    if (number < 0 || number >= static_cast<int>(m_windows.size())) return nullptr;
    SecondaryWindow* w = m_windows[number].data();
    if (!w) {
        w = createWindow(number, m_ctx);
        if (!w) return nullptr;
        w->setGrowIn(growSpecFor(number));
        m_windows[number] = w;
    }
    w->setUp();
    w->startGrowIn();
    if (m_instant) w->finishGrowIn();
    return w;
}

void WindowDispatch::closeWindow(int number)
{
    if (SecondaryWindow* w = window(number)) {
        w->close();
        m_windows[number] = nullptr;
    }
}

void WindowDispatch::CloseSecondaryWindows()
{
    for (int n = 0; n < static_cast<int>(m_windows.size()); ++n)
        if (n != 10) closeWindow(n);
}

} // namespace varnoth
