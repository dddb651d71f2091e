// The window services every window of the program uses, without any
// toolkit: windows made from their designs (one instance per window class),
// repainting at once, unloading, the default handling of a failure that no
// handler catches, which window is active after another goes, and the rule
// that the process runs while any of its windows is open. They work through
// the WindowSystem service in force (a backend: ui/qt, ui/win32). Message
// boxes and the end of the process are the Host service (system/Host.h).
#pragma once

#include "system/Failure.h"
#include "system/Outcome.h"
#include "ui/forms/Form.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>

namespace halvane::ui
{

// ---------------------------------------------------------------------------
// Windows
//
// A window class T derives from Form and is default-constructible; it may
// have a public `void Form_Load()`.

// The open window of class T, or nullptr.
template <class T> T* Find();

// Shows the window of class T: not modal, no owner, and returns without
// waiting. When none is open it is created from its design first: T's
// constructor, its native window (not yet on the screen), then its Form_Load
// (which may end the process; the window is then never shown and nothing of
// it is left), then its data controls open their tables; then it is shown,
// placed by its design, and active. An open window is brought to the front
// and made active instead.
template <class T> T& Show();

// Closes the window of class T, if one is open: it leaves the screen at once,
// its controls and values are lost, and the next Show<T>() creates it anew.
// Safe inside a handler of the window itself: the window object is destroyed
// once the handler has returned. When the window that goes was the active
// one, the window active before it becomes active again.
template <class T> void Unload();
void Unload(Form& window);

// Draws `window` completely, on the screen, before returning.
void Repaint(Form& window);

// ---------------------------------------------------------------------------
// Handlers, failures and the life of the process

// Runs the body of an event handler. A failure that escapes it gets the
// default handling: a message box with the failure's number and description
// (unhandledMessage), then the end of the process. When the outermost
// handler returns, windows unloaded meanwhile are destroyed, and when no
// window is left open the event loop ends.
template <class Body> void handleEvent(Body&& body);

// "Run-time error '53':" and, after a blank line, the description.
std::string unhandledMessage(const Failure& failure);
[[noreturn]] void reportUnhandled(const Failure& failure);

// The end of a guarded handler: returns when `outcome` is success; otherwise
// shows its message in a message box with the application title and ends the
// process, so no further handler runs.
void endOnFailure(const Outcome& outcome);

// Dispatches window events for as long as any window of the program is open
// (at once 0 when none is); returns the exit status.
int runEventLoop();

// True while any window of the program is open.
bool anyWindowOpen();

// Makes the window that was active last active again, if one is open: after
// a message box closed (backends' hosts call it), so the keyboard reaches
// the window the user was working in without a click.
void restoreActiveWindow();

// Closes and destroys every window at once: at the end of the program,
// before the window system goes, and between tests.
void unloadAll();

// ---------------------------------------------------------------------------
// Implementation

namespace detail
{

struct FormAccess {
    static void create(Form& window);
    static void destroyNative(Form& window);
    static void openDataControls(Form& window);
    static void activated(Form& window);
};

Form* findWindow(std::type_index type);
void registerWindow(std::type_index type, std::unique_ptr<Form> window);
void present(Form& window, bool created);

// Counts the handlers running; the last one to return settles the windows.
class HandlerScope
{
public:
    HandlerScope();
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;
};

} // namespace detail

template <class T> T* Find()
{
    return static_cast<T*>(detail::findWindow(typeid(T)));
}

template <class T> T& Show()
{
    static_assert(std::is_base_of_v<Form, T>);
    if (T* open = Find<T>()) {
        detail::present(*open, false);
        return *open;
    }
    // Until it is registered the window is owned here, so a load step that
    // ends the process (or throws) leaves nothing behind.
    auto window = std::make_unique<T>();
    detail::FormAccess::create(*window);
    if constexpr (requires(T & w) { w.Form_Load(); })
        window->Form_Load();
    detail::FormAccess::openDataControls(*window);
    T& created = *window;
    detail::registerWindow(typeid(T), std::move(window));
    detail::present(created, true);
    return created;
}

template <class T> void Unload()
{
    if (T* open = Find<T>())
        Unload(*open);
}

template <class Body> void handleEvent(Body&& body)
{
    detail::HandlerScope scope;
    std::optional<Failure> failure;
    try {
        std::forward<Body>(body)();
        return;
    } catch (const std::exception& e) {
        failure.emplace(toFailure(e));
    }
    reportUnhandled(*failure);
}

} // namespace halvane::ui
