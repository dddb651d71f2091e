// The dates a run could not convert, kept for the list shown at its end.
// Held in a temporary file rather than in memory (SpooledLines), so that a
// table full of dates outside the supported years cannot exhaust the memory.
#pragma once

#include "cli/SpooledLines.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace halvane::cli
{

class NotFoundList
{
public:
    void add(long record, std::string_view field, std::string_view value);
    long count() const { return m_count; }
    // Writes the heading and one line per date, in the order they were met.
    void print(std::FILE* out);

private:
    SpooledLines m_lines;
    long m_count = 0;
};

// A field's text as it can be shown on a terminal: bytes that are not
// printable ASCII appear as \xNN, so a broken date cannot garble the screen.
std::string printable(std::string_view text);

} // namespace halvane::cli
