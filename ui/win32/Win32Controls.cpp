#include "ui/win32/Win32Controls.h"

#include "ui/win32/Win32Style.h"

#include <optional>
#include <windowsx.h>

namespace halvane::ui::win32
{
namespace
{

struct ControlState {
    ControlKind kind;
    ControlLook look;
    HFONT font = nullptr;
    bool pressed = false; // a click area's left button went down over it
};

ControlState* stateOf(HWND control)
{
    return reinterpret_cast<ControlState*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

void paint(HWND control, const ControlState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control, &ps);
    RECT client;
    GetClientRect(control, &client);
    switch (state.kind) {
    case ControlKind::PictureBox:
        FillRect(dc, &client, brushOf(state.look.background));
        if (state.look.picture) {
            // From the top-left corner, clipped to the box by the DC.
            const SIZE size = state.look.picture->size();
            const int dpi = state.look.dpi;
            state.look.picture->drawStretched(
                dc, {0, 0, MulDiv(size.cx, dpi, 96), MulDiv(size.cy, dpi, 96)});
        }
        break;
    case ControlKind::StretchedPicture:
        FillRect(dc, &client, brushOf(state.look.background));
        if (state.look.picture)
            state.look.picture->drawStretched(dc, client);
        break;
    case ControlKind::Frame: {
        FillRect(dc, &client, brushOf(state.look.background));
        HGDIOBJ previous = SelectObject(dc, state.font ? state.font : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        // The border runs through the middle of the caption's line.
        RECT border = client;
        border.top += metrics.tmHeight / 2;
        DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
        wchar_t caption[256];
        const int length = GetWindowTextW(control, caption, 256);
        if (length > 0) {
            SetBkColor(dc, state.look.background);
            SetTextColor(dc, state.look.foreground);
            RECT text{client.left + 8, client.top, client.right - 8, client.top + metrics.tmHeight};
            DrawTextW(dc, caption, length, &text, DT_LEFT | DT_TOP | DT_SINGLELINE);
        }
        SelectObject(dc, previous);
        break;
    }
    case ControlKind::Line:
        FillRect(dc, &client, brushOf(state.look.foreground));
        break;
    default: // a click area draws nothing
        break;
    }
    EndPaint(control, &ps);
}

// Tells the window the control is in that it was clicked, as a button does.
void reportClick(HWND control)
{
    SendMessageW(GetParent(control), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

// The state of a control being made, from its creation parameter.
void attachState(ControlKind kind, HWND control, LPARAM lParam)
{
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    const auto* look = static_cast<const ControlLook*>(create->lpCreateParams);
    auto* made = new ControlState{kind, look ? *look : ControlLook{}};
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
}

// Painting, the font and the picture: what the message returns, or nothing when it is
// left to DefWindowProcW.
std::optional<LRESULT> drawing(ControlState* state, HWND control, UINT message, WPARAM wParam,
                               LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        if (!state)
            return std::nullopt;
        paint(control, *state);
        return 0;
    case WM_SETFONT:
        if (state) {
            state->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam))
                InvalidateRect(control, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case STM_GETIMAGE:
        // The bitmap shown, as a Windows picture control gives it.
        return state && state->look.picture && wParam == IMAGE_BITMAP
                   ? reinterpret_cast<LRESULT>(state->look.picture->bitmap())
                   : 0;
    default:
        return std::nullopt;
    }
}

// The mouse: what the message returns, or nothing when it is left to
// DefWindowProcW.
std::optional<LRESULT> mouse(ControlState* state, HWND control, UINT message, LPARAM lParam)
{
    const auto is = [state](ControlKind kind) { return state && state->kind == kind; };
    switch (message) {
    case WM_NCHITTEST:
        // Lines and stretched pictures take no input: the mouse reaches what
        // lies below them.
        if (is(ControlKind::Line) || is(ControlKind::StretchedPicture))
            return HTTRANSPARENT;
        return std::nullopt;
    case WM_SETCURSOR:
        if (is(ControlKind::ClickArea) && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // IDC_HAND
            return TRUE;
        }
        return std::nullopt;
    case WM_LBUTTONDOWN:
        if (is(ControlKind::PictureBox))
            SetFocus(control);
        if (is(ControlKind::ClickArea)) {
            state->pressed = true;
            SetCapture(control);
        }
        return 0;
    case WM_LBUTTONUP:
        if (is(ControlKind::ClickArea) && state->pressed) {
            state->pressed = false;
            ReleaseCapture();
            RECT client;
            GetClientRect(control, &client);
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (PtInRect(&client, at))
                reportClick(control);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (state)
            state->pressed = false;
        return 0;
    default:
        return std::nullopt;
    }
}

LRESULT controlProc(ControlKind kind, HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlState* state = stateOf(control);
    switch (message) {
    case WM_NCCREATE:
        attachState(kind, control, lParam);
        break;
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrW(control, GWLP_USERDATA, 0);
        break;
    // A container passes its children's notifications on to its parent.
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetParent(control), message, wParam, lParam);
    default:
        if (auto result = drawing(state, control, message, wParam, lParam))
            return *result;
        if (auto result = mouse(state, control, message, lParam))
            return *result;
        break;
    }
    return DefWindowProcW(control, message, wParam, lParam);
}

// The window procedure of the class of `Kind`.
template <ControlKind Kind>
LRESULT CALLBACK classProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlProc(Kind, control, message, wParam, lParam);
}

void registerClass(ControlKind kind, WNDPROC proc)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = controlClass(kind);
    RegisterClassExW(&wc);
}

} // namespace

void registerControlClasses()
{
    static const bool registered = [] {
        registerClass(ControlKind::PictureBox, classProc<ControlKind::PictureBox>);
        registerClass(ControlKind::StretchedPicture, classProc<ControlKind::StretchedPicture>);
        registerClass(ControlKind::ClickArea, classProc<ControlKind::ClickArea>);
        registerClass(ControlKind::Frame, classProc<ControlKind::Frame>);
        registerClass(ControlKind::Line, classProc<ControlKind::Line>);
        return true;
    }();
    (void)registered;
}

const wchar_t* controlClass(ControlKind kind)
{
    switch (kind) {
    case ControlKind::PictureBox:
        return kPictureBoxClass;
    case ControlKind::StretchedPicture:
        return kStretchedPictureClass;
    case ControlKind::ClickArea:
        return kClickAreaClass;
    case ControlKind::Frame:
        return kFrameClass;
    case ControlKind::Line:
        return kLineClass;
    case ControlKind::PushButton:
    case ControlKind::Label:
    case ControlKind::DataControl:
        break;
    }
    return nullptr;
}

void setBoxPicture(HWND box, std::shared_ptr<const Picture> picture)
{
    if (ControlState* state = stateOf(box))
        state->look.picture = std::move(picture);
}

} // namespace halvane::ui::win32
