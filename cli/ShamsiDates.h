// The shamsi-dates command: fills a SHAMSI table from the command line with
// the same engine, run and conversion as the windowed program, reporting on
// the terminal instead of in message boxes.
#pragma once

#include <string_view>
#include <vector>

namespace halvane::cli
{

// Runs the command with the arguments after the program name and returns
// its exit status: 0 done, 2 wrong arguments, 1 a failure (its message on
// standard error; cli/RunReport.h) or a report that could not be written.
int shamsiDates(const std::vector<std::string_view>& args);

} // namespace halvane::cli
