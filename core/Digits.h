// Reading a run of decimal digits out of a date text, the one way the dates
// code does it.
#pragma once

#include <cstddef>
#include <string_view>

namespace halvane
{

// The `count` characters of `text` from `pos` as a number, when all are the
// digits 0 to 9; false (and `value` unspecified) otherwise. The caller makes
// sure the characters are there.
constexpr bool readDigits(std::string_view text, std::size_t pos, std::size_t count, int& value)
{
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace halvane
