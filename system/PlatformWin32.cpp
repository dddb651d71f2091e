// The platform on Windows.
#include "system/Failure.h"
#include "system/Platform.h"
#include "system/ProgramDirectory.h"

#include <string>
#include <system_error>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace halvane
{
namespace
{

class ExecutableDirectory final : public ProgramDirectory
{
public:
    std::filesystem::path path() override
    {
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            const DWORD n =
                GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (n == 0)
                throw Failure(err::PathNotFound, "Cannot tell the program's own directory");
            if (n < buffer.size()) {
                buffer.resize(n);
                break;
            }
            buffer.resize(buffer.size() * 2);
        }
        return std::filesystem::path(buffer).parent_path();
    }
};

} // namespace

ProgramDirectory& ProgramDirectory::system()
{
    static ExecutableDirectory system;
    return system;
}

namespace platform
{

std::filesystem::path windowsFolder(std::string_view windowsName)
{
    return pathFromUtf8(windowsName);
}

std::vector<std::string> commandArguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) // cannot happen short of memory; the narrow arguments are better than none
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(utf8Name(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return args;
}

std::FILE* openForReading(const std::filesystem::path& file)
{
    // The wide name: fopen would read a narrow one in the ANSI code page.
    return _wfopen(file.c_str(), L"rb");
}

bool isNormalFile(const std::filesystem::path& file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes &
             (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

} // namespace platform
} // namespace halvane
