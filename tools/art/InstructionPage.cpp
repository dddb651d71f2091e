// The instruction viewer's design page, 397 x 427: a greeting and the four
// numbered steps of the work, with a pointer to the visual tour.
#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Pictures.h"
#include "tools/art/Texts.h"

#include <QLinearGradient>
#include <QPainter>
#include <QtGlobal>

namespace halvane::art
{

namespace
{

constexpr int kWidth = 397;
constexpr int kHeight = 427;

struct Step {
    QString digit;
    QString title;
    QString body;
};

// The four steps as numbered cards, one below the other from `y`; returns
// the height reached, below the last card's gap.
qreal drawSteps(QPainter& p, qreal margin, qreal textWidth, qreal y)
{
    const Step steps[] = {
        {QStringLiteral("۱"), texts::kStep1Title, texts::kStep1},
        {QStringLiteral("۲"), texts::kStep2Title, texts::kStep2},
        {QStringLiteral("۳"), texts::kStep3Title, texts::kStep3},
        {QStringLiteral("۴"), texts::kStep4Title, texts::kStep4},
    };
    const QFont titleFont = ArtFonts::naskh(14, true);
    const QFont stepFont = ArtFonts::naskh(13);
    const qreal badge = 13;
    const qreal cardText = textWidth - 2 * badge - 18;
    for (const Step& step : steps) {
        const qreal titleHeight = paragraphHeight(step.title, titleFont, cardText, 24);
        const qreal bodyHeight = paragraphHeight(step.body, stepFont, cardText, 21);
        const QRectF card(margin, y, textWidth, titleHeight + bodyHeight + 8);
        p.setPen(QPen(palette::kPaperShade.darker(108), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        drawStepBadge(p, QPointF(card.right() - badge - 7, card.top() + badge + 6), badge,
                      step.digit, palette::kTurquoise, Qt::white);
        const QRectF text(card.left() + 8, card.top() + 3, cardText, titleHeight);
        drawParagraph(p, text, step.title, titleFont, palette::kDeepBlue, 24);
        drawParagraph(p, QRectF(text.left(), text.bottom(), cardText, bodyHeight), step.body,
                      stepFont, palette::kInk, 21);
        y = card.bottom() + 6;
    }
    return y;
}

} // namespace

QImage instructionPagePicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(palette::kPaper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Header: greeting on a turquoise band, the program's mark at its left.
    const QRectF band(0, 0, kWidth, 64);
    drawTitleBand(p, band);
    drawCalendarMark(p, QRectF(14, 8, 46, 46));
    drawPersian(p, QRectF(70, 4, kWidth - 86, 34), texts::kGreeting, ArtFonts::naskh(21, true),
                Qt::white);
    drawPersian(p, QRectF(70, 36, kWidth - 86, 24), texts::kTitleFa, ArtFonts::naskh(13),
                palette::kGoldLight);

    const qreal margin = 14;
    const qreal textWidth = kWidth - 2 * margin;
    qreal y = band.bottom() + 10;
    const QFont body = ArtFonts::naskh(13);
    y += drawParagraph(p, QRectF(margin, y, textWidth, 0), texts::kWelcome, body, palette::kInk,
                       22) +
         6;

    y = drawSteps(p, margin, textWidth, y);

    // Footer: the way to the illustrated tour.
    // The viewer's picture box shows a little less than the page's full
    // height, so the last line keeps clear of the bottom edge.
    const qreal bottom = kHeight - 10;
    const QFont hintFont = fitted(ArtFonts::naskh(13, true), texts::kTourHint, textWidth);
    drawPersian(p, QRectF(margin, y, textWidth, bottom - y), texts::kTourHint, hintFont,
                palette::kTurquoise.darker(130), Qt::AlignCenter);
    if (bottom - y < 22)
        qWarning("instruction page: the text runs %d pixels too far", qRound(y + 22 - bottom));
    p.end();
    return image;
}

} // namespace halvane::art
