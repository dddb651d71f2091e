// shamsi-dates: fills the Shamsi date fields of a schedule table from the
// command line. Run "shamsi-dates --help" for its usage.
#include "cli/ShamsiDates.h"

int main(int argc, char** argv)
{
    return halvane::cli::shamsiDates(std::vector<std::string_view>(argv + 1, argv + argc));
}
