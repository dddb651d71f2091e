// The window system of the Win32 backend: windows made with the Win32 API,
// its message loop (with the keyboard handling of the windows' controls:
// Tab in the designs' tab order, Enter, Escape and access keys through the
// dialog manager), and tasks run after the message being handled.
#pragma once

#include "ui/forms/WindowSystem.h"

#include <windows.h>

namespace halvane::ui::win32
{

class Win32WindowSystem final : public WindowSystem
{
public:
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    std::unique_ptr<NativeWindow> createWindow(const WindowDesign& design,
                                               WindowEvents& events) override;
    int runEventLoop() override;
    void quitEventLoop(int status) override;
    void later(std::function<void()> task) override;

    // Does what a key press means to the controls of the program's window
    // it is for; true when nothing else is to be done with `message`.
    static bool handleKey(MSG& message);

private:
    static LRESULT CALLBACK taskProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_tasks; // a message-only window that runs the tasks posted to it
    int m_loops = 0;
};

} // namespace halvane::ui::win32
