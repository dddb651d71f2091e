// The instruction viewer without a toolkit: the state it opens in, the tour's
// pages and button states, reopening, the program's directory, and a page
// picture that cannot be loaded.
#include "tests/ui/forms/FormsTest.h"
#include "ui/forms/frmInstruction.h"

#include <fstream>

namespace halvane::test
{
namespace
{

namespace fs = std::filesystem;
using ui::frmInstruction;

// A page picture, as the test window system reads it: "BM" and the page.
std::string pagePicture(int page)
{
    return "BM page " + std::to_string(page);
}

class InstructionViewerTest : public FormsTest
{
protected:
    InstructionViewerTest()
    {
        for (int page = 1; page <= frmInstruction::kPageCount; ++page)
            writeFile(programDir() / pageName(page), pagePicture(page));
        usePreparedProgramDirectory();
    }
    static std::string pageName(int page) { return std::to_string(page) + ".BMP"; }

    frmInstruction& open() { return ui::Show<frmInstruction>(); }
    const WindowRecord& viewer() { return windows.window("frmInstruction"); }
    void press(std::string_view name) { click("frmInstruction", name); }
    // The page whose picture Picture1 shows; 0 for the design's page.
    int pageShown()
    {
        const auto& shown = viewer().control("Picture1").picture;
        for (int page = 1; page <= frmInstruction::kPageCount; ++page)
            if (shown == pagePicture(page))
                return page;
        return 0;
    }
    // "<<Prev" and "Next>>": shown and enabled as expected.
    void expectSteps(bool prevEnabled, bool nextEnabled)
    {
        EXPECT_TRUE(viewer().showing("cmdPrev"));
        EXPECT_TRUE(viewer().showing("cmdNext"));
        EXPECT_EQ(viewer().control("cmdPrev").enabled, prevEnabled);
        EXPECT_EQ(viewer().control("cmdNext").enabled, nextEnabled);
    }
    // The state the viewer opens in: the design page, only "Visual Tour" and
    // "Close".
    void expectDesignState()
    {
        EXPECT_EQ(viewer().control("Picture1").picture, std::nullopt);
        EXPECT_FALSE(viewer().showing("cmdPrev"));
        EXPECT_FALSE(viewer().control("cmdPrev").enabled);
        EXPECT_FALSE(viewer().showing("cmdNext"));
        EXPECT_TRUE(viewer().control("cmdNext").enabled);
        EXPECT_TRUE(viewer().showing("cmdVisual"));
        EXPECT_TRUE(viewer().showing("cmdOK"));
    }
};

TEST_F(InstructionViewerTest, OpensWithTheDesignPage)
{
    open();
    expectDesignState();
    EXPECT_FALSE(windows.click("frmInstruction", "cmdNext")) << "hidden: no click reaches it";
}

TEST_F(InstructionViewerTest, TourStepsThroughEveryPageBothWays)
{
    frmInstruction& w = open();
    press("cmdVisual");
    EXPECT_EQ(pageShown(), 1);
    expectSteps(false, true);

    for (int page = 2; page <= 15; ++page) {
        SCOPED_TRACE(page);
        press("cmdNext");
        EXPECT_EQ(pageShown(), page);
        EXPECT_EQ(w.page(), page);
        expectSteps(true, page < 15);
    }
    EXPECT_FALSE(windows.click("frmInstruction", "cmdNext")) << "disabled on page 15";
    for (int page = 14; page >= 1; --page) {
        SCOPED_TRACE(page);
        press("cmdPrev");
        EXPECT_EQ(pageShown(), page);
        expectSteps(page > 1, true);
    }
    EXPECT_TRUE(host.messages.empty());
}

// Enter held down on "Next>>" goes forward to the last page and no further:
// the focus moves on by the tab order when "Next>>" is disabled, and the
// Enter meant for it presses nothing there. The user's next click hands
// Enter back to the focus.
TEST_F(InstructionViewerTest, EnterOnNextNeverTurnsBack)
{
    open();
    press("cmdVisual");
    windows.window("frmInstruction").focus = viewer().indexOf("cmdNext");
    for (int enter = 0; enter < 20; ++enter)
        windows.pressEnter("frmInstruction");
    EXPECT_EQ(pageShown(), 15);
    expectSteps(true, false);
    EXPECT_EQ(viewer().focus, viewer().indexOf("cmdPrev")) << "next in the tab order";

    press("cmdPrev");
    EXPECT_EQ(pageShown(), 14);
    windows.window("frmInstruction").focus = viewer().indexOf("cmdPrev");
    windows.pressEnter("frmInstruction");
    EXPECT_EQ(pageShown(), 13) << "Enter presses the focused button again";
    EXPECT_TRUE(host.messages.empty());
}

// Enter held on "<<Prev" back to page 1: the focus goes on, past the
// picture box, and Enter does not restart the tour or close the viewer.
TEST_F(InstructionViewerTest, EnterOnPrevStopsAtTheFirstPage)
{
    open();
    press("cmdVisual");
    press("cmdNext");
    press("cmdNext");
    windows.window("frmInstruction").focus = viewer().indexOf("cmdPrev");
    for (int enter = 0; enter < 5; ++enter)
        windows.pressEnter("frmInstruction");
    EXPECT_EQ(pageShown(), 1);
    EXPECT_EQ(viewer().focus, viewer().indexOf("Picture1")) << "after the last, the first";
    EXPECT_EQ(windows.openCount("frmInstruction"), 1);
}

class VisualTourRestarts : public InstructionViewerTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(VisualTourRestarts, AtPageOne)
{
    open();
    press("cmdVisual");
    for (int page = 1; page < GetParam(); ++page)
        press("cmdNext");
    ASSERT_EQ(pageShown(), GetParam());

    press("cmdVisual");
    EXPECT_EQ(pageShown(), 1);
    expectSteps(false, true);
    press("cmdNext");
    EXPECT_EQ(pageShown(), 2);
}

INSTANTIATE_TEST_SUITE_P(FromPage, VisualTourRestarts, ::testing::Values(15, 7, 1));

TEST_F(InstructionViewerTest, CloseAndReopenGivesTheDesignState)
{
    open();
    press("cmdVisual");
    press("cmdNext");
    press("cmdOK");
    EXPECT_EQ(ui::Find<frmInstruction>(), nullptr);
    EXPECT_EQ(windows.openCount("frmInstruction"), 0);

    open();
    expectDesignState();
}

TEST_F(InstructionViewerTest, TitleBarCloseAlsoUnloads)
{
    open();
    press("cmdVisual");
    windows.close("frmInstruction");
    EXPECT_EQ(ui::Find<frmInstruction>(), nullptr);
    open();
    expectDesignState();
}

TEST_F(InstructionViewerTest, OpenedTwiceIsOneWindow)
{
    frmInstruction& first = open();
    press("cmdVisual");
    press("cmdNext");
    frmInstruction& second = open();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(windows.openCount("frmInstruction"), 1);
    EXPECT_EQ(pageShown(), 2) << "brought to the front as it was";
}

TEST_F(InstructionViewerTest, TourFindsItsPagesFromAnotherDirectory)
{
    TempDir elsewhere;
    writeFile(elsewhere / "1.BMP", "BM a decoy");
    fs::current_path(elsewhere.path());
    open();
    press("cmdVisual");
    EXPECT_EQ(pageShown(), 1);
    EXPECT_EQ(fs::current_path(), fs::canonical(programDir()));
    press("cmdNext");
    EXPECT_EQ(pageShown(), 2);
    EXPECT_TRUE(host.messages.empty());
}

// ------------------------------------------------------------------ failures

// A page that cannot be loaded: which button, the page it turns to, what is
// wrong with the file, and the failure number reported.
struct BrokenPage {
    const char* name;
    int from; // the page shown before the press (0: before the tour)
    const char* button;
    int broken;       // the page that cannot be loaded
    bool notAPicture; // false: the file is missing
    int number;
};

void PrintTo(const BrokenPage& c, std::ostream* os)
{
    *os << c.name;
}

class BrokenPageTest : public InstructionViewerTest,
                       public ::testing::WithParamInterface<BrokenPage>
{
};

TEST_P(BrokenPageTest, EndsWithNumberAndDescriptionAfterThePageChanged)
{
    const BrokenPage& c = GetParam();
    frmInstruction& w = open();
    if (c.from > 0) {
        press("cmdVisual");
        while (w.page() < c.from)
            press("cmdNext");
    }
    const fs::path file = programDir() / pageName(c.broken);
    fs::remove(file);
    if (c.notAPicture)
        std::ofstream(file) << "not a picture";

    // Without a failure handler of its own: the default handling.
    EXPECT_THROW(windows.click("frmInstruction", c.button), ProcessEnded);

    EXPECT_EQ(host.ended, 1);
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string& text = host.messages[0].text;
    EXPECT_EQ(text.rfind("Run-time error '" + std::to_string(c.number) + "':\n\n", 0), 0u) << text;
    EXPECT_NE(text.find(file.string()), std::string::npos) << "the description names the file";
    EXPECT_EQ(host.messages[0].title, "qrx2");

    // The page number, and the opposite button, changed before the load.
    EXPECT_EQ(w.page(), c.broken);
    if (std::string_view(c.button) == "cmdNext") {
        EXPECT_TRUE(viewer().control("cmdPrev").enabled);
    }
    if (std::string_view(c.button) == "cmdPrev") {
        EXPECT_TRUE(viewer().control("cmdNext").enabled);
    }
    if (std::string_view(c.button) == "cmdVisual") {
        EXPECT_FALSE(viewer().showing("cmdNext")) << "the steps after the load never ran";
    }
}

const BrokenPage kBrokenPages[] = {
    {"VisualTourWithoutPageOne", 0, "cmdVisual", 1, false, 53},
    {"NextToAMissingPage", 4, "cmdNext", 5, false, 53},
    {"NextToALastPageThatIsNoPicture", 14, "cmdNext", 15, true, 481},
    {"PrevToAMissingPage", 6, "cmdPrev", 5, false, 53},
    {"PrevToAFirstPageThatIsNoPicture", 2, "cmdPrev", 1, true, 481},
};

INSTANTIATE_TEST_SUITE_P(Pages, BrokenPageTest, ::testing::ValuesIn(kBrokenPages),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace halvane::test
