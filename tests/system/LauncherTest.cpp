// The system's launcher: starts a program file on its own and returns at
// once, and refuses what cannot be started.
#include "system/Launcher.h"

#include "tests/support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace halvane::test
{
namespace
{

namespace fs = std::filesystem;

class LauncherTest : public ::testing::Test
{
protected:
    // A shell script that leaves `marker` behind when it runs.
    std::string script(const char* name, const fs::path& marker)
    {
        fs::path file = dir.write(name, "#!/bin/sh\ntouch '" + marker.string() + "'\n");
        fs::permissions(file, fs::perms::owner_exec, fs::perm_options::add);
        return file.string();
    }
    static bool appears(const fs::path& file)
    {
        for (int i = 0; i < 200 && !fs::exists(file); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        return fs::exists(file);
    }

    TempDir dir;
};

TEST_F(LauncherTest, StartsAProgramWithoutWaitingForIt)
{
    const fs::path marker = dir / "ran";
    EXPECT_TRUE(Launcher::system().startDetached(script("tool", marker)));
    EXPECT_TRUE(appears(marker));
}

TEST_F(LauncherTest, APathEndsAtItsFirstZero)
{
    const fs::path marker = dir / "ran";
    EXPECT_TRUE(Launcher::system().startDetached(script("tool", marker) + '\0' + "junk"));
    EXPECT_TRUE(appears(marker));
}

TEST_F(LauncherTest, RefusesWhatCannotBeStarted)
{
    const fs::path text = dir.write("readme.txt", "not a program\n");
    fs::create_directory(dir / "folder");
    for (const std::string& program :
         {std::string(), (dir / "missing").string(), text.string(), (dir / "folder").string()})
        EXPECT_FALSE(Launcher::system().startDetached(program)) << program;
}

} // namespace
} // namespace halvane::test
