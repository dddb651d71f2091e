#include "system/Platform.h"

#include "system/DisplayName.h"
#include "system/Failure.h"
#include "system/ProgramDirectory.h"
#include "system/Service.h"

namespace halvane::platform
{

std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Name(const std::filesystem::path& path)
{
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// The current directory of a Windows process carries its drive, so this
// makes the drive current too.
void makeCurrent(const std::filesystem::path& dir)
{
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec)
        throw Failure(err::PathNotFound, "Cannot make " + displayName(dir) +
                                             " the current directory: " + ec.message());
}

std::filesystem::path programDirectory()
{
    return service<ProgramDirectory>().path();
}

} // namespace halvane::platform
