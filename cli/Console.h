// The terminal as the command line meets it: its arguments as UTF-8 text, and
// UTF-8 output shown as such. On Windows the arguments come from the wide
// command line (the narrow one is in the ANSI code page, which cannot hold a
// Persian folder name on every system) and the console is switched to UTF-8
// while the program runs; elsewhere both already are UTF-8.
#pragma once

#include <string>
#include <vector>

namespace halvane::cli
{

// The arguments after the program's name, in UTF-8.
std::vector<std::string> commandArguments(int argc, char** argv);

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
