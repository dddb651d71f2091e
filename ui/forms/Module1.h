// Start-up of the windowed program.
#pragma once

namespace halvane::ui::Module1
{

// Shows the splash window and draws it completely before returning; the
// event loop then runs until the last window closes.
void Main();

} // namespace halvane::ui::Module1
