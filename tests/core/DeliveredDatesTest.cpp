// The delivered DATES.TXT, record by record, against an arithmetic Persian
// calendar that shares no code with the generator.
#include "CalendarOracle.h"
#include "DateTable.h"
#include "DatesFile.h"
#include "TempDir.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::test;

namespace
{

const std::filesystem::path kDelivered = std::filesystem::path(HALVANE_DIST_DIR) / "DATES.TXT";

TEST(DeliveredDates, EveryRecordIsTheShamsiDateOfItsDay)
{
    const std::string text = readFile(kDelivered);
    long day = dayNumber({2000, 1, 1});
    std::size_t pos = 0;
    for (int k = 1; k <= DateTable::kLast; ++k, ++day) {
        const auto end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "record " << k << " has no CR LF";
        const std::string line = text.substr(pos, end - pos);
        pos = end + 2;

        const Ymd g = gregorianOf(day);
        const Ymd p = persianArithmetic(g);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%02d/%02d/%04d,%02d/%02d/%02d", g.d, g.m, g.y,
                      p.y % 100, p.m, p.d);
        ASSERT_EQ(line, expected) << "record " << k;
    }
    EXPECT_EQ(pos, text.size()) << "nothing follows record 1747";
}

TEST(DeliveredDates, LoadsAsAWholeTable)
{
    DateTable table;
    loadDateTable(table, kDelivered);
    EXPECT_EQ(table.key(1), "01/01/2000");
    EXPECT_EQ(table.value(1), "78/10/11  ");
    EXPECT_EQ(table.key(1747), "12/10/2004");
}

} // namespace
