// The Gregorian days the dates code and the table engine take: the texts
// read in each form, leap years and month lengths against an independent day
// count, and the conversion and the calendar agreeing with it on which texts
// are days.
#include "core/GregorianDate.h"

#include "core/ExactShamsiDate.h"
#include "core/PersianCalendar.h"
#include "core/ShamsiConv.h"
#include "tests/core/CalendarOracle.h"

#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::test;

namespace
{

struct TextCase {
    const char* name;
    std::string compact; // "yyyymmdd"; the other forms are made from it
    std::optional<GregorianDate> read;
    bool real;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << '"' << c.compact << '"';
}

class GregorianText : public testing::TestWithParam<TextCase>
{
};

std::string isoOf(const std::string& c)
{
    return c.size() == 8 ? c.substr(0, 4) + '-' + c.substr(4, 2) + '-' + c.substr(6, 2) : c;
}

std::string dayMonthYearOf(const std::string& c)
{
    return c.size() == 8 ? c.substr(6, 2) + '/' + c.substr(4, 2) + '/' + c.substr(0, 4) : c;
}

TEST_P(GregorianText, ReadsTheSameInEveryFormAndKnowsTheRealDays)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(GregorianDate::fromCompact(c.compact), c.read);
    EXPECT_EQ(GregorianDate::fromIso(isoOf(c.compact)), c.read);
    EXPECT_EQ(GregorianDate::fromDayMonthYear(dayMonthYearOf(c.compact)), c.read);
    EXPECT_EQ(c.read && c.read->isReal(), c.real);
}

// The conversion renders an ISO text exactly when it is a real day of year
// 100 or later; the calendar converts the covered years' real days only.
TEST_P(GregorianText, ConversionAndCalendarTakeTheSameDays)
{
    const TextCase& c = GetParam();
    const std::string iso = isoOf(c.compact);
    const bool rendered = renderDate(iso) != iso;
    EXPECT_EQ(rendered, c.real && c.read->year >= 100);
    if (rendered) {
        EXPECT_EQ(renderDate(iso), dayMonthYearOf(c.compact));
    }
    if (c.read && c.read->year >= 1800 && c.read->year <= 2122) {
        EXPECT_EQ(
            PersianCalendar::fromGregorian({c.read->year, c.read->month, c.read->day}).has_value(),
            c.real);
        EXPECT_EQ(exactShamsiDate(iso, true).has_value(), c.real);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GregorianText,
    testing::Values(TextCase{"leapCentury", "20000229", GregorianDate{2000, 2, 29}, true},
                    TextCase{"plainCentury", "19000229", GregorianDate{1900, 2, 29}, false},
                    TextCase{"leapYear", "20240229", GregorianDate{2024, 2, 29}, true},
                    TextCase{"commonYear", "20230229", GregorianDate{2023, 2, 29}, false},
                    TextCase{"february28", "20230228", GregorianDate{2023, 2, 28}, true},
                    TextCase{"february30", "20000230", GregorianDate{2000, 2, 30}, false},
                    TextCase{"april31", "20230431", GregorianDate{2023, 4, 31}, false},
                    TextCase{"april30", "20230430", GregorianDate{2023, 4, 30}, true},
                    TextCase{"december31", "19991231", GregorianDate{1999, 12, 31}, true},
                    TextCase{"january32", "20000132", GregorianDate{2000, 1, 32}, false},
                    TextCase{"month13", "20001301", GregorianDate{2000, 13, 1}, false},
                    TextCase{"month0", "20000001", GregorianDate{2000, 0, 1}, false},
                    TextCase{"day0", "20000100", GregorianDate{2000, 1, 0}, false},
                    TextCase{"allZero", "00000000", GregorianDate{0, 0, 0}, false},
                    TextCase{"year0", "00000101", GregorianDate{0, 1, 1}, false},
                    TextCase{"year0LeapDay", "00000229", GregorianDate{0, 2, 29}, false},
                    TextCase{"year1", "00010101", GregorianDate{1, 1, 1}, true},
                    TextCase{"year99", "00991231", GregorianDate{99, 12, 31}, true},
                    TextCase{"year100", "01000101", GregorianDate{100, 1, 1}, true},
                    TextCase{"year9999", "99991231", GregorianDate{9999, 12, 31}, true},
                    TextCase{"letter", "2000O101", std::nullopt, false},
                    TextCase{"space", "2000 101", std::nullopt, false},
                    TextCase{"sign", "+0000101", std::nullopt, false},
                    // The bytes next to the digits, in the first and the last place.
                    TextCase{"colonLast", "2000010:", std::nullopt, false},
                    TextCase{"slashFirst", "/0000101", std::nullopt, false},
                    TextCase{"questionMark", "20?00101", std::nullopt, false},
                    TextCase{"digitWithHighBit", "2000\26101", std::nullopt, false},
                    TextCase{"short", "2000011", std::nullopt, false},
                    TextCase{"long", "200001011", std::nullopt, false},
                    TextCase{"empty", "", std::nullopt, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(GregorianDate, ReadsOnlyItsOwnSeparators)
{
    EXPECT_EQ(GregorianDate::fromIso("2000/01/01"), std::nullopt);
    EXPECT_EQ(GregorianDate::fromIso("2000-01-01 "), std::nullopt);
    EXPECT_EQ(GregorianDate::fromDayMonthYear("01-01-2000"), std::nullopt);
    EXPECT_EQ(GregorianDate::fromCompact("2000-1-1"), std::nullopt);
}

// A date field's eight bytes are read all at once: every byte value in every
// place of a date is taken as the digit it is, or refuses the text.
TEST(GregorianDate, CompactTextTakesADigitInEveryPlaceAndNothingElse)
{
    const std::string date = "19870605";
    for (std::size_t place = 0; place < date.size(); ++place)
        for (int byte = 0; byte < 256; ++byte) {
            std::string text = date;
            text[place] = static_cast<char>(byte);
            const auto read = GregorianDate::fromCompact(text);
            if (byte < '0' || byte > '9') {
                EXPECT_EQ(read, std::nullopt) << "byte " << byte << " in place " << place;
                continue;
            }
            auto number = [&](std::size_t at, std::size_t n) {
                return std::stoi(text.substr(at, n));
            };
            EXPECT_EQ(read, (GregorianDate{number(0, 4), number(4, 2), number(6, 2)})) << text;
        }
}

// Every month and day number 1 to 31 of years 1 to 2500 and the last years
// four digits hold, against a day count that shares no code with the product:
// a real day survives the count's round trip, any other comes back as
// another day.
TEST(GregorianDate, RealDaysAreTheDaysOfAnIndependentCount)
{
    auto check = [](int year) {
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 31; ++day) {
                const bool counted =
                    gregorianOf(dayNumber({year, month, day})) == Ymd{year, month, day};
                ASSERT_EQ((GregorianDate{year, month, day}.isReal()), counted)
                    << year << '-' << month << '-' << day;
            }
    };
    for (int year = 1; year <= 2500; ++year)
        check(year);
    for (int year = 9990; year <= 9999; ++year)
        check(year);
}

} // namespace
