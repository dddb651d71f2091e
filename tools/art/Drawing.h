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

// Draws `text` inside `box`. Horizontal alignment is absolute (left means
// left in either direction). Wraps at word boundaries when `wrap` is set.
void drawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& color, Qt::Alignment align, Qt::LayoutDirection direction,
              bool wrap = false);

// Persian text: right-to-left paragraph, right-aligned unless told otherwise.
void drawPersian(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                 const QColor& color, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter,
                 bool wrap = false);

// Latin text: left-to-right paragraph.
void drawLatin(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
               const QColor& color, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

// The largest pixel size, at most that of `font`, at which `text` fits `width`.
QFont fitted(QFont font, const QString& text, qreal width);

// Height the wrapped Persian `text` takes at `width`.
qreal persianHeight(const QString& text, const QFont& font, qreal width);

// The maker's mark: a turquoise tile with a gold eight-pointed star.
void drawMakerMark(QPainter& painter, const QRectF& tile);

// The program's mark: a calendar page with a rising sun, drawn at any size
// from 32 pixels up (the 16-pixel icon has its own pixel drawing).
void drawCalendarMark(QPainter& painter, const QRectF& box);

// A filled circle with a Persian digit in it, for numbered steps.
void drawStepBadge(QPainter& painter, const QPointF& centre, qreal radius, const QString& digit,
                   const QColor& fill, const QColor& ink);

} // namespace halvane::art
