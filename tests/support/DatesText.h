// Texts of DATES.TXT made in a test: the records a test needs, with the line
// ends and quotes it asks for.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace halvane::test
{

// n records "dd/mm/2000,vNNNN" with the given line end and optional quotes.
inline std::string records(int n, std::string_view eol = "\r\n", bool quoted = false)
{
    std::string text;
    for (int r = 1; r <= n; ++r) {
        char key[16];
        std::snprintf(key, sizeof key, "%02d/%02d/2000", r % 28 + 1, r % 12 + 1);
        std::string value = "v" + std::to_string(r);
        text += quoted ? "\"" + std::string(key) + "\",\"" + value + "\""
                       : key + std::string(",") + value;
        text += eol;
    }
    return text;
}

} // namespace halvane::test
