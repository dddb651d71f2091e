// The command line of shamsi-dates and the list of dates not found: the parts
// of the runner that are not the run itself.
#include "cli/CommandLine.h"

#include "cli/NotFoundList.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace halvane::cli;
using halvane::test::written;

namespace
{

struct ParseCase {
    std::vector<std::string_view> args;
    std::string table; // "" for none
    std::string dates; // "" for none
    bool dryRun;
    std::string error; // "" when the arguments are good
    bool exact = false;
    bool fourDigitYear = false;
};

class ParseCommandLine : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseCommandLine, ReadsTheRequest)
{
    const ParseCase& c = GetParam();
    const CommandLine got = CommandLine::parse(c.args);
    EXPECT_EQ(got.error, c.error);
    if (!c.error.empty())
        return;
    EXPECT_EQ(got.table ? got.table->string() : "", c.table);
    EXPECT_EQ(got.dates ? got.dates->string() : "", c.dates);
    EXPECT_EQ(got.dryRun, c.dryRun);
    EXPECT_EQ(got.exact, c.exact);
    EXPECT_EQ(got.fourDigitYear, c.fourDigitYear);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseCommandLine,
    ::testing::Values(
        ParseCase{{}, "", "", false, ""}, ParseCase{{"t.dbf"}, "t.dbf", "", false, ""},
        ParseCase{{"--dry-run", "t.dbf"}, "t.dbf", "", true, ""},
        ParseCase{{"t.dbf", "-n"}, "t.dbf", "", true, ""},
        ParseCase{{"--dates", "D.TXT", "t.dbf"}, "t.dbf", "D.TXT", false, ""},
        ParseCase{{"--dates=D.TXT"}, "", "D.TXT", false, ""},
        ParseCase{{"--", "-odd.dbf"}, "-odd.dbf", "", false, ""},
        ParseCase{{"a.dbf", "b.dbf"}, "", "", false, "more than one table given: b.dbf"},
        ParseCase{{"--dates"}, "", "", false, "--dates needs a file name"},
        ParseCase{{"--dates="}, "", "", false, "--dates needs a file name"},
        ParseCase{{"--dryrun"}, "", "", false, "unknown option: --dryrun"},
        ParseCase{{"-x", "t.dbf"}, "", "", false, "unknown option: -x"},
        ParseCase{{""}, "", "", false, "the table name is empty"},
        ParseCase{{"--exact", "t.dbf"}, "t.dbf", "", false, "", true},
        ParseCase{{"--four-digit-year", "-n", "--exact"}, "", "", true, "", true, true},
        ParseCase{{"--four-digit-year", "t.dbf"}, "", "", false, "--four-digit-year needs --exact"},
        ParseCase{{"--exact=yes"}, "", "", false, "unknown option: --exact=yes"}));

TEST(CommandLine, HelpAndVersion)
{
    EXPECT_TRUE(CommandLine::parse({"--help"}).help);
    EXPECT_TRUE(CommandLine::parse({"-h"}).help);
    EXPECT_TRUE(CommandLine::parse({"--version"}).version);
    EXPECT_NE(usageText().find("--dry-run"), std::string::npos);
}

TEST(NotFoundList, ListsEveryDateInOrderWithItsCount)
{
    NotFoundList list;
    std::FILE* out = std::tmpfile();
    list.print(out);
    EXPECT_EQ(written(out), "") << "nothing to list, no heading";

    list.add(3, "ES", "1979-12-31");
    list.add(7, "EF_T1", "2024-01-01");
    list.add(9, "EF", std::string_view("20\x01\xff-1\\", 7));
    EXPECT_EQ(list.count(), 3);
    list.print(out);
    EXPECT_EQ(written(out), "Unable to Calculate Shamsi Dates (Date Not Found): 3\n"
                             "  record 3, ES: 1979-12-31\n"
                             "  record 7, EF_T1: 2024-01-01\n"
                             "  record 9, EF: 20\\x01\\xFF-1\\x5C\n");
    std::fclose(out);
}

} // namespace
