#include "core/ExactShamsiDate.h"

#include "core/GregorianDate.h"
#include "core/PersianCalendar.h"
#include "core/ShamsiConv.h"

namespace halvane
{
namespace
{

} // namespace

std::optional<std::string> exactShamsiDate(std::string_view dateText, bool fourDigitYear)
{
    // The date as the table method renders it: "dd/mm/yyyy" for a real date.
    const std::string s = renderDate(dateText);
    const auto gregorian = GregorianDate::fromDayMonthYear(s);
    if (!gregorian)
        return std::nullopt;
    const auto shamsi =
        PersianCalendar::fromGregorian({gregorian->year, gregorian->month, gregorian->day});
    if (!shamsi)
        return std::nullopt;
    // Written digit by digit: up to four conversions a record, and snprintf
    // costs more than the calendar.
    const auto digit = [](int n) { return static_cast<char>('0' + n % 10); };
    const int y = shamsi->year, m = shamsi->month, d = shamsi->day;
    const char text[] = {digit(y / 1000), digit(y / 100), digit(y / 10), digit(y),      '/',
                         digit(m / 10),   digit(m),       '/',           digit(d / 10), digit(d)};
    return fourDigitYear ? std::string(text, sizeof text) : std::string(text + 2, sizeof text - 2);
}

} // namespace halvane
