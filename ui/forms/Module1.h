// Start-up of the windowed program.
#pragma once

#include "ui/forms/StartOptions.h"

namespace halvane::ui::Module1
{

// Keeps `options` for the program's windows, shows the splash window and
// draws it completely before returning; the event loop then runs until the
// last window closes.
void Main(const StartOptions& options = {});

// The options the program was started with (none until Main).
const StartOptions& startOptions();

} // namespace halvane::ui::Module1
