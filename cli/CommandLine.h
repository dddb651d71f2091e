// The command line of shamsi-dates: what it was asked to do, or why the
// request cannot be understood.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::cli
{

inline constexpr std::string_view kProgramName = "shamsi-dates";

struct CommandLine {
    std::optional<std::filesystem::path> table; // none: the data control's own table
    std::optional<std::filesystem::path> dates; // none: DATES.TXT beside the program
    bool dryRun = false;
    bool exact = false;         // the Persian calendar instead of the date table
    bool fourDigitYear = false; // with exact: "1405/09/17" instead of "05/09/17"
    bool help = false;
    bool version = false;
    std::string error; // not empty when the arguments make no sense

    // Reads the arguments after the program name. "--" ends the options, so
    // a table whose name starts with "-" can still be given.
    static CommandLine parse(const std::vector<std::string_view>& args);
};

// The --help text.
std::string usageText();

} // namespace halvane::cli
