// The remembered conversion of the command-line runner must answer exactly
// as the conversion itself, first time and every time after.
#include "ConversionMemo.h"

#include "ScheduleTables.h"
#include "ShamsiConv.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace halvane;

TEST(ConversionMemo, AnswersAsTheConversionForEveryText)
{
    const DateTable& table = test::deliveredDates();
    cli::ConversionMemo memo(table);
    std::vector<std::string> texts = {"",           "junk",       "20010230",   "2001-02-30",
                                      "2000-13-01", "2000-00-10", "0000-01-01", "9999-12-31",
                                      "21/03/2000", "2000-3-21",  "2000-03-21 "};
    for (int y = 1898; y <= 2101; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 0; d <= 32; ++d) {
                char iso[16];
                std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", y, m, d);
                texts.emplace_back(iso);
            }
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& text : texts)
            ASSERT_EQ(memo.shamsiDate(text), shamsiDate(table, text)) << text << " pass " << pass;
}
