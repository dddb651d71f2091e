#include "ui/qt/ButtonRoles.h"

#include <QKeyEvent>

namespace halvane::ui::qt
{
namespace
{

bool press(QPushButton* button)
{
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    button->click();
    return true;
}

} // namespace

ButtonRoles::ButtonRoles(WindowWidget& window, QPushButton* defaultButton,
                         QPushButton* cancelButton)
    : QObject(&window), m_window(window), m_default(defaultButton), m_cancel(cancelButton)
{
    if (defaultButton)
        defaultButton->setDefault(true); // drawn with the default button's frame
    // Keys reach the window when the control with the focus leaves them;
    // a focused button would take Enter itself, so its Enter is taken first.
    window.installEventFilter(this);
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->installEventFilter(this);
}

bool ButtonRoles::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // Shift+Enter is Enter, as on Windows; Ctrl and Alt make other keys.
    const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if ((modifiers & ~Qt::ShiftModifier) != Qt::NoModifier)
            return false;
        m_window.enterPressed();
        return true;
    case Qt::Key_Escape:
        return modifiers == Qt::NoModifier && press(m_cancel);
    default:
        return false;
    }
}

} // namespace halvane::ui::qt
