// The dates a run could not convert, kept for the list shown at its end.
// Held in a temporary file rather than in memory, so that a table full of
// dates outside the supported years cannot exhaust the memory.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace halvane::cli
{

class NotFoundList
{
public:
    NotFoundList();
    ~NotFoundList();
    NotFoundList(const NotFoundList&) = delete;
    NotFoundList& operator=(const NotFoundList&) = delete;

    void add(long record, std::string_view field, std::string_view value);
    long count() const { return m_count; }
    // Writes the heading and one line per date, in the order they were met.
    void print(std::FILE* out);

private:
    std::FILE* m_spool;  // the temporary file, or nullptr when none could be made
    std::string m_lines; // used instead when there is no temporary file
    long m_count = 0;
};

// A field's text as it can be shown on a terminal: bytes that are not
// printable ASCII appear as \xNN, so a broken date cannot garble the screen.
std::string printable(std::string_view text);

} // namespace halvane::cli
