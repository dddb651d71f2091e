// The keyboard rules every backend follows, kept without any toolkit: which
// controls can take the focus, where the focus goes when the program takes a
// focused button away (disables or hides it), and which button Enter presses.
// The focus moves on to the next control of the design's tab order that can
// take it; the Enter that was meant for the button taken away is held, so it
// presses nothing while the focus stays where the rule put it. Without that,
// Enter held down on "Next>>" would go on pressing "<<Prev" after the last
// page.
#pragma once

#include "ui/forms/Design.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace halvane::ui
{

class KeyboardRules
{
public:
    explicit KeyboardRules(const WindowDesign& design);

    void setEnabled(std::size_t control, bool enabled);
    void setVisible(std::size_t control, bool visible);

    // A push button or picture box, shown with its containers and enabled.
    bool takesFocus(std::size_t control) const;
    // The first control of the tab order that can take the focus.
    std::optional<std::size_t> firstFocus() const;
    // The control after `from` in the tab order (from the start again after
    // the last) that can take the focus; never `from` itself.
    std::optional<std::size_t> nextFocus(std::size_t from) const;

    // The button `control`, which has the focus, is being taken away: the
    // control the focus goes to, from which Enter presses nothing until
    // release().
    std::optional<std::size_t> takeFocusOff(std::size_t control);
    // The user acted (a click, a key other than Enter) or the program gave
    // the focus: Enter goes by the focus again.
    void release() { m_held.reset(); }

    // The button Enter presses with the focus on `focus`: the focused push
    // button, or else the design's default button when it can be pressed;
    // none while Enter is held at `focus`.
    std::optional<std::size_t> enterButton(std::optional<std::size_t> focus) const;

private:
    const WindowDesign& m_design;
    std::vector<bool> m_visible;
    std::vector<bool> m_enabled;
    std::vector<std::size_t> m_tabOrder;
    std::optional<std::size_t> m_held;
};

} // namespace halvane::ui
