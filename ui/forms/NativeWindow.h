// One window of a window-system backend, made from a design (WindowSystem::
// createWindow). Controls are named by their position in the design's
// control table. Every call takes effect at once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace halvane::ui
{

class NativeWindow
{
public:
    // Takes the window off the screen at once; it reports no more events.
    // The backend may free what it holds later, once the event being handled
    // has returned (the window's own handler may still be running).
    virtual ~NativeWindow() = default;

    // Puts the window on the screen the first time, placed by the design's
    // rule (the whole window centred, the client area at its fixed place, or
    // where the window system puts a new window), and makes it the active
    // window. The design's focus is on the first control of the tab order
    // that can take it.
    virtual void show() = 0;
    // An open window: restored if minimized, raised above the others, active.
    virtual void bringToFront() = 0;
    // Makes the window the active window again (after a message box or
    // another window closed), with the focus where it was.
    virtual void activate() = 0;
    // Draws the window completely, on the screen, before returning.
    virtual void repaint() = 0;

    virtual void setEnabled(std::size_t control, bool enabled) = 0;
    virtual void setVisible(std::size_t control, bool visible) = 0;
    virtual void setFocus(std::size_t control) = 0;
    // The control with the focus: the one the window gives it back to when
    // it is not the active window; none when no control has it.
    virtual std::optional<std::size_t> focusedControl() const = 0;
    // Shows the picture held in `bytes` (a picture file's contents) in the
    // picture box `control`, at its own size from the top-left corner of the
    // box's interior, clipped, drawn on the screen before returning. False,
    // with the reason in `why`, when the bytes are no picture the backend
    // reads; the box then keeps its picture.
    virtual bool setPicture(std::size_t control, std::string_view bytes, std::string& why) = 0;
};

} // namespace halvane::ui
