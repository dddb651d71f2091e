#include "cli/Console.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string_view>

namespace halvane::cli
{
namespace
{

std::string utf8(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back(); // the closing zero
    return out;
}

UINT g_previousOutput = 0; // 0: not switched

} // namespace

std::vector<std::string> commandArguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) // cannot happen short of memory; the narrow arguments are better than none
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    // "/?" asks a Windows program for its help; no file can be named so.
    for (int i = 1; i < count; ++i)
        args.push_back(std::wstring_view(wide[i]) == L"/?" ? std::string("--help")
                                                           : utf8(wide[i]));
    LocalFree(wide);
    return args;
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
    restoreConsole();
}

void restoreConsole()
{
    if (g_previousOutput != 0)
        SetConsoleOutputCP(g_previousOutput);
    g_previousOutput = 0;
}

} // namespace halvane::cli
