#include "ui/win32/Win32Host.h"

#include "ui/forms/WindowServices.h"
#include "ui/win32/Win32Style.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>

namespace halvane::ui::win32
{

void Win32Host::messageBox(std::string_view text, std::string_view title)
{
    // No owner and task-modal: every window of the program waits for it.
    MessageBoxW(nullptr, wide(text).c_str(), wide(title).c_str(),
                MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
    restoreActiveWindow();
}

void Win32Host::endProcess()
{
    // Saved records are already in the table file; Windows takes every
    // window away with the process.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace halvane::ui::win32
