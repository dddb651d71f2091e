// The Persian calendar the product carries, without ICU, so that it also runs
// where ICU is missing: every day of the years it covers against the first
// days of the years that ICU gives (tests/data/calendar/nowruz.txt), and the
// dates it must refuse.
#include "core/PersianCalendar.h"

#include "tests/core/CalendarOracle.h"

#include <climits>
#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::test;

namespace
{

std::optional<CalendarDate> shamsiOf(Ymd g)
{
    return PersianCalendar::fromGregorian({g.y, g.m, g.d});
}

TEST(PersianCalendar, EveryDayAgreesWithTheNewYearsOfTheReference)
{
    const std::vector<NewYear> years = newYearReference();
    ASSERT_FALSE(years.empty());
    EXPECT_EQ(years.front().year, PersianCalendar::kFirstYear);
    EXPECT_EQ(years.back().year, PersianCalendar::kLastYear + 1);
    EXPECT_LE(dayNumber(years.front().gregorian), dayNumber({1900, 1, 1}));
    EXPECT_GT(dayNumber(years.back().gregorian), dayNumber({2100, 12, 31}));

    for (std::size_t i = 0; i + 1 < years.size(); ++i) {
        ASSERT_EQ(years[i + 1].year, years[i].year + 1);
        const long first = dayNumber(years[i].gregorian);
        const long next = dayNumber(years[i + 1].gregorian);
        ASSERT_TRUE(next - first == 365 || next - first == 366) << years[i].year;
        // Six months of 31 days, five of 30, and Esfand takes the rest.
        const int esfand = int(next - first) - 6 * 31 - 5 * 30;
        CalendarDate expected{years[i].year, 1, 1};
        for (long day = first; day < next; ++day) {
            ASSERT_EQ(shamsiOf(gregorianOf(day)), expected) << iso(gregorianOf(day));
            const int length = expected.month <= 6 ? 31 : expected.month <= 11 ? 30 : esfand;
            if (++expected.day > length)
                expected = {expected.year, expected.month + 1, 1};
        }
    }
    EXPECT_EQ(shamsiOf(gregorianOf(dayNumber(years.front().gregorian) - 1)), std::nullopt);
    EXPECT_EQ(shamsiOf(years.back().gregorian), std::nullopt);
}

struct DateCase {
    CalendarDate gregorian;
    std::optional<CalendarDate> shamsi;
};

void PrintTo(const DateCase& c, std::ostream* os)
{
    *os << c.gregorian.year << '-' << c.gregorian.month << '-' << c.gregorian.day;
}

class PersianCalendarDates : public testing::TestWithParam<DateCase>
{
};

TEST_P(PersianCalendarDates, ConvertsOrRefuses)
{
    EXPECT_EQ(PersianCalendar::fromGregorian(GetParam().gregorian), GetParam().shamsi);
}

INSTANTIATE_TEST_SUITE_P(
    EdgesAndNonDates, PersianCalendarDates,
    testing::Values(
        DateCase{{1800, 3, 20}, std::nullopt}, DateCase{{1800, 3, 21}, CalendarDate{1179, 1, 1}},
        DateCase{{2123, 3, 20}, CalendarDate{1501, 12, 29}}, DateCase{{2123, 3, 21}, std::nullopt},
        DateCase{{2026, 12, 8}, CalendarDate{1405, 9, 17}},
        DateCase{{2025, 3, 20}, CalendarDate{1403, 12, 30}},
        DateCase{{2000, 2, 29}, CalendarDate{1378, 12, 10}}, DateCase{{1900, 2, 29}, std::nullopt},
        DateCase{{2023, 4, 31}, std::nullopt}, DateCase{{2023, 13, 1}, std::nullopt},
        DateCase{{2023, 0, 1}, std::nullopt}, DateCase{{2023, 1, 0}, std::nullopt},
        DateCase{{0, 0, 0}, std::nullopt}, DateCase{{INT_MIN, 1, 1}, std::nullopt},
        DateCase{{INT_MAX, 12, 31}, std::nullopt}));

} // namespace
