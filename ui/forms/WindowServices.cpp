#include "ui/forms/WindowServices.h"

#include "system/Host.h"
#include "system/Service.h"
#include "ui/forms/WindowSystem.h"

#include <algorithm>
#include <string>
#include <vector>

namespace halvane::ui
{
namespace
{

// Windows shown through Show(), by class; unloaded windows until the handler
// that unloaded them has returned; the open windows in the order they were
// last active, the most recent last.
struct Windows {
    std::vector<std::pair<std::type_index, std::unique_ptr<Form>>> open;
    std::vector<std::unique_ptr<Form>> unloaded;
    std::vector<Form*> recent;
    bool reactivate = false; // the active window was unloaded
    int handlers = 0;        // handlers running
    bool settlePosted = false;
};

Windows& windows()
{
    static Windows w;
    return w;
}

void forget(std::vector<Form*>& recent, const Form& window)
{
    recent.erase(std::remove(recent.begin(), recent.end(), &window), recent.end());
}

void makeMostRecent(Form& window)
{
    auto& recent = windows().recent;
    forget(recent, window);
    recent.push_back(&window);
}

// Once no handler runs: destroys the windows unloaded meanwhile, gives the
// activation back when the active window went, and ends the event loop when
// no window is left.
void settle()
{
    Windows& w = windows();
    if (w.handlers > 0)
        return; // a message box's own event loop: the handler settles when it returns
    w.settlePosted = false;
    {
        auto gone = std::move(w.unloaded);
        w.unloaded.clear();
    }
    if (std::exchange(w.reactivate, false) && !w.recent.empty())
        if (NativeWindow* native = w.recent.back()->native())
            native->activate();
    if (w.open.empty())
        service<WindowSystem>().quitEventLoop(0);
}

class NoWindowSystem final : public WindowSystem
{
public:
    std::unique_ptr<NativeWindow> createWindow(const WindowDesign& design, WindowEvents&) override
    {
        throw Failure(err::InvalidCall,
                      "No window system is in place to show " + std::string(design.name));
    }
    int runEventLoop() override { return 0; }
    void quitEventLoop(int) override {}
    void later(std::function<void()>) override {} // no event loop will ever run it
};

} // namespace

WindowSystem& WindowSystem::system()
{
    static NoWindowSystem none;
    return none;
}

// ------------------------------------------------------------ windows

namespace detail
{

void FormAccess::create(Form& window)
{
    window.m_native = service<WindowSystem>().createWindow(window.m_design, window);
}

void FormAccess::destroyNative(Form& window)
{
    window.m_native.reset();
}

void FormAccess::openDataControls(Form& window)
{
    for (auto& [name, control] : window.m_dataControls)
        control->Refresh();
}

void FormAccess::activated(Form& window)
{
    for (const auto& [type, open] : windows().open)
        if (open.get() == &window)
            makeMostRecent(window);
}

Form* findWindow(std::type_index type)
{
    for (const auto& [openType, window] : windows().open)
        if (openType == type)
            return window.get();
    return nullptr;
}

void registerWindow(std::type_index type, std::unique_ptr<Form> window)
{
    windows().open.emplace_back(type, std::move(window));
}

void present(Form& window, bool created)
{
    if (NativeWindow* native = window.native()) {
        if (created)
            native->show();
        else
            native->bringToFront();
    }
    makeMostRecent(window);
    windows().reactivate = false;
}

HandlerScope::HandlerScope()
{
    ++windows().handlers;
}

HandlerScope::~HandlerScope()
{
    if (--windows().handlers == 0)
        settle();
}

} // namespace detail

void Unload(Form& window)
{
    Windows& w = windows();
    detail::FormAccess::destroyNative(window);
    if (!w.recent.empty() && w.recent.back() == &window)
        w.reactivate = true;
    forget(w.recent, window);
    auto it = std::find_if(w.open.begin(), w.open.end(),
                           [&](const auto& entry) { return entry.second.get() == &window; });
    if (it != w.open.end()) {
        w.unloaded.push_back(std::move(it->second));
        w.open.erase(it);
    }
    if (w.handlers == 0 && !std::exchange(w.settlePosted, true))
        service<WindowSystem>().later(settle);
}

void Repaint(Form& window)
{
    if (NativeWindow* native = window.native())
        native->repaint();
}

void restoreActiveWindow()
{
    const auto& recent = windows().recent;
    if (!recent.empty())
        if (NativeWindow* native = recent.back()->native())
            native->activate();
}

void unloadAll()
{
    Windows& w = windows();
    // Out of the registry first: a window going may report events to the others.
    auto open = std::move(w.open);
    auto unloaded = std::move(w.unloaded);
    w.open.clear();
    w.unloaded.clear();
    w.recent.clear();
    w.reactivate = false;
    w.settlePosted = false;
    for (auto& [type, window] : open)
        detail::FormAccess::destroyNative(*window);
    open.clear();
    unloaded.clear();
}

bool anyWindowOpen()
{
    return !windows().open.empty();
}

int runEventLoop()
{
    if (!anyWindowOpen())
        return 0; // a start that showed no window ends at once
    return service<WindowSystem>().runEventLoop();
}

// ------------------------------------------------------------ failures

std::string unhandledMessage(const Failure& failure)
{
    return "Run-time error '" + std::to_string(failure.number()) + "':\n\n" + failure.description();
}

namespace
{

[[noreturn]] void reportAndEnd(std::string_view message)
{
    msgBox(message);
    endProcess();
}

} // namespace

void reportUnhandled(const Failure& failure)
{
    reportAndEnd(unhandledMessage(failure));
}

void endOnFailure(const Outcome& outcome)
{
    if (!outcome.succeeded())
        reportAndEnd(outcome.message());
}

} // namespace halvane::ui
