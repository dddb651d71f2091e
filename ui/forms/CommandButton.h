// A push button of a window, as its handlers change it.
#pragma once

#include "ui/forms/Control.h"

namespace halvane::ui
{

class CommandButton final : public Control
{
public:
    CommandButton(Form& window, std::string_view name)
        : Control(window, name, ControlKind::PushButton)
    {
    }

    void setEnabled(bool enabled);
    void setVisible(bool visible);
    void setFocus();
};

} // namespace halvane::ui
