#include "ui/qt/PictureBoxWidget.h"

#include <QPainter>

namespace halvane::ui::qt
{

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QFrame(parent)
{
    // The 3D border of a Windows picture box: two pixels, sunken.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBoxWidget::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void PictureBoxWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QRect interior = contentsRect();
    painter.setClipRect(interior);
    // At its own size in the window's units: at a device-pixel ratio above 1
    // Qt scales it up, smoothly; at 1 it is copied pixel for pixel.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(interior.topLeft(), m_picture);
}

} // namespace halvane::ui::qt
