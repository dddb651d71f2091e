// A window of the Win32 backend: a top-level window and its controls made
// with CreateWindowExW from a design, every row of it, and the window
// operations the window services ask of a native window.
#pragma once

#include "ui/forms/Design.h"
#include "ui/forms/NativeWindow.h"
#include "ui/forms/WindowEvents.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

namespace halvane::ui::win32
{

// The class of every top-level window of the program.
inline constexpr wchar_t kWindowClass[] = L"HalvaneWindow";
// A control's identifier (GetDlgCtrlID) is its position in the design plus
// this, clear of the dialog manager's IDOK and IDCANCEL.
inline constexpr int kFirstControlId = 100;

class Win32Window final : public NativeWindow
{
public:
    // Builds the window and its controls; it is not yet on the screen.
    //  - window: a tool window (small caption, close button only) or no
    //    title bar (a fixed dialog border), off the task bar unless the
    //    design gives it an entry; the caption, the client size exact at
    //    the screen's DPI, the icon, font and background, and its place;
    //  - controls: one child window each (none for a data control), placed
    //    in pixels from their container's interior, in the design's
    //    stacking order, with their fonts, colours, states and pictures;
    //  - the default button drawn as such, and the focus on the first
    //    control of the tab order that can take it once shown.
    Win32Window(const WindowDesign& design, WindowEvents& events);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    const WindowDesign& design() const { return m_design; }
    HWND handle() const { return m_window; }
    // The child window of the control at `index`; null for a data control.
    HWND control(std::size_t index) const { return m_controls.at(index); }
    int dpi() const { return m_dpi; }

    // Tab and Shift+Tab: the focus to the next (previous) control of the
    // design's tab order that is visible, enabled and takes the focus.
    void tab(bool forward);
    // Enter, passed to the window's keyboard rules.
    void enter();

    // The window of the program whose top-level window is `window`.
    static Win32Window* fromHandle(HWND window);

    void show() override;
    void bringToFront() override;
    void activate() override;
    void repaint() override;
    void setEnabled(std::size_t control, bool enabled) override;
    void setVisible(std::size_t control, bool visible) override;
    void setFocus(std::size_t control) override;
    std::optional<std::size_t> focusedControl() const override;
    bool setPicture(std::size_t control, std::string_view bytes, std::string& why) override;

    // The window procedure of kWindowClass.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: a control's click or focus, or Escape.
    LRESULT command(WPARAM wParam, LPARAM lParam);
    // DM_GETDEFID: the default button that Enter presses, when it can be.
    LRESULT defaultId() const;
    // WM_CTLCOLOR...: the control's own colours.
    LRESULT controlColours(std::size_t index, HDC dc) const;
    // WM_ACTIVATE: the focus kept when the window goes inactive, given back
    // when it becomes active again.
    void activated(bool active);

    void addControls(HWND container, std::string_view containerName, COLORREF containerColour);
    HWND addControl(std::size_t index, HWND container, COLORREF containerColour);
    // The index of the control whose child window is `control`, or npos.
    std::size_t indexOf(HWND control) const;
    bool takesFocus(std::size_t index) const;
    HWND firstFocus() const;
    // The focus leaves a control that can no longer hold it.
    void moveFocusOffIf(std::size_t index);
    // Draws `focused` as the default button when it is a push button, the
    // design's default button otherwise.
    void markDefault(HWND focused);
    bool pressRole(bool cancel);

    const WindowDesign& m_design;
    WindowEvents* m_events;
    int m_dpi;
    COLORREF m_background;
    HWND m_window = nullptr;
    std::vector<HWND> m_controls;
    std::vector<COLORREF> m_foreground;
    std::vector<COLORREF> m_controlBackground;
    std::vector<std::size_t> m_focusCandidates; // the design's, in tab order
    HWND m_focus = nullptr; // the focus to give when the window becomes active
    bool m_shown = false;
};

// Registers the top-level window class once for the program.
void registerWindowClass();

// Puts on the screen what was drawn into the program's windows. Under Wine a
// window's drawing reaches the X server only when its thread next looks at
// its message queue; on Windows it is already there.
void flushDrawing();

} // namespace halvane::ui::win32
