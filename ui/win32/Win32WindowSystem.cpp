#include "ui/win32/Win32WindowSystem.h"

#include "ui/win32/Win32Window.h"

namespace halvane::ui::win32
{
namespace
{

constexpr wchar_t kTaskClass[] = L"HalvaneTasks";
constexpr UINT kRunTask = WM_APP + 2;

} // namespace

Win32WindowSystem::Win32WindowSystem()
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &taskProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kTaskClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    m_tasks = CreateWindowExW(0, kTaskClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

Win32WindowSystem::~Win32WindowSystem()
{
    // Tasks never run are freed with their window.
    MSG message;
    while (PeekMessageW(&message, m_tasks, kRunTask, kRunTask, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(message.lParam);
    DestroyWindow(m_tasks);
}

LRESULT CALLBACK Win32WindowSystem::taskProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    if (message != kRunTask)
        return DefWindowProcW(window, message, wParam, lParam);
    std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
    (*task)();
    return 0;
}

std::unique_ptr<NativeWindow> Win32WindowSystem::createWindow(const WindowDesign& design,
                                                              WindowEvents& events)
{
    return std::make_unique<Win32Window>(design, events);
}

bool Win32WindowSystem::handleKey(MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    Win32Window* window = Win32Window::fromHandle(root);
    if (!window)
        return false;
    // Tab follows the design's tab order, which the stacking order of the
    // controls (the dialog manager's order) need not be.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
        !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000)) {
        window->tab(!(GetKeyState(VK_SHIFT) & 0x8000));
        return true;
    }
    // Enter goes to the window's keyboard rules, not to the dialog manager's
    // default button: they hold an Enter meant for a button taken away.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
        !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000)) {
        window->enter();
        return true;
    }
    return IsDialogMessageW(root, &message) != FALSE;
}

int Win32WindowSystem::runEventLoop()
{
    ++m_loops;
    MSG message{};
    int status = 0;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            status = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1)
            break;
        if (handleKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    --m_loops;
    return status;
}

void Win32WindowSystem::quitEventLoop(int status)
{
    // Only a running loop is ended: a quit message left in the queue would
    // end the next loop at once.
    if (m_loops > 0)
        PostQuitMessage(status);
}

void Win32WindowSystem::later(std::function<void()> task)
{
    auto* posted = new std::function<void()>(std::move(task));
    if (!PostMessageW(m_tasks, kRunTask, 0, reinterpret_cast<LPARAM>(posted)))
        delete posted;
}

} // namespace halvane::ui::win32
