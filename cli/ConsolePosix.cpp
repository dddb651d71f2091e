#include "cli/Console.h"

namespace halvane::cli
{

// "/?" is a path here, as any other.
void takeWindowsHelpSwitch(std::vector<std::string>&) {}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;
void restoreConsole() {}

} // namespace halvane::cli
