// The conversion run on real table files through the data control, with the
// real conversion and the delivered DATES.TXT: tables written by other dBASE
// software, and the failures that must leave the file as the outcome says.
#include "core/ShamsiConv.h"
#include "dbase/DataControl.h"
#include "run/ConversionRun.h"
#include "tests/support/FaultyFileIo.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScheduleTables.h"
#include "tests/support/TableChecks.h"

#include <fstream>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

using namespace halvane;
using namespace halvane::test;

namespace
{

struct PictureLog final : run::RunDisplay {
    void showPicture(std::string_view fileName) override
    {
        shown.emplace_back(fileName);
        if (fileName == missing)
            throw Failure(err::FileNotFound, "File not found: " + std::string(fileName));
    }
    void focusRunButton() override { focused = true; }
    std::vector<std::string> shown;
    bool focused = false;
    std::string missing;
};

// One press of Run on the table `file`, as the windowed program does it;
// returns the run's outcome message ("" on success). Messages of the
// conversion ("Date Not Found") are counted apart.
struct Press {
    explicit Press(const std::filesystem::path& file, std::string missingPicture = "")
    {
        dbase::DataControl dataControl(file);
        dataControl.Refresh();
        display.missing = std::move(missingPicture);
        RecordingHost host;
        // As the main window's Shamsi_Conv does it: a box for every date the
        // table cannot place, and the empty text.
        outcome =
            run::runConversion(dataControl, display, [](std::string_view, std::string_view text) {
                auto result = shamsiDate(deliveredDates(), text);
                if (!result)
                    msgBox(kDateNotFoundText, kDateNotFoundTitle);
                return result.value_or("");
            }).message();
        EXPECT_EQ(host.ended, 0);
        for (const auto& m : host.messages) {
            EXPECT_EQ(m,
                      (Message{std::string(kDateNotFoundText), std::string(kDateNotFoundTitle)}));
            ++notFound;
        }
    }
    std::string outcome;
    int notFound = 0;
    PictureLog display;
};

// The destinations of every record (in file order) read back through a fresh
// record set, and what the conversion makes of its sources.
struct ReadBack {
    std::vector<std::string> got, expected;
};
ReadBack readBack(const std::filesystem::path& file)
{
    ReadBack r;
    auto set = dbase::DbfRecordSet::open(file, dbase::Access::DryRun);
    for (set->MoveFirst(); !set->Eof(); set->MoveNext())
        for (const auto& [source, destination] : run::kFieldPairs) {
            const auto value = set->Field(source);
            r.got.push_back(set->Field(destination).value_or("(Null)"));
            // Read back trimmed, as the engine hands a text field over.
            r.expected.push_back(
                !value || value->empty()
                    ? ""
                    : shamsiDate(deliveredDates(), *value).value_or("").substr(0, 8));
        }
    return r;
}

std::vector<long> changedOutsideDestinations(const std::string& before,
                                             const std::filesystem::path& file)
{
    auto set = dbase::DbfRecordSet::open(file, dbase::Access::DryRun);
    const std::string after = readFile(file);
    return changedOutside(before, after, writableBytes(set->layout(), after.size()));
}

struct FixtureCase {
    const char* file;
    int notFound; // dates the conversion cannot place
};

std::ostream& operator<<(std::ostream& os, const FixtureCase& c)
{
    return os << c.file;
}

class FixtureRun : public ::testing::TestWithParam<FixtureCase>
{
};

TEST_P(FixtureRun, FillsEveryRecordAndNothingElse)
{
    TempDir dir;
    const auto file = copyFixture(dir, GetParam().file);
    const std::string before = readFile(file);

    Press press(file);
    EXPECT_EQ(press.outcome, "");
    EXPECT_EQ(press.display.shown, (std::vector<std::string>{"wait.BMP", "success.BMP"}));
    EXPECT_TRUE(press.display.focused);
    EXPECT_EQ(press.notFound, GetParam().notFound);

    const auto back = readBack(file);
    EXPECT_EQ(back.got, back.expected);
    EXPECT_EQ(changedOutsideDestinations(before, file), std::vector<long>{});

    // A second press writes the same values again.
    const std::string once = readFile(file);
    Press again(file);
    EXPECT_EQ(again.outcome, "");
    EXPECT_EQ(readFile(file), once);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FixtureRun,
    ::testing::Values(FixtureCase{"pydbf-memo.dbf", 5}, FixtureCase{"pydbf-plain.dbf", 5},
                      FixtureCase{"pydbf-one.dbf", 0}, FixtureCase{"pydbf-empty.dbf", 0},
                      FixtureCase{"ogr-schedule.dbf", 4}, FixtureCase{"ogr-one.dbf", 0},
                      FixtureCase{"ogr-empty.dbf", 0}),
    [](const auto& p) {
        std::string name = p.param.file;
        std::erase(name, '-');
        return name.substr(0, name.find('.'));
    });

std::string destination(const std::filesystem::path& file, long record, const char* field)
{
    auto set = dbase::DbfRecordSet::open(file, dbase::Access::DryRun);
    set->MoveFirst();
    while (set->AbsolutePosition() != record)
        set->MoveNext();
    return set->Field(field).value_or("(Null)");
}

TEST(RealTableRun, TableWithoutEF_T1SavesNoRecord)
{
    TempDir dir;
    const auto table = withoutField(threeRecords(), "EF_T1");
    const auto file = dir.write("Shamsi.dbf", table.bytes());

    Press press(file);
    EXPECT_TRUE(press.outcome.starts_with("Unexpected Error: ")) << press.outcome;
    EXPECT_NE(press.outcome.find("EF_T1"), std::string::npos) << press.outcome;
    EXPECT_EQ(readFile(file), table.bytes()) << "not a byte written, not even the date";
    EXPECT_EQ(press.display.shown, std::vector<std::string>{"wait.BMP"});
}

TEST(RealTableRun, NarrowDestinationKeepsTheRecordsSavedBeforeIt)
{
    TempDir dir;
    // SHEF holds one character: record 1 (EF empty) fits, record 2 does not.
    const auto table = withWidth(threeRecords(), "SHEF", 1);
    const auto file = dir.write("Shamsi.dbf", table.bytes());

    Press press(file);
    EXPECT_TRUE(press.outcome.starts_with("Unexpected Error: ")) << press.outcome;
    EXPECT_NE(press.outcome.find("SHEF"), std::string::npos) << press.outcome;
    EXPECT_EQ(destination(file, 1, "SHES"), "79/01/02");
    EXPECT_EQ(destination(file, 1, "SHEF"), "");
    EXPECT_EQ(destination(file, 2, "SHES"), "old") << "the record being edited is not saved";
    EXPECT_EQ(destination(file, 3, "SHES"), "old");
}

TEST(RealTableRun, MissingTableIsReportedAndNothingIsCreated)
{
    TempDir dir;
    Press press(dir / "Shamsi.dbf");
    EXPECT_EQ(press.outcome, "Shamsi.dbf file not found");
    EXPECT_TRUE(press.display.shown.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

struct BrokenCase {
    const char* name;
    std::string bytes;
};

std::ostream& operator<<(std::ostream& os, const BrokenCase& c)
{
    return os << c.name;
}

class BrokenTableRun : public ::testing::TestWithParam<BrokenCase>
{
};

TEST_P(BrokenTableRun, IsAnUnexpectedErrorNotAMissingTable)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", GetParam().bytes);
    Press press(file);
    EXPECT_TRUE(press.outcome.starts_with("Unexpected Error: ")) << press.outcome;
    EXPECT_NE(press.outcome.find("Shamsi.dbf"), std::string::npos) << press.outcome;
    EXPECT_EQ(readFile(file), GetParam().bytes);
    EXPECT_TRUE(press.display.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Tables, BrokenTableRun,
                         ::testing::Values(BrokenCase{"zeroBytes", ""},
                                           BrokenCase{"text", "ES,EF\r\n2000-03-21,2000-03-22\r\n" +
                                                                  std::string(80, ' ')},
                                           BrokenCase{"truncated",
                                                      threeRecords().bytes().substr(0, 400)}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(RealTableRun, MissingWaitPictureChangesNoRecord)
{
    TempDir dir;
    const auto table = threeRecords();
    const auto file = dir.write("Shamsi.dbf", table.bytes());
    Press press(file, "wait.BMP");
    EXPECT_EQ(press.outcome, "Unexpected Error: File not found: wait.BMP");
    EXPECT_EQ(readFile(file), table.bytes());
}

TEST(RealTableRun, MissingSuccessPictureComesAfterEveryRecordIsSaved)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", threeRecords().bytes());
    Press press(file, "success.BMP");
    EXPECT_EQ(press.outcome, "Unexpected Error: File not found: success.BMP");
    const auto back = readBack(file);
    EXPECT_EQ(back.got, back.expected);
}

TEST(RealTableRun, DateOutsideTheYearsIsLeftEmptyAndTheRunGoesOn)
{
    TempDir dir;
    TableBuilder table;
    table.add(scheduleRecord("19791231", "20240101", "", "20000321"));
    table.add(scheduleRecord("20000321"));
    const auto file = dir.write("Shamsi.dbf", table.bytes());

    Press press(file);
    EXPECT_EQ(press.outcome, "");
    EXPECT_EQ(press.notFound, 2);
    EXPECT_EQ(destination(file, 1, "SHES"), "");
    EXPECT_EQ(destination(file, 1, "SHEF"), "");
    EXPECT_EQ(destination(file, 1, "SHTF"), "79/01/02");
    EXPECT_EQ(destination(file, 2, "SHES"), "79/01/02");
}

// Another program changes the table while a run works on it: at the end of
// the walk (before the records are synced), or in its middle. The outcome
// tells what happened; success is shown only for the file walked to its end
// at the table's path.
struct Change {
    const char* name;
    const char* at; // "sync", or "write" (of the third record)
    std::function<void(const TempDir&, const std::filesystem::path&)> act;
    std::string outcome; // after "Unexpected Error: "; ends with the rest of the text
};

std::ostream& operator<<(std::ostream& os, const Change& c)
{
    return os << c.name;
}

class ChangedDuringARun : public ::testing::TestWithParam<Change>
{
};

TEST_P(ChangedDuringARun, EndsInAMessageThatSaysWhat)
{
#ifdef _WIN32
    const std::string_view change = GetParam().name;
    if (change == "Replaced")
        GTEST_SKIP() << "Windows refuses to replace a file that a program holds open: another "
                        "program cannot replace the table during a run";
    if (change == "ShortenedMidWalk")
        GTEST_SKIP() << "Windows refuses to shorten a file while the run has a view of it mapped "
                        "(TableFailure's UnderMappedPages checks the refusal and the run)";
    if (change == "Deleted" && GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "Wine does not report a file deleted while open as delete-pending, as "
                        "Windows does";
#endif
    TempDir dir;
    const TableBuilder table = threeRecords();
    const auto file = dir.write("Shamsi.dbf", table.bytes());
    const std::uint64_t third = table.header().size() + 2 * table.recordLength();
    FaultyFileIo io;
    bool acted = false;
    io.before = [&](std::string_view kind, std::uint64_t offset) {
        if (!acted && kind == GetParam().at && (kind != "write" || offset >= third)) {
            acted = true;
            GetParam().act(dir, file);
        }
    };
    Press press(file);
    EXPECT_TRUE(acted);
    const std::string expected =
        "Unexpected Error: " +
        std::string(GetParam().outcome).replace(GetParam().outcome.find("FILE"), 4, file.string());
    if (std::string_view(GetParam().name) == "ShortenedMidWalk") {
        EXPECT_TRUE(press.outcome.starts_with(expected)) << press.outcome;
        EXPECT_TRUE(press.outcome.ends_with(" of 3 is no longer in it (it holds 1 record now)"))
            << press.outcome;
    } else {
        EXPECT_EQ(press.outcome, expected);
    }
    EXPECT_EQ(press.display.shown, std::vector<std::string>{"wait.BMP"});
}

void appendRecord(const TempDir&, const std::filesystem::path& file)
{
    TableBuilder longer = threeRecords();
    longer.add(scheduleRecord("20000401"));
    std::ofstream(file, std::ios::binary | std::ios::in) << longer.bytes();
}

// The same layout and size, other dates: what an exporter writes in place.
void rewriteInPlace(const TempDir&, const std::filesystem::path& file)
{
    TableBuilder exported = threeRecords();
    for (auto& record : exported.records)
        record[1] = "20150621";
    std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
    f << exported.bytes();
}

const Change kChanges[] = {
    {"Appended", "sync", appendRecord,
     "The table changed during the run: FILE was appended to: it holds 4 records now, 3 were "
     "walked; run again"},
    {"Replaced", "sync",
     [](const TempDir& dir, const std::filesystem::path& file) {
         std::filesystem::rename(dir.write("new.dbf", threeRecords().bytes()), file);
     },
     "The table changed during the run: FILE was replaced; the 3 records of the run were saved "
     "into the file that was there before, not into the one there now; run again to fill it"},
    {"MovedAway", "sync",
     [](const TempDir& dir, const std::filesystem::path& file) {
         std::filesystem::rename(file, dir / "elsewhere.dbf");
     },
     "The table changed during the run: FILE was moved away; the 3 records of the run were saved "
     "into the moved file, not at this path; move it back and run again"},
    {"Deleted", "sync",
     [](const TempDir&, const std::filesystem::path& file) { std::filesystem::remove(file); },
     "The table changed during the run: FILE was deleted; the 3 records of the run were saved "
     "into the deleted file"},
    {"HeaderRewritten", "sync",
     [](const TempDir&, const std::filesystem::path& file) {
         std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
         f.seekp(32);
         f.put('X'); // the first field's name
     },
     "The table changed during the run: the header of FILE was rewritten; run again"},
    {"Grown", "sync",
     [](const TempDir&, const std::filesystem::path& file) {
         std::ofstream(file, std::ios::binary | std::ios::app) << "more";
     },
     "The table changed during the run: FILE is " +
         std::to_string(threeRecords().bytes().size() + 4) + " bytes now, " +
         std::to_string(threeRecords().bytes().size()) + " when the run began; run again"},
    {"LostRecords", "sync",
     [](const TempDir&, const std::filesystem::path& file) {
         std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
         f.seekp(4);
         f.put('\x02'); // the record count, the file's size the same
     },
     "The table changed during the run: FILE lost records: it holds 2 records now, 3 were "
     "walked; run again"},
    // An exporter writing the same table again in place: same header, same
    // size, new dates, after the walk or in its middle (before the third
    // record is saved, over the first).
    {"RewrittenInPlace", "sync", rewriteInPlace,
     "The table changed during the run: FILE was rewritten during the run: record 1 of 3 no "
     "longer holds what the run read and wrote there, the first difference seen; its dates may "
     "not match the table now; run again"},
    {"RewrittenInPlaceMidWalk", "write", rewriteInPlace,
     "The table changed during the run: FILE was rewritten during the run: record 1 of 3 no "
     "longer holds what the run read and wrote there, the first difference seen; its dates may "
     "not match the table now; run again"},
    // Another program writes a destination the run has saved: its text
    // stays, and the run says so.
    {"DestinationWrittenByAnother", "write",
     [](const TempDir&, const std::filesystem::path& file) {
         const TableBuilder table = threeRecords();
         std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
         f.seekp(std::streamoff(table.header().size() + table.fieldOffset("SHES")));
         f << "theirs";
     },
     "The table changed during the run: FILE was rewritten during the run: record 1 of 3 no "
     "longer holds what the run read and wrote there, the first difference seen; its dates may "
     "not match the table now; run again"},
    {"ShortenedMidWalk", "write",
     [](const TempDir&, const std::filesystem::path& file) {
         std::filesystem::resize_file(file, threeRecords().header().size() +
                                                threeRecords().recordLength());
     },
     // The record named is where the loss was noticed: the one being saved,
     // or the one before it, whose mapped page the file lost.
     "Input past end of file: FILE was shortened during the run: record "},
};

INSTANTIATE_TEST_SUITE_P(Changes, ChangedDuringARun, ::testing::ValuesIn(kChanges),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
