// The orders both backends take from a design: the controls of each
// container topmost first, the tab order and the controls of it that can
// take the focus, on each of the four windows as designed, and the tab
// order's ties and windowless controls on a design of their own.
#include "ui/forms/DesignOrder.h"

#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::test
{
namespace
{

using ui::ControlDesign;
using ui::ControlKind;
using ui::WindowDesign;
using Names = std::vector<std::string>;

// A control's name, with its index for a member of a control array.
Names namesOf(const WindowDesign& design, const std::vector<std::size_t>& controls)
{
    Names names;
    for (std::size_t i : controls) {
        const ControlDesign& row = design.controls[i];
        names.push_back(std::string(row.name) +
                        (row.index == ui::kNoIndex ? "" : "(" + std::to_string(row.index) + ")"));
    }
    return names;
}

struct OrderCase {
    const char* name;
    const WindowDesign& (*design)();
    Names tabOrder;
    Names focusCandidates;
    Names clientArea; // the window's own children, topmost first
    std::string_view container;
    Names contained;
};

const OrderCase kOrders[] = {
    {"Splash",
     &ui::frmSplash::Design,
     {"cmdOK", "cmdAbout", "fraMainFrame"},
     {"cmdOK", "cmdAbout"},
     {"cmdAbout", "cmdOK", "fraMainFrame"},
     "fraMainFrame",
     {"Image1"}},
    {"Main",
     &ui::frmRun::Design,
     {"cmdRun", "cmdCancel", "picRun"},
     {"cmdRun", "cmdCancel", "picRun"},
     {"picRun", "cmdRun", "cmdCancel", "dbShamsi"},
     "picRun",
     {"imgInstr"}},
    {"About",
     &ui::frmAbout::Design,
     {"cmdOK", "cmdSysInfo", "lblTitle", "Label1"},
     {"cmdOK", "cmdSysInfo"},
     {"cmdOK", "cmdSysInfo", "Label1", "Image1", "Line1(1)", "lblTitle", "Line1(0)"},
     "cmdOK",
     {}},
    {"Viewer",
     &ui::frmInstruction::Design,
     {"Picture1", "cmdOK", "cmdVisual", "cmdNext", "cmdPrev"},
     {"Picture1", "cmdOK", "cmdVisual", "cmdNext", "cmdPrev"},
     {"cmdPrev", "cmdNext", "cmdVisual", "cmdOK", "Picture1"},
     "Picture1",
     {}},
};

class DesignOrder : public ::testing::TestWithParam<OrderCase>
{
};

TEST_P(DesignOrder, IsTheWindowsOrderAsDesigned)
{
    const OrderCase& c = GetParam();
    const WindowDesign& design = c.design();
    EXPECT_EQ(namesOf(design, ui::tabOrder(design)), c.tabOrder);
    EXPECT_EQ(namesOf(design, ui::focusCandidates(design)), c.focusCandidates);
    EXPECT_EQ(namesOf(design, ui::childrenOf(design, {})), c.clientArea);
    EXPECT_EQ(namesOf(design, ui::childrenOf(design, c.container)), c.contained);
}

INSTANTIATE_TEST_SUITE_P(Windows, DesignOrder, ::testing::ValuesIn(kOrders),
                         [](const auto& p) { return std::string(p.param.name); });

// Equal tab places keep the design's order; a data control, which has no
// native control, and a control without a tab place are left out.
TEST(DesignOrderTies, KeepTheDesignsOrderAndLeaveOutWhatHasNoPlace)
{
    constexpr ControlDesign kRows[] = {
        {.name = "second", .kind = ControlKind::PushButton, .tabIndex = 1},
        {.name = "first", .kind = ControlKind::Label, .tabIndex = 0},
        {.name = "third", .kind = ControlKind::PictureBox, .tabIndex = 1},
        {.name = "data", .kind = ControlKind::DataControl, .tabIndex = 0},
        {.name = "none", .kind = ControlKind::PushButton},
        {.name = "inside", .kind = ControlKind::PushButton, .parent = "third", .tabIndex = 1},
    };
    const WindowDesign design{.name = "frmTies", .controls = kRows};
    EXPECT_EQ(namesOf(design, ui::tabOrder(design)), (Names{"first", "second", "third", "inside"}));
    EXPECT_EQ(namesOf(design, ui::focusCandidates(design)), (Names{"second", "third", "inside"}));
    EXPECT_EQ(namesOf(design, ui::childrenOf(design, "third")), Names{"inside"});
}

} // namespace
} // namespace halvane::test
