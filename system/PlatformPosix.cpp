// The platform on POSIX systems, where "C:\" is the drive that Wine maps.
#include "system/Failure.h"
#include "system/Platform.h"
#include "system/ProgramDirectory.h"

#include <cctype>
#include <cstdlib>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace halvane
{
namespace
{

class ExecutableDirectory final : public ProgramDirectory
{
public:
    std::filesystem::path path() override
    {
        std::error_code ec;
        auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (ec)
            throw Failure(
                err::PathNotFound,
                "Cannot tell the program's own directory (/proc/self/exe: " + ec.message() + ")");
        return exe.parent_path();
    }
};

std::filesystem::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir)
        return user->pw_dir;
    return "/";
}

std::filesystem::path winePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    return homeFolder() / ".wine";
}

} // namespace

ProgramDirectory& ProgramDirectory::system()
{
    static ExecutableDirectory system;
    return system;
}

namespace platform
{

std::vector<std::string> commandArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::filesystem::path windowsFolder(std::string_view windowsName)
{
    std::filesystem::path folder;
    std::string_view rest = windowsName;
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0])));
        folder = drive == 'c' ? winePrefix() / "drive_c"
                              : winePrefix() / "dosdevices" / (std::string(1, drive) + ":");
        rest.remove_prefix(2);
    }
    while (!rest.empty()) {
        const auto end = rest.find_first_of("\\/");
        if (auto part = rest.substr(0, end); !part.empty())
            folder /= std::filesystem::path(part);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    return folder;
}

std::FILE* openForReading(const std::filesystem::path& file)
{
    return std::fopen(file.c_str(), "rb");
}

bool isNormalFile(const std::filesystem::path& file)
{
    std::error_code ec;
    const std::string name = file.filename().string();
    return std::filesystem::is_regular_file(file, ec) && !name.empty() && name[0] != '.';
}

} // namespace platform
} // namespace halvane
