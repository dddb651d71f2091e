#include "cli/Console.h"
#include "system/WideText.h"

#include <io.h>
#include <string>
#include <windows.h>

namespace halvane::cli
{
namespace
{

UINT g_previousOutput = 0; // 0: not switched

} // namespace

void takeWindowsHelpSwitch(std::vector<std::string>& args)
{
    // "/?" asks a Windows program for its help; no file can be named so.
    for (std::string& arg : args)
        if (arg == "/?")
            arg = "--help";
}

Utf8Console::Utf8Console()
{
    // 0 when the process has no console (output redirected from a service,
    // say): then there is nothing to switch.
    if (const UINT current = GetConsoleOutputCP(); current != 0 && current != CP_UTF8) {
        g_previousOutput = current;
        SetConsoleOutputCP(CP_UTF8);
    }
}

Utf8Console::~Utf8Console()
{
    if (g_previousOutput != 0)
        SetConsoleOutputCP(g_previousOutput);
    g_previousOutput = 0;
}

bool isTerminal(std::FILE* out)
{
    return _isatty(_fileno(out)) != 0;
}

StandardStreams openStandardStreams()
{
    return {};
}

bool writeText(std::FILE* out, std::string_view text)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(out)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode) || text.empty())
        return std::fwrite(text.data(), 1, text.size(), out) == text.size();
    std::fflush(out);
    const std::wstring characters = wide(text);
    DWORD written = 0;
    return WriteConsoleW(handle, characters.data(), static_cast<DWORD>(characters.size()), &written,
                         nullptr) &&
           written == characters.size();
}

} // namespace halvane::cli
