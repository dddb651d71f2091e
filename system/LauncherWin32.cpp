// Starting a program on Windows: in a normal window that gets the focus, as
// a process of its own that this program neither waits for nor ends.
#include "system/Launcher.h"

#include <string>
#include <windows.h>

namespace halvane
{
namespace
{

// Text in the system's code page, as the registry's single-byte calls give it.
std::wstring fromCodePage(const std::string& text)
{
    if (text.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

class DetachedLauncher final : public Launcher
{
public:
    bool startDetached(const std::string& program) override
    {
        const std::wstring path = fromCodePage(std::string(program.c_str()));
        if (path.empty())
            return false;
        std::wstring commandLine = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
};

} // namespace

Launcher& Launcher::system()
{
    static DetachedLauncher system;
    return system;
}

} // namespace halvane
