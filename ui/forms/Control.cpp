#include "ui/forms/Control.h"

#include "ui/forms/Form.h"

#include <stdexcept>
#include <string>

namespace halvane::ui
{

Control::Control(Form& window, std::string_view name, ControlKind kind)
    : m_window(&window), m_index(window.design().indexOf(name))
{
    if (design().kind != kind)
        throw std::invalid_argument("the control " + std::string(name) + " of " +
                                    std::string(window.design().name) +
                                    " is not of the kind its handlers use");
}

const ControlDesign& Control::design() const
{
    return m_window->design().controls[m_index];
}

NativeWindow* Control::native() const
{
    return m_window->native();
}

} // namespace halvane::ui
