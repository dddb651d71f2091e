// A day of the Gregorian calendar as the dates code and the table engine
// read it: from the texts they meet (a date field's "yyyymmdd", the ISO form
// "yyyy-mm-dd" the table engine hands over, the rendered "dd/mm/yyyy"), and
// whether it is a real day (leap years, month lengths). The one place that
// knows the calendar's month lengths.
//
// Everything is inline: the table walk reads date fields by the million.
#pragma once

#include "core/Digits.h"

#include <optional>
#include <string_view>

namespace halvane
{

struct GregorianDate {
    int year = 0;
    int month = 0;
    int day = 0;

    friend bool operator==(const GregorianDate&, const GregorianDate&) = default;

    // The rule of the proleptic Gregorian calendar: every fourth year, but
    // not a century unless it divides by 400.
    static constexpr bool isLeapYear(int year)
    {
        return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    }

    // The days of `month` (1 to 12) in `year`.
    static constexpr int daysInMonth(int year, int month)
    {
        constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
    }

    // Whether this is a day of the calendar from year `firstYear` on: a month
    // 1 to 12 and a day that month has. The callers differ only in the first
    // year they take (a date field any year from 1, a rendered date from 100
    // as the platform's date type); the last is 9999 by four digits, or the
    // caller's own range.
    constexpr bool isReal(int firstYear = 1) const
    {
        return year >= firstYear && month >= 1 && month <= 12 && day >= 1 &&
               day <= daysInMonth(year, month);
    }

    // The digits of a text in one of the forms, whatever numbers they write
    // ("0000/13/00" comes back as it stands; isReal() tells the day); nothing
    // when the text has another length, separator or a non-digit.

    // "yyyymmdd", a date field's bytes.
    static constexpr std::optional<GregorianDate> fromCompact(std::string_view text)
    {
        GregorianDate d;
        if (text.size() != 8 || !readDigits(text, 0, 4, d.year) ||
            !readDigits(text, 4, 2, d.month) || !readDigits(text, 6, 2, d.day))
            return std::nullopt;
        return d;
    }

    // "yyyy-mm-dd".
    static constexpr std::optional<GregorianDate> fromIso(std::string_view text)
    {
        GregorianDate d;
        if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
            !readDigits(text, 0, 4, d.year) || !readDigits(text, 5, 2, d.month) ||
            !readDigits(text, 8, 2, d.day))
            return std::nullopt;
        return d;
    }

    // "dd/mm/yyyy".
    static constexpr std::optional<GregorianDate> fromDayMonthYear(std::string_view text)
    {
        GregorianDate d;
        if (text.size() != 10 || text[2] != '/' || text[5] != '/' ||
            !readDigits(text, 0, 2, d.day) || !readDigits(text, 3, 2, d.month) ||
            !readDigits(text, 6, 4, d.year))
            return std::nullopt;
        return d;
    }
};

} // namespace halvane
