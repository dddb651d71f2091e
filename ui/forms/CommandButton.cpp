#include "ui/forms/CommandButton.h"

#include "ui/forms/NativeWindow.h"

namespace halvane::ui
{

void CommandButton::setEnabled(bool enabled)
{
    if (NativeWindow* window = native())
        window->setEnabled(index(), enabled);
}

void CommandButton::setVisible(bool visible)
{
    if (NativeWindow* window = native())
        window->setVisible(index(), visible);
}

void CommandButton::setFocus()
{
    if (NativeWindow* window = native())
        window->setFocus(index());
}

} // namespace halvane::ui
