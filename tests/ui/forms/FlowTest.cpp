// The ways through the program's windows, without a toolkit: start-up, the
// splash window's buttons, the main window's run, exit and instruction area,
// the failures on the way, which window keeps the process alive, and which
// window is active when another goes.
#include "run/ConversionRun.h"
#include "tests/ui/forms/FormsTest.h"
#include "ui/forms/Module1.h"
#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"

#include <array>
#include <fstream>

namespace halvane::test
{
namespace
{

using ui::Find;
using ui::Show;

// ES, EF, ES_T1, EF_T1 of each record, and the SHES, SHEF, SHTS, SHTF they give.
const TableBuilder kRecords = [] {
    TableBuilder table;
    table.add(scheduleRecord("20020321", "20030320"));
    table.add(scheduleRecord("20000101", "", "19790101", "20231231"));
    table.add(scheduleRecord(""));
    return table;
}();
const std::vector<std::array<std::string, 4>> kConverted = {
    {"81/01/01  ", "81/12/29  ", "          ", "          "},
    {"78/10/11  ", "          ", "          ", "02/10/10  "},
    {"          ", "          ", "          ", "          "},
};

void expectConverted(const std::filesystem::path& table)
{
    const std::string bytes = readFile(table);
    for (std::size_t r = 0; r < kRecords.records.size(); ++r) {
        for (std::size_t f = 0; f < run::kFieldPairs.size(); ++f)
            EXPECT_EQ(kRecords.storedField(bytes, r, run::kFieldPairs[f].second), kConverted[r][f])
                << "record " << r << " " << run::kFieldPairs[f].second;
        EXPECT_EQ(kRecords.storedField(bytes, r, "DONE"), "T") << "record " << r;
    }
}

std::string delivered(std::string_view name)
{
    return readFile(std::filesystem::path(HALVANE_PROGRAM_DIR) / name);
}

const Message kDateNotFound{"Unable to Calculate Shamsi Dates", "Date Not Found"};

class Flow : public FormsTest
{
protected:
    const WindowRecord& main() { return windows.window("frmRun"); }
    std::optional<std::string> picRun() { return main().control("picRun").picture; }
    std::optional<std::string> focusOfMain()
    {
        if (!main().focus)
            return std::nullopt;
        return std::string(main().design->controls[*main().focus].name);
    }
};

// ------------------------------------------------------------------ start-up and splash

TEST_F(Flow, MainShowsTheSplashAndDrawsItBeforeReturning)
{
    ui::Module1::Main();
    EXPECT_EQ(windows.log, (std::vector<std::string>{"create frmSplash", "show frmSplash",
                                                     "repaint frmSplash"}));
    EXPECT_EQ(windows.openCount("frmSplash"), 1);
    EXPECT_EQ(Find<ui::frmRun>(), nullptr);
}

TEST_F(Flow, OkUnloadsTheSplashAndOpensTheMainWindow)
{
    ui::Module1::Main();
    windows.log.clear();
    click("frmSplash", "cmdOK");
    EXPECT_EQ(windows.log,
              (std::vector<std::string>{"destroy frmSplash", "create frmRun", "show frmRun"}));
    EXPECT_EQ(Find<ui::frmSplash>(), nullptr);
    EXPECT_EQ(windows.openCount("frmRun"), 1);
    EXPECT_EQ(windows.active, "frmRun");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Flow, AboutTwiceOpensOneAboutWindow)
{
    ui::Module1::Main();
    click("frmSplash", "cmdAbout");
    auto* first = Find<ui::frmAbout>();
    ASSERT_NE(first, nullptr);
    windows.activate("frmSplash");
    click("frmSplash", "cmdAbout");
    EXPECT_EQ(Find<ui::frmAbout>(), first);
    EXPECT_EQ(windows.openCount("frmAbout"), 1);
    EXPECT_EQ(windows.log.back(), "front frmAbout");
    EXPECT_EQ(windows.openCount("frmSplash"), 1) << "the splash window stays open";
}

TEST_F(Flow, AboutThenOkLeavesTheAboutWindowBesideTheMainWindow)
{
    ui::Module1::Main();
    click("frmSplash", "cmdAbout");
    click("frmSplash", "cmdOK");
    EXPECT_EQ(Find<ui::frmSplash>(), nullptr);
    ASSERT_NE(Find<ui::frmAbout>(), nullptr);
    ASSERT_NE(Find<ui::frmRun>(), nullptr);
    windows.close("frmAbout");
    EXPECT_EQ(Find<ui::frmAbout>(), nullptr);
    EXPECT_NE(Find<ui::frmRun>(), nullptr);
    EXPECT_TRUE(ui::anyWindowOpen());
}

TEST_F(Flow, SplashRefusesTheWindowSystemsCloseRequest)
{
    ui::Module1::Main();
    windows.close("frmSplash");
    EXPECT_NE(Find<ui::frmSplash>(), nullptr);
    EXPECT_TRUE(windows.window("frmSplash").open());
}

TEST_F(Flow, OkWithoutDatesTxtReportsAndEndsWithoutTheMainWindow)
{
    useProgramDirectoryWith({});
    ui::Module1::Main();
    EXPECT_THROW(windows.click("frmSplash", "cmdOK"), ProcessEnded);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Unexpected Error: File not found: " + (programDir() / "DATES.TXT").string());
    EXPECT_EQ(host.messages[0].title, "qrx2");
    EXPECT_EQ(host.ended, 1);
    EXPECT_FALSE(windows.window("frmSplash").open()) << "the splash window is already gone";
    EXPECT_EQ(Find<ui::frmRun>(), nullptr);
    EXPECT_EQ(windows.openCount("frmRun"), 0) << "the main window was never shown";
    EXPECT_EQ(windows.log.back(), "destroy frmRun") << "and nothing of it is left";
}

// ------------------------------------------------------------------ the main window

TEST_F(Flow, RunFillsTheTableAndShowsSuccessTwice)
{
    writeTable(kRecords);
    Show<ui::frmRun>();
    for (int run = 1; run <= 2; ++run) {
        click("frmRun", "cmdRun");
        expectConverted(tableFile());
        EXPECT_EQ(picRun(), delivered("success.BMP")) << "run " << run;
        EXPECT_EQ(focusOfMain(), "cmdRun");
        EXPECT_EQ(host.ended, 0);
        // The date outside 1980 to 2023 is reported once per run.
        EXPECT_EQ(host.messages,
                  std::vector<Message>(static_cast<std::size_t>(run), kDateNotFound));
    }
}

TEST_F(Flow, RunShowsWaitBeforeTheWalk)
{
    writeTable(kRecords);
    Show<ui::frmRun>();
    // The first conversion happens inside the walk: by then wait.BMP is shown.
    std::optional<std::string> duringWalk;
    struct Peek final : Host {
        std::function<void()> look;
        Host* previous;
        void messageBox(std::string_view text, std::string_view title) override
        {
            look();
            previous->messageBox(text, title);
        }
        [[noreturn]] void endProcess() override { throw ProcessEnded{}; }
    } peek;
    peek.previous = &host;
    peek.look = [&] { duringWalk = picRun(); };
    ReplaceService<Host> scope(peek);
    click("frmRun", "cmdRun");
    EXPECT_EQ(duringWalk, delivered("wait.BMP"));
}

// The planner exports the schedule again over the same file (same file,
// same size) after the main window loaded the table, or after a first run:
// the run fills the table as it is now, in its new layout too.
struct Export {
    const char* name;
    bool afterARun; // else right after the window loaded
    bool newLayout; // the fields in another order
};

std::ostream& operator<<(std::ostream& os, const Export& e)
{
    return os << e.name;
}

class ExportedAgain : public Flow, public ::testing::WithParamInterface<Export>
{
};

TEST_P(ExportedAgain, RunFillsTheTableAsItIsNow)
{
    writeTable(kRecords);
    Show<ui::frmRun>();
    if (GetParam().afterARun) {
        click("frmRun", "cmdRun");
        expectConverted(tableFile());
    }
    // The export of a later schedule: other dates, and with newLayout the
    // same fields in the reverse order, so the file keeps its size.
    TableBuilder next;
    next.add(scheduleRecord("20010321"));
    next.add(scheduleRecord("", "20020101"));
    next.add(scheduleRecord("", "", "", "20000101"));
    if (GetParam().newLayout) {
        std::reverse(next.fields.begin(), next.fields.end());
        for (auto& r : next.records)
            std::reverse(r.begin(), r.end());
    }
    const std::string bytes = next.bytes();
    // Written over the table: the same file, the same size.
    const auto size = std::filesystem::file_size(tableFile());
    std::ofstream(tableFile(), std::ios::binary | std::ios::in) << bytes;
    ASSERT_EQ(std::filesystem::file_size(tableFile()), size) << "rewritten in place";

    click("frmRun", "cmdRun");
    const std::vector<std::array<std::string, 4>> converted = {
        {"80/01/01  ", "          ", "          ", "          "},
        {"          ", "80/10/11  ", "          ", "          "},
        {"          ", "          ", "          ", "78/10/11  "},
    };
    const std::string after = readFile(tableFile());
    for (std::size_t r = 0; r < next.records.size(); ++r) {
        for (std::size_t f = 0; f < run::kFieldPairs.size(); ++f)
            EXPECT_EQ(next.storedField(after, r, run::kFieldPairs[f].second), converted[r][f])
                << "record " << r << " " << run::kFieldPairs[f].second;
        EXPECT_EQ(next.storedField(after, r, "DONE"), "T") << "record " << r;
    }
    EXPECT_EQ(picRun(), delivered("success.BMP"));
    EXPECT_EQ(host.ended, 0);
}

INSTANTIATE_TEST_SUITE_P(Moments, ExportedAgain,
                         ::testing::Values(Export{"ContentAfterLoad", false, false},
                                           Export{"ContentAndLayoutAfterLoad", false, true},
                                           Export{"ContentBetweenRuns", true, false},
                                           Export{"ContentAndLayoutBetweenRuns", true, true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Flow, RunWithoutTableReportsAndEnds)
{
    Show<ui::frmRun>();
    EXPECT_THROW(windows.click("frmRun", "cmdRun"), ProcessEnded);
    EXPECT_EQ(host.messages, (std::vector<Message>{{"Shamsi.dbf file not found", "qrx2"}}));
    EXPECT_EQ(host.ended, 1);
    EXPECT_EQ(picRun(), std::nullopt) << "the design's picture stays";
}

struct PictureCase {
    const char* name;
    const char* file;         // the picture file that is missing or broken
    const char* content;      // nullptr: missing
    const char* messageStart; // after "Unexpected Error: "
    bool converted;           // the records were converted before the failure
};

void PrintTo(const PictureCase& c, std::ostream* os)
{
    *os << c.name;
}

class PictureFailure : public Flow, public ::testing::WithParamInterface<PictureCase>
{
};

TEST_P(PictureFailure, ReportsAndEnds)
{
    const PictureCase& c = GetParam();
    useProgramDirectoryWith(
        {"DATES.TXT", std::string_view(c.file) == "wait.BMP" ? "success.BMP" : "wait.BMP"});
    if (c.content)
        std::ofstream(programDir() / c.file, std::ios::binary) << c.content;
    writeTable(kRecords);
    const std::string before = readFile(tableFile());

    Show<ui::frmRun>();
    EXPECT_THROW(windows.click("frmRun", "cmdRun"), ProcessEnded);
    ASSERT_FALSE(host.messages.empty());
    const Message& last = host.messages.back();
    EXPECT_EQ(last.text.rfind(std::string("Unexpected Error: ") + c.messageStart, 0), 0u)
        << last.text;
    EXPECT_NE(last.text.find((programDir() / c.file).string()), std::string::npos) << last.text;
    EXPECT_EQ(last.title, "qrx2");
    EXPECT_EQ(host.ended, 1);
    if (c.converted)
        expectConverted(tableFile());
    else
        EXPECT_EQ(readFile(tableFile()), before) << "no record was changed";
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureFailure,
    ::testing::Values(
        PictureCase{"WaitMissing", "wait.BMP", nullptr, "File not found: ", false},
        PictureCase{"WaitNotAPicture", "wait.BMP", "not a picture", "Invalid picture: ", false},
        PictureCase{"SuccessMissing", "success.BMP", nullptr, "File not found: ", true},
        PictureCase{"SuccessNotAPicture", "success.BMP", "GIF", "Invalid picture: ", true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Flow, StartedFromAnotherDirectoryUsesTheProgramsDirectory)
{
    TempDir elsewhere;
    std::filesystem::current_path(elsewhere.path());
    writeTable(kRecords);
    Show<ui::frmRun>();
    EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()),
              std::filesystem::canonical(HALVANE_PROGRAM_DIR));
    click("frmRun", "cmdRun");
    EXPECT_EQ(picRun(), delivered("success.BMP"));
    expectConverted(tableFile());
}

TEST_F(Flow, TheDataControlOpensTheTableInCDrive)
{
    auto& main = Show<ui::frmRun>();
    // C:\SHAMSI.DBF, whatever the program's own directory.
    EXPECT_EQ(main.dataControl("dbShamsi").tablePath(), tableFile());
}

TEST_F(Flow, InstructionAreaOpensOneViewer)
{
    Show<ui::frmRun>();
    click("frmRun", "imgInstr");
    auto* viewer = Find<ui::frmInstruction>();
    ASSERT_NE(viewer, nullptr);
    windows.activate("frmRun");
    click("frmRun", "imgInstr");
    EXPECT_EQ(Find<ui::frmInstruction>(), viewer);
    EXPECT_EQ(windows.openCount("frmInstruction"), 1);
    EXPECT_EQ(windows.log.back(), "front frmInstruction");
    EXPECT_TRUE(main().open());
}

TEST_F(Flow, ExitWithTheViewerOpenUnloadsAndEndsTheProcess)
{
    Show<ui::frmRun>();
    click("frmRun", "imgInstr");
    ASSERT_NE(Find<ui::frmInstruction>(), nullptr);
    EXPECT_THROW(windows.click("frmRun", "cmdCancel"), ProcessEnded);
    EXPECT_EQ(host.ended, 1);
    EXPECT_FALSE(main().open()) << "the main window was unloaded first";
    EXPECT_EQ(Find<ui::frmRun>(), nullptr);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Flow, UnloadedMainWindowComesBackFromItsDesign)
{
    writeTable(kRecords);
    Show<ui::frmRun>();
    click("frmRun", "cmdRun");
    ui::Unload<ui::frmRun>();
    Show<ui::frmRun>();
    EXPECT_EQ(picRun(), std::nullopt);
}

// ------------------------------------------------------------------ the active window

TEST_F(Flow, ClosingTheViewerGivesTheActivationBackToTheMainWindow)
{
    Show<ui::frmRun>();
    click("frmRun", "imgInstr");
    ASSERT_EQ(windows.active, "frmInstruction");
    click("frmInstruction", "cmdOK");
    EXPECT_EQ(windows.active, "frmRun");
}

TEST_F(Flow, ClosingTheAboutWindowGivesTheActivationBackToTheSplash)
{
    ui::Module1::Main();
    click("frmSplash", "cmdAbout");
    windows.close("frmAbout");
    EXPECT_EQ(windows.active, "frmSplash");
}

// ------------------------------------------------------------------ the life of the process

TEST_F(Flow, CloseButtonOnTheMainWindowLeavesTheViewerAndTheProcessRunning)
{
    Show<ui::frmRun>();
    Show<ui::frmInstruction>();
    std::vector<std::string> seen;
    windows.steps = {
        [&] { windows.close("frmRun"); },
        [&] {
            seen.push_back(Find<ui::frmRun>() ? "main window open" : "main window gone");
            seen.push_back(Find<ui::frmInstruction>() ? "viewer open" : "viewer gone");
        },
        [&] { windows.close("frmInstruction"); },
    };
    EXPECT_EQ(ui::runEventLoop(), 0) << "the loop ended when the last window closed";
    EXPECT_EQ(seen, (std::vector<std::string>{"main window gone", "viewer open"}));
}

TEST_F(Flow, ProcessEndsWhenTheLastToolWindowCloses)
{
    ui::Module1::Main();
    std::vector<std::string> seen;
    windows.steps = {
        [&] { click("frmSplash", "cmdAbout"); },
        [&] { click("frmSplash", "cmdOK"); },
        [&] { windows.close("frmAbout"); },
        [&] { seen.push_back(Find<ui::frmRun>() ? "main window open" : "main window gone"); },
        [&] { windows.close("frmRun"); },
    };
    EXPECT_EQ(ui::runEventLoop(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"main window open"}));
    EXPECT_FALSE(ui::anyWindowOpen());
}

} // namespace
} // namespace halvane::test
