#include "cli/ShamsiDates.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExactConverter.h"
#include "cli/NotFoundList.h"
#include "cli/ProgressBar.h"
#include "cli/TerminalDisplay.h"
#include "cli/TerminalHost.h"
#include "cli/WatchedTable.h"
#include "core/ConversionCache.h"
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "system/DisplayName.h"
#include "system/Outcome.h"
#include "system/Platform.h"
#include "system/Service.h"
#include "core/ShamsiConv.h"
#include "dbase/DataControl.h"
#include "run/ConversionRun.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>

#ifdef _WIN32
#include <io.h>
#define HALVANE_ISATTY(f) _isatty(_fileno(f))
#else
#include <fcntl.h>
#include <unistd.h>
#define HALVANE_ISATTY(f) isatty(fileno(f))
#endif

namespace halvane::cli
{
namespace
{

// Makes sure standard input, output and error are open, so that no file this
// program opens (the table!) takes the place of one and receives the report
// or a message. Returns false when standard output was closed: the report
// cannot be written then.
bool openStandardStreams()
{
#ifdef _WIN32
    return true; // a table opened through the Win32 API never becomes a C stream
#else
    bool outputOpen = true;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor: this one, as the lower ones are open.
        if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            std::_Exit(1);
        if (fd == 1)
            outputOpen = false;
    }
    return outputOpen;
#endif
}

// Flushes standard output: "" when everything printed reached it, else why
// it did not.
std::string flushOutput(bool outputOpen)
{
    const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int error = errno;
    if (written && outputOpen)
        return {};
    return outputOpen ? std::string(std::strerror(error)) : std::string("it is closed");
}

// The help or the version: exit status 1 when it could not be written.
int printOnly(const std::string& text, const char* what, bool outputOpen)
{
    std::fputs(text.c_str(), stdout);
    const std::string why = flushOutput(outputOpen);
    if (why.empty())
        return 0;
    std::fprintf(stderr, "%s: cannot write the %s to standard output (%s)\n",
                 kProgramName.data(), what, why.c_str());
    return 1;
}

int usageError(const std::string& error)
{
    printText(stderr, "%s: %s\nTry '%s --help'.\n", kProgramName.data(), error.c_str(),
              kProgramName.data());
    return 2;
}

} // namespace

int shamsiDates(const std::vector<std::string_view>& args)
{
    const bool outputOpen = openStandardStreams();
    const CommandLine command = CommandLine::parse(args);
    if (!command.error.empty())
        return usageError(command.error);
    if (command.help)
        return printOnly(usageText(), "help", outputOpen);
    if (command.version)
        return printOnly(std::string(kProgramName) + " " + HALVANE_VERSION + "\n", "version",
                         outputOpen);

    ProgressBar progress(stderr, HALVANE_ISATTY(stderr));
    TerminalHost terminal(progress);
    ReplaceService<Host> scope(terminal);

    DateTable dates;
    guarded([&] {
        loadDateTable(dates, command.dates ? *command.dates
                                           : platform::programDirectory() / kDatesFileName);
    });

    const auto access = command.dryRun ? dbase::Access::DryRun : dbase::Access::ReadWrite;
    // Without a table given, the windowed program's table, found as it finds
    // it, for a dry run too.
    std::optional<dbase::DataControl> dataControl;
    if (command.table)
        dataControl.emplace(*command.table, access);
    else
        dataControl.emplace(access);
    const std::string tableName = displayName(dataControl->tablePath());
    terminal.setSubject(tableName);
    dataControl->Refresh();

    WatchedTable table(*dataControl, progress);
    NotFoundList notFound;
    // --exact: the Persian calendar instead of the date table, compared with it.
    std::optional<ExactConverter> exact;
    if (command.exact)
        exact.emplace(
            dates, command.dates ? displayName(command.dates->filename()) : std::string(kDatesFileName),
            command.fourDigitYear, command.dryRun);
    long converted = 0;
    ConversionCache conversions(dates);
    const run::Converter convert = [&](std::string_view field, std::string_view text) {
        if (auto result = exact ? exact->convert(table.currentRecord(), field, text)
                                : conversions.shamsiDate(text)) {
            ++converted;
            return std::move(*result);
        }
        notFound.add(table.currentRecord(), field, text);
        return std::string();
    };
    TerminalDisplay display;

    const auto start = std::chrono::steady_clock::now();
    // The list of dates not found and the summary; false when they could
    // not all be written.
    auto report = [&](bool failed) {
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        progress.clear();
        notFound.print(stdout);
        if (exact)
            exact->differences().print(stdout);
        const std::string differ = exact ? exact->differences().summary() + ", " : "";
        const long saved = table.saved();
        const bool printed =
            printText(stdout, "%s: %ld %s%s, %ld %s converted, %ld not found, %s%.2f s%s\n",
                      tableName.c_str(), saved, saved == 1 ? "record" : "records",
                      failed ? " saved before the failure" : "", converted,
                      converted == 1 ? "date" : "dates", notFound.count(), differ.c_str(),
                      took.count(), command.dryRun ? " (dry run: nothing written)" : "");
        const std::string why = flushOutput(outputOpen);
        return printed || !why.empty() ? why : std::string("the console did not take it");
    };
    // A failure of the run ends the process from its outcome step: what the
    // run did until then is reported first.
    terminal.setBeforeEnd([&] {
        if (table.started())
            report(true);
    });
    run::runConversion(table, display, convert);
    terminal.setBeforeEnd(nullptr);

    if (const std::string why = report(false); !why.empty()) {
        msgBox("Cannot write the report to standard output (" + why + "); " +
               (command.dryRun ? "nothing was written into the table"
                               : "the table was filled all the same"));
        return 1;
    }
    return 0;
}

} // namespace halvane::cli
