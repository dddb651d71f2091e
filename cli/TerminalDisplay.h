// What the run shows, on a terminal: nothing. The pictures and the Run button
// belong to the windowed program; the progress bar follows the records.
#pragma once

#include "run/ConversionRun.h"

namespace halvane::cli
{

class TerminalDisplay final : public run::RunDisplay
{
public:
    void showPicture(std::string_view) override {}
    void focusRunButton() override {}
};

} // namespace halvane::cli
