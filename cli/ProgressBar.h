// A one-line progress bar on a terminal: redrawn in place as records are
// done, at most ten times a second by the Clock service's steady time (a
// console redraw costs far more than a record under Wine), and wiped before
// anything else is written there.
#pragma once

#include <chrono>
#include <cstdio>

namespace halvane::cli
{

class ProgressBar
{
public:
    // Tables below this many records finish too fast for a bar to be of use.
    static constexpr long kMinRecords = 100'000;
    // The shortest time between two redraws; the last record of a pass is
    // drawn all the same.
    static constexpr std::chrono::milliseconds kRedrawInterval{100};

    // Draws on `out` only when `enabled`; otherwise every call does nothing.
    ProgressBar(std::FILE* out, bool enabled) : m_out(out), m_enabled(enabled) {}

    // Starts a pass over `total` records; the bar is drawn only when there
    // are enough of them.
    void start(long total);
    // `done` records of the pass are finished.
    void advance(long done)
    {
        if (m_active && done >= m_next)
            step(done);
    }
    // Removes the bar from the line.
    void clear();

private:
    void step(long done);
    void draw(long done, long long permille);

    std::FILE* m_out;
    bool m_enabled;
    bool m_active = false;
    bool m_drawn = false;
    long long m_total = 0;
    long long m_next = 0;
    std::chrono::steady_clock::time_point m_lastDraw{};
};

} // namespace halvane::cli
