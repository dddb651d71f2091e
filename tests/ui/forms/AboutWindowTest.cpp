// The About window without a toolkit: "OK" and the close button close it,
// "System Info..." starts the registered program or says it cannot, and the
// window stays usable either way.
#include "system/Registry.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/RecordingLauncher.h"
#include "tests/ui/forms/FormsTest.h"
#include "ui/forms/SysInfo.h"
#include "ui/forms/frmAbout.h"

namespace halvane::test
{
namespace
{

using ui::frmAbout;

class AboutWindowTest : public FormsTest
{
protected:
    // "PATH" names a program that starts.
    void registerTool()
    {
        registry.setText(reg::kLocalMachine, ui::kSysInfoPathKey, ui::kSysInfoPathValue,
                         "/opt/tool");
        launcher.installed.insert("/opt/tool");
    }
    bool open() { return ui::Find<frmAbout>() && windows.openCount("frmAbout") == 1; }

    MemoryRegistry registry;
    RecordingLauncher launcher;

private:
    ReplaceService<Registry> m_registry{registry};
    ReplaceService<Launcher> m_launcher{launcher};
};

class AboutCloses : public AboutWindowTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(AboutCloses, AndOpensAgainFromItsDesign)
{
    ui::Show<frmAbout>();
    if (GetParam())
        click("frmAbout", "cmdOK");
    else
        windows.close("frmAbout");
    EXPECT_FALSE(open());
    EXPECT_TRUE(launcher.attempts.empty());
    EXPECT_TRUE(host.messages.empty());
    ui::Show<frmAbout>();
    EXPECT_TRUE(open());
}

INSTANTIATE_TEST_SUITE_P(By, AboutCloses, ::testing::Values(true, false),
                         [](const auto& p) { return p.param ? "OkButton" : "TitleBar"; });

TEST_F(AboutWindowTest, SystemInfoStartsTheRegisteredProgramAndStaysOpen)
{
    registerTool();
    ui::Show<frmAbout>();
    click("frmAbout", "cmdSysInfo");
    EXPECT_EQ(launcher.started, std::vector<std::string>{"/opt/tool"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(open());
}

TEST_F(AboutWindowTest, UnavailableSystemInfoLeavesTheWindowUsable)
{
    ui::Show<frmAbout>();
    click("frmAbout", "cmdSysInfo");
    EXPECT_EQ(host.messages,
              (std::vector<Message>{{std::string(ui::kSysInfoUnavailable), "qrx2"}}));
    EXPECT_EQ(host.ended, 0);
    EXPECT_TRUE(open());
    EXPECT_EQ(registry.openHandles(), 0u);

    registerTool();
    click("frmAbout", "cmdSysInfo");
    EXPECT_EQ(launcher.started.size(), 1u);
    click("frmAbout", "cmdOK");
    EXPECT_FALSE(open());
}

TEST_F(AboutWindowTest, OpenedTwiceIsOneWindow)
{
    frmAbout& first = ui::Show<frmAbout>();
    EXPECT_EQ(&ui::Show<frmAbout>(), &first);
    EXPECT_EQ(windows.openCount("frmAbout"), 1);
}

} // namespace
} // namespace halvane::test
