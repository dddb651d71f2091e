#include "cli/ProgressBar.h"

#include "system/Clock.h"
#include "system/Service.h"

#include <algorithm>

namespace halvane::cli
{

void ProgressBar::start(long total)
{
    clear();
    m_total = total;
    m_active = m_enabled && total >= kMinRecords;
    m_next = 0;
    if (m_active)
        m_nextDraw = service<Clock>().steady() + kShowAfter;
}

void ProgressBar::step(long done)
{
    // 64-bit arithmetic: done * 1000 overflows a 32-bit long on large tables.
    const long long permille =
        std::clamp(static_cast<long long>(done) * 1000 / std::max(m_total, 1LL), 0LL, 1000LL);
    // The clock is read at the next tenth of a percent: a thousand times a
    // pass at most.
    m_next = ((permille + 1) * m_total + 999) / 1000;
    Clock& clock = service<Clock>();
    const auto now = clock.steady();
    if (now < m_nextDraw)
        return;
    draw(done, permille);
    const auto drawn = clock.steady();
    m_nextDraw = drawn + std::max<std::chrono::steady_clock::duration>(
                             kRedrawInterval, (drawn - now) * kRedrawCostRatio);
}

void ProgressBar::draw(long done, long long permille)
{
    constexpr int kWidth = 40;
    char bar[kWidth + 1];
    const long long filled = permille * kWidth / 1000;
    for (int i = 0; i < kWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    const int n =
        std::fprintf(m_out, "\r[%s] %3lld%%  %ld/%lld records", bar, permille / 10, done, m_total);
    std::fflush(m_out);
    m_width = std::max(m_width, n - 1);
    m_drawn = true;
}

void ProgressBar::clear()
{
    // Spaces over the bar rather than the terminal's erase sequence, which a
    // Windows console without its VT mode prints as text.
    if (m_drawn) {
        std::fprintf(m_out, "\r%*s\r", m_width, "");
        std::fflush(m_out);
        m_drawn = false;
        m_width = 0;
        m_nextDraw = {}; // back under the message at the next step
    }
}

} // namespace halvane::cli
