// qrx2: the windowed program on Windows. Start-up is Module1's Main, with the
// options of the command line; the program then runs as long as any of its
// windows is open.
#include "system/Platform.h"
#include "ui/forms/Module1.h"
#include "ui/forms/WindowServices.h"
#include "ui/win32/Win32Backend.h"

#include <cstdlib>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    halvane::ui::win32::Win32Backend backend;
    const auto options =
        halvane::ui::StartOptions::parse(halvane::platform::commandArguments(__argc, __argv));
    halvane::ui::handleEvent([&] { halvane::ui::Module1::Main(options); });
    return halvane::ui::runEventLoop();
}
