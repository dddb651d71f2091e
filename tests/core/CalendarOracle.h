// Independent calendars for checking the delivered table and the conversion:
// an arithmetic Persian calendar (the 33-year break-table method) and ICU's.
#pragma once

#include <string>

namespace halvane::test
{

struct Ymd {
    int y, m, d;
    friend bool operator==(const Ymd&, const Ymd&) = default;
};

// Day number of a Gregorian date, and back.
long dayNumber(Ymd gregorian);
Ymd gregorianOf(long day);

// The Persian (Solar Hijri) date of a Gregorian date, computed arithmetically.
Ymd persianArithmetic(Ymd gregorian);
// The same from ICU's Persian calendar (CalendarOracleIcu.cpp, in builds with ICU).
Ymd persianIcu(Ymd gregorian);

// "yyyy-mm-dd"
std::string iso(Ymd date);

} // namespace halvane::test
