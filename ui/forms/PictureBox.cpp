#include "ui/forms/PictureBox.h"

#include "system/DisplayName.h"
#include "system/ExistingFile.h"
#include "system/Failure.h"
#include "system/Platform.h"
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
    const auto path = std::filesystem::absolute(platform::pathFromUtf8(fileName));
    const std::string bytes = readWholeFile(path);
    std::string why;
    if (!window->setPicture(index(), bytes, why))
        throw Failure(err::InvalidPicture, "Invalid picture: " + displayName(path) + " (" + why + ")");
}

} // namespace halvane::ui
