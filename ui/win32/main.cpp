// qrx2: the windowed program on Windows. Start-up is Module1's Main; the
// program then runs as long as any of its windows is open.
#include "ui/forms/Module1.h"
#include "ui/forms/WindowServices.h"
#include "ui/win32/Win32Backend.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    halvane::ui::win32::Win32Backend backend;
    halvane::ui::handleEvent(halvane::ui::Module1::Main);
    return halvane::ui::runEventLoop();
}
