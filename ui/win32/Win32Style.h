// How the Win32 backend draws what a design says: twips as pixels at the
// screen's DPI, the designed fonts with their character set, colours and
// their brushes; text as the wide strings of the Windows API is
// system/WideText.h's.
#pragma once

#include "system/WideText.h"
#include "ui/forms/Design.h"

#include <string>
#include <string_view>
#include <windows.h>

namespace halvane::ui::win32
{

// The screen's dots per inch (the program is DPI-aware by its manifest, so
// this is the real setting: 96, 120, 144, ...).
int screenDpi();
// Twips as pixels at `dpi`, as Windows turns them: 15 twips to a pixel at 96.
int pixels(int twips, int dpi);
RECT pixelRect(const TwipsRect& rect, int dpi);
POINT pixelPoint(const TwipsPoint& point, int dpi);

// The designed font at `dpi`: the family, the size in points, the weight,
// and the character set it is defined with (ARABIC_CHARSET). Made once for
// the life of the program and shared by every control that has it.
HFONT fontOf(const Font& font, int dpi);

// A colour of the design; `fallback` for an inherited one.
COLORREF colourOf(const Colour& colour, COLORREF fallback);
// A solid brush of `colour`, made once for the life of the program.
HBRUSH brushOf(COLORREF colour);
// The colour of a window or container that has none of its own: the face of
// a button, as the background of a Windows form.
COLORREF defaultBackground();

} // namespace halvane::ui::win32
