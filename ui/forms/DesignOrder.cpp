#include "ui/forms/DesignOrder.h"

#include <algorithm>

namespace halvane::ui
{

std::vector<std::size_t> childrenOf(const WindowDesign& design, std::string_view container)
{
    std::vector<std::size_t> children;
    for (std::size_t i = 0; i < design.controls.size(); ++i)
        if (design.controls[i].parent == container)
            children.push_back(i);
    return children;
}

std::vector<std::size_t> tabOrder(const WindowDesign& design)
{
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < design.controls.size(); ++i)
        if (design.controls[i].tabIndex != kNoTabIndex &&
            design.controls[i].kind != ControlKind::DataControl)
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return design.controls[a].tabIndex < design.controls[b].tabIndex;
    });
    return order;
}

bool canTakeFocus(ControlKind kind)
{
    return kind == ControlKind::PushButton || kind == ControlKind::PictureBox;
}

std::vector<std::size_t> focusCandidates(const WindowDesign& design)
{
    std::vector<std::size_t> candidates = tabOrder(design);
    std::erase_if(candidates,
                  [&](std::size_t i) { return !canTakeFocus(design.controls[i].kind); });
    return candidates;
}

} // namespace halvane::ui
