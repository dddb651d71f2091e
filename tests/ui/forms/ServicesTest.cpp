// The window services without a toolkit: one window per class made from its
// design, its load step and data controls, unloading (also from the window's
// own handler), the close button, the default handling of failures, pictures
// from files, which window is active after another goes, and the rule that
// the event loop runs while any window is open.
#include "tests/ui/forms/FormsTest.h"
#include "ui/forms/CommandButton.h"
#include "ui/forms/PictureBox.h"

#include <functional>
#include <gmock/gmock.h>
#include <new>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace halvane::test
{
namespace
{

using ui::ControlEvent;
using ui::ControlKind;
using ui::Find;
using ui::Show;

constexpr ui::ControlDesign kControls[] = {
    {.name = "cmdClose",
     .kind = ControlKind::PushButton,
     .text = "Close",
     .place = {0, 0, 900, 300},
     .tabIndex = 0},
    {.name = "cmdFail",
     .kind = ControlKind::PushButton,
     .text = "Fail",
     .place = {0, 300, 900, 300},
     .tabIndex = 1},
    {.name = "picShow", .kind = ControlKind::PictureBox, .place = {0, 600, 900, 900}},
};

constexpr ui::WindowDesign kCounting{
    .name = "Counting",
    .kind = ui::WindowKind::ToolWindow,
    .caption = "Counting",
    .client = {1500, 1500},
    .placement = ui::Placement::SystemDefault,
    .font = ui::kWindowFont,
    .controls = kControls,
};

constexpr ui::WindowDesign kOther{
    .name = "Other",
    .kind = ui::WindowKind::ToolWindow,
    .client = {1500, 1500},
    .placement = ui::Placement::SystemDefault,
    .font = ui::kWindowFont,
};

// A window class that counts its loads, notes its load step in the window
// system's log, and fails on demand.
class CountingWindow final : public ui::Form
{
public:
    CountingWindow() : Form(kCounting), m_picShow(*this, "picShow"), m_cmdFail(*this, "cmdFail")
    {
        bind("cmdClose", ControlEvent::Click, &CountingWindow::cmdClose_Click);
        bind("cmdFail", ControlEvent::Click, &CountingWindow::cmdFail_Click);
        ++alive;
    }
    ~CountingWindow() override { --alive; }

    void Form_Load()
    {
        ++loads;
        if (log)
            log->push_back("Form_Load");
    }
    // Unloads the window from inside its own handler and goes on using it.
    void cmdClose_Click()
    {
        ui::Unload(*this);
        aliveAfterUnload = alive;
        m_cmdFail.setEnabled(false);
    }
    void cmdFail_Click() { failure(); }
    void show(std::string_view file) { m_picShow.setPictureFromFile(file); }

    static inline int loads = 0;
    static inline int alive = 0;
    static inline std::vector<std::string>* log = nullptr;
    static inline std::function<void()> failure;
    static inline int aliveAfterUnload = -1;

private:
    ui::PictureBox m_picShow;
    ui::CommandButton m_cmdFail;
};

class OtherWindow final : public ui::Form
{
public:
    OtherWindow() : Form(kOther) {}
};

// A window class whose load step ends the process.
class EndingWindow final : public ui::Form
{
public:
    EndingWindow() : Form(kOther) {}
    void Form_Load() { endProcess(); }
};

class Services : public FormsTest
{
protected:
    Services()
    {
        CountingWindow::loads = 0;
        CountingWindow::log = &windows.log;
    }
    ~Services() override { CountingWindow::log = nullptr; }
};

// ------------------------------------------------------------------ windows

TEST_F(Services, ShowCreatesOneWindowPerClassAndBringsItToTheFront)
{
    auto& first = Show<CountingWindow>();
    EXPECT_EQ(&Show<CountingWindow>(), &first);
    EXPECT_EQ(Find<CountingWindow>(), &first);
    EXPECT_EQ(CountingWindow::loads, 1);
    EXPECT_EQ(windows.openCount("Counting"), 1);
    // Made from its design, loaded, then shown: the load step runs before the
    // window is on the screen.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"create Counting", "Form_Load",
                                                     "show Counting", "front Counting"}));
    EXPECT_EQ(windows.window("Counting").design, &kCounting);
}

TEST_F(Services, UnloadDestroysAndTheNextShowCreatesAnewFromTheDesign)
{
    Show<CountingWindow>();
    ui::Unload<CountingWindow>();
    EXPECT_EQ(Find<CountingWindow>(), nullptr);
    EXPECT_FALSE(windows.window("Counting").open()) << "off the screen at once";
    windows.runLater();
    EXPECT_EQ(CountingWindow::alive, 0) << "destroyed once no handler runs";

    Show<CountingWindow>();
    EXPECT_EQ(CountingWindow::loads, 2);
    EXPECT_TRUE(windows.window("Counting").control("cmdFail").enabled);
    EXPECT_EQ(CountingWindow::alive, 1);
}

TEST_F(Services, UnloadInsideTheWindowsOwnHandlerIsSafe)
{
    Show<CountingWindow>();
    click("Counting", "cmdClose"); // goes on using the window after unloading it
    EXPECT_EQ(CountingWindow::aliveAfterUnload, 1) << "kept until the handler returns";
    EXPECT_EQ(Find<CountingWindow>(), nullptr);
    EXPECT_EQ(CountingWindow::alive, 0) << "destroyed when the handler returned";
    EXPECT_TRUE(windows.window("Counting").control("cmdFail").enabled)
        << "a control of an unloaded window takes no effect";
}

TEST_F(Services, CloseButtonUnloadsWithoutRunningAHandler)
{
    Show<CountingWindow>();
    windows.close("Counting");
    EXPECT_EQ(Find<CountingWindow>(), nullptr);
    EXPECT_EQ(CountingWindow::alive, 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Services, LoadStepThatEndsTheProcessLeavesNoWindow)
{
    EXPECT_THROW(Show<EndingWindow>(), ProcessEnded);
    EXPECT_EQ(Find<EndingWindow>(), nullptr);
    EXPECT_FALSE(ui::anyWindowOpen());
    EXPECT_EQ(windows.log, (std::vector<std::string>{"create Other", "destroy Other"}))
        << "never shown";
}

TEST_F(Services, ClassesShareNoWindow)
{
    Show<CountingWindow>();
    Show<OtherWindow>();
    EXPECT_EQ(windows.openCount("Counting"), 1);
    EXPECT_EQ(windows.openCount("Other"), 1);
    ui::Unload<OtherWindow>();
    EXPECT_NE(Find<CountingWindow>(), nullptr);
    EXPECT_TRUE(ui::anyWindowOpen());
}

TEST_F(Services, RepaintDrawsTheWindow)
{
    ui::Repaint(Show<CountingWindow>());
    EXPECT_EQ(windows.window("Counting").repaints, 1);
}

// ------------------------------------------------------------------ failures

struct UnhandledCase {
    const char* name;
    std::function<void()> body;
    const char* message;
};

void PrintTo(const UnhandledCase& c, std::ostream* os)
{
    *os << c.name;
}

const UnhandledCase kUnhandled[] = {
    {"Failure", [] { throw Failure(err::FileNotFound, "File not found: 3.BMP"); },
     "Run-time error '53':\n\nFile not found: 3.BMP"},
    {"OutOfMemory", [] { throw std::bad_alloc(); }, "Run-time error '7':\n\nOut of memory"},
    {"OtherException", [] { throw std::logic_error("broken"); }, "Run-time error '5':\n\nbroken"},
};

class DefaultFailureHandling : public Services, public ::testing::WithParamInterface<UnhandledCase>
{
};

TEST_P(DefaultFailureHandling, OfAHandlerReportsNumberAndDescriptionThenEnds)
{
    Show<CountingWindow>();
    CountingWindow::failure = GetParam().body;
    EXPECT_THROW(windows.click("Counting", "cmdFail"), ProcessEnded);
    EXPECT_EQ(host.messages, (std::vector<Message>{{GetParam().message, "qrx2"}}));
    EXPECT_EQ(host.ended, 1);
}

TEST_P(DefaultFailureHandling, OfAnyEventBodyAlike)
{
    EXPECT_THROW(ui::handleEvent(GetParam().body), ProcessEnded);
    EXPECT_EQ(host.messages, (std::vector<Message>{{GetParam().message, "qrx2"}}));
}

INSTANTIATE_TEST_SUITE_P(Failures, DefaultFailureHandling, ::testing::ValuesIn(kUnhandled),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Services, HandlerThatSucceedsShowsNothing)
{
    bool ran = false;
    ui::handleEvent([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.ended, 0);
}

TEST_F(Services, NoWindowSystemMakesNoWindow)
{
    ReplaceService<ui::WindowSystem> none(ui::WindowSystem::system());
    try {
        Show<CountingWindow>();
        FAIL() << "a window without a window system";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), err::InvalidCall);
        EXPECT_THAT(f.description(), ::testing::HasSubstr("Counting"));
    }
    EXPECT_EQ(Find<CountingWindow>(), nullptr);
}

// ------------------------------------------------------------------ pictures

struct PictureFileCase {
    const char* name;
    std::function<void(const std::filesystem::path&)> make; // makes the file "x.BMP"
    int number;                                             // 0: shown
};

void PrintTo(const PictureFileCase& c, std::ostream* os)
{
    *os << c.name;
}

const PictureFileCase kPictureFiles[] = {
    {"Bitmap", [](const auto& f) { writeFile(f, "BM a picture"); }, 0},
    {"Missing", [](const auto&) {}, err::FileNotFound},
    {"Folder", [](const auto& f) { std::filesystem::create_directory(f); }, err::PathFileAccess},
    {"Empty", [](const auto& f) { writeFile(f, ""); }, err::InvalidPicture},
    {"NotAPicture", [](const auto& f) { writeFile(f, "hello, world"); }, err::InvalidPicture},
};

class PictureFromFile : public Services, public ::testing::WithParamInterface<PictureFileCase>
{
};

TEST_P(PictureFromFile, ShownOrFailsWithNumberAndFileName)
{
    TempDir dir;
    GetParam().make(dir / "x.BMP");
    std::filesystem::current_path(dir.path()); // the name is relative to the current directory
    auto& window = Show<CountingWindow>();
    const auto& picture = windows.window("Counting").control("picShow").picture;
    if (GetParam().number == 0) {
        window.show("x.BMP");
        EXPECT_EQ(picture, "BM a picture");
        return;
    }
    try {
        window.show("x.BMP");
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), GetParam().number);
        EXPECT_THAT(f.description(), ::testing::HasSubstr((dir / "x.BMP").string()));
    }
    EXPECT_EQ(picture, std::nullopt) << "the box keeps its picture";
}

INSTANTIATE_TEST_SUITE_P(Files, PictureFromFile, ::testing::ValuesIn(kPictureFiles),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Services, UnreadablePictureIsPermissionDenied)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows files have no permission bits that take reading away";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    TempDir dir;
    writeFile(dir / "x.BMP", "BM");
    std::filesystem::permissions(dir / "x.BMP", std::filesystem::perms::none);
    std::filesystem::current_path(dir.path());
    auto& window = Show<CountingWindow>();
    try {
        window.show("x.BMP");
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), err::PermissionDenied);
    }
#endif
}

TEST_F(Services, PictureIsReadAnewEveryTime)
{
    TempDir dir;
    std::filesystem::current_path(dir.path());
    auto& window = Show<CountingWindow>();
    const auto& picture = windows.window("Counting").control("picShow").picture;
    writeFile(dir / "x.BMP", "BM red");
    window.show("x.BMP");
    EXPECT_EQ(picture, "BM red");
    writeFile(dir / "x.BMP", "BM blu"); // same name and size
    window.show("x.BMP");
    EXPECT_EQ(picture, "BM blu");
    std::filesystem::remove(dir / "x.BMP");
    EXPECT_THROW(window.show("x.BMP"), Failure);
}

// ------------------------------------------------------------------ the active window

TEST_F(Services, UnloadingTheActiveWindowActivatesTheOneActiveBefore)
{
    Show<CountingWindow>();
    Show<OtherWindow>();
    ASSERT_EQ(windows.active, "Other");
    ui::handleEvent([] { ui::Unload<OtherWindow>(); });
    EXPECT_EQ(windows.active, "Counting");
    EXPECT_EQ(windows.log.back(), "activate Counting");
}

TEST_F(Services, TheUsersOwnActivationsCount)
{
    Show<CountingWindow>();
    Show<OtherWindow>();
    windows.activate("Counting");
    windows.activate("Other");
    windows.activate("Counting");
    // After a message box: the window active last.
    windows.active.clear();
    ui::restoreActiveWindow();
    EXPECT_EQ(windows.active, "Counting");
    // Counting goes: Other was active before it.
    windows.close("Counting");
    EXPECT_EQ(windows.active, "Other");
}

TEST_F(Services, UnloadingAnotherWindowLeavesTheActiveOneAlone)
{
    Show<CountingWindow>();
    Show<OtherWindow>();
    const auto logged = windows.log.size();
    ui::handleEvent([] { ui::Unload<CountingWindow>(); });
    EXPECT_EQ(windows.active, "Other");
    EXPECT_EQ(windows.log.size(), logged + 1) << "only the destruction";
}

TEST_F(Services, AWindowShownAfterTheActiveOneWentStaysActive)
{
    Show<OtherWindow>();
    Show<CountingWindow>();
    // As the splash window's "OK" does: the active window goes, another comes.
    ui::handleEvent([] {
        ui::Unload<CountingWindow>();
        ui::Unload<OtherWindow>();
        Show<CountingWindow>();
    });
    EXPECT_EQ(windows.active, "Counting");
    EXPECT_EQ(windows.log.back(), "show Counting");
}

// ------------------------------------------------------------------ the life of the process

TEST_F(Services, EventLoopWithoutAnyWindowEndsAtOnce)
{
    windows.steps = {[] { FAIL() << "the loop ran"; }};
    EXPECT_EQ(ui::runEventLoop(), 0);
}

TEST_F(Services, EventLoopEndsWhenTheLastWindowCloses)
{
    Show<CountingWindow>();
    Show<OtherWindow>();
    std::vector<std::string> seen;
    windows.steps = {
        [&] { windows.close("Other"); },
        [&] { seen.push_back(ui::anyWindowOpen() ? "running" : "ended"); },
        [&] { click("Counting", "cmdClose"); },
        [&] { seen.push_back("a step after the last window"); },
    };
    EXPECT_EQ(ui::runEventLoop(), 0);
    EXPECT_EQ(seen, std::vector<std::string>{"running"});
}

TEST_F(Services, AWindowUnloadedOutsideAnyHandlerEndsTheLoopOnceTheEventIsDone)
{
    Show<CountingWindow>();
    windows.steps = {[] { ui::Unload<CountingWindow>(); }, [] { FAIL() << "still running"; }};
    EXPECT_EQ(ui::runEventLoop(), 0);
    EXPECT_EQ(CountingWindow::alive, 0);
}

TEST_F(Services, NoHandlerEndsTheLoopWhileAnotherHandlerRuns)
{
    // A message box's own event loop runs queued calls inside the handler
    // that shows it; the last window that handler unloaded must not end the
    // program before the box is answered.
    Show<CountingWindow>();
    Show<OtherWindow>();
    std::vector<std::string> seen;
    windows.steps = {[&] {
        ui::Unload<OtherWindow>(); // outside any handler: its settling is queued
        ui::handleEvent([&] {
            ui::Unload<CountingWindow>();
            windows.runLater(); // the box's loop
            seen.push_back(windows.quitStatus() ? "ended" : "box answered");
        });
        seen.push_back(windows.quitStatus() ? "ended" : "running");
    }};
    EXPECT_EQ(ui::runEventLoop(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"box answered", "ended"}));
}

} // namespace
} // namespace halvane::test
