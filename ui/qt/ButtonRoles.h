// The keys a window's buttons answer as Windows windows do: Enter anywhere
// in the window goes to the window's keyboard rules (which press the focused
// button, or else the default button), and Escape presses the cancel button.
// Qt gives these roles only to dialogs; the program's windows are plain tool
// windows.
#pragma once

#include "ui/qt/WindowWidget.h"

#include <QObject>
#include <QPointer>
#include <QPushButton>

namespace halvane::ui::qt
{

class ButtonRoles final : public QObject
{
    Q_OBJECT

public:
    // Gives `window` its default and cancel buttons (either may be null, both
    // may be the same button). A hidden or disabled cancel button does not
    // react.
    ButtonRoles(WindowWidget& window, QPushButton* defaultButton, QPushButton* cancelButton);

    QPushButton* defaultButton() const { return m_default; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowWidget& m_window;
    QPointer<QPushButton> m_default;
    QPointer<QPushButton> m_cancel;
};

} // namespace halvane::ui::qt
