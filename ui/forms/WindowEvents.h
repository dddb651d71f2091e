// What a native window reports to the window it shows: the events of the
// window and its controls, as the user causes them. A backend calls these and
// nothing else; which handler an event runs is decided behind them (Form).
#pragma once

#include <cstddef>

namespace halvane::ui
{

enum class ControlEvent {
    Click, // a push button pressed (mouse, Space on it, Enter as enterPressed decides,
           // its access key, its cancel role), or a left click over a click area
};

class WindowEvents
{
public:
    // `control` is the control's position in the window's design.
    virtual void controlEvent(std::size_t control, ControlEvent event) = 0;
    // The title bar's close button, Alt+F4 or another close request of the
    // window system. The backend does not close the window itself.
    virtual void closeRequested() = 0;
    // Enter (without Ctrl or Alt) with the window active. The backend
    // presses no button itself: the window's keyboard rules decide which.
    virtual void enterPressed() = 0;
    // The window became the active window.
    virtual void activated() = 0;

protected:
    ~WindowEvents() = default;
};

} // namespace halvane::ui
