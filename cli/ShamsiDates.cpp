#include "cli/ShamsiDates.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExactConverter.h"
#include "cli/ProgressBar.h"
#include "cli/RunReport.h"
#include "cli/TerminalDisplay.h"
#include "cli/WatchedTable.h"
#include "core/ConversionCache.h"
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "dbase/DataControl.h"
#include "run/ConversionRun.h"
#include "system/DisplayName.h"
#include "system/Outcome.h"
#include "system/Platform.h"

#include <cstdio>
#include <optional>

namespace halvane::cli
{
namespace
{

// The help or the version: exit status 1 when it could not be written.
int printOnly(const std::string& text, const char* what, bool outputOpen)
{
    std::fputs(text.c_str(), stdout);
    const std::string why = flushOutput(outputOpen);
    if (why.empty())
        return 0;
    std::fprintf(stderr, "%s: cannot write the %s to standard output (%s)\n", kProgramName.data(),
                 what, why.c_str());
    return 1;
}

int usageError(const std::string& error)
{
    printText(stderr, "%s: %s\nTry '%s --help'.\n", kProgramName.data(), error.c_str(),
              kProgramName.data());
    return 2;
}

// The table the command names, or without one the windowed program's table,
// found as it finds it (for a dry run too).
dbase::DataControl& openTable(std::optional<dbase::DataControl>& dataControl,
                              const CommandLine& command)
{
    const auto access = command.dryRun ? dbase::Access::DryRun : dbase::Access::ReadWrite;
    if (command.table)
        return dataControl.emplace(*command.table, access);
    return dataControl.emplace(access);
}

// --exact: the Persian calendar instead of the date table, compared with it.
std::optional<ExactConverter> exactConverter(const CommandLine& command, const DateTable& dates)
{
    if (!command.exact)
        return std::nullopt;
    return std::optional<ExactConverter>(std::in_place, dates,
                                         command.dates ? displayName(command.dates->filename())
                                                       : std::string(kDatesFileName),
                                         command.fourDigitYear, command.dryRun);
}

// The run's converter: by the date table, or by the Persian calendar with
// --exact; every date counted as converted or listed as not found. A date
// converted and listed nowhere else is the same again the next time.
class ReportedConversion final : public dbase::DateConverter
{
public:
    ReportedConversion(const WatchedTable& table, RunReport& report, const DateTable& dates,
                       std::optional<ExactConverter>& exact)
        : m_table(table), m_report(report), m_conversions(dates), m_exact(exact)
    {
    }

    std::string convert(std::string_view source, std::string_view dateText,
                        dbase::Reuse& reuse) override
    {
        bool sameAsTable = true;
        if (auto result =
                m_exact ? m_exact->convert(m_table.currentRecord(), source, dateText, &sameAsTable)
                        : m_conversions.shamsiDate(dateText)) {
            m_report.converted();
            // A date that differs from the table is met again without asking
            // when the differences are only counted: its mark counts it. A
            // list of them needs each one's record, so it is asked each time.
            reuse.allowed = sameAsTable || !m_exact->differences().listed();
            reuse.marked = !sameAsTable;
            return std::move(*result);
        }
        m_report.notFound(m_table.currentRecord(), source, dateText);
        return std::string();
    }
    void convertedAgain(std::string_view, bool differs) override
    {
        m_report.converted();
        if (differs)
            m_exact->differences().addAgain();
    }

private:
    const WatchedTable& m_table;
    RunReport& m_report;
    ConversionCache m_conversions;
    std::optional<ExactConverter>& m_exact;
};

// Loads the date table, runs the conversion over the table and reports it.
int fillTable(const CommandLine& command, bool outputOpen)
{
    ProgressBar progress(stderr, isTerminal(stderr));
    RunReport report(progress, outputOpen, command.dryRun);

    DateTable dates;
    if (const Outcome loaded = guarded([&] {
            loadDateTable(dates, command.dates ? *command.dates
                                               : platform::programDirectory() / kDatesFileName);
        });
        !loaded.succeeded()) {
        report.failed(loaded);
        return report.exitStatus();
    }

    std::optional<dbase::DataControl> dataControl;
    dbase::DataControl& control = openTable(dataControl, command);
    report.setTable(displayName(control.tablePath()));
    control.Refresh();

    WatchedTable table(control, progress);
    std::optional<ExactConverter> exact = exactConverter(command, dates);
    if (exact)
        report.setDifferences(exact->differences());
    ReportedConversion convert(table, report, dates, exact);
    TerminalDisplay display;

    report.begin();
    report.finish(run::runConversion(table, display, convert), table);
    return report.exitStatus();
}

} // namespace

int shamsiDates(const std::vector<std::string_view>& args)
{
    const StandardStreams streams = openStandardStreams();
    if (!streams.usable)
        return 1;
    const CommandLine command = CommandLine::parse(args);
    if (!command.error.empty())
        return usageError(command.error);
    if (command.help)
        return printOnly(usageText(), "help", streams.outputOpen);
    if (command.version)
        return printOnly(std::string(kProgramName) + " " + HALVANE_VERSION + "\n", "version",
                         streams.outputOpen);
    return fillTable(command, streams.outputOpen);
}

} // namespace halvane::cli
