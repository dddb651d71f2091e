// How often the command line's progress bar is redrawn: not at all in a
// pass's first half second, then ten times a second at most however fast the
// records go, or less often where a redraw is slow, and at once again after
// the bar was wiped for a message.
#include "cli/ProgressBar.h"

#include "tests/support/SteppedClock.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

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

// The bar on passes of several lengths and redraw costs. The stepped clock
// moves on by `tick` at each reading: the bar reads it once a tenth of a
// percent and twice around each redraw, so a redraw seems to cost a tick.
struct BarCase {
    const char* name;
    long total;
    std::chrono::microseconds tick;
    long atLeast, atMost; // redraws
};

constexpr BarCase kPasses[] = {
    // Fewer records than a bar is drawn for, however long they take.
    {"SmallTable", ProgressBar::kMinRecords - 1, 10ms, 0, 0},
    // A large table done in about a tenth of a second: no bar.
    {"QuickPass", 2'000'000, 100us, 0, 0},
    // A pass of about a second on a terminal, where a redraw costs next to
    // nothing: from half a second on, ten redraws a second.
    {"OneSecond", 2'000'000, 1ms, 4, 6},
    // A console whose redraw costs 30 ms (Wine's): one every 1.5 s.
    {"SlowConsole", 2'000'000, 30ms, 19, 21},
};

class RedrawRate : public ::testing::TestWithParam<BarCase>
{
};

TEST_P(RedrawRate, OnlyOnLongPassesAndAFiftiethOfTheTimeAtMost)
{
    const BarCase& c = GetParam();
    SteppedClock clock(c.tick);
    std::FILE* out = std::tmpfile();
    ProgressBar bar(out, true);
    bar.start(c.total);
    const int before = clock.readings;
    for (long i = 1; i <= c.total; ++i)
        bar.advance(i);
    const long drawn = redraws(out);
    const int readings = clock.readings - before;
    EXPECT_GE(drawn, c.atLeast);
    EXPECT_LE(drawn, c.atMost);
    EXPECT_LE(readings, 1001 + 2 * drawn) << "the clock is not read for every record";
    if (drawn > 0) {
        const auto sinceShown = readings - ProgressBar::kShowAfter / c.tick;
        const auto slowest = std::max<decltype(sinceShown)>(ProgressBar::kRedrawInterval / c.tick,
                                                            ProgressBar::kRedrawCostRatio);
        EXPECT_LE(drawn, sinceShown / slowest + 2)
            << "redrawn sooner than a tenth of a second, or fifty times its own cost";
    }
    const std::string lines = written(out);
    bar.clear();
    // A bar drawn is wiped with spaces over its widest line (a Windows
    // console prints the terminal's erase sequence as text); none is not.
    std::size_t widest = 0;
    for (std::size_t at = lines.find('\r'); at != std::string::npos;) {
        const std::size_t next = lines.find('\r', at + 1);
        widest = std::max(widest, (next == std::string::npos ? lines.size() : next) - at - 1);
        at = next;
    }
    EXPECT_EQ(written(out).substr(lines.size()),
              drawn > 0 ? "\r" + std::string(widest, ' ') + "\r" : "");
    std::fclose(out);
}

INSTANTIATE_TEST_SUITE_P(Passes, RedrawRate, ::testing::ValuesIn(kPasses),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ProgressBar, DisabledDrawsNothing)
{
    SteppedClock clock(1s);
    std::FILE* quiet = std::tmpfile();
    ProgressBar off(quiet, false);
    off.start(2'000'000);
    off.advance(1'000'000);
    off.advance(2'000'000);
    off.clear();
    EXPECT_EQ(redraws(quiet), 0);
    std::fclose(quiet);
}

TEST(ProgressBar, DrawnAgainAtOnceAfterAMessageWipedIt)
{
    SteppedClock clock(0ms);
    std::FILE* out = std::tmpfile();
    ProgressBar bar(out, true);
    bar.start(ProgressBar::kMinRecords);
    clock.advance(ProgressBar::kShowAfter);
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
