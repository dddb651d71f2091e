#include "cli/Console.h"

namespace halvane::cli
{

// "/?" is a path here, as any other.
void takeWindowsHelpSwitch(std::vector<std::string>&) {}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;
void restoreConsole() {}

bool writeText(std::FILE* out, std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace halvane::cli
