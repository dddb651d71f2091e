// The exact conversion of shamsi-dates --exact: the text it writes for a date
// text, and the dates it finds converted otherwise by the date table.
#include "cli/ExactConverter.h"
#include "core/ExactShamsiDate.h"

#include "tests/support/ScheduleTables.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::cli;
using namespace halvane::test;

namespace
{

struct TextCase {
    const char* date;
    std::optional<std::string> twoDigit, fourDigit;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << '"' << c.date << '"';
}

class ExactText : public testing::TestWithParam<TextCase>
{
};

TEST_P(ExactText, HasTheTableMethodsShape)
{
    EXPECT_EQ(exactShamsiDate(GetParam().date, false), GetParam().twoDigit);
    EXPECT_EQ(exactShamsiDate(GetParam().date, true), GetParam().fourDigit);
}

INSTANTIATE_TEST_SUITE_P(Dates, ExactText,
                         testing::Values(TextCase{"2026-12-08", "05/09/17", "1405/09/17"},
                                         TextCase{"08/12/2026", "05/09/17", "1405/09/17"},
                                         TextCase{"2021-03-21", "00/01/01", "1400/01/01"},
                                         TextCase{"1800-03-20", std::nullopt, std::nullopt},
                                         TextCase{"2123-03-21", std::nullopt, std::nullopt},
                                         TextCase{"20010230", std::nullopt, std::nullopt},
                                         TextCase{"31/04/2001", std::nullopt, std::nullopt},
                                         TextCase{"2026-12-8", std::nullopt, std::nullopt},
                                         TextCase{"", std::nullopt, std::nullopt}));

std::string printed(DifferenceList& list)
{
    std::FILE* f = std::tmpfile();
    list.print(f);
    std::string text = written(f);
    std::fclose(f);
    return text;
}

// A date counts when its text differs from what the table method writes, or
// when only one of the two converts it; the length of the year does not count.
TEST(ExactConverter, CountsAndListsTheDatesTheTableConvertsOtherwise)
{
    ExactConverter exact(deliveredDates(), "DATES.TXT", true, true);
    EXPECT_EQ(exact.convert(1, "ES", "2000-03-21"), "1379/01/02");
    exact.convert(1, "EF", "1980-03-20");                        // the table gives the next day
    exact.convert(2, "ES", "2024-01-01");                        // the table has no year 2024
    EXPECT_EQ(exact.convert(2, "EF", "20010230"), std::nullopt); // neither converts it
    exact.convert(3, "SHTF", "1993-03-20"); // the table gives 30 Esfand of a common year
    EXPECT_EQ(exact.differences().summary(), "3 differ from DATES.TXT");
    EXPECT_EQ(printed(exact.differences()),
              "Exact dates that differ from DATES.TXT: 3\n"
              "  record 1, EF: 1980-03-20: 59/01/01 -> 1358/12/30\n"
              "  record 2, ES: 2024-01-01: (not found) -> 1402/10/11\n"
              "  record 3, SHTF: 1993-03-20: 71/12/30 -> 1371/12/29\n");

    // The answers are remembered: a date met again is written and counted
    // again, as the first time, and said to agree with the table only when
    // nothing was listed for it.
    ExactConverter again(deliveredDates(), "DATES.TXT", false, true);
    for (long record = 1; record <= 3; ++record) {
        bool same = true, agreed = false;
        EXPECT_EQ(again.convert(record, "ES", "1980-03-20", &same), "58/12/30");
        EXPECT_FALSE(same);
        EXPECT_EQ(again.convert(record, "EF", "2000-03-21", &agreed), "79/01/02");
        EXPECT_TRUE(agreed);
        same = true;
        EXPECT_EQ(again.convert(record, "ES_T1", "2024-01-01", &same), "02/10/11");
        EXPECT_FALSE(same);
    }
    EXPECT_EQ(again.differences().summary(), "6 differ from DATES.TXT");
    EXPECT_EQ(printed(again.differences()),
              "Exact dates that differ from DATES.TXT: 6\n"
              "  record 1, ES: 1980-03-20: 59/01/01 -> 58/12/30\n"
              "  record 1, ES_T1: 2024-01-01: (not found) -> 02/10/11\n"
              "  record 2, ES: 1980-03-20: 59/01/01 -> 58/12/30\n"
              "  record 2, ES_T1: 2024-01-01: (not found) -> 02/10/11\n"
              "  record 3, ES: 1980-03-20: 59/01/01 -> 58/12/30\n"
              "  record 3, ES_T1: 2024-01-01: (not found) -> 02/10/11\n");

    ExactConverter counting(deliveredDates(), "MY.TXT", false, false);
    counting.convert(1, "ES", "2024-01-01");
    EXPECT_EQ(counting.differences().summary(), "1 differs from MY.TXT");
    EXPECT_EQ(printed(counting.differences()), "") << "counted, not listed";
}

} // namespace
