#pragma once
// OpenWindow and CloseSecondaryWindows: every secondary window is opened through here.

#include "ui/main/AppContext.h"

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

    // Loads window `number` if it is not loaded, applies its set-up and starts its grow-in.
    SecondaryWindow* OpenWindow(int number);
    // Unloads every secondary window but the read-me window (10).
    void CloseSecondaryWindows();
    // Unloads one window (nothing when it is not loaded).
    void closeWindow(int number);
    // The loaded window, or null.
    SecondaryWindow* window(int number) const;
    QList<SecondaryWindow*> loadedWindows() const;
    template <class T> T* get(int number) const { return qobject_cast<T*>(window(number)); }

    // When set, windows run their grow-in to the end at once (tests).
    void setInstantGrowIn(bool instant) { m_instant = instant; }

private:
    AppContext& m_ctx;
    std::array<QPointer<SecondaryWindow>, 25> m_windows;
    bool m_instant = false;
};

// Creates window `number` (3 to 19), or null for a number without a window.
SecondaryWindow* createWindow(int number, AppContext& ctx);

} // namespace varnoth
