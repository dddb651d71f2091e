// The keyboard rules of the backends, on the designs: the next control of the
// tab order that can take the focus, and the button Enter presses.
#include "ui/forms/KeyboardRules.h"

#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"

#include <gtest/gtest.h>
#include <optional>
#include <string_view>

namespace halvane::test
{
namespace
{

using ui::KeyboardRules;
using ui::WindowDesign;

struct NextCase {
    const char* name;
    std::string_view from;
    bool prevShown, prevEnabled, nextShown, nextEnabled;
    std::string_view expected; // empty: none
};

// The viewer's tab order: Picture1, cmdOK, cmdVisual, cmdNext, cmdPrev.
constexpr NextCase kNextCases[] = {
    {"PrevAfterNext", "cmdNext", true, true, true, true, "cmdPrev"},
    {"DisabledPrevSkipped", "cmdNext", true, false, true, true, "Picture1"},
    {"HiddenStepsSkipped", "cmdVisual", false, true, false, true, "Picture1"},
    {"AfterTheLastTheFirst", "cmdPrev", true, true, true, true, "Picture1"},
    {"PictureThenClose", "Picture1", true, true, true, true, "cmdOK"},
};

class NextFocus : public ::testing::TestWithParam<NextCase>
{
};

TEST_P(NextFocus, FollowsTheTabOrderOverWhatTakesTheFocus)
{
    const NextCase& c = GetParam();
    const WindowDesign& design = ui::frmInstruction::Design();
    KeyboardRules rules(design);
    rules.setVisible(design.indexOf("cmdPrev"), c.prevShown);
    rules.setEnabled(design.indexOf("cmdPrev"), c.prevEnabled);
    rules.setVisible(design.indexOf("cmdNext"), c.nextShown);
    rules.setEnabled(design.indexOf("cmdNext"), c.nextEnabled);
    const auto next = rules.nextFocus(design.indexOf(c.from));
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(design.controls[*next].name, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Viewer, NextFocus, ::testing::ValuesIn(kNextCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(EnterButton, FocusedButtonElseTheDefaultElseNone)
{
    const WindowDesign& about = ui::frmAbout::Design();
    KeyboardRules rules(about);
    const std::size_t ok = about.indexOf("cmdOK");
    const std::size_t sysInfo = about.indexOf("cmdSysInfo");
    EXPECT_EQ(rules.enterButton(sysInfo), sysInfo);
    EXPECT_EQ(rules.enterButton(std::nullopt), ok) << "no focus: the default";
    rules.setEnabled(ok, false);
    EXPECT_EQ(rules.enterButton(std::nullopt), std::nullopt) << "a disabled default";

    const WindowDesign& viewer = ui::frmInstruction::Design();
    KeyboardRules tour(viewer);
    EXPECT_EQ(tour.enterButton(viewer.indexOf("Picture1")), std::nullopt) << "no default";
}

TEST(EnterButton, HeldWhereTheFocusWentUntilReleased)
{
    const WindowDesign& viewer = ui::frmInstruction::Design();
    KeyboardRules rules(viewer);
    const std::size_t prev = viewer.indexOf("cmdPrev");
    const std::size_t next = viewer.indexOf("cmdNext");
    rules.setVisible(prev, true);
    rules.setEnabled(prev, true);
    rules.setEnabled(next, false);
    ASSERT_EQ(rules.takeFocusOff(next), prev);
    EXPECT_EQ(rules.enterButton(prev), std::nullopt);
    EXPECT_EQ(rules.enterButton(viewer.indexOf("cmdOK")), viewer.indexOf("cmdOK"))
        << "only where the focus was put";
    rules.release();
    EXPECT_EQ(rules.enterButton(prev), prev);
}

} // namespace
} // namespace halvane::test
