#pragma once
// OpenWindow and CloseSecondaryWindows: every secondary window is opened through here.

#include "gui/main/AppContext.h"
#include "gui/main/windows.h"

#include <QObject>
#include <QPointer>
#include <array>

namespace varnoth
{

class SecondaryWindow;

class WindowDispatch : public QObject
{
    Q_OBJECT
public:
    explicit WindowDispatch(AppContext& context, QObject* parent = nullptr);
    ~WindowDispatch() override;

    // Loads the window if it is not loaded, applies its set-up and starts its grow-in.
    SecondaryWindow* OpenWindow(WindowId id);
    // Unloads every secondary window but the read-me window.
    void CloseSecondaryWindows();
    // Unloads one window (nothing when it is not loaded).
    void closeWindow(WindowId id);
    // The loaded window, or null.
    SecondaryWindow* window(WindowId id) const;
    QList<SecondaryWindow*> loadedWindows() const;
    template <class T> T* get(WindowId id) const { return qobject_cast<T*>(window(id)); }

    // When set, windows run their grow-in to the end at once (tests).
    void setInstantGrowIn(bool instant) { m_instant = instant; }

private:
    AppContext& m_ctx;
    std::array<QPointer<SecondaryWindow>, WindowIdEnd> m_windows; // by window number
    bool m_instant = false;
};

// Creates the window.
SecondaryWindow* createWindow(WindowId id, AppContext& ctx);

} // namespace varnoth
