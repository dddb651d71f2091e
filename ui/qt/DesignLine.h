// A line of a window design: a horizontal or vertical stroke of a given
// width and colour between two points, drawn where it lies in the stacking
// order of the window's controls. It takes no input.
#pragma once

#include <QColor>
#include <QWidget>

namespace halvane::ui::qt
{

class DesignLine final : public QWidget
{
    Q_OBJECT

public:
    // From (x1, y1) to (x2, y2) in the parent's pixels, the end point left
    // out as Windows draws lines; `penWidth` pixels wide, to the right of a
    // vertical line and below a horizontal one.
    DesignLine(QWidget& parent, QPoint from, QPoint to, int penWidth, QColor colour);

    QColor colour() const { return m_colour; }
    int lineWidth() const { return m_width; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
    int m_width;
};

} // namespace halvane::ui::qt
