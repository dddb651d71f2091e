#include "core/DateTable.h"

#include "system/Failure.h"
#include "tests/support/LinearScan.h"

#include <gtest/gtest.h>

using namespace halvane;
using halvane::test::linearFind;

namespace
{

TEST(DateTable, StoresByTheFixedWidthRule)
{
    DateTable t;
    t.store(1, "1/01/2000", "79/01/01");
    t.store(2, "01/01/2000   trailing", "");
    t.store(1747, "0123456789ABC", "x");
    EXPECT_EQ(t.key(1), "1/01/2000 ");
    EXPECT_EQ(t.value(1), "79/01/01  ");
    EXPECT_EQ(t.key(2), "01/01/2000");
    EXPECT_EQ(t.value(2), "          ");
    EXPECT_EQ(t.key(1747), "0123456789");
    EXPECT_THROW(t.store(0, "a", "b"), Failure);
    EXPECT_THROW(t.store(1748, "a", "b"), Failure);
}

// The index must answer exactly what the scan answers, on tables with
// duplicate, short, lower-case and padded keys.
TEST(DateTable, IndexAgreesWithTheScan)
{
    DateTable t;
    for (int k = 1; k <= DateTable::kLast; ++k)
        t.store(k, "k" + std::to_string(k % 500), "v"); // every key repeats
    t.store(10, "ab/cd/2000", "lower");
    t.store(11, "AB/CD/2000", "upper");
    t.store(12, "1/1/2000", "short");
    t.store(13, "01/01/2000", "first");
    t.store(900, "01/01/2000", "later");

    const char* probes[] = {"AB/CD/2000", "ab/cd/2000", "1/1/2000  ", "1/1/2000", "01/01/2000",
                            "K1        ", "K499      ", "K500      ", "",         "01/01/20001"};
    for (const char* probe : probes)
        EXPECT_EQ(t.find(probe), linearFind(t, probe)) << '"' << probe << '"';

    EXPECT_EQ(t.find("AB/CD/2000"), 10); // lower-case key 10 upper-cases to the probe
    EXPECT_EQ(t.find("01/01/2000"), 13);
    EXPECT_EQ(t.find("1/1/2000"), 0);   // a probe must be 10 characters
    EXPECT_EQ(t.find("K1        "), 1); // the earliest of the repeats
}

TEST(DateTable, EntriesStoredAfterALookupAreFound)
{
    DateTable t;
    t.store(1, "01/01/2000", "a");
    EXPECT_EQ(t.find("01/01/2000"), 1);
    t.store(2, "02/01/2000", "b");
    t.store(1, "03/01/2000", "c");
    EXPECT_EQ(t.find("02/01/2000"), 2);
    EXPECT_EQ(t.find("01/01/2000"), 0);
    const DateTable copy = t;
    EXPECT_EQ(copy.find("03/01/2000"), 1);
}

} // namespace
