// The ways through the program's windows on the Win32 backend, driven by
// real window messages through the program's own message loop and checked
// through the Win32 API: start-up drawn before the loop runs, the splash
// window's "OK", Tab, Enter and Escape in the dialog manager's hands, the
// message boxes (answered while they are up) and the active window after
// them, the main window's run over a real table in C:\, the instruction
// viewer, the registered system-information program started, and qrx2.exe
// ending when its last window closes or at once on "Exit".
#include "system/Service.h"
#include "core/ShamsiConv.h"
#include "run/ConversionRun.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ProgramScene.h"
#include "tests/ui/win32/WindowText.h"
#include "ui/forms/Module1.h"
#include "ui/forms/SysInfo.h"
#include "ui/forms/WindowServices.h"
#include "ui/forms/WindowSystem.h"
#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"
#include "ui/win32/Win32Backend.h"
#include "ui/win32/Win32Controls.h"
#include "ui/win32/Win32Host.h"
#include "ui/win32/Win32Style.h"
#include "ui/win32/Win32Window.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvane::test
{
namespace
{

using halvane::utf8;
using halvane::wide;
using ui::WindowDesign;
using ui::win32::kWindowClass;

// How long any one thing is waited for before the case fails.
constexpr DWORD kPatienceMs = 15000;

// ------------------------------------------------------------------ reading windows

DWORD processOf(HWND w)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

struct Wanted {
    const wchar_t* className;
    const wchar_t* caption = nullptr; // any
    bool ours = true;                 // of this process, else of another one
    bool visible = true;              // only the visible ones
};

BOOL CALLBACK collect(HWND w, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(w);
    return TRUE;
}

// Every top-level window (`parent` null), or every window within `parent`.
std::vector<HWND> windowsIn(HWND parent)
{
    std::vector<HWND> windows;
    if (parent)
        EnumChildWindows(parent, &collect, reinterpret_cast<LPARAM>(&windows));
    else
        EnumWindows(&collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The top-level windows that are as `wanted`.
std::vector<HWND> topLevels(const Wanted& wanted)
{
    std::vector<HWND> found;
    for (HWND w : windowsIn(nullptr))
        if ((!wanted.visible || IsWindowVisible(w)) && classOf(w) == wanted.className &&
            (!wanted.caption || textOf(w) == wanted.caption) &&
            (processOf(w) == GetCurrentProcessId()) == wanted.ours)
            found.push_back(w);
    return found;
}

// The one visible window of the program with `caption`, or null.
HWND programWindow(const std::wstring& caption, bool ours = true)
{
    const auto found = topLevels({kWindowClass, caption.c_str(), ours});
    return found.size() == 1 ? found.front() : nullptr;
}

// The control `name` of `window`, made from `design`, found by its
// identifier as the backend gives it, at any depth of containers.
HWND controlOf(HWND window, const WindowDesign& design, std::string_view name)
{
    const int id = ui::win32::kFirstControlId + int(design.indexOf(name));
    for (HWND w : windowsIn(window))
        if (GetDlgCtrlID(w) == id)
            return w;
    return nullptr;
}

// A message box of this process (a dialog of class #32770) titled `title`.
HWND messageBoxTitled(std::string_view title)
{
    const std::wstring caption = wide(title);
    const auto found = topLevels({L"#32770", caption.c_str()});
    return found.empty() ? nullptr : found.front();
}

// The text of a message box (its static text control, 0xFFFF).
std::string messageBoxText(HWND box)
{
    return utf8(textOf(GetDlgItem(box, 0xFFFF)));
}

// The buttons a message box shows.
std::vector<int> messageBoxButtons(HWND box)
{
    std::vector<int> ids;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (classOf(c) == L"Button" && IsWindowVisible(c))
            ids.push_back(GetDlgCtrlID(c));
    return ids;
}

bool activeAndForeground(HWND window)
{
    return window && GetActiveWindow() == window && GetForegroundWindow() == window;
}

// A key press as the keyboard delivers it to the control with the focus,
// through the message queue.
void pressKey(WPARAM key)
{
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, LPARAM(0xC0000001));
}

// Shift held down (or let go) as the key state that the loop reads tells.
void holdShift(bool down)
{
    std::array<BYTE, 256> keys{};
    GetKeyboardState(keys.data());
    keys[VK_SHIFT] = keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys.data());
}

// Waits for the focus on `control`, known by then.
std::function<bool()> focusOn(const HWND& control)
{
    return [&control] { return control && GetFocus() == control; };
}

// A left click in the middle of `control`, through the message queue.
void clickMiddle(HWND control)
{
    RECT r;
    GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

std::filesystem::path delivered(std::string_view name)
{
    return std::filesystem::path(HALVANE_PROGRAM_DIR) / name;
}

// The picture box `box` shows the delivered picture file `name`.
bool shows(HWND box, std::string_view name)
{
    const HBITMAP shown = shownBitmap(box);
    std::string why;
    const auto want = ui::win32::decodePicture(readFile(delivered(name)), why);
    if (!shown || !want || bitmapSize(shown).cx != want->size().cx ||
        bitmapSize(shown).cy != want->size().cy)
        return false;
    auto bitsOf = [](HBITMAP bitmap) {
        DIBSECTION section{};
        GetObjectW(bitmap, sizeof section, &section);
        const SIZE size = bitmapSize(bitmap);
        const auto* first = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
        return std::vector<std::uint32_t>(first,
                                          first + std::size_t(size.cx) * std::size_t(size.cy));
    };
    return bitsOf(shown) == bitsOf(want->bitmap());
}

// ------------------------------------------------------------------ driving the loop

// A script of steps run inside the program's own message loop (ui::
// runEventLoop), from a thread timer: each step waits for its condition and
// then acts. A step's action may open a message box, whose own modal loop
// goes on running the timer: only steps marked `inBox` run in there (to
// answer the box), the others wait until the action has returned. A step
// that waits longer than kPatienceMs ends the loop, naming what it waited
// for; after the last step the loop is ended with kFinished.
struct Step {
    std::string what; // what is waited for, named when it never comes
    std::function<bool()> until;
    std::function<void()> then;
    bool inBox = false;
};

class Script
{
public:
    static constexpr int kFinished = 1001;
    static constexpr int kTimedOut = 1002;

    explicit Script(std::vector<Step> steps) : m_steps(std::move(steps)) {}

    // The loop's exit status: kFinished, 0 when the last window closed
    // before the script ended it, kTimedOut.
    int run()
    {
        current() = this;
        m_deadline = GetTickCount64() + kPatienceMs;
        const UINT_PTR timer = SetTimer(nullptr, 0, 15, &tick);
        const int status = ui::runEventLoop();
        KillTimer(nullptr, timer);
        current() = nullptr;
        return status;
    }
    // Why the loop ended early, for the failure message.
    const std::string& failure() const { return m_failure; }

private:
    static Script*& current()
    {
        static Script* script = nullptr;
        return script;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (Script* s = current())
            s->advance();
    }
    void end(int status)
    {
        if (!std::exchange(m_ended, true))
            service<ui::WindowSystem>().quitEventLoop(status);
    }
    void advance()
    {
        if (m_ended)
            return;
        if (m_next == m_steps.size()) {
            if (m_depth == 0)
                end(kFinished);
            return;
        }
        Step& step = m_steps[m_next];
        if (GetTickCount64() > m_deadline) {
            m_failure = "step " + std::to_string(m_next + 1) + ": waited in vain for " + step.what;
            // A message box left open would keep its modal loop running.
            for (HWND box : topLevels({L"#32770"}))
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            end(kTimedOut);
            return;
        }
        if ((m_depth > 0 && !step.inBox) || (step.until && !step.until()))
            return;
        ++m_next;
        m_deadline = GetTickCount64() + kPatienceMs;
        ++m_depth;
        if (step.then)
            step.then();
        --m_depth;
    }

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    int m_depth = 0;
    bool m_ended = false;
    ULONGLONG m_deadline = 0;
    std::string m_failure;
};

// Waits, for at most kPatienceMs, until `done` holds, with this thread's
// messages dispatched meanwhile; for what other processes do.
bool waitFor(const std::function<bool()>& done)
{
    const ULONGLONG end = GetTickCount64() + kPatienceMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// The Win32 backend's message boxes; the end of the process, which would end
// the test program with a passing status, ends it with a failing one and
// says so.
class GuardedHost final : public Host
{
public:
    void messageBox(std::string_view text, std::string_view title) override
    {
        m_boxes.messageBox(text, title);
    }
    [[noreturn]] void endProcess() override
    {
        std::fprintf(stderr, "FAILED: the program ended the process during %s\n",
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::fflush(nullptr);
        std::_Exit(3);
    }

private:
    ui::win32::Win32Host m_boxes;
    ReplaceService<Host> m_scope{*this};
};

// ------------------------------------------------------------------ the flows

// ES, EF, ES_T1, EF_T1 of each record, and the SHES, SHEF, SHTS, SHTF they
// give; one date lies outside the table's years (a "Date Not Found" box).
const TableBuilder kRecords = [] {
    TableBuilder table;
    table.add(scheduleRecord("20020321", "20030320"));
    table.add(scheduleRecord("20000101", "", "19790101", "20231231"));
    return table;
}();
const std::vector<std::array<std::string, 4>> kConverted = {
    {"81/01/01  ", "81/12/29  ", "          ", "          "},
    {"78/10/11  ", "          ", "          ", "02/10/10  "},
};

class Win32Flow : public ::testing::Test, public ProgramScene
{
protected:
    ~Win32Flow() override
    {
        // The windows left go, and their destruction is let through.
        ui::unloadAll();
        waitFor([] { return topLevels({kWindowClass, nullptr, true, false}).empty(); });
    }

    // The message box titled `title` is up, modal to the program's windows
    // (`window` among them, known by then), with `text` and an OK button
    // only; it is answered with OK.
    Step answerBox(std::string_view title, std::string_view text, const HWND& window)
    {
        return {"the message box \"" + std::string(title) + "\"",
                [title] { return messageBoxTitled(title) != nullptr; },
                [title, text, &window, this] {
                    HWND box = messageBoxTitled(title);
                    EXPECT_EQ(messageBoxText(box), text);
                    EXPECT_EQ(messageBoxButtons(box), std::vector<int>{IDOK});
                    EXPECT_TRUE(IsWindow(window));
                    EXPECT_FALSE(IsWindowEnabled(window)) << "the box is modal to the window";
                    ++boxesAnswered;
                    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
                },
                true};
    }

    void runScript(std::vector<Step> steps, int expectedStatus = Script::kFinished)
    {
        Script script(std::move(steps));
        EXPECT_EQ(script.run(), expectedStatus) << script.failure();
    }

    ui::win32::Win32Backend backend;
    GuardedHost host;
    int boxesAnswered = 0;
};

TEST_F(Win32Flow, MainDrawsTheSplashAndItsOkOpensTheMainWindow)
{
    ui::handleEvent([] { ui::Module1::Main(); });
    HWND splash = programWindow(L"");
    ASSERT_NE(splash, nullptr) << "one visible untitled HalvaneWindow";
    EXPECT_TRUE(activeAndForeground(splash));
    const WindowDesign& design = ui::frmSplash::Design();
    HWND ok = controlOf(splash, design, "cmdOK");
    EXPECT_EQ(textOf(ok), L"OK");
    EXPECT_EQ(GetFocus(), ok);
    // Drawn completely before Main returned, without the loop running: no
    // part of the window or of its controls is left to paint.
    for (HWND w : windowsIn(splash))
        EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE)) << "a " << utf8(classOf(w)) << " to paint";
    EXPECT_FALSE(GetUpdateRect(splash, nullptr, FALSE)) << "the window left to paint";

    HWND main = nullptr;
    runScript(
        {
            {"the splash window", nullptr,
             [&] {
                 // No title bar, no close button: the close request does nothing.
                 SendMessageW(splash, WM_CLOSE, 0, 0);
                 EXPECT_TRUE(IsWindowVisible(splash));
                 SendMessageW(ok, BM_CLICK, 0, 0);
                 EXPECT_FALSE(IsWindowVisible(splash)) << "off the screen at once";
             }},
            {"the splash window destroyed and the main window shown",
             [&] {
                 main = programWindow(L"QRX Ver. 2.0");
                 return !IsWindow(splash) && main;
             },
             [&] {
                 EXPECT_TRUE(activeAndForeground(main));
                 EXPECT_EQ(GetFocus(), controlOf(main, ui::frmRun::Design(), "cmdRun"));
                 RECT r;
                 GetWindowRect(main, &r);
                 EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1);
                 EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 1);
                 // The title bar's close button on the last window.
                 PostMessageW(main, WM_CLOSE, 0, 0);
             }},
            {"the loop's end with the last window", [] { return false; }, nullptr},
        },
        0);
    EXPECT_FALSE(ui::anyWindowOpen()) << "the loop ended with the last window";
}

TEST_F(Win32Flow, AboutAnswersEnterAndEscapeThroughTheLoop)
{
    ui::handleEvent([] { ui::Module1::Main(); });
    HWND splash = programWindow(L"");
    ASSERT_NE(splash, nullptr);
    const WindowDesign& design = ui::frmAbout::Design();
    HWND about = nullptr;
    HWND ok = nullptr;
    HWND sysInfo = nullptr;
    runScript({
        {"the splash window", nullptr,
         [&] {
             SendMessageW(controlOf(splash, ui::frmSplash::Design(), "cmdAbout"), BM_CLICK, 0, 0);
         }},
        {"the About window, active",
         [&] {
             about = programWindow(wide(design.caption));
             return activeAndForeground(about);
         },
         [&] {
             ok = controlOf(about, design, "cmdOK");
             sysInfo = controlOf(about, design, "cmdSysInfo");
             EXPECT_EQ(GetFocus(), ok);
             EXPECT_TRUE(IsWindowVisible(splash)) << "the splash window stays";
             pressKey(VK_TAB);
         }},
        {"Tab: the focus on System Info", focusOn(sysInfo),
         [&] {
             // Enter presses the focused button, not the default OK.
             pressKey(VK_RETURN);
         }},
        answerBox(kAppTitle, ui::kSysInfoUnavailable, about),
        {"the About window active again after the box",
         [&] { return !messageBoxTitled(kAppTitle) && activeAndForeground(about); },
         [&] {
             EXPECT_EQ(GetFocus(), sysInfo) << "the focus where it was";
             pressKey(VK_ESCAPE); // the cancel button: OK
         }},
        {"Escape: the About window destroyed, the splash window active",
         [&] { return !IsWindow(about) && activeAndForeground(splash); },
         [&] {
             EXPECT_EQ(GetFocus(), controlOf(splash, ui::frmSplash::Design(), "cmdAbout"))
                 << "the focus where it was when the About window opened";
         }},
    });
    EXPECT_EQ(boxesAnswered, 1);
}

// The system-information program registered in the registry of this Wine
// prefix, for the life of the object.
class RegisteredSysInfo
{
public:
    explicit RegisteredSysInfo(const std::wstring& path)
    {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(ui::kSysInfoPathKey).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &m_key, nullptr);
        RegSetValueExW(m_key, wide(ui::kSysInfoPathValue).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(path.c_str()),
                       DWORD((path.size() + 1) * sizeof(wchar_t)));
    }
    ~RegisteredSysInfo()
    {
        RegDeleteValueW(m_key, wide(ui::kSysInfoPathValue).c_str());
        RegCloseKey(m_key);
    }
    RegisteredSysInfo(const RegisteredSysInfo&) = delete;
    RegisteredSysInfo& operator=(const RegisteredSysInfo&) = delete;

private:
    HKEY m_key = nullptr;
};

// The image file of the process `pid`, lower case; empty when it is gone.
std::wstring imageOf(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return {};
    wchar_t name[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameW(process, 0, name, &size);
    CloseHandle(process);
    std::wstring image(name);
    for (auto& c : image)
        c = towlower(c);
    return image;
}

TEST_F(Win32Flow, SystemInfoStartsTheRegisteredProgram)
{
    RegisteredSysInfo registered(L"C:\\windows\\system32\\msinfo32.exe");
    ui::handleEvent([] { ui::Show<ui::frmAbout>(); });
    HWND about = programWindow(wide(ui::frmAbout::Design().caption));
    ASSERT_NE(about, nullptr);
    // A window of the program started: a process of its own.
    auto startedWindow = [] {
        for (HWND w : windowsIn(nullptr))
            if (IsWindowVisible(w) && processOf(w) != GetCurrentProcessId() &&
                imageOf(processOf(w)).ends_with(L"\\msinfo32.exe"))
                return w;
        return HWND(nullptr);
    };
    HWND started = nullptr;
    runScript({
        {"the About window", nullptr,
         [&] {
             SendMessageW(controlOf(about, ui::frmAbout::Design(), "cmdSysInfo"), BM_CLICK, 0, 0);
         }},
        {"a window of msinfo32.exe",
         [&] {
             started = startedWindow();
             return started != nullptr;
         },
         [&] {
             EXPECT_EQ(messageBoxTitled(kAppTitle), nullptr) << "no \"unavailable\" box";
             EXPECT_TRUE(IsWindow(about)) << "the About window stays";
         }},
    });
    if (started) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processOf(started));
        TerminateProcess(process, 0);
        WaitForSingleObject(process, kPatienceMs);
        CloseHandle(process);
    }
}

TEST_F(Win32Flow, RunConvertsTheTableAndGivesTheActivationBackAfterEachBox)
{
    writeTable(kRecords);
    ui::handleEvent([] { ui::Show<ui::frmRun>(); });
    const WindowDesign& design = ui::frmRun::Design();
    HWND main = programWindow(wide(design.caption));
    ASSERT_NE(main, nullptr);
    HWND run = controlOf(main, design, "cmdRun");
    HWND picRun = controlOf(main, design, "picRun");
    auto checkRun = [&](int runs) {
        const std::string bytes = readFile(tableFile());
        for (std::size_t r = 0; r < kRecords.records.size(); ++r)
            for (std::size_t f = 0; f < run::kFieldPairs.size(); ++f)
                EXPECT_EQ(kRecords.storedField(bytes, r, run::kFieldPairs[f].second),
                          kConverted[r][f])
                    << "run " << runs << ", record " << r << " " << run::kFieldPairs[f].second;
        EXPECT_TRUE(activeAndForeground(main)) << "run " << runs;
        EXPECT_EQ(GetFocus(), run) << "run " << runs;
    };
    auto runOver = [&](int boxes) {
        return [&, boxes] {
            return boxesAnswered == boxes && !messageBoxTitled(kDateNotFoundTitle) &&
                   shows(picRun, "success.BMP");
        };
    };
    runScript({
        {"the main window, active", [&] { return activeAndForeground(main); },
         [&] { SendMessageW(run, BM_CLICK, 0, 0); }},
        answerBox(kDateNotFoundTitle, kDateNotFoundText, main),
        {"the end of the first run", runOver(1),
         [&] {
             checkRun(1);
             // The table back as exported; Enter on Run, where the focus is.
             writeTable(kRecords);
             pressKey(VK_RETURN);
         }},
        answerBox(kDateNotFoundTitle, kDateNotFoundText, main),
        {"the end of the second run", runOver(2), [&] { checkRun(2); }},
    });
    EXPECT_EQ(boxesAnswered, 2);
}

TEST_F(Win32Flow, InstructionViewerTabsTurnsPagesAndGivesTheActivationBack)
{
    ui::handleEvent([] { ui::Show<ui::frmRun>(); });
    HWND main = programWindow(wide(ui::frmRun::Design().caption));
    ASSERT_NE(main, nullptr);
    HWND area = controlOf(main, ui::frmRun::Design(), "imgInstr");
    const WindowDesign& design = ui::frmInstruction::Design();
    HWND viewer = nullptr;
    HWND picture = nullptr;
    HWND close = nullptr;
    HWND visual = nullptr;
    auto control = [&](std::string_view name) { return controlOf(viewer, design, name); };
    runScript({
        {"the main window, active", [&] { return activeAndForeground(main); },
         [&] { clickMiddle(area); }},
        {"the viewer, active",
         [&] {
             viewer = programWindow(wide(design.caption));
             return activeAndForeground(viewer);
         },
         [&] {
             picture = control("Picture1");
             close = control("cmdOK");
             visual = control("cmdVisual");
             EXPECT_EQ(GetFocus(), picture) << "first in the tab order";
             // The tab order runs against the stacking order here.
             pressKey(VK_TAB);
         }},
        {"Tab: the focus on Close", focusOn(close), [&] { pressKey(VK_TAB); }},
        {"Tab: the focus on Visual Tour", focusOn(visual),
         [&] {
             holdShift(true);
             pressKey(VK_TAB);
         }},
        {"Shift+Tab: the focus on Close", focusOn(close),
         [&] {
             holdShift(false);
             // The instruction area again, with the main window in front.
             SetActiveWindow(main);
             clickMiddle(area);
         }},
        {"the same viewer in front again", [&] { return activeAndForeground(viewer); },
         [&] {
             EXPECT_EQ(topLevels({kWindowClass, wide(design.caption).c_str()}).size(), 1u)
                 << "one viewer";
             EXPECT_EQ(GetFocus(), close) << "the focus where it was";
             EXPECT_FALSE(IsWindowVisible(control("cmdNext")));
             SendMessageW(visual, BM_CLICK, 0, 0);
             EXPECT_TRUE(shows(picture, "1.BMP"));
             EXPECT_TRUE(IsWindowVisible(control("cmdNext")));
             EXPECT_FALSE(IsWindowEnabled(control("cmdPrev")));
             SendMessageW(control("cmdNext"), BM_CLICK, 0, 0);
             EXPECT_TRUE(shows(picture, "2.BMP"));
             EXPECT_TRUE(IsWindowEnabled(control("cmdPrev")));
             // Escape: "<<Prev", the cancel button, now that it can be pressed.
             pressKey(VK_ESCAPE);
         }},
        {"Escape: page 1", [&] { return shows(picture, "1.BMP"); },
         [&] {
             EXPECT_FALSE(IsWindowEnabled(control("cmdPrev")));
             PostMessageW(viewer, WM_CLOSE, 0, 0); // its title bar's close button
         }},
        {"the viewer destroyed, the main window active",
         [&] { return !IsWindow(viewer) && activeAndForeground(main); },
         [&] { EXPECT_EQ(GetFocus(), controlOf(main, ui::frmRun::Design(), "cmdRun")); }},
    });
}

// Enter held down on "Next>>" through the loop: forward to the last page and
// no further; the focus goes on to "<<Prev" by the tab order, and the Enter
// meant for "Next>>" presses nothing there. A click hands Enter back.
TEST_F(Win32Flow, EnterAfterTheLastPageNeverTurnsBack)
{
    ui::handleEvent([] { ui::Show<ui::frmInstruction>(); });
    const WindowDesign& design = ui::frmInstruction::Design();
    HWND viewer = programWindow(wide(design.caption));
    ASSERT_NE(viewer, nullptr);
    HWND picture = controlOf(viewer, design, "Picture1");
    HWND next = controlOf(viewer, design, "cmdNext");
    HWND prev = controlOf(viewer, design, "cmdPrev");
    const auto settled = [] { return HIWORD(GetQueueStatus(QS_POSTMESSAGE | QS_KEY)) == 0; };
    runScript({
        {"the viewer, active", [&] { return activeAndForeground(viewer); },
         [&] {
             SendMessageW(controlOf(viewer, design, "cmdVisual"), BM_CLICK, 0, 0);
             SetFocus(next);
             for (int enter = 0; enter < 20; ++enter)
                 pressKey(VK_RETURN);
         }},
        {"twenty Enters: page 15, the focus on <<Prev",
         [&] { return settled() && shows(picture, "15.BMP") && GetFocus() == prev; },
         [&] {
             EXPECT_FALSE(IsWindowEnabled(next));
             SendMessageW(prev, BM_CLICK, 0, 0);
             EXPECT_TRUE(shows(picture, "14.BMP"));
             SetFocus(prev);
             pressKey(VK_RETURN);
         }},
        {"Enter on <<Prev after the click: page 13",
         [&] { return settled() && shows(picture, "13.BMP"); }, [] {}},
    });
}

// ------------------------------------------------------------------ qrx2.exe

// The windowed program, started from the build, driven from this process
// through its windows: through the splash window to the main window and the
// instruction viewer, then ended one way or another, with exit status 0.
struct Ending {
    const char* name;
    // Ends the program whose main window and viewer are given; false when
    // what it saw on the way was wrong.
    bool (*end)(HWND main, HWND viewer, HANDLE process);
};

class Qrx2Process : public ::testing::TestWithParam<Ending>
{
};

TEST_P(Qrx2Process, EndsWithStatusZero)
{
    ChildProcess qrx2({builtProgram("qrx2")});
    ASSERT_TRUE(qrx2.started());
    HWND splash = nullptr;
    ASSERT_TRUE(waitFor([&] { return (splash = programWindow(L"", false)) != nullptr; }))
        << "the splash window of qrx2.exe";
    HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processOf(splash));
    ASSERT_NE(process, nullptr);
    PostMessageW(controlOf(splash, ui::frmSplash::Design(), "cmdOK"), BM_CLICK, 0, 0);
    HWND main = nullptr;
    ASSERT_TRUE(waitFor([&] {
        return (main = programWindow(wide(ui::frmRun::Design().caption), false)) != nullptr;
    })) << "the main window of qrx2.exe";
    clickMiddle(controlOf(main, ui::frmRun::Design(), "imgInstr"));
    HWND viewer = nullptr;
    ASSERT_TRUE(waitFor([&] {
        return (viewer = programWindow(wide(ui::frmInstruction::Design().caption), false)) !=
               nullptr;
    })) << "the instruction viewer of qrx2.exe";

    EXPECT_TRUE(GetParam().end(main, viewer, process));
    EXPECT_EQ(WaitForSingleObject(process, kPatienceMs), WAIT_OBJECT_0) << "qrx2.exe ended";
    DWORD status = 1;
    GetExitCodeProcess(process, &status);
    EXPECT_EQ(status, 0u);
    CloseHandle(process);
}

const Ending kEndings[] = {
    // "Exit": at once, though the viewer is still open.
    {"Exit",
     [](HWND main, HWND, HANDLE) {
         PostMessageW(controlOf(main, ui::frmRun::Design(), "cmdCancel"), BM_CLICK, 0, 0);
         return true;
     }},
    // The close buttons: the program runs while any of its windows is open.
    {"LastWindowClosed",
     [](HWND main, HWND viewer, HANDLE process) {
         PostMessageW(main, WM_CLOSE, 0, 0);
         const bool mainGone = waitFor([&] { return !IsWindow(main); });
         EXPECT_TRUE(mainGone) << "the main window destroyed";
         const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
         EXPECT_TRUE(running) << "qrx2.exe runs on with the viewer open";
         EXPECT_TRUE(IsWindowVisible(viewer));
         PostMessageW(viewer, WM_CLOSE, 0, 0);
         return mainGone && running;
     }},
};

INSTANTIATE_TEST_SUITE_P(Endings, Qrx2Process, ::testing::ValuesIn(kEndings),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace halvane::test
