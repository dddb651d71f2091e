// The splash artwork, 1028 x 768. It is shown shrunk to about a quarter
// (274 x 205 pixels), so its texts are large. The lower right corner stays
// plain: the splash window's "OK" and "About" buttons lie over it, from
// x 840 and y 569 of the artwork on.
#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Pictures.h"
#include "tools/art/Texts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <QtMath>

namespace halvane::art
{

namespace
{

constexpr int kWidth = 1028;
constexpr int kHeight = 768;
// The window shows the artwork at 274 x 205, a scale of 0.267: Persian text
// is set no smaller than this, at which its tall letters (alef, lam) stand
// 11 pixels above the line on screen.
constexpr int kPersian = 62;

// A faint lattice of eight-pointed stars, the tile pattern of Persian
// architecture, over the whole background.
void drawLattice(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 16), 2));
    p.setBrush(Qt::NoBrush);
    const qreal step = 128;
    for (qreal y = -step / 2; y < kHeight + step; y += step)
        for (qreal x = -step / 2; x < kWidth + step; x += step) {
            const qreal r = step * 0.36;
            QPainterPath square;
            square.addRect(QRectF(-r, -r, 2 * r, 2 * r));
            const QTransform at = QTransform::fromTranslate(x, y);
            p.drawPath(at.map(square));
            p.drawPath(at.map(QTransform().rotate(45).map(square)));
        }
    p.restore();
}

void drawBackground(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, palette::kNight);
    sky.setColorAt(1, palette::kDeepBlue);
    p.fillRect(QRect(0, 0, kWidth, kHeight), sky);
    drawLattice(p);

    // A warm glow of the sun behind the emblem, fading into the night.
    QRadialGradient glow(QPointF(kWidth / 2.0, 150), 420);
    glow.setColorAt(0, QColor(0xe7, 0xae, 0x3c, 90));
    glow.setColorAt(0.5, QColor(0xe7, 0xae, 0x3c, 25));
    glow.setColorAt(1, QColor(0xe7, 0xae, 0x3c, 0));
    p.fillRect(QRect(0, 0, kWidth, kHeight), glow);

    // A thin gold frame just inside the edge.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xe7, 0xae, 0x3c, 120), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(22, 22, kWidth - 44, kHeight - 44), 18, 18);
}

// A gold rule with a small star in its middle.
void drawDivider(QPainter& p, qreal y, qreal halfWidth)
{
    const qreal cx = kWidth / 2.0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (int side : {-1, 1}) {
        QLinearGradient fade(cx, y, cx + side * halfWidth, y);
        fade.setColorAt(0, palette::kGold);
        fade.setColorAt(1, QColor(0xe7, 0xae, 0x3c, 0));
        p.setPen(QPen(QBrush(fade), 3));
        p.drawLine(QPointF(cx + side * 26, y), QPointF(cx + side * halfWidth, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kGold);
    QPainterPath diamond;
    diamond.addRect(QRectF(-9, -9, 18, 18));
    p.drawPath(QTransform::fromTranslate(cx, y).rotate(45).map(diamond));
    p.restore();
}

} // namespace

QImage splashPicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawBackground(p);

    // The program's emblem.
    drawCalendarMark(p, QRectF(kWidth / 2.0 - 70, 40, 140, 140));

    // English title and its Persian rendering.
    const QRectF row(40, 0, kWidth - 80, 0);
    drawLatin(p, row.adjusted(0, 186, 0, 286), texts::kTitle,
              fitted(ArtFonts::display(86, true), texts::kTitle, kWidth - 120), Qt::white,
              Qt::AlignCenter);
    drawPersian(p, row.adjusted(0, 282, 0, 382), texts::kTitleFa, ArtFonts::naskh(70, true),
                palette::kGoldLight, Qt::AlignCenter);

    drawDivider(p, 408, 230);

    // Version, free: in English and Persian.
    drawLatin(p, row.adjusted(0, 422, 0, 484), texts::kVersion, ArtFonts::sans(52), palette::kPaper,
              Qt::AlignCenter);
    drawPersian(p, row.adjusted(0, 482, 0, 566), texts::kVersionFa, ArtFonts::naskh(kPersian),
                palette::kPaper, Qt::AlignCenter);

    // The maker's mark and name, in English and Persian on one baseline,
    // along the bottom left, clear of the buttons.
    const qreal markTop = 626;
    const qreal markSize = 84;
    const qreal baseline = 690;
    drawMakerMark(p, QRectF(64, markTop, markSize, markSize));
    const auto onBaseline = [baseline](const QFont& font, qreal left, qreal width) {
        const QFontMetricsF metrics(font);
        return QRectF(left, baseline - metrics.ascent(), width, metrics.height());
    };
    const QFont latin = ArtFonts::display(54, true);
    const QFont persian = ArtFonts::naskh(kPersian);
    const qreal latinLeft = 64 + markSize + 26;
    const qreal latinWidth = QFontMetricsF(latin).horizontalAdvance(texts::kMaker);
    drawLatin(p, onBaseline(latin, latinLeft, latinWidth), texts::kMaker, latin, Qt::white);
    const qreal persianLeft = latinLeft + latinWidth + 36;
    drawPersian(p, onBaseline(persian, persianLeft, 300), texts::kMakerFa, persian,
                palette::kGoldLight, Qt::AlignLeft | Qt::AlignVCenter);
    p.end();
    return image;
}

} // namespace halvane::art
