// The orders a design gives its controls, read from the rows once for both
// backends and the keyboard rules: which controls a container holds and in
// what stacking order, the tab order, and which controls of it can take the
// focus.
#pragma once

#include "ui/forms/Design.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace halvane::ui
{

// The controls whose container is `container` (empty: the window's client
// area), topmost first, as the design lists them.
std::vector<std::size_t> childrenOf(const WindowDesign& design, std::string_view container);

// The controls with a place in the tab order and a native control (every
// kind but the data control), by that place; equal places keep the design's
// order.
std::vector<std::size_t> tabOrder(const WindowDesign& design);

// Push buttons and picture boxes take the focus; no other kind does.
bool canTakeFocus(ControlKind kind);

// The controls of the tab order that can take the focus, in that order:
// where Tab and the first focus go while each is shown and enabled.
std::vector<std::size_t> focusCandidates(const WindowDesign& design);

} // namespace halvane::ui
