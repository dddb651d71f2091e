// Text between the UTF-8 the program keeps and the UTF-16 of the Windows API,
// for the Windows build only. The program carries its own conversion since
// the Windows build has neither ICU nor Qt; this one is the Windows API's
// own (MultiByteToWideChar and WideCharToMultiByte with CP_UTF8), written
// once for the table engine's messages, the console and the Win32 windows.
#pragma once

#include <string>
#include <string_view>

namespace halvane
{

// UTF-8 as UTF-16. A byte that begins no valid sequence becomes U+FFFD, as
// Windows converts it; empty text stays empty.
std::wstring wide(std::string_view utf8Text);
// UTF-16 as UTF-8. An unpaired surrogate becomes U+FFFD (EF BF BD), as
// Windows converts it; empty text stays empty.
std::string utf8(std::wstring_view utf16Text);

} // namespace halvane
