// The About window's logo as SVG: the maker's mark and name, with the name
// written as outlines so that the picture needs no font where it is shown.
#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Pictures.h"
#include "tools/art/Texts.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTransform>
#include <algorithm>

namespace halvane::art
{

bool writeLogoSvg(const QString& path)
{
    // 2400 x 735 twips: 160 x 49 pixels at 96 dots per inch.
    const QRectF view(0, 0, 240, 73.5);
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
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
    // Scale the name into the space right of the mark, 150 wide, 36 high.
    const qreal scale = std::min(150 / nameBox.width(), 36 / nameBox.height());
    name = QTransform::fromScale(scale, scale).map(name);
    const QRectF fittedBox = name.boundingRect();
    name.translate(83 - fittedBox.left(), 46 - fittedBox.bottom());
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kNight);
    p.drawPath(name);

    QPainterPath rule;
    rule.addRect(QRectF(84, 52, 150, 2.5));
    p.setBrush(palette::kGold);
    p.drawPath(rule);
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
