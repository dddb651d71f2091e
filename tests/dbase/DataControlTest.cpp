// The data control: finding SHAMSI.DBF in "C:\" in any case, and when it
// opens the table (again).
#include "dbase/DataControl.h"

#include "tests/support/FaultyFileIo.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TableBuilder.h"
#include "tests/support/TableChecks.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

using namespace halvane;
using namespace halvane::test;
using dbase::DataControl;

namespace
{

std::string oneRecordTable(const std::string& es = "20010321")
{
    TableBuilder table;
    table.add(scheduleRecord(es));
    return table.bytes();
}

class TableName : public testing::TestWithParam<const char*>
{
};

TEST_P(TableName, IsFoundWithoutRegardToCase)
{
    TempDir prefix;
    ScopedEnv env("WINEPREFIX", prefix.path().string());
    std::filesystem::create_directories(prefix / "drive_c");
    TempDir elsewhere; // a table beside the program is not the one
    elsewhere.write("Shamsi.dbf", oneRecordTable());
    DataControl control;
    EXPECT_EQ(control.tablePath(), prefix / "drive_c" / "Shamsi.dbf");
    EXPECT_EQ(control.Recordset(), nullptr);

    const auto file = prefix.path() / "drive_c" / GetParam();
    std::ofstream(file, std::ios::binary) << oneRecordTable();
    EXPECT_EQ(control.tablePath(), file);
    auto* set = control.Recordset();
    ASSERT_NE(set, nullptr) << "the table that appeared after the window loaded is opened";
    EXPECT_EQ(set->Field("ES"), "2001-03-21");
}

INSTANTIATE_TEST_SUITE_P(Cases, TableName,
                         testing::Values("SHAMSI.DBF", "Shamsi.dbf", "shamsi.DBF", "sHaMsI.dBf"));

TEST(DataControl, TwoTablesDifferingInCaseAreRefused)
{
    TempDir prefix;
    ScopedEnv env("WINEPREFIX", prefix.path().string());
    std::filesystem::create_directories(prefix / "drive_c");
    std::ofstream(prefix / "drive_c" / "SHAMSI.DBF", std::ios::binary) << oneRecordTable();
    std::ofstream(prefix / "drive_c" / "shamsi.dbf", std::ios::binary) << oneRecordTable();
    DataControl control;
    control.Refresh();
    expectFailure([&] { control.Recordset(); }, err::CouldNotOpenFile,
                  {"SHAMSI.DBF", "shamsi.dbf"});
}

TEST(DataControl, OnlyAMissingTableGivesNoRecordSet)
{
    TempDir dir;
    DataControl missing(dir / "Shamsi.dbf");
    missing.Refresh();
    EXPECT_EQ(missing.Recordset(), nullptr);

    DataControl noFolder(dir / "absent" / "Shamsi.dbf");
    EXPECT_EQ(noFolder.Recordset(), nullptr);

    dir.write("broken.dbf", "not a table at all, but long enough to have a header......");
    DataControl broken(dir / "broken.dbf");
    broken.Refresh(); // never throws
    expectFailure([&] { broken.Recordset(); }, err::UnrecognizedFormat, {"broken.dbf"});

    std::filesystem::create_directory(dir / "folder.dbf");
    DataControl folder(dir / "folder.dbf");
    folder.Refresh();
    expectFailure([&] { folder.Recordset(); }, err::PathFileAccess, {"folder.dbf", "directory"});
}

TEST(DataControl, KeepsItsRecordSetWhileTheFileIsTheSame)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", oneRecordTable());
    FaultyFileIo io;
    DataControl control(file, dbase::Access::ReadWrite);
    control.Refresh();
    EXPECT_EQ(io.opens, 1);
    auto* set = control.Recordset();
    ASSERT_NE(set, nullptr);
    fillWalk(*set); // its own writes change neither identity nor size
    EXPECT_EQ(control.Recordset(), set);
    EXPECT_TRUE(control.Recordset()->Eof());
    EXPECT_EQ(io.opens, 1);
}

TEST(DataControl, ReopensAReplacedFile)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", oneRecordTable("20010321"));
    DataControl control(file);
    control.Refresh();
    ASSERT_NE(control.Recordset(), nullptr);
    // Same size, another file: written beside and renamed over the table.
    std::filesystem::rename(dir.write("new.dbf", oneRecordTable("20020101")), file);
    auto* set = control.Recordset();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Field("ES"), "2002-01-01");
}

TEST(DataControl, ReopensAFileThatChangedSize)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", oneRecordTable());
    DataControl control(file);
    control.Refresh();
    ASSERT_EQ(control.Recordset()->RecordCount(), 1);
    TableBuilder bigger;
    bigger.add(scheduleRecord("20010321")).add(scheduleRecord("20010322"));
    std::ofstream(file, std::ios::binary | std::ios::in) << bigger.bytes(); // same inode
    EXPECT_EQ(control.Recordset()->RecordCount(), 2);

    std::filesystem::remove(file);
    EXPECT_EQ(control.Recordset(), nullptr) << "a table that went away is not used";
}

} // namespace
