// Gregorian to Shamsi conversion through the date correspondence table.
//
// The Shamsi year comes from the Gregorian year with fixed thresholds around
// the new year in March; day and month come from the table, looked up under
// the representative year 2000 to 2003 that shares the Gregorian year's place
// in the four-year leap cycle. Only Gregorian years 1980 to 2023 are placed.
#pragma once

#include "core/DateTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvane
{

// The date rendered with the pattern "dd/mm/yyyy". Reads the ISO form
// "yyyy-mm-dd" that the table engine hands over, and "dd/mm/yyyy"; any other
// text, or one that is not a real calendar date, comes back unchanged.
std::string renderDate(std::string_view dateText);

// The number read from the start of `text` as the platform's Val() does:
// blanks (space, tab, line feed, carriage return) are skipped wherever they
// stand; an optional sign, digits, a decimal point and an exponent (E or D)
// are read up to the first character that cannot continue the number; 0 when
// there is no digit.
double numericValue(std::string_view text);

// The Shamsi date text for `dateText`: the last two digits of the Shamsi year
// followed by characters 3 to 10 of the matching table value (its trailing
// spaces included), or nothing when the table holds no key for the date.
std::optional<std::string> shamsiDate(const DateTable& table, std::string_view dateText);

// What the windowed program's Shamsi_Conv shows when shamsiDate() finds
// nothing.
inline constexpr std::string_view kDateNotFoundText = "Unable to Calculate Shamsi Dates";
inline constexpr std::string_view kDateNotFoundTitle = "Date Not Found";

} // namespace halvane
