// The main window's load step: DATES.TXT from the program's directory,
// whatever directory was current, or a message and the end of the process
// before the window is shown.
#include "core/ShamsiConv.h"
#include "tests/support/DatesText.h"
#include "tests/support/ScheduleTables.h"
#include "tests/ui/forms/FormsTest.h"
#include "ui/forms/frmRun.h"

#include <fstream>

namespace halvane::test
{
namespace
{

namespace fs = std::filesystem;

class MainWindowLoad : public FormsTest
{
protected:
    // Form_Load of a new main window; the message it ended with, if any.
    std::optional<std::string> load()
    {
        ui::frmRun window;
        try {
            window.Form_Load();
        } catch (const ProcessEnded&) {
            EXPECT_EQ(host.ended, 1);
            EXPECT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages.at(0).title, "qrx2");
            return host.messages.at(0).text;
        }
        EXPECT_TRUE(host.messages.empty());
        // The window places dates by the file of the program's directory.
        DateTable expected;
        loadDateTable(expected, datesFile());
        for (const char* date : {"2000-01-01", "2000-08-12", "2000-09-05"}) {
            const auto placed = shamsiDate(expected, date);
            EXPECT_TRUE(placed) << date;
            EXPECT_EQ(window.Shamsi_Conv(date), placed.value_or("(none)")) << date;
        }
        EXPECT_TRUE(host.messages.empty()) << "no date was left unplaced";
        return std::nullopt;
    }
    fs::path datesFile() const { return programDir() / "DATES.TXT"; }
};

TEST_F(MainWindowLoad, FindsDatesTxtInTheProgramDirectoryFromElsewhere)
{
    TempDir elsewhere;
    elsewhere.write("DATES.TXT", "a decoy that is far too short");
    std::ofstream(datesFile(), std::ios::binary) << records(1747);
    usePreparedProgramDirectory();
    fs::current_path(elsewhere.path());

    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(fs::current_path(), programDir()) << "the program's directory is made current";
}

TEST_F(MainWindowLoad, TheRealProgramDirectoryHoldsTheDeliveredFile)
{
    // The test program lives in the program directory, where the build
    // places DATES.TXT.
    ui::frmRun window;
    window.Form_Load();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), fs::path(HALVANE_PROGRAM_DIR)));
    // The window places dates by the delivered table.
    for (const char* date : {"2000-01-01", "2011-03-21", "2023-12-31"})
        EXPECT_EQ(window.Shamsi_Conv(date), shamsiDate(deliveredDates(), date).value()) << date;
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(MainWindowLoad, AShortFileEndsTheProcess)
{
    std::ofstream(datesFile(), std::ios::binary) << records(1746);
    usePreparedProgramDirectory();
    EXPECT_EQ(load(), "Unexpected Error: Input past end of file: " + datesFile().string() +
                          " ends at record 1747; it must hold 1747 records");
}

TEST_F(MainWindowLoad, AFolderNamedLikeTheFileIsReported)
{
    fs::create_directory(datesFile());
    usePreparedProgramDirectory();
    EXPECT_EQ(load(), "Unexpected Error: " + datesFile().string() + " is not a file");
}

TEST_F(MainWindowLoad, AMissingProgramDirectoryIsReported)
{
    FixedProgramDirectory gone(programDir() / "gone");
    const auto message = load();
    ASSERT_TRUE(message);
    EXPECT_TRUE(
        message->starts_with("Unexpected Error: Cannot make " + (programDir() / "gone").string()))
        << *message;
}

} // namespace
} // namespace halvane::test
