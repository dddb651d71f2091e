// Drawing helpers shared by the pictures: text laid out right to left or
// left to right, fitted sizes, and the two marks (the maker's tile and the
// program's calendar).
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace halvane::art
{

// Draws one line of `text` inside `box`. Horizontal alignment is absolute
// (left means left in either direction).
void drawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& color, Qt::Alignment align, Qt::LayoutDirection direction);

// One line of Persian text: right-to-left paragraph, right-aligned and
// vertically centred unless told otherwise.
void drawPersian(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                 const QColor& color, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);

// Latin text: left-to-right paragraph.
void drawLatin(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
               const QColor& color, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

// Persian paragraph wrapped at word boundaries into `box`, lines `lineHeight`
// pixels apart (the fonts' own spacing is loose for small sizes). `align`
// places the lines horizontally and the block vertically. Returns the
// height of the block.
qreal drawParagraph(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                    const QColor& color, qreal lineHeight,
                    Qt::Alignment align = Qt::AlignRight | Qt::AlignTop);

// Height of that paragraph at `width`, without drawing it.
qreal paragraphHeight(const QString& text, const QFont& font, qreal width, qreal lineHeight);

// The largest pixel size, at most that of `font`, at which `text` fits `width`.
QFont fitted(QFont font, const QString& text, qreal width);

// The maker's mark: a turquoise tile with a gold eight-pointed star.
void drawMakerMark(QPainter& painter, const QRectF& tile);

// The program's mark: a calendar page with a rising sun, drawn at any size
// from 32 pixels up (the 16-pixel icon has its own pixel drawing).
void drawCalendarMark(QPainter& painter, const QRectF& box);

// A filled circle with a Persian digit in it, for numbered steps.
void drawStepBadge(QPainter& painter, const QPointF& centre, qreal radius, const QString& digit,
                   const QColor& fill, const QColor& ink);

} // namespace halvane::art
