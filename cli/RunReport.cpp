#include "cli/RunReport.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace halvane::cli
{

RunReport::RunReport(ProgressBar& progress, bool outputOpen, bool dryRun)
    : m_progress(progress), m_outputOpen(outputOpen), m_dryRun(dryRun)
{
}

void RunReport::setTable(std::string name)
{
    m_table = std::move(name);
}

void RunReport::failed(const Outcome& outcome)
{
    message(outcome.message());
    m_exitStatus = 1;
}

void RunReport::finish(const Outcome& outcome, const WatchedTable& table)
{
    if (!outcome.succeeded()) {
        failed(outcome);
        if (table.started())
            writeSummary(true, table.saved()); // the status is 1 whether or not it was written
        return;
    }
    if (const std::string why = writeSummary(false, table.saved()); !why.empty()) {
        message("Cannot write the report to standard output (" + why + "); " +
                (m_dryRun ? "nothing was written into the table"
                          : "the table was filled all the same"));
        m_exitStatus = 1;
    }
}

void RunReport::message(std::string_view text)
{
    m_progress.clear();
    std::string line(kProgramName);
    if (!m_table.empty())
        line += ": " + m_table;
    line += ": " + std::string(text) + "\n";
    writeText(stderr, line);
    std::fflush(stderr);
}

std::string RunReport::writeSummary(bool failed, long saved)
{
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - m_start;
    m_progress.clear();
    m_notFound.print(stdout);
    if (m_differences)
        m_differences->print(stdout);
    const std::string differ = m_differences ? m_differences->summary() + ", " : "";
    const bool printed = printText(
        stdout, "%s: %ld %s%s, %ld %s converted, %ld not found, %s%.2f s%s\n", m_table.c_str(),
        saved, saved == 1 ? "record" : "records", failed ? " saved before the failure" : "",
        m_converted, m_converted == 1 ? "date" : "dates", m_notFound.count(), differ.c_str(),
        took.count(), m_dryRun ? " (dry run: nothing written)" : "");
    const std::string why = flushOutput(m_outputOpen);
    return printed || !why.empty() ? why : std::string("the console did not take it");
}

std::string flushOutput(bool outputOpen)
{
    const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int error = errno;
    if (written && outputOpen)
        return {};
    return outputOpen ? std::string(std::strerror(error)) : std::string("it is closed");
}

} // namespace halvane::cli
