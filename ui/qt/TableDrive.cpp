#include "ui/qt/TableDrive.h"

#include "system/Platform.h"

#include <system_error>

namespace halvane::ui::qt
{

bool makeTableDrive()
{
    const std::filesystem::path drive = platform::windowsFolder("C:\\");
    std::error_code ec;
    if (std::filesystem::is_directory(drive, ec))
        return true;
    std::filesystem::create_directories(drive, ec);
    return std::filesystem::is_directory(drive, ec);
}

} // namespace halvane::ui::qt
