// A picture box: a sunken box that shows one picture at its own size from
// the top-left corner of its interior, cut off where it does not fit; the
// rest of the interior keeps the background colour. It never resizes itself.
#pragma once

#include <QFrame>
#include <QImage>

namespace halvane::ui::qt
{

class PictureBoxWidget final : public QFrame
{
    Q_OBJECT

public:
    explicit PictureBoxWidget(QWidget* parent = nullptr);

    // Replaces the picture; drawn with the next paint.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace halvane::ui::qt
