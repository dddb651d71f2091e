// The dates that --exact converts otherwise than the date table does: always
// counted, for the summary; listed at the end of a dry run, so that a planner
// sees what the table method got wrong or left empty.
#pragma once

#include "cli/SpooledLines.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace halvane::cli
{

class DifferenceList
{
public:
    // `tableFile` names the date table compared with ("DATES.TXT"), as
    // messages show a name (displayName). Without
    // `listed`, the dates are only counted.
    DifferenceList(std::string tableFile, bool listed);

    // The date `date` of `field` in record `record`: what the table method
    // gives, and what the exact conversion gives (nothing: not converted).
    void add(long record, std::string_view field, std::string_view date,
             const std::optional<std::string>& tableText,
             const std::optional<std::string>& exactText);
    // One more of the dates already added, met again: counted only, so only
    // where the dates are not listed.
    void addAgain() { ++m_count; }
    long count() const { return m_count; }
    bool listed() const { return m_lines != nullptr; }

    // The summary's part: "4 differ from DATES.TXT".
    std::string summary() const;
    // Writes the heading and one line per date, in the order they were met;
    // nothing when there is none or they were only counted.
    void print(std::FILE* out);

private:
    std::string m_tableFile;
    std::unique_ptr<SpooledLines> m_lines; // none when only counted
    long m_count = 0;
};

} // namespace halvane::cli
