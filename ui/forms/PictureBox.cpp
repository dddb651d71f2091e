#include "ui/forms/PictureBox.h"

#include "core/DatesFile.h"
#include "core/Failure.h"
#include "ui/forms/NativeWindow.h"

#include <filesystem>
#include <string>

namespace halvane::ui
{

void PictureBox::setPictureFromFile(std::string_view fileName)
{
    NativeWindow* window = native();
    if (!window)
        return;
    const auto path = std::filesystem::absolute(std::filesystem::path(std::string(fileName)));
    const std::string bytes = readWholeFile(path);
    std::string why;
    if (!window->setPicture(index(), bytes, why))
        throw Failure(err::InvalidPicture, "Invalid picture: " + path.string() + " (" + why + ")");
}

} // namespace halvane::ui
