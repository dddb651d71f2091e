#include "cli/CommandLine.h"

#include "system/Platform.h"

#include "system/DisplayName.h"

namespace halvane::cli
{

CommandLine CommandLine::parse(const std::vector<std::string_view>& args)
{
    CommandLine c;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size() && c.error.empty(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnd || arg == "-" || !arg.starts_with("-")) {
            if (c.table)
                c.error = "more than one table given: " + displayText(arg);
            else if (arg.empty())
                c.error = "the table name is empty";
            else
                c.table = platform::pathFromUtf8(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "--help" || arg == "-h") {
            c.help = true;
        } else if (arg == "--version") {
            c.version = true;
        } else if (arg == "--dry-run" || arg == "-n") {
            c.dryRun = true;
        } else if (arg == "--exact") {
            c.exact = true;
        } else if (arg == "--four-digit-year") {
            c.fourDigitYear = true;
        } else if (arg == "--dates" || arg.starts_with("--dates=")) {
            std::string_view value;
            if (arg == "--dates") {
                if (i + 1 == args.size()) {
                    c.error = "--dates needs a file name";
                    break;
                }
                value = args[++i];
            } else {
                value = arg.substr(std::string_view("--dates=").size());
            }
            if (value.empty())
                c.error = "--dates needs a file name";
            else
                c.dates = platform::pathFromUtf8(value);
        } else {
            c.error = "unknown option: " + displayText(arg);
        }
    }
    // The table method knows only the last two digits of a year.
    if (c.error.empty() && c.fourDigitYear && !c.exact)
        c.error = "--four-digit-year needs --exact";
    return c;
}

std::string usageText()
{
    return R"(Usage: shamsi-dates [OPTIONS] [TABLE]
Fills the Shamsi date fields SHES, SHEF, SHTS and SHTF of every record of a
dBASE IV schedule table from its date fields ES, EF, ES_T1 and EF_T1.

  TABLE          the table to fill (default: Shamsi.dbf in C:\, on Linux
                 the C: drive of Wine: $WINEPREFIX/drive_c or ~/.wine/drive_c)
  --dates FILE   the date correspondence table (default: DATES.TXT beside
                 the program)
  -n, --dry-run  convert and report, but write nothing into the table
  --exact        convert by the Persian calendar instead of the date table:
                 right for every day of 21 March 1800 to 20 March 2123
                 (Shamsi 1179 to 1501), in the same form (05/09/17 for
                 8 December 2026). The summary also counts the dates that
                 differ from the date table's; a dry run lists them
  --four-digit-year
                 with --exact: the whole year, 1405/09/17 (the Shamsi fields
                 must hold 10 characters)
  -h, --help     show this help
  --version      show the version

Dates that cannot be converted (outside 1980 to 2023, or with --exact outside
the years above) are left empty and listed at the end. Exit status: 0 done,
1 failed (nothing after the failing record is written; the records saved and
the dates not found until then are still listed), 2 wrong arguments.
)";
}

} // namespace halvane::cli
