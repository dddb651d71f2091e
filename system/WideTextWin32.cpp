#include "system/WideText.h"

#include <windows.h>

namespace halvane
{

std::wstring wide(std::string_view utf8Text)
{
    if (utf8Text.empty())
        return {};
    const int size = static_cast<int>(utf8Text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), size, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), size, out.data(), n);
    return out;
}

std::string utf8(std::wstring_view utf16Text)
{
    if (utf16Text.empty())
        return {};
    const int size = static_cast<int>(utf16Text.size());
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, utf16Text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16Text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace halvane
