// The terminal as the command line meets it: UTF-8 output shown as such. On
// Windows the console is switched to UTF-8 while the program runs; elsewhere
// it already is. (The arguments, as UTF-8: platform::commandArguments.)
#pragma once

#include <string>
#include <vector>

namespace halvane::cli
{

// On Windows "/?" among the arguments becomes "--help"; elsewhere nothing
// changes.
void takeWindowsHelpSwitch(std::vector<std::string>& args);

// While it exists, a console shows UTF-8 output correctly; afterwards it is
// as it was. restoreConsole() does the same at once, for an end of the
// process that runs no destructors.
class Utf8Console
{
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;
};
void restoreConsole();

} // namespace halvane::cli
