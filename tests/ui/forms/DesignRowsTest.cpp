// The four window designs, row by row, against the window and control tables
// they are built to, written out again here; and what every design must hold
// for a backend to build it: containers before their children, unique names,
// tab places, keyboard roles and access keys.
#include "dbase/DataControl.h"
#include "ui/forms/Design.h"
#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace halvane::test
{
namespace
{

using ui::Colour;
using ui::ControlDesign;
using ui::ControlKind;
using ui::Font;
using ui::Placement;
using ui::WindowDesign;
using ui::WindowKind;

const WindowDesign& designOf(std::string_view window)
{
    if (window == "frmSplash")
        return ui::frmSplash::Design();
    if (window == "frmRun")
        return ui::frmRun::Design();
    if (window == "frmInstruction")
        return ui::frmInstruction::Design();
    return ui::frmAbout::Design();
}

const char* const kWindows[] = {"frmSplash", "frmRun", "frmInstruction", "frmAbout"};

std::string nameOf(const ControlDesign& c)
{
    return std::string(c.name) +
           (c.index == ui::kNoIndex ? "" : "(" + std::to_string(c.index) + ")");
}

// ------------------------------------------------------------------ windows

constexpr Font kTahoma825{"Tahoma", 8.25};

struct WindowRow {
    const char* window;
    WindowKind kind;
    const char* caption;
    ui::TwipsSize client;
    Placement placement;
    ui::TwipsPoint position;
    Colour background;
    const char* icon;
};

void PrintTo(const WindowRow& r, std::ostream* os)
{
    *os << r.window;
}

const WindowRow kWindowRows[] = {
    {"frmSplash",
     WindowKind::NoTitleBar,
     "",
     {4440, 3360},
     Placement::CentredOnScreen,
     {},
     Colour::system(10),
     ""},
    {"frmRun",
     WindowKind::ToolWindow,
     "QRX Ver. 2.0",
     {2775, 1875},
     Placement::CentredOnScreen,
     {},
     {},
     "icon"},
    {"frmInstruction",
     WindowKind::ToolWindow,
     "Instruction",
     {6120, 6915},
     Placement::SystemDefault,
     {},
     {},
     "icon"},
    {"frmAbout",
     WindowKind::ToolWindow,
     "About Halvane Shamsi Dates",
     {3315, 2400},
     Placement::FixedClientPosition,
     {2040, 1590},
     {},
     "icon"},
};

class WindowRows : public ::testing::TestWithParam<WindowRow>
{
};

TEST_P(WindowRows, AsDesigned)
{
    const WindowRow& row = GetParam();
    const WindowDesign& d = designOf(row.window);
    EXPECT_EQ(d.name, row.window);
    EXPECT_EQ(d.kind, row.kind);
    EXPECT_EQ(d.caption, row.caption);
    EXPECT_EQ(d.client, row.client);
    EXPECT_EQ(d.placement, row.placement);
    if (row.placement == Placement::FixedClientPosition) {
        EXPECT_EQ(d.position, row.position);
    }
    EXPECT_EQ(d.font, kTahoma825);
    EXPECT_EQ(d.font.charset, 178);
    EXPECT_EQ(d.background, row.background);
    EXPECT_EQ(d.icon, row.icon);
    EXPECT_FALSE(d.taskBarEntry);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowRows, ::testing::ValuesIn(kWindowRows),
                         [](const auto& p) { return std::string(p.param.window); });

// ------------------------------------------------------------------ controls

constexpr Font kButton{"Tahoma", 6.75};
constexpr Font kSansSerif{"MS Sans Serif", 8.25};

struct ControlRows {
    const char* window;
    std::vector<ControlDesign> topmostFirst;
};

void PrintTo(const ControlRows& r, std::ostream* os)
{
    *os << r.window;
}

const ControlRows kControlRows[] = {
    {"frmSplash",
     {
         {.name = "cmdAbout",
          .kind = ControlKind::PushButton,
          .text = "About",
          .place = {3480, 2760, 855, 270},
          .font = kButton,
          .tabIndex = 1},
         {.name = "cmdOK",
          .kind = ControlKind::PushButton,
          .text = "OK",
          .place = {3480, 2400, 855, 270},
          .font = kButton,
          .tabIndex = 0},
         {.name = "fraMainFrame",
          .kind = ControlKind::Frame,
          .place = {0, -120, 4455, 3495},
          .background = Colour::system(5),
          .tabIndex = 2},
         {.name = "Image1",
          .kind = ControlKind::StretchedPicture,
          .parent = "fraMainFrame",
          .place = {120, 240, 4110, 3075},
          .picture = "splash"},
     }},
    {"frmRun",
     {
         {.name = "picRun",
          .kind = ControlKind::PictureBox,
          .place = {120, 120, 2535, 1335},
          .font = kSansSerif,
          .tabIndex = 2,
          .picture = "instruction"},
         {.name = "imgInstr",
          .kind = ControlKind::ClickArea,
          .parent = "picRun",
          .place = {960, 360, 1455, 375}},
         {.name = "cmdRun",
          .kind = ControlKind::PushButton,
          .text = "Run",
          .place = {120, 1560, 1215, 270},
          .font = kButton,
          .tabIndex = 0},
         {.name = "cmdCancel",
          .kind = ControlKind::PushButton,
          .text = "Exit",
          .place = {1440, 1560, 1215, 270},
          .font = kButton,
          .tabIndex = 1},
         {.name = "dbShamsi",
          .kind = ControlKind::DataControl,
          .text = "Data1",
          .place = {360, 1320, 2055, 345},
          .font = kSansSerif,
          .visible = false,
          .dataSource = ui::DataSource{"dBASE IV;", "C:\\", "SHAMSI"}},
     }},
    {"frmInstruction",
     {
         {.name = "cmdPrev",
          .kind = ControlKind::PushButton,
          .text = "<<Prev",
          .place = {360, 6600, 855, 255},
          .font = kButton,
          .tabIndex = 4,
          .isCancel = true,
          .visible = false,
          .enabled = false},
         {.name = "cmdNext",
          .kind = ControlKind::PushButton,
          .text = "Next>>",
          .place = {1320, 6600, 855, 255},
          .font = kButton,
          .tabIndex = 3,
          .visible = false},
         {.name = "cmdVisual",
          .kind = ControlKind::PushButton,
          .text = "Visual Tour",
          .place = {3720, 6600, 1095, 255},
          .font = kButton,
          .tabIndex = 2},
         {.name = "cmdOK",
          .kind = ControlKind::PushButton,
          .text = "Close",
          .place = {4920, 6600, 1095, 255},
          .font = kButton,
          .tabIndex = 1},
         {.name = "Picture1",
          .kind = ControlKind::PictureBox,
          .place = {0, 120, 6015, 6375},
          .tabIndex = 0,
          .picture = "instruction_page"},
     }},
    {"frmAbout",
     {
         {.name = "cmdOK",
          .kind = ControlKind::PushButton,
          .text = "OK",
          .place = {2160, 960, 1020, 345},
          .font = kButton,
          .tabIndex = 0,
          .isDefault = true,
          .isCancel = true},
         {.name = "cmdSysInfo",
          .kind = ControlKind::PushButton,
          .text = "&System Info...",
          .place = {2160, 1440, 1005, 345},
          .font = Font{"Tahoma", 6},
          .tabIndex = 1},
         {.name = "Label1",
          .kind = ControlKind::Label,
          .text = "halvane@example.org",
          .place = {120, 2160, 2205, 225},
          .font = Font{"Tahoma", 8.25, true},
          .foreground = Colour::system(13),
          .tabIndex = 4},
         {.name = "Image1",
          .kind = ControlKind::StretchedPicture,
          .place = {120, 1440, 2400, 735},
          .picture = "logo"},
         {.name = "Line1",
          .index = 1,
          .kind = ControlKind::Line,
          .place = {90, 840},
          .lineTo = {3240, 840},
          .lineWidth = 1,
          .foreground = Colour::rgb(128, 128, 128)},
         {.name = "lblTitle",
          .kind = ControlKind::Label,
          .text = "Halvane Shamsi Dates",
          .place = {120, 120, 2085, 240},
          .font = kTahoma825,
          .foreground = Colour::rgb(0, 0, 0),
          .tabIndex = 2},
         {.name = "Line1",
          .index = 0,
          .kind = ControlKind::Line,
          .place = {120, 840},
          .lineTo = {3240, 840},
          .lineWidth = 2,
          .foreground = Colour::rgb(255, 255, 255)},
     }},
};

class ControlTable : public ::testing::TestWithParam<ControlRows>
{
};

TEST_P(ControlTable, EveryRowInStackingOrder)
{
    const auto& expected = GetParam().topmostFirst;
    const auto& actual = designOf(GetParam().window).controls;
    std::vector<std::string> expectedNames, actualNames;
    for (const auto& c : expected)
        expectedNames.push_back(nameOf(c));
    for (const auto& c : actual)
        actualNames.push_back(nameOf(c));
    ASSERT_EQ(actualNames, expectedNames) << "the controls, topmost first";

    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ControlDesign& e = expected[i];
        const ControlDesign& a = actual[i];
        SCOPED_TRACE(nameOf(e));
        EXPECT_EQ(a.kind, e.kind);
        EXPECT_EQ(a.text, e.text);
        EXPECT_EQ(a.parent, e.parent);
        EXPECT_EQ(a.place, e.place);
        if (e.kind == ControlKind::Line) {
            EXPECT_EQ(a.lineTo, e.lineTo);
            EXPECT_EQ(a.lineWidth, e.lineWidth);
        }
        EXPECT_EQ(a.font, e.font);
        if (a.font) {
            EXPECT_EQ(a.font->charset, 178) << "the Arabic character set";
        }
        EXPECT_EQ(a.foreground, e.foreground);
        EXPECT_EQ(a.background, e.background);
        EXPECT_EQ(a.tabIndex, e.tabIndex);
        EXPECT_EQ(a.isDefault, e.isDefault);
        EXPECT_EQ(a.isCancel, e.isCancel);
        EXPECT_EQ(a.visible, e.visible);
        EXPECT_EQ(a.enabled, e.enabled);
        EXPECT_EQ(a.picture, e.picture);
        ASSERT_EQ(a.dataSource.has_value(), e.dataSource.has_value());
        if (e.dataSource) {
            EXPECT_EQ(a.dataSource->connect, e.dataSource->connect);
            EXPECT_EQ(a.dataSource->databaseName, e.dataSource->databaseName);
            EXPECT_EQ(a.dataSource->recordSource, e.dataSource->recordSource);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ControlTable, ::testing::ValuesIn(kControlRows),
                         [](const auto& p) { return std::string(p.param.window); });

TEST(DataControlDesign, IsTheDataControlTheMainWindowOpens)
{
    const ui::DataSource& source = *ui::frmRun::Design().control("dbShamsi").dataSource;
    EXPECT_EQ(source.connect, dbase::DataControl::kConnect);
    EXPECT_EQ(source.databaseName, dbase::DataControl::kDatabaseName);
    EXPECT_EQ(source.recordSource, dbase::DataControl::kRecordSource);
}

// ------------------------------------------------------------------ what every design holds

class EveryDesign : public ::testing::TestWithParam<const char*>
{
protected:
    const WindowDesign& design() const { return designOf(GetParam()); }
};

TEST_P(EveryDesign, ContainersComeBeforeTheirChildren)
{
    std::map<std::string, ControlKind> seen;
    for (const ControlDesign& c : design().controls) {
        if (!c.parent.empty()) {
            auto parent = seen.find(std::string(c.parent));
            ASSERT_NE(parent, seen.end()) << nameOf(c) << " in " << c.parent;
            EXPECT_TRUE(parent->second == ControlKind::Frame ||
                        parent->second == ControlKind::PictureBox)
                << c.parent << " holds no controls";
        }
        seen.emplace(std::string(c.name), c.kind);
    }
}

TEST_P(EveryDesign, NamesTabPlacesAndRolesAreUnique)
{
    std::set<std::string> names;
    std::set<int> tabPlaces;
    int defaults = 0, cancels = 0;
    for (const ControlDesign& c : design().controls) {
        EXPECT_TRUE(names.insert(nameOf(c)).second) << nameOf(c);
        if (c.tabIndex != ui::kNoTabIndex) {
            EXPECT_TRUE(tabPlaces.insert(c.tabIndex).second) << nameOf(c);
        }
        defaults += c.isDefault;
        cancels += c.isCancel;
        if (c.isDefault || c.isCancel) {
            EXPECT_EQ(c.kind, ControlKind::PushButton) << nameOf(c);
        }
        if (c.kind == ControlKind::DataControl) {
            EXPECT_FALSE(c.visible) << "a data control is never shown";
        }
    }
    EXPECT_LE(defaults, 1);
    EXPECT_LE(cancels, 1);
}

// The letter after a single "&", lower case; "&&" is a plain "&".
std::string accessKeys(std::string_view text)
{
    std::string keys;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '&') {
            if (text[i + 1] != '&')
                keys += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
            ++i;
        }
    return keys;
}

TEST_P(EveryDesign, AccessKeysAreOnePerControlAndUniqueInTheWindow)
{
    std::set<char> keys;
    for (const ControlDesign& c : design().controls) {
        const std::string own = accessKeys(c.text);
        EXPECT_LE(own.size(), 1u) << nameOf(c);
        for (char k : own)
            EXPECT_TRUE(keys.insert(k).second) << "Alt+" << k << " twice";
    }
}

TEST_P(EveryDesign, ControlLookupNamesTheMissingControl)
{
    try {
        design().indexOf("cmdNothing");
        FAIL() << "found";
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("cmdNothing"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find(GetParam()), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryDesign, ::testing::ValuesIn(kWindows));

// The control that has the focus when the window opens: the first of the
// tab order that can take it (a push button or a picture box, shown and
// enabled). Every backend gives it the focus.
std::string firstFocus(const WindowDesign& d)
{
    const ControlDesign* first = nullptr;
    for (const ControlDesign& c : d.controls)
        if ((c.kind == ControlKind::PushButton || c.kind == ControlKind::PictureBox) && c.visible &&
            c.enabled && c.tabIndex != ui::kNoTabIndex && (!first || c.tabIndex < first->tabIndex))
            first = &c;
    return first ? nameOf(*first) : "";
}

TEST(DesignFocus, TheFirstTabStopHasTheFocusWhenTheWindowOpens)
{
    EXPECT_EQ(firstFocus(ui::frmSplash::Design()), "cmdOK");
    EXPECT_EQ(firstFocus(ui::frmRun::Design()), "cmdRun");
    EXPECT_EQ(firstFocus(ui::frmInstruction::Design()), "Picture1");
    EXPECT_EQ(firstFocus(ui::frmAbout::Design()), "cmdOK");
}

} // namespace
} // namespace halvane::test
