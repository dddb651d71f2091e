// What the conversion answered for the dates of one run, remembered: a
// schedule holds the same few hundred days many times over, and each is
// converted once. The answers are exactly those of shamsiDate(), found or
// not; nothing else about a conversion (such as its message) is remembered.
#pragma once

#include "core/DateTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane
{

class ConversionCache
{
public:
    // Answers from `table`, which must outlive the cache and not change.
    explicit ConversionCache(const DateTable& table) : m_table(table) {}

    // shamsiDate(table, dateText). Texts in the engine's form "yyyy-mm-dd"
    // (years 1970 to 2039, around those the conversion places) are converted
    // once; any other text every time. The range keeps the remembered
    // answers within 200 KB, so they stay in the processor's cache.
    std::optional<std::string> shamsiDate(std::string_view dateText);

private:
    struct Entry {
        std::array<char, DateTable::kWidth> text;
        std::uint8_t state = 0; // 0 not yet asked, 1 found, 2 not found
    };
    static constexpr int kFirstYear = 1970;
    static constexpr int kYears = 70;
    // The entry of a text of the form kept; nullptr for any other text.
    Entry* entryFor(std::string_view dateText);

    const DateTable& m_table;
    std::vector<Entry> m_entries; // by day, 31 a month; made on first use
};

} // namespace halvane
