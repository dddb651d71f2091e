#include "ui/forms/Design.h"

#include <stdexcept>
#include <string>

namespace halvane::ui
{

std::size_t WindowDesign::indexOf(std::string_view controlName, int controlIndex) const
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].name == controlName && controls[i].index == controlIndex)
            return i;
    throw std::out_of_range(
        "the design of " + std::string(name) + " has no control " + std::string(controlName) +
        (controlIndex == kNoIndex ? "" : "(" + std::to_string(controlIndex) + ")"));
}

} // namespace halvane::ui
