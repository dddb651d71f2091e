// The Shamsi date text of a date by the Persian calendar (core/PersianCalendar.h)
// instead of the date table, in the shape the table method writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace halvane
{

// How the Persian calendar's answers are written.
struct ExactCalendar {
    bool fourDigitYear = false; // "1405/09/17" instead of "05/09/17"
};

// The Shamsi date of `dateText` ("yyyy-mm-dd" as the table engine hands a
// date over, or "dd/mm/yyyy") by the Persian calendar: two-digit year, month
// and day, "05/09/17" for 8 December 2026, or "1405/09/17" with
// `fourDigitYear`. Nothing when the text is no date or the calendar does not
// cover it (21 March 1800 to 20 March 2123).
std::optional<std::string> exactShamsiDate(std::string_view dateText, bool fourDigitYear);

} // namespace halvane
