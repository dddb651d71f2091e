// The About window's logo as SVG: the maker's mark and name, and under them
// the program's version, with the texts written as outlines so that the
// picture needs no font where it is shown.
//
// The picture is stretched to Image1 (2400 x 735 twips, 160 x 49 pixels at
// 96 dots per inch), and its view box is 240 x 73.5, one unit for 10 twips.
// Two controls lie over it: cmdSysInfo covers its upper right corner and
// Label1 its bottom line, so nothing is drawn there.
#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Pictures.h"
#include "tools/art/Texts.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTransform>
#include <algorithm>

namespace halvane::art
{

namespace
{

// A rectangle of the About window's design, in twips, as view-box units of
// the logo (Image1's left and top at 120, 1440).
constexpr QRectF inLogo(qreal left, qreal top, qreal width, qreal height)
{
    return QRectF((left - 120) / 10, (top - 1440) / 10, width / 10, height / 10);
}

const QRectF kView(0, 0, 240, 73.5);
const QRectF kSysInfo = inLogo(2160, 1440, 1005, 345).intersected(kView);
const QRectF kLabel1 = inLogo(120, 2160, 2205, 225).intersected(kView);
// The least distance, in units, between what is drawn and those controls.
constexpr qreal kClearance = 6;

// `text` as outlines, scaled into `box` and aligned to its left and bottom
// (the baseline of text without descenders).
QPainterPath textIn(const QString& text, const QFont& font, const QRectF& box)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF natural = path.boundingRect();
    const qreal scale = std::min(box.width() / natural.width(), box.height() / natural.height());
    path = QTransform::fromScale(scale, scale).map(path);
    const QRectF fitted = path.boundingRect();
    path.translate(box.left() - fitted.left(), box.bottom() - fitted.bottom());
    return path;
}

} // namespace

bool writeLogoSvg(const QString& path)
{
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(160, 49));
    svg.setViewBox(kView);
    svg.setResolution(96);
    svg.setTitle(texts::kMaker);
    svg.setDescription(QStringLiteral("The maker's mark of Halvane and the program's version"));

    QPainter p;
    if (!p.begin(&svg))
        return false;
    p.setRenderHint(QPainter::Antialiasing);
    const qreal bottom = kLabel1.top() - 2.5;
    drawMakerMark(p, QRectF(4, 4, bottom - 4, bottom - 4));

    // The name beside the mark, ending short of cmdSysInfo; it keeps to the
    // height of the mark's upper half.
    const qreal left = bottom + 10;
    const QRectF name(left, 6, kSysInfo.left() - kClearance - left, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kNight);
    p.drawPath(textIn(texts::kMaker, ArtFonts::display(44, true), name));

    // Under cmdSysInfo the picture is free to its right edge: the version,
    // its capitals 12 units (8 pixels) high, and a gold rule halfway
    // between it and the name.
    const QRectF version(left + 1, bottom - 12, kView.right() - 4 - (left + 1), 12);
    constexpr qreal ruleHeight = 2.5;
    QPainterPath rule;
    rule.addRect(QRectF(version.left(), (name.bottom() + version.top() - ruleHeight) / 2,
                        version.width(), ruleHeight));
    p.setBrush(palette::kGold);
    p.drawPath(rule);
    p.setBrush(palette::kInkSoft);
    p.drawPath(textIn(texts::kAboutVersion, ArtFonts::sans(44), version));
    if (!p.end())
        return false;

    // The generator gives the size in millimetres; state it in pixels, the
    // size of the About window's picture, so that viewers agree on it.
    QString document = QString::fromUtf8(buffer.data());
    document.replace(QRegularExpression(QStringLiteral("<svg width=\"[^\"]*\" height=\"[^\"]*\"")),
                     QStringLiteral("<svg width=\"160\" height=\"49\""));
    QFile file(path);
    const QByteArray bytes = document.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace halvane::art
