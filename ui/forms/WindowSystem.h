// The window system the windows are shown on, a service (system/Service.h): a
// backend (ui/qt, ui/win32) puts its own in place for the life of the
// program; tests put a recording one in place. Until one is, there is no
// window system: windows cannot be made.
#pragma once

#include "ui/forms/Design.h"
#include "ui/forms/NativeWindow.h"
#include "ui/forms/WindowEvents.h"

#include <functional>
#include <memory>

namespace halvane::ui
{

class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // A native window built from `design`, every row of it: window kind,
    // caption, client size, font, background, icon, and each control with its
    // kind, text and access key, place, size, font, colours, stacking order,
    // tab order, default and cancel roles, initial visibility and state, and
    // its picture stored with the design. It is not yet on the screen. Its
    // events go to `events`, which outlives it.
    virtual std::unique_ptr<NativeWindow> createWindow(const WindowDesign& design,
                                                       WindowEvents& events) = 0;

    // Dispatches window events until quitEventLoop(); returns its status.
    virtual int runEventLoop() = 0;
    // Ends runEventLoop() once the event being handled has returned. Nothing
    // happens when no loop runs.
    virtual void quitEventLoop(int status) = 0;
    // Runs `task` once the event being handled has returned.
    virtual void later(std::function<void()> task) = 0;

    // No window system: createWindow throws Failure 5, the loop ends at once.
    static WindowSystem& system();
};

} // namespace halvane::ui
