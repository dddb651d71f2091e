#include "ui/PictureBox.h"

#include <QPainter>

namespace halvane::ui
{

PictureBox::PictureBox(QWidget* parent) : QFrame(parent)
{
    // The 3D border of a Windows picture box: two pixels, sunken.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QRect interior = contentsRect();
    painter.setClipRect(interior);
    painter.drawImage(interior.topLeft(), m_picture);
}

} // namespace halvane::ui
