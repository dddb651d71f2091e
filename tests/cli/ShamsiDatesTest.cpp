// shamsiDates() called inside the test program, as main calls it: every way
// a run ends comes back as the exit status, with its message and report,
// and the process goes on; nothing is shown or ended through the Host.
#include "cli/ShamsiDates.h"

#include "system/DisplayName.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScheduleTables.h"
#include "tests/support/TableChecks.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace halvane;
using namespace halvane::test;
namespace fs = std::filesystem;

namespace
{

struct Ran {
    int status;
    std::string out, err;
};

// One call of shamsiDates with standard output and error caught in files of
// `dir`, and put back afterwards.
Ran call(const TempDir& dir, const std::vector<std::string>& args)
{
    const fs::path outFile = dir / "stdout.txt", errFile = dir / "stderr.txt";
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = ::dup(::fileno(stdout)), savedErr = ::dup(::fileno(stderr));
    std::FILE* out = std::fopen(outFile.string().c_str(), "wb");
    std::FILE* err = std::fopen(errFile.string().c_str(), "wb");
    ::dup2(::fileno(out), ::fileno(stdout));
    ::dup2(::fileno(err), ::fileno(stderr));

    const int status = cli::shamsiDates(std::vector<std::string_view>(args.begin(), args.end()));

    std::fflush(stdout);
    std::fflush(stderr);
    ::dup2(savedOut, ::fileno(stdout));
    ::dup2(savedErr, ::fileno(stderr));
    ::close(savedOut);
    ::close(savedErr);
    std::fclose(out);
    std::fclose(err);
    Ran ran{status, readFile(outFile), readFile(errFile)};
    fs::remove(outFile);
    fs::remove(errFile);
    return ran;
}

struct EndCase {
    const char* name;
    // Prepares the table in `dir`; returns it and the arguments before it
    // (a table is always given last).
    std::function<std::pair<fs::path, std::vector<std::string>>(const TempDir&)> arrange;
    int status;
    // Standard error: "" or how it starts; TABLE stands for the table's name.
    std::string err;
    // Standard output: "" or how it starts; TABLE as above.
    std::string out;
    int errLines = 1; // lines on standard error when there is a message
};

std::ostream& operator<<(std::ostream& os, const EndCase& c)
{
    return os << c.name;
}

std::string withTable(std::string text, const fs::path& table)
{
    for (auto at = text.find("TABLE"); at != std::string::npos; at = text.find("TABLE", at))
        text.replace(at, 5, displayName(table));
    return text;
}

class RunEnd : public ::testing::TestWithParam<EndCase>
{
};

TEST_P(RunEnd, ReturnsItsExitStatusWithItsMessageAndReport)
{
    const EndCase& c = GetParam();
    TempDir dir;
    RecordingHost host;
    auto [table, args] = c.arrange(dir);
    args.push_back(table.string());

    const Ran ran = call(dir, args);

    EXPECT_EQ(ran.status, c.status) << ran.err;
    const std::string err = withTable(c.err, table), out = withTable(c.out, table);
    EXPECT_TRUE(err.empty() ? ran.err.empty() : ran.err.starts_with(err)) << ran.err;
    EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), err.empty() ? 0 : c.errLines)
        << ran.err;
    EXPECT_TRUE(out.empty() ? ran.out.empty() : ran.out.starts_with(out)) << ran.out;
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.ended, 0);
}

std::pair<fs::path, std::vector<std::string>> table(const TempDir& d, const TableBuilder& t)
{
    return {d.write("Shamsi.dbf", t.bytes()), {}};
}

const EndCase kEnds[] = {
    {"Filled", [](const TempDir& d) { return table(d, threeRecords()); }, 0, "",
     "TABLE: 3 records, "},
    {"DryRun",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", threeRecords().bytes()),
                          std::vector<std::string>{"--dry-run"}};
     },
     0, "", "TABLE: 3 records, "},
    {"TableNotFound",
     [](const TempDir& d) {
         return std::pair{d / "Shamsi.dbf", std::vector<std::string>{}};
     },
     1, "shamsi-dates: TABLE: Shamsi.dbf file not found\n", ""},
    {"FieldMissing",
     [](const TempDir& d) { return table(d, withoutField(threeRecords(), "EF_T1")); }, 1,
     "shamsi-dates: TABLE: Unexpected Error: Item not found in this collection: the table "
     "TABLE has no field 'EF_T1'\n",
     "TABLE: 0 records saved before the failure, "},
    {"DestinationTooNarrow",
     [](const TempDir& d) { return table(d, withWidth(threeRecords(), "SHEF", 1)); }, 1,
     "shamsi-dates: TABLE: Unexpected Error: ", "TABLE: 1 record saved before the failure, "},
    {"NotATable",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", ""), std::vector<std::string>{}};
     },
     1, "shamsi-dates: TABLE: Unexpected Error: ", ""},
    {"DatesFileMissing",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", threeRecords().bytes()),
                          std::vector<std::string>{"--dates", (d / "NO-DATES.TXT").string()}};
     },
     1, "shamsi-dates: Unexpected Error: File not found: ", ""},
    {"UsageError",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", threeRecords().bytes()),
                          std::vector<std::string>{"--no-such-option"}};
     },
     2, "shamsi-dates: ", "", 2},
};

INSTANTIATE_TEST_SUITE_P(Ends, RunEnd, ::testing::ValuesIn(kEnds),
                         [](const auto& p) { return std::string(p.param.name); });

// --exact counts a date the table method converts otherwise each time it is
// met, in any field, on a first run and a rerun alike; a dry run lists each
// one with its record.
struct ExactCount {
    const char* name;
    std::vector<std::string> options;
    bool rerun;        // the count of a second run over the table filled
    std::string lists; // what comes before the summary
};

std::ostream& operator<<(std::ostream& os, const ExactCount& c)
{
    return os << c.name;
}

class ExactDifferences : public ::testing::TestWithParam<ExactCount>
{
};

TEST_P(ExactDifferences, AreCountedEachTimeTheyAreMet)
{
    const ExactCount& c = GetParam();
    TempDir dir;
    // 1980-03-20 is one day off in the date table and 2024-01-01 is not in
    // it: four and two times, in all four fields.
    TableBuilder t;
    t.add(scheduleRecord("19800320", "19800320", "20000321", "20240101"));
    t.add(scheduleRecord("20240101", "19800320"));
    t.add(scheduleRecord("19800320", "", "", "19800320"));
    const fs::path file = dir.write("Shamsi.dbf", t.bytes());
    std::vector<std::string> args = c.options;
    args.push_back(file.string());
    if (c.rerun) {
        ASSERT_EQ(call(dir, args).status, 0);
    }
    const Ran ran = call(dir, args);
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_TRUE(ran.out.starts_with(c.lists + displayName(file) +
                                    ": 3 records, 8 dates converted, 0 not found, 7 differ "
                                    "from DATES.TXT, "))
        << ran.out;
}

const std::string kListed = "Exact dates that differ from DATES.TXT: 7\n"
                            "  record 1, ES: 1980-03-20: 59/01/01 -> 58/12/30\n"
                            "  record 1, EF: 1980-03-20: 59/01/01 -> 58/12/30\n"
                            "  record 1, EF_T1: 2024-01-01: (not found) -> 02/10/11\n"
                            "  record 2, ES: 2024-01-01: (not found) -> 02/10/11\n"
                            "  record 2, EF: 1980-03-20: 59/01/01 -> 58/12/30\n"
                            "  record 3, ES: 1980-03-20: 59/01/01 -> 58/12/30\n"
                            "  record 3, EF_T1: 1980-03-20: 59/01/01 -> 58/12/30\n";

INSTANTIATE_TEST_SUITE_P(
    Runs, ExactDifferences,
    ::testing::Values(ExactCount{"Run", {"--exact"}, false, ""},
                      ExactCount{"Rerun", {"--exact"}, true, ""},
                      ExactCount{"FourDigitYear", {"--exact", "--four-digit-year"}, true, ""},
                      ExactCount{"DryRun", {"--exact", "--dry-run"}, false, kListed}),
    [](const auto& p) { return std::string(p.param.name); });

} // namespace
