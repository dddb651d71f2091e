#include "cli/ExactConverter.h"

#include "core/PersianCalendar.h"
#include "core/ShamsiConv.h"

#include <cstdio>
#include <utility>

namespace halvane::cli
{
namespace
{

bool readNumber(std::string_view text, std::size_t pos, std::size_t count, int& out)
{
    out = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

// What the engine keeps of a text it stores: trailing spaces do not count.
std::string stored(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

std::optional<std::string> exactShamsiDate(std::string_view dateText, bool fourDigitYear)
{
    // The date as the table method renders it: "dd/mm/yyyy" for a real date.
    const std::string s = renderDate(dateText);
    CalendarDate gregorian;
    if (s.size() != 10 || s[2] != '/' || s[5] != '/' || !readNumber(s, 0, 2, gregorian.day) ||
        !readNumber(s, 3, 2, gregorian.month) || !readNumber(s, 6, 4, gregorian.year))
        return std::nullopt;
    const auto shamsi = PersianCalendar::fromGregorian(gregorian);
    if (!shamsi)
        return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, fourDigitYear ? "%04d/%02d/%02d" : "%02d/%02d/%02d",
                  fourDigitYear ? shamsi->year : shamsi->year % 100, shamsi->month, shamsi->day);
    return text;
}

ExactConverter::ExactConverter(const DateTable& table, std::string tableFile, bool fourDigitYear,
                               bool listDifferences)
    : m_table(table), m_fourDigitYear(fourDigitYear),
      m_differences(std::move(tableFile), listDifferences)
{
}

std::optional<std::string> ExactConverter::convert(long record, std::string_view field,
                                                   std::string_view dateText)
{
    auto exact = exactShamsiDate(dateText, m_fourDigitYear);
    // The dates compared, not the lengths of their years.
    const auto twoDigit = m_fourDigitYear ? exactShamsiDate(dateText, false) : exact;
    auto table = shamsiDate(m_table, dateText);
    if (table)
        table = stored(std::move(*table));
    if (table != twoDigit)
        m_differences.add(record, field, dateText, table, exact);
    return exact;
}

} // namespace halvane::cli
