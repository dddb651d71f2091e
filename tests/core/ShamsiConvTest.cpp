#include "core/ShamsiConv.h"

#include "core/ConversionCache.h"
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "tests/core/CalendarOracle.h"
#include "tests/support/LinearScan.h"

#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

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
}

// A date is looked up under `key` and given the Shamsi year `shamsiYear`
// (0: its year is not placed, so nothing is found).
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
    // A table that holds only the key expected, with a value that tells the
    // result's tail apart; every other entry is a key no date has.
    DateTable t;
    for (int k = DateTable::kFirst; k <= DateTable::kLast; ++k)
        t.store(k, "filler", "");
    t.store(100, GetParam().key, "xx/ok/ok");
    const auto result = shamsiDate(t, GetParam().date);
    if (GetParam().shamsiYear == 0) {
        EXPECT_EQ(result, std::nullopt);
        return;
    }
    char expected[16];
    std::snprintf(expected, sizeof expected, "%02d/ok/ok  ", GetParam().shamsiYear % 100);
    EXPECT_EQ(result, expected);
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

TEST(ShamsiDate, ConvertsThroughTheTable)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2000-03-21", "79/01/02  "}, {"2000-03-20", "79/01/01  "}, {"2001-03-21", "80/01/01  "},
        {"2005-03-21", "84/01/01  "}, {"2023-12-31", "02/10/10  "}, {"21/03/2000", "79/01/02  "},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(shamsiDate(delivered(), in), out) << in;
}

TEST(ShamsiDate, FindsNothingForWhatItCannotPlace)
{
    for (const char* date : {"1979-12-31", "2024-01-01", "not a date", "", "1997-02-29"})
        EXPECT_EQ(shamsiDate(delivered(), date), std::nullopt) << date;
}

TEST(ShamsiDate, UsesCharactersThreeToTenOfTheValueAndTheEarliestKey)
{
    DateTable t;
    for (int k = 1; k <= DateTable::kLast; ++k)
        t.store(k, "filler", "");
    t.store(5, "21/03/2000", "XX/01/01");
    t.store(6, "21/03/2000", "later");
    t.store(7, "22/03/2000", "ab");
    EXPECT_EQ(shamsiDate(t, "2000-03-21"), "79/01/01  ");
    EXPECT_EQ(shamsiDate(t, "2000-03-22"), "79        ");
}

// The lookup with the index answers what the scan answers, for every day of
// 1978 to 2025 and for texts that are no date at all.
TEST(ShamsiDate, IndexedLookupMatchesTheScanForEveryDay)
{
    for (long day = dayNumber({1978, 1, 1}); day <= dayNumber({2025, 12, 31}); ++day) {
        // The key of the day: its day and month under the representative year
        // that shares its place in the four-year cycle.
        const Ymd g = gregorianOf(day);
        char K[16];
        std::snprintf(K, sizeof K, "%02d/%02d/%04d", g.d, g.m, 2000 + (g.y - 1900) % 4);
        ASSERT_EQ(delivered().find(K), linearFind(delivered(), K)) << K;
    }
}

// The cache answers exactly what the conversion answers, the first time and
// from memory, for every day of 1978 to 2025 and for texts it does not keep.
TEST(ConversionCache, AnswersAsTheConversion)
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
}

// A date field's stored bytes get the place of the date they read as, and
// the same place by either way of finding it: every month and day number 0
// to 39 of the years around those kept, and every byte value in every place
// of a date inside them. Two stored texts never share a place.
TEST(ConversionCache, StoredBytesHaveThePlaceOfTheirDate)
{
    auto word = [](const std::string& bytes) {
        std::uint64_t w = 0;
        for (std::size_t i = 0; i < 8; ++i)
            w |= std::uint64_t(static_cast<unsigned char>(bytes[i])) << (8 * i);
        return w;
    };
    auto expected = [](const std::string& bytes) {
        const auto date = GregorianDate::fromCompact(bytes);
        const auto slot = date ? ConversionCache::slotOf(*date) : std::nullopt;
        return slot.value_or(ConversionCache::kSlots);
    };
    std::vector<std::string> owner(ConversionCache::kSlots);
    auto check = [&](const std::string& bytes) {
        const std::size_t slot = ConversionCache::slotOfCompact(word(bytes));
        ASSERT_EQ(slot, expected(bytes)) << bytes;
        if (slot == ConversionCache::kSlots)
            return;
        ASSERT_TRUE(owner[slot].empty() || owner[slot] == bytes) << bytes << " " << owner[slot];
        owner[slot] = bytes;
    };
    char text[9];
    for (int year = 1900; year <= 2100; ++year)
        for (int month = 0; month < 40; ++month)
            for (int day = 0; day < 40; ++day) {
                std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
                check(text);
            }
    for (const std::string date : {"19700101", "20391231", "19991130"})
        for (std::size_t place = 0; place < 8; ++place)
            for (int byte = 0; byte < 256; ++byte) {
                std::string bytes = date;
                bytes[place] = static_cast<char>(byte);
                check(bytes);
            }
    EXPECT_EQ(ConversionCache::slotOfCompact(word("        ")), ConversionCache::kSlots);
}

// The same of the Persian calendar's answers, in both year lengths: every day
// around the years kept, so the two-digit answers shorter than an entry and
// the days before, at and after the years kept.
class ExactConversionCache : public testing::TestWithParam<bool>
{
};

TEST_P(ExactConversionCache, AnswersAsTheCalendar)
{
    const bool fourDigitYear = GetParam();
    ConversionCache cache(ExactCalendar{fourDigitYear});
    for (int pass = 0; pass < 2; ++pass)
        for (long day = dayNumber({1968, 1, 1}); day <= dayNumber({2041, 12, 31}); ++day) {
            const std::string text = iso(gregorianOf(day));
            ASSERT_EQ(cache.shamsiDate(text), exactShamsiDate(text, fourDigitYear)) << text;
        }
    for (const char* text : {"08/12/2026", "2026-02-30", "2123-03-21", "1800-03-20", "", "x"})
        for (int pass = 0; pass < 2; ++pass)
            EXPECT_EQ(cache.shamsiDate(text), exactShamsiDate(text, fourDigitYear)) << text;
}

INSTANTIATE_TEST_SUITE_P(YearLengths, ExactConversionCache, testing::Bool(),
                         [](const auto& p) { return p.param ? "FourDigits" : "TwoDigits"; });

} // namespace
