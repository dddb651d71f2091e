#include "ui/win32/Win32Style.h"

#include <cmath>
#include <map>
#include <tuple>

namespace halvane::ui::win32
{

int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int pixels(int twips, int dpi)
{
    return MulDiv(twips, dpi, kTwipsPerInch);
}

RECT pixelRect(const TwipsRect& rect, int dpi)
{
    const int left = pixels(rect.left, dpi);
    const int top = pixels(rect.top, dpi);
    return {left, top, left + pixels(rect.width, dpi), top + pixels(rect.height, dpi)};
}

POINT pixelPoint(const TwipsPoint& point, int dpi)
{
    return {pixels(point.x, dpi), pixels(point.y, dpi)};
}

HFONT fontOf(const Font& font, int dpi)
{
    // Keyed by what makes the font; a handful over the program's life.
    using Key = std::tuple<std::string_view, long, bool, int, int>;
    static std::map<Key, HFONT> fonts;
    const long hundredths = std::lround(font.points * 100);
    const Key key{font.family, hundredths, font.bold, font.charset, dpi};
    if (auto found = fonts.find(key); found != fonts.end())
        return found->second;
    LOGFONTW lf{};
    // Negative: the height of the characters, not of the cell, as a point
    // size is meant.
    lf.lfHeight = -MulDiv(static_cast<int>(hundredths), dpi, 72 * 100);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = static_cast<BYTE>(font.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    const std::wstring family = wide(font.family);
    family.copy(lf.lfFaceName, LF_FACESIZE - 1);
    HFONT made = CreateFontIndirectW(&lf);
    fonts.emplace(key, made);
    return made;
}

COLORREF colourOf(const Colour& colour, COLORREF fallback)
{
    switch (colour.kind) {
    case Colour::Kind::System:
        return GetSysColor(static_cast<int>(colour.value));
    case Colour::Kind::Rgb:
        return RGB(colour.value >> 16 & 0xFF, colour.value >> 8 & 0xFF, colour.value & 0xFF);
    case Colour::Kind::Inherit:
        break;
    }
    return fallback;
}

HBRUSH brushOf(COLORREF colour)
{
    static std::map<COLORREF, HBRUSH> brushes;
    auto [at, made] = brushes.try_emplace(colour, nullptr);
    if (made)
        at->second = CreateSolidBrush(colour);
    return at->second;
}

COLORREF defaultBackground()
{
    return GetSysColor(COLOR_BTNFACE);
}

} // namespace halvane::ui::win32
