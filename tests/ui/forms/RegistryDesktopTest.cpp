// The registry replacement on desktops without a Windows registry: the first
// system-information program found on the search path answers for the
// program's path; the folder location never answers.
#include "ui/forms/RegistryDesktop.h"

#include "tests/support/TempDir.h"
#include "tests/ui/forms/SysInfoSeams.h"
#include "ui/forms/SysInfo.h"

#include <filesystem>

namespace halvane::test
{
namespace
{

namespace fs = std::filesystem;
using reg::kLocalMachine;

struct ProgramFile {
    int dir; // index in the search path
    const char* name;
    bool executable = true;
};

struct SearchCase {
    const char* name;
    std::vector<ProgramFile> files;
    std::optional<ProgramFile> found;
};

void PrintTo(const SearchCase& c, std::ostream* os)
{
    *os << c.name;
}

const SearchCase kSearchCases[] = {
    {"OnlyXfceAbout", {{0, "xfce4-about"}}, ProgramFile{0, "xfce4-about"}},
    {"HardinfoBeforeXfceAbout", {{1, "xfce4-about"}, {0, "hardinfo"}}, ProgramFile{0, "hardinfo"}},
    {"Hardinfo2BeforeHardinfo", {{0, "hardinfo"}, {1, "hardinfo2"}}, ProgramFile{1, "hardinfo2"}},
    {"KinfocenterFirst",
     {{0, "xfce4-about"}, {0, "hardinfo"}, {1, "hardinfo2"}, {1, "kinfocenter"}},
     ProgramFile{1, "kinfocenter"}},
    {"EarlierDirectoryFirst", {{1, "hardinfo"}, {0, "hardinfo"}}, ProgramFile{0, "hardinfo"}},
    {"FileThatIsNoProgramIsSkipped",
     {{0, "kinfocenter", false}, {1, "hardinfo"}},
     ProgramFile{1, "hardinfo"}},
    {"NoneInstalled", {}, std::nullopt},
    {"OtherProgramsIgnored",
     {{0, "msinfo32"}, {0, "MSINFO32.EXE"}, {1, "hardinfo.sh"}},
     std::nullopt},
};

class RegistryDesktopTest : public SysInfoTest
{
protected:
    std::string put(const ProgramFile& f)
    {
        fs::path file = dirs[f.dir].write(f.name, "#!/bin/sh\n");
        if (f.executable)
            fs::permissions(file, fs::perms::owner_exec, fs::perm_options::add);
        return file.string();
    }
    std::string pathOf(const ProgramFile& f) const { return (dirs[f.dir] / f.name).string(); }

    TempDir dirs[2];
    RegistryDesktop desktop{{dirs[0].path(), dirs[1].path()}};
    LoggingRegistry desktopLog{desktop};
    ReplaceService<Registry> m_desktop{desktopLog};
};

class DesktopSearchTest : public RegistryDesktopTest,
                          public ::testing::WithParamInterface<SearchCase>
{
};

TEST_P(DesktopSearchTest, PathAnswersWithTheFirstProgramFound)
{
    for (const ProgramFile& f : GetParam().files)
        put(f);
    const auto& found = GetParam().found;

    std::string keyVal = "before";
    EXPECT_EQ(ui::GetKeyValue(kLocalMachine, ui::kSysInfoPathKey, ui::kSysInfoPathValue, keyVal),
              found.has_value());
    EXPECT_EQ(keyVal, found ? pathOf(*found) : "");

    EXPECT_FALSE(
        ui::GetKeyValue(kLocalMachine, ui::kSysInfoFolderKey, ui::kSysInfoFolderValue, keyVal));
    EXPECT_EQ(desktopLog.calls.back(), "close null -> 6") << "the folder key does not exist";
}

TEST_P(DesktopSearchTest, StartSysInfoStartsTheProgramFound)
{
    for (const ProgramFile& f : GetParam().files)
        launcher.installed.insert(put(f));
    const auto& found = GetParam().found;

    ui::StartSysInfo();

    if (found) {
        EXPECT_EQ(launcher.started, std::vector<std::string>{pathOf(*found)});
        EXPECT_TRUE(host.messages.empty());
    } else {
        EXPECT_TRUE(launcher.attempts.empty());
        EXPECT_EQ(host.messages,
                  (std::vector<Message>{{std::string(ui::kSysInfoUnavailable), "qrx2"}}));
    }
    EXPECT_EQ(std::count_if(desktopLog.calls.begin(), desktopLog.calls.end(),
                            [](const std::string& c) { return c.rfind("open", 0) == 0; }),
              std::count_if(desktopLog.calls.begin(), desktopLog.calls.end(),
                            [](const std::string& c) { return c.rfind("close", 0) == 0; }));
}

INSTANTIATE_TEST_SUITE_P(SearchPath, DesktopSearchTest, ::testing::ValuesIn(kSearchCases),
                         CaseName());

TEST_F(RegistryDesktopTest, AProgramInstalledLaterIsFoundOnTheNextClick)
{
    ui::StartSysInfo();
    const std::string later = put({0, "hardinfo2"});
    launcher.installed.insert(later);
    ui::StartSysInfo();
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(launcher.started, std::vector<std::string>{later});
}

TEST_F(RegistryDesktopTest, SearchesThePathOfTheEnvironmentByDefault)
{
    const std::string program = put({1, "xfce4-about"});
    const char* saved = std::getenv("PATH");
    const std::string previous = saved ? saved : "";
    setenv("PATH", dirs[1].path().c_str(), 1);
    RegistryDesktop fromEnvironment;
    ReplaceService<Registry> scope(fromEnvironment);

    std::string keyVal;
    EXPECT_TRUE(
        ui::GetKeyValue(kLocalMachine, ui::kSysInfoPathKey, ui::kSysInfoPathValue, keyVal));
    setenv("PATH", previous.c_str(), 1);
    EXPECT_EQ(keyVal, program);
}

} // namespace
} // namespace halvane::test
