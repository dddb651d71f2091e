// What Qt does not ask of an X11 window manager by itself: leaving a window
// off the task bar, and the size of the frame it will put around a window
// before that window is mapped, so a window can be centred frame and all.
// Elsewhere (other platforms, Qt's offscreen platform, no window manager)
// they do nothing.
#pragma once

#include <QMargins>
#include <optional>

class QWidget;

namespace halvane::ui::qt
{

// Asks the window manager to leave `window` off the task bar and pager.
// Before the window is first mapped, where Qt keeps it.
void keepOffTaskBar(QWidget& window);

// The frame extents (left, top, right, bottom) the window manager gives
// `window`: asked for with _NET_REQUEST_FRAME_EXTENTS before the window is
// mapped, or read from _NET_FRAME_EXTENTS once it is. Waits at most
// `timeoutMs` for the answer; nothing when the window manager gives none.
std::optional<QMargins> frameExtents(QWidget& window, int timeoutMs);

} // namespace halvane::ui::qt
