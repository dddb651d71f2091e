// The terminal as the command line meets it: UTF-8 output shown as such. On
// Windows the console is switched to UTF-8 while the program runs, and text
// that may hold names is written to it as characters (writeText); elsewhere
// it already is UTF-8. (The arguments, as UTF-8: platform::commandArguments.)
// The standard streams' platform questions (a terminal? open?) are answered
// here too, one file per platform.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::cli
{

// On Windows "/?" among the arguments becomes "--help"; elsewhere nothing
// changes.
void takeWindowsHelpSwitch(std::vector<std::string>& args);

// While it exists, a console shows UTF-8 output correctly; afterwards it is
// as it was.
class Utf8Console
{
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;
};

// Whether `out` is a terminal (a console on Windows).
bool isTerminal(std::FILE* out);

struct StandardStreams {
    bool usable = true;     // false: a closed one could not be opened again
    bool outputOpen = true; // false: standard output was closed
};
// Makes sure standard input, output and error are open, so that no file this
// program opens (the table!) takes the place of one and receives the report
// or a message: a closed one is opened on the null device (on Windows a table
// opened through the Win32 API never becomes a C stream, so nothing is done).
StandardStreams openStandardStreams();

// Writes the UTF-8 `text` to `out` so that its reader sees the characters:
// to a Windows console as UTF-16 (WriteConsoleW; the C library's narrow
// output garbles UTF-8 there even in code page 65001), after what `out` holds
// buffered; to a file, a pipe or any other terminal as the UTF-8 bytes.
// False when it could not all be written.
bool writeText(std::FILE* out, std::string_view text);
// writeText of a printf format and its arguments.
bool printText(std::FILE* out, const char* format, ...);

} // namespace halvane::cli
