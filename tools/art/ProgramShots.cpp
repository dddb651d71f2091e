// Stand-in pictures of the program's windows, drawn from their designs'
// sizes and the program's own artwork.
#include "ProgramShots.h"

#include "ArtFonts.h"
#include "Drawing.h"
#include "Palette.h"
#include "Pictures.h"
#include "Sketches.h"

#include <QFontMetricsF>
#include <QPainter>

namespace halvane::art
{

namespace
{

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage shotSplash()
{
    QImage image = canvas(298, 226);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(0xb4, 0xb4, 0xb4));
    p.fillRect(image.rect().adjusted(1, 1, -1, -1), QColor(0xf0, 0xf0, 0xf0));
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(9, 9, 274, 205), splashPicture());
    drawDialogButton(p, QRectF(233, 161, 57, 18), QStringLiteral("OK"), false);
    drawDialogButton(p, QRectF(233, 185, 57, 18), QStringLiteral("About"), false);
    p.end();
    return image;
}

QImage shotMainWindow(MainWindowState state)
{
    QImage image = canvas(187, 148);
    QPainter p(&image);
    const QRectF client =
        drawDialogFrame(p, QRectF(0, 0, 187, 148), QStringLiteral("QRX Ver. 2.0"));
    const QPointF origin = client.topLeft();
    const QImage picture = state == MainWindowState::Design    ? instructionPicture()
                           : state == MainWindowState::Waiting ? waitPicture()
                                                               : successPicture();
    p.fillRect(QRectF(origin + QPointF(8, 8), QSizeF(169, 89)), Qt::white);
    p.drawImage(origin + QPointF(8, 8), picture, QRectF(0, 0, 169, 89));
    drawDialogButton(p, QRectF(origin + QPointF(8, 104), QSizeF(81, 18)), QStringLiteral("Run"),
                     false);
    drawDialogButton(p, QRectF(origin + QPointF(96, 104), QSizeF(81, 18)), QStringLiteral("Exit"),
                     false);
    p.end();
    return image;
}

QImage shotMessage(const QString& text, const QString& title)
{
    const QFont font = ArtFonts::sans(11);
    const qreal textWidth = qMin<qreal>(330, QFontMetricsF(font).horizontalAdvance(text) + 4);
    const QRectF textBox =
        QFontMetricsF(font).boundingRect(QRectF(0, 0, textWidth, 400), Qt::TextWordWrap, text);
    const int width = qMax(140, qRound(textWidth) + 40);
    const int height = qRound(textBox.height()) + 80;
    QImage image = canvas(width, height);
    QPainter p(&image);
    const QRectF client = drawDialogFrame(p, QRectF(0, 0, width, height), title);
    p.setFont(font);
    p.setPen(palette::kInk);
    p.drawText(QRectF(client.left() + 20, client.top() + 14, textWidth, textBox.height()),
               Qt::TextWordWrap, text);
    drawDialogButton(p, QRectF(client.center().x() - 37, client.bottom() - 32, 75, 22),
                     QStringLiteral("OK"), true);
    p.end();
    return image;
}

} // namespace halvane::art
