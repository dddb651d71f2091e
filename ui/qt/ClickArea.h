// A transparent click area: draws nothing, shows the pointing-hand pointer
// and reports a click of the left mouse button (pressed and released over it).
#pragma once

#include <QWidget>

namespace halvane::ui::qt
{

class ClickArea final : public QWidget
{
    Q_OBJECT

public:
    explicit ClickArea(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace halvane::ui::qt
