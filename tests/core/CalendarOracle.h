// Independent calendars for checking the delivered table and the conversion:
// an arithmetic Persian calendar (the 33-year break-table method) and ICU's
// (CalendarOracleIcu.cpp, in builds with ICU only).
#pragma once

#include <string>
#include <vector>

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

// 1 Farvardin of each Shamsi year in tests/data/calendar/nowruz.txt, the
// reference made from ICU's Persian calendar by tools/make_nowruz.cpp, in
// the file's order. Throws when a line is not "yyyy yyyy-mm-dd".
struct NewYear {
    int year;
    Ymd gregorian;
};
std::vector<NewYear> newYearReference();

// "yyyy-mm-dd"
std::string iso(Ymd date);

} // namespace halvane::test
