// The About window's logo as SVG: the maker's mark and name, with the name
// written as outlines so that the picture needs no font where it is shown.
#include "ArtFonts.h"
#include "Drawing.h"
#include "Palette.h"
#include "Pictures.h"
#include "Texts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

namespace halvane::art
{

bool writeLogoSvg(const QString& path)
{
    // 2400 x 735 twips: 160 x 49 pixels at 96 dots per inch.
    const QRectF view(0, 0, 240, 73.5);
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(160, 49));
    svg.setViewBox(view);
    svg.setResolution(96);
    svg.setTitle(texts::kMaker);
    svg.setDescription(QStringLiteral("The maker's mark of Halvane"));

    QPainter p;
    if (!p.begin(&svg))
        return false;
    p.setRenderHint(QPainter::Antialiasing);
    drawMakerMark(p, QRectF(4, 4, 65.5, 65.5));

    QPainterPath name;
    const QFont nameFont = ArtFonts::display(44, true);
    name.addText(0, 0, nameFont, texts::kMaker);
    const QRectF nameBox = name.boundingRect();
    name.translate(82 - nameBox.left(), 36.75 + nameBox.height() / 2 - nameBox.bottom() - 6);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kNight);
    p.drawPath(name);

    QPainterPath rule;
    rule.addRect(QRectF(84, 52, 150, 2.5));
    p.setBrush(palette::kGold);
    p.drawPath(rule);
    return p.end();
}

} // namespace halvane::art
