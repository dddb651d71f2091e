// A one-line progress bar on a terminal: redrawn in place as records are
// done, and wiped before anything else is written there. It appears only
// once a pass has run for a while (most runs end sooner, and a bar that
// flashes for an instant tells nothing), and it spends at most a fiftieth
// of the run drawing: a redraw's own time, by the Clock service's steady
// time, sets the time to the next one (a console redraw under Wine costs
// tens of milliseconds, on a terminal microseconds), never sooner than a
// tenth of a second.
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
    // How long a pass runs before the bar first appears.
    static constexpr std::chrono::milliseconds kShowAfter{500};
    // The shortest time between two redraws.
    static constexpr std::chrono::milliseconds kRedrawInterval{100};
    // The time to the next redraw is at least this many times the last
    // redraw's own.
    static constexpr int kRedrawCostRatio = 50;

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
    int m_width = 0; // the widest line drawn since the bar was last wiped
    long long m_total = 0;
    long long m_next = 0;
    std::chrono::steady_clock::time_point m_nextDraw{};
};

} // namespace halvane::cli
