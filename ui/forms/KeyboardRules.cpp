#include "ui/forms/KeyboardRules.h"

#include "ui/forms/DesignOrder.h"

#include <algorithm>

namespace halvane::ui
{

KeyboardRules::KeyboardRules(const WindowDesign& design)
    : m_design(design), m_tabOrder(tabOrder(design))
{
    for (const ControlDesign& row : design.controls) {
        m_visible.push_back(row.visible);
        m_enabled.push_back(row.enabled);
    }
}

void KeyboardRules::setEnabled(std::size_t control, bool enabled)
{
    m_enabled.at(control) = enabled;
}

void KeyboardRules::setVisible(std::size_t control, bool visible)
{
    m_visible.at(control) = visible;
}

bool KeyboardRules::takesFocus(std::size_t control) const
{
    if (control >= m_enabled.size())
        return false;
    if (!canTakeFocus(m_design.controls[control].kind))
        return false;
    if (!m_enabled[control])
        return false;
    for (std::size_t i = control;; i = m_design.indexOf(m_design.controls[i].parent)) {
        if (!m_visible[i])
            return false;
        if (m_design.controls[i].parent.empty())
            return true;
    }
}

std::optional<std::size_t> KeyboardRules::firstFocus() const
{
    for (std::size_t i : m_tabOrder)
        if (takesFocus(i))
            return i;
    return std::nullopt;
}

std::optional<std::size_t> KeyboardRules::nextFocus(std::size_t from) const
{
    const auto at = std::find(m_tabOrder.begin(), m_tabOrder.end(), from);
    if (at == m_tabOrder.end())
        return firstFocus();
    const std::size_t k = std::size_t(at - m_tabOrder.begin());
    for (std::size_t step = 1; step < m_tabOrder.size(); ++step) {
        const std::size_t i = m_tabOrder[(k + step) % m_tabOrder.size()];
        if (takesFocus(i))
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> KeyboardRules::takeFocusOff(std::size_t control)
{
    m_held = nextFocus(control);
    return m_held;
}

std::optional<std::size_t> KeyboardRules::enterButton(std::optional<std::size_t> focus) const
{
    if (m_held && focus == m_held)
        return std::nullopt;
    if (focus && m_design.controls[*focus].kind == ControlKind::PushButton && takesFocus(*focus))
        return focus;
    for (std::size_t i = 0; i < m_design.controls.size(); ++i)
        if (m_design.controls[i].isDefault && takesFocus(i))
            return i;
    return std::nullopt;
}

} // namespace halvane::ui
