#include "cli/ShamsiDates.h"

#include "cli/CommandLine.h"
#include "cli/ExactConverter.h"
#include "cli/NotFoundList.h"
#include "cli/ProgressBar.h"
#include "cli/TerminalDisplay.h"
#include "cli/TerminalHost.h"
#include "cli/WatchedTable.h"
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "core/Outcome.h"
#include "core/Platform.h"
#include "core/Service.h"
#include "core/ShamsiConv.h"
#include "dbase/DataControl.h"
#include "run/ConversionRun.h"

#include <chrono>
#include <cstdio>
#include <optional>

#ifdef _WIN32
#include <io.h>
#define HALVANE_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define HALVANE_ISATTY(f) isatty(fileno(f))
#endif

namespace halvane::cli
{
namespace
{

int usageError(const std::string& error)
{
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgramName.data(), error.c_str(),
                 kProgramName.data());
    return 2;
}

} // namespace

int shamsiDates(const std::vector<std::string_view>& args)
{
    const CommandLine command = CommandLine::parse(args);
    if (!command.error.empty())
        return usageError(command.error);
    if (command.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (command.version) {
        std::printf("%s %s\n", kProgramName.data(), HALVANE_VERSION);
        return 0;
    }

    ProgressBar progress(stderr, HALVANE_ISATTY(stderr));
    TerminalHost terminal(progress);
    ReplaceService<Host> scope(terminal);

    DateTable dates;
    guarded([&] {
        loadDateTable(dates, command.dates ? *command.dates
                                           : platform::programDirectory() / kDatesFileName);
    });

    const auto access = command.dryRun ? dbase::Access::DryRun : dbase::Access::ReadWrite;
    std::optional<dbase::DataControl> dataControl;
    if (command.table)
        dataControl.emplace(*command.table, access);
    else if (!command.dryRun)
        dataControl.emplace();
    else
        dataControl.emplace(dbase::DataControl().tablePath(), access);
    const std::string tableName = dataControl->tablePath().string();
    terminal.setSubject(tableName);
    dataControl->Refresh();

    WatchedTable table(*dataControl, progress);
    NotFoundList notFound;
    // --exact: the Persian calendar instead of the date table, compared with it.
    std::optional<ExactConverter> exact;
    if (command.exact)
        exact.emplace(
            dates, command.dates ? command.dates->filename().string() : std::string(kDatesFileName),
            command.fourDigitYear, command.dryRun);
    long converted = 0;
    const run::Converter convert = [&](std::string_view field, std::string_view text) {
        if (auto result = exact ? exact->convert(table.currentRecord(), field, text)
                                : shamsiDate(dates, text)) {
            ++converted;
            return std::move(*result);
        }
        notFound.add(table.currentRecord(), field, text);
        return std::string();
    };
    TerminalDisplay display;

    const auto start = std::chrono::steady_clock::now();
    run::runConversion(table, display, convert);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

    progress.clear();
    notFound.print(stdout);
    if (exact)
        exact->differences().print(stdout);
    const std::string differ = exact ? exact->differences().summary() + ", " : "";
    std::printf("%s: %ld %s, %ld %s converted, %ld not found, %s%.2f s%s\n", tableName.c_str(),
                table.saved(), table.saved() == 1 ? "record" : "records", converted,
                converted == 1 ? "date" : "dates", notFound.count(), differ.c_str(), took.count(),
                command.dryRun ? " (dry run: nothing written)" : "");
    return 0;
}

} // namespace halvane::cli
