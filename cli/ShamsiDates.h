// The shamsi-dates command: fills a SHAMSI table from the command line with
// the same engine, run and conversion as the windowed program, reporting on
// the terminal instead of in message boxes.
#pragma once

#include <string_view>
#include <vector>

namespace halvane::cli
{

// Runs the command with the arguments after the program name. Returns the
// exit status: 0 done, 2 wrong arguments. A failure of the run reports its
// message on standard error and ends the process with status 1.
int shamsiDates(const std::vector<std::string_view>& args);

} // namespace halvane::cli
