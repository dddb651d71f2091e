// The top-level widget of a window made from a design. It passes the window
// system's close requests and activations on to the window's events instead
// of acting on them, and the clicks of its controls.
#pragma once

#include "ui/forms/WindowEvents.h"

#include <QWidget>
#include <cstddef>

namespace halvane::ui::qt
{

class WindowWidget final : public QWidget
{
    Q_OBJECT

public:
    explicit WindowWidget(WindowEvents& events);

    // Control `control` (its place in the design) was clicked.
    void clicked(std::size_t control);
    // Enter was pressed in the window.
    void enterPressed();
    // From now on nothing is passed on: the window is being unloaded.
    void detach() { m_events = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    WindowEvents* m_events;
};

} // namespace halvane::ui::qt
