// Every picture the program shows, one function each. Sizes are those of the
// window controls that show them.
#pragma once

#include <QImage>
#include <QString>

namespace halvane::art
{

// The program icon, square: 16 pixels drawn pixel by pixel, larger sizes from
// the vector mark. kIconSizes are the sizes delivered as ui/art/icon<size>.png.
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
QImage programIcon(int size);
QImage splashPicture();                 // 1028 x 768, stretched into the splash window
QImage instructionPicture();            // 167 x 90, the main window before the first run
QImage waitPicture();                   // 169 x 89, during the run
QImage successPicture();                // 169 x 89, after the run
QImage instructionPagePicture();        // 397 x 427, the instruction viewer's first page
bool writeLogoSvg(const QString& path); // the About window's logo, 240 x 73.5

} // namespace halvane::art
