// The Qt backend in place for the life of the windowed program: its window
// system and its host (message boxes, the end of the process) become the
// services in force, the application title is "qrx2", and Qt's own rule of
// ending with the last window is off (it does not count tool windows; the
// window services keep the process running while any window is open).
#pragma once

#include "system/Service.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/QtWindowSystem.h"

class QApplication;

namespace halvane::ui::qt
{

class QtBackend
{
public:
    explicit QtBackend(QApplication& app);
    // Every window left goes first, while Qt is still there.
    ~QtBackend();
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

private:
    QtWindowSystem m_windowSystem;
    QtHost m_host;
    ReplaceService<WindowSystem> m_windowSystemScope{m_windowSystem};
    ReplaceService<Host> m_hostScope{m_host};
};

} // namespace halvane::ui::qt
