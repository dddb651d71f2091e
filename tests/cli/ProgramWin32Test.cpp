// shamsi-dates.exe run as a Windows user runs it: from a folder and on a
// table whose names are Persian, on C:\Shamsi.dbf by default, and on a table
// that another program holds open. (Under Wine the host's Python cannot be
// started, so the independent read-back of the native build's program tests
// is not repeated here; each filled table is checked against the conversion
// and against every byte outside the destinations.)
#include "system/Platform.h"
#include "core/ShamsiConv.h"
#include "dbase/DbfRecordSet.h"
#include "run/ConversionRun.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScheduleTables.h"
#include "tests/support/TableChecks.h"

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

using namespace halvane;
using namespace halvane::test;
namespace fs = std::filesystem;

namespace
{

const fs::path kProgramDir = platform::pathFromUtf8(builtProgram("shamsi-dates")).parent_path();

// Every destination holds the conversion of its source, and nothing else
// of the file changed but the header's date.
void expectFilled(const std::string& before, const fs::path& table)
{
    const std::string after = readFile(table);
    auto set = dbase::DbfRecordSet::open(table, dbase::Access::DryRun);
    EXPECT_EQ(changedOutside(before, after, writableBytes(set->layout(), after.size())),
              std::vector<long>{});
    for (long r = 1; !set->Eof(); set->MoveNext(), ++r)
        for (const auto& [source, destination] : run::kFieldPairs) {
            const auto date = set->Field(source);
            const std::string expected =
                date ? shamsiDate(deliveredDates(), *date).value_or("") : " ";
            EXPECT_EQ(set->Field(destination).value_or(""),
                      expected.substr(0, expected.find_last_not_of(' ') + 1))
                << "record " << r << " " << destination;
        }
}

std::string run(const std::vector<std::string>& args, const TempDir& dir, int& status)
{
    const auto output = dir / "output.txt";
    status = ChildProcess(args, platform::utf8Name(output)).wait();
    return readFile(output);
}

TEST(WindowsProgram, FillsATableFromAPersianFolderInAPersianFolder)
{
    TempDir dir;
    // The program with DATES.TXT beside it, in a folder of its own.
    const fs::path program = dir.path() / platform::pathFromUtf8("برنامهٔ تاریخ");
    fs::create_directory(program);
    fs::copy_file(kProgramDir / "shamsi-dates.exe", program / "shamsi-dates.exe");
    fs::copy_file(kProgramDir / "DATES.TXT", program / "DATES.TXT");
    const fs::path folder = dir.path() / platform::pathFromUtf8("جدول زمان‌بندی");
    fs::create_directory(folder);
    const std::string before = threeRecords().bytes();
    const fs::path table = folder / "Shamsi.dbf";
    writeFile(table, before);

    int status = 0;
    const std::string output = run(
        {platform::utf8Name(program / "shamsi-dates.exe"), platform::utf8Name(table)}, dir, status);
    EXPECT_EQ(status, 0) << output;
    // The name on the console is the Persian name, not question marks.
    EXPECT_NE(output.find(platform::utf8Name(table) + ": 3 records"), std::string::npos) << output;
    expectFilled(before, table);
}

TEST(WindowsProgram, FillsShamsiDbfInTheRootOfDriveC)
{
    const fs::path table = "C:\\Shamsi.dbf";
    const std::string before = threeRecords().bytes();
    writeFile(table, before);
    if (readFile(table) != before)
        GTEST_SKIP() << "C:\\ cannot be written here (it can in the test's own Wine prefix)";
    TempDir dir;
    int status = 0;
    const std::string output = run({builtProgram("shamsi-dates")}, dir, status);
    EXPECT_EQ(status, 0) << output;
    expectFilled(before, table);
    fs::remove(table);
}

// A table another program holds open is refused unchanged, with what that
// program does not share; once it lets go, the table is filled.
struct Holder {
    const char* name;
    DWORD share;
    const char* says;
};

class HeldTable : public testing::TestWithParam<Holder>
{
};

TEST_P(HeldTable, IsRefusedUnchangedSayingWhatTheHolderDoesNotShare)
{
    TempDir dir;
    const std::string before = threeRecords().bytes();
    const fs::path table = dir.write("Shamsi.dbf", before);
    HANDLE held = CreateFileW(table.c_str(), GENERIC_READ | GENERIC_WRITE, GetParam().share,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    int status = 0;
    const std::string output =
        run({builtProgram("shamsi-dates"), platform::utf8Name(table)}, dir, status);
    CloseHandle(held);
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("Shamsi.dbf"), std::string::npos) << output;
    EXPECT_NE(output.find(std::string("the file is open in another program that ") +
                          GetParam().says + " (sharing violation)"),
              std::string::npos)
        << output;
    EXPECT_EQ(readFile(table), before) << "nothing is lost or written";

    EXPECT_EQ(ChildProcess({builtProgram("shamsi-dates"), platform::utf8Name(table)}).wait(), 0);
    expectFilled(before, table);
}

INSTANTIATE_TEST_SUITE_P(
    Holders, HeldTable,
    testing::Values(Holder{"SharingNothing", 0, "lets no other program read or write it"},
                    Holder{"SharingReading", FILE_SHARE_READ,
                           "lets others read it but not write it"},
                    Holder{"SharingWriting", FILE_SHARE_WRITE,
                           "lets others write it but not read it"}),
    [](const auto& p) { return std::string(p.param.name); });

// Names Windows keeps for devices, in any folder and with any extension:
// refused as such, not opened.
class DeviceName : public testing::TestWithParam<const char*>
{
};

TEST_P(DeviceName, IsRefusedAsADeviceNotATable)
{
    TempDir dir;
    int status = 0;
    const std::string output = run({builtProgram("shamsi-dates"), GetParam()}, dir, status);
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find(std::string(GetParam()) + " is the name of a device, not a dBASE table"),
              std::string::npos)
        << output;
}

INSTANTIATE_TEST_SUITE_P(Names, DeviceName,
                         testing::Values("C:\\CON", "C:\\NUL.dbf", "C:\\COM1", "C:\\lpt9.DBF",
                                         "C:\\Aux .dbf", "C:\\conin$"),
                         [](const auto& p) {
                             std::string name;
                             for (const char* c = p.param + 3; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

TEST(WindowsProgram, SlashQuestionMarkShowsTheHelp)
{
    TempDir dir;
    int status = 0;
    const std::string output = run({builtProgram("shamsi-dates"), "/?"}, dir, status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_TRUE(output.starts_with("Usage: shamsi-dates [OPTIONS] [TABLE]")) << output;
}

} // namespace
