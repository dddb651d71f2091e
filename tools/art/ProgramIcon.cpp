// The program icon: a calendar page with a sun. At 16 pixels it is drawn
// pixel by pixel so that it stays crisp; larger sizes use the vector mark.
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Pictures.h"

#include <QPainter>

namespace halvane::art
{

namespace
{

QImage smallIcon()
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(QRect(1, 2, 14, 13), palette::kNight);    // outline
    p.fillRect(QRect(2, 3, 12, 11), palette::kPaper);    // page
    p.fillRect(QRect(2, 3, 12, 3), palette::kTurquoise); // header band
    p.fillRect(QRect(4, 1, 2, 3), palette::kNight);      // rings
    p.fillRect(QRect(10, 1, 2, 3), palette::kNight);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kGold);
    p.drawEllipse(QPointF(8, 9.5), 2.6, 2.6); // sun
    p.setPen(QPen(palette::kGold, 1));
    p.drawLine(QPointF(8, 5.9), QPointF(8, 6.2));
    p.end();
    return image;
}

} // namespace

QImage programIcon(int size)
{
    if (size <= 16)
        return smallIcon();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    drawCalendarMark(p, QRectF(0, 0, size, size));
    p.end();
    return image;
}

} // namespace halvane::art
