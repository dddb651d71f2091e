// Reading a window's caption or text and its class name through the Win32
// API, for the Win32 backend's tests.
#pragma once

#include <string>
#include <windows.h>

namespace halvane::test
{

inline std::wstring textOf(HWND w)
{
    wchar_t text[512] = {};
    GetWindowTextW(w, text, 512);
    return text;
}

inline std::wstring classOf(HWND w)
{
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

} // namespace halvane::test
