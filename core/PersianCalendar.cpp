#include "core/PersianCalendar.h"

#include "core/GregorianDate.h"

namespace halvane
{
namespace
{

// Days from 1 January 1970 to a Gregorian date of year 1 or later: the
// proleptic Gregorian calendar counted in 400-year eras of 146097 days,
// each year taken from 1 March so that the leap day falls at its end.
constexpr int daysFromCivil(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

static_assert(daysFromCivil(1970, 1, 1) == 0);
static_assert(daysFromCivil(2000, 3, 1) == 11017);

// The day the rule counts the years from.
constexpr int kEpoch = daysFromCivil(622, 3, 21);

// 1 Farvardin of Shamsi year `year` (1 or later), as days from 1 January 1970.
constexpr int newYear(int year)
{
    return kEpoch + 365 * (year - 1) + (8 * year + 21) / 33;
}

} // namespace

std::optional<CalendarDate> PersianCalendar::fromGregorian(CalendarDate gregorian)
{
    // Every covered day lies in Gregorian 1800 to 2123; looking at no other
    // year also keeps the day counts far from overflow.
    if (gregorian.year < 1800 || gregorian.year > 2123 ||
        !GregorianDate{gregorian.year, gregorian.month, gregorian.day}.isReal())
        return std::nullopt;
    const int day = daysFromCivil(gregorian.year, gregorian.month, gregorian.day);
    if (day < newYear(kFirstYear) || day >= newYear(kLastYear + 1))
        return std::nullopt;

    // A Shamsi year begins in March of Gregorian year + 621: the day belongs
    // to that year, or to the one before when it comes earlier.
    int year = gregorian.year - 621;
    if (day < newYear(year))
        --year;
    const int dayOfYear = day - newYear(year); // 0 to 365
    if (dayOfYear < 6 * 31)
        return CalendarDate{year, dayOfYear / 31 + 1, dayOfYear % 31 + 1};
    return CalendarDate{year, (dayOfYear - 6 * 31) / 30 + 7, (dayOfYear - 6 * 31) % 30 + 1};
}

} // namespace halvane
