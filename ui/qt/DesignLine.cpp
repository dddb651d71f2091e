#include "ui/qt/DesignLine.h"

#include <QPainter>

namespace halvane::ui::qt
{

DesignLine::DesignLine(QWidget& parent, QPoint from, QPoint to, int penWidth, QColor colour)
    : QWidget(&parent), m_colour(colour), m_width(penWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    const QPoint topLeft(std::min(from.x(), to.x()), std::min(from.y(), to.y()));
    if (from.y() == to.y())
        setGeometry(topLeft.x(), topLeft.y(), std::abs(to.x() - from.x()), penWidth);
    else
        setGeometry(topLeft.x(), topLeft.y(), penWidth, std::abs(to.y() - from.y()));
}

void DesignLine::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), m_colour);
}

} // namespace halvane::ui::qt
