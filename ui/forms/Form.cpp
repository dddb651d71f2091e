#include "ui/forms/Form.h"

#include "ui/forms/WindowServices.h"

#include <stdexcept>
#include <string>

namespace halvane::ui
{

Form::Form(const WindowDesign& design) : m_design(design)
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
    for (const Binding& binding : m_bindings)
        if (binding.control == control && binding.event == event) {
            // The handler may unload this window: it stays alive until the
            // handler has returned.
            handleEvent(binding.handler);
            return;
        }
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
