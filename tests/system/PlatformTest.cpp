// Where the program's folders are: "C:\" and other Windows folder names as
// Wine maps them.
#include "system/Platform.h"

#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

namespace halvane::test
{
namespace
{

TEST(WindowsFolder, IsWinesDriveC)
{
    {
        ScopedEnv prefix("WINEPREFIX", "/srv/wine");
        EXPECT_EQ(platform::windowsFolder("C:\\"), std::filesystem::path("/srv/wine/drive_c"));
        EXPECT_EQ(platform::windowsFolder("c:\\Data\\Plans"),
                  std::filesystem::path("/srv/wine/drive_c/Data/Plans"));
        EXPECT_EQ(platform::windowsFolder("D:\\"),
                  std::filesystem::path("/srv/wine/dosdevices/d:"));
    }
    ScopedEnv home("HOME", "/home/planner");
    for (std::optional<std::string> unset :
         {std::optional<std::string>{}, std::optional<std::string>{""}}) {
        ScopedEnv prefix("WINEPREFIX", unset);
        EXPECT_EQ(platform::windowsFolder("C:\\"),
                  std::filesystem::path("/home/planner/.wine/drive_c"));
    }
}

} // namespace
} // namespace halvane::test
