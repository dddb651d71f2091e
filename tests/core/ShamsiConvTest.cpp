#include "core/ShamsiConv.h"

#include "core/ConversionCache.h"
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "tests/core/CalendarOracle.h"
#include "tests/support/RecordingHost.h"

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

TEST(RenderDate, ReadsIsoAndDayMonthYear)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2000-03-21", "21/03/2000"},
        {"1996-02-29", "29/02/1996"},
        {"21/03/2000", "21/03/2000"},
        {"1997-02-29", "1997-02-29"},
        {"2000-13-01", "2000-13-01"},
        {"20000321", "20000321"},
        {"", ""},
        {"2000-3-21", "2000-3-21"},
        {"junk", "junk"},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(renderDate(in), out) << in;
}

TEST(NumericValue, ReadsANumberFromTheStart)
{
    const std::pair<const char*, double> cases[] = {
        {"2000", 2000}, {"0021", 21}, {" 12", 12}, {"1 2", 12}, {"03", 3},
        {"3/", 3},      {"ab", 0},    {"", 0},     {"-5", -5},  {".5", 0.5},
        {"1e2", 100},   {"1e", 1},    {"2D1", 20}, {"/03", 0},  {"+7x", 7},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(numericValue(in), out) << '"' << in << '"';
    EXPECT_EQ(numberText(2000), "2000");
    EXPECT_EQ(numberText(0.5), "0.5");
    EXPECT_EQ(numberText(-3), "-3");
}

struct StepCase {
    const char* date;
    const char* key;
    int shamsiYear;
};

class Steps : public testing::TestWithParam<StepCase>
{
};

TEST_P(Steps, KeyAndShamsiYear)
{
    const auto c = conversionSteps(GetParam().date);
    EXPECT_EQ(c.K, GetParam().key);
    EXPECT_EQ(c.SY, GetParam().shamsiYear);
}

INSTANTIATE_TEST_SUITE_P(
    NewYearThresholds, Steps,
    testing::Values(
        StepCase{"2000-03-21", "21/03/2000", 1379}, StepCase{"2000-03-19", "19/03/2000", 1378},
        StepCase{"2000-03-20", "20/03/2000", 1379}, StepCase{"2001-03-20", "20/03/2001", 1379},
        StepCase{"2001-03-21", "21/03/2001", 1380}, StepCase{"2005-03-21", "21/03/2001", 1384},
        StepCase{"1996-02-29", "29/02/2000", 1374}, StepCase{"1980-01-01", "01/01/2000", 1358},
        StepCase{"2023-12-31", "31/12/2003", 1402}, StepCase{"2023-04-01", "01/04/2003", 1402},
        StepCase{"1979-12-31", "31/12/", 0}, StepCase{"2024-01-01", "01/01/", 0},
        StepCase{"ab/cd/2000", "AB/CD/2000", 1378}));

TEST(ShamsiConv, ConvertsThroughTheTable)
{
    RecordingHost host;
    const std::pair<const char*, const char*> cases[] = {
        {"2000-03-21", "79/01/02  "}, {"2000-03-20", "79/01/01  "}, {"2001-03-21", "80/01/01  "},
        {"2005-03-21", "84/01/01  "}, {"2023-12-31", "02/10/10  "}, {"21/03/2000", "79/01/02  "},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(Shamsi_Conv(delivered(), in), out) << in;
    EXPECT_TRUE(host.messages.empty());
}

TEST(ShamsiConv, ReportsWhatItCannotPlaceAndGoesOn)
{
    RecordingHost host;
    for (const char* date : {"1979-12-31", "2024-01-01", "not a date", "", "1997-02-29"}) {
        host.messages.clear();
        EXPECT_EQ(Shamsi_Conv(delivered(), date), "") << date;
        ASSERT_EQ(host.messages.size(), 1u) << date;
        EXPECT_EQ(host.messages[0],
                  (Message{"Unable to Calculate Shamsi Dates", "Date Not Found"}));
    }
    EXPECT_EQ(host.ended, 0);
}

TEST(ShamsiConv, UsesCharactersThreeToTenOfTheValueAndTheEarliestKey)
{
    RecordingHost host;
    DateTable t;
    for (int k = 1; k <= DateTable::kLast; ++k)
        t.store(k, "filler", "");
    t.store(5, "21/03/2000", "XX/01/01");
    t.store(6, "21/03/2000", "later");
    t.store(7, "22/03/2000", "ab");
    t.buildIndex();
    EXPECT_EQ(Shamsi_Conv(t, "2000-03-21"), "79/01/01  ");
    EXPECT_EQ(Shamsi_Conv(t, "2000-03-22"), "79        ");
}

// The lookup with the index answers what the scan answers, for every day of
// 1978 to 2025 and for texts that are no date at all.
TEST(ShamsiConv, IndexedLookupMatchesTheScanForEveryDay)
{
    DateTable scanned;
    loadDateTable(scanned, std::filesystem::path(HALVANE_DIST_DIR) / "DATES.TXT");
    const DateTable& indexed = delivered();
    ASSERT_TRUE(indexed.hasIndex());
    for (long day = dayNumber({1978, 1, 1}); day <= dayNumber({2025, 12, 31}); ++day) {
        const auto K = conversionSteps(iso(gregorianOf(day))).K;
        ASSERT_EQ(indexed.find(K), scanned.findLinear(K)) << K;
    }
}

// The cache answers exactly what the conversion answers, the first time and
// from memory, for every day of 1978 to 2025 and for texts it does not keep;
// and a date that cannot be placed still gets its message every time.
TEST(ConversionCache, AnswersAsTheConversionAndReportsEveryMiss)
{
    ConversionCache cache(delivered());
    for (int pass = 0; pass < 2; ++pass)
        for (long day = dayNumber({1978, 1, 1}); day <= dayNumber({2025, 12, 31}); ++day) {
            const std::string text = iso(gregorianOf(day));
            ASSERT_EQ(cache.shamsiDate(text), shamsiDate(delivered(), text)) << text;
        }
    for (const char* text : {"21/03/2000", "2000-13-01", "2000-02-31", "20000321", "", "1899-12-31",
                             "2100-01-01", " 2000-03-21", "2000-03-21 "})
        for (int pass = 0; pass < 2; ++pass)
            EXPECT_EQ(cache.shamsiDate(text), shamsiDate(delivered(), text)) << text;

    RecordingHost host;
    EXPECT_EQ(Shamsi_Conv(cache, "2024-01-01"), "");
    EXPECT_EQ(Shamsi_Conv(cache, "2024-01-01"), "");
    EXPECT_EQ(Shamsi_Conv(cache, "2000-03-21"), *shamsiDate(delivered(), "2000-03-21"));
    EXPECT_EQ(host.messages, std::vector<Message>(
                                 2, Message{"Unable to Calculate Shamsi Dates", "Date Not Found"}));
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
