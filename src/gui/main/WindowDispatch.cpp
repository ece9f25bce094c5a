#include "gui/main/WindowDispatch.h"

#include "gui/main/SecondaryWindow.h"

namespace varnoth
{

namespace
{

GrowIn growInOf(WindowId id)
{
    switch (id) {
    case WindowId::FilePicker:
        return {316.5, 200, 3705, 5865, 3705, true};
    case WindowId::Readme:
        return {200, 144, 3000, 7600, 5505, false};
    case WindowId::Settings:
        return {226, 242, 3600, 3400, 3700, false};
    case WindowId::GroupEntry:
        return {190, 200, 4680, 4425, 4680, false};
    case WindowId::Customers:
        return {226, 242, 3675, 3360, 3960, false};
    case WindowId::ExposureMap:
        return {600, 420, 8400, 12000, 8400, false};
    case WindowId::ChatPaste:
        return {600, 420, 8400, 12600, 8400, false};
    case WindowId::Audit:
        return {600, 420, 8400, 15000, 8400, false};
    case WindowId::NumberRules:
        return {300, 300, 6600, 5400, 6600, false};
    case WindowId::Bill:
        return {226, 242, 5460, 4560, 5700, false};
    case WindowId::DrawHistory:
        return {450, 250, 4800, 8520, 4800, false};
    case WindowId::Users:
        return {300, 300, 6300, 6300, 6300, false};
    case WindowId::Dealers:
        return {450, 400, 9900, 10500, 9900, false};
    default:
        return {226, 200, 3000, 3400, 3000, false};
    }
}

// The window's place in the table of loaded windows: its number.
std::size_t slot(WindowId id)
{
    return static_cast<std::size_t>(id);
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

SecondaryWindow* WindowDispatch::window(WindowId id) const
{
    return m_windows[slot(id)].data();
}

SecondaryWindow* WindowDispatch::OpenWindow(WindowId id)
{
    SecondaryWindow* w = m_windows[slot(id)].data();
    if (!w) {
        w = createWindow(id, m_ctx);
        if (!w) return nullptr;
        w->setGrowIn(growInOf(id));
        m_windows[slot(id)] = w;
    }
    w->setUp();
    w->startGrowIn();
    if (m_instant) w->finishGrowIn();
    return w;
}

void WindowDispatch::closeWindow(WindowId id)
{
    if (SecondaryWindow* w = window(id)) {
        w->close();
        m_windows[slot(id)] = nullptr;
    }
}

void WindowDispatch::CloseSecondaryWindows()
{
    for (QPointer<SecondaryWindow>& w : m_windows) {
        if (!w || w->id() == WindowId::Readme) continue;
        w->close();
        w = nullptr;
    }
}

} // namespace varnoth
