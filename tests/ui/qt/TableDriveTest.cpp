// The Linux program's start-up folder for the table: "C:\" made where Wine
// maps it when it is missing, and nothing else made or changed.
#include "ui/qt/TableDrive.h"

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace halvane::test
{
namespace
{

namespace fs = std::filesystem;

TEST(TableDrive, MadeBelowTheWinePrefixWhenMissingAndEmpty)
{
    TempDir home;
    ScopedEnv prefix("WINEPREFIX", (home / "wine prefix").string());
    ASSERT_TRUE(ui::qt::makeTableDrive());
    EXPECT_TRUE(fs::is_directory(home / "wine prefix" / "drive_c"));
    EXPECT_TRUE(fs::is_empty(home / "wine prefix" / "drive_c")) << "never a table";
    EXPECT_TRUE(ui::qt::makeTableDrive()) << "there already";
}

TEST(TableDrive, DefaultIsTheHomeFoldersWine)
{
    TempDir home;
    ScopedEnv noPrefix("WINEPREFIX", std::nullopt);
    ScopedEnv homeFolder("HOME", home.path().string());
    ASSERT_TRUE(ui::qt::makeTableDrive());
    EXPECT_TRUE(fs::is_directory(home / ".wine" / "drive_c"));
}

TEST(TableDrive, ExistingDriveAndTableLeftAsTheyAre)
{
    TempDir home;
    ScopedEnv prefix("WINEPREFIX", home.path().string());
    fs::create_directory(home / "drive_c");
    const fs::path table = home.write("drive_c/Shamsi.dbf", "table bytes");
    ASSERT_TRUE(ui::qt::makeTableDrive());
    EXPECT_EQ(fs::file_size(table), 11u);
}

TEST(TableDrive, FileInTheWayIsReportedNotReplaced)
{
    TempDir home;
    ScopedEnv prefix("WINEPREFIX", home.path().string());
    home.write("drive_c", "a file");
    EXPECT_FALSE(ui::qt::makeTableDrive());
    EXPECT_TRUE(fs::is_regular_file(home / "drive_c"));
}

} // namespace
} // namespace halvane::test
