// What a handler holds of one control of its window: the window and the
// control's position in the design. Operations reach the window's native
// window; on a window that is not loaded they take no effect.
#pragma once

#include "ui/forms/Design.h"

#include <cstddef>
#include <string_view>

namespace halvane::ui
{

class Form;
class NativeWindow;

class Control
{
public:
    // The control `name` of `window`'s design, which must be of `kind`
    // (std::invalid_argument otherwise, std::out_of_range when there is none).
    Control(Form& window, std::string_view name, ControlKind kind);

    const ControlDesign& design() const;

protected:
    NativeWindow* native() const;
    Form& window() const { return *m_window; }
    std::size_t index() const { return m_index; }

private:
    Form* m_window;
    std::size_t m_index;
};

} // namespace halvane::ui
