// Small drawings for the tour pages: arrows, labelled chips, documents,
// tables and the frame of another program's dialog.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace halvane::art
{

// Persian digits for a number: 12 -> "۱۲".
QString persianNumber(int value);

void drawArrow(QPainter& painter, const QPointF& from, const QPointF& to, const QColor& color,
               qreal width = 2);

// A rounded label with centred text (Persian or Latin, found from the text).
void drawChip(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& fill, const QColor& ink);

// A numbered gold marker that points a paragraph at a part of a picture.
void drawCallout(QPainter& painter, const QPointF& centre, int number);

// A document page with a folded corner and a small schedule drawn on it.
void drawDocument(QPainter& painter, const QRectF& box, const QColor& accent);

// The frame of a generic dialog of another program: title bar, close box,
// light face. Returns the client area.
QRectF drawDialogFrame(QPainter& painter, const QRectF& outer, const QString& title);

// A text field or drop-down of such a dialog, with its caption on the left.
void drawDialogField(QPainter& painter, const QRectF& box, const QString& caption,
                     const QString& value, bool dropDown, bool highlight);

// A dialog button.
void drawDialogButton(QPainter& painter, const QRectF& box, const QString& caption, bool isDefault);

// A table: a header row and body rows, columns of the given widths laid out
// from `origin` to the right, or to the left for a right-to-left table.
struct TableStyle {
    qreal rowHeight = 20;
    QColor headerFill;
    QColor headerInk;
    QColor rule;
    QList<QColor> rowTints; // per body row; an invalid colour leaves it white
    bool rightToLeft = false;
};
QRectF drawTable(QPainter& painter, const QPointF& origin, const QList<qreal>& widths,
                 const QStringList& header, const QList<QStringList>& rows,
                 const TableStyle& style);

} // namespace halvane::art
