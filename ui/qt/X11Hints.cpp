#include "ui/qt/X11Hints.h"

#include <QGuiApplication>
#include <QWidget>

#if HALVANE_X11
#include <QDeadlineTimer>
#include <QThread>
#include <QtGui/qguiapplication_platform.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>
#endif

namespace halvane::ui::qt
{

#if HALVANE_X11
namespace
{

template <class Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? screen->root : xcb_window_t(XCB_WINDOW_NONE);
}

// Whether the running window manager lists `feature` in _NET_SUPPORTED.
bool supported(xcb_connection_t* c, xcb_atom_t feature)
{
    const xcb_atom_t netSupported = atom(c, "_NET_SUPPORTED");
    auto cookie = xcb_get_property(c, 0, rootOf(c), netSupported, XCB_ATOM_ATOM, 0, 1024);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr),
                                             &std::free);
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (atoms[i] == feature)
            return true;
    return false;
}

std::optional<QMargins> readExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents)
{
    auto cookie = xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr),
                                             &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    // left, right, top, bottom
    return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
}

} // namespace

void keepOffTaskBar(QWidget& window)
{
    xcb_connection_t* c = connection();
    if (!c)
        return;
    // Qt marks tool windows as utility windows, which some task bars still
    // list; the window-manager state says it outright.
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t states[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()), state,
                        XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(c);
}

std::optional<QMargins> frameExtents(QWidget& window, int timeoutMs)
{
    xcb_connection_t* c = connection();
    if (!c)
        return std::nullopt;
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    if (!supported(c, extents))
        return std::nullopt; // no window manager, or one that does not tell
    const auto id = static_cast<xcb_window_t>(window.winId());
    if (auto known = readExtents(c, id, extents))
        return known;
    if (!window.isVisible()) {
        // Before it is mapped, a window learns its frame only by asking.
        const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
        if (!supported(c, request))
            return std::nullopt;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = request;
        xcb_send_event(c, 0, rootOf(c),
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c);
    }
    // The answer is a property change; asking for the property again needs
    // no event to be handled, so no user input is taken meanwhile.
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (auto known = readExtents(c, id, extents))
            return known;
        QThread::msleep(2);
    }
    return std::nullopt;
}

#else

void keepOffTaskBar(QWidget&) {}

std::optional<QMargins> frameExtents(QWidget&, int)
{
    return std::nullopt;
}

#endif

} // namespace halvane::ui::qt
