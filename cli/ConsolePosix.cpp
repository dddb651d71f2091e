#include "cli/Console.h"

namespace halvane::cli
{

std::vector<std::string> commandArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;
void restoreConsole() {}

} // namespace halvane::cli
