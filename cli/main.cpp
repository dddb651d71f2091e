// shamsi-dates: fills the Shamsi date fields of a schedule table from the
// command line. Run "shamsi-dates --help" for its usage.
#include "cli/Console.h"
#include "cli/ShamsiDates.h"
#include "system/Platform.h"

int main(int argc, char** argv)
{
    const halvane::cli::Utf8Console console;
    std::vector<std::string> args = halvane::platform::commandArguments(argc, argv);
    halvane::cli::takeWindowsHelpSwitch(args);
    return halvane::cli::shamsiDates(std::vector<std::string_view>(args.begin(), args.end()));
}
