// A window of the Qt backend: Qt widgets made from a design, every row of it,
// and the window operations the window services ask of a native window.
#pragma once

#include "ui/forms/Design.h"
#include "ui/forms/NativeWindow.h"
#include "ui/forms/WindowEvents.h"
#include "ui/qt/WindowWidget.h"

#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::ui::qt
{

class QtWindow final : public NativeWindow
{
public:
    // Builds the window and its controls; it is not yet on the screen.
    //  - window: tool window or no title bar, caption, fixed client size,
    //    icon, font, background, and for a fixed place its client position;
    //  - controls: one widget each (none for a data control), named after the
    //    control (objectName; a control array's members also carry their
    //    "index" property), placed in twips from their container's interior,
    //    created from the bottom-most up so each lies over those below it;
    //  - the tab order, the default and cancel buttons, and the focus on the
    //    first control of the tab order that can take it.
    QtWindow(const WindowDesign& design, WindowEvents& events);
    ~QtWindow() override;

    const WindowDesign& design() const { return m_design; }
    // The top-level widget.
    QWidget& widget() const { return *m_widget; }
    // The widget of the control at `index` in the design; null for a data
    // control.
    QWidget* control(std::size_t index) const { return m_controls.at(index); }

    void show() override;
    void bringToFront() override;
    void activate() override;
    void repaint() override;
    void setEnabled(std::size_t control, bool enabled) override;
    void setVisible(std::size_t control, bool visible) override;
    void setFocus(std::size_t control) override;
    std::optional<std::size_t> focusedControl() const override;
    bool setPicture(std::size_t control, std::string_view bytes, std::string& why) override;

private:
    void addControls(QWidget& container, std::string_view containerName);
    QWidget* addControl(std::size_t index, QWidget& container);
    // The design's tab order as the widgets' focus chain.
    void chainTabOrder();
    // Enter presses the default button, Escape the cancel button.
    void setButtonRoles();
    // The focus on the first control of the tab order that can take it.
    void focusFirst();
    void centreOnScreen(const QMargins& frame);

    const WindowDesign& m_design;
    QPointer<WindowWidget> m_widget;
    std::vector<QWidget*> m_controls;
};

// The widget the window `window` is shown in, when the Qt backend made it.
QWidget* widgetOf(const NativeWindow* window);

} // namespace halvane::ui::qt
