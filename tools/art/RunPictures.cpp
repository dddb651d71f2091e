// The pictures of the main window's picture box: the instruction before the
// first run (167 x 90), and the wait and success pictures of the run
// (169 x 89, the size of the box).
#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Pictures.h"
#include "tools/art/Texts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace halvane::art
{

namespace
{

// What the picture box shows of a picture: its interior, inside a two-pixel
// sunken border (the box is 169 x 89 pixels).
const QRectF kVisible(0, 0, 165, 85);

// The area of the instruction picture that opens the viewer when clicked.
const QRectF kGuideButton(64, 24, 97, 25);

// The pictures are shown at their own size: Persian text is set no smaller
// than this, at which the tall letters (alef, lam) stand about 11 pixels
// above the line.
constexpr int kReadable = 18;

// `font` made just small enough for `text` to fit `width`, with a warning
// when that takes it under the readable size.
QFont fittedReadable(const QFont& font, const QString& text, qreal width)
{
    const QFont fit = fitted(font, text, width);
    if (fit.pixelSize() < kReadable)
        qWarning("run pictures: \"%s\" fits only at %d pixels", qUtf8Printable(text),
                 fit.pixelSize());
    return fit;
}

QImage paper(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient shade(0, 0, 0, height);
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(1, palette::kPaper);
    p.fillRect(image.rect(), shade);
    return image;
}

// A small book, the sign of the instructions.
void drawBook(QPainter& p, const QRectF& box, const QColor& color)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 1.2));
    p.setBrush(Qt::NoBrush);
    const qreal mx = box.center().x();
    QPainterPath left;
    left.moveTo(mx, box.top() + 2);
    left.quadTo(mx - box.width() * 0.25, box.top(), box.left(), box.top() + 1);
    left.lineTo(box.left(), box.bottom() - 1);
    left.quadTo(mx - box.width() * 0.25, box.bottom() - 2, mx, box.bottom());
    p.drawPath(left);
    p.drawPath(QTransform::fromTranslate(2 * mx, 0).scale(-1, 1).map(left));
    p.drawLine(QPointF(mx, box.top() + 2), QPointF(mx, box.bottom()));
    p.restore();
}

} // namespace

QImage instructionPicture()
{
    QImage image = paper(167, 90);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // First line, above the guide button: prepare first. Slightly narrower
    // word spaces keep it at the readable size with a margin on both sides.
    const QRectF line(3, 0, kVisible.width() - 6, kGuideButton.top());
    QFont first = ArtFonts::nazli(kReadable);
    first.setWordSpacing(-0.5);
    drawPersian(p, line, texts::kPrepare, fittedReadable(first, texts::kPrepare, line.width()),
                palette::kInk);

    // The click area, drawn as a button that opens the instructions: the
    // book and its name side by side, centred on it.
    p.setPen(QPen(palette::kTurquoise.darker(130), 1));
    p.setBrush(seaGradient(kGuideButton));
    p.drawRoundedRect(kGuideButton.adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
    const QFont guide = ArtFonts::nazli(kReadable, true);
    const qreal book = 15;
    const qreal gap = 6;
    const qreal label = QFontMetricsF(guide).horizontalAdvance(texts::kOpenGuide);
    const qreal right = kGuideButton.center().x() + (book + gap + label) / 2;
    drawBook(p, QRectF(right - book, kGuideButton.top() + 7, book, 12), Qt::white);
    drawPersian(p,
                QRectF(right - book - gap - label - 2, kGuideButton.top(), label + 4,
                       kGuideButton.height()),
                texts::kOpenGuide, guide, Qt::white, Qt::AlignCenter);

    // Second line, under the button: then run the program.
    const QRectF last(3, kGuideButton.bottom() + 2, kVisible.width() - 6,
                      kVisible.bottom() - kGuideButton.bottom() - 4);
    drawPersian(p, last, texts::kThenRun,
                fittedReadable(ArtFonts::nazli(kReadable, true), texts::kThenRun, last.width()),
                palette::kDeepBlue);
    p.end();
    return image;
}

// While the run works the program does not paint, so the picture shows a
// sign of work that claims no progress: an hourglass, and what is being done.
QImage waitPicture()
{
    QImage image = paper(169, 89);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // An hourglass.
    const QPointF c(kVisible.center().x(), 16);
    QPainterPath glass;
    glass.moveTo(c + QPointF(-8, -12));
    glass.lineTo(c + QPointF(8, -12));
    glass.lineTo(c + QPointF(1.5, 0));
    glass.lineTo(c + QPointF(8, 12));
    glass.lineTo(c + QPointF(-8, 12));
    glass.lineTo(c + QPointF(-1.5, 0));
    glass.closeSubpath();
    p.setPen(QPen(palette::kDeepBlue, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kGold);
    QPainterPath sandTop;
    sandTop.moveTo(c + QPointF(-5, -6));
    sandTop.lineTo(c + QPointF(5, -6));
    sandTop.lineTo(c + QPointF(0.8, -0.5));
    sandTop.lineTo(c + QPointF(-0.8, -0.5));
    p.drawPath(sandTop);
    QPainterPath sandBottom;
    sandBottom.moveTo(c + QPointF(-7, 11));
    sandBottom.lineTo(c + QPointF(7, 11));
    sandBottom.lineTo(c + QPointF(0, 5));
    p.drawPath(sandBottom);
    p.setPen(QPen(palette::kDeepBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-10, -12.5), c + QPointF(10, -12.5));
    p.drawLine(c + QPointF(-10, 12.5), c + QPointF(10, 12.5));

    drawPersian(p, QRectF(0, 30, kVisible.width(), 27), texts::kWait,
                ArtFonts::nazli(kReadable + 2, true), palette::kDeepBlue, Qt::AlignCenter);
    drawPersian(p, QRectF(0, 57, kVisible.width(), 26), texts::kConverting,
                ArtFonts::nazli(kReadable), palette::kInkSoft, Qt::AlignCenter);
    p.end();
    return image;
}

QImage successPicture()
{
    QImage image = paper(169, 89);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // A green disc with a check mark.
    const QPointF c(kVisible.center().x(), 13);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kGreen);
    p.drawEllipse(c, 11, 11);
    p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(c + QPointF(-5.5, 0.5));
    tick.lineTo(c + QPointF(-1.5, 4.5));
    tick.lineTo(c + QPointF(6, -4));
    p.drawPath(tick);

    const QRectF title(2, 25, kVisible.width() - 4, 22);
    drawPersian(p, title, texts::kConverted,
                fittedReadable(ArtFonts::nazli(kReadable, true), texts::kConverted, title.width()),
                palette::kGreen.darker(125), Qt::AlignCenter);
    drawParagraph(p, QRectF(2, 47, kVisible.width() - 4, 38), texts::kImportBack,
                  ArtFonts::nazli(kReadable - 1), palette::kInk, 19, Qt::AlignCenter);
    p.end();
    return image;
}

} // namespace halvane::art
