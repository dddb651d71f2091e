// How often the command line's progress bar is redrawn: ten times a second at
// most however fast the records go, the first and last state always drawn,
// and at once again after the bar was wiped for a message.
#include "cli/ProgressBar.h"

#include "tests/support/SteppedClock.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>

namespace halvane::test
{
namespace
{

using namespace std::chrono_literals;
using cli::ProgressBar;

// The redraws on `out` so far: each begins with a carriage return.
long redraws(std::FILE* out)
{
    std::fflush(out);
    std::rewind(out);
    long count = 0;
    for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out))
        count += c == '\r';
    std::fseek(out, 0, SEEK_END);
    return count;
}

struct RateCase {
    const char* name;
    std::chrono::milliseconds perReading; // time passing between two readings of the clock
    long total;
    long atLeast, atMost;
};

// The clock is read a thousand times a pass (at each tenth of a percent).
constexpr RateCase kRates[] = {
    // A pass of about a second: ten redraws and the first and the last.
    {"OneSecond", 1ms, 2'000'000, 10, 12},
    // Instant: the first state and the finished one only.
    {"NoTimeAtAll", 0ms, 500'000, 2, 2},
    // A slow pass: every tenth of a percent, never more.
    {"SlowPass", 150ms, 100'000, 1000, 1001},
};

class RedrawRate : public ::testing::TestWithParam<RateCase>
{
};

TEST_P(RedrawRate, AtMostTenTimesASecond)
{
    const RateCase& c = GetParam();
    SteppedClock clock(c.perReading);
    std::FILE* out = std::tmpfile();
    ProgressBar bar(out, true);
    bar.start(c.total);
    for (long i = 1; i <= c.total; ++i)
        bar.advance(i);
    const long drawn = redraws(out);
    EXPECT_GE(drawn, c.atLeast);
    EXPECT_LE(drawn, c.atMost);
    EXPECT_LE(clock.readings, 1001) << "the clock is not read for every record";
    std::fclose(out);
}

INSTANTIATE_TEST_SUITE_P(Passes, RedrawRate, ::testing::ValuesIn(kRates),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ProgressBar, DrawnAgainAtOnceAfterAMessageWipedIt)
{
    SteppedClock clock(0ms);
    std::FILE* out = std::tmpfile();
    ProgressBar bar(out, true);
    bar.start(ProgressBar::kMinRecords);
    bar.advance(1);
    bar.advance(ProgressBar::kMinRecords / 2);
    EXPECT_EQ(redraws(out), 1) << "no time has passed";
    bar.clear(); // a message is written on the line
    const long wiped = redraws(out);
    bar.advance(ProgressBar::kMinRecords / 2 + 1000);
    EXPECT_EQ(redraws(out), wiped + 1) << "the bar comes back under the message";
    std::fclose(out);
}

} // namespace
} // namespace halvane::test
