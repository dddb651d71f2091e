// The typefaces of the pictures. They are loaded from Debian's font files by
// path, so the same files draw the same pixels on every machine.
#pragma once

#include <QFont>
#include <QString>

namespace halvane::art
{

class ArtFonts final
{
public:
    // Loads every font file; false with the missing file named in `error`.
    static bool load(QString& error);

    // Persian text faces; Latin runs inside them fall back to Noto Sans.
    static QFont naskh(int pixels, bool bold = false);
    static QFont sansArabic(int pixels, bool bold = false);
    static QFont nazli(int pixels, bool bold = false);
    static QFont homa(int pixels);
    // Latin faces.
    static QFont sans(int pixels, bool bold = false);
    static QFont display(int pixels, bool bold = false);
};

} // namespace halvane::art
