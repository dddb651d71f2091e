// Lines of a report kept for the end of a run, in a temporary file rather
// than in memory, so that a table of any size cannot exhaust the memory.
#pragma once

#include <cstdio>
#include <string>

namespace halvane::cli
{

class SpooledLines
{
public:
    SpooledLines();
    ~SpooledLines();
    SpooledLines(const SpooledLines&) = delete;
    SpooledLines& operator=(const SpooledLines&) = delete;

    // Keeps `line`, which ends in its own line feed.
    void add(const std::string& line);
    // Writes every line kept, in order, and a note when the temporary file
    // lost some of them.
    void print(std::FILE* out);

private:
    std::FILE* m_spool;  // the temporary file, or nullptr when none could be made
    std::string m_lines; // used instead when there is no temporary file
};

} // namespace halvane::cli
