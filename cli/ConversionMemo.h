// The conversion of the command-line runner, remembered per date: a schedule
// repeats the same few thousand days over and over, and the conversion of a
// date depends on nothing but its text and the (unchanging) date table, so
// each ISO date is converted once and its answer reused. Other texts (dates
// whose bytes are broken) are converted every time.
#pragma once

#include "DateTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::cli
{

class ConversionMemo
{
public:
    explicit ConversionMemo(const DateTable& table) : m_table(table) {}

    // Exactly shamsiDate(table, dateText).
    std::optional<std::string> shamsiDate(std::string_view dateText);

private:
    struct Answer {
        std::uint8_t state = 0; // 0 not asked yet, 1 no date, 2 found
        std::uint8_t length = 0;
        std::array<char, 14> text{};
    };
    // Slot of an ISO date "yyyy-mm-dd" with a year from 1900 to 2099, or -1.
    static long slot(std::string_view dateText);

    const DateTable& m_table;
    std::vector<Answer> m_answers; // allocated on first use: 200 years x 12 x 31 slots
};

} // namespace halvane::cli
