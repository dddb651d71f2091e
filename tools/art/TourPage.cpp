// The frame every tour page shares.
#include "tools/art/TourPage.h"

#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Sketches.h"

#include <QLinearGradient>
#include <QPainter>

namespace halvane::art
{

namespace
{

constexpr int kWidth = 401;
constexpr int kHeight = 425;
// The picture box's two-pixel sunken border leaves 397 x 421 of the page in
// view; the layout keeps within that.
constexpr int kVisibleWidth = 397;
constexpr qreal kBottom = 394;
constexpr qreal kMargin = 14;
constexpr qreal kLineHeight = 21;

void drawProgress(QPainter& p, int number)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal step = 13;
    const qreal right = kVisibleWidth / 2.0 + step * (kTourPages - 1) / 2.0;
    for (int page = 1; page <= kTourPages; ++page) {
        // Page 1 on the right: the tour reads right to left like its text.
        const QPointF centre(right - (page - 1) * step, 406);
        if (page == number) {
            p.setBrush(palette::kTurquoise);
            p.drawEllipse(centre, 4.5, 4.5);
        } else {
            p.setBrush(page < number ? palette::kGold : palette::kPaperShade.darker(112));
            p.drawEllipse(centre, 3, 3);
        }
    }
    p.restore();
}

} // namespace

QImage tourPage(int number, const QString& title, const QString& body,
                const Illustration& illustrate)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(palette::kPaper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF band(0, 0, kWidth, 44);
    drawTitleBand(p, band);

    const QString counter =
        QStringLiteral("%1 از %2").arg(persianNumber(number), persianNumber(kTourPages));
    const QRectF chip(10, 11, 58, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(chip, 11, 11);
    drawPersian(p, chip, counter, ArtFonts::naskh(12, true), Qt::white, Qt::AlignCenter);
    const qreal titleWidth = kVisibleWidth - chip.right() - 8 - kMargin;
    drawPersian(p, QRectF(chip.right() + 8, 2, titleWidth, 40), title,
                fitted(ArtFonts::naskh(18, true), title, titleWidth), Qt::white);

    const QFont bodyFont = ArtFonts::naskh(13);
    const qreal textWidth = kVisibleWidth - 2 * kMargin;
    const qreal height = paragraphHeight(body, bodyFont, textWidth, kLineHeight);
    const qreal top = kBottom - height;
    drawParagraph(p, QRectF(kMargin, top, textWidth, height), body, bodyFont, palette::kInk,
                  kLineHeight);

    const QRectF area(12, band.bottom() + 12, kVisibleWidth - 24, top - band.bottom() - 24);
    p.save();
    p.setClipRect(area.adjusted(-6, -6, 6, 6));
    illustrate(p, area);
    p.restore();
    p.setPen(QPen(palette::kPaperShade.darker(110), 1));
    p.drawLine(QPointF(kMargin + 40, top - 7.5), QPointF(kVisibleWidth - kMargin - 40, top - 7.5));
    drawProgress(p, number);
    p.end();
    return image;
}

} // namespace halvane::art
