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
}

void ProgressBar::step(long done)
{
    // 64-bit arithmetic: done * 1000 overflows a 32-bit long on large tables.
    const long long permille =
        std::clamp(static_cast<long long>(done) * 1000 / std::max(m_total, 1LL), 0LL, 1000LL);
    // The clock is read at the next tenth of a percent: a thousand times a
    // pass at most.
    m_next = ((permille + 1) * m_total + 999) / 1000;
    const auto now = service<Clock>().steady();
    if (m_drawn && done < m_total && now - m_lastDraw < kRedrawInterval)
        return;
    m_lastDraw = now;
    draw(done, permille);
}

void ProgressBar::draw(long done, long long permille)
{
    constexpr int kWidth = 40;
    char bar[kWidth + 1];
    const long long filled = permille * kWidth / 1000;
    for (int i = 0; i < kWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(m_out, "\r[%s] %3lld%%  %ld/%lld records", bar, permille / 10, done, m_total);
    std::fflush(m_out);
    m_drawn = true;
}

void ProgressBar::clear()
{
    if (m_drawn) {
        std::fputs("\r\033[K", m_out);
        std::fflush(m_out);
        m_drawn = false;
    }
}

} // namespace halvane::cli
