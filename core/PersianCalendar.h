// The Persian (Solar Hijri, "Shamsi") calendar by its 33-year arithmetic
// rule, the rule ICU's Persian calendar implements. The product carries the
// rule itself, in standard C++, because the Windows build has no ICU; the
// tests hold it to ICU's calendar day by day.
//
// The rule. Shamsi year Y is a leap year when (25 Y + 11) mod 33 < 8, that
// is when Y leaves 1, 5, 9, 13, 17, 22, 26 or 30 divided by 33. Its first
// day, 1 Farvardin, comes 365 (Y - 1) + floor((8 Y + 21) / 33) days after
// 21 March 622 of the proleptic Gregorian calendar (the count that puts
// 1 Farvardin 1379 on 20 March 2000), which makes a year 365 days long, 366
// in a leap year. The first six months have 31 days, the next five 30, and
// Esfand 29, or 30 in a leap year.
//
// The years covered: Shamsi 1179 to 1501, Gregorian 21 March 1800 to
// 20 March 2123, over which the rule is known to agree with the astronomical
// calendar that Iran publishes (carried back before its adoption in 1925).
// Outside them the agreement is not known, or known to fail (the rule begins
// 1503 a day late), so dates there are not converted rather than perhaps
// converted wrongly.
#pragma once

#include <optional>

namespace halvane
{

// A day as year, month (1 to 12) and day of the month, in either calendar.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

class PersianCalendar
{
public:
    static constexpr int kFirstYear = 1179; // begins on 21 March 1800
    static constexpr int kLastYear = 1501;  // ends on 20 March 2123

    // The Shamsi date of the Gregorian date `gregorian`; nothing when that is
    // no real Gregorian date, or a day outside Shamsi years kFirstYear to
    // kLastYear.
    static std::optional<CalendarDate> fromGregorian(CalendarDate gregorian);
};

} // namespace halvane
