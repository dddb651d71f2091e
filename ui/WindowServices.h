// The window services every window of the program uses: windows made from
// their designs (one instance per window class), repainting at once,
// unloading, pictures from files, message boxes, the ending of the process,
// the default handling of a failure that no handler catches, and the rule
// that the process runs while any of its windows is open.
#pragma once

#include "core/Failure.h"
#include "core/Outcome.h"

#include <QWidget>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>

class QApplication;
class QImage;
class QMessageBox;

namespace halvane::ui
{

class PictureBox;

// ---------------------------------------------------------------------------
// Start-up and the life of the process

// Installs the services into `app`, once, before the first window is shown:
// message boxes and the end of the process go through Qt (halvane::msgBox()
// and halvane::endProcess() show real boxes and end at once, with status 0),
// the application title is "qrx2", and the lifetime rule below is in force.
void installWindowServices(QApplication& app);

// Dispatches window events until the last window of the process has closed;
// returns the exit status.
//
// Lifetime rule: the process runs while any of its windows is open, tool
// windows included (Qt itself does not count them when it decides that the
// last window closed, so its own rule is switched off). Whenever a window
// closes, the services look, once the current handler has returned, whether
// any window is still shown: a window of the program or a message box. When
// none is, the event loop ends and the process with it.
int runEventLoop();

// True while any window of the process is shown: a window of the program
// (tool windows included) or a message box.
bool anyWindowOpen();

// ---------------------------------------------------------------------------
// Windows
//
// A window class T is a QWidget whose constructor builds its design (caption,
// size, controls; no position rule is applied for it). It may have a public
// `void Form_Load()`, run when the window is created.

// The open window of class T, or nullptr.
template <class T> T* Find();

// Shows the window of class T: not modal, no owner, and returns without
// waiting. When none is open it is created from its design first: T's
// constructor, then its Form_Load (which may end the process; the window is
// then never shown), then the data controls among its controls open their
// tables. An open window is brought to the front instead. The close button of
// a window shown here unloads it.
template <class T> T& Show();

// Closes and destroys the window of class T, if one is open; the next
// Show<T>() creates it anew from its design. Safe inside a handler of the
// window itself: the window disappears at once and is deleted when the
// handler has returned.
template <class T> void Unload();
void Unload(QWidget& window);

// Draws `widget` completely, on the screen, before returning.
void Repaint(QWidget& widget);

// ---------------------------------------------------------------------------
// Handlers and failures

// Runs the body of an event handler. A failure that escapes it gets the
// default handling: a message box with the failure's number and description
// (unhandledMessage), then the end of the process.
template <class Body> void handleEvent(Body&& body);

// Connects `signal` of `sender` to the handler `handler` of `form`, run
// through handleEvent(): cmdOK -> &frmSplash::cmdOK_Click and so on.
template <class Sender, class Signal, class Form>
void connectHandler(Sender* sender, Signal signal, Form* form, void (Form::*handler)());

// "Run-time error '53':" and, after a blank line, the description.
std::string unhandledMessage(const Failure& failure);
[[noreturn]] void reportUnhandled(const Failure& failure);

// ---------------------------------------------------------------------------
// Pictures from files

// Reads the picture file `fileName`, relative to the current directory, anew
// on every call (nothing is cached; a changed or removed file is seen at
// once). Any format Qt reads will do, whatever the name's extension. Throws
// Failure 53 when the file does not exist, 70 or 75 when it cannot be opened,
// 481 (invalid picture) when it is not a picture Qt can read; the description
// names the file.
QImage loadPicture(std::string_view fileName);

// loadPicture() into `box`, drawn on the screen before returning.
void setPictureFromFile(PictureBox& box, std::string_view fileName);

// ---------------------------------------------------------------------------
// Message boxes

// The message box that halvane::msgBox() shows: modal to the whole program,
// the text as plain text, `title` as its caption (the empty text stays
// empty), no icon, a single OK button without an icon, which Enter and Escape
// press. The caller runs exec().
std::unique_ptr<QMessageBox> makeMessageBox(std::string_view text, std::string_view title);

// ---------------------------------------------------------------------------
// Implementation

namespace detail
{
QWidget* findWindow(std::type_index type);
void registerWindow(std::type_index type, QWidget& window);
void openDataControls(QWidget& window);
void present(QWidget& window, bool created);
} // namespace detail

template <class T> T* Find()
{
    return static_cast<T*>(detail::findWindow(typeid(T)));
}

template <class T> T& Show()
{
    if (T* open = Find<T>()) {
        detail::present(*open, false);
        return *open;
    }
    // Until it is registered the window is owned here, so a load step that
    // ends the process (or throws) leaves nothing behind.
    auto window = std::make_unique<T>();
    if constexpr (requires(T & w) { w.Form_Load(); })
        window->Form_Load();
    detail::openDataControls(*window);
    T& created = *window;
    detail::registerWindow(typeid(T), *window.release());
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
    std::optional<Failure> failure;
    try {
        std::forward<Body>(body)();
        return;
    } catch (const std::exception& e) {
        failure.emplace(toFailure(e));
    }
    reportUnhandled(*failure);
}

template <class Sender, class Signal, class Form>
void connectHandler(Sender* sender, Signal signal, Form* form, void (Form::*handler)())
{
    QObject::connect(sender, signal, form,
                     [form, handler] { handleEvent([&] { (form->*handler)(); }); });
}

} // namespace halvane::ui
