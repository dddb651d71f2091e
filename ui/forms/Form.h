// A window of the program, without any toolkit: its design, the handlers its
// controls' events run, its data controls, and the native window that a
// window-system backend made from the design while the window is loaded.
// Each window class (frmSplash, frmRun, frmInstruction, frmAbout) derives
// from it, gives it its design, and binds its handlers in its constructor.
// Windows are shown, found and unloaded through the window services
// (ui/forms/WindowServices.h), never constructed for the screen directly.
#pragma once

#include "dbase/DataControl.h"
#include "ui/forms/Design.h"
#include "ui/forms/KeyboardRules.h"
#include "ui/forms/NativeWindow.h"
#include "ui/forms/WindowEvents.h"

#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace halvane::ui
{

namespace detail
{
struct FormAccess;
} // namespace detail

class Form : public WindowEvents
{
public:
    explicit Form(const WindowDesign& design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const WindowDesign& design() const { return m_design; }
    // The native window while the window is loaded (made by Show, until it is
    // unloaded); null otherwise. Controls of a window that is not loaded take
    // no effect.
    NativeWindow* native() const { return m_native.get(); }

    // The data control named `name` in the design, with its fixed settings.
    dbase::DataControl& dataControl(std::string_view name);

    // The events the native window reports. A control's event runs the
    // handler bound to it, if any, with the default handling of failures; a
    // close request unloads the window, without running any handler of the
    // program, unless the window has no title bar (then it has no close
    // button, and nothing but its own handlers closes it).
    void controlEvent(std::size_t control, ControlEvent event) final;
    void enterPressed() final;
    void closeRequested() final;
    void activated() final;

    // What the window's buttons do to the keyboard (CommandButton): a
    // focused button that is disabled or hidden hands the focus on by the
    // keyboard rules, before the native window takes it away.
    void buttonEnabled(std::size_t control, bool enabled);
    void buttonVisible(std::size_t control, bool visible);
    void focusGiven(std::size_t control);

protected:
    // Binds `handler` of the derived window class to `event` of the control
    // `name`.
    template <class Window>
    void bind(std::string_view name, ControlEvent event, void (Window::*handler)())
    {
        m_bindings.push_back({m_design.indexOf(name), event,
                              [this, handler] { (static_cast<Window*>(this)->*handler)(); }});
    }

private:
    friend struct detail::FormAccess;

    struct Binding {
        std::size_t control;
        ControlEvent event;
        std::function<void()> handler;
    };

    void takeFocusOff(std::size_t control);

    const WindowDesign& m_design;
    KeyboardRules m_keyboard;
    std::vector<Binding> m_bindings;
    std::vector<std::pair<std::string_view, std::unique_ptr<dbase::DataControl>>> m_dataControls;
    std::unique_ptr<NativeWindow> m_native;
};

} // namespace halvane::ui
