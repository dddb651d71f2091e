// The report of a shamsi-dates run and the exit status it comes to: a
// failure as one line on standard error that names the program and the
// table; the dates not found, the differences of --exact and the summary
// line on standard output, for a run that succeeded and for one that failed
// after it got a table (what it saved before the failure).
#pragma once

#include "cli/DifferenceList.h"
#include "cli/NotFoundList.h"
#include "cli/ProgressBar.h"
#include "cli/WatchedTable.h"
#include "system/Outcome.h"

#include <chrono>
#include <string>
#include <string_view>

namespace halvane::cli
{

class RunReport
{
public:
    // `outputOpen`: whether standard output was open when the program
    // started; `dryRun`: the summary says that nothing was written.
    RunReport(ProgressBar& progress, bool outputOpen, bool dryRun);

    // The table the run fills, as messages show a name: named in every
    // message from now on and in the summary.
    void setTable(std::string name);
    // The differences --exact counts and lists, reported before the summary;
    // they must outlive finish().
    void setDifferences(DifferenceList& differences) { m_differences = &differences; }

    // A date the run converted.
    void converted() { ++m_converted; }
    // A date of `field` in record `record` that could not be placed.
    void notFound(long record, std::string_view field, std::string_view text)
    {
        m_notFound.add(record, field, text);
    }

    // The run starts: the summary's time counts from here.
    void begin() { m_start = std::chrono::steady_clock::now(); }
    // A failure before the run (the date table's load): its message.
    void failed(const Outcome& outcome);
    // The end of the run over `table`. Success: the lists and the summary,
    // or a message when they could not all be written. Failure: its message,
    // then the lists and the summary of what was saved before it when the
    // run got a table.
    void finish(const Outcome& outcome, const WatchedTable& table);

    // 0 when the run succeeded and its report was written; 1 otherwise.
    int exitStatus() const { return m_exitStatus; }

private:
    void message(std::string_view text);
    // Writes the lists and the summary: "" when all of it reached standard
    // output, else why it did not.
    std::string writeSummary(bool failed, long saved);

    ProgressBar& m_progress;
    bool m_outputOpen;
    bool m_dryRun;
    std::string m_table;
    NotFoundList m_notFound;
    DifferenceList* m_differences = nullptr; // none without --exact
    long m_converted = 0;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    int m_exitStatus = 0;
};

// Flushes standard output: "" when everything printed reached it, else why
// it did not ("it is closed" when it was not open at the start).
std::string flushOutput(bool outputOpen);

} // namespace halvane::cli
