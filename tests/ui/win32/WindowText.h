// Reading a window's caption or text, its class name and the bitmap a
// picture control shows through the Win32 API, for the Win32 backend's
// tests.
#pragma once

#include <cstdlib>
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

// The bitmap the picture control `w` shows (STM_GETIMAGE); null for none.
inline HBITMAP shownBitmap(HWND w)
{
    return reinterpret_cast<HBITMAP>(SendMessageW(w, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

// The size of `bitmap` in pixels.
inline SIZE bitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, std::abs(info.bmHeight)};
}

} // namespace halvane::test
