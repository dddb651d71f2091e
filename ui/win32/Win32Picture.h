// Pictures for the Win32 backend: decoded by the Windows Imaging Component
// (BMP, PNG, GIF, JPEG, ICO, as Windows reads them) into 32-bit bitmaps that
// GDI draws, at their own size or stretched. The pictures stored with the
// designs are the program's RCDATA resources, named as in the designs.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <windows.h>

namespace halvane::ui::win32
{

class Picture
{
public:
    // Takes `bitmap`, a top-down 32-bit DIB section with premultiplied alpha.
    Picture(HBITMAP bitmap, SIZE size, bool transparent);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    HBITMAP bitmap() const { return m_bitmap; }
    SIZE size() const { return m_size; }
    // Some of its pixels are not opaque: it is blended onto what lies below.
    bool transparent() const { return m_transparent; }

    // Stretched to fill `rect` with a filter that weighs every source pixel
    // (HALFTONE); at its own size, copied pixel for pixel.
    void drawStretched(HDC dc, const RECT& rect) const;

    HBITMAP m_bitmap;
    SIZE m_size;
    bool m_transparent;

private:
    // The opaque picture as last stretched, kept for the next paint at that
    // size: the filter costs about 0.4 s for a tour page at 144 DPI under
    // Wine, a copy of the result nothing.
    HBITMAP scaledTo(HDC dc, HDC source, SIZE size) const;
    mutable HBITMAP m_scaled = nullptr;
    mutable SIZE m_scaledSize{};
};

// The picture held in `bytes` (a picture file's contents); null, with the
// reason in `why`, when they hold no picture Windows reads.
std::shared_ptr<const Picture> decodePicture(std::string_view bytes, std::string& why);

// The picture stored with the designs under `name` (a resource of the
// program), decoded once; null when there is none.
std::shared_ptr<const Picture> designPicture(std::string_view name);

} // namespace halvane::ui::win32
