// Finding and starting the system-information program: the order of the two
// registry locations, the file test, the launch, and the one message that
// every failure ends in, leaving the window usable.
#include "system/Failure.h"
#include "tests/support/TempDir.h"
#include "tests/ui/forms/SysInfoSeams.h"
#include "ui/forms/SysInfo.h"

#include <filesystem>
#include <functional>

namespace halvane::test
{
namespace
{

using reg::kLocalMachine;

// What a case arranges: the registry, a folder on disk, the programs that
// start.
struct Scene {
    MemoryRegistry& registry;
    RecordingLauncher& launcher;
    const TempDir& dir;

    // "PATH" under the first location.
    void path(std::string_view value, bool closingZero = true)
    {
        registry.setText(kLocalMachine, ui::kSysInfoPathKey, ui::kSysInfoPathValue, value,
                         closingZero);
    }
    // A program that starts.
    std::string installed(std::string_view name)
    {
        std::string file = dir.write(name, "").string();
        launcher.installed.insert(file);
        return file;
    }
    // "MSINFO" under the second location: the temporary folder.
    void folder()
    {
        registry.setText(kLocalMachine, ui::kSysInfoFolderKey, ui::kSysInfoFolderValue,
                         dir.path().string());
    }
    // The second location's folder with MSINFO32.EXE in it.
    std::string folderWithProgram()
    {
        folder();
        return installed("MSINFO32.EXE");
    }
};

struct StartCase {
    const char* name;
    // Arranges the scene; returns the program that must start, or nothing
    // when the message must be shown.
    std::function<std::string(Scene&)> arrange;
};

void PrintTo(const StartCase& c, std::ostream* os)
{
    *os << c.name;
}

const StartCase kStartCases[] = {
    // Found and started.
    {"PathNamesAProgram",
     [](Scene& s) {
         s.path(s.installed("tool"));
         return s.installed("tool");
     }},
    {"PathWithoutClosingZero",
     [](Scene& s) {
         s.path(s.installed("tool"), false);
         return s.installed("tool");
     }},
    {"FolderHoldsTheProgram", [](Scene& s) { return s.folderWithProgram(); }},
    {"PathKeyWithoutPathValueFallsToTheFolder",
     [](Scene& s) {
         s.registry.addKey(kLocalMachine, ui::kSysInfoPathKey);
         return s.folderWithProgram();
     }},
    {"PathKeyRefusingTheAccessFallsToTheFolder",
     [](Scene& s) {
         s.path(s.installed("tool"));
         s.registry.addKey(kLocalMachine, ui::kSysInfoPathKey, reg::kKeyRead);
         return s.folderWithProgram();
     }},
    {"PathOver1024BytesFallsToTheFolder",
     [](Scene& s) {
         s.path(std::string(1100, 'x'));
         return s.folderWithProgram();
     }},
    // "System Information Is Unavailable At This Time".
    {"NeitherLocation", [](Scene&) { return std::string(); }},
    {"PathKeyWithoutValueAndFolderKeyWithoutValue",
     [](Scene& s) {
         s.registry.addKey(kLocalMachine, ui::kSysInfoPathKey);
         s.registry.addKey(kLocalMachine, ui::kSysInfoFolderKey);
         return std::string();
     }},
    {"BothKeysRefuseTheAccess",
     [](Scene& s) {
         s.path(s.installed("tool"));
         s.folderWithProgram();
         s.registry.addKey(kLocalMachine, ui::kSysInfoPathKey, reg::kKeyRead);
         s.registry.addKey(kLocalMachine, ui::kSysInfoFolderKey, reg::kKeyRead);
         return std::string();
     }},
    {"FolderWithoutTheProgram",
     [](Scene& s) {
         s.folder();
         s.launcher.installed.insert(s.dir.path().string() + std::string(ui::kSysInfoFile));
         return std::string();
     }},
    {"FolderWhereTheProgramIsAFolder",
     [](Scene& s) {
         s.folder();
         std::filesystem::create_directory(s.dir / "MSINFO32.EXE");
         s.launcher.installed.insert((s.dir / "MSINFO32.EXE").string());
         return std::string();
     }},
    {"PathThatCannotBeLaunched",
     [](Scene& s) {
         s.path((s.dir / "missing.exe").string());
         s.folderWithProgram();
         return std::string();
     }},
    {"FolderProgramThatCannotBeLaunched",
     [](Scene& s) {
         s.folderWithProgram();
         s.launcher.installed.clear();
         return std::string();
     }},
    // An empty value fails before the folder is tried.
    {"PathWithNoDataAtAll",
     [](Scene& s) {
         s.path("", false);
         s.folderWithProgram();
         return std::string();
     }},
    {"PathOfAnotherTypeLaunchesNothing",
     [](Scene& s) {
         s.registry.setValue(kLocalMachine, ui::kSysInfoPathKey, ui::kSysInfoPathValue, 2,
                             s.installed("tool") + '\0');
         s.folderWithProgram();
         return std::string();
     }},
    {"PathOfNumberTypeLaunchesNothing",
     [](Scene& s) {
         s.registry.setDword(kLocalMachine, ui::kSysInfoPathKey, ui::kSysInfoPathValue, 7);
         s.folderWithProgram();
         return std::string();
     }},
    {"PathAndFolderOver1024Bytes",
     [](Scene& s) {
         s.path(std::string(1100, 'x'));
         s.registry.setText(kLocalMachine, ui::kSysInfoFolderKey, ui::kSysInfoFolderValue,
                            std::string(1100, 'y'));
         return std::string();
     }},
};

class StartSysInfoTest : public SysInfoTest, public ::testing::WithParamInterface<StartCase>
{
protected:
    TempDir dir;
    Scene scene{registry, launcher, dir};
};

TEST_P(StartSysInfoTest, StartsTheProgramOrSaysItIsUnavailable)
{
    const std::string expected = GetParam().arrange(scene);

    ui::StartSysInfo();

    if (expected.empty()) {
        EXPECT_TRUE(launcher.started.empty());
        EXPECT_EQ(host.messages,
                  (std::vector<Message>{{std::string(ui::kSysInfoUnavailable), "qrx2"}}));
    } else {
        EXPECT_EQ(launcher.started, std::vector<std::string>{expected});
        EXPECT_TRUE(host.messages.empty());
    }
    EXPECT_EQ(host.ended, 0);
    expectAllKeysClosed();
}

INSTANTIATE_TEST_SUITE_P(Registry, StartSysInfoTest, ::testing::ValuesIn(kStartCases), CaseName());

TEST_F(StartSysInfoTest, APathFoundLeavesTheFolderUnread)
{
    scene.path(scene.installed("tool"));
    scene.folderWithProgram();
    ui::StartSysInfo();
    ASSERT_EQ(log.calls.size(), 3u);
    EXPECT_EQ(log.calls[0].rfind("open SOFTWARE\\Microsoft\\Shared Tools\\MSINFO ", 0), 0u);
    EXPECT_EQ(launcher.attempts, launcher.started);
}

TEST_F(StartSysInfoTest, AValueOfAnotherTypeLaunchesTheEmptyPath)
{
    scene.registry.setValue(kLocalMachine, ui::kSysInfoPathKey, ui::kSysInfoPathValue, 3, "\x01");
    ui::StartSysInfo();
    EXPECT_EQ(launcher.attempts, std::vector<std::string>{""});
}

// A launcher that fails by throwing, as a launch can when memory runs out.
class ThrowingLauncher final : public Launcher
{
public:
    bool startDetached(const std::string&) override
    {
        throw Failure(err::OutOfMemory, "Out of memory");
    }
};

TEST_F(StartSysInfoTest, AFailingLaunchEndsInTheMessage)
{
    ThrowingLauncher throwing;
    scene.path("C:\\tool.exe");
    {
        ReplaceService<Launcher> scope(throwing);
        ui::StartSysInfo();
    }
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.ended, 0);
}

TEST_F(StartSysInfoTest, EachClickLooksAgain)
{
    ui::StartSysInfo();
    const std::string program = scene.folderWithProgram();
    ui::StartSysInfo();
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(launcher.started, std::vector<std::string>{program});
}

} // namespace
} // namespace halvane::test
