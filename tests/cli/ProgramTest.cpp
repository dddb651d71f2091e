// The built shamsi-dates program, run as a user runs it on copies of fixture
// tables: exit status, messages, the list of dates not found, dry runs that
// write nothing, and an independent read-back of every filled table.
#include "tests/support/ScheduleTables.h"
#include "tests/support/TableChecks.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace halvane::test;
namespace fs = std::filesystem;

namespace
{

const std::string kProgram = std::string(HALVANE_PROGRAM_DIR) + "/shamsi-dates";
const std::string kMakeTable = std::string(HALVANE_PROGRAM_DIR) + "/make-table";
const std::string kDates = std::string(HALVANE_PROGRAM_DIR) + "/DATES.TXT";
const std::string kNewYears = std::string(HALVANE_TEST_DATA) + "/calendar/nowruz.txt";

std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct Ran {
    int status;
    std::string out, err;
};

// Runs `command` through the shell with its output caught in `dir`.
Ran shell(const TempDir& dir, const std::string& command)
{
    const auto out = dir / "stdout.txt", err = dir / "stderr.txt";
    const int rc = std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
    Ran ran{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, readFile(out), readFile(err)};
    fs::remove(out);
    fs::remove(err);
    return ran;
}

Ran shamsiDates(const TempDir& dir, const std::string& args, const std::string& env = "")
{
    return shell(dir, env + (env.empty() ? "" : " ") + quoted(kProgram) + " " + args);
}

// The independent check: dbfread reads both tables back, and a conversion
// of its own computes every destination (from DATES.TXT, or with `exact`,
// "--exact" or "--exact-four-digit-year", from the new years ICU gives);
// bytes outside them must not differ.
void expectFilledCorrectly(const TempDir& dir, const fs::path& original, const fs::path& filled,
                           const std::string& exact = "")
{
    const Ran check = shell(dir, quoted(HALVANE_PYTHON3) + " " + quoted(HALVANE_CHECK_SCRIPT) +
                                     " " + exact + " " + quoted(original) + " " + quoted(filled) +
                                     " " + quoted(exact.empty() ? kDates : kNewYears));
    EXPECT_EQ(check.status, 0) << check.out << check.err;
}

// A pristine copy of `file` (and of its memo file, if any) in a folder
// beside it, to compare against.
fs::path keepOriginal(const fs::path& file)
{
    const auto folder = file.parent_path() / "original";
    fs::create_directories(folder);
    auto memo = file;
    memo.replace_extension(".dbt");
    if (fs::exists(memo))
        fs::copy_file(memo, folder / memo.filename());
    fs::copy_file(file, folder / file.filename());
    return folder / file.filename();
}

std::string lastLine(const std::string& text)
{
    const auto end = text.find_last_not_of('\n');
    const auto start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

const char* const kFixtureTables[] = {"pydbf-memo.dbf",  "pydbf-plain.dbf",  "pydbf-one.dbf",
                                      "pydbf-empty.dbf", "ogr-schedule.dbf", "ogr-one.dbf",
                                      "ogr-empty.dbf"};

std::string testName(const char* fixture)
{
    std::string name = fixture;
    std::erase(name, '-');
    return name.substr(0, name.find('.'));
}

class FixtureProgram : public ::testing::TestWithParam<const char*>
{
};

TEST_P(FixtureProgram, FillsTheTableAsAnIndependentReaderExpects)
{
    TempDir dir;
    const auto file = copyFixture(dir, GetParam());
    const auto original = keepOriginal(file);

    const Ran ran = shamsiDates(dir, quoted(file));
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.err, "");
    EXPECT_TRUE(lastLine(ran.out).starts_with(file.string() + ": ")) << ran.out;
    expectFilledCorrectly(dir, original, file);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureProgram, ::testing::ValuesIn(kFixtureTables),
                         [](const auto& p) { return testName(p.param); });

class ExactFixtureProgram : public ::testing::TestWithParam<std::tuple<const char*, bool>>
{
};

TEST_P(ExactFixtureProgram, FillsTheTableAsAnIndependentReaderExpects)
{
    const auto [fixture, fourDigitYear] = GetParam();
    TempDir dir;
    const auto file = copyFixture(dir, fixture);
    const auto original = keepOriginal(file);

    const Ran ran = shamsiDates(dir, (fourDigitYear ? "--exact --four-digit-year " : "--exact ") +
                                         quoted(file));
    EXPECT_EQ(ran.status, 0) << ran.err;
    expectFilledCorrectly(dir, original, file,
                          fourDigitYear ? "--exact-four-digit-year" : "--exact");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ExactFixtureProgram,
                         ::testing::Combine(::testing::ValuesIn(kFixtureTables), ::testing::Bool()),
                         [](const auto& p) {
                             return testName(std::get<0>(p.param)) +
                                    (std::get<1>(p.param) ? "FourDigitYear" : "");
                         });

struct ExactCase {
    const char* name;
    const char* fixture;
    std::string args;
    std::string lists;   // what comes before the summary
    std::string summary; // the summary after "TABLE: ", up to the time
    bool dryRun;
};

std::ostream& operator<<(std::ostream& os, const ExactCase& c)
{
    return os << c.name;
}

class ExactSummary : public ::testing::TestWithParam<ExactCase>
{
};

TEST_P(ExactSummary, CountsTheDatesTheTableMethodGetsOtherwiseAndADryRunListsThem)
{
    const ExactCase& c = GetParam();
    TempDir dir;
    const auto file = copyFixture(dir, c.fixture);
    const Ran ran = shamsiDates(dir, c.args + " " + quoted(file));
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.err, "");
    const std::string expected = c.lists + file.string() + ": " + c.summary;
    EXPECT_EQ(ran.out.substr(0, expected.size()), expected);
    EXPECT_TRUE(ran.out.ends_with(c.dryRun ? " s (dry run: nothing written)\n" : " s\n"))
        << ran.out;
}

const std::string kPlainNotFound = "Unable to Calculate Shamsi Dates (Date Not Found): 1\n"
                                   "  record 8, EF: 20010230\n";

INSTANTIATE_TEST_SUITE_P(
    Runs, ExactSummary,
    ::testing::Values(
        ExactCase{"RunCountsOnly", "pydbf-plain.dbf", "--exact", kPlainNotFound,
                  "8 records, 21 dates converted, 1 not found, 5 differ from DATES.TXT, ", false},
        ExactCase{"DryRunLists", "pydbf-plain.dbf", "--exact --dry-run",
                  kPlainNotFound + "Exact dates that differ from DATES.TXT: 5\n"
                                   "  record 2, ES: 1980-03-20: 59/01/01 -> 58/12/30\n"
                                   "  record 5, ES: 1979-12-31: (not found) -> 58/10/10\n"
                                   "  record 5, EF: 2024-01-01: (not found) -> 02/10/11\n"
                                   "  record 5, ES_T1: 1900-01-01: (not found) -> 78/10/11\n"
                                   "  record 5, EF_T1: 2099-12-31: (not found) -> 78/10/11\n",
                  "8 records, 21 dates converted, 1 not found, 5 differ from DATES.TXT, ", true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Program, ListsTheDatesNotFoundAndSumsUp)
{
    TempDir dir;
    const auto file = copyFixture(dir, "pydbf-plain.dbf");
    const Ran ran = shamsiDates(dir, quoted(file));
    EXPECT_EQ(ran.status, 0) << ran.err;
    const std::string summary = file.string() + ": 8 records, 17 dates converted, 5 not found, ";
    EXPECT_EQ(ran.out.substr(0, ran.out.rfind(summary) + summary.size()),
              "Unable to Calculate Shamsi Dates (Date Not Found): 5\n"
              "  record 5, ES: 1979-12-31\n"
              "  record 5, EF: 2024-01-01\n"
              "  record 5, ES_T1: 1900-01-01\n"
              "  record 5, EF_T1: 2099-12-31\n"
              "  record 8, EF: 20010230\n" +
                  summary);
    EXPECT_TRUE(ran.out.ends_with(" s\n")) << ran.out;
}

TEST(Program, GeneratedTableIsFilledAndItsDatesOutsideTheYearsListed)
{
    TempDir dir;
    const auto file = dir / "made.dbf";
    ASSERT_EQ(shell(dir, quoted(kMakeTable) + " " + quoted(file) +
                             " --records 3000 --out-of-range 7 --seed 11")
                  .status,
              0);
    const auto original = keepOriginal(file);

    const Ran ran = shamsiDates(dir, quoted(file));
    EXPECT_EQ(ran.status, 0) << ran.err;
    // Each of the seven records has ES and EF outside the years.
    EXPECT_TRUE(ran.out.starts_with("Unable to Calculate Shamsi Dates (Date Not Found): 14\n"))
        << ran.out;
    EXPECT_NE(lastLine(ran.out).find(" 14 not found, "), std::string::npos) << ran.out;
    expectFilledCorrectly(dir, original, file);
}

TEST(Program, DryRunReportsTheSameAndWritesNothing)
{
    TempDir dir;
    const auto file = dir / "made.dbf";
    ASSERT_EQ(
        shell(dir, quoted(kMakeTable) + " " + quoted(file) + " --records 500 --out-of-range 3")
            .status,
        0);
    const std::string before = readFile(file);

    const Ran dry = shamsiDates(dir, "--dry-run " + quoted(file));
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(readFile(file), before) << "not a byte written";
    EXPECT_TRUE(dry.out.ends_with(" s (dry run: nothing written)\n")) << dry.out;

    const Ran real = shamsiDates(dir, quoted(file));
    EXPECT_EQ(real.status, 0) << real.err;
    EXPECT_NE(readFile(file), before);
    // The same list and counts; only the time and the dry-run note differ.
    const auto upToTime = [](const std::string& out) { return out.substr(0, out.rfind(", ")); };
    EXPECT_EQ(upToTime(dry.out), upToTime(real.out));
}

TEST(Program, DryRunOfABrokenTableFailsLikeARealRun)
{
    TempDir dir;
    const auto table = withoutField(threeRecords(), "SHTF");
    const auto file = dir.write("Shamsi.dbf", table.bytes());
    const Ran ran = shamsiDates(dir, "--dry-run " + quoted(file));
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find("Unexpected Error: "), std::string::npos) << ran.err;
    EXPECT_NE(ran.err.find("SHTF"), std::string::npos) << ran.err;
}

struct FailureCase {
    const char* name;
    // Prepares the table in `dir` and returns it with any extra arguments.
    std::function<std::pair<fs::path, std::string>(const TempDir&)> arrange;
    std::string message;    // how standard error starts after "shamsi-dates: <table>: "
    bool aboutTable = true; // false: the message names another file, not the table
    // How standard output starts, after "<table>: ": what the run did before
    // it failed ("" when it never got to the records).
    std::string report = "";
};

std::ostream& operator<<(std::ostream& os, const FailureCase& c)
{
    return os << c.name;
}

class FailingProgram : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(FailingProgram, ExitsWithOneNamingTheFileAndChangesNothingItShouldNot)
{
    TempDir dir;
    const auto [table, extra] = GetParam().arrange(dir);
    const bool exists = fs::is_regular_file(table);
    const std::string before = exists ? readFile(table) : "";

    const Ran ran = shamsiDates(dir, extra + " " + quoted(table));
    EXPECT_EQ(ran.status, 1);
    if (GetParam().report.empty())
        EXPECT_EQ(ran.out, "");
    else
        EXPECT_TRUE(ran.out.starts_with(table.string() + ": " + GetParam().report)) << ran.out;
    const std::string prefix =
        "shamsi-dates: " + (GetParam().aboutTable ? table.string() + ": " : std::string());
    EXPECT_TRUE(ran.err.starts_with(prefix + GetParam().message)) << ran.err;
    EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
    if (exists && GetParam().name != std::string("NarrowDestination")) {
        EXPECT_EQ(readFile(table), before);
    }
    EXPECT_EQ(fs::exists(table), exists || fs::is_directory(table));
}

const FailureCase kFailures[] = {
    {"MissingTable",
     [](const TempDir& d) {
         return std::pair{d / "Shamsi.dbf", std::string()};
     },
     "Shamsi.dbf file not found\n"},
    {"ZeroBytes",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", ""), std::string()};
     },
     "Unexpected Error: "},
    {"NotATable",
     [](const TempDir& d) {
         return std::pair{
             d.write("Shamsi.dbf", "ES;EF\n2000-03-21;2000-03-22\n" + std::string(90, '-')),
             std::string()};
     },
     "Unexpected Error: "},
    {"TruncatedTable",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", threeRecords().bytes().substr(0, 420)),
                          std::string()};
     },
     "Unexpected Error: "},
    {"DirectoryNamedLikeTheTable",
     [](const TempDir& d) {
         fs::create_directory(d / "Shamsi.dbf");
         return std::pair{d / "Shamsi.dbf", std::string()};
     },
     "Unexpected Error: "},
    {"TableWithoutEF_T1",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", withoutField(threeRecords(), "EF_T1").bytes()),
                          std::string()};
     },
     "Unexpected Error: ", true, "0 records saved before the failure, 2 dates converted, "},
    {"NarrowDestination",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", withWidth(threeRecords(), "SHEF", 1).bytes()),
                          std::string()};
     },
     "Unexpected Error: ", true, "1 record saved before the failure, 5 dates converted, "},
    {"DatesFileMissing",
     [](const TempDir& d) {
         return std::pair{d.write("Shamsi.dbf", threeRecords().bytes()),
                          "--dates " + quoted((d / "NO-DATES.TXT").string())};
     },
     "Unexpected Error: File not found: ", false},
    {"DatesFileEndsEarly",
     [](const TempDir& d) {
         d.write("SHORT.TXT", readFile(kDates).substr(0, 5000));
         return std::pair{d.write("Shamsi.dbf", threeRecords().bytes()),
                          "--dates " + quoted((d / "SHORT.TXT").string())};
     },
     "Unexpected Error: Input past end of file", false},
};

INSTANTIATE_TEST_SUITE_P(Failures, FailingProgram, ::testing::ValuesIn(kFailures),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Program, FailureKeepsTheRecordsSavedBeforeIt)
{
    TempDir dir;
    const auto table = withWidth(threeRecords(), "SHEF", 1);
    const auto file = dir.write("Shamsi.dbf", table.bytes());
    const Ran ran = shamsiDates(dir, quoted(file));
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find("SHEF"), std::string::npos) << ran.err;
    const std::string after = readFile(file);
    const std::size_t record = table.header().size(), length = table.recordLength();
    // Record 1 saved (SHES filled); record 2 was being edited: not saved.
    EXPECT_EQ(after.substr(record + 1 + 5 + 32, 10), "79/01/02  ");
    EXPECT_EQ(after.substr(record + length, length), table.bytes().substr(record + length, length));
}

// A failure part-way: what the run did until then is still reported, the
// dates it could not place included, before the message and the exit.
TEST(Program, FailureStillReportsTheRecordsSavedAndTheDatesNotFound)
{
    TempDir dir;
    TableBuilder table = withWidth(threeRecords(), "SHEF", 1);
    table.records[0] = scheduleRecord("19790101");
    const auto file = dir.write("Shamsi.dbf", table.bytes());
    const Ran ran = shamsiDates(dir, quoted(file));
    EXPECT_EQ(ran.status, 1);
    EXPECT_TRUE(ran.out.starts_with("Unable to Calculate Shamsi Dates (Date Not Found): 1\n"
                                    "  record 1, ES: 1979-01-01\n" +
                                    file.string() +
                                    ": 1 record saved before the failure, 2 dates converted, 1 "
                                    "not found, "))
        << ran.out;
    EXPECT_NE(ran.err.find("'SHEF' of " + file.string() + " is 1 character wide"),
              std::string::npos)
        << ran.err;
}

// A report, a help or a version that cannot be written is a failure,
// whether standard output is full or closed; the table is filled all the same.
struct Unwritable {
    const char* name;
    const char* option; // "": fill the table
    const char* redirect;
    std::string error; // on standard error after "shamsi-dates: "; TABLE for the table
};

class UnwritableReport : public ::testing::TestWithParam<Unwritable>
{
};

TEST_P(UnwritableReport, ExitsWithOne)
{
    const Unwritable& c = GetParam();
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", threeRecords().bytes());
    const auto err = dir / "stderr.txt";
    const std::string what = *c.option ? std::string(c.option) : quoted(file);
    const int rc =
        std::system((quoted(kProgram) + " " + what + " " + c.redirect + " 2>" + quoted(err)).c_str());
    EXPECT_EQ(WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, 1);
    std::string expected = "shamsi-dates: " + c.error + "\n";
    if (const auto at = expected.find("TABLE"); at != std::string::npos)
        expected.replace(at, 5, file.string());
    EXPECT_EQ(readFile(err), expected);
    EXPECT_EQ(readFile(file) != threeRecords().bytes(), !*c.option);
}

const std::string kNotFilled = "TABLE: Cannot write the report to standard output (";
INSTANTIATE_TEST_SUITE_P(
    Outputs, UnwritableReport,
    ::testing::Values(
        Unwritable{"Full", "", ">/dev/full",
                   kNotFilled + "No space left on device); the table was filled all the same"},
        Unwritable{"Closed", "", ">&-", kNotFilled + "it is closed); the table was filled all the same"},
        Unwritable{"HelpFull", "--help", ">/dev/full",
                   "cannot write the help to standard output (No space left on device)"},
        Unwritable{"HelpClosed", "--help", ">&-",
                   "cannot write the help to standard output (it is closed)"},
        Unwritable{"VersionFull", "--version", ">/dev/full",
                   "cannot write the version to standard output (No space left on device)"},
        Unwritable{"VersionClosed", "--version", ">&-",
                   "cannot write the version to standard output (it is closed)"}),
    [](const auto& p) { return std::string(p.param.name); });

// Names of files reach the terminal with their control characters escaped,
// from the engine's messages as from the report; other letters stay.
struct ShownName {
    const char* name;
    std::string file;
    std::string shown;
};

class NameInMessages : public ::testing::TestWithParam<ShownName>
{
};

TEST_P(NameInMessages, HasItsControlCharactersEscaped)
{
    TempDir dir;
    const auto file = dir / GetParam().file;
    const std::string shown = (dir.path() / GetParam().shown).string();
    const Ran missing = shamsiDates(dir, quoted(file.string()));
    EXPECT_EQ(missing.err, "shamsi-dates: " + shown + ": Shamsi.dbf file not found\n");

    dir.write(GetParam().file, withoutField(threeRecords(), "EF_T1").bytes());
    const Ran broken = shamsiDates(dir, quoted(file.string()));
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.ends_with("the table " + shown + " has no field 'EF_T1'\n"))
        << broken.err;
    EXPECT_TRUE(broken.out.starts_with(shown + ": 0 records saved")) << broken.out;
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameInMessages,
    ::testing::Values(ShownName{"Escape", "a\x1b[2Jb.dbf", "a\\x1B[2Jb.dbf"},
                      ShownName{"LineEnd", "two\nlines.dbf", "two\\x0Alines.dbf"},
                      ShownName{"LoneCsiByte", "a\x9B"
                                               "2Jb.dbf",
                                "a\\x9B2Jb.dbf"},
                      ShownName{"Persian", "\xD8\xAC\xD8\xAF\xD9\x88\xD9\x84.dbf",
                                "\xD8\xAC\xD8\xAF\xD9\x88\xD9\x84.dbf"}),
    [](const auto& p) { return std::string(p.param.name); });

struct UsageCase {
    const char* name;
    std::string args;
    std::string error;
};

std::ostream& operator<<(std::ostream& os, const UsageCase& c)
{
    return os << c.name;
}

class UsageError : public ::testing::TestWithParam<UsageCase>
{
};

TEST_P(UsageError, ExitsWithTwoAndTouchesNoTable)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", threeRecords().bytes());
    const Ran ran = shamsiDates(dir, GetParam().args, "cd " + quoted(dir.path()) + " &&");
    EXPECT_EQ(ran.status, 2);
    EXPECT_EQ(ran.out, "");
    EXPECT_EQ(ran.err, "shamsi-dates: " + GetParam().error + "\nTry 'shamsi-dates --help'.\n");
    EXPECT_EQ(readFile(file), threeRecords().bytes());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageError,
    ::testing::Values(
        UsageCase{"UnknownOption", "--fast Shamsi.dbf", "unknown option: --fast"},
        UsageCase{"TwoTables", "Shamsi.dbf Shamsi.dbf", "more than one table given: Shamsi.dbf"},
        UsageCase{"DatesWithoutFile", "Shamsi.dbf --dates", "--dates needs a file name"},
        UsageCase{"FourDigitYearWithoutExact", "--four-digit-year Shamsi.dbf",
                  "--four-digit-year needs --exact"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Program, HelpAndVersion)
{
    TempDir dir;
    const Ran help = shamsiDates(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: shamsi-dates [OPTIONS] [TABLE]\n")) << help.out;
    const Ran version = shamsiDates(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "shamsi-dates 2.0.0\n");
}

TEST(Program, WithoutATableFillsTheDataControlsTable)
{
    TempDir dir;
    const auto driveC = dir / "prefix" / "drive_c";
    fs::create_directories(driveC);
    const std::string env = "WINEPREFIX=" + quoted((dir / "prefix").string());

    // None there yet: the data control's message, naming where it looked.
    const Ran none = shamsiDates(dir, "", env);
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "shamsi-dates: " + (driveC / "Shamsi.dbf").string() +
                            ": Shamsi.dbf file not found\n");

    // Found without regard to case, as Windows finds it.
    const auto file = copyFixture(dir, "ogr-schedule.dbf");
    fs::rename(file, driveC / "SHAMSI.DBF");
    fs::copy_file(driveC / "SHAMSI.DBF", dir / "original.dbf");
    const Ran dry = shamsiDates(dir, "--dry-run", env);
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(readFile(driveC / "SHAMSI.DBF"), readFile(dir / "original.dbf"));
    const Ran ran = shamsiDates(dir, "", env);
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_TRUE(lastLine(ran.out).starts_with((driveC / "SHAMSI.DBF").string() + ": 6 records"))
        << ran.out;
    expectFilledCorrectly(dir, dir / "original.dbf", driveC / "SHAMSI.DBF");

    // Two tables whose names differ only in case: refused, by a dry run too.
    fs::copy_file(dir / "original.dbf", driveC / "shamsi.dbf");
    for (const char* args : {"", "--dry-run"}) {
        const Ran twice = shamsiDates(dir, args, env);
        EXPECT_EQ(twice.status, 1) << args;
        EXPECT_NE(twice.err.find("holds more than one table named SHAMSI.DBF (SHAMSI.DBF, "
                                 "shamsi.dbf)"),
                  std::string::npos)
            << args << twice.err;
    }
}

TEST(Program, ReadOnlyTableIsRefusedUnchanged)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", threeRecords().bytes());
    fs::permissions(file, fs::perms::owner_read);
    const Ran ran = shamsiDates(dir, quoted(file));
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find("Unexpected Error: "), std::string::npos) << ran.err;
    EXPECT_EQ(readFile(file), threeRecords().bytes());
    // A dry run reads only, so it works on a file that may not be written.
    EXPECT_EQ(shamsiDates(dir, "--dry-run " + quoted(file)).status, 0);
}

} // namespace
