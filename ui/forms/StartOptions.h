// What the windowed program's command line asks for. The program takes no
// other arguments: anything else on its command line is ignored, so the
// shortcuts that start it with arguments of their own keep working.
#pragma once

#include <string>
#include <vector>

namespace halvane::ui
{

struct StartOptions {
    // The dates placed by the Persian calendar instead of the date table:
    // "/exact" or "--exact".
    bool exact = false;
    // With exact, the whole Shamsi year ("1405/09/17"): "/four-digit-year" or
    // "--four-digit-year". Without exact it changes nothing.
    bool fourDigitYear = false;

    // Reads the arguments after the program's name, in UTF-8. The switches
    // are recognised in any letter case, as Windows programs take theirs.
    static StartOptions parse(const std::vector<std::string>& args);
};

} // namespace halvane::ui
