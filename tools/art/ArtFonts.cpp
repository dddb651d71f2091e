// Loads the picture fonts by file and hands out configured QFonts.
#include "tools/art/ArtFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace halvane::art
{

namespace
{

const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/noto/NotoNaskhArabic-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoNaskhArabic-Bold.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansArabic-Bold.ttf",
    "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSans-Bold.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansDisplay-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansDisplay-Bold.ttf",
    "/usr/share/fonts/truetype/farsiweb/nazli.ttf",
    "/usr/share/fonts/truetype/farsiweb/nazlib.ttf",
    "/usr/share/fonts/truetype/farsiweb/homa.ttf",
};

QFont make(const QStringList& families, int pixels, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

QFont persian(const QString& family, int pixels, bool bold)
{
    return make({family, QStringLiteral("Noto Sans")}, pixels, bold);
}

} // namespace

bool ArtFonts::load(QString& error)
{
    for (const char* path : kFontFiles) {
        const QString file = QString::fromLatin1(path);
        if (!QFile::exists(file) || QFontDatabase::addApplicationFont(file) < 0) {
            error = QStringLiteral("cannot load the font %1 "
                                   "(install fonts-noto-core and fonts-farsiweb: ./dev art)")
                        .arg(file);
            return false;
        }
    }
    return true;
}

QFont ArtFonts::naskh(int pixels, bool bold)
{
    return persian(QStringLiteral("Noto Naskh Arabic"), pixels, bold);
}

QFont ArtFonts::sansArabic(int pixels, bool bold)
{
    return persian(QStringLiteral("Noto Sans Arabic"), pixels, bold);
}

QFont ArtFonts::nazli(int pixels, bool bold)
{
    return persian(QStringLiteral("Nazli"), pixels, bold);
}

QFont ArtFonts::homa(int pixels)
{
    return persian(QStringLiteral("Homa"), pixels, false);
}

QFont ArtFonts::sans(int pixels, bool bold)
{
    return make({QStringLiteral("Noto Sans")}, pixels, bold);
}

QFont ArtFonts::display(int pixels, bool bold)
{
    return make({QStringLiteral("Noto Sans Display"), QStringLiteral("Noto Sans")}, pixels, bold);
}

} // namespace halvane::art
