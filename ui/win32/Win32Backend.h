// The Win32 backend in place for the life of the windowed program: COM for
// the picture decoders, its window system and its host (message boxes, the
// end of the process) as the services in force.
#pragma once

#include "system/Service.h"
#include "ui/win32/Win32Host.h"
#include "ui/win32/Win32WindowSystem.h"

namespace halvane::ui::win32
{

class Win32Backend
{
public:
    Win32Backend();
    // Every window left goes first, while the window system is still there.
    ~Win32Backend();
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

private:
    struct ComApartment {
        ComApartment();
        ~ComApartment();
        bool initialised;
    };

    ComApartment m_com;
    Win32WindowSystem m_windowSystem;
    Win32Host m_host;
    ReplaceService<WindowSystem> m_windowSystemScope{m_windowSystem};
    ReplaceService<Host> m_hostScope{m_host};
};

} // namespace halvane::ui::win32
