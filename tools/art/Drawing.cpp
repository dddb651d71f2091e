// Text layout and the marks used across the pictures.
#include "tools/art/Drawing.h"

#include "tools/art/ArtFonts.h"
#include "tools/art/Palette.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTransform>
#include <QtMath>

namespace halvane::art
{

void drawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& color, Qt::Alignment align, Qt::LayoutDirection direction)
{
    painter.save();
    painter.setLayoutDirection(direction);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, static_cast<int>(align | Qt::AlignAbsolute), text);
    painter.restore();
}

void drawLatin(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
               const QColor& color, Qt::Alignment align)
{
    drawText(painter, box, text, font, color, align, Qt::LeftToRight);
}

QFont fitted(QFont font, const QString& text, qreal width)
{
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

namespace
{

// Latin runs inside Persian text: file names, field names, button captions,
// dates. A run is ASCII text with single spaces between its words
// ("Visual Tour"); it must hold a letter or digit (a lone bracket around
// Persian words is Persian punctuation), and punctuation of the Persian
// sentence before or after it (a colon, a full stop) stays outside.
struct Span {
    qsizetype start;
    qsizetype length;
};

QList<Span> latinSpans(const QString& text)
{
    const auto isLatin = [&text](qsizetype i) {
        return i < text.size() && text[i].unicode() < 0x80 && !text[i].isSpace();
    };
    QList<Span> spans;
    for (qsizetype i = 0; i < text.size();) {
        if (!isLatin(i)) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (isLatin(end) ||
               (end < text.size() && text[end] == QLatin1Char(' ') && isLatin(end + 1)))
            ++end;
        const qsizetype next = end;
        const QStringView stops(u".,;:!? ");
        while (i < end && stops.contains(text[i]))
            ++i;
        while (end > i && stops.contains(text[end - 1]))
            --end;
        bool word = false;
        for (qsizetype k = i; k < end; ++k)
            word = word || text[k].isLetterOrNumber();
        if (word)
            spans.append({i, end - i});
        i = next;
    }
    return spans;
}

// Sets `text` into the layout with every Latin run isolated as a
// left-to-right island (U+2066 ... U+2069), so that "C:\" does not turn
// into "\:C" and "ES, EF" keeps its order inside the Persian sentence, and
// sets those runs in Noto Sans, a little smaller to match the Persian
// letters' size: the Persian faces' own Latin letters are of another style.
void setPersianText(QTextLayout& layout, const QString& text, const QFont& font)
{
    const QFont latin = ArtFonts::sans(qRound(font.pixelSize() * 0.86), font.bold());
    QTextCharFormat format;
    format.setFont(latin, QTextCharFormat::FontPropertiesAll);
    QString isolated;
    QList<QTextLayout::FormatRange> formats;
    qsizetype from = 0;
    for (const Span& span : latinSpans(text)) {
        isolated += text.mid(from, span.start - from);
        isolated += QChar(0x2066);
        const qsizetype start = isolated.size();
        for (const QChar c : QStringView(text).mid(span.start, span.length)) {
            isolated += c;
            // A path or a date is one word: no line break after its separators.
            if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':'))
                isolated += QChar(0x2060);
        }
        formats.append(
            {static_cast<int>(start), static_cast<int>(isolated.size() - start), format});
        isolated += QChar(0x2069);
        from = span.start + span.length;
    }
    isolated += text.mid(from);
    layout.setText(isolated);
    layout.setFont(font);
    layout.setFormats(formats);
}

// Lays `text` out in lines of `width`, `lineHeight` apart; returns the height.
qreal layOut(QTextLayout& layout, const QString& text, const QFont& font, qreal width,
             qreal lineHeight, Qt::Alignment align)
{
    setPersianText(layout, text, font);
    QTextOption option;
    option.setTextDirection(Qt::RightToLeft);
    option.setAlignment((align & Qt::AlignHorizontal_Mask) | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    // Centre each line's glyphs in its slot of lineHeight.
    const QFontMetricsF metrics(font);
    const qreal inset = (lineHeight - metrics.ascent() - metrics.descent()) / 2;
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y + inset));
        y += lineHeight;
    }
    layout.endLayout();
    return y;
}

} // namespace

qreal drawParagraph(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                    const QColor& color, qreal lineHeight, Qt::Alignment align)
{
    QTextLayout layout;
    const qreal height = layOut(layout, text, font, box.width(), lineHeight, align);
    qreal top = box.top();
    if (align & Qt::AlignVCenter)
        top += (box.height() - height) / 2;
    else if (align & Qt::AlignBottom)
        top += box.height() - height;
    painter.save();
    painter.setPen(color);
    layout.draw(&painter, QPointF(box.left(), top));
    painter.restore();
    return height;
}

qreal paragraphHeight(const QString& text, const QFont& font, qreal width, qreal lineHeight)
{
    QTextLayout layout;
    return layOut(layout, text, font, width, lineHeight, Qt::AlignRight);
}

void drawPersian(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                 const QColor& color, Qt::Alignment align)
{
    if (!(align & Qt::AlignVertical_Mask))
        align |= Qt::AlignVCenter;
    drawParagraph(painter, box, text, font, color, QFontMetricsF(font).height(), align);
}

QLinearGradient seaGradient(const QRectF& box)
{
    QLinearGradient sea(box.topLeft(), box.bottomLeft());
    sea.setColorAt(0, palette::kTurquoiseLight);
    sea.setColorAt(1, palette::kTurquoise);
    return sea;
}

void drawTitleBand(QPainter& painter, const QRectF& band)
{
    QLinearGradient sea(band.topLeft(), band.bottomLeft());
    sea.setColorAt(0, palette::kTurquoise);
    sea.setColorAt(1, palette::kTurquoise.darker(125));
    painter.fillRect(band, sea);
    painter.fillRect(QRectF(band.left(), band.bottom(), band.width(), 3), palette::kGold);
}

namespace
{

// An eight-pointed star (two overlapping squares) of outer radius r.
QPainterPath eightPointStar(const QPointF& c, qreal r)
{
    QPainterPath square;
    square.addRect(QRectF(-r / M_SQRT2, -r / M_SQRT2, 2 * r / M_SQRT2, 2 * r / M_SQRT2));
    QPainterPath turned = QTransform().rotate(45).map(square);
    QPainterPath star = square.united(turned);
    return QTransform::fromTranslate(c.x(), c.y()).map(star);
}

} // namespace

void drawMakerMark(QPainter& painter, const QRectF& tile)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = tile.width();
    QLinearGradient sea(tile.topLeft(), tile.bottomRight());
    sea.setColorAt(0, palette::kTurquoiseLight);
    sea.setColorAt(1, palette::kTurquoise.darker(135));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sea);
    painter.drawRoundedRect(tile, s * 0.22, s * 0.22);

    const QPointF c = tile.center();
    QLinearGradient gold(tile.topLeft(), tile.bottomLeft());
    gold.setColorAt(0, palette::kGoldLight);
    gold.setColorAt(1, palette::kGold);
    painter.setBrush(gold);
    painter.drawPath(eightPointStar(c, s * 0.36));
    // The star's heart: a turquoise ring around a paper-white dot.
    painter.setBrush(palette::kTurquoise.darker(120));
    painter.drawEllipse(c, s * 0.16, s * 0.16);
    painter.setBrush(palette::kPaper);
    painter.drawEllipse(c, s * 0.09, s * 0.09);
    painter.restore();
}

void drawCalendarMark(QPainter& painter, const QRectF& box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = box.width();
    const QRectF page = box.adjusted(s * 0.06, s * 0.12, -s * 0.06, -s * 0.04);
    const qreal radius = s * 0.10;

    // Page with a soft shadow.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawRoundedRect(page.translated(0, s * 0.025), radius, radius);
    painter.setBrush(palette::kPaper);
    painter.drawRoundedRect(page, radius, radius);

    // Turquoise header band, its top corners rounded with the page.
    const qreal band = page.height() * 0.30;
    QPainterPath header;
    header.addRoundedRect(page, radius, radius);
    QPainterPath cut;
    cut.addRect(QRectF(page.left(), page.top(), page.width(), band));
    painter.setBrush(seaGradient(QRectF(page.left(), page.top(), page.width(), band)));
    painter.drawPath(header.intersected(cut));

    // Binder rings.
    painter.setBrush(palette::kNight);
    const qreal ringW = s * 0.09;
    const qreal ringH = s * 0.20;
    for (qreal x : {page.left() + page.width() * 0.27, page.left() + page.width() * 0.73})
        painter.drawRoundedRect(QRectF(x - ringW / 2, box.top() + s * 0.03, ringW, ringH),
                                ringW / 2, ringW / 2);

    // A sun rising over the page: gold disc and rays.
    const QRectF body(page.left(), page.top() + band, page.width(), page.height() - band);
    const QPointF sun(body.center().x(), body.top() + body.height() * 0.56);
    const qreal r = body.height() * 0.22;
    painter.setPen(QPen(palette::kGold, s * 0.035, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(i * 45.0 + 22.5);
        painter.drawLine(sun + QPointF(qCos(a), qSin(a)) * r * 1.45,
                         sun + QPointF(qCos(a), qSin(a)) * r * 1.95);
    }
    QRadialGradient disc(sun - QPointF(r * 0.3, r * 0.3), r * 1.3);
    disc.setColorAt(0, palette::kGoldLight);
    disc.setColorAt(1, palette::kGold);
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(sun, r, r);
    painter.restore();
}

void drawStepBadge(QPainter& painter, const QPointF& centre, qreal radius, const QString& digit,
                   const QColor& fill, const QColor& ink)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(centre, radius, radius);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    drawPersian(painter, box.translated(0, radius * 0.08), digit,
                ArtFonts::sansArabic(qRound(radius * 1.25), true), ink, Qt::AlignCenter);
    painter.restore();
}

} // namespace halvane::art
