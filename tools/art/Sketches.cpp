// The drawing pieces of the tour pages.
#include "tools/art/Sketches.h"

#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace halvane::art
{

namespace
{

bool isPersian(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x0600 && c.unicode() <= 0x06FF)
            return true;
    return false;
}

void drawAnyText(QPainter& p, const QRectF& box, const QString& text, const QFont& latin,
                 const QColor& ink, Qt::Alignment align)
{
    if (isPersian(text))
        drawPersian(p, box, text, ArtFonts::naskh(latin.pixelSize() + 1, latin.bold()), ink, align);
    else
        drawLatin(p, box, text, latin, ink, align);
}

} // namespace

QString persianNumber(int value)
{
    QString text = QString::number(value);
    for (QChar& c : text)
        if (c.isDigit())
            c = QChar(0x06F0 + c.digitValue());
    return text;
}

void drawArrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& color,
               qreal width)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QLineF line(from, to);
    const qreal head = 4 + width * 2.5;
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QLineF(from, QLineF(to, from).pointAt(head * 0.7 / line.length())));
    const qreal angle = qDegreesToRadians(line.angle());
    const QPointF dir(qCos(angle), -qSin(angle));
    const QPointF normal(-dir.y(), dir.x());
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(to - dir * head + normal * head * 0.55);
    tip.lineTo(to - dir * head - normal * head * 0.55);
    tip.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(tip);
    p.restore();
}

void drawChip(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
              const QColor& fill, const QColor& ink)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fill.darker(115), 1));
    p.setBrush(fill);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    p.restore();
    drawAnyText(p, box, text, font, ink, Qt::AlignCenter);
}

void drawCallout(QPainter& p, const QPointF& centre, int number)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(palette::kGold);
    p.drawEllipse(centre, 9, 9);
    p.restore();
    drawPersian(p, QRectF(centre.x() - 9, centre.y() - 8, 18, 18), persianNumber(number),
                ArtFonts::sansArabic(11, true), palette::kNight, Qt::AlignCenter);
}

void drawDocument(QPainter& p, const QRectF& box, const QColor& accent)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal fold = box.width() * 0.26;
    QPainterPath page;
    page.moveTo(box.topLeft());
    page.lineTo(box.right() - fold, box.top());
    page.lineTo(box.right(), box.top() + fold);
    page.lineTo(box.bottomRight());
    page.lineTo(box.bottomLeft());
    page.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawPath(page.translated(2, 3));
    p.setPen(QPen(palette::kInkSoft, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(box.right() - fold, box.top());
    corner.lineTo(box.right() - fold, box.top() + fold);
    corner.lineTo(box.right(), box.top() + fold);
    p.setBrush(palette::kPaperShade);
    p.drawPath(corner);
    // A small schedule: bars of a Gantt chart.
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    const qreal x0 = box.left() + box.width() * 0.14;
    const qreal unit = box.width() * 0.09;
    const qreal barH = box.height() * 0.07;
    const qreal starts[] = {0, 1.5, 3, 2, 4.5};
    const qreal lengths[] = {3, 3.5, 2.5, 4, 3};
    for (int i = 0; i < 5; ++i)
        p.drawRoundedRect(QRectF(x0 + starts[i] * unit, box.top() + fold + 8 + i * barH * 1.8,
                                 lengths[i] * unit, barH),
                          barH / 2, barH / 2);
    p.restore();
}

QRectF drawDialogFrame(QPainter& p, const QRectF& outer, const QString& title)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawRoundedRect(outer.translated(2, 3), 5, 5);
    p.setPen(QPen(QColor(0x8a, 0x93, 0x9e), 1));
    p.setBrush(QColor(0xf3, 0xf3, 0xf3));
    p.drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    const QRectF bar(outer.left() + 1, outer.top() + 1, outer.width() - 2, 21);
    QLinearGradient face(bar.topLeft(), bar.bottomLeft());
    face.setColorAt(0, QColor(0xe4, 0xe9, 0xef));
    face.setColorAt(1, QColor(0xd3, 0xda, 0xe3));
    QPainterPath barPath;
    barPath.addRoundedRect(bar, 4, 4);
    QPainterPath lower;
    lower.addRect(bar.adjusted(0, bar.height() / 2, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawPath(barPath.united(lower));
    p.setPen(QPen(QColor(0x55, 0x5e, 0x69), 1.3));
    const QPointF x(bar.right() - 11, bar.center().y());
    p.drawLine(x + QPointF(-3.5, -3.5), x + QPointF(3.5, 3.5));
    p.drawLine(x + QPointF(-3.5, 3.5), x + QPointF(3.5, -3.5));
    p.restore();
    drawLatin(p, bar.adjusted(8, 0, -24, 0), title, ArtFonts::sans(11), palette::kInk);
    return QRectF(outer.left() + 1, bar.bottom(), outer.width() - 2,
                  outer.bottom() - bar.bottom() - 1);
}

void drawDialogField(QPainter& p, const QRectF& box, const QString& caption, const QString& value,
                     bool dropDown, bool highlight)
{
    const QFont font = ArtFonts::sans(10);
    const qreal captionWidth = caption.isEmpty() ? 0 : 78;
    drawLatin(p, QRectF(box.left(), box.top(), captionWidth, box.height()), caption, font,
              palette::kInk);
    const QRectF field = box.adjusted(captionWidth, 0, 0, 0);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (highlight) {
        p.setPen(QPen(palette::kGold, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(field.adjusted(-2.5, -2.5, 2.5, 2.5), 4, 4);
    }
    p.setPen(QPen(QColor(0x9a, 0xa3, 0xad), 1));
    p.setBrush(Qt::white);
    p.drawRect(field.adjusted(0.5, 0.5, -0.5, -0.5));
    if (dropDown) {
        const QRectF button(field.right() - 15, field.top() + 1, 14, field.height() - 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe6, 0xe9, 0xed));
        p.drawRect(button);
        QPainterPath tri;
        const QPointF c = button.center();
        tri.moveTo(c + QPointF(-3.5, -1.5));
        tri.lineTo(c + QPointF(3.5, -1.5));
        tri.lineTo(c + QPointF(0, 2.5));
        p.setBrush(palette::kInkSoft);
        p.drawPath(tri);
    }
    p.restore();
    drawLatin(p, field.adjusted(4, 0, dropDown ? -16 : -2, 0), value, font, palette::kInk);
}

void drawDialogButton(QPainter& p, const QRectF& box, const QString& caption, bool isDefault)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(isDefault ? palette::kDeepBlue : QColor(0x9a, 0xa3, 0xad), isDefault ? 1.6 : 1));
    QLinearGradient face(box.topLeft(), box.bottomLeft());
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(0xe4, 0xe7, 0xeb));
    p.setBrush(face);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.restore();
    drawLatin(p, box, caption, ArtFonts::sans(10), palette::kInk, Qt::AlignCenter);
}

QRectF drawTable(QPainter& p, const QPointF& origin, const QList<qreal>& widths,
                 const QStringList& header, const QList<QStringList>& rows, const TableStyle& style)
{
    qreal total = 0;
    for (qreal w : widths)
        total += w;
    const qreal left = style.rightToLeft ? origin.x() - total : origin.x();
    const QRectF whole(left, origin.y(), total,
                       style.rowHeight * static_cast<qreal>(rows.size() + 1));
    const auto cellRect = [&](qsizetype column, qsizetype row) {
        qreal x = 0;
        for (qsizetype i = 0; i < column; ++i)
            x += widths[i];
        const qreal cellLeft = style.rightToLeft ? whole.right() - x - widths[column] : left + x;
        return QRectF(cellLeft, whole.top() + static_cast<qreal>(row) * style.rowHeight,
                      widths[column], style.rowHeight);
    };
    const QFont bodyFont = ArtFonts::sans(11);
    const QFont headFont = ArtFonts::sans(11, true);
    p.save();
    p.fillRect(whole, Qt::white);
    for (qsizetype r = 0; r < rows.size() && r < style.rowTints.size(); ++r)
        if (style.rowTints[r].isValid())
            p.fillRect(QRectF(whole.left(),
                              whole.top() + static_cast<qreal>(r + 1) * style.rowHeight, total,
                              style.rowHeight),
                       style.rowTints[r]);
    p.fillRect(QRectF(whole.left(), whole.top(), total, style.rowHeight), style.headerFill);
    p.setPen(QPen(style.rule, 1));
    for (qsizetype r = 1; r <= rows.size(); ++r)
        p.drawLine(
            QPointF(whole.left(), whole.top() + static_cast<qreal>(r) * style.rowHeight + 0.5),
            QPointF(whole.right(), whole.top() + static_cast<qreal>(r) * style.rowHeight + 0.5));
    for (qsizetype c = 1; c < widths.size(); ++c) {
        const qreal x = style.rightToLeft ? cellRect(c, 0).right() : cellRect(c, 0).left();
        p.drawLine(QPointF(x + 0.5, whole.top()), QPointF(x + 0.5, whole.bottom()));
    }
    p.setBrush(Qt::NoBrush);
    p.drawRect(whole.adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
    for (qsizetype c = 0; c < widths.size() && c < header.size(); ++c)
        drawAnyText(p, cellRect(c, 0).adjusted(4, 0, -4, 0), header[c], headFont, style.headerInk,
                    Qt::AlignCenter);
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (qsizetype c = 0; c < widths.size() && c < rows[r].size(); ++c)
            drawAnyText(p, cellRect(c, r + 1).adjusted(4, 0, -4, 0), rows[r][c], bodyFont,
                        palette::kInk, Qt::AlignCenter);
    return whole;
}

} // namespace halvane::art
