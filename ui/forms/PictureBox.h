// A picture box of a window, as its handlers change it: a picture from a
// file, shown at its own size from the top-left corner, clipped.
#pragma once

#include "ui/forms/Control.h"

#include <string_view>

namespace halvane::ui
{

class PictureBox final : public Control
{
public:
    PictureBox(Form& window, std::string_view name) : Control(window, name, ControlKind::PictureBox)
    {
    }

    // Reads the picture file `fileName`, relative to the current directory,
    // anew on every call (nothing is cached: a changed or removed file is
    // seen at once), and shows it, drawn on the screen before returning. Any
    // format the window system reads will do, whatever the name's extension.
    // Throws Failure 53 when the file does not exist, 70 when it may not be
    // read, 75 when it is no file or cannot be opened, 57 when reading fails,
    // 481 (invalid picture) when it is no picture; the description names the
    // file.
    void setPictureFromFile(std::string_view fileName);
};

} // namespace halvane::ui
