#include "cli/Console.h"

namespace halvane::cli
{

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;
void restoreConsole() {}

} // namespace halvane::cli
