// Message boxes and the end of the process for the windowed program on
// Windows: the Host service (system/Host.h) while the Win32 backend is in
// place.
#pragma once

#include "system/Host.h"

#include <string_view>

namespace halvane::ui::win32
{

class Win32Host final : public Host
{
public:
    // MessageBoxW: OK only, no icon, modal to every window of the program,
    // in front; then the window that was active before is active again.
    void messageBox(std::string_view text, std::string_view title) override;
    // Immediate, with status 0: no handler, destructor or exit routine of the
    // program runs.
    [[noreturn]] void endProcess() override;
};

} // namespace halvane::ui::win32
