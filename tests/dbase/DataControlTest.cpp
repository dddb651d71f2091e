// The data control: finding SHAMSI.DBF in "C:\" in any case, and when it
// opens the table (again).
#include "dbase/DataControl.h"

#include "tests/support/FaultyFileIo.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TableBuilder.h"
#include "tests/support/TableChecks.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
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

// "C:\" as Wine maps it, where file names differ in case: POSIX only. On
// Windows the table in C:\ is found by the system, in any case of its name,
// which the Windows program tests check.
#ifndef _WIN32
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
#endif

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

TEST(DataControl, HoldsTheTableOnlyDuringARun)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", oneRecordTable());
    FaultyFileIo io;
    DataControl control(file, dbase::Access::ReadWrite);
    control.Refresh();
    EXPECT_EQ(io.opens, 1) << "the window's load opens and checks the table";
    EXPECT_EQ(io.closes, 1) << "and holds nothing afterwards";
    auto* set = control.Recordset();
    ASSERT_NE(set, nullptr);
    fillWalk(*set); // its own writes change neither identity, size nor header
    EXPECT_EQ(control.Recordset(), set) << "asked again after the walk: the same record set";
    EXPECT_TRUE(set->Eof());
    EXPECT_EQ(io.opens, 2);
    control.Close();
    EXPECT_EQ(io.closes, 2);
    std::filesystem::remove(file);
    EXPECT_EQ(control.Recordset(), nullptr) << "a table that went away between runs is missing";
}

// A dry run's table moved away during the run: the message says the records
// were read from the moved file, and that nothing was written.
TEST(DataControl, ADryRunSaysWhereItReadTheRecords)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", oneRecordTable());
    DataControl control(file, dbase::Access::DryRun);
    control.Refresh();
    fillWalk(*control.Recordset());
    std::filesystem::rename(file, dir / "moved.dbf");
    expectFailure([&] { control.Recordset(); }, err::TableChanged,
                  {"Shamsi.dbf was moved away; the 1 record of the run was read from the moved "
                   "file, not at this path (a dry run: nothing was written)"});
}

// Another program rewrites the table in place (same file, same size) after
// the window loaded it, or between two runs: each run reads it as it is then.
struct Rewrite {
    const char* name;
    bool betweenRuns; // else between the window's load and the first run
    bool newLayout;   // fields reordered as well as new contents
};

class RewrittenInPlace : public testing::TestWithParam<Rewrite>
{
};

TEST_P(RewrittenInPlace, TheRunWorksOnTheTableAsItIsNow)
{
    TableBuilder before;
    before.add(scheduleRecord("20010321", "20010322")).add(scheduleRecord("19991231"));
    TableBuilder after;
    if (GetParam().newLayout) {
        std::reverse(after.fields.begin(), after.fields.end());
        for (const auto& r : {scheduleRecord("20050101"), scheduleRecord("", "20060606")}) {
            auto reversed = r;
            std::reverse(reversed.begin(), reversed.end());
            after.add(reversed);
        }
    } else {
        after.add(scheduleRecord("20050101")).add(scheduleRecord("", "20060606"));
    }
    ASSERT_EQ(after.bytes().size(), before.bytes().size());

    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", before.bytes());
    DataControl control(file);
    control.Refresh();
    if (GetParam().betweenRuns) {
        fillWalk(*control.Recordset());
        control.Recordset();
        control.Close();
    }
    std::ofstream(file, std::ios::binary | std::ios::in) << after.bytes(); // same file, rewritten
    auto* set = control.Recordset();
    ASSERT_NE(set, nullptr);
    fillWalk(*set);
    EXPECT_EQ(control.Recordset(), set);
    control.Close();

    const std::string filled = readFile(file);
    auto reopened = dbase::DbfRecordSet::open(file, dbase::Access::DryRun);
    EXPECT_EQ(
        changedOutside(after.bytes(), filled, writableBytes(reopened->layout(), filled.size())),
        std::vector<long>{});
    EXPECT_EQ(reopened->Field("SHES"), "D20050101");
    EXPECT_EQ(reopened->Field("SHEF"), "");
    reopened->MoveNext();
    EXPECT_EQ(reopened->Field("SHES"), "");
    EXPECT_EQ(reopened->Field("SHEF"), "D20060606");
}

INSTANTIATE_TEST_SUITE_P(Moments, RewrittenInPlace,
                         testing::Values(Rewrite{"ContentAfterLoad", false, false},
                                         Rewrite{"ContentAndLayoutAfterLoad", false, true},
                                         Rewrite{"ContentBetweenRuns", true, false},
                                         Rewrite{"ContentAndLayoutBetweenRuns", true, true}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
