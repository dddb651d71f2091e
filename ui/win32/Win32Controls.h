// The window classes of the Win32 backend's own controls, for the kinds of
// control Windows has no class for: the picture box (a sunken box showing
// one picture at its own size from the top-left, clipped), the stretched
// picture, the click area (draws nothing, reports left clicks), the frame
// (an etched group border with its caption) and the line. Push buttons and
// labels are Windows' own BUTTON and STATIC.
//
// A picture box or stretched picture gives the bitmap it shows for
// STM_GETIMAGE (IMAGE_BITMAP), as a Windows picture control does; null for
// none.
//
// Every control reports to the window it is in, whatever container holds
// it: a container passes its children's notifications (WM_COMMAND,
// WM_CTLCOLOR...) on to its own parent.
#pragma once

#include "ui/forms/Design.h"
#include "ui/win32/Win32Picture.h"

#include <memory>
#include <windows.h>

namespace halvane::ui::win32
{

inline constexpr wchar_t kPictureBoxClass[] = L"HalvanePictureBox";
inline constexpr wchar_t kStretchedPictureClass[] = L"HalvaneStretchedPicture";
inline constexpr wchar_t kClickAreaClass[] = L"HalvaneClickArea";
inline constexpr wchar_t kFrameClass[] = L"HalvaneFrame";
inline constexpr wchar_t kLineClass[] = L"HalvaneLine";

// What one of these controls draws, given to CreateWindowExW as its creation
// parameter and kept with the control until it is destroyed.
struct ControlLook {
    COLORREF background = 0;
    COLORREF foreground = 0;
    std::shared_ptr<const Picture> picture; // picture box, stretched picture
    // The screen's dots per inch. A picture box draws its picture at the
    // picture's own size in design pixels (15 twips each, as every control
    // is placed): its pixel size scaled by dpi / 96, at 96 pixel for pixel.
    int dpi = 96;
};

// Registers the classes once for the program.
void registerControlClasses();

// The class of a control kind; null for Windows' own (push button, label)
// and for the data control, which has no window.
const wchar_t* controlClass(ControlKind kind);

// The picture a picture box shows from now on (drawn at its next paint).
void setBoxPicture(HWND box, std::shared_ptr<const Picture> picture);

} // namespace halvane::ui::win32
