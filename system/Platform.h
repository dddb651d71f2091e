// What the program asks of the operating system about folders and files,
// behind one interface; PlatformPosix.cpp and PlatformWin32.cpp answer it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::platform
{

// Names of files are kept in UTF-8 inside the program. A path's narrow form
// is not that on Windows (it is the ANSI code page, which cannot hold every
// name), so paths are made from and turned into text only through these.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8Name(const std::filesystem::path& path);

// Opens an existing file for reading bytes, whatever characters its name
// holds; nullptr with errno set when it cannot.
std::FILE* openForReading(const std::filesystem::path& file);

// The arguments after the program's name, in UTF-8. On Windows they come
// from the wide command line (the narrow one is in the ANSI code page, which
// cannot hold a Persian folder name on every system); `argc` and `argv` are
// used there only when it cannot be read. Elsewhere they are argv's, which
// already are UTF-8.
std::vector<std::string> commandArguments(int argc, char** argv);

// The program's own directory (the ProgramDirectory service in force).
std::filesystem::path programDirectory();

// Makes `dir` the current directory (and, on Windows, its drive the current
// drive). Throws Failure 76 (path not found) when it cannot.
void makeCurrent(const std::filesystem::path& dir);

// The folder a Windows folder name such as "C:\" stands for. On Windows, the
// folder itself. Elsewhere the drive as Wine maps it, so that a file written
// by Windows software running under Wine is found: C: is $WINEPREFIX/drive_c
// (by default ~/.wine/drive_c), another drive X: is $WINEPREFIX/dosdevices/x:,
// and the rest of the name follows below it.
std::filesystem::path windowsFolder(std::string_view windowsName);

// True when `file` names a normal file as a directory listing of normal
// files shows it: not a folder, not hidden (not a system file on Windows).
bool isNormalFile(const std::filesystem::path& file);

} // namespace halvane::platform
