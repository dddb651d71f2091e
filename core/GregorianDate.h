// A day of the Gregorian calendar as the dates code and the table engine
// read it: from the texts they meet (a date field's "yyyymmdd", the ISO form
// "yyyy-mm-dd" the table engine hands over, the rendered "dd/mm/yyyy"), and
// whether it is a real day (leap years, month lengths). The one place that
// knows the calendar's month lengths.
//
// Everything is inline: the table walk reads date fields by the million.
#pragma once

#include "core/Digits.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <type_traits>

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
        if (text.size() != 8)
            return std::nullopt;
        static_assert(std::endian::native == std::endian::little);
        std::uint64_t word = 0;
        if (std::is_constant_evaluated()) {
            for (std::size_t i = 0; i < 8; ++i)
                word |= std::uint64_t(static_cast<unsigned char>(text[i])) << (8 * i);
        } else {
            std::memcpy(&word, text.data(), 8);
        }
        return fromCompact(word);
    }
    // The same from the eight bytes as one word, the first in the lowest
    // bits, checked and read all at once.
    static constexpr std::optional<GregorianDate> fromCompact(std::uint64_t word)
    {
        const auto pairs = compactPairs(word);
        if (!pairs)
            return std::nullopt;
        GregorianDate d;
        d.year = int(*pairs & 0xFF) * 100 + int(*pairs >> 16 & 0xFF);
        d.month = int(*pairs >> 32 & 0xFF);
        d.day = int(*pairs >> 48 & 0xFF);
        return d;
    }
    // The four two-digit numbers of a "yyyymmdd" word (century, year,
    // month, day) in its bytes 0, 2, 4 and 6; nothing when a byte is not a
    // digit.
    static constexpr std::optional<std::uint64_t> compactPairs(std::uint64_t word)
    {
        // A digit is 0x30 to 0x39: its high half is 3, and still 3 after 6
        // is added.
        constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0u, kThrees = 0x3030303030303030u,
                                kSixes = 0x0606060606060606u;
        if ((word & kHigh) != kThrees || ((word + kSixes) & kHigh) != kThrees)
            return std::nullopt;
        const std::uint64_t digits = word & 0x0F0F0F0F0F0F0F0Fu;
        // Every other byte: ten times its digit plus the next one's.
        return (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
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
