#include "ui/qt/DesignStyle.h"

#include <QFile>
#include <QFont>
#include <QPalette>
#include <array>
#include <cmath>

namespace halvane::ui::qt
{

int pixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

QRect pixelRect(const TwipsRect& rect)
{
    return {pixels(rect.left), pixels(rect.top), pixels(rect.width), pixels(rect.height)};
}

QPoint pixelPoint(const TwipsPoint& point)
{
    return {pixels(point.x), pixels(point.y)};
}

void setDesignFont(QWidget& widget, const Font& design)
{
    QFont font(QString::fromUtf8(design.family.data(), qsizetype(design.family.size())));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    font.setItalic(false);
    widget.setFont(font);
    widget.setProperty(kCharsetProperty, design.charset);
}

QColor systemColour(int index)
{
    // The standard Windows colour scheme, COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30).
    static constexpr std::array<QRgb, 31> kStandard{
        0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
        0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
        0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
        0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
    };
    if (index < 0 || index >= static_cast<int>(kStandard.size()))
        return QColor(Qt::black);
    return QColor(kStandard[static_cast<std::size_t>(index)]);
}

QColor colourOf(const Colour& colour)
{
    switch (colour.kind) {
    case Colour::Kind::System:
        return systemColour(static_cast<int>(colour.value));
    case Colour::Kind::Rgb:
        return QColor(QRgb(colour.value));
    case Colour::Kind::Inherit:
        break;
    }
    return {};
}

void setBackground(QWidget& widget, const QColor& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QString picturePath(std::string_view name)
{
    const QString base =
        QStringLiteral(":/art/") + QString::fromUtf8(name.data(), qsizetype(name.size()));
    for (const QString& path : {base + QStringLiteral(".svg"), base + QStringLiteral(".png")})
        if (QFile::exists(path))
            return path;
    return {};
}

bool isVectorPicture(const QString& path)
{
    return path.endsWith(QStringLiteral(".svg"));
}

QIcon designIcon(std::string_view name)
{
    const QString base =
        QStringLiteral(":/art/") + QString::fromUtf8(name.data(), qsizetype(name.size()));
    QIcon icon;
    icon.addFile(base + QStringLiteral("16.png"), QSize(16, 16));
    icon.addFile(base + QStringLiteral("32.png"), QSize(32, 32));
    return icon;
}

} // namespace halvane::ui::qt
