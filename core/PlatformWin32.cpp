// The platform on Windows.
#include "core/Failure.h"
#include "core/Platform.h"
#include "core/ProgramDirectory.h"

#include <string>
#include <system_error>
#include <windows.h>

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
