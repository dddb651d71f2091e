// A Persian name written to a Windows console reads back from the console's
// screen buffer as the characters it is (ReadConsoleOutputCharacterW), not
// as the UTF-8 bytes shown one by one in a code page.
#include "cli/Console.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace halvane::test
{
namespace
{

std::wstring wide(const std::string& utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), n);
    return text;
}

TEST(ConsoleWin32, PersianNameReadsBackFromTheScreenBuffer)
{
    // A console of this process's own, whatever it had.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HANDLE screen =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE);
    std::FILE* console =
        _fdopen(_open_osfhandle(reinterpret_cast<intptr_t>(screen), _O_WRONLY), "w");
    ASSERT_NE(console, nullptr);

    CONSOLE_SCREEN_BUFFER_INFO info{};
    ASSERT_TRUE(GetConsoleScreenBufferInfo(screen, &info));
    const COORD start = info.dwCursorPosition;
    const std::string line = "C:\\جدول‌ها\\شمسی.dbf: 3 records";
    std::fputs("> ", console); // buffered: written before the name
    ASSERT_TRUE(cli::writeText(console, line + "\n"));

    const std::wstring expected = L"> " + wide(line);
    std::wstring cells(expected.size(), L'\0');
    DWORD read = 0;
    ASSERT_TRUE(
        ReadConsoleOutputCharacterW(screen, cells.data(), DWORD(cells.size()), start, &read));
    cells.resize(read);
    EXPECT_EQ(cells, expected);

    std::fclose(console);
    FreeConsole();
}

} // namespace
} // namespace halvane::test
