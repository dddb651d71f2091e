#include "ui/forms/CommandButton.h"

#include "ui/forms/Form.h"

namespace halvane::ui
{

void CommandButton::setEnabled(bool enabled)
{
    window().buttonEnabled(index(), enabled);
}

void CommandButton::setVisible(bool visible)
{
    window().buttonVisible(index(), visible);
}

void CommandButton::setFocus()
{
    window().focusGiven(index());
}

} // namespace halvane::ui
