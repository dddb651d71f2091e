// The tests checked against ICU's Persian calendar: the two independent
// calendars agree, and the conversion's accuracy over 1978 to 2025.
#include "CalendarOracle.h"
#include "DateTable.h"
#include "DatesFile.h"
#include "RecordingHost.h"
#include "ShamsiConv.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>

using namespace halvane;
using namespace halvane::test;

namespace
{

const DateTable& delivered()
{
    static const DateTable table = [] {
        DateTable t;
        loadDateTable(t, std::filesystem::path(HALVANE_DIST_DIR) / "DATES.TXT");
        return t;
    }();
    return table;
}

TEST(DeliveredDates, CalendarOraclesAgree)
{
    // The two independent calendars the tests rely on agree on 1970 to 2030.
    for (long day = dayNumber({1970, 1, 1}); day <= dayNumber({2030, 12, 31}); ++day) {
        const Ymd g = gregorianOf(day);
        ASSERT_EQ(dayNumber(g), day);
        ASSERT_EQ(persianArithmetic(g), persianIcu(g)) << iso(g);
    }
}

// Against the true Persian calendar: exact from 1994 to 2023; earlier the
// four-year method drifts from the Persian leap years, by the known count.
TEST(ShamsiConv, AccuracyAgainstThePersianCalendar)
{
    RecordingHost host;
    std::map<int, int> wrongPerYear;
    int nextDay = 0, wrongYear = 0, nonexistent = 0, notFound = 0;
    for (long day = dayNumber({1978, 1, 1}); day <= dayNumber({2025, 12, 31}); ++day) {
        const Ymd g = gregorianOf(day);
        const auto got = shamsiDate(delivered(), iso(g));
        if (g.y < 1980 || g.y > 2023) {
            EXPECT_FALSE(got) << iso(g);
            notFound += !got;
            continue;
        }
        ASSERT_TRUE(got) << iso(g);
        const Ymd p = persianIcu(g);
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d/%02d/%02d  ", p.y % 100, p.m, p.d);
        if (*got == expected)
            continue;
        ++wrongPerYear[g.y];
        const std::string truth = expected;
        const Ymd n = persianIcu(gregorianOf(day + 1));
        std::snprintf(expected, sizeof expected, "%02d/%02d/%02d  ", n.y % 100, n.m, n.d);
        if (*got == expected)
            ++nextDay;
        else if (got->substr(3, 5) == "12/30")
            ++nonexistent; // 20 March after a Gregorian leap year: 30 Esfand of a common year
        if (got->substr(0, 2) != truth.substr(0, 2)) {
            ++wrongYear;
            EXPECT_TRUE(g.y % 4 == 0 && g.m == 3 && g.d == 20) << iso(g);
        }
    }
    EXPECT_EQ(notFound, 4 * 365 + 1); // 1978, 1979, 2024 (leap) and 2025
    for (const auto& [year, count] : wrongPerYear)
        EXPECT_LT(year, 1994) << count << " wrong days";
    int total = 0;
    for (const auto& [year, count] : wrongPerYear)
        total += count;
    EXPECT_EQ(total, 1464);
    EXPECT_EQ(nextDay, 1460); // the wrong years of 20 March 1980, 1984, 1988, 1992 among them
    EXPECT_EQ(wrongYear, 4);
    EXPECT_EQ(nonexistent, 4);
}

} // namespace
