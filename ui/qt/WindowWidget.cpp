#include "ui/qt/WindowWidget.h"

#include <QCloseEvent>

namespace halvane::ui::qt
{

WindowWidget::WindowWidget(WindowEvents& events) : m_events(&events) {}

void WindowWidget::clicked(std::size_t control)
{
    if (m_events)
        m_events->controlEvent(control, ControlEvent::Click);
}

void WindowWidget::enterPressed()
{
    if (m_events)
        m_events->enterPressed();
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // The window's events decide: they unload it (which takes this widget
    // away), or refuse for a window without a close button.
    event->ignore();
    if (m_events)
        m_events->closeRequested();
}

void WindowWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_events)
        m_events->activated();
}

} // namespace halvane::ui::qt
