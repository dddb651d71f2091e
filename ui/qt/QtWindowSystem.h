// The window system of the Qt backend: windows made of Qt widgets
// (QtWindow), Qt's event loop, and calls queued behind the event being
// handled.
#pragma once

#include "ui/forms/WindowSystem.h"

namespace halvane::ui::qt
{

class QtWindowSystem final : public WindowSystem
{
public:
    std::unique_ptr<NativeWindow> createWindow(const WindowDesign& design,
                                               WindowEvents& events) override;
    int runEventLoop() override;
    void quitEventLoop(int status) override;
    void later(std::function<void()> task) override;
};

} // namespace halvane::ui::qt
