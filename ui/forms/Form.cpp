#include "ui/forms/Form.h"

#include "ui/forms/WindowServices.h"

#include <stdexcept>
#include <string>

namespace halvane::ui
{

Form::Form(const WindowDesign& design) : m_design(design), m_keyboard(design)
{
    for (const ControlDesign& control : design.controls)
        if (control.kind == ControlKind::DataControl)
            m_dataControls.emplace_back(control.name, std::make_unique<dbase::DataControl>());
}

Form::~Form() = default;

dbase::DataControl& Form::dataControl(std::string_view name)
{
    for (auto& [controlName, control] : m_dataControls)
        if (controlName == name)
            return *control;
    throw std::out_of_range("the design of " + std::string(m_design.name) +
                            " has no data control " + std::string(name));
}

void Form::controlEvent(std::size_t control, ControlEvent event)
{
    m_keyboard.release();
    for (const Binding& binding : m_bindings)
        if (binding.control == control && binding.event == event) {
            // The handler may unload this window: it stays alive until the
            // handler has returned.
            handleEvent(binding.handler);
            return;
        }
}

void Form::enterPressed()
{
    if (!m_native)
        return;
    if (const auto button = m_keyboard.enterButton(m_native->focusedControl()))
        controlEvent(*button, ControlEvent::Click);
}

void Form::takeFocusOff(std::size_t control)
{
    if (!m_native || m_native->focusedControl() != control)
        return;
    if (const auto next = m_keyboard.takeFocusOff(control))
        m_native->setFocus(*next);
}

void Form::buttonEnabled(std::size_t control, bool enabled)
{
    m_keyboard.setEnabled(control, enabled);
    if (!enabled)
        takeFocusOff(control);
    if (m_native)
        m_native->setEnabled(control, enabled);
}

void Form::buttonVisible(std::size_t control, bool visible)
{
    m_keyboard.setVisible(control, visible);
    if (!visible)
        takeFocusOff(control);
    if (m_native)
        m_native->setVisible(control, visible);
}

void Form::focusGiven(std::size_t control)
{
    m_keyboard.release();
    if (m_native)
        m_native->setFocus(control);
}

void Form::closeRequested()
{
    handleEvent([this] {
        if (m_design.kind != WindowKind::NoTitleBar)
            Unload(*this);
    });
}

void Form::activated()
{
    detail::FormAccess::activated(*this);
}

} // namespace halvane::ui
