// How the Qt backend draws what a design says: twips as pixels, the
// designed fonts and their character set, the system colours, and the
// pictures stored with the designs (Qt resources under :/art/).
#pragma once

#include "ui/forms/Design.h"

#include <QColor>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QWidget>
#include <string_view>

namespace halvane::ui::qt
{

// Qt lays widgets out in device-independent pixels of 1/96 inch, so a design
// keeps its proportions on any screen: 15 twips to a pixel.
inline constexpr int kTwipsPerPixel = kTwipsPerInch / 96;
int pixels(int twips);
QRect pixelRect(const TwipsRect& rect);
QPoint pixelPoint(const TwipsPoint& point);

// A Qt font carries no character set: its fallback picks a face that covers
// the script of the text drawn. The designed character set is therefore
// recorded on each widget that has a designed font, as this dynamic property.
inline constexpr char kCharsetProperty[] = "charset";

// Gives `widget` the designed font: the family (a missing family falls back
// to a face of the same style hint), the size in points, the weight, and
// records the character set.
void setDesignFont(QWidget& widget, const Font& font);

// The Windows system colour `index` (COLOR_WINDOW is 5, COLOR_ACTIVEBORDER
// 10, ...) as the standard Windows colour scheme gives it; the Qt backend is
// built for Linux only.
QColor systemColour(int index);
// A colour of the design; invalid for an inherited one.
QColor colourOf(const Colour& colour);
// Fills `widget`'s background with `colour`.
void setBackground(QWidget& widget, const QColor& colour);

// The picture stored with the designs under `name`: the resource
// :/art/<name>.svg or :/art/<name>.png; empty when there is none.
QString picturePath(std::string_view name);
bool isVectorPicture(const QString& path);
// The icon stored under `name`: :/art/<name>16.png and :/art/<name>32.png.
QIcon designIcon(std::string_view name);

} // namespace halvane::ui::qt
