#include "ui/win32/Win32Window.h"

#include "ui/forms/DesignOrder.h"
#include "ui/win32/Win32Controls.h"
#include "ui/win32/Win32Picture.h"
#include "ui/win32/Win32Style.h"

#include <algorithm>

namespace halvane::ui::win32
{
namespace
{

// Asks a window that was taken off the screen to destroy itself once the
// message being handled (maybe one of its own) has returned.
constexpr UINT kDestroyLater = WM_APP + 1;

DWORD windowStyle(const WindowDesign& design)
{
    switch (design.kind) {
    case WindowKind::ToolWindow:
        // Overlapped, so that Windows may choose the place (CW_USEDEFAULT).
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case WindowKind::NoTitleBar:
        break;
    }
    return WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
}

DWORD windowExStyle(const WindowDesign& design)
{
    // A tool window has no task-bar entry unless it is asked for one.
    DWORD ex = WS_EX_TOOLWINDOW;
    if (design.kind == WindowKind::NoTitleBar)
        ex |= WS_EX_DLGMODALFRAME;
    if (design.taskBarEntry)
        ex |= WS_EX_APPWINDOW;
    return ex;
}

HICON designIcon(std::string_view name, int metric)
{
    const int size = GetSystemMetrics(metric);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), wide(name).c_str(), IMAGE_ICON,
                                         size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

// Shown within its own window: its own visibility and that of each of its
// containers, whether or not the window is on the screen yet.
bool shownInWindow(HWND control, HWND window)
{
    for (HWND at = control; at && at != window; at = GetParent(at))
        if (!(GetWindowLongW(at, GWL_STYLE) & WS_VISIBLE))
            return false;
    return true;
}

// How the child window of a control is made: its class, styles and place in
// its container, and what it draws (for the backend's own classes).
struct ChildWindow {
    const wchar_t* windowClass;
    DWORD style;
    DWORD ex;
    RECT place;
    ControlLook look;
};

void asPushButton(ChildWindow& child, const ControlDesign& row)
{
    child.windowClass = L"BUTTON";
    // BS_NOTIFY: the focus coming and going is reported, so that the
    // focused button is drawn as the one Enter presses.
    child.style |= WS_TABSTOP | BS_NOTIFY | (row.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void asLabel(ChildWindow& child)
{
    child.windowClass = L"STATIC";
    child.style |= SS_LEFT; // top-left aligned, wrapped at word ends
}

void asPictureBox(ChildWindow& child, const ControlDesign& row)
{
    child.style |= WS_TABSTOP;
    child.ex |= WS_EX_CLIENTEDGE; // sunken; children are placed within it
    child.look.picture = row.picture.empty() ? nullptr : designPicture(row.picture);
}

void asStretchedPicture(ChildWindow& child, const ControlDesign& row)
{
    child.look.picture = designPicture(row.picture);
}

void asClickArea(ChildWindow& child)
{
    child.ex |= WS_EX_TRANSPARENT; // what lies below shows through
}

void asFrame(ChildWindow& child)
{
    child.style |= WS_CLIPCHILDREN;
}

void asLine(ChildWindow& child, const ControlDesign& row, int dpi)
{
    // Drawn below (or to the right of) the stroke, lineWidth pixels wide.
    RECT& place = child.place;
    const POINT from{place.left, place.top};
    const POINT to = pixelPoint(row.lineTo, dpi);
    place.left = std::min(from.x, to.x);
    place.top = std::min(from.y, to.y);
    if (from.y == to.y) {
        place.right = place.left + std::abs(to.x - from.x);
        place.bottom = place.top + row.lineWidth;
    } else {
        place.right = place.left + row.lineWidth;
        place.bottom = place.top + std::abs(to.y - from.y);
    }
}

// The child window `child` of `container` with the design's text, initial
// state and identifier `id`, below the siblings made before it, which the
// design lists above it.
HWND createChild(ChildWindow& child, const ControlDesign& row, HWND container, int id)
{
    DWORD style = child.style;
    if (row.visible)
        style |= WS_VISIBLE;
    if (!row.enabled)
        style |= WS_DISABLED;
    const std::wstring text = wide(row.text);
    const RECT& place = child.place;
    HWND control = CreateWindowExW(child.ex, child.windowClass, text.c_str(), style, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top,
                                   container, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), &child.look);
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

} // namespace

void registerWindowClass()
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Win32Window::windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

void flushDrawing()
{
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD);
}

Win32Window::Win32Window(const WindowDesign& design, WindowEvents& events)
    : m_design(design), m_events(&events), m_dpi(screenDpi()),
      m_background(colourOf(design.background, defaultBackground())),
      m_controls(design.controls.size(), nullptr),
      m_foreground(design.controls.size(), GetSysColor(COLOR_BTNTEXT)),
      m_controlBackground(design.controls.size(), m_background),
      m_focusCandidates(focusCandidates(design))
{
    registerWindowClass();
    registerControlClasses();

    const DWORD style = windowStyle(design);
    const DWORD ex = windowExStyle(design);
    RECT outer{0, 0, pixels(design.client.width, m_dpi), pixels(design.client.height, m_dpi)};
    AdjustWindowRectEx(&outer, style, FALSE, ex);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    switch (design.placement) {
    case Placement::CentredOnScreen:
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        break;
    case Placement::FixedClientPosition:
        // outer.left and outer.top are the frame's left and top, negative.
        x = pixels(design.position.x, m_dpi) + outer.left;
        y = pixels(design.position.y, m_dpi) + outer.top;
        break;
    case Placement::SystemDefault:
        break;
    }
    const std::wstring caption =
        design.kind == WindowKind::ToolWindow ? wide(design.caption) : std::wstring();
    // The window procedure knows this object from WM_NCCREATE on.
    CreateWindowExW(ex, kWindowClass, caption.c_str(), style, x, y, width, height, nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!design.icon.empty()) {
        SendMessageW(m_window, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(designIcon(design.icon, SM_CXSMICON)));
        SendMessageW(m_window, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(designIcon(design.icon, SM_CXICON)));
    }
    SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(design.font, m_dpi)), FALSE);

    addControls(m_window, {}, m_background);

    m_focus = firstFocus();
}

Win32Window::~Win32Window()
{
    if (!m_window)
        return;
    // No more events: the window procedure no longer knows this object.
    m_events = nullptr;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    ShowWindow(m_window, SW_HIDE);
    // The message being handled may be one of this window's own (a button
    // of it pressed); the window is destroyed after it has returned.
    PostMessageW(m_window, kDestroyLater, 0, 0);
}

void Win32Window::addControls(HWND container, std::string_view containerName,
                              COLORREF containerColour)
{
    for (std::size_t i : childrenOf(m_design, containerName))
        if (HWND control = addControl(i, container, containerColour)) {
            m_controls[i] = control;
            addControls(control, m_design.controls[i].name, m_controlBackground[i]);
        }
}

HWND Win32Window::addControl(std::size_t index, HWND container, COLORREF containerColour)
{
    const ControlDesign& row = m_design.controls[index];
    if (row.kind == ControlKind::DataControl)
        return nullptr; // a component without a window: the Form holds it
    ChildWindow child{controlClass(row.kind),
                      // Siblings clip each other, so each is drawn as the stacking order says.
                      WS_CHILD | WS_CLIPSIBLINGS,
                      0,
                      pixelRect(row.place, m_dpi),
                      {colourOf(row.background, containerColour),
                       colourOf(row.foreground, GetSysColor(COLOR_BTNTEXT)), nullptr, m_dpi}};
    switch (row.kind) {
    case ControlKind::PushButton:
        asPushButton(child, row);
        break;
    case ControlKind::Label:
        asLabel(child);
        break;
    case ControlKind::PictureBox:
        asPictureBox(child, row);
        break;
    case ControlKind::StretchedPicture:
        asStretchedPicture(child, row);
        break;
    case ControlKind::ClickArea:
        asClickArea(child);
        break;
    case ControlKind::Frame:
        asFrame(child);
        break;
    case ControlKind::Line:
        asLine(child, row, m_dpi);
        break;
    case ControlKind::DataControl:
        break;
    }
    HWND control = createChild(child, row, container, kFirstControlId + int(index));
    SendMessageW(control, WM_SETFONT,
                 reinterpret_cast<WPARAM>(fontOf(row.font.value_or(m_design.font), m_dpi)), FALSE);
    m_foreground[index] = child.look.foreground;
    m_controlBackground[index] = child.look.background;
    return control;
}

std::size_t Win32Window::indexOf(HWND control) const
{
    const auto at = std::find(m_controls.begin(), m_controls.end(), control);
    return at == m_controls.end() || !control ? std::size_t(-1)
                                              : std::size_t(at - m_controls.begin());
}

bool Win32Window::takesFocus(std::size_t index) const
{
    HWND control = m_controls[index];
    return control && canTakeFocus(m_design.controls[index].kind) && IsWindowEnabled(control) &&
           shownInWindow(control, m_window);
}

HWND Win32Window::firstFocus() const
{
    for (std::size_t i : m_focusCandidates)
        if (takesFocus(i))
            return m_controls[i];
    return nullptr;
}

void Win32Window::tab(bool forward)
{
    std::vector<std::size_t> order;
    for (std::size_t i : m_focusCandidates)
        if (takesFocus(i))
            order.push_back(i);
    if (order.empty())
        return;
    const auto at = std::find(order.begin(), order.end(), indexOf(GetFocus()));
    std::size_t next = 0;
    if (at != order.end()) {
        const std::size_t k = std::size_t(at - order.begin());
        next = forward ? (k + 1) % order.size() : (k + order.size() - 1) % order.size();
    } else if (!forward) {
        next = order.size() - 1;
    }
    SetFocus(m_controls[order[next]]);
}

void Win32Window::enter()
{
    // As a click: the rules' handler may unload this window.
    m_events->enterPressed();
}

void Win32Window::moveFocusOffIf(std::size_t index)
{
    if (GetFocus() == m_controls[index]) {
        tab(true);
        if (GetFocus() == m_controls[index])
            SetFocus(m_window);
    }
    if (m_focus == m_controls[index])
        m_focus = firstFocus();
}

void Win32Window::markDefault(HWND focused)
{
    const bool onButton = focused && m_design.controls.size() > indexOf(focused) &&
                          m_design.controls[indexOf(focused)].kind == ControlKind::PushButton;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_design.controls[i].kind != ControlKind::PushButton)
            continue;
        const bool isDefault = onButton ? m_controls[i] == focused : m_design.controls[i].isDefault;
        SendMessageW(m_controls[i], BM_SETSTYLE,
                     BS_NOTIFY | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), TRUE);
    }
}

bool Win32Window::pressRole(bool cancel)
{
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const ControlDesign& row = m_design.controls[i];
        if ((cancel ? row.isCancel : row.isDefault) && m_controls[i] &&
            IsWindowEnabled(m_controls[i]) && shownInWindow(m_controls[i], m_window)) {
            // As a click of the button: the handler may unload this window.
            m_events->controlEvent(i, ControlEvent::Click);
            return true;
        }
    }
    return false;
}

Win32Window* Win32Window::fromHandle(HWND window)
{
    wchar_t name[32];
    if (!window || !GetClassNameW(window, name, 32) || std::wstring_view(name) != kWindowClass)
        return nullptr;
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK Win32Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kDestroyLater) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_NCCREATE) {
        auto* made = static_cast<Win32Window*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        made->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->m_events) {
        if (message == WM_CLOSE)
            return 0; // taken off the screen: nothing closes it but its destruction
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // The handlers an event runs may unload the window: nothing of `self`
    // is touched after the event has been reported.
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return command(wParam, lParam);
    case DM_GETDEFID:
        return defaultId();
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (const std::size_t index = indexOf(reinterpret_cast<HWND>(lParam));
            index < m_controls.size())
            return controlColours(index, reinterpret_cast<HDC>(wParam));
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(m_window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brushOf(m_background));
        return 1;
    }
    case WM_ACTIVATE:
        activated(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_CLOSE:
        // The window's events decide: they unload the window, or refuse for
        // a window without a close button.
        m_events->closeRequested();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

LRESULT Win32Window::command(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDCANCEL && lParam == 0) // Escape, from the dialog manager
        return pressRole(true), 0;
    const std::size_t index = std::size_t(id - kFirstControlId);
    if (id < kFirstControlId || index >= m_controls.size())
        return 0;
    switch (HIWORD(wParam)) {
    case BN_CLICKED:
    // A button with BS_NOTIFY reports the second click of a double
    // click only as such: it is a click all the same ("Next>>" pressed
    // quickly twice turns two pages).
    case BN_DOUBLECLICKED:
        m_events->controlEvent(index, ControlEvent::Click);
        return 0;
    case BN_SETFOCUS:
        markDefault(m_controls[index]);
        return 0;
    case BN_KILLFOCUS:
        markDefault(nullptr);
        return 0;
    default:
        return 0;
    }
}

LRESULT Win32Window::defaultId() const
{
    // Enter with the focus on anything but a push button: the default
    // button, when there is one that can be pressed.
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_design.controls[i].isDefault && m_controls[i] && IsWindowEnabled(m_controls[i]) &&
            shownInWindow(m_controls[i], m_window))
            return MAKELRESULT(kFirstControlId + int(i), DC_HASDEFID);
    return 0;
}

LRESULT Win32Window::controlColours(std::size_t index, HDC dc) const
{
    SetTextColor(dc, m_foreground[index]);
    SetBkColor(dc, m_controlBackground[index]);
    return reinterpret_cast<LRESULT>(brushOf(m_controlBackground[index]));
}

void Win32Window::activated(bool active)
{
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(m_window, focus))
            m_focus = focus;
        return;
    }
    const std::size_t index = indexOf(m_focus);
    HWND focus = index < m_controls.size() && takesFocus(index) ? m_focus : firstFocus();
    SetFocus(focus ? focus : m_window);
    m_events->activated();
}

void Win32Window::show()
{
    if (!m_shown) {
        m_shown = true;
        if (!m_focus)
            m_focus = firstFocus();
    }
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    SetActiveWindow(m_window);
    UpdateWindow(m_window);
    flushDrawing();
}

void Win32Window::bringToFront()
{
    if (IsIconic(m_window))
        ShowWindow(m_window, SW_RESTORE);
    ShowWindow(m_window, SW_SHOW);
    SetWindowPos(m_window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(m_window);
    SetActiveWindow(m_window);
}

void Win32Window::activate()
{
    SetForegroundWindow(m_window);
    SetActiveWindow(m_window);
}

void Win32Window::repaint()
{
    RedrawWindow(m_window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    flushDrawing();
}

void Win32Window::setEnabled(std::size_t control, bool enabled)
{
    HWND w = m_controls.at(control);
    if (!w)
        return;
    if (!enabled)
        moveFocusOffIf(control);
    EnableWindow(w, enabled);
}

void Win32Window::setVisible(std::size_t control, bool visible)
{
    HWND w = m_controls.at(control);
    if (!w)
        return;
    if (!visible)
        moveFocusOffIf(control);
    ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::setFocus(std::size_t control)
{
    HWND w = m_controls.at(control);
    if (!w)
        return;
    m_focus = w;
    if (GetActiveWindow() == m_window)
        SetFocus(w);
}

std::optional<std::size_t> Win32Window::focusedControl() const
{
    HWND focus = GetActiveWindow() == m_window ? GetFocus() : m_focus;
    const std::size_t index = indexOf(focus);
    if (index < m_controls.size())
        return index;
    return std::nullopt;
}

bool Win32Window::setPicture(std::size_t control, std::string_view bytes, std::string& why)
{
    HWND box = m_controls.at(control);
    if (!box || m_design.controls[control].kind != ControlKind::PictureBox) {
        why = "not a picture box";
        return false;
    }
    auto picture = decodePicture(bytes, why);
    if (!picture)
        return false;
    setBoxPicture(box, std::move(picture));
    RedrawWindow(box, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    flushDrawing();
    return true;
}

} // namespace halvane::ui::win32
