#include "core/ShamsiConv.h"

#include "core/Digits.h"
#include "core/GregorianDate.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace halvane
{
namespace
{

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The first year the platform's date type holds: an ISO text of an earlier
// year is no date to render.
constexpr int kFirstRenderedYear = 100;

// Characters as Left$, Right$ and Mid$ take them: never past either end.
std::string_view left(std::string_view s, std::size_t n)
{
    return s.substr(0, std::min(n, s.size()));
}
std::string_view right(std::string_view s, std::size_t n)
{
    return s.substr(s.size() - std::min(n, s.size()));
}

// Rounds half to even, as the platform's conversion to a 16-bit integer does.
std::int16_t toInt16(double value)
{
    const double r = std::nearbyint(value); // default rounding mode: to nearest, ties to even
    return static_cast<std::int16_t>(std::clamp(r, -32768.0, 32767.0));
}

constexpr std::string_view kRepresentativeYears[] = {"2000", "2001", "2002", "2003"};

// Renders `t` into `buffer` when it is an ISO date; returns the rendering,
// which views either `buffer` or `t` itself.
std::string_view render(std::string_view t, char (&buffer)[10])
{
    if (const auto date = GregorianDate::fromIso(t); date && date->isReal(kFirstRenderedYear)) {
        const int m = date->month, d = date->day;
        const char out[10] = {char('0' + d / 10),
                              char('0' + d % 10),
                              '/',
                              char('0' + m / 10),
                              char('0' + m % 10),
                              '/',
                              t[0],
                              t[1],
                              t[2],
                              t[3]};
        std::copy(std::begin(out), std::end(out), buffer);
        return {buffer, 10};
    }
    return t; // "dd/mm/yyyy" already is its own rendering
}

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

// numericValue() with the common case, two plain digits, inline.
double twoDigitValue(std::string_view text)
{
    int n = 0;
    if (text.size() == 2 && readDigits(text, 0, 2, n))
        return n;
    return numericValue(text);
}

// A number's plain text, written into `buffer`.
std::string_view formatNumber(double value, char (&buffer)[32])
{
    if (value == 0)
        return "0";
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15)
        return {buffer,
                std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value)).ptr};
    const int n = std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return {buffer, static_cast<std::size_t>(n)};
}

// The working values of one conversion, in the order they arise, without a
// single allocation: the conversion runs up to four times per table record.
struct ConversionValues {
    char renderBuffer[10];
    char yearBuffer[32];
    std::string_view s, Y, P, R;
    std::int16_t M = 0;
    double D = 0;
    std::int16_t SY = 0;
    char K[10]; // P is at most 6 characters and R 4
    std::size_t kLength = 0;

    std::string_view key() const { return {K, kLength}; }
};

void derive(std::string_view dateText, ConversionValues& w)
{
    w.s = render(dateText, w.renderBuffer);
    const std::string_view yearDigits = right(w.s, 4);
    // Four digits without a leading zero are already the year's plain text.
    w.Y = yearDigits.size() == 4 && yearDigits[0] != '0' && allDigits(yearDigits)
              ? yearDigits
              : formatNumber(numericValue(yearDigits), w.yearBuffer);
    w.P = left(w.s, 6);
    w.M = toInt16(twoDigitValue(left(right(w.P, 3), 2)));
    // D is the day's number written back as text and compared as a number:
    // a number read from at most two characters survives that round trip
    // unchanged, so the number itself is kept.
    w.D = twoDigitValue(left(w.P, 2));

    // Years are told apart by their text: Y is compared with the decimal
    // texts of base, base+1, base+2 and base+3 for each base year 1980, 1984,
    // ..., 2020. Those 44 texts are the four-digit years 1980 to 2023, so Y
    // matches one exactly when it is four digits naming such a year, and its
    // place in the four-year cycle picks the representative year.
    int year = 0;
    if (w.Y.size() == 4 && readDigits(w.Y, 0, 4, year) && year >= 1980 && year <= 2023) {
        const int offset = (year - 1900) % 4;
        const int threshold = offset == 0 ? 19 : 20;
        w.R = kRepresentativeYears[offset];
        const bool afterNewYear = w.M > 3 || (w.M == 3 && w.D > threshold);
        w.SY = static_cast<std::int16_t>(afterNewYear ? year - 621 : year - 622);
    }

    std::transform(w.P.begin(), w.P.end(), w.K,
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
    std::copy(w.R.begin(), w.R.end(), w.K + w.P.size()); // digits: nothing to upper-case
    w.kLength = w.P.size() + w.R.size();
}

} // namespace

double numericValue(std::string_view text)
{
    // Plain digits, the case of every real date, need no parsing machinery.
    if (int n = 0; !text.empty() && text.size() <= 9 && readDigits(text, 0, text.size(), n))
        return n;

    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            compact += c;

    std::string number;
    std::size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        number += compact[i++];
    bool anyDigit = false;
    for (; i < compact.size() && isDigit(compact[i]); ++i, anyDigit = true)
        number += compact[i];
    if (i < compact.size() && compact[i] == '.') {
        number += compact[i++];
        for (; i < compact.size() && isDigit(compact[i]); ++i, anyDigit = true)
            number += compact[i];
    }
    if (!anyDigit)
        return 0;
    if (i < compact.size() &&
        (compact[i] == 'E' || compact[i] == 'e' || compact[i] == 'D' || compact[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-'))
            exponent += compact[j++];
        if (j < compact.size() && isDigit(compact[j])) {
            for (; j < compact.size() && isDigit(compact[j]); ++j)
                exponent += compact[j];
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

std::string renderDate(std::string_view dateText)
{
    char buffer[10];
    return std::string(render(dateText, buffer));
}

std::optional<std::string> shamsiDate(const DateTable& table, std::string_view dateText)
{
    ConversionValues w;
    derive(dateText, w);
    const int k = table.find(w.key());
    if (k == 0)
        return std::nullopt;
    // A key matches only when the year was placed, so SY has four digits and
    // its last two are its remainder by 100.
    char result[DateTable::kWidth] = {char('0' + w.SY / 10 % 10), char('0' + w.SY % 10)};
    const std::string_view tail = right(table.value(k), 8); // always 8: a slot holds 10
    std::copy(tail.begin(), tail.end(), result + 2);
    return std::string(result, sizeof result);
}

} // namespace halvane
